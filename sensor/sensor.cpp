// Source unit "sensor": the diagnostics switches and the per-channel system configuration.
#include "sensor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "SensorFile.h"
#include "internal/Report.h"
#include "internal/XmlText.h"

std::atomic<s32> g_nDebugLevel{1};
std::atomic<bool> g_bEnAssert{false};

using luxtune::report::assertFailed;

namespace {

constexpr const char* kSrcUnit = "sensor";
constexpr const char* kDebugSwitchFile = "/tmp/Debug.sign";
constexpr const char* kMachineInfo = "/mnt/mtd/code/factory_setting/machineinfo.ini";
constexpr const char* kStyleDir = "/hd1/moduleConfig/sensorConfig/style/";
constexpr const char* kDiversityDir = "/hd1/moduleConfig/sensorConfig/styleDiversity/";

bool isAcceptedDeviceType(s32 p_nType) {
    static const s32 kAccepted[] = {1, 4, 8, 9, 11, 13, 14, 15, 16, 17, 18, 19, 20, 22, 23, 104};
    for (s32 nType : kAccepted) {
        if (nType == p_nType) return true;
    }
    return false;
}

// The suffix of the style documents for a device type and channel: "" (Style.xml),
// "_dome" or "_Thermal".
const char* styleSuffix(int p_nChannelID, s32 p_nDeviceType) {
    u32 nType = static_cast<u32>(p_nDeviceType);
    if (p_nChannelID == 2 &&
        (nType == 13 || nType == 14 || nType == 17 || nType == 19 || nType == 23)) {
        return "_Thermal";
    }
    static const u32 kStyleTypes[] = {1, 8, 9, 11, 13, 14, 15, 16, 17, 18, 22};
    for (u32 n : kStyleTypes) {
        if (n == nType) return "";
    }
    return "_dome";
}

// Reads a whole document into a zeroed buffer of its length + 1. An oversized file, or one with
// a zero byte inside, comes back as the empty text, which the parser then refuses.
char* loadDocument(const std::string& p_strPath, bool& p_bRead) {
    INT64 nLen = getFileLen(p_strPath.c_str());
    if (nLen < 0 || static_cast<size_t>(nLen) > luxtune::kXmlMaxBytes) nLen = 0;
    char* szText = static_cast<char*>(calloc(static_cast<size_t>(nLen) + 1, 1));
    p_bRead = szText && loadFromFile(p_strPath.c_str(), szText, nLen) > 0;
    if (szText && p_bRead && strlen(szText) != static_cast<size_t>(nLen)) szText[0] = '\0';
    return szText;
}

void copyCut(char* p_szDest, size_t p_nSize, const std::string& p_strText) {
    size_t nLen = std::min(p_strText.size(), p_nSize - 1);  // longer texts are cut to the field
    memcpy(p_szDest, p_strText.data(), nLen);
    p_szDest[nLen] = '\0';
}

void readDeviceType(SysConfig* p_stSysConf) {
    MachineInfo machineInfo;
    if (!SystemInfoParser::parseMachineInfo(kMachineInfo, machineInfo)) {
        assertFailed(
            SNS_HERE,
            "SystemInfoParser::parseMachineInfo(\"/mnt/mtd/code/factory_setting/machineinfo.ini\", "
            "machineInfo)");
    }
    p_stSysConf->nDeviceType = machineInfo.getDeviceType();
    if (!isAcceptedDeviceType(p_stSysConf->nDeviceType)) {
        assertFailed(
            SNS_HERE,
            "DeviceType::IPCAMERA == p_stSysConf->nDeviceType || DeviceType::FACE_DETECT == "
            "p_stSysConf->nDeviceType || DeviceType::VEHICLE_DETECT == p_stSysConf->nDeviceType || "
            "DeviceType::AIMULTI_OBJECT_DETECT == p_stSysConf->nDeviceType || DeviceType::IPDOME "
            "== "
            "p_stSysConf->nDeviceType || DeviceType::LPR == p_stSysConf->nDeviceType || "
            "DeviceType::IPP "
            "== p_stSysConf->nDeviceType || DeviceType::HUMAN_TEMPERATURE == "
            "p_stSysConf->nDeviceType || "
            "DeviceType::THERMAL_DEVICE == p_stSysConf->nDeviceType || "
            "DeviceType::THERMAL_DOUBLE_SENSOR_DEVICE == p_stSysConf->nDeviceType || "
            "DeviceType::FISHEYE "
            "== p_stSysConf->nDeviceType || DeviceType::DOMECORE == p_stSysConf->nDeviceType || "
            "DeviceType::THERMAL_DOUBLE_SENSOR_DOME_DEVICE == p_stSysConf->nDeviceType || "
            "DeviceType::BINOCULAR_DEVICE == p_stSysConf->nDeviceType || "
            "DeviceType::THERMAL_IPDOME == "
            "p_stSysConf->nDeviceType || DeviceType::DOMECORE_THERMAL_DEVICE == "
            "p_stSysConf->nDeviceType",
            "machineinfo, devicetype(%d) error, must be 1 or 4 or 8 or 9 or 13\n",
            p_stSysConf->nDeviceType);
    }
}

}  // namespace

void updateDebugLevel() {
    if (!ZqFile::exists(kDebugSwitchFile)) {
        g_nDebugLevel.store(1);
        g_bEnAssert.store(false);
        return;
    }
    ZqFile objFile;
    if (!objFile.open(kDebugSwitchFile, ZqFile::modeRead)) return;
    std::string strLevel = ZqFile::ReadOneLine(objFile.getFileHandle());
    g_nDebugLevel.store(strLevel.empty() ? 1 : atoi(strLevel.c_str()));
    std::string strAssert = ZqFile::ReadOneLine(objFile.getFileHandle());
    g_bEnAssert.store(!strAssert.empty() && atoi(strAssert.c_str()) != 0);
    objFile.close();
}

int initSysConf(int p_nChannelID, const ModuleConfigure& p_objModuleConfigure,
                SysConfig* p_stSysConf) {
    memset(p_stSysConf, 0, sizeof *p_stSysConf);
    ModuleConfig& stModule = p_stSysConf->moduleConfig;
    strcpy(stModule.szSpare1, "xxx");
    strcpy(stModule.szSpare2, "xxx");
    stModule.nModuleId = static_cast<u32>(p_objModuleConfigure.getModuleId());
    copyCut(stModule.szDetail, sizeof stModule.szDetail, p_objModuleConfigure.getDetail());
    copyCut(stModule.szParameters, sizeof stModule.szParameters,
            p_objModuleConfigure.getParameters());
    if (getDetailFieldTou32(stModule.szDetail, "max_scheme", &p_stSysConf->nSchemeSum) != 0) {
        p_stSysConf->nSchemeSum = 4;
    }
    readDeviceType(p_stSysConf);

    const char* szSuffix = styleSuffix(p_nChannelID, p_stSysConf->nDeviceType);
    std::string strStyleFileName = std::string(kStyleDir) + "Style" + szSuffix + ".xml";
    std::string strStyleDivFileName =
        std::string(kDiversityDir) + "StyleDiversity" + szSuffix + ".xml";
    bool bRead = false;
    p_stSysConf->szUIStyle = loadDocument(strStyleFileName, bRead);
    if (!bRead) {
        assertFailed(SNS_HERE,
                     "loadFromFile(strStyleFileName.c_str(), p_stSysConf->szUIStyle, "
                     "getFileLen(strStyleFileName.c_str())) > 0");
    }
    char* ui_styleDiversity = loadDocument(strStyleDivFileName, bRead);
    if (!bRead) {
        assertFailed(SNS_HERE,
                     "loadFromFile(strStyleDivFileName.c_str(), ui_styleDiversity, "
                     "getFileLen(strStyleDivFileName.c_str())) > 0");
    }
    if (mergeStyle(p_nChannelID, &p_stSysConf->moduleConfig, &p_stSysConf->szUIStyle,
                   ui_styleDiversity) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == mergeStyle(p_nChannelID,&p_stSysConf->moduleConfig, "
                     "&p_stSysConf->szUIStyle, "
                     "ui_styleDiversity)");
    }
    free(ui_styleDiversity);
    return SNS_SUCCESS;
}

void uinitSysConf(SysConfig* p_stSysConf) {
    if (p_stSysConf->pstUIFiles) {
        for (u32 i = 0; i < p_stSysConf->nUIFileSum; ++i) {
            free(p_stSysConf->pstUIFiles[i].szUICommonFile);
            free(p_stSysConf->pstUIFiles[i].szUILanguageFile);
        }
        free(p_stSysConf->pstUIFiles);
        p_stSysConf->pstUIFiles = nullptr;
        p_stSysConf->nUIFileSum = 0;
    }
    free(p_stSysConf->szUIStyle);
    p_stSysConf->szUIStyle = nullptr;
}
