// Source unit "SensorKeyVal": see SensorKeyVal.h.
#include "SensorKeyVal.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "internal/IspQuery.h"
#include "internal/Report.h"

using luxtune::report::assertFailed;

namespace {

constexpr const char* kSrcUnit = "SensorKeyVal";

// Reads a decimal number as "%d" does (white space, sign, digits); false when there is none.
bool readNumber(const char*& p_szText, int& p_nValue) {
    const char* p = p_szText;
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool bNegative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (!isdigit(static_cast<unsigned char>(*p))) return false;
    unsigned long long nValue = 0;
    for (; isdigit(static_cast<unsigned char>(*p)); ++p) {
        if (nValue < (1ULL << 62)) nValue = nValue * 10 + static_cast<unsigned>(*p - '0');
    }
    u32 nLow = static_cast<u32>(nValue);
    p_nValue = static_cast<int>(bNegative ? 0u - nLow : nLow);
    p_szText = p;
    return true;
}

// "(%d,%d)": each number the scan reaches replaces its holder; the others keep theirs.
void readGroup(const std::string& p_strGroup, int& p_nKey, int& p_nValue) {
    const char* p = p_strGroup.c_str();
    if (*p++ != '(' || !readNumber(p, p_nKey)) return;
    if (*p++ != ',') return;
    readNumber(p, p_nValue);
}

// Walks the groups of a pair text; p_fnGroup gets each record in turn and answers false to stop.
template <typename F>
void scanGroups(const std::string& p_strText, F p_fnGroup) {
    int nKey = 0;
    int nValue = 0;  // kept between groups
    size_t nPos = 0;
    while (nPos < p_strText.size()) {
        size_t nOpen = p_strText.find('(', nPos);
        if (nOpen == std::string::npos || nOpen == p_strText.size() - 1) return;
        size_t nClose = p_strText.find(')', nPos);
        if (nClose == std::string::npos) return;
        std::string strGroup;
        if (nClose > nOpen) {
            strGroup = p_strText.substr(nOpen, nClose - nOpen + 1);
        } else if (nClose + 1 != nOpen) {
            strGroup = p_strText.substr(nOpen);  // a stray ")" before the "(": the rest of the text
        }
        readGroup(strGroup, nKey, nValue);
        if (!p_fnGroup(KeyVal{static_cast<u32>(nKey), static_cast<u32>(nValue)})) return;
        nPos = nClose + 1;
    }
}

}  // namespace

void keyval_str2st(const std::string& p_strParameters, KeyVal* p_pKeyVal, unsigned int* p_pnCount) {
    *p_pnCount = 0;
    scanGroups(p_strParameters, [&](const KeyVal& p_stRec) {
        p_pKeyVal[(*p_pnCount)++] = p_stRec;
        return true;
    });
}

bool keyval_str2st(const std::string& p_strParameters, KeyVal* p_pKeyVal, unsigned int* p_pnCount,
                   unsigned int p_nRoom) {
    unsigned int nCount = 0;
    bool bFits = true;
    scanGroups(p_strParameters, [&](const KeyVal& p_stRec) {
        bFits = nCount < p_nRoom;
        if (bFits) p_pKeyVal[nCount++] = p_stRec;
        return bFits;
    });
    *p_pnCount = bFits ? nCount : 0;
    return bFits;
}

void keyval_st2str(std::string& p_strParameters, KeyVal* p_pKeyVal, unsigned int p_nCount) {
    p_strParameters.reserve(p_strParameters.size() + p_nCount * 16u);  // typical group length
    char szGroup[32];
    for (unsigned int i = 0; i < p_nCount; ++i) {
        snprintf(szGroup, sizeof szGroup, "(%d,%d)", static_cast<int>(p_pKeyVal[i].key),
                 static_cast<int>(p_pKeyVal[i].value));
        p_strParameters += szGroup;
    }
}

int keyval_correct(int p_nChannel_id, KeyVal* p_pKeyval, u32 p_nCount) {
    if (!p_pKeyval) {
        assertFailed(SNS_HERE, "NULL != p_pKeyval");
        return -1;
    }
    dnaCmdList stList;
    if (luxtune::queryDynamicCmds(p_nChannel_id, stList) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == ia_ioctrl_v2(p_nChannel_id, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, "
                     "IA_CMD_OPT_GET, "
                     "(void*)(&dnaCmdList))");
    }
    for (int i = 0; i < stList.cmd_cnt; ++i) {
        int nCmd = stList.cmd_list[i];
        u32 index = 0;
        while (index < p_nCount && p_pKeyval[index].key != static_cast<u32>(nCmd))
            ++index;
        if (index == p_nCount) {
            luxtune::report::assertNote(SNS_HERE, "cmd_list[%d]=%d\n", i, nCmd);
            continue;
        }
        luxtune::report::trace(0, "before correct: (%d,%d)\n", nCmd,
                               static_cast<int>(p_pKeyval[index].value));
        if (ia_ioctrl_v2(p_nChannel_id, static_cast<ia_cmd_e>(nCmd), IA_CMD_OPT_CORRECT_PARAM,
                         &p_pKeyval[index].value) != SNS_SUCCESS) {
            assertFailed(
                SNS_HERE,
                "SNS_SUCCESS == ia_ioctrl_v2(p_nChannel_id, (ia_cmd_e)p_pKeyval[index].key, "
                "IA_CMD_OPT_CORRECT_PARAM, &p_pKeyval[index].value)");
        }
        luxtune::report::trace(0, "after correct: (%d,%d)\n", nCmd,
                               static_cast<int>(p_pKeyval[index].value));
    }
    return 0;
}
