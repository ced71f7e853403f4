// The key-command table: for each key, the ISP command that carries it and the member that
// applies it. Rows are grouped by feature; lookups are by key id.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ISensorController.h"
#include "internal/ControllerUnit.h"

namespace {

enum HandlerId {
    H_none,
    H_doIaCmd,
    H_doIaCmd_User,
    H_doIaCmdShutter,
    H_doIoCrtl,
    H_test_debugParam,
    H_doIaCmd_PanoTuning,
    H_doHwdr,
    H_doDIS,
    H_doImageAdjust,
    H_doDNThr,
    H_doDNTime,
    H_doMirror,
    H_doBeaway,
    H_count
};

struct HandlerEntry {
    KeyCmdHandler pfn;
    const char* szName;
};

// Indexed by HandlerId.
constexpr HandlerEntry kHandlers[H_count] = {
    {nullptr, "NULL"},
    {&ISensorController::doIaCmd, "doIaCmd"},
    {&ISensorController::doIaCmd_User, "doIaCmd_User"},
    {&ISensorController::doIaCmdShutter, "doIaCmdShutter"},
    {&ISensorController::doIoCrtl, "doIoCrtl"},
    {&ISensorController::test_debugParam, "test_debugParam"},
    {&ISensorController::doIaCmd_PanoTuning, "doIaCmd_PanoTuning"},
    {&ISensorController::doHwdr, "doHwdr"},
    {&ISensorController::doDIS, "doDIS"},
    {&ISensorController::doImageAdjust, "doImageAdjust"},
    {&ISensorController::doDNThr, "doDNThr"},
    {&ISensorController::doDNTime, "doDNTime"},
    {&ISensorController::doMirror, "doMirror"},
    {&ISensorController::doBeaway, "doBeaway"},
};

struct Row {
    u32 nKey;
    u32 nCmd;
    HandlerId eHandler;
    const char* szName;
};

constexpr Row kRows[] = {
    {KEY__DDE_MANUAL_STRG, 8240, H_doIaCmd, "KEY__DDE_MANUAL_STRG"},
    {KEY_BRIGHTNESS, 34, H_doIaCmd, "KEY_BRIGHTNESS"},
    {KEY_SATURATION, 2337, H_doIaCmd, "KEY_SATURATION"},
    {KEY_CONTRAST, 2353, H_doIaCmd, "KEY_CONTRAST"},
    {KEY_SHARPNESS, 2321, H_doIaCmd, "KEY_SHARPNESS"},
    {KEY_METER_AREA, 96, H_doIaCmd, "KEY_METER_AREA"},
    {KEY_EXPOSE_MODE, 16, H_doIaCmd, "KEY_EXPOSE_MODE"},
    {KEY_MAX_SHUTTER, 49, H_doIaCmd, "KEY_MAX_SHUTTER"},
    {KEY_FIX_SHUTTER, 50, H_doIaCmd, "KEY_FIX_SHUTTER"},
    {KEY_MIN_SHUTTER, 51, H_doIaCmd, "KEY_MIN_SHUTTER"},
    {KEY_TRAFFIC_LEVEL, 52, H_doIaCmd, "KEY_TRAFFIC_LEVEL"},
    {KEY_MIN_SHUTTER_NIGHT, 55, H_doIaCmd, "KEY_MIN_SHUTTER_NIGHT"},
    {KEY_MAX_SHUTTER_NIGHT, 56, H_doIaCmd, "KEY_MAX_SHUTTER_NIGHT"},
    {KEY_MAX_GAIN_NIGHT, 57, H_doIaCmd, "KEY_MAX_GAIN_NIGHT"},
    {KEY_MAX_GAIN, 65, H_doIaCmd, "KEY_MAX_GAIN"},
    {KEY_FIX_GAIN, 66, H_doIaCmd, "KEY_FIX_GAIN"},
    {KEY_IRIS_SWITCH, 80, H_doIaCmd, "KEY_IRIS_SWITCH"},
    {KEY_IRIS_SPEED, 81, H_doIaCmd, "KEY_IRIS_SPEED"},
    {KEY_IRIS_POSITION, 82, H_doIaCmd, "KEY_IRIS_POSITION"},
    {KEY_IRIS_SIZE, 85, H_doIaCmd, "KEY_IRIS_SIZE"},
    {KEY_IRIS_UP, 83, H_doIaCmd_User, "KEY_IRIS_UP"},
    {KEY_IRIS_DOWN, 84, H_doIaCmd_User, "KEY_IRIS_DOWN"},
    {KEY_WB_MODE, 768, H_doIaCmd, "KEY_WB_MODE"},
    {KEY_R_GAIN, 770, H_doIaCmd, "KEY_R_GAIN"},
    {KEY_B_GAIN, 771, H_doIaCmd, "KEY_B_GAIN"},
    {KEY_DN_MODE, 144, H_doIaCmd, "KEY_DN_MODE"},
    {KEY_DELAY, 147, H_doIaCmd, "KEY_DELAY"},
    {KEY_IR_SWITCH, 160, H_doIaCmd, "KEY_IR_SWITCH"},
    {KEY_IR_MODE, 161, H_doIaCmd, "KEY_IR_MODE"},
    {KEY_IR_AUTO_STRG_NEAR, 162, H_doIaCmd, "KEY_IR_AUTO_STRG_NEAR"},
    {KEY_IR_MANUAL_STRG_NEAR, 163, H_doIaCmd, "KEY_IR_MANUAL_STRG_NEAR"},
    {KEY_IR_AUTO_STRG_MEDIUM, 164, H_doIaCmd, "KEY_IR_AUTO_STRG_MEDIUM"},
    {KEY_IR_MANUAL_STRG_MEDIUM, 165, H_doIaCmd, "KEY_IR_MANUAL_STRG_MEDIUM"},
    {KEY_IR_AUTO_STRG_FAR, 166, H_doIaCmd, "KEY_IR_AUTO_STRG_FAR"},
    {KEY_IR_MANUAL_STRG_FAR, 167, H_doIaCmd, "KEY_IR_MANUAL_STRG_FAR"},
    {KEY_IR_ANTI_OVEREXP, 155, H_doIaCmd, "KEY_IR_ANTI_OVEREXP"},
    {KEY_WHITE_SWITCH, 168, H_doIaCmd, "KEY_WHITE_SWITCH"},
    {KEY_WHITE_MODE, 169, H_doIaCmd, "KEY_WHITE_MODE"},
    {KEY_WHITE_MANUAL_STRG, 170, H_doIaCmd, "KEY_WHITE_MANUAL_STRG"},
    {KEY_WHITE_MANUAL_STRG_MEDIUM, 171, H_doIaCmd, "KEY_WHITE_MANUAL_STRG_MEDIUM"},
    {KEY_WHITE_MANUAL_STRG_FAR, 172, H_doIaCmd, "KEY_WHITE_MANUAL_STRG_FAR"},
    {KEY_2D_NR_SWITCH, 2304, H_doIaCmd, "KEY_2D_NR_SWITCH"},
    {KEY_2D_NR_MODE, 2305, H_doIaCmd, "KEY_2D_NR_MODE"},
    {KEY_2D_NR_STRG_A, 2306, H_doIaCmd, "KEY_2D_NR_STRG_A"},
    {KEY_2D_NR_STRG_M, 2307, H_doIaCmd, "KEY_2D_NR_STRG_M"},
    {KEY_3D_NR_SWITCH, 2308, H_doIaCmd, "KEY_3D_NR_SWITCH"},
    {KEY_3D_NR_MODE, 2309, H_doIaCmd, "KEY_3D_NR_MODE"},
    {KEY_3D_NR_STRG_A, 2312, H_doIaCmd, "KEY_3D_NR_STRG_A"},
    {KEY_3D_NR_STRG_M, 2313, H_doIaCmd, "KEY_3D_NR_STRG_M"},
    {KEY_WDR_MODE, 2368, H_doHwdr, "KEY_WDR_MODE"},
    {KEY_WDR_STRG, 2369, H_doIaCmd, "KEY_WDR_STRG"},
    {KEY_HLC_SWITCH, 112, H_doIaCmd, "KEY_HLC_SWITCH"},
    {KEY_HLC_STRG, 113, H_doIaCmd, "KEY_HLC_STRG"},
    {KEY_BLC_SWITCH, 128, H_doIaCmd, "KEY_BLC_SWITCH"},
    {KEY_BLC_MODE, 129, H_doIaCmd, "KEY_BLC_MODE"},
    {KEY_BLC_STRG, 130, H_doIaCmd, "KEY_BLC_STRG"},
    {KEY_ANTI_SHAKE_SWITCH, 2416, H_doDIS, "KEY_ANTI_SHAKE_SWITCH"},
    {KEY_ANTI_SHAKE_STRG, 2417, H_doIaCmd, "KEY_ANTI_SHAKE_STRG"},
    {KEY_DEFLG_SWITCH, 2400, H_doIaCmd, "KEY_DEFLG_SWITCH"},
    {KEY_DEFLG_STRG, 2401, H_doIaCmd, "KEY_DEFLG_STRG"},
    {KEY_IN_OUT_SIDE, 176, H_doIaCmd, "KEY_IN_OUT_SIDE"},
    {KEY_TEST_PARAM1, 190, H_test_debugParam, "KEY_TEST_PARAM1"},
    {KEY_TEST_PARAM2, 191, H_test_debugParam, "KEY_TEST_PARAM2"},
    {KEY_TEST_PARAM3, 192, H_test_debugParam, "KEY_TEST_PARAM3"},
    {KEY_TEST_PARAM4, 193, H_test_debugParam, "KEY_TEST_PARAM4"},
    {KEY_MIRROR, 2384, H_doMirror, "KEY_MIRROR"},
    {KEY_BEAWAY, 2385, H_doBeaway, "KEY_BEAWAY"},
    {KEY_DTN_THR, 145, H_doDNThr, "KEY_DTN_THR"},
    {KEY_NTD_THR, 146, H_doDNThr, "KEY_NTD_THR"},
    {KEY_DN_SENSITIVITY, 154, H_doDNThr, "KEY_DN_SENSITIVITY"},
    {KEY_DTN_H, 149, H_doDNTime, "KEY_DTN_H"},
    {KEY_DTN_M, 150, H_doDNTime, "KEY_DTN_M"},
    {KEY_NTD_H, 151, H_doDNTime, "KEY_NTD_H"},
    {KEY_NTD_M, 152, H_doDNTime, "KEY_NTD_M"},
    {KEY_AUTO_FOCUS_MODE, 1536, H_doIaCmd, "KEY_AUTO_FOCUS_MODE"},
    {KEY_AUTO_FOCUS_NEAR_LIMIT, 1537, H_doIaCmd, "KEY_AUTO_FOCUS_NEAR_LIMIT"},
    {KEY_AUTO_FOCUS_SENSITIVITY, 1538, H_doIaCmd, "KEY_AUTO_FOCUS_SENSITIVITY"},
    {KEY_AUTO_FOCUS_ONCE, 1539, H_doIaCmd_User, "KEY_AUTO_FOCUS_ONCE"},
    {KEY_LENS_RESET, 1616, H_doIaCmd_User, "KEY_LENS_RESET"},
    {KEY_ZOOM_OUT, 1570, H_doIaCmd_User, "KEY_ZOOM_OUT"},
    {KEY_ZOOM_IN, 1569, H_doIaCmd_User, "KEY_ZOOM_IN"},
    {KEY_FOCUS_NEAR, 1553, H_doIaCmd_User, "KEY_FOCUS_NEAR"},
    {KEY_FOCUS_FAR, 1554, H_doIaCmd_User, "KEY_FOCUS_FAR"},
    {KEY_DIGITAL_ZOOM, 1584, H_doIaCmd, "KEY_DIGITAL_ZOOM"},
    {KEY_MZOOM_SPEED, 1571, H_doIaCmd, "KEY_MZOOM_SPEED"},
    {KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, 8104, H_doIoCrtl,
     "KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV"},
    {KEY_MIXSTREAM_DISTANCE, 8100, H_doIaCmd_PanoTuning, "KEY_MIXSTREAM_DISTANCE"},
    {KEY_MIXSTREAM_DISTANCE_Y_OFFSET, 8101, H_doIaCmd_PanoTuning,
     "KEY_MIXSTREAM_DISTANCE_Y_OFFSET"},
    {KEY_MIXSTREAM_DISTANCE_WIDTH_OFFSET, 8102, H_doIaCmd_PanoTuning,
     "KEY_MIXSTREAM_DISTANCE_WIDTH_OFFSET"},
    {KEY_MIXSTREAM_DISTANCE_HEIGHT_OFFSET, 8103, H_doIaCmd_PanoTuning,
     "KEY_MIXSTREAM_DISTANCE_HEIGHT_OFFSET"},
    {KEY_MIXSTREAM_TYPE, 8105, H_doIaCmd_PanoTuning, "KEY_MIXSTREAM_TYPE"},
    {KEY_SCHEME_MODE, 0, H_none, "KEY_SCHEME_MODE"},
    {KEY_SCHEME_START_HOUR, 0, H_none, "KEY_SCHEME_START_HOUR"},
    {KEY_SCHEME_START_MIN, 0, H_none, "KEY_SCHEME_START_MIN"},
    {KEY_SCHEME_END_HOUR, 0, H_none, "KEY_SCHEME_END_HOUR"},
    {KEY_SCHEME_END_MIN, 0, H_none, "KEY_SCHEME_END_MIN"},
    {KEY_EMPTY1, 0, H_none, "KEY_EMPTY1"},
    {KEY_EMPTY2, 0, H_none, "KEY_EMPTY2"},
    {KEY_EMPTY3, 0, H_none, "KEY_EMPTY3"},
    {KEY_MF_POSITION, 1552, H_doIaCmd, "KEY_MF_POSITION"},
    {KEY_MZ_POSITION, 1568, H_doIaCmd, "KEY_MZ_POSITION"},
    {KEY_CAP_OFF_ADJ_DIRECTION, 2432, H_doImageAdjust, "KEY_CAP_OFF_ADJ_DIRECTION"},
    {KEY_CAP_OFF_ADJ_STEP, 2433, H_doIaCmd, "KEY_CAP_OFF_ADJ_STEP"},
    {KEY_CAP_OFF_ADJ_H_MIN, 2434, H_doIaCmd, "KEY_CAP_OFF_ADJ_H_MIN"},
    {KEY_CAP_OFF_ADJ_H_MAX, 2435, H_doIaCmd, "KEY_CAP_OFF_ADJ_H_MAX"},
    {KEY_CAP_OFF_ADJ_H_CUR, 2436, H_doImageAdjust, "KEY_CAP_OFF_ADJ_H_CUR"},
    {KEY_CAP_OFF_ADJ_V_MIN, 2437, H_doIaCmd, "KEY_CAP_OFF_ADJ_V_MIN"},
    {KEY_CAP_OFF_ADJ_V_MAX, 2438, H_doIaCmd, "KEY_CAP_OFF_ADJ_V_MAX"},
    {KEY_CAP_OFF_ADJ_V_CUR, 2439, H_doImageAdjust, "KEY_CAP_OFF_ADJ_V_CUR"},
    {KEY_SENSOR_FPS, 2464, H_doIaCmd_User, "KEY_SENSOR_FPS"},
    {KEY_FREEZE, 2512, H_doIaCmd, "KEY_FREEZE"},
    {KEY_GAMMA, 2528, H_doIaCmd, "KEY_GAMMA"},
    {KEY_DN_AF_MODE, 2560, H_doIaCmd, "KEY_DN_AF_MODE"},
    {KEY_NONE_COLOR_MODE, 8201, H_doIaCmd, "KEY_NONE_COLOR_MODE"},
    {KEY_DVE_MODE, 8202, H_doIaCmd, "KEY_DVE_MODE"},
    {KEY_AUTO_TIME, 8203, H_doIaCmd, "KEY_AUTO_TIME"},
    {KEY_AUTO_TEMPR, 8209, H_doIaCmd, "KEY_AUTO_TEMPR"},
    {KEY_CONTROL_FFC_MODE, 8204, H_doIaCmd, "KEY_CONTROL_FFC_MODE"},
    {KEY_IMAGES_ADJUST, 8205, H_doIaCmd, "KEY_IMAGES_ADJUST"},
    {KEY_IMAGES_REGULATE, 8206, H_doIaCmd, "KEY_IMAGES_REGULATE"},
    {KEY_FOCUS_SPEED_LEVEL, 8207, H_doIaCmd, "KEY_FOCUS_SPEED_LEVEL"},
    {KEY_DVE_TYPE, 8208, H_doIaCmd, "KEY_DVE_TYPE"},
    {KEY_SHUTTER_ADJUST, 8211, H_doIaCmdShutter, "KEY_SHUTTER_ADJUST"},
    {KEY_BACKGROUND_ADJUST, 8212, H_doIaCmd_User, "KEY_BACKGROUND_ADJUST"},
    {KEY_TEMPERATURE_STRIP_SWITCH, 8217, H_doIaCmd, "KEY_TEMPERATURE_STRIP_SWITCH"},
    {IA_CMD_UI_SHUTTER_RESET, 8231, H_doIaCmd_User, "IA_CMD_UI_SHUTTER_RESET"},
    {KEY_PANO_STITCH_DIST, 9000, H_doIaCmd_PanoTuning, "KEY_PANO_STITCH_DIST"},
    {KEY_PANO_SAVE, 9001, H_doIaCmd_PanoTuning, "KEY_PANO_SAVE"},
    {KEY_PANO_RESET, 9002, H_doIaCmd_PanoTuning, "KEY_PANO_RESET"},
    {KEY_PANO_PREVIEW, 9003, H_doIaCmd_PanoTuning, "KEY_PANO_PREVIEW"},
    {KEY_PANO_ADJUST_EN, 9004, H_doIaCmd_PanoTuning, "KEY_PANO_ADJUST_EN"},
    {KEY_PANO_ID, 9005, H_doIaCmd_PanoTuning, "KEY_PANO_ID"},
    {KEY_PANO_ADJUST_EN_1, 9101, H_doIaCmd_PanoTuning, "KEY_PANO_ADJUST_EN_1"},
    {KEY_PANO_YAW_1, 9102, H_doIaCmd_PanoTuning, "KEY_PANO_YAW_1"},
    {KEY_PANO_PITCH_1, 9103, H_doIaCmd_PanoTuning, "KEY_PANO_PITCH_1"},
    {KEY_PANO_ROLL_1, 9104, H_doIaCmd_PanoTuning, "KEY_PANO_ROLL_1"},
    {KEY_PANO_OFFSETX_1, 9105, H_doIaCmd_PanoTuning, "KEY_PANO_OFFSETX_1"},
    {KEY_PANO_OFFSETY_1, 9106, H_doIaCmd_PanoTuning, "KEY_PANO_OFFSETY_1"},
    {KEY_PANO_ADJUST_EN_2, 9201, H_doIaCmd_PanoTuning, "KEY_PANO_ADJUST_EN_2"},
    {KEY_PANO_YAW_2, 9202, H_doIaCmd_PanoTuning, "KEY_PANO_YAW_2"},
    {KEY_PANO_PITCH_2, 9203, H_doIaCmd_PanoTuning, "KEY_PANO_PITCH_2"},
    {KEY_PANO_ROLL_2, 9204, H_doIaCmd_PanoTuning, "KEY_PANO_ROLL_2"},
    {KEY_PANO_OFFSETX_2, 9205, H_doIaCmd_PanoTuning, "KEY_PANO_OFFSETX_2"},
    {KEY_PANO_OFFSETY_2, 9206, H_doIaCmd_PanoTuning, "KEY_PANO_OFFSETY_2"},
    {KEY_PANO_ADJUST_EN_3, 9301, H_doIaCmd_PanoTuning, "KEY_PANO_ADJUST_EN_3"},
    {KEY_PANO_YAW_3, 9302, H_doIaCmd_PanoTuning, "KEY_PANO_YAW_3"},
    {KEY_PANO_PITCH_3, 9303, H_doIaCmd_PanoTuning, "KEY_PANO_PITCH_3"},
    {KEY_PANO_ROLL_3, 9304, H_doIaCmd_PanoTuning, "KEY_PANO_ROLL_3"},
    {KEY_PANO_OFFSETX_3, 9305, H_doIaCmd_PanoTuning, "KEY_PANO_OFFSETX_3"},
    {KEY_PANO_OFFSETY_3, 9306, H_doIaCmd_PanoTuning, "KEY_PANO_OFFSETY_3"},
    {KEY_PANO_ADJUST_EN_4, 9401, H_doIaCmd_PanoTuning, "KEY_PANO_ADJUST_EN_4"},
    {KEY_PANO_YAW_4, 9402, H_doIaCmd_PanoTuning, "KEY_PANO_YAW_4"},
    {KEY_PANO_PITCH_4, 9403, H_doIaCmd_PanoTuning, "KEY_PANO_PITCH_4"},
    {KEY_PANO_ROLL_4, 9404, H_doIaCmd_PanoTuning, "KEY_PANO_ROLL_4"},
    {KEY_PANO_OFFSETX_4, 9405, H_doIaCmd_PanoTuning, "KEY_PANO_OFFSETX_4"},
    {KEY_PANO_OFFSETY_4, 9406, H_doIaCmd_PanoTuning, "KEY_PANO_OFFSETY_4"},
    {KEY_IR_MODE_INTELL, 0, H_none, "KEY_IR_MODE_INTELL"},
    {KEY_WHITE_MODE_INTELL, 0, H_none, "KEY_WHITE_MODE_INTELL"},
    {KEY_IR_MANUAL_STRG_NEAR_INTELL, 0, H_none, "KEY_IR_MANUAL_STRG_NEAR_INTELL"},
    {KEY_WHITE_MANUAL_STRG_INTELL, 0, H_none, "KEY_WHITE_MANUAL_STRG_INTELL"},
    {KEY_LIGHT_TYPE, 224, H_doIaCmd, "KEY_LIGHT_TYPE"},
    {KEY_LDC_SWITCH, 2048, H_doIaCmd, "KEY_LDC_SWITCH"},
    {KEY_LDC_STRG, 2064, H_doIaCmd, "KEY_LDC_STRG"},
    {KEY_WB_RG, 772, H_doIaCmd, "KEY_WB_RG"},
    {KEY_WB_BG, 773, H_doIaCmd, "KEY_WB_BG"},
};

constexpr u32 kRowCount = sizeof kRows / sizeof kRows[0];
static_assert(kRowCount == 165, "the key-command table has 165 rows");

constexpr std::array<SensorKeyInfo, kRowCount> makeCatalogue() {
    std::array<SensorKeyInfo, kRowCount> arr{};
    for (u32 i = 0; i < kRowCount; ++i) {
        arr[i] = {kRows[i].nKey, kRows[i].nCmd, kRows[i].szName,
                  kHandlers[kRows[i].eHandler].szName};
    }
    return arr;
}

constexpr std::array<SensorKeyInfo, kRowCount> kCatalogue = makeCatalogue();

}  // namespace

int ISensorController::fillKeyCmdMap(keycmd* p_pMap) {
    for (u32 i = 0; i < kRowCount; ++i) {
        const Row& row = kRows[i];
        keycmd& rec = p_pMap[i];
        rec.nKey = row.nKey;
        rec.nCmd = row.nCmd;
        rec.pfnHandler = kHandlers[row.eHandler].pfn;
        // A name of 32 characters or more fills the field and keeps no terminating zero.
        memset(rec.szKeyName, 0, SNS_KEY_NAME_LEN);
        memcpy(rec.szKeyName, row.szName, strnlen(row.szName, SNS_KEY_NAME_LEN));
        if (row.eHandler == H_none) {
            snprintf(rec.szHandlerName, SNS_HANDLER_NAME_LEN, "NULL");
        } else {
            snprintf(rec.szHandlerName, SNS_HANDLER_NAME_LEN, "&ISensorController::%s",
                     kHandlers[row.eHandler].szName);
        }
    }
    return static_cast<int>(kRowCount);
}

void ISensorController::buildKeyCmdMap() {
    keycmd* pMap = static_cast<keycmd*>(calloc(static_cast<size_t>(m_nKeyCmdSum), sizeof(keycmd)));
    if (!pMap) {
        luxtune::report::assertFailed(SNS_HERE, "NULL != m_pKeyCmdMap", "m_nKeyCmdSum(%d)\n",
                                      m_nKeyCmdSum);
        return;
    }
    m_nKeyCmdSum = fillKeyCmdMap(pMap);
    m_pKeyCmdMap = pMap;
}

int ISensorController::findFromKeyCmdMap(const keycmd* p_pMap, u32 p_nKey, keycmd& p_stKeyCmd) {
    for (s32 i = 0; p_pMap && i < m_nKeyCmdSum; ++i) {
        if (p_pMap[i].nKey == p_nKey) {
            p_stKeyCmd = p_pMap[i];
            return i;
        }
    }
    luxtune::report::trace(0, "cand not find key-cmd while key=%d\n", static_cast<int>(p_nKey));
    return -1;
}

u32 getSensorKeyCount() {
    return kRowCount;
}

const SensorKeyInfo* getSensorKeyInfo(u32 p_nIndex) {
    return p_nIndex < kRowCount ? &kCatalogue[p_nIndex] : nullptr;
}

const SensorKeyInfo* findSensorKeyById(u32 p_nKey) {
    for (const SensorKeyInfo& info : kCatalogue) {
        if (info.nKey == p_nKey) return &info;
    }
    return nullptr;
}

const SensorKeyInfo* findSensorKeyByName(const char* p_szName) {
    if (!p_szName) return nullptr;
    for (const SensorKeyInfo& info : kCatalogue) {
        if (strcmp(info.szName, p_szName) == 0) return &info;
    }
    return nullptr;
}
