// Batch application: the one road by which key values reach the ISP and the video module, with
// the rules that belong to particular keys.
#include <cstdio>
#include <cstring>

#include "ISensorController.h"
#include "internal/ControllerUnit.h"

using luxtune::report::assertFailed;

namespace {

bool isCacheOnlyKey(u32 p_nKey) {
    return p_nKey == KEY_EMPTY1 || p_nKey == KEY_EMPTY2 || p_nKey == KEY_EMPTY3 ||
           (p_nKey >= KEY_SCHEME_START_HOUR && p_nKey <= KEY_SCHEME_END_MIN);
}

// Keys that schemes 0 and 1 share while schemes follow the day/night state.
bool isDayNightShared(u32 p_nKey) {
    return p_nKey == KEY_DN_MODE || p_nKey == KEY_DTN_THR || p_nKey == KEY_NTD_THR ||
           (p_nKey >= KEY_DTN_H && p_nKey <= KEY_NTD_M);
}

struct LightPair {
    u32 nPrimary;
    u32 nIntelligent;
};

// KEY_LIGHT_TYPE 2 makes the intelligent key of each pair live, any other value the primary.
constexpr LightPair kLightPairs[] = {
    {KEY_IR_MODE, KEY_IR_MODE_INTELL},
    {KEY_WHITE_MODE, KEY_WHITE_MODE_INTELL},
    {KEY_IR_MANUAL_STRG_NEAR, KEY_IR_MANUAL_STRG_NEAR_INTELL},
    {KEY_IR_MANUAL_STRG_MEDIUM, KEY_IR_MANUAL_STRG_MEDIUM_INTELL},
    {KEY_IR_MANUAL_STRG_FAR, KEY_IR_MANUAL_STRG_FAR_INTELL},
    {KEY_WHITE_MANUAL_STRG, KEY_WHITE_MANUAL_STRG_INTELL},
    {KEY_WHITE_MANUAL_STRG_MEDIUM, KEY_WHITE_MANUAL_STRG_MEDIUM_INTELL},
    {KEY_WHITE_MANUAL_STRG_FAR, KEY_WHITE_MANUAL_STRG_FAR_INTELL},
};

const LightPair* pairOf(u32 p_nKey) {
    for (const LightPair& pair : kLightPairs) {
        if (pair.nPrimary == p_nKey || pair.nIntelligent == p_nKey) return &pair;
    }
    return nullptr;
}

constexpr u32 kLightTypeIntelligent = 2;
constexpr u32 kIrPowerLimit = 100;

// The table's key name as a terminated text (a 32-character name has no zero of its own).
struct KeyName {
    explicit KeyName(const keycmd& p_row) {
        memcpy(sz, p_row.szKeyName, SNS_KEY_NAME_LEN);
        sz[SNS_KEY_NAME_LEN] = '\0';
    }
    char sz[SNS_KEY_NAME_LEN + 1];
};

}  // namespace

int ISensorController::setParameter(int p_nKey, int p_nVal, bool p_bUpdateCache) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    luxtune::report::debug(SNS_HERE, "p_Parameters22222222222(%d, %d)\n", p_nKey, p_nVal);
    KeyVal stRecord = {static_cast<u32>(p_nKey), static_cast<u32>(p_nVal)};
    return setParameters(&stRecord, 1, p_bUpdateCache);
}

int ISensorController::setParameters(KeyVal* p_pKeyval, u32 p_nCount, bool p_bUpdateCache) {
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);
    if (!m_pKeyCmdMap && p_nCount > 0)
        return -1;  // before init or after uinit: nothing to apply with
    for (u32 i = 0; i < p_nCount; ++i) {
        int nRet = applyRecord(p_pKeyval, i, p_bUpdateCache);
        if (nRet != SNS_SUCCESS) return nRet;
    }
    printf("\n");
    return SNS_SUCCESS;
}

int ISensorController::applyRecord(KeyVal* p_pKeyval, u32 p_nIndex, bool p_bUpdateCache) {
    KeyVal& stRec = p_pKeyval[p_nIndex];
    if (p_bUpdateCache && isKeyValSame(stRec)) return SNS_SUCCESS;
    if (!isCacheOnlyKey(stRec.key)) {
        bool bCache = true;
        int nRet = routeRecord(p_pKeyval, p_nIndex, bCache);
        if (nRet != SNS_SUCCESS) return nRet;
        if (!bCache) return SNS_SUCCESS;
    }
    if (p_bUpdateCache) cacheRecord(p_pKeyval, p_nIndex);
    return SNS_SUCCESS;
}

// Applies one record by the rules of its key. p_bCache comes back false when the record is
// skipped entirely (the key of a light pair that is not live).
int ISensorController::routeRecord(KeyVal* p_pKeyval, u32 p_nIndex, bool& p_bCache) {
    KeyVal& stRec = p_pKeyval[p_nIndex];
    u32 nKey = stRec.key;
    if (nKey == KEY_SCHEME_MODE) {
        applySchemeMode(stRec.value);
        return SNS_SUCCESS;
    }
    if (m_bThermalChannel && redirectThermal(stRec)) return SNS_SUCCESS;

    bool bApply = true;
    u32 nCurScheme = m_nCurScheme.load();
    if (m_bSchemeByDN.load() && isDayNightShared(nKey)) {
        // Scheme 0 owns these keys; what it applies, scheme 1 gets as well.
        if (nCurScheme != 0) {
            bApply = false;
        } else {
            setKeyValToCache(1, nKey, stRec.value, true);
        }
    }
    u32 nLightType = cachedOr(KEY_LIGHT_TYPE, 0);
    if (m_bisLimitedIrPower &&
        (nKey == KEY_IR_MANUAL_STRG_NEAR || nKey == KEY_IR_MANUAL_STRG_FAR) &&
        exceedsIrPower(nKey, stRec.value)) {
        return -static_cast<int>(nKey);
    }
    u32 nApplyKey = nKey;
    if (const LightPair* pPair = pairOf(nKey)) {
        bool bIntelligent = nKey == pPair->nIntelligent;
        if (bIntelligent != (nLightType == kLightTypeIntelligent)) {
            p_bCache = false;
            return SNS_SUCCESS;
        }
        // Both keys of a pair hold the live value; the primary's row applies it.
        setKeyValToCache(nCurScheme, bIntelligent ? pPair->nPrimary : pPair->nIntelligent,
                         stRec.value, true);
        nApplyKey = pPair->nPrimary;
    }
    return bApply ? dispatchRecord(p_pKeyval, p_nIndex, nApplyKey) : SNS_SUCCESS;
}

void ISensorController::applySchemeMode(u32 p_nValue) {
    if (m_nCurScheme.load() != 0) return;
    u32 nSpread = 0;
    if (p_nValue == 1) {
        nSpread = 1;
    } else if (p_nValue == 2) {
        nSpread = 2;
    }
    m_bSchemeByTime.store(nSpread == 1);
    m_bSchemeByDN.store(nSpread == 2);
    for (u32 s = 1; s < m_stSysConf.nSchemeSum; ++s)
        setKeyValToCache(s, KEY_SCHEME_MODE, nSpread, true);
}

bool ISensorController::redirectThermal(KeyVal& p_stRec) {
    switch (p_stRec.key) {
        case KEY_MIRROR:
            doMirror(KEY_MIRROR, IA_CMD_OPT_SET, &p_stRec.value);
            return true;
        case KEY_ANTI_SHAKE_SWITCH:
            doDIS(KEY_ANTI_SHAKE_SWITCH, IA_CMD_OPT_SET, &p_stRec.value);
            return true;
        case KEY_NONE_COLOR_MODE:
        case KEY_TEMPERATURE_STRIP_SWITCH:
            notifyToVideo(static_cast<int>(p_stRec.key), static_cast<int>(p_stRec.value));
            return true;
        default:
            return false;
    }
}

// The manual near and far infrared strengths together must not pass the power limit.
bool ISensorController::exceedsIrPower(u32 p_nKey, u32 p_nValue) {
    bool bNear = p_nKey == KEY_IR_MANUAL_STRG_NEAR;
    u32 nOther = bNear ? KEY_IR_MANUAL_STRG_FAR : KEY_IR_MANUAL_STRG_NEAR;
    int nVal = -1;
    u32 nCached = 0;
    if (getKeyValFromCache(m_nCurScheme.load(), nOther, nCached) >= 0) {
        nVal = static_cast<int>(nCached);
    } else if (doIaCmd(nOther, IA_CMD_OPT_GET, &nVal) == SNS_SUCCESS) {  // both rows send their id
        puts(bNear ? "### KEY_IR_MANUAL_STRG_FAR doIaCmd sucess"
                   : "### KEY_IR_MANUAL_STRG_NEAR doIaCmd sucess");
    } else {
        assertFailed(SNS_HERE, "SNS_SUCCESS == doIaCmd(nOtherKey, IA_CMD_OPT_GET, &nVal)",
                     "get key(%d) val from 2a err", nVal);
        puts(bNear ? "### KEY_IR_MANUAL_STRG_FAR doIaCmd error"
                   : "### KEY_IR_MANUAL_STRG_NEAR doIaCmd error");
    }
    return nVal != -1 && static_cast<u32>(nVal) + p_nValue > kIrPowerLimit;
}

int ISensorController::dispatchRecord(KeyVal* p_pKeyval, u32 p_nIndex, u32 p_nKey) {
    KeyVal& stRec = p_pKeyval[p_nIndex];
    keycmd stKeyCmdTmp;
    if (findFromKeyCmdMap(m_pKeyCmdMap, p_nKey, stKeyCmdTmp) == -1) {
        assertFailed(SNS_HERE, "-1 != findFromKeyCmdMap(m_pKeyCmdMap, nKey, stKeyCmdTmp)",
                     "p_pKeyval[%u].key(%u)", p_nIndex, p_nKey);
        luxtune::report::trace(32, "not find (%d) \n", static_cast<int>(p_nKey));
        fillFallbackRow(p_nKey, stKeyCmdTmp);  // the ISP gets the key id as its command
    }
    KeyName name(stKeyCmdTmp);
    luxtune::report::trace(
        31, "====================== set %s (%d,%d) func:%s ia_cmd:%d =====================\n",
        name.sz, static_cast<int>(stKeyCmdTmp.nKey), static_cast<int>(stRec.value),
        stKeyCmdTmp.szHandlerName, static_cast<int>(stKeyCmdTmp.nCmd));
    int nRet = (this->*stKeyCmdTmp.pfnHandler)(stKeyCmdTmp.nCmd, IA_CMD_OPT_SET, &stRec.value);
    if (nRet == SNS_SUCCESS) return SNS_SUCCESS;
    if (nRet == -1 || nRet == -4 || nRet == -5) {
        luxtune::report::error(SNS_HERE, "set %s (%d,%d) func:%s ia_cmd:%d ~~~failed ia_ret=%d\n",
                               name.sz, static_cast<int>(stKeyCmdTmp.nKey),
                               static_cast<int>(stRec.value), stKeyCmdTmp.szHandlerName,
                               static_cast<int>(stKeyCmdTmp.nCmd), nRet);
    }
    return -static_cast<int>(stKeyCmdTmp.nKey);
}

void ISensorController::fillFallbackRow(u32 p_nKey, keycmd& p_stRow) {
    p_stRow.nKey = p_nKey;
    p_stRow.nCmd = p_nKey;
    p_stRow.pfnHandler = &ISensorController::doIaCmd;
    memset(p_stRow.szKeyName, 0, sizeof p_stRow.szKeyName);
    strcpy(p_stRow.szKeyName, "unknow key");
    snprintf(p_stRow.szHandlerName, sizeof p_stRow.szHandlerName, "ISensorController::doIaCmd");
}

void ISensorController::cacheRecord(const KeyVal* p_pKeyval, u32 p_nIndex) {
    const KeyVal& stRec = p_pKeyval[p_nIndex];
    u32 nCurScheme = m_nCurScheme.load();
    // The factory scheme refuses the write (-2) without a word.
    if (setKeyValToCache(nCurScheme, stRec.key, stRec.value, false) == -1) {
        luxtune::report::debug(SNS_HERE,
                               "SET_KEY_VAL FAILED, m_nCurScheme(%d), p_pKeyval[%d].key(%d), "
                               "p_pKeyval[%d].value(%d),  maybe jixin\n",
                               static_cast<int>(nCurScheme), static_cast<int>(p_nIndex),
                               static_cast<int>(stRec.key), static_cast<int>(p_nIndex),
                               static_cast<int>(stRec.value));
    }
}
