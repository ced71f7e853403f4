// Schemes: making a scheme current, the host's scheme and mode operations, saving the current
// scheme, and the ways back (restore one key, reload the scheme's file).
#include <cstdio>
#include <cstring>

#include "ISensorController.h"
#include "SensorFile.h"
#include "internal/ControllerUnit.h"

using luxtune::report::assertFailed;

namespace {

using SchemeGuard = std::lock_guard<std::recursive_mutex>;

constexpr u32 kLatestTime = 2400;

}  // namespace

KeyVal* ISensorController::schemeArray(u32 p_nScheme) {
    if (!m_ppUserKeyVal || p_nScheme > m_stSysConf.nSchemeSum) return nullptr;
    return m_ppUserKeyVal[p_nScheme];
}

// A scheme's time window, read by position: records 1 to 4 hold start hour and minute and end
// hour and minute.
bool ISensorController::schemeWindow(u32 p_nScheme, u32& p_nStart, u32& p_nEnd) {
    const KeyVal* pArr = schemeArray(p_nScheme);
    if (!pArr || m_nKeyValSum < 5) return false;
    p_nStart = pArr[1].value * 100 + pArr[2].value;
    p_nEnd = pArr[3].value * 100 + pArr[4].value;
    return true;
}

void ISensorController::schemeFileName(u32 p_nScheme, char (&p_szName)[128]) {
    if (m_bThermalChannel) {
        snprintf(p_szName, sizeof p_szName, "/mnt/mtd/code/config_file/sensor-thermal%d.cfg",
                 static_cast<int>(p_nScheme));
    } else {
        snprintf(p_szName, sizeof p_szName, "/mnt/mtd/code/config_file/sensor%d_%d.cfg",
                 m_nCameraID, static_cast<int>(p_nScheme));
    }
}

void ISensorController::deleteSchemeFiles() {
    char szCmd[128];
    if (m_bThermalChannel) {
        snprintf(szCmd, sizeof szCmd, "rm -rf /mnt/mtd/code/config*/sensor-thermal*.cfg");
    } else {
        snprintf(szCmd, sizeof szCmd, "rm -rf /mnt/mtd/code/config*/sensor%d_[0-3].cfg",
                 m_nCameraID);
    }
    sy_system(szCmd, 30);
}

void ISensorController::waitWhileSwitchBusy() {
    while (switchBusy())
        CorvaneTime(0, 500000).wait();
}

int ISensorController::switch_to(int p_nScheme, bool p_bFull) {
    SchemeGuard objSchemes(m_objSchemeLock);
    setStatus(SensorStatus::bSwitching);
    m_nLastScheme.store(m_nCurScheme.load());
    m_nCurScheme.store(static_cast<u32>(p_nScheme));
    KeyVal* pArr = schemeArray(static_cast<u32>(p_nScheme));
    u32 nCount = pArr ? m_nKeyValSum : 0;
    if (!p_bFull) {
        // Compared with the scheme being left, only the differing keys are applied.
        if (setParameters(pArr, nCount, true) != SNS_SUCCESS) {
            assertFailed(
                SNS_HERE,
                "SNS_SUCCESS == setParameters(m_ppUserKeyVal[m_nCurScheme], m_nKeyValSum, true)",
                "m_nCurScheme(%d) m_nKeyValSum(%d)\n", static_cast<int>(m_nCurScheme.load()),
                static_cast<int>(m_nKeyValSum));
        }
    } else {
        setParameters(pArr, nCount, false);
    }
    clearStatus(SensorStatus::bSwitching);
    return SNS_SUCCESS;
}

int ISensorController::LPR_switch_to(int p_nScheme) {
    SchemeGuard objSchemes(m_objSchemeLock);
    setStatus(SensorStatus::bSwitching);
    m_nLastScheme.store(m_nCurScheme.load());
    m_nCurScheme.store(static_cast<u32>(p_nScheme));
    const KeyVal* pArr = schemeArray(static_cast<u32>(p_nScheme));
    if (pArr && m_pLprKeyVal) {
        // The pair's schemes are applied with day/night switching off; the stored value stays.
        memcpy(m_pLprKeyVal, pArr, m_nKeyValSum * sizeof(KeyVal));
        for (u32 i = 0; i < m_nKeyValSum; ++i) {
            if (m_pLprKeyVal[i].key == KEY_DN_MODE) {
                m_pLprKeyVal[i].value = 0;
                break;
            }
        }
        setParameters(m_pLprKeyVal, m_nKeyValSum, false);
    }
    clearStatus(SensorStatus::bSwitching);
    return SNS_SUCCESS;
}

bool ISensorController::setParamScheme(int p_nScheme) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    if (!m_ppUserKeyVal) return false;  // before init or after uinit
    if (p_nScheme < 0 || static_cast<u32>(p_nScheme) > m_stSysConf.nSchemeSum) {
        assertFailed(SNS_HERE, "p_nScheme >= 0 && (u32)p_nScheme <= m_stSysConf.nSchemeSum",
                     "p_nScheme(%d)\n", p_nScheme);
        return false;
    }
    waitWhileSwitchBusy();
    return switch_to(p_nScheme, false) == SNS_SUCCESS;
}

bool ISensorController::getParamScheme(int& p_nScheme) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    p_nScheme = static_cast<int>(m_nCurScheme.load());
    return true;
}

bool ISensorController::setParamMode(int p_nMode) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    if (static_cast<u32>(p_nMode) > 1) {
        assertFailed(SNS_HERE, "0 == p_nMode || 1 == p_nMode", "p_nMode(%d)\n", p_nMode);
    }
    waitWhileSwitchBusy();
    m_nParamMode.store(p_nMode);
    return true;
}

bool ISensorController::getParamMode(int& p_nMode) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    p_nMode = m_nParamMode.load();
    return true;
}

int ISensorController::paramCheck() {
    SchemeGuard objSchemes(m_objSchemeLock);
    u32 nStart = 0, nEnd = 0;
    schemeWindow(m_nCurScheme.load(), nStart, nEnd);
    if (nStart > kLatestTime) return 505;
    if (nEnd > kLatestTime) return 506;
    return nStart < nEnd ? 0 : 507;
}

int ISensorController::flush() {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    SchemeGuard objSchemes(m_objSchemeLock);
    u32 nCurScheme = m_nCurScheme.load();
    if (nCurScheme >= m_stSysConf.nSchemeSum || !schemeArray(nCurScheme)) return SNS_SUCCESS;
    int nRet = paramCheck();
    if (nRet != 0) return nRet;
    char szName[128];
    schemeFileName(nCurScheme, szName);
    return keyValToFile(szName, m_ppUserKeyVal[nCurScheme], m_nKeyValSum);
}

int ISensorController::restore(int p_nKey) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    SchemeGuard objSchemes(m_objSchemeLock);
    const KeyVal* pArr = schemeArray(m_nCurScheme.load());
    int nPos = -1;
    for (u32 i = 0; pArr && i < m_nKeyValSum; ++i) {
        if (pArr[i].key == static_cast<u32>(p_nKey)) {
            nPos = static_cast<int>(i);
            break;
        }
    }
    if (nPos == -1) {
        assertFailed(SNS_HERE, "-1 != nPos",
                     "restore key(%d) failed! make sure it is sensor ui key \n", p_nKey);
        return -1;
    }
    // A copy: a handler that rewrites its value word must not change the stored scheme.
    KeyVal stRecord = pArr[nPos];
    return setParameters(&stRecord, 1, false);
}

bool ISensorController::restoreAeMode() {
    if (m_bHasLens && restore(KEY_AUTO_FOCUS_MODE) != SNS_SUCCESS) return false;
    if (m_bThermalChannel) return true;
    return restore(KEY_EXPOSE_MODE) == SNS_SUCCESS;
}

bool ISensorController::resetToLastParameters() {
    // The current scheme is read under both locks: a switch between reading it and reloading
    // would pour the old scheme's file into the new scheme.
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    SchemeGuard objSchemes(m_objSchemeLock);
    u32 nCurScheme = m_nCurScheme.load();
    if (nCurScheme >= m_stSysConf.nSchemeSum) return true;
    char szTmp[128];
    schemeFileName(nCurScheme, szTmp);
    const KeyVal* pArr = schemeArray(nCurScheme);
    if (!pArr || !m_pstKeyValTmp) return false;
    setStatus(SensorStatus::bReloading);
    // Records a short file does not reach keep the current values, so they are not applied.
    memcpy(m_pstKeyValTmp, pArr, m_nKeyValSum * sizeof(KeyVal));
    if (keyValFromFile(szTmp, m_pstKeyValTmp, m_nKeyValSum) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == keyValFromFile(szTmp, m_pstKeyValTmp, m_nKeyValSum)",
                     "szTmp(%s), m_nKeyValSum(%d)\n", szTmp, static_cast<int>(m_nKeyValSum));
    }
    int nRet = setParameters(m_pstKeyValTmp, m_nKeyValSum, true);
    clearStatus(SensorStatus::bReloading);
    return nRet == SNS_SUCCESS;
}
