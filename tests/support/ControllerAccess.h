// The tests' narrow way into a controller's private state.
#pragma once

#include <cstdlib>
#include <cstring>
#include <vector>

#include "ISensorController.h"

struct ISensorControllerTestAccess {
    using C = ISensorController;

    static void buildTable(C& c) { c.buildKeyCmdMap(); }
    static keycmd* table(C& c) { return c.m_pKeyCmdMap; }
    static s32& keyCmdSum(C& c) { return c.m_nKeyCmdSum; }

    static std::atomic<u32>& status(C& c) { return c.m_stStatus; }
    static std::atomic<u32>& curScheme(C& c) { return c.m_nCurScheme; }
    static std::atomic<u32>& lastScheme(C& c) { return c.m_nLastScheme; }
    static std::atomic<s32>& paramMode(C& c) { return c.m_nParamMode; }
    static s32 cameraId(C& c) { return c.m_nCameraID; }
    static bool& thermal(C& c) { return c.m_bThermalChannel; }
    static std::atomic<bool>& hasLens(C& c) { return c.m_bHasLens; }
    static std::atomic<bool>& limitedIrPower(C& c) { return c.m_bisLimitedIrPower; }
    static std::atomic<bool>& lprScheme(C& c) { return c.m_bLprScheme; }
    static std::atomic<bool>& shutterOnce(C& c) { return c.m_bShutterCmdOnce; }
    static std::atomic<bool>& showWdr(C& c) { return c.m_bShowWDRFalg; }
    static std::atomic<bool>& showLdc(C& c) { return c.m_bShowLDCFlag; }
    static std::atomic<bool>& schemeByTime(C& c) { return c.m_bSchemeByTime; }
    static std::atomic<bool>& schemeByDN(C& c) { return c.m_bSchemeByDN; }
    static SensorZoomFocusParam& lens(C& c) { return c.m_objSensorZoomFocusParam; }
    static SysConfig& sysConf(C& c) { return c.m_stSysConf; }
    static u32 keyValSum(C& c) { return c.m_nKeyValSum; }
    static u32 version(C& c) { return c.m_nVersion; }
    static u32 lastSchedule(C& c) { return c.m_nLastSchedule; }
    static KeyVal* scheme(C& c, u32 p_nScheme) { return c.m_ppUserKeyVal[p_nScheme]; }
    static u32& lastScheduleRef(C& c) { return c.m_nLastSchedule; }
    static GThread* thread(C& c) { return c.m_pSensorThread; }
    // Held while reading the scheme arrays beside a running controller.
    static std::recursive_mutex& schemeLock(C& c) { return c.m_objSchemeLock; }

    // Sets up the scheme arrays as init would: nSchemeSum user schemes plus the factory slice,
    // each holding p_vecFactory.
    static void setSchemes(C& c, u32 p_nSchemeSum, const std::vector<KeyVal>& p_vecFactory) {
        c.releaseSchemeArrays();
        u32 nSum = static_cast<u32>(p_vecFactory.size());
        c.m_stSysConf.nSchemeSum = p_nSchemeSum;
        c.m_nKeyValSum = nSum;
        KeyVal* pBlock =
            static_cast<KeyVal*>(calloc((p_nSchemeSum + 1) * nSum + 1, sizeof(KeyVal)));
        c.m_ppUserKeyVal = static_cast<KeyVal**>(calloc(p_nSchemeSum + 1, sizeof(KeyVal*)));
        for (u32 s = 0; s <= p_nSchemeSum; ++s) {
            c.m_ppUserKeyVal[s] = pBlock + s * nSum;
            if (nSum) memcpy(c.m_ppUserKeyVal[s], p_vecFactory.data(), nSum * sizeof(KeyVal));
        }
        c.m_pFctKeyVal = c.m_ppUserKeyVal[p_nSchemeSum];
        c.m_pstKeyValTmp = static_cast<KeyVal*>(calloc(nSum + 1, sizeof(KeyVal)));
        c.m_pLprKeyVal = static_cast<KeyVal*>(calloc(nSum + 1, sizeof(KeyVal)));
    }

    // A controller ready for key work without init: table built, schemes set, scheme current.
    static void prepare(C& c, u32 p_nSchemeSum, const std::vector<KeyVal>& p_vecFactory,
                        u32 p_nCurrent = 0) {
        if (!c.m_pKeyCmdMap) c.buildKeyCmdMap();
        setSchemes(c, p_nSchemeSum, p_vecFactory);
        c.m_nCurScheme = p_nCurrent;
    }
};

using Access = ISensorControllerTestAccess;
