#include "DeviceFixture.h"

#include "DeviceTree.h"

#include <cstring>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

void DeviceFixture::SetUp() {
    LuxtuneTest::SetUp();
    fs::copy(LUXTUNE_DEVICE_TREE, root().path(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void DeviceFixture::TearDown() {
    for (auto& pCtl : m_vecControllers)
        pCtl->uinit();
    m_vecControllers.clear();
    LuxtuneTest::TearDown();
}

void DeviceFixture::useVariant(const std::string& p_strName) {
    root().write("/mnt/mtd/code/factory_setting/machineinfo.ini",
                 root().read("/variants/" + p_strName + "/machineinfo.ini"));
}

ModuleConfigure DeviceFixture::moduleFor(int p_nChannel) {
    return channelModule(p_nChannel);
}

ISensorController& DeviceFixture::start(int p_nChannel, const std::string& p_strDetail) {
    m_vecControllers.push_back(std::make_unique<ISensorController>());
    ISensorController& objCtl = *m_vecControllers.back();
    objCtl.setChannelID(p_nChannel);
    objCtl.setVideoStreamModule(&m_objVideo);
    ModuleConfigure objModule = moduleFor(p_nChannel);
    if (!p_strDetail.empty()) objModule.setDetail(p_strDetail);
    quiet([&] { objCtl.init(objModule); });
    return objCtl;
}

std::string DeviceFixture::schemeFile(int p_nCamera, u32 p_nScheme) const {
    return "/mnt/mtd/code/config_file/sensor" + std::to_string(p_nCamera) + "_" +
           std::to_string(p_nScheme) + ".cfg";
}

std::vector<KeyVal> DeviceFixture::stored(const std::string& p_strDevicePath) const {
    std::string strData = root().read(p_strDevicePath);
    std::vector<KeyVal> vec(strData.size() / sizeof(KeyVal));
    if (!vec.empty()) memcpy(vec.data(), strData.data(), vec.size() * sizeof(KeyVal));
    return vec;
}

std::string DeviceFixture::quiet(const std::function<void()>& p_fn) {
    testing::internal::CaptureStdout();
    p_fn();
    return testing::internal::GetCapturedStdout();
}
