// The parameter cache: one key of one scheme's array, and the host's single-key read.
#include "ISensorController.h"
#include "internal/ControllerUnit.h"

using luxtune::report::assertFailed;

namespace {

// Infrared keys answered -1 when the current scheme does not hold them.
bool isUncachedIrKey(int p_nKey) {
    return p_nKey == KEY_IR_SWITCH || p_nKey == KEY_IR_MODE || p_nKey == KEY_IR_MANUAL_STRG_NEAR ||
           p_nKey == KEY_IR_MANUAL_STRG_MEDIUM || p_nKey == KEY_IR_MANUAL_STRG_FAR;
}

}  // namespace

KeyVal* ISensorController::findCachedRecord(u32 p_nScheme, u32 p_nKey) {
    if (!m_ppUserKeyVal || p_nScheme > m_stSysConf.nSchemeSum) return nullptr;
    KeyVal* pArr = m_ppUserKeyVal[p_nScheme];
    for (u32 i = 0; i < m_nKeyValSum; ++i) {
        if (pArr[i].key == p_nKey) return &pArr[i];
    }
    return nullptr;
}

int ISensorController::setKeyValToCache(u32 p_nScheme, u32 p_nKey, u32 p_nVal, bool p_bForce) {
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);
    if (!p_bForce && p_nScheme >= m_stSysConf.nSchemeSum) return -2;
    KeyVal* pRec = findCachedRecord(p_nScheme, p_nKey);
    if (!pRec) return -1;
    pRec->value = p_nVal;
    return static_cast<int>(pRec - m_ppUserKeyVal[p_nScheme]);
}

int ISensorController::getKeyValFromCache(u32 p_nScheme, u32 p_nKey, u32& p_nVal) {
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);
    if (p_nScheme > m_stSysConf.nSchemeSum) {
        luxtune::report::trace(0, "can not find val, invalid sheme(%d) \n",
                               static_cast<int>(p_nScheme));
        return -1;
    }
    const KeyVal* pRec = findCachedRecord(p_nScheme, p_nKey);
    if (!pRec) return -1;
    p_nVal = pRec->value;
    return static_cast<int>(pRec - m_ppUserKeyVal[p_nScheme]);
}

bool ISensorController::isKeyValSame(const KeyVal& p_stKeyVal) {
    // During a switch the record is compared with the scheme being left.
    u32 nScheme = testStatus(SensorStatus::bSwitching) ? m_nLastScheme.load() : m_nCurScheme.load();
    u32 nVal = 0xFFFFFFFF;
    if (getKeyValFromCache(nScheme, p_stKeyVal.key, nVal) < 0) return false;
    return p_stKeyVal.value == nVal;
}

bool ISensorController::getParameter(int p_nKey, int& p_nVal) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    luxtune::report::debug(SNS_HERE, "p_nKey(%d)\n", p_nKey);
    if (!m_ppUserKeyVal) return false;  // before init or after uinit
    u32 nVal = 0xFFFFFFFF;
    if (getKeyValFromCache(m_nCurScheme.load(), static_cast<u32>(p_nKey), nVal) >= 0) {
        p_nVal = static_cast<int>(nVal);
        return true;
    }
    if (isUncachedIrKey(p_nKey)) {
        p_nVal = -1;
        return true;
    }
    if (doIaCmd(static_cast<u32>(p_nKey), IA_CMD_OPT_GET, &p_nVal) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == doIaCmd(p_nKey, IA_CMD_OPT_GET, &p_nVal)",
                     "get key(%d) val from 2a err", p_nKey);
        return false;
    }
    return true;
}
