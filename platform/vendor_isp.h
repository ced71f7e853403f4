// SoC vendor's ISP library, as the sensor plug-ins use it: IQ items read and written per image
// pipe, one AE call, and two parameter objects the vendor owns and the plug-ins write into.
//
// Every record here is shared with the vendor library byte for byte; the layouts are checked at
// compile time below. What the fields mean beyond how the plug-ins use them is the vendor's.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// IQ items; each is exchanged as a record whose first word is the pipe it belongs to.
enum {
    IQT_ITEM_DEFOG_PARAM = 46,
    IQT_ITEM_SHDR_PARAM = 47,
};

// AE items.
enum {
    AET_ITEM_29 = 29,  // record: three words; sent by the zoom module after a frame-rate change
};

#define VENDOR_ISP_PIPE_NUM 8  // records in gst_po_params

// IQT_ITEM_SHDR_PARAM.
typedef struct iqt_shdr_param_st {
    uint32_t pipe;
    uint8_t rsv4[20];
    uint16_t strength;  // 100 to 1000
    uint8_t rsv26[858];
} iqt_shdr_param_st;

// One of the sixteen entries of IQT_ITEM_DEFOG_PARAM.
typedef struct iqt_defog_entry_st {
    uint16_t word0;
    uint8_t rsv2[3];
    uint8_t byte5;
} iqt_defog_entry_st;

// IQT_ITEM_DEFOG_PARAM.
typedef struct iqt_defog_param_st {
    uint32_t pipe;
    uint8_t rsv4[12];
    uint8_t byte16;
    uint8_t byte17;
    uint8_t rsv18[22];
    iqt_defog_entry_st entry[16];
} iqt_defog_param_st;

// One record of gst_po_params, indexed by the pipe.
typedef struct vendor_po_params_st {
    uint8_t rsv0[20];
    uint32_t mode;  // the sensor mode of the last frame-rate change (pipe 0 only)
    uint8_t rsv24[120];
    uint32_t word144;  // 1: the defog hook leaves the pipe alone
    uint8_t rsv148[124];
    uint32_t word272;  // selects between the defog hook's two ways of setting the item
    uint8_t rsv276[24];
} vendor_po_params_st;

typedef struct vendor_ae_params_st {
    uint8_t rsv0[56];
    uint32_t mode;  // the sensor mode of the last frame-rate change
    uint8_t rsv60[4];
} vendor_ae_params_st;

extern vendor_po_params_st gst_po_params[VENDOR_ISP_PIPE_NUM];
extern vendor_ae_params_st gst_ae_params;

// Each returns 0 on success and a negative status otherwise; -4 is a status the plug-ins take as
// success with nothing to do. The get calls read the record's first word to find the pipe.
int vendor_isp_get_iq(int item, void* data);
int vendor_isp_set_iq(int item, void* data);
int vendor_isp_set_ae(int item, void* data);

#ifdef __cplusplus
}

static_assert(sizeof(iqt_shdr_param_st) == 884 && offsetof(iqt_shdr_param_st, strength) == 24,
              "iqt_shdr_param_st");
static_assert(sizeof(iqt_defog_entry_st) == 6 && offsetof(iqt_defog_entry_st, byte5) == 5,
              "iqt_defog_entry_st");
static_assert(sizeof(iqt_defog_param_st) == 136 && offsetof(iqt_defog_param_st, byte16) == 16 &&
                  offsetof(iqt_defog_param_st, byte17) == 17 &&
                  offsetof(iqt_defog_param_st, entry) == 40,
              "iqt_defog_param_st");
static_assert(sizeof(vendor_po_params_st) == 300 && offsetof(vendor_po_params_st, mode) == 20 &&
                  offsetof(vendor_po_params_st, word144) == 144 &&
                  offsetof(vendor_po_params_st, word272) == 272,
              "vendor_po_params_st");
static_assert(sizeof(vendor_ae_params_st) == 64 && offsetof(vendor_ae_params_st, mode) == 56,
              "vendor_ae_params_st");
#endif
