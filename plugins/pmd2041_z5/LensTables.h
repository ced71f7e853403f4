// Calibration tables of the zoom module's lens, exported for the vendor ISP framework, which
// looks them up by name. Nothing in the plug-in reads them. Most have one entry per zoom step,
// from 0 (wide) to 59 (tele).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "SensorPlugin.h"

constexpr int kZoomSteps = 60;
constexpr int kZoomSections = 9;  // bounds in zoom_check_sec

template <typename T, size_t N>
struct lens_table_st {
    T value[N];
};

// Auto-focus parameters for one pair of levels.
struct af_alg_row_st {
    int32_t gain;   // 100 to 51200
    int32_t level;  // 100 to 102400
    int32_t param[3];
    int32_t rsv[5];
};

struct piris_pair_st {
    int32_t light;
    int32_t position;
};

typedef lens_table_st<int32_t, kZoomSteps> zoom_table_st;
typedef lens_table_st<int32_t, kZoomSections> zoom_check_table_st;
typedef lens_table_st<af_alg_row_st, 110> af_alg_table_st;
typedef lens_table_st<piris_pair_st, 512> af_piris_table_st;
typedef lens_table_st<uint16_t, 512> zoom_piris_table_st;
typedef lens_table_st<int32_t, 143> lens_params_st;

extern "C" {
SENSOR_EXPORT extern const zoom_table_st zoom_ratio;  // zoom motor position
SENSOR_EXPORT extern const zoom_table_st zoom1_ratio;
SENSOR_EXPORT extern const zoom_table_st zoom2_ratio;
SENSOR_EXPORT extern const zoom_table_st zoom_visca_tbl;  // on the VISCA scale 0 to 16384
SENSOR_EXPORT extern const zoom_table_st zoom_step_p;     // zoom motor step size
SENSOR_EXPORT extern const zoom_table_st zoom_step_n;
SENSOR_EXPORT extern const zoom_check_table_st zoom_check_sec;  // section bounds of the zoom range
// Focus motor position by object distance.
SENSOR_EXPORT extern const zoom_table_st focus_1m;
SENSOR_EXPORT extern const zoom_table_st focus_1_5m;
SENSOR_EXPORT extern const zoom_table_st focus_2m;
SENSOR_EXPORT extern const zoom_table_st focus_3m;
SENSOR_EXPORT extern const zoom_table_st focus_4m;
SENSOR_EXPORT extern const zoom_table_st focus_6m;
SENSOR_EXPORT extern const zoom_table_st focus_10m;
SENSOR_EXPORT extern const zoom_table_st focus_20m;
SENSOR_EXPORT extern const zoom_table_st focus_fin;
SENSOR_EXPORT extern const zoom_table_st focus_step;  // focus motor step size
SENSOR_EXPORT extern const zoom_table_st af_blur_tbl;
SENSOR_EXPORT extern const af_alg_table_st af_alg_tbl;
SENSOR_EXPORT extern const af_piris_table_st af_piris_tbl;      // 16 pairs used
SENSOR_EXPORT extern const zoom_piris_table_st zoom_piris_tbl;  // one light level per zoom step
SENSOR_EXPORT extern const lens_params_st gst_lens_pararms;
}

static_assert(sizeof(zoom_table_st) == 240, "zoom_table_st");
static_assert(sizeof(zoom_check_table_st) == 36, "zoom_check_table_st");
static_assert(sizeof(af_alg_row_st) == 40 && offsetof(af_alg_row_st, param) == 8, "af_alg_row_st");
static_assert(sizeof(af_alg_table_st) == 4400, "af_alg_table_st");
static_assert(sizeof(af_piris_table_st) == 4096, "af_piris_table_st");
static_assert(sizeof(zoom_piris_table_st) == 1024, "zoom_piris_table_st");
static_assert(sizeof(lens_params_st) == 572, "lens_params_st");
