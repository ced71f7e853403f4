// Direct controls: lens, iris, zoom ratio, shutter list, lights, and the cache-backed switches.
#include <gtest/gtest.h>

#include "ControllerFixture.h"

namespace {

class DirectTest : public ControllerFixture {
  protected:
    void setShutters(std::vector<int> p_vecItems, int p_nCurrent) {
        iasim::clearDynamic();
        iasim::Range r;
        r.items = p_vecItems;
        iasim::setDynamic(KEY_MAX_SHUTTER, r);
        iasim::setValue(0, KEY_MAX_SHUTTER, static_cast<u32>(p_nCurrent));
        iasim::clearCalls();
    }
    template <typename F>
    auto quietly(F p_fn) {
        testing::internal::CaptureStdout();
        auto r = p_fn();
        testing::internal::GetCapturedStdout();
        return r;
    }
};

TEST_F(DirectTest, ZoomRatioInterpolatesBetweenWholeRatios) {
    const struct {
        u32 nPosition;
        int nRatio;
    } cases[] = {{16384, 1000}, {16385, 1001},  {20480, 1500}, {24576, 2000}, {27264, 3000},
                 {28000, 3523}, {31424, 16000}, {31425, -7},   {100, 1000}};
    for (const auto& c : cases) {
        iasim::setValue(0, KEY_MZ_POSITION, c.nPosition);
        int nPosition = 0, nRatio = -7;
        EXPECT_TRUE(m_objCtl.getZoomValue(nPosition, nRatio));
        EXPECT_EQ(static_cast<int>(c.nPosition), nPosition);
        EXPECT_EQ(c.nRatio, nRatio) << c.nPosition;
    }
    Access::hasLens(m_objCtl) = false;
    int nPosition = 5, nRatio = 9;
    EXPECT_TRUE(m_objCtl.getZoomValue(nPosition, nRatio));
    EXPECT_EQ(0, nPosition);
    EXPECT_EQ(9, nRatio);
}

TEST_F(DirectTest, IrisCodesAreBoundedToTheLensRange) {
    const struct {
        int nArg;
        u32 nSent;
    } cases[] = {{0, 256}, {255, 256}, {25600, 25600}, {25601, 0x100000}, {0x0506, 0x0506}};
    for (const auto& c : cases) {
        iasim::clearCalls();
        EXPECT_TRUE(m_objCtl.setIrisValue(c.nArg));
        EXPECT_EQ((Sets{{KEY_EXPOSE_MODE, 3}, {KEY_IRIS_POSITION, c.nSent}}), ispSets()) << c.nArg;
    }
    iasim::clearCalls();
    iasim::setStatus(KEY_EXPOSE_MODE, IA_CMD_OPT_SET, -1);
    EXPECT_FALSE(m_objCtl.irisUp());
    EXPECT_EQ((Sets{{KEY_EXPOSE_MODE, 3}}), ispSets());
    iasim::setStatus(KEY_EXPOSE_MODE, IA_CMD_OPT_SET, 0);
    iasim::clearCalls();
    EXPECT_TRUE(m_objCtl.irisDown());
    EXPECT_EQ((Sets{{KEY_EXPOSE_MODE, 3}, {84, 1}}), ispSets());
}

TEST_F(DirectTest, LensMovesAndLensLock) {
    EXPECT_TRUE(m_objCtl.focusFar());
    EXPECT_EQ((Sets{{KEY_AUTO_FOCUS_MODE, 1}, {KEY_FOCUS_FAR, 1}}), ispSets());
    Access::lens(m_objCtl).setLockZoomFocusEnable(true);
    iasim::clearCalls();
    int nMode = 42;
    EXPECT_TRUE(m_objCtl.setZoomValue(1000));
    EXPECT_TRUE(m_objCtl.getFocusMode(nMode));
    EXPECT_EQ(42, nMode);
    EXPECT_TRUE(iasim::calls().empty());
    SensorZoomFocusParam objParam;
    EXPECT_EQ(0, m_objCtl.getSensorZoomFocusParam(objParam));
    EXPECT_TRUE(objParam.getLockZoomFocusEnable());
    objParam.setLockZoomFocusEnable(false);
    EXPECT_EQ(0, m_objCtl.setSensorZoomFocusParam(objParam));
    EXPECT_TRUE(m_objCtl.setZoomValue(1000));
    EXPECT_EQ((Sets{{KEY_MZ_POSITION, 1000}}), ispSets());

    Access::hasLens(m_objCtl) = false;
    iasim::clearCalls();
    int nFocus = 7;
    EXPECT_TRUE(m_objCtl.focusNear() && m_objCtl.setZoomValue(1) && m_objCtl.setPTZRunState(1) &&
                m_objCtl.setFocusValue(1) && m_objCtl.getFocusValue(nFocus));
    EXPECT_EQ(0, nFocus);
    EXPECT_TRUE(iasim::calls().empty());
}

TEST_F(DirectTest, ShutterStepsThroughTheIspsList) {
    setShutters({100, 200, 400, 800}, 400);
    int nIndex = -1;
    EXPECT_TRUE(quietly([&] { return m_objCtl.getShutterValue(nIndex); }));
    EXPECT_EQ(2, nIndex);
    iasim::clearCalls();
    EXPECT_TRUE(quietly([&] { return m_objCtl.shutterUp(); }));
    EXPECT_EQ((Sets{{KEY_MAX_SHUTTER, 800}}), ispSets());
    setShutters({100, 200, 400, 800}, 400);
    EXPECT_TRUE(quietly([&] { return m_objCtl.shutterDown(); }));
    EXPECT_EQ((Sets{{KEY_MAX_SHUTTER, 200}}), ispSets());
    setShutters({100, 200, 400, 800}, 800);
    m_objCtl.setKeyValToCache(0, KEY_MAX_SHUTTER, 1, false);
    EXPECT_TRUE(quietly([&] { return m_objCtl.shutterUp(); }));
    EXPECT_EQ((Sets{{KEY_MAX_SHUTTER, 800}}), ispSets()) << "the last value stays";
    EXPECT_FALSE(quietly([&] { return m_objCtl.setShutterValue(4); }));
    EXPECT_FALSE(quietly([&] { return m_objCtl.setShutterValue(-1); }));
    EXPECT_TRUE(quietly([&] { return m_objCtl.setShutterValue(0); }));
    setShutters({100, 200}, 300);
    EXPECT_FALSE(quietly([&] { return m_objCtl.getShutterValue(nIndex); }))
        << "current value not listed";
    EXPECT_FALSE(quietly([&] { return m_objCtl.shutterUp(); }));
    iasim::clearDynamic();
    EXPECT_FALSE(quietly([&] { return m_objCtl.setShutterValue(0); })) << "no list at all";
}

TEST_F(DirectTest, ShutterListTakesAtMost30Values) {
    std::vector<int> vecItems;
    for (int i = 1; i <= 31; ++i)
        vecItems.push_back(i * 10);
    setShutters(vecItems, 300);
    int nIndex = -1;
    EXPECT_TRUE(quietly([&] { return m_objCtl.getShutterValue(nIndex); }));
    EXPECT_EQ(29, nIndex);
    iasim::setValue(0, KEY_MAX_SHUTTER, 310);
    EXPECT_FALSE(quietly([&] { return m_objCtl.getShutterValue(nIndex); }))
        << "the 31st value is cut off";
}

TEST_F(DirectTest, LightTypeAndTheInfraredWhiteInterlock) {
    EXPECT_FALSE(m_objCtl.setLightType(4));
    EXPECT_FALSE(m_objCtl.setLightType(-1));
    EXPECT_TRUE(iasim::calls().empty());
    EXPECT_TRUE(m_objCtl.setLightType(3));
    EXPECT_EQ(3u, cached(0, KEY_LIGHT_TYPE));

    iasim::clearCalls();
    iasim::setValue(0, 168, 1);  // the white light is on
    EXPECT_TRUE(m_objCtl.setIRSwitch(1));
    EXPECT_EQ((Sets{{168, 0}, {KEY_IR_SWITCH, 1}}), ispSets());
    iasim::clearCalls();
    EXPECT_TRUE(m_objCtl.setIRSwitch(0));
    EXPECT_EQ((Sets{{KEY_IR_SWITCH, 0}}), ispSets());
    iasim::clearCalls();
    iasim::setValue(0, KEY_IR_SWITCH, 1);
    EXPECT_TRUE(m_objCtl.setWhiteSwitch(1));
    EXPECT_EQ((Sets{{KEY_IR_SWITCH, 0}, {168, 1}}), ispSets());
    iasim::setStatus(KEY_IR_SWITCH, IA_CMD_OPT_GET, -1);
    EXPECT_FALSE(m_objCtl.setWhiteSwitch(1)) << "the other light cannot be read";
}

TEST_F(DirectTest, CacheBackedSwitchesAndSingleCommands) {
    EXPECT_TRUE(m_objCtl.setDNMode(2));
    EXPECT_EQ(2u, cached(0, KEY_DN_MODE));
    int nRead = 0;
    EXPECT_TRUE(m_objCtl.getDNMode(nRead));
    EXPECT_EQ(2, nRead);
    iasim::setStatus(KEY_HLC_STRG, IA_CMD_OPT_GET, -1);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(m_objCtl.getHLCStrength(nRead));
    testing::internal::GetCapturedStdout();

    iasim::clearCalls();
    EXPECT_TRUE(m_objCtl.setMirrorMode(1));
    std::string strFile = root().read("/mnt/mtd/code/config_file/sensor1_0.cfg");
    ASSERT_EQ(sampleScheme().size() * sizeof(KeyVal), strFile.size())
        << "the mirror is flushed to the scheme file";
    EXPECT_EQ(1u, cached(0, KEY_MIRROR));
    iasim::setValue(0, IA_CMD_HEAT_STATUS, 0x100);
    bool bHeating = false;
    EXPECT_TRUE(m_objCtl.getHeatStatus(bHeating));
    EXPECT_TRUE(bHeating);
    iasim::setExecStatus(1569, 2);
    int nStatus = -1;
    EXPECT_TRUE(m_objCtl.getCmdExecStatus(1569, nStatus));
    EXPECT_EQ(2, nStatus);
    iasim::setVersionText("LT-ISP 2.3");
    std::string strVersion = "old";
    EXPECT_TRUE(m_objCtl.getCameraVerInf(strVersion));
    EXPECT_EQ("LT-ISP 2.3", strVersion);
    iasim::setStatus(IA_CMD_CAMERA_VERSION, IA_CMD_OPT_GET, -1);
    EXPECT_FALSE(m_objCtl.getCameraVerInf(strVersion));
    EXPECT_EQ("LT-ISP 2.3", strVersion);
}

}  // namespace
