// The controller object: construction, channel binding by device type, video notification.
#include <gtest/gtest.h>

#include "ControllerAccess.h"
#include "IaSim.h"
#include "RecordingVideoModule.h"
#include "TestRoot.h"

namespace {

using ControllerTest = LuxtuneTest;

TEST_F(ControllerTest, StartsIdleWithItsDocumentedDefaults) {
    ISensorController objCtl;
    EXPECT_EQ(0, objCtl.getSensorStatus());
    EXPECT_EQ(0u, objCtl.getSensorType());
    EXPECT_EQ(0xFFFFFFFFu, Access::curScheme(objCtl).load());
    EXPECT_EQ(0xFFFFFFFFu, Access::lastScheme(objCtl).load());
    EXPECT_EQ(1, Access::paramMode(objCtl).load());
    EXPECT_EQ(170, Access::keyCmdSum(objCtl));
    EXPECT_EQ(8u, Access::version(objCtl));
    EXPECT_EQ(255u, Access::lastSchedule(objCtl));
    EXPECT_EQ(nullptr, Access::table(objCtl));
    EXPECT_TRUE(Access::showWdr(objCtl) && Access::showLdc(objCtl) && Access::hasLens(objCtl));
    EXPECT_FALSE(Access::thermal(objCtl) || Access::shutterOnce(objCtl) ||
                 Access::lprScheme(objCtl));
    Access::status(objCtl) = SensorStatus::bInitialized;
    EXPECT_EQ(1, objCtl.getSensorStatus());
    objCtl.printDebugMsg();
}

TEST_F(ControllerTest, ChannelAndThermalRoleFollowTheDeviceType) {
    const struct {
        int nType;
        int nChannel;
        int nCamera;
        bool bThermal;
    } cases[] = {{13, 1, 2, true}, {13, 2, 2, true}, {14, 2, 2, true}, {14, 1, 1, false},
                 {17, 2, 2, true}, {19, 2, 2, true}, {23, 2, 2, true}, {1, 2, 2, false},
                 {4, 1, 1, false}, {8, 3, 3, false}, {0, 2, 2, false}};
    for (const auto& c : cases) {
        root().writeMachineInfo(c.nType);
        ISensorController objCtl;
        objCtl.setChannelID(c.nChannel);
        EXPECT_EQ(c.nCamera, Access::cameraId(objCtl)) << c.nType << "/" << c.nChannel;
        EXPECT_EQ(c.bThermal, Access::thermal(objCtl)) << c.nType << "/" << c.nChannel;
    }
}

TEST_F(ControllerTest, NotificationsNeedAModuleAndUseChannelOneOnType13) {
    root().writeMachineInfo(13);
    ISensorController objCtl;
    objCtl.setChannelID(1);
    EXPECT_EQ(0, objCtl.notifyToVideo(34, 5));
    RecordingVideoModule objVideo;
    objVideo.setNotifyStatus(34, 7);
    objCtl.setVideoStreamModule(&objVideo);
    EXPECT_EQ(7, objCtl.notifyToVideo(34, 5));
    ASSERT_EQ(1u, objVideo.notifications().size());
    EXPECT_EQ(1, objVideo.notifications()[0].channel);  // camera 2, reported as channel 1

    root().writeMachineInfo(14);
    ISensorController objThermal;
    objThermal.setChannelID(2);
    objThermal.setVideoStreamModule(&objVideo);
    objThermal.notifyToVideo(35, 6);
    EXPECT_EQ(2, objVideo.notifications().back().channel);
}

}  // namespace
