// The scheme scheduler: one pass of the controller's background thread, the time-window search,
// the zoom synchronisation request and the raw sensor check.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ISensorController.h"
#include "internal/ControllerUnit.h"

using luxtune::report::assertFailed;

namespace {

constexpr const char* kSyncFovFile = "/mnt/mtd/hd1/program/config/sync_fov.ini";

// "<key>...=<number>...,": the number after the first "=" following the key, when a ","
// follows that "=" somewhere on the line.
void readSyncValue(const std::string& p_strLine, const char* p_szKey, int& p_nValue) {
    size_t nKey = p_strLine.find(p_szKey);
    if (nKey == std::string::npos) return;
    size_t nEq = p_strLine.find('=', nKey);
    if (nEq == std::string::npos || p_strLine.find(',', nEq) == std::string::npos) return;
    p_nValue = atoi(p_strLine.c_str() + nEq + 1);
}

}  // namespace

int ISensorController::sensorThread() {
    if (!testStatus(SensorStatus::bResetting)) CorvaneTime(1, 0).wait();
    serveRequest();
    if (m_nParamMode.load() == 0) return 0;
    // A host operation holding the schemes is never waited for: the next pass tries again.
    std::unique_lock<std::recursive_mutex> objSchemes(m_objSchemeLock, std::try_to_lock);
    if (!objSchemes.owns_lock()) return 0;
    if (m_bSchemeByDN.load()) {
        selectByDayNight();
        return 0;
    }
    if (!m_bSchemeByTime.load()) return 0;
    int nScheme = 0;
    int nSchedule = 0;
    if (judgeCurScheme(nScheme, nSchedule) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == judgeCurScheme(nScheme, nSchedule)", "nScheme(%d)\n",
                     nScheme);
    }
    if (m_bLprScheme) {
        selectMixed(nScheme, nSchedule);
    } else {
        selectByTime(nScheme);
    }
    return 0;
}

// The cross-channel request names camera 1, whichever controller received it.
void ISensorController::serveRequest() {
    if (m_nChanneldDosomething.load() != m_nCameraID) return;
    if (m_nPassKeycmd.load() == static_cast<s32>(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV))
        sync_fov();
    m_nChanneldDosomething.store(-1);
    m_nPassKeycmd.store(-1);
}

void ISensorController::selectByDayNight() {
    int nState = 0;
    getDNState(nState);  // a failed read counts as day
    int nScheme = nState != 0 ? 1 : 0;
    if (m_nCurScheme.load() == static_cast<u32>(nScheme) || switchBusy()) return;
    if (switch_to(nScheme, false) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == switch_to(nScheme)", "nScheme(%d)\n", nScheme);
    }
}

void ISensorController::selectByTime(int p_nScheme) {
    if (m_nCurScheme.load() == static_cast<u32>(p_nScheme) || switchBusy()) return;
    if (switch_to(p_nScheme, false) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == switch_to(nScheme)", "nScheme(%d)\n", p_nScheme);
    }
}

// Inside a time window its scheme is used; outside every window the day/night pair 0 and 1.
void ISensorController::selectMixed(int p_nScheme, int p_nSchedule) {
    bool bSame = m_nCurScheme.load() == static_cast<u32>(p_nScheme);
    if (p_nSchedule == 0) {
        int nState = 0;
        getDNState(nState);
        p_nScheme = nState != 0 ? 1 : 0;
        if ((m_nLastSchedule == 0 && m_nCurScheme.load() == static_cast<u32>(p_nScheme)) ||
            switchBusy())
            return;
        LPR_switch_to(p_nScheme);
        m_nLastSchedule = 0;
        return;
    }
    if ((m_nLastSchedule == 1 && bSame) || switchBusy()) return;
    if (m_nLastSchedule == 1) {
        if (switch_to(p_nScheme, false) != SNS_SUCCESS) {
            assertFailed(SNS_HERE, "SNS_SUCCESS == switch_to(nScheme)", "nScheme(%d)\n", p_nScheme);
        }
    } else if (switch_to(p_nScheme, true) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == switch_to(nScheme, true)", "nScheme(%d)\n",
                     p_nScheme);
    }
    m_nLastSchedule = 1;
}

int ISensorController::judgeCurScheme(int& nScheme, int& nSchedule) {
    ZqTimeFields stNow = ZqDeviceTime::getCurrentTime();
    u32 nNow = static_cast<u32>(stNow.hour) * 100 + stNow.minute;
    nSchedule = 0;
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);
    for (u32 s = 0; s < m_stSysConf.nSchemeSum; ++s) {
        u32 nStart = 0, nEnd = 0;
        if (schemeWindow(s, nStart, nEnd) && nStart <= nNow && nNow < nEnd) {
            nScheme = static_cast<int>(s);
            nSchedule = 1;
            return 0;
        }
    }
    nScheme = 0;
    return 0;
}

int ISensorController::sync_fov() {
    ZqFile file;
    file.open(kSyncFovFile, ZqFile::modeRead);
    std::vector<std::string> vecLines;
    file.ReadLines(vecLines);
    file.close();
    char szZoom[32];
    char szFocus[32];
    snprintf(szZoom, sizeof szZoom, "zoom%d", m_nCameraID);
    snprintf(szFocus, sizeof szFocus, "focus%d", m_nCameraID);
    int nZoom = -1;
    int nFocus = -1;
    for (const std::string& strLine : vecLines) {
        readSyncValue(strLine, szZoom, nZoom);
        readSyncValue(strLine, szFocus, nFocus);
        printf("zoom= %d,focus= %d \n", nZoom, nFocus);
        if (nZoom > 0 && nFocus > 0) break;
    }
    if (nZoom > 0) setZoomValue(nZoom);  // the focus follows the zoom on its own
    return 1;
}

int ISensorController::SensorCheck(std::string& p_strIds) {
    std::vector<std::string> vecItems;
    if (!parseSensorParameter(p_strIds, vecItems) || vecItems.size() < 3) {
        printf("%s%d getParameters fail p_strIds = %s \n", kSrcUnit, __LINE__, p_strIds.c_str());
        return 0;
    }
    ia_sensor_check_st stCheck = {atoi(vecItems[0].c_str()), atoi(vecItems[1].c_str()),
                                  atoi(vecItems[2].c_str()), 0};
    bool bRead = stCheck.arg1 == 2;
    int nRet = ia_ioctrl_v2(m_nCameraID - 1, IA_CMD_SENSOR_CHECK,
                            bRead ? IA_CMD_OPT_GET : IA_CMD_OPT_SET, &stCheck);
    if (bRead) {
        char szResult[16];
        snprintf(szResult, sizeof szResult, "%d", stCheck.result);
        p_strIds = szResult;
    }
    return nRet;
}
