// A controller set up for key work without init: the key-command table, four user schemes and
// the factory slice holding one sample scheme, a recording video module, scheme 0 current.
#pragma once

#include <vector>

#include "ControllerAccess.h"
#include "IaSim.h"
#include "RecordingVideoModule.h"
#include "TestRoot.h"

class ControllerFixture : public LuxtuneTest {
  protected:
    void SetUp() override {
        LuxtuneTest::SetUp();
        m_objCtl.setVideoStreamModule(&m_objVideo);
        Access::prepare(m_objCtl, 4, sampleScheme(), 0);
        Access::status(m_objCtl) = SensorStatus::bInitialized;
    }

    static std::vector<KeyVal> sampleScheme() {
        return {{KEY_SCHEME_MODE, 0},
                {KEY_SCHEME_START_HOUR, 0},
                {KEY_SCHEME_START_MIN, 0},
                {KEY_SCHEME_END_HOUR, 24},
                {KEY_SCHEME_END_MIN, 0},
                {KEY_BRIGHTNESS, 50},
                {KEY_SATURATION, 128},
                {KEY_CONTRAST, 60},
                {KEY_SHARPNESS, 70},
                {KEY_DN_MODE, 0},
                {KEY_DTN_THR, 30},
                {KEY_NTD_THR, 60},
                {KEY_DN_SENSITIVITY, 5},
                {KEY_DTN_H, 18},
                {KEY_DTN_M, 30},
                {KEY_NTD_H, 6},
                {KEY_NTD_M, 0},
                {KEY_LIGHT_TYPE, 0},
                {KEY_IR_MODE, 1},
                {KEY_IR_MODE_INTELL, 1},
                {KEY_IR_MANUAL_STRG_NEAR, 40},
                {KEY_IR_MANUAL_STRG_NEAR_INTELL, 40},
                {KEY_IR_MANUAL_STRG_MEDIUM, 30},
                {KEY_IR_MANUAL_STRG_MEDIUM_INTELL, 30},
                {KEY_IR_MANUAL_STRG_FAR, 60},
                {KEY_IR_MANUAL_STRG_FAR_INTELL, 60},
                {KEY_WDR_MODE, 0},
                {KEY_MIRROR, 0},
                {KEY_BEAWAY, 0},
                {KEY_ANTI_SHAKE_SWITCH, 0},
                {KEY_NONE_COLOR_MODE, 0},
                {KEY_TEMPERATURE_STRIP_SWITCH, 0},
                {KEY_EMPTY1, 0},
                {KEY_EMPTY2, 0},
                {KEY_ZOOM_IN, 0},
                {KEY_EXPOSE_MODE, 0},
                {KEY_AUTO_FOCUS_MODE, 0}};
    }

    u32 cached(u32 p_nScheme, u32 p_nKey) {
        u32 nVal = 0xDEADBEEF;
        m_objCtl.getKeyValFromCache(p_nScheme, p_nKey, nVal);
        return nVal;
    }
    void setCurrent(u32 p_nScheme) { Access::curScheme(m_objCtl) = p_nScheme; }
    // A scheme's time window, hh:mm to hh:mm.
    void setWindow(u32 p_nScheme, u32 p_nStartH, u32 p_nStartM, u32 p_nEndH, u32 p_nEndM) {
        m_objCtl.setKeyValToCache(p_nScheme, KEY_SCHEME_START_HOUR, p_nStartH, true);
        m_objCtl.setKeyValToCache(p_nScheme, KEY_SCHEME_START_MIN, p_nStartM, true);
        m_objCtl.setKeyValToCache(p_nScheme, KEY_SCHEME_END_HOUR, p_nEndH, true);
        m_objCtl.setKeyValToCache(p_nScheme, KEY_SCHEME_END_MIN, p_nEndM, true);
    }

    // The ISP commands received with the set option, in order, as (command, value).
    std::vector<std::pair<int, u32>> ispSets() {
        std::vector<std::pair<int, u32>> vec;
        for (const iasim::Call& c : iasim::calls()) {
            if (c.option == IA_CMD_OPT_SET) vec.push_back({c.cmd, c.value});
        }
        return vec;
    }
    std::vector<std::pair<int, int>> notified() {
        std::vector<std::pair<int, int>> vec;
        for (const auto& n : m_objVideo.notifications())
            vec.push_back({n.key, n.value});
        return vec;
    }
    int apply(std::vector<KeyVal> p_vecRecords, bool p_bUpdateCache = true) {
        return m_objCtl.setParameters(p_vecRecords.data(), static_cast<u32>(p_vecRecords.size()),
                                      p_bUpdateCache);
    }

    RecordingVideoModule m_objVideo;
    ISensorController m_objCtl;
};

using Sets = std::vector<std::pair<int, u32>>;
using Notes = std::vector<std::pair<int, int>>;
