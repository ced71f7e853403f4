// Records a sensor plug-in shares with the vendor ISP framework: the descriptor, the sensor
// parameter record, the gain table and the image pipe record. The framework reads them byte for
// byte, so their layouts are fixed and checked below. Words named by their offset carry values
// whose meaning is the framework's.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct sensor_param_st;
struct gain_table_st;
struct ipipe_st;

extern "C" {
typedef int (*sensor_void_fn)(void);
typedef int (*sensor_identity_fn)(char* p_szChip, char* p_szSensor, char* p_szVersion,
                                  char* p_szBuild);
typedef int (*sensor_match_fn)(const char* p_szChip, const char* p_szVersion);
typedef int (*sensor_frame_rate_fn)(uint32_t p_nFirst, uint32_t p_nSecond, uint32_t p_nRate,
                                    uint32_t p_nMode);
typedef int (*ipipe_set_hdr_fn)(int p_nPipe, int p_nStrength);
typedef int (*ipipe_pipe_get_fn)(int p_nChannel);
typedef int (*ipipe_defog_set_fn)(int p_nChannel, uint32_t p_nStrength);
}

// Exported as gst_sensor: where the framework finds everything else.
struct sensor_desc_st {
    uint64_t rsv0;
    sensor_param_st* param;
    sensor_void_fn init_values;
    sensor_void_fn noop3;
    sensor_identity_fn identity;
    sensor_match_fn match;
    sensor_frame_rate_fn set_frame_rate;
    sensor_void_fn noop7;
    const gain_table_st* gain;
    ipipe_st* ipipe;
};

// Exported under the plug-in's own name; the hooks the framework calls per image pipe.
struct ipipe_st {
    uint8_t rsv0[112];
    ipipe_set_hdr_fn set_hdr;
    ipipe_pipe_get_fn pipe_get;
    ipipe_defog_set_fn defog_set;  // null where the sensor has no defog hook
    uint64_t rsv136;
};

struct gain_table_st {
    uint32_t gain[16];
    uint32_t rsv64[192];
};

// Words 72 to 95.
struct sensor_timing_st {
    uint32_t word72;
    uint32_t word76;
    uint32_t frame_period;  // microseconds
    uint32_t word84;
    uint32_t word88;
    uint32_t word92;
};

// Words 100 to 111.
struct sensor_block100_st {
    uint32_t word[3];
};

// Words 116 to 207.
struct sensor_block116_st {
    uint32_t word116, word120, word124, word128;
    float coef132, coef136, coef140, coef144, coef148, coef152;
    uint32_t word156, word160, word164, word168, word172, word176, word180, word184, word188;
    uint32_t word192, word196, word200, word204;
};

// Aperture table row; the code is the F-number in BCD, 0x100000 for the closed iris.
struct aperture_row_st {
    uint32_t code;
    uint32_t light;
    uint32_t position;
};

struct sensor_param_st {
    uint32_t word0;
    uint32_t rsv4;
    uint32_t word8;
    uint32_t word12;
    uint32_t rsv16;
    uint32_t first;  // the frame-rate callback's first two arguments
    uint32_t second;
    uint32_t frame_rate;
    uint32_t mode;
    uint32_t rsv36[8];
    uint32_t word68;
    sensor_timing_st timing;
    uint32_t rsv96;
    sensor_block100_st block100;
    uint32_t rsv112;
    sensor_block116_st block116;
    uint32_t word208[12];
    uint32_t aperture_code[13];  // widest first, closed last
    uint32_t rsv308[27];
    aperture_row_st aperture[15];
    uint32_t rsv596[75];
};

static_assert(sizeof(void*) == 8 && sizeof(sensor_void_fn) == 8, "the framework's pointers");
static_assert(sizeof(sensor_desc_st) == 80 && offsetof(sensor_desc_st, param) == 8 &&
                  offsetof(sensor_desc_st, init_values) == 16 &&
                  offsetof(sensor_desc_st, noop3) == 24 &&
                  offsetof(sensor_desc_st, identity) == 32 &&
                  offsetof(sensor_desc_st, match) == 40 &&
                  offsetof(sensor_desc_st, set_frame_rate) == 48 &&
                  offsetof(sensor_desc_st, noop7) == 56 && offsetof(sensor_desc_st, gain) == 64 &&
                  offsetof(sensor_desc_st, ipipe) == 72,
              "sensor_desc_st");
static_assert(sizeof(ipipe_st) == 144 && offsetof(ipipe_st, set_hdr) == 112 &&
                  offsetof(ipipe_st, pipe_get) == 120 && offsetof(ipipe_st, defog_set) == 128,
              "ipipe_st");
static_assert(sizeof(gain_table_st) == 832, "gain_table_st");
static_assert(sizeof(sensor_timing_st) == 24 && offsetof(sensor_timing_st, frame_period) == 8 &&
                  offsetof(sensor_timing_st, word84) == 12,
              "sensor_timing_st");
static_assert(sizeof(sensor_block116_st) == 92 && offsetof(sensor_block116_st, coef132) == 16 &&
                  offsetof(sensor_block116_st, word156) == 40 &&
                  offsetof(sensor_block116_st, word176) == 60 &&
                  offsetof(sensor_block116_st, word188) == 72 &&
                  offsetof(sensor_block116_st, word204) == 88,
              "sensor_block116_st");
static_assert(sizeof(aperture_row_st) == 12, "aperture_row_st");
static_assert(
    sizeof(sensor_param_st) == 896 && offsetof(sensor_param_st, word8) == 8 &&
        offsetof(sensor_param_st, word12) == 12 && offsetof(sensor_param_st, first) == 20 &&
        offsetof(sensor_param_st, second) == 24 && offsetof(sensor_param_st, frame_rate) == 28 &&
        offsetof(sensor_param_st, mode) == 32 && offsetof(sensor_param_st, word68) == 68 &&
        offsetof(sensor_param_st, timing) == 72 && offsetof(sensor_param_st, block100) == 100 &&
        offsetof(sensor_param_st, block116) == 116 && offsetof(sensor_param_st, word208) == 208 &&
        offsetof(sensor_param_st, aperture_code) == 256 &&
        offsetof(sensor_param_st, aperture) == 416,
    "sensor_param_st");
