// The lens tables' contents. The regular ones are built from their rules at compile time; the
// measured ones are listed.
#include "LensTables.h"

#include "Aperture.h"

namespace {

// Zoom motor position: 96 per step up to step 20, 80 per step after it.
constexpr int32_t zoomPosition(int p_nStep) {
    return p_nStep <= 20 ? 96 * p_nStep : 1920 + 80 * (p_nStep - 20);
}

constexpr int32_t kZoomEnd = zoomPosition(kZoomSteps - 1);
constexpr int32_t kViscaEnd = 16384;

constexpr zoom_table_st zoomRatio() {
    zoom_table_st st{};
    for (int i = 0; i < kZoomSteps; ++i)
        st.value[i] = zoomPosition(i);
    return st;
}

// 280 per step, with tele pinned to the end of the scale.
constexpr zoom_table_st viscaScale() {
    zoom_table_st st{};
    for (int i = 0; i < kZoomSteps; ++i)
        st.value[i] = 280 * i;
    st.value[kZoomSteps - 1] = kViscaEnd;
    return st;
}

struct step_run_st {
    int nLastStep;
    int32_t nValue;
};

// A table that holds each run's value from the step after the previous run to its last step.
template <size_t N>
constexpr zoom_table_st byZoomStep(const step_run_st (&p_astRuns)[N]) {
    zoom_table_st st{};
    int nStep = 0;
    for (const step_run_st& stRun : p_astRuns) {
        for (; nStep <= stRun.nLastStep; ++nStep)
            st.value[nStep] = stRun.nValue;
    }
    return st;
}

constexpr zoom_check_table_st zoomCheckSections() {
    const int anSteps[kZoomSections] = {0, 7, 16, 24, 32, 40, 48, 54, kZoomSteps - 1};
    zoom_check_table_st st{};
    for (int i = 0; i < kZoomSections; ++i)
        st.value[i] = zoomPosition(anSteps[i]);
    return st;
}

// Focus positions for near objects (1 m to 6 m) and far ones (10 m to infinity).
constexpr zoom_table_st kFocusNear = {{399, 416, 433, 452, 472, 493, 513, 534, 553, 570, 590, 608,
                                       627, 646, 665, 684, 701, 718, 736, 750, 768, 780, 795, 807,
                                       820, 833, 845, 857, 867, 878, 890, 899, 907, 917, 924, 930,
                                       936, 942, 947, 952, 955, 958, 959, 958, 959, 957, 953, 949,
                                       944, 938, 929, 921, 911, 896, 881, 864, 848, 826, 805, 779}};
constexpr zoom_table_st kFocusFar = {{382, 396, 414, 432, 452, 471, 490, 508, 528, 546, 563, 580,
                                      597, 615, 632, 649, 666, 682, 698, 712, 727, 738, 750, 759,
                                      770, 782, 791, 800, 809, 818, 828, 835, 841, 847, 852, 858,
                                      860, 864, 865, 866, 867, 866, 863, 860, 856, 852, 845, 836,
                                      826, 816, 802, 786, 769, 752, 732, 712, 688, 664, 633, 603}};

// A parameter triple repeated for the next count levels.
struct af_run_st {
    int32_t anParam[3];
    int nCount;
};

constexpr int kAfGains = 10;
constexpr int kAfLevels = 11;
constexpr int kAfRows = kAfGains * kAfLevels;
static_assert(sizeof(af_alg_table_st) == kAfRows * sizeof(af_alg_row_st), "af_alg_tbl rows");

constexpr af_run_st kAfRuns[kAfGains][7] = {
    {{{16, 2, 16}, 4}, {{16, 2, 12}, 3}, {{16, 2, 8}, 3}, {{16, 2, 6}, 1}},
    {{{32, 4, 18}, 4}, {{32, 4, 14}, 3}, {{32, 4, 10}, 3}, {{32, 4, 8}, 1}},
    {{{40, 6, 20}, 4}, {{40, 6, 16}, 3}, {{40, 6, 12}, 3}, {{40, 6, 8}, 1}},
    {{{60, 8, 24}, 4}, {{60, 8, 20}, 3}, {{60, 8, 16}, 3}, {{60, 8, 12}, 1}},
    {{{100, 12, 28}, 4}, {{100, 12, 24}, 3}, {{100, 10, 20}, 3}, {{100, 10, 18}, 1}},
    {{{120, 20, 30}, 4}, {{120, 16, 36}, 3}, {{120, 12, 32}, 3}, {{120, 12, 30}, 1}},
    {{{200, 20, 64}, 4}, {{200, 16, 32}, 3}, {{200, 12, 28}, 3}, {{200, 12, 26}, 1}},
    {{{240, 20, 128}, 4}, {{240, 16, 64}, 3}, {{240, 12, 34}, 3}, {{240, 12, 32}, 1}},
    {{{280, 20, 160}, 3},
     {{280, 18, 160}, 1},
     {{280, 18, 128}, 1},
     {{280, 16, 128}, 2},
     {{280, 14, 40}, 1},
     {{280, 12, 40}, 2},
     {{280, 12, 35}, 1}},
    {{{300, 20, 200}, 3},
     {{300, 18, 200}, 1},
     {{300, 18, 128}, 1},
     {{300, 16, 128}, 2},
     {{300, 14, 40}, 3},
     {{300, 14, 35}, 1}},
};

constexpr bool afRunsCoverEveryLevel() {
    for (const auto& astRuns : kAfRuns) {
        int nLevels = 0;
        for (const af_run_st& stRun : astRuns)
            nLevels += stRun.nCount;
        if (nLevels != kAfLevels) return false;
    }
    return true;
}
static_assert(afRunsCoverEveryLevel(), "each gain has a triple for each of its 11 levels");

// Row 11 × g + j: gain level 100 × 2^g, level 100 × 2^j.
constexpr af_alg_table_st afAlgTable() {
    af_alg_table_st st{};
    int nRow = 0;
    for (int g = 0; g < kAfGains; ++g) {
        for (const af_run_st& stRun : kAfRuns[g]) {
            for (int k = 0; k < stRun.nCount; ++k, ++nRow) {
                af_alg_row_st& stAlg = st.value[nRow];
                stAlg.gain = 100 << g;
                stAlg.level = 100 << (nRow - kAfLevels * g);
                for (int w = 0; w < 3; ++w)
                    stAlg.param[w] = stRun.anParam[w];
            }
        }
    }
    return st;
}

// Fully open first, then the light and position columns of the aperture table.
constexpr af_piris_table_st afPirisTable() {
    af_piris_table_st st{};
    st.value[0] = {1024, 0};
    for (int i = 0; i < 15; ++i) {
        st.value[i + 1] = {static_cast<int32_t>(kApertureTable[i].light),
                           static_cast<int32_t>(kApertureTable[i].position)};
    }
    return st;
}

// Light level per zoom step: measured down to step 30, then one less per step.
constexpr zoom_piris_table_st zoomPirisTable() {
    const uint16_t anMeasured[31] = {512, 452, 413, 384, 364, 348, 336, 326, 318, 311, 305,
                                     300, 295, 291, 287, 283, 279, 276, 273, 270, 267, 264,
                                     261, 259, 257, 255, 253, 251, 249, 247, 245};
    zoom_piris_table_st st{};
    for (int i = 0; i < 31; ++i)
        st.value[i] = anMeasured[i];
    for (int i = 31; i < kZoomSteps; ++i)
        st.value[i] = static_cast<uint16_t>(244 - (i - 31));
    return st;
}

}  // namespace

constexpr zoom_table_st zoom_ratio = zoomRatio();
constexpr zoom_table_st zoom1_ratio = zoomRatio();
constexpr zoom_table_st zoom2_ratio = zoomRatio();
constexpr zoom_table_st zoom_visca_tbl = viscaScale();
constexpr zoom_table_st zoom_step_p =
    byZoomStep({{17, 2}, {22, 3}, {28, 4}, {33, 6}, {kZoomSteps - 1, 8}});
constexpr zoom_table_st zoom_step_n = zoom_step_p;
constexpr zoom_check_table_st zoom_check_sec = zoomCheckSections();
constexpr zoom_table_st focus_1m = kFocusNear;
constexpr zoom_table_st focus_1_5m = kFocusNear;
constexpr zoom_table_st focus_2m = kFocusNear;
constexpr zoom_table_st focus_3m = kFocusNear;
constexpr zoom_table_st focus_4m = kFocusNear;
constexpr zoom_table_st focus_6m = kFocusNear;
constexpr zoom_table_st focus_10m = kFocusFar;
constexpr zoom_table_st focus_20m = kFocusFar;
constexpr zoom_table_st focus_fin = kFocusFar;
constexpr zoom_table_st focus_step = byZoomStep({{33, 8}, {47, 12}, {kZoomSteps - 1, 16}});
constexpr zoom_table_st af_blur_tbl = {
    {10000, 10000, 10000, 10000, 10000, 10000, 9980, 9950, 9910, 9870, 9840, 9800,
     9770,  9730,  9700,  9660,  9630,  9600,  9560, 9530, 9500, 9470, 9430, 9400,
     9370,  9340,  9310,  9280,  9250,  9220,  9190, 9170, 9140, 9110, 9080, 9050,
     9030,  9000,  8980,  8950,  8920,  8900,  8880, 8850, 8830, 8800, 8780, 8760,
     8730,  8710,  8690,  8670,  8650,  8630,  8610, 8590, 8570, 8550, 8530, 8510}};
constexpr af_alg_table_st af_alg_tbl = afAlgTable();
constexpr af_piris_table_st af_piris_tbl = afPirisTable();
constexpr zoom_piris_table_st zoom_piris_tbl = zoomPirisTable();
// Several words repeat the tables' sizes and ends.
constexpr lens_params_st gst_lens_pararms = {
    {// 0
     0, 3632, 0, kZoomEnd, 0, kZoomEnd, 40, 48, 0, -1,
     // 10
     -1, -1, 0, 400, 2, 0, 0, 0, 0, 0,
     // 20
     0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
     // 30
     0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
     // 40
     0, 0, 0, 0, 0, 0, 600, kFocusFar.value[0], 856, 240,
     // 50
     1096, 240, 160, 0, -1, 1, -1, 0, 600, 2,
     // 60
     0, 0, 600, 2, kZoomEnd, kZoomSteps, 0, 15, 16, kViscaEnd,
     // 70
     8, 0, kZoomEnd, 1408, 0, -3632, 656, 56, 200, -400,
     // 80
     0, 0, 0, 0, 0, 0, 512, 13, 15, 512,
     // 90
     175, 0, 1024, 25600, 32, 320, 32, 240, 25600, 3,
     // 100
     kAfRows, 2, 1000, 100, 25600, 16, 30, 2016, 3024, 4032,
     // 110
     kZoomSections, 1056, 280, 80, 80, 160, 80, 80, 160, 6936,
     // 120
     9616, 0, 3318, 556, 1968, 6936, 8256, 3456, 3318, 2938,
     // 130
     2683, 1, 20, 24, 48, 29, 36, 944, 976, 30541,
     // 140
     zoomPosition(7), 30, 85}};
