// The whole current scheme as one pair text.
#include <tinyxml.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ISensorController.h"
#include "SensorFile.h"
#include "SensorKeyVal.h"
#include "internal/ControllerUnit.h"
#include "internal/XmlText.h"

using luxtune::report::assertFailed;

namespace {

constexpr int kStyleShutterMarker = 200;  // from here the style carries its own shutter choices

}  // namespace

bool ISensorController::getAllParameters(std::string& p_strParameters) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);
    char filename[64];
    snprintf(filename, sizeof filename, "/tmp/merge_style_ch%d.xml", m_nCameraID);
    TiXmlDocument objStyleXmlDoc;
    if (!luxtune::xmlLoadFile(objStyleXmlDoc, filename, TIXML_ENCODING_UTF8)) {
        assertFailed(SNS_HERE, "objStyleXmlDoc.LoadFile(filename, TIXML_ENCODING_UTF8)");
    }
    int nMarker = kStyleShutterMarker;
    getDnaValbyCmdId(objStyleXmlDoc.FirstChildElement(), KEY_MAX_SHUTTER, nMarker);
    u32 nCurScheme = m_nCurScheme.load();
    KeyVal* pArr = schemeArray(nCurScheme);
    if (!pArr) return true;  // before init, or no scheme current
    if (nMarker >= kStyleShutterMarker) {
        // The answer is the scheme as stored; the factory scheme has no file.
        if (nCurScheme >= m_stSysConf.nSchemeSum || !m_pstKeyValTmp) return true;
        char szTmp[128];
        schemeFileName(nCurScheme, szTmp);
        memcpy(m_pstKeyValTmp, pArr, m_nKeyValSum * sizeof(KeyVal));  // what a short file lacks
        if (keyValFromFile(szTmp, m_pstKeyValTmp, m_nKeyValSum) != SNS_SUCCESS) {
            assertFailed(SNS_HERE,
                         "SNS_SUCCESS == keyValFromFile(szTmp, m_pstKeyValTmp, m_nKeyValSum)",
                         "szTmp(%s), m_nKeyValSum(%d)\n", szTmp, static_cast<int>(m_nKeyValSum));
        }
        keyval_st2str(p_strParameters, m_pstKeyValTmp, m_nKeyValSum);
        return true;
    }
    if (keyval_correct(m_nCameraID - 1, pArr, m_nKeyValSum) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == keyval_correct(m_nCameraID - 1, m_ppUserKeyVal[m_nCurScheme], "
                     "m_nKeyValSum)",
                     "m_nCurScheme(%d) m_nKeyValSum(%d)\n", static_cast<int>(nCurScheme),
                     static_cast<int>(m_nKeyValSum));
    }
    keyval_st2str(p_strParameters, pArr, m_nKeyValSum);
    return true;
}
