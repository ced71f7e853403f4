// luxtune-sim: runs a real controller against the simulated ISP, framework and video module on
// a copy of the sample device tree.
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "ISensorController.h"
#include "IaSim.h"
#include "RecordingVideoModule.h"

namespace fs = std::filesystem;

namespace {

// A fresh working root holding a copy of the sample device tree.
std::string makeWorkRoot() {
    char szTemplate[] = "/tmp/luxtune-sim-XXXXXX";
    const char* szRoot = mkdtemp(szTemplate);
    if (!szRoot) return std::string();
    fs::copy(LUXTUNE_DEVICE_TREE, szRoot, fs::copy_options::recursive);
    return szRoot;
}

void showKey(const char* p_szName) {
    const SensorKeyInfo* pInfo = findSensorKeyByName(p_szName);
    if (!pInfo) {
        printf("  %-42s unknown key\n", p_szName);
        return;
    }
    printf("  %-42s key %5u  ISP command %5u  handler %s\n", pInfo->szName, pInfo->nKey,
           pInfo->nCmd, pInfo->szHandler);
}

void showIspCalls() {
    for (const iasim::Call& call : iasim::calls()) {
        printf("  ISP channel %d  command %d  option %d  value %u\n", call.channel, call.cmd,
               call.option, call.value);
    }
}

}  // namespace

int main() {
    std::string strRoot = makeWorkRoot();
    if (strRoot.empty()) {
        fprintf(stderr, "luxtune-sim: cannot create a working root under /tmp\n");
        return 1;
    }
    setenv("LUXTUNE_ROOT", strRoot.c_str(), 1);
    printf("Device root: %s\n", strRoot.c_str());

    RecordingVideoModule objVideo;
    ISensorController objController;
    objController.setChannelID(1);
    objController.setVideoStreamModule(&objVideo);
    printf("Controller bound to channel 1 (%u keys in the key-command table)\n",
           getSensorKeyCount());

    printf("\nKeys:\n");
    for (const char* szName : {"KEY_BRIGHTNESS", "KEY_IRIS_SIZE", "KEY_SENSOR_FPS", "KEY_MIRROR",
                               "KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV"}) {
        showKey(szName);
    }

    printf("\nApplying KEY_BRIGHTNESS = 50:\n");
    const SensorKeyInfo* pInfo = findSensorKeyByName("KEY_BRIGHTNESS");
    u32 nValue = 50;
    int nStatus = objController.doIaCmd(pInfo->nCmd, IA_CMD_OPT_SET, &nValue);
    printf("  status %d\n", nStatus);
    printf("\nThe ISP received:\n");
    showIspCalls();
    fs::remove_all(strRoot);
    return nStatus == SNS_SUCCESS ? 0 : 1;
}
