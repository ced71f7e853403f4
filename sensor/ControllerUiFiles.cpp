// The UI's documents: the style built fresh on each request, and the UI file names.
#include <string>

#include "ISensorController.h"
#include "SensorFile.h"
#include "internal/ControllerUnit.h"

using luxtune::report::assertFailed;

namespace {

constexpr int kBusyWaits = 30;  // 30 x 50 ms at most before the style is built anyway

}  // namespace

std::string ISensorController::getUIStyleFile() {
    // Waiting for a busy video module happens before the lock, so it blocks no other operation.
    if (m_pVideoStreamModule) {
        for (int nWaits = 0; nWaits < kBusyWaits && m_pVideoStreamModule->isBusy(); ++nWaits) {
            CorvaneTime(0, 50000).wait();
        }
    }
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);  // init rewrites the style
    std::string strTmp;
    if (getDnaStyle(m_nCameraID, m_stSysConf.szUIStyle, strTmp, m_bShowWDRFalg.load(),
                    m_bShowLDCFlag.load()) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == getDnaStyle(m_nCameraID,m_stSysConf.szUIStyle, "
                     "strTmp,m_bShowWDRFalg,m_bShowLDCFlag)");
    }
    return strTmp;
}

// The UI file record of an id (the first record when none matches); null for an empty list.
const UIFileInfo* ISensorController::uiFileRecord(int p_nUIId) {
    if (!m_stSysConf.pstUIFiles || m_stSysConf.nUIFileSum == 0) return nullptr;
    for (u32 i = 0; i < m_stSysConf.nUIFileSum; ++i) {
        if (m_stSysConf.pstUIFiles[i].nId == static_cast<u32>(p_nUIId))
            return &m_stSysConf.pstUIFiles[i];
    }
    return &m_stSysConf.pstUIFiles[0];
}

std::string ISensorController::getUICommonFile(int p_nUIId) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);
    const UIFileInfo* pRecord = uiFileRecord(p_nUIId);
    return pRecord && pRecord->szUICommonFile ? pRecord->szUICommonFile : "";
}

std::string ISensorController::getUILanguageFile(int p_nUIId) {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    std::lock_guard<std::recursive_mutex> objSchemes(m_objSchemeLock);
    const UIFileInfo* pRecord = uiFileRecord(p_nUIId);
    return pRecord && pRecord->szUILanguageFile ? pRecord->szUILanguageFile : "";
}
