// ISensorController: construction, binding to a channel and the small state members.
#include "ISensorController.h"

#include <cstdlib>
#include <cstring>

#include "internal/ControllerUnit.h"

std::atomic<s32> ISensorController::m_nPassKeycmd{-1};
std::atomic<s32> ISensorController::m_nChanneldDosomething{-1};

namespace {

bool isThermalPairType(int p_nType) {
    return p_nType == 13 || p_nType == 14 || p_nType == 17 || p_nType == 19 || p_nType == 23;
}

}  // namespace

ISensorController::ISensorController() {
    memset(&m_stSysConf, 0, sizeof m_stSysConf);
    m_pSensorThread =
        new GThread(bind_funcobj0(this, &ISensorController::sensorThread), "SensorThread",
                    function<int>(GThread::emptyFun), function<int>(GThread::emptyFun));
    SystemInfoParser::parseMachineInfo(kMachineInfoPath, m_objMachineInfo);
}

ISensorController::~ISensorController() {
    if (m_pSensorThread) {
        m_pSensorThread->stop();
        delete m_pSensorThread;
        m_pSensorThread = nullptr;
    }
    releaseArrays();
    uinitSysConf(&m_stSysConf);
}

// Frees the arrays and the table; uinit does this, the destructor catches a host that forgot.
void ISensorController::releaseArrays() {
    free(m_pKeyCmdMap);
    m_pKeyCmdMap = nullptr;
    releaseSchemeArrays();
}

void ISensorController::releaseSchemeArrays() {
    // Until the scheme block exists the factory values have an array of their own.
    if (!m_ppUserKeyVal) free(m_pFctKeyVal);
    free(m_pstKeyValTmp);
    if (m_ppUserKeyVal) free(m_ppUserKeyVal[0]);
    free(m_ppUserKeyVal);
    free(m_pLprKeyVal);
    m_pstKeyValTmp = nullptr;
    m_ppUserKeyVal = nullptr;
    m_pLprKeyVal = nullptr;
    m_pFctKeyVal = nullptr;
}

void ISensorController::setChannelID(int p_nChannel) {
    m_nCameraID = p_nChannel;
    int nType = m_objMachineInfo.getDeviceType();
    if (nType == 13) {
        m_nCameraID = 2;
    } else if (m_nCameraID != 2) {
        return;
    }
    if (isThermalPairType(nType)) m_bThermalChannel = true;
}

void ISensorController::setVideoStreamModule(const VideoStreamModule* p_pModule) {
    m_pVideoStreamModule = p_pModule;
}

int ISensorController::notifyToVideo(int p_nKey, int p_nValue) {
    if (!m_pVideoStreamModule) return 0;
    int nChannel = m_objMachineInfo.getDeviceType() == 13 ? 1 : m_nCameraID;
    return m_pVideoStreamModule->notifySensorParam(nChannel, p_nKey, p_nValue);
}

u32 ISensorController::getSensorType() {
    std::lock_guard<std::recursive_mutex> objSchemes(
        m_objSchemeLock);  // init rewrites the configuration
    return m_stSysConf.moduleConfig.nModuleId;
}

int ISensorController::getSensorStatus() {
    return testStatus(SensorStatus::bInitialized) ? 1 : 0;
}

void ISensorController::printDebugMsg() {}
