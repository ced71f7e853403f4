// A test root holding a copy of the sample device tree, with one of its machine variants, and
// helpers to start controllers on it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ControllerAccess.h"
#include "IaSim.h"
#include "RecordingVideoModule.h"
#include "TestRoot.h"

class DeviceFixture : public LuxtuneTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the root's machine information that of variants/<name>.
    void useVariant(const std::string& p_strName);
    // The module configuration of a channel on the current variant (the channel's record).
    ModuleConfigure moduleFor(int p_nChannel);
    // A controller bound to the channel and the video module, initialised (optionally with a
    // detail text of its own).
    ISensorController& start(int p_nChannel = 1, const std::string& p_strDetail = "");
    std::string schemeFile(int p_nCamera, u32 p_nScheme) const;
    std::vector<KeyVal> stored(const std::string& p_strDevicePath) const;
    std::string quiet(const std::function<void()>& p_fn);

    RecordingVideoModule m_objVideo;
    std::vector<std::unique_ptr<ISensorController>> m_vecControllers;
};
