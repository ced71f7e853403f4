// Dispatch to the ISP and the gates in front of it: lens lock, busy bits, auto-focus-once,
// the shutter one-shot, the debug forwarder and the cross-channel request.
#include <gtest/gtest.h>

#include "ControllerAccess.h"
#include "IaSim.h"
#include "RecordingVideoModule.h"
#include "TestRoot.h"

namespace {

class DispatchTest : public LuxtuneTest {
  protected:
    size_t ispCalls() { return iasim::calls().size(); }
    int send(KeyCmdHandler p_pfn, u32 p_nCmd, u32 p_nValue) {
        return (m_objCtl.*p_pfn)(p_nCmd, IA_CMD_OPT_SET, &p_nValue);
    }

    ISensorController m_objCtl;
};

TEST_F(DispatchTest, LensLockHoldsBackExactlyTheLensCommands) {
    Access::lens(m_objCtl).setLockZoomFocusEnable(true);
    const struct {
        u32 nCmd;
        bool bReaches;
    } cases[] = {{1535, true}, {1536, false}, {1554, false}, {1616, false}, {1617, true}};
    for (const auto& c : cases) {
        iasim::clearCalls();
        u32 nValue = 123;
        for (u32 nOption : {IA_CMD_OPT_SET, IA_CMD_OPT_GET}) {
            EXPECT_EQ(0, m_objCtl.doIaCmd(c.nCmd, nOption, &nValue));
        }
        EXPECT_EQ(c.bReaches ? 2u : 0u, ispCalls()) << c.nCmd;
        if (!c.bReaches) {
            EXPECT_EQ(123u, nValue) << "a locked read writes nothing";
        }
    }
    Access::lens(m_objCtl).setLockZoomFocusEnable(false);
    iasim::clearCalls();
    EXPECT_EQ(0, send(&ISensorController::doIaCmd, 1554, 1));
    EXPECT_EQ(1u, ispCalls());
}

TEST_F(DispatchTest, IspChannelIsCameraMinusOneAndStatusPassesThrough) {
    m_objCtl.setChannelID(2);
    iasim::setStatus(34, IA_CMD_OPT_SET, -5);
    EXPECT_EQ(-5, send(&ISensorController::doIaCmd, 34, 50));
    ASSERT_EQ(1u, ispCalls());
    EXPECT_EQ(1, iasim::calls()[0].channel);
    EXPECT_EQ(50u, iasim::calls()[0].value);
}

TEST_F(DispatchTest, UserActionsAreDroppedWhileAnyBusyBitIsSet) {
    const struct {
        u32 nBits;
        bool bReaches;
    } cases[] = {{0, true},
                 {SensorStatus::bInitialized, true},
                 {SensorStatus::bUninitializing, true},
                 {SensorStatus::bInitializing, false},
                 {SensorStatus::bResetting, false},
                 {SensorStatus::bReloading, false},
                 {SensorStatus::bSwitching, false}};
    for (const auto& c : cases) {
        Access::status(m_objCtl) = c.nBits;
        iasim::clearCalls();
        EXPECT_EQ(0, send(&ISensorController::doIaCmd_User, KEY_ZOOM_IN, 1));
        EXPECT_EQ(c.bReaches ? 1u : 0u, ispCalls()) << c.nBits;
    }
}

TEST_F(DispatchTest, AutoFocusOnceNeedsALensAndAValueOrTheThermalChannel) {
    const struct {
        bool bLens;
        bool bThermal;
        u32 nValue;
        bool bReaches;
    } cases[] = {{true, false, 0, false}, {true, true, 0, true},    {true, false, 1, true},
                 {true, true, 1, true},   {false, false, 1, false}, {false, true, 0, false}};
    for (const auto& c : cases) {
        Access::hasLens(m_objCtl) = c.bLens;
        Access::thermal(m_objCtl) = c.bThermal;
        iasim::clearCalls();
        EXPECT_EQ(0, send(&ISensorController::doIaCmd_User, KEY_AUTO_FOCUS_ONCE, c.nValue));
        EXPECT_EQ(c.bReaches ? 1u : 0u, ispCalls()) << c.bLens << c.bThermal << c.nValue;
    }
}

TEST_F(DispatchTest, ShutterCommandPassesOnceAfterUinitWhileBusy) {
    Access::status(m_objCtl) = SensorStatus::bInitializing;
    Access::shutterOnce(m_objCtl) = true;  // as uinit leaves it
    EXPECT_EQ(0, send(&ISensorController::doIaCmdShutter, KEY_SHUTTER_ADJUST, 1));
    EXPECT_EQ(0, send(&ISensorController::doIaCmdShutter, KEY_SHUTTER_ADJUST, 1));
    EXPECT_EQ(1u, ispCalls());
    Access::status(m_objCtl) = SensorStatus::bInitialized;
    EXPECT_EQ(0, send(&ISensorController::doIaCmdShutter, KEY_SHUTTER_ADJUST, 1));
    EXPECT_EQ(2u, ispCalls());
}

TEST_F(DispatchTest, TestParametersGoToTheVideoModuleOnly) {
    EXPECT_EQ(0, send(&ISensorController::test_debugParam, KEY_TEST_PARAM2, 9));  // no module
    RecordingVideoModule objVideo;
    objVideo.setNotifyStatus(-1, -3);
    m_objCtl.setVideoStreamModule(&objVideo);
    EXPECT_EQ(0, send(&ISensorController::test_debugParam, KEY_TEST_PARAM2, 9));
    ASSERT_EQ(1u, objVideo.notifications().size());
    EXPECT_EQ(191, objVideo.notifications()[0].key);
    EXPECT_EQ(9, objVideo.notifications()[0].value);
    EXPECT_EQ(0u, ispCalls());
}

TEST_F(DispatchTest, SyncRequestPostsCameraOneOnlyForItsOwnCommand) {
    EXPECT_EQ(0, send(&ISensorController::doIoCrtl, KEY_MIXSTREAM_TYPE, 1));
    EXPECT_EQ(-1, ISensorController::m_nChanneldDosomething.load());
    EXPECT_EQ(-1, ISensorController::m_nPassKeycmd.load());
    m_objCtl.setChannelID(2);
    EXPECT_EQ(0,
              m_objCtl.doIoCrtl(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, IA_CMD_OPT_SET, nullptr));
    EXPECT_EQ(1, ISensorController::m_nChanneldDosomething.load());
    EXPECT_EQ(8104, ISensorController::m_nPassKeycmd.load());
    EXPECT_EQ(0u, ispCalls());
}

}  // namespace
