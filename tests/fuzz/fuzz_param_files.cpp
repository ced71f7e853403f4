// Scheme parameter files and the version file through initialisation, on a copy of the sample
// device tree.
//
// Input: one byte, then the file bytes. The byte's low two bits choose what the bytes become:
// 0 a scheme file beside the right version file, 1 the version file, 2 both (scheme bytes,
// separator byte, version bytes), 3 a scheme file with no version file. Bits 2-3 pick the scheme
// (0 to 3), bits 4-5 the device: bullet, plate reader, dome, or the thermal channel of the
// dual-sensor device.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "ISensorController.h"
#include "RecordingVideoModule.h"
#include "SensorFile.h"
#include "ZqSim.h"

namespace {

constexpr const char* kConfigDir = "/mnt/mtd/code/config_file/";
constexpr const char* kVersionFile = "/mnt/mtd/code/config_file/snsversion.cfg";
const char kRightVersion[4] = {8, 0, 0, 0};

struct Device {
    const char* szVariant;
    const char* szModel;  // the variant's hardware model and code
    const char* szCode;
    int nChannel;
    const char* szSchemeFormat;  // scheme file name, with the scheme number
};

const Device kDevices[] = {{"bullet", "NT98530", "LT-B1", 1, "sensor1_%u.cfg"},
                           {"lpr", "NT98530L", "LT-L1", 1, "sensor1_%u.cfg"},
                           {"dome", "NT98530D", "LT-D1", 1, "sensor1_%u.cfg"},
                           {"thermal-dual", "NT98530T", "LT-T2", 2, "sensor-thermal%u.cfg"}};

void clearConfigDir() {
    for (unsigned s = 0; s < 4; ++s) {
        for (const char* szFormat : {"sensor1_%u.cfg", "sensor-thermal%u.cfg"}) {
            char szName[64];
            snprintf(szName, sizeof szName, szFormat, s);
            fuzz::removeFile(std::string(kConfigDir) + szName);
        }
    }
    fuzz::removeFile(kVersionFile);
}

// The channel's module as the device's module configuration lists it.
ModuleConfigure moduleOf(const Device& p_stDevice) {
    std::vector<ModuleConfigure> vecModules;
    ModuleConfigureParser::parse("/hd1/moduleConfig/moduleConfig.xml", p_stDevice.szModel,
                                 p_stDevice.szCode, vecModules);
    size_t nChannel = static_cast<size_t>(p_stDevice.nChannel);
    return nChannel <= vecModules.size() ? vecModules[nChannel - 1] : ModuleConfigure();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize) {
    fuzz::beginInput(true);
    // The scheduler thread pauses 100 us between passes instead of spinning beside the host.
    zqsim::setTimeScale(1e-4);
    if (p_nSize == 0) return 0;
    uint8_t nChoice = p_pData[0];
    unsigned nMode = nChoice & 3;
    unsigned nScheme = (nChoice >> 2) & 3;
    const Device& stDevice = kDevices[(nChoice >> 4) & 3];
    std::vector<std::string> vecParts =
        nMode == 2 ? fuzz::splitParts(p_pData + 1, p_nSize - 1, 2)
                   : std::vector<std::string>{std::string(p_pData + 1, p_pData + p_nSize), ""};

    clearConfigDir();
    fuzz::useVariant(stDevice.szVariant);
    char szScheme[64];
    snprintf(szScheme, sizeof szScheme, stDevice.szSchemeFormat, nScheme);
    if (nMode != 1) fuzz::writeFile(std::string(kConfigDir) + szScheme, vecParts[0]);
    if (nMode == 0) fuzz::writeFile(kVersionFile, std::string(kRightVersion, 4));
    if (nMode == 1) fuzz::writeFile(kVersionFile, vecParts[0]);
    if (nMode == 2) fuzz::writeFile(kVersionFile, vecParts[1]);

    RecordingVideoModule objVideo;
    ISensorController objCtl;
    objCtl.setChannelID(stDevice.nChannel);
    objCtl.setVideoStreamModule(&objVideo);
    objCtl.init(moduleOf(stDevice));
    int nValue = 0;
    objCtl.getParameter(KEY_BRIGHTNESS, nValue);
    objCtl.setParamScheme(static_cast<int>(nScheme));
    objCtl.setParameter(KEY_BRIGHTNESS, nValue + 1, true);
    std::string strAll;
    objCtl.getAllParameters(strAll);
    objCtl.flush();
    objCtl.resetToLastParameters();
    objCtl.uinit();
    return 0;
}
