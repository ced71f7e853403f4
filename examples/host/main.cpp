// The smallest host of libluxtune: one controller on channel 1, a video module of its own, a
// setting written and read back, the UI style fetched, and the channel stopped again.
#include <cstdio>
#include <vector>

#include "ISensorController.h"

namespace {

// The host's video pipeline, reduced to accepting what the controller tells it.
class ExampleVideo : public VideoStreamModule {
public:
    int getStreamParams(std::vector<AVStreamParam>& p_vecStreams) const override {
        p_vecStreams.clear();
        return 0;
    }
    int notifySensorParam(int, int, int) const override { return 0; }
    int getLimitedFramesWDRMode(int, LimitedFramesWDRModeParam&) const override { return 0; }
    int isBusy() const override { return 0; }
};

// The module configuration of channel 1, as the host reads it from the device.
ModuleConfigure channelOne() {
    MachineInfo objInfo;
    SystemInfoParser::parseMachineInfo("/mnt/mtd/code/factory_setting/machineinfo.ini", objInfo);
    std::vector<ModuleConfigure> vecModules;
    ModuleConfigureParser::parse("/hd1/moduleConfig/moduleConfig.xml", objInfo.getHardwareModel(),
                                 objInfo.getHardwareCode(), vecModules);
    return vecModules.empty() ? ModuleConfigure() : vecModules.front();
}

}  // namespace

int main() {
    ExampleVideo objVideo;
    ISensorController objController;
    objController.setChannelID(1);
    objController.setVideoStreamModule(&objVideo);
    objController.init(channelOne());
    int nStatus = objController.setParameter(KEY_BRIGHTNESS, 64, true);
    int nValue = 0;
    bool bRead = objController.getParameter(KEY_BRIGHTNESS, nValue);
    std::string strStyle = objController.getUIStyleFile();
    objController.uinit();
    fprintf(stderr, "example host: sensor type %u, brightness set (status %d) and read back as %d, UI style %zu bytes\n",
            objController.getSensorType(), nStatus, nValue, strStyle.size());
    return nStatus == 0 && bRead && nValue == 64 && !strStyle.empty() ? 0 : 1;
}
