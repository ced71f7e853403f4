// ISP control library: the one call through which the image signal processor is reached.
//
// Every record here is shared with the ISP library byte for byte; the layouts are checked at
// compile time below.
#pragma once

#include <stddef.h>

#include "ZqTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

// Command ids. Most ISP commands carry the number of the key they apply (see the key-command
// table of libluxtune); the enumeration names only those the library sends by name. Any 32-bit
// command id may be passed.
typedef enum ia_cmd_e
#ifdef __cplusplus
    : int  // every 32-bit command id is a valid value
#endif
{ IA_CMD_DN_STATE = 153,  // day/night state: 0 day, anything else night
  IA_CMD_EXPOSURE_STRATEGY = 225,
  IA_CMD_IR_LED_INFO = 178,
  IA_CMD_HEAT_STATUS = 1606,
  IA_CMD_TEMP_VALUE = 1607,
  IA_CMD_PTZ_RUN_STATE = 1632,
  IA_CMD_AF_STATISTIC = 1648,
  IA_CMD_UI_WDR_SWITCH_STATE = 2370,  // video notification around a WDR mode change
  IA_CMD_UI_MIRROR = 2384,            // video notification of the (swapped) mirror value
  IA_CMD_CAMERA_VERSION = 2496,
  IA_CMD_SENSOR_CHECK = 2816,             // 0xB00
  IA_CMD_DYNAMIC_PARAMS_CMDS_GET = 4112,  // 0x1010
  IA_CMD_MAX = 0x7FFFFFFF } ia_cmd_e;

// The option argument.
enum {
    IA_CMD_OPT_SET = 0,
    IA_CMD_OPT_GET = 1,
    IA_CMD_OPT_GET_PARAM_RNAGE = 2,
    IA_CMD_OPT_CORRECT_PARAM = 3,
    IA_CMD_OPT_GET_EXEC_STATUS = 4,
};

#define IA_DNA_CMD_MAX 16
#define IA_DNA_ITEM_MAX 64

// Answer of IA_CMD_DYNAMIC_PARAMS_CMDS_GET: the ISP's dynamic commands.
typedef struct dnaCmdList {
    s32 cmd_cnt;
    s32 cmd_list[IA_DNA_CMD_MAX];
} dnaCmdList;

// Answer of IA_CMD_OPT_GET_PARAM_RNAGE: a command's default and permitted values.
typedef struct ia_dynamic_params_attr_st {
    s32 param_type;  // 0: a list of permitted items
    s32 default_val;
    s32 min_val;
    s32 max_val;
    s32 items_cnt;
    s32 item[IA_DNA_ITEM_MAX];
} ia_dynamic_params_attr_st;

// Day/night thresholds, commands 145, 146 and 154.
typedef struct dn_thr_st {
    u32 d2n_thr;
    u32 n2d_thr;
    u32 dn_sensitivity;
} dn_thr_st;

// Day/night change times, commands 149 to 152.
typedef struct dn_time_st {
    u32 d2n_hour;
    u32 d2n_min;
    u32 n2d_hour;
    u32 n2d_min;
} dn_time_st;

// Sensor check record, command IA_CMD_SENSOR_CHECK.
typedef struct ia_sensor_check_st {
    s32 arg0;
    s32 arg1;  // 2 reads the result, anything else writes
    s32 arg2;
    s32 result;
} ia_sensor_check_st;

// Returns 0 on success; any other value is a failure passed through to the caller.
int ia_ioctrl_v2(int channel, ia_cmd_e cmd, int option, void* data);

#ifdef __cplusplus
}

static_assert(sizeof(ia_cmd_e) == 4, "ia_cmd_e is a 32-bit word");
static_assert(sizeof(dnaCmdList) == 68 && offsetof(dnaCmdList, cmd_list) == 4, "dnaCmdList");
static_assert(sizeof(ia_dynamic_params_attr_st) == 276 &&
                  offsetof(ia_dynamic_params_attr_st, default_val) == 4 &&
                  offsetof(ia_dynamic_params_attr_st, min_val) == 8 &&
                  offsetof(ia_dynamic_params_attr_st, max_val) == 12 &&
                  offsetof(ia_dynamic_params_attr_st, items_cnt) == 16 &&
                  offsetof(ia_dynamic_params_attr_st, item) == 20,
              "ia_dynamic_params_attr_st");
static_assert(sizeof(dn_thr_st) == 12 && offsetof(dn_thr_st, n2d_thr) == 4 &&
                  offsetof(dn_thr_st, dn_sensitivity) == 8,
              "dn_thr_st");
static_assert(sizeof(dn_time_st) == 16 && offsetof(dn_time_st, d2n_min) == 4 &&
                  offsetof(dn_time_st, n2d_hour) == 8 && offsetof(dn_time_st, n2d_min) == 12,
              "dn_time_st");
static_assert(sizeof(ia_sensor_check_st) == 16 && offsetof(ia_sensor_check_st, result) == 12,
              "ia_sensor_check_st");
#endif
