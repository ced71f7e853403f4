// The host's text forms: pair text to set and read keys, list text of key ids.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ISensorController.h"
#include "SensorKeyVal.h"
#include "internal/ControllerUnit.h"

using luxtune::report::assertFailed;

int ISensorController::setParameters(const std::string& p_strParameters, bool p_bUpdateCache) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);
    luxtune::report::debug(SNS_HERE, "p_Parameters1111111111(%s)\n", p_strParameters.c_str());
    if (!m_pstKeyValTmp) return -1;  // before init or after uinit
    unsigned int nCount = 0;
    // More groups than the scratch array holds: the whole text is refused, nothing applied.
    if (!keyval_str2st(p_strParameters, m_pstKeyValTmp, &nCount, m_nKeyValSum)) {
        assertFailed(SNS_HERE, "nCount <= m_nKeyValSum",
                     "too many groups for m_nKeyValSum(%d): %.64s\n",
                     static_cast<int>(m_nKeyValSum), p_strParameters.c_str());
        return -1;
    }
    return setParameters(m_pstKeyValTmp, nCount, p_bUpdateCache);
}

bool ISensorController::getParameters(const std::string& p_strIds, std::string& p_strParameters) {
    std::vector<std::string> vecItems;
    if (!parseSensorParameter(p_strIds, vecItems)) {
        printf("%s%d getParameters fail p_strIds = %s \n", kSrcUnit, __LINE__, p_strIds.c_str());
        return false;
    }
    p_strParameters.clear();
    for (const std::string& strItem : vecItems) {
        int nKey = atoi(strItem.c_str());
        int nValue = 0;
        if (!getParameter(nKey, nValue)) continue;  // reported by getParameter
        char szGroup[32];
        snprintf(szGroup, sizeof szGroup, "(%d,%d)", nKey, nValue);
        p_strParameters += szGroup;
    }
    printf("@@ out_Parameters = %s @@\n", p_strParameters.c_str());
    return true;
}

bool ISensorController::parseSensorParameter(const std::string& p_strIds,
                                             std::vector<std::string>& p_vecItems) {
    if (p_strIds.size() < 3 || p_strIds[0] != '(') return false;
    size_t nClose = p_strIds.find(')');
    if (nClose != p_strIds.size() - 1) return false;
    StringHandler::split(p_strIds.substr(1, nClose - 1), p_vecItems, ",");
    return !p_vecItems.empty();
}
