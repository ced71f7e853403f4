// Initialisation and tear-down: where the configuration, the style, the factory values, the
// scheme files, the key-command table and the scheduler thread come together.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ISensorController.h"
#include "SensorFile.h"
#include "internal/AtomicFile.h"
#include "internal/ControllerUnit.h"

using luxtune::report::assertFailed;

namespace {

using SchemeGuard = std::lock_guard<std::recursive_mutex>;

// Scheme 1 of a day/night pair starts from the factory values with these changed.
const KeyVal kNightChanges[] = {{KEY_DN_MODE, 0},      {KEY_MAX_SHUTTER, 18},
                                {KEY_MIN_SHUTTER, 20}, {KEY_METER_AREA, 1},
                                {KEY_IR_MODE, 2},      {KEY_IR_MANUAL_STRG_NEAR, 40}};

void changeFirst(KeyVal* p_pArr, u32 p_nCount, u32 p_nKey, u32 p_nValue) {
    for (u32 i = 0; i < p_nCount; ++i) {
        if (p_pArr[i].key == p_nKey) {
            p_pArr[i].value = p_nValue;
            return;
        }
    }
}

// The lens is absent when the detail's lensId item is incomplete or reads 0.
bool detailHasLens(const std::string& p_strDetail) {
    size_t nName = p_strDetail.find("lensId");
    if (nName == std::string::npos) return false;
    size_t nEq = p_strDetail.find('=', nName);
    if (nEq == std::string::npos || p_strDetail.find(')', nEq) == std::string::npos) return false;
    return atoi(p_strDetail.c_str() + nEq + 1) != 0;
}

KeyVal* allocRecords(size_t p_nCount) {
    return static_cast<KeyVal*>(calloc(p_nCount == 0 ? 1 : p_nCount, sizeof(KeyVal)));
}

}  // namespace

bool ISensorController::init(const ModuleConfigure& p_objModuleConfigure) {
    SchemeGuard objSchemes(m_objSchemeLock);
    if (m_ppUserKeyVal || m_pKeyCmdMap) uinit();  // init again without uinit: start clean
    clearStatus(SensorStatus::bInitialized);
    setStatus(SensorStatus::bInitializing);
    if (initSysConf(m_nCameraID, p_objModuleConfigure, &m_stSysConf) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == initSysConf(m_nCameraID,p_objModuleConfigure, &m_stSysConf)");
    }
    if (buildSchemeArrays()) {
        // A version file that already holds this version is not written again: every start
        // would otherwise cost a durable write to flash.
        bool bVersionCurrent = checkVersion();
        MachineInfo objMachineInfo;
        readDeviceFacts(objMachineInfo);
        loadSchemeFiles();
        if (!bVersionCurrent && setVersion(m_nVersion) != SNS_SUCCESS) {
            assertFailed(SNS_HERE, "SNS_SUCCESS == setVersion(m_nVersion)", "m_nVersion(%d)\n",
                         m_nVersion);
        }
        buildKeyCmdMap();
        m_pstKeyValTmp = allocRecords(m_nKeyValSum);
        if (!m_pstKeyValTmp)
            assertFailed(SNS_HERE, "NULL != m_pstKeyValTmp", "m_nKeyValSum(%d)\n", m_nKeyValSum);
        startRunning(objMachineInfo);
    }
    clearStatus(SensorStatus::bInitializing);
    setStatus(SensorStatus::bInitialized);
    luxtune::report::debug(SNS_HERE, "ISensorController::initSensor  success\n");
    return true;
}

// Factory values from the style, then one slice per scheme plus the factory slice. False (and
// no arrays) when memory runs out: every later call then finds no arrays and fails cleanly.
bool ISensorController::buildSchemeArrays() {
    size_t nRoom = static_cast<size_t>(m_nKeyCmdSum);
    m_pFctKeyVal = allocRecords(nRoom);
    m_pLprKeyVal = allocRecords(nRoom);
    if (m_pFctKeyVal && m_pLprKeyVal) {
        if (getFctData(m_nCameraID, m_stSysConf.szUIStyle, m_pFctKeyVal, &m_nKeyValSum,
                       m_bShowWDRFalg.load(), m_bShowLDCFlag.load(),
                       static_cast<u32>(nRoom)) != SNS_SUCCESS) {
            assertFailed(
                SNS_HERE,
                "SNS_SUCCESS == getFctData(m_nCameraID,m_stSysConf.szUIStyle, m_pFctKeyVal, "
                "&m_nKeyValSum,m_bShowWDRFalg,m_bShowLDCFlag)",
                "m_nKeyValSum(%d)\n", m_nKeyValSum);
        }
        size_t nSlices = static_cast<size_t>(m_stSysConf.nSchemeSum) + 1;
        KeyVal* pBlock = nSlices * m_nKeyValSum / nSlices == m_nKeyValSum
                             ? allocRecords(nSlices * m_nKeyValSum)
                             : nullptr;
        m_ppUserKeyVal = pBlock ? static_cast<KeyVal**>(calloc(nSlices, sizeof(KeyVal*))) : nullptr;
        if (m_ppUserKeyVal) {
            for (size_t s = 0; s < nSlices; ++s)
                m_ppUserKeyVal[s] = pBlock + s * m_nKeyValSum;
            KeyVal* pFactory = m_ppUserKeyVal[m_stSysConf.nSchemeSum];
            memcpy(pFactory, m_pFctKeyVal, m_nKeyValSum * sizeof(KeyVal));
            free(m_pFctKeyVal);
            m_pFctKeyVal = pFactory;
            return true;
        }
        free(pBlock);
    }
    assertFailed(SNS_HERE, "NULL != m_ppUserKeyVal", "nSchemeSum(%d) m_nKeyValSum(%d)\n",
                 static_cast<int>(m_stSysConf.nSchemeSum), static_cast<int>(m_nKeyValSum));
    releaseArrays();
    m_nKeyValSum = 0;
    return false;
}

// Scheme files of another parameter layout are deleted, to be created anew from the factory.
// True when the version file holds this library's version.
bool ISensorController::checkVersion() {
    luxtune::removeLeftoverTemp("/mnt/mtd/code/config_file/snsversion.cfg");
    u32 nVersion = 0;
    if (getVersion(&nVersion) == 0 && nVersion == m_nVersion) return true;
    luxtune::report::warn(
        SNS_HERE,
        "check the sensor version,   local(%u) --> libluxtune.so(%u), source the cmd: rm -rf "
        "/mnt/mtd/code/config*/sensor*\n",
        nVersion, m_nVersion);
    deleteSchemeFiles();
    return false;
}

void ISensorController::readDeviceFacts(MachineInfo& p_objMachineInfo) {
    SystemInfoParser::parseMachineInfo(kMachineInfoPath, p_objMachineInfo);
    DeviceType objDeviceType;
    objDeviceType.setDeviceTypeId(p_objMachineInfo.getDeviceType());
    std::string strDetail = m_stSysConf.moduleConfig.szDetail;
    if (strDetail.find("(isInfrared=17)") != std::string::npos) {
        puts("#### m_bisLimitedIrPower is true!");
        m_bisLimitedIrPower = true;
    }
    if (!detailHasLens(strDetail)) m_bHasLens = false;
    if (objDeviceType.getDeviceTypeId() == DeviceType::LPR &&
        strDetail.find("(isInfrared=0)") == std::string::npos &&
        strDetail.find("(isInfrared=1)") == std::string::npos) {
        m_bLprScheme = true;
    }
}

void ISensorController::loadSchemeFiles() {
    for (u32 s = 0; s < m_stSysConf.nSchemeSum; ++s) {
        char szName[128];
        schemeFileName(s, szName);
        luxtune::removeLeftoverTemp(szName);
        if (!ZqFile::exists(szName)) createSchemeFile(s, szName);
        // What a short file does not reach keeps the factory value.
        memcpy(m_ppUserKeyVal[s], m_pFctKeyVal, m_nKeyValSum * sizeof(KeyVal));
        keyValFromFile(szName, m_ppUserKeyVal[s], m_nKeyValSum);
        if (s == 0) {
            u32 nMode = 0;
            if (getKeyValFromCache(0, KEY_SCHEME_MODE, nMode) >= 0) {
                m_bSchemeByTime.store(nMode == 1);
                m_bSchemeByDN.store(nMode == 2);
            }
        }
    }
}

void ISensorController::createSchemeFile(u32 p_nScheme, char* p_szName) {
    if (m_bLprScheme && p_nScheme == 1) {
        memcpy(m_pLprKeyVal, m_pFctKeyVal, m_nKeyValSum * sizeof(KeyVal));
        for (const KeyVal& stChange : kNightChanges)
            changeFirst(m_pLprKeyVal, m_nKeyValSum, stChange.key, stChange.value);
        keyValToFile(p_szName, m_pLprKeyVal, m_nKeyValSum);
        return;
    }
    if (!m_bLprScheme && p_nScheme == 0)
        setKeyValToCache(m_stSysConf.nSchemeSum, KEY_SCHEME_MODE, 0, true);
    keyValToFile(p_szName, m_pFctKeyVal, m_nKeyValSum);
}

void ISensorController::startRunning(const MachineInfo& p_objMachineInfo) {
    if (!m_bSchemeByDN.load() && !m_bSchemeByTime.load()) switch_to(0, false);
    sensorThread();
    if (!m_pSensorThread->start()) assertFailed(SNS_HERE, "m_pSensorThread->start()");
    m_bShowWDRFalg.store(true);
    m_bShowLDCFlag.store(false);
    setshowBeawayFalg(true);
    if (!m_pVideoStreamModule) return;  // no module: nothing to ask
    std::vector<AVStreamParam> vecStreams;
    m_pVideoStreamModule->getStreamParams(vecStreams);
    const std::string& strModel = p_objMachineInfo.getHardwareModel();
    for (const AVStreamParam& objStream : vecStreams) {
        if ((strModel == "Hi3516AV200" || strModel == "Hi3516AV200Thermal") &&
            objStream.getVideoEncoderType() == 1 && objStream.getVideoHeight() <= 255) {
            setshowBeawayFalg(false);
        }
    }
    LimitedFramesWDRModeParam objLimited;
    m_pVideoStreamModule->getLimitedFramesWDRMode(m_nCameraID, objLimited);
    if (objLimited.getLimitFramesModeId() == 0 && objLimited.getLimitWdr() == 1)
        m_bShowWDRFalg.store(false);
    if (objLimited.getLDCSupport() && objLimited.getLDCSwitch()) m_bShowLDCFlag.store(true);
}

void ISensorController::uinit() {
    if (!testStatus(SensorStatus::bInitialized)) return;
    setStatus(SensorStatus::bUninitializing);
    m_bShutterCmdOnce.store(true);
    // The thread only tries the scheme lock, so stopping it while holding the lock is safe.
    if (!m_pSensorThread->stop()) assertFailed(SNS_HERE, "m_pSensorThread->stop()");
    SchemeGuard objSchemes(m_objSchemeLock);
    releaseArrays();
    uinitSysConf(&m_stSysConf);
    m_nLastScheme.store(0xFFFFFFFF);
    m_nCurScheme.store(0xFFFFFFFF);
    m_nParamMode.store(1);
    m_nKeyValSum = 0;
    clearStatus(SensorStatus::bUninitializing);
}

// The configuration the channel was started with, for a fresh start.
ModuleConfigure ISensorController::keptModuleConfigure() {
    ModuleConfigure objModule;
    objModule.setDetail(m_stSysConf.moduleConfig.szDetail);
    objModule.setModuleId(static_cast<int>(m_stSysConf.moduleConfig.nModuleId));
    objModule.setParameters(m_stSysConf.moduleConfig.szParameters);
    if (!luxtune::report::above(5)) return objModule;
    // At high debug levels the configuration is read afresh from the device, when it has one.
    MachineInfo objMachineInfo;
    SystemInfoParser::parseMachineInfo(kMachineInfoPath, objMachineInfo);
    std::vector<ModuleConfigure> vecModules;
    ModuleConfigureParser::parse("/hd1/moduleConfig/moduleConfig.xml",
                                 objMachineInfo.getHardwareModel(),
                                 objMachineInfo.getHardwareCode(), vecModules);
    return vecModules.empty() ? objModule : vecModules.front();
}

bool ISensorController::resetParameters() {
    ZqMutexManager objGuard(m_objMutex, __FILE__, __LINE__);
    if (!testStatus(SensorStatus::bInitialized) || !m_ppUserKeyVal)
        return false;  // nothing to reset
    setStatus(SensorStatus::bResetting);
    if (switch_to(static_cast<int>(m_stSysConf.nSchemeSum), false) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == switch_to(m_stSysConf.nSchemeSum)",
                     "m_stSysConf.nSchemeSum(%d)\n", static_cast<int>(m_stSysConf.nSchemeSum));
    }
    deleteSchemeFiles();
    ModuleConfigure objModuleConfigure = keptModuleConfigure();
    uinit();
    if (!init(objModuleConfigure)) assertFailed(SNS_HERE, "init(objModuleConfigure)");
    m_nCurScheme.store(0);
    clearStatus(SensorStatus::bResetting);
    return true;
}
