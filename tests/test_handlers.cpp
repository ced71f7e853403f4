// Key handlers that notify the video module, build records from the current scheme, hide
// switched-off features or swap the mirror.
#include <gtest/gtest.h>

#include "ControllerFixture.h"
#include "SensorFile.h"

namespace {

using HandlersTest = ControllerFixture;

TEST_F(HandlersTest, WdrModeNotifiesAroundTheIspAndAnswersWithTheVideoStatus) {
    m_objVideo.setNotifyStatus(KEY_WDR_MODE, 6);
    iasim::setStatus(KEY_WDR_MODE, IA_CMD_OPT_SET, -1);
    testing::internal::CaptureStdout();
    u32 nValue = 2;
    EXPECT_EQ(6, m_objCtl.doHwdr(KEY_WDR_MODE, IA_CMD_OPT_SET, &nValue));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ((Notes{{2370, 0}, {KEY_WDR_MODE, 2}, {2370, 1}}), notified());
    EXPECT_EQ((Sets{{KEY_WDR_MODE, 2}}), ispSets());
    EXPECT_NE(std::string::npos,
              strOut.find("SNS_SUCCESS == doIaCmd(p_nKey, p_nDir, p_pVal)   ~~~Assertion"));
}

TEST_F(HandlersTest, HiddenWdrAndBeawayStoreZeroAndSendNothing) {
    Access::showWdr(m_objCtl) = false;
    setshowBeawayFalg(false);
    EXPECT_EQ(0, apply({{KEY_WDR_MODE, 2}, {KEY_BEAWAY, 1}}));
    EXPECT_TRUE(iasim::calls().empty());
    EXPECT_TRUE(notified().empty());
    EXPECT_EQ(0u, cached(0, KEY_WDR_MODE));
    EXPECT_EQ(0u, cached(0, KEY_BEAWAY));
}

TEST_F(HandlersTest, ImageAdjustAndStabilisationOrderAndResults) {
    m_objVideo.setNotifyStatus(KEY_CAP_OFF_ADJ_H_CUR, 4);
    iasim::setStatus(KEY_CAP_OFF_ADJ_H_CUR, IA_CMD_OPT_SET, -1);
    testing::internal::CaptureStdout();
    u32 nValue = 12;
    EXPECT_EQ(4, m_objCtl.doImageAdjust(KEY_CAP_OFF_ADJ_H_CUR, IA_CMD_OPT_SET, &nValue));
    EXPECT_EQ((Sets{{KEY_CAP_OFF_ADJ_H_CUR, 12}}), ispSets());

    m_objVideo.setNotifyStatus(KEY_ANTI_SHAKE_SWITCH, 3);
    iasim::setStatus(KEY_ANTI_SHAKE_SWITCH, IA_CMD_OPT_SET, -5);
    nValue = 1;
    EXPECT_EQ(-5, m_objCtl.doDIS(KEY_ANTI_SHAKE_SWITCH, IA_CMD_OPT_SET, &nValue));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos,
              strOut.find("SNS_SUCCESS == notifyToVideo(p_nKey, *(u32*)p_pVal)"));
    EXPECT_EQ((Notes{{KEY_CAP_OFF_ADJ_H_CUR, 12}, {KEY_ANTI_SHAKE_SWITCH, 1}}), notified());
}

TEST_F(HandlersTest, PanoramaKeysReachOnlyTheVideoModuleAndNeverFail) {
    m_objVideo.setNotifyStatus(-1, -2);
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, apply({{KEY_PANO_YAW_2, 15}, {KEY_MIXSTREAM_DISTANCE, 3}}, false));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(iasim::calls().empty());
    EXPECT_EQ((Notes{{KEY_PANO_YAW_2, 15}, {KEY_MIXSTREAM_DISTANCE, 3}}), notified());
    EXPECT_NE(std::string::npos,
              strOut.find("SNS_SUCCESS == notifyToVideo(nKey, nVal)   ~~~Assertion"));
}

TEST_F(HandlersTest, DayNightThresholdRecordsCarryTheOtherThresholdAndZeros) {
    const struct {
        u32 nKey, nValue;
        std::vector<u32> words;
    } cases[] = {{KEY_DTN_THR, 40, {40, 60, 0}},
                 {KEY_NTD_THR, 70, {30, 70, 0}},
                 {KEY_DN_SENSITIVITY, 8, {0, 0, 8}}};
    for (const auto& c : cases) {
        iasim::clearCalls();
        u32 nValue = c.nValue;
        EXPECT_EQ(0, m_objCtl.doDNThr(c.nKey, IA_CMD_OPT_SET, &nValue));
        ASSERT_EQ(1u, iasim::calls().size());
        EXPECT_EQ(static_cast<int>(c.nKey), iasim::calls()[0].cmd);
        EXPECT_EQ(c.words, iasim::calls()[0].words) << c.nKey;
    }
    Access::setSchemes(m_objCtl, 4, {{KEY_BRIGHTNESS, 1}});  // no partner threshold
    iasim::clearCalls();
    u32 nValue = 45;
    m_objCtl.doDNThr(KEY_NTD_THR, IA_CMD_OPT_SET, &nValue);
    EXPECT_EQ((std::vector<u32>{0, 45, 0}), iasim::calls()[0].words);
}

TEST_F(HandlersTest, DayNightThresholdFailureIsIgnoredOnlyWhileReloading) {
    iasim::setStatus(KEY_DTN_THR, IA_CMD_OPT_SET, -1);
    u32 nValue = 40;
    EXPECT_EQ(-1, m_objCtl.doDNThr(KEY_DTN_THR, IA_CMD_OPT_SET, &nValue));
    Access::status(m_objCtl) = SensorStatus::bReloading;
    EXPECT_EQ(0, m_objCtl.doDNThr(KEY_DTN_THR, IA_CMD_OPT_SET, &nValue));
}

TEST_F(HandlersTest, DayNightTimeRecordTakesTheOtherTimesFromTheScheme) {
    const struct {
        u32 nKey, nValue;
        std::vector<u32> words;
    } cases[] = {{KEY_DTN_H, 19, {19, 30, 6, 0}},
                 {KEY_DTN_M, 45, {18, 45, 6, 0}},
                 {KEY_NTD_H, 7, {18, 30, 7, 0}},
                 {KEY_NTD_M, 15, {18, 30, 6, 15}}};
    for (const auto& c : cases) {
        iasim::clearCalls();
        iasim::setStatus(static_cast<int>(c.nKey), IA_CMD_OPT_SET, -3);
        u32 nValue = c.nValue;
        EXPECT_EQ(-3, m_objCtl.doDNTime(c.nKey, IA_CMD_OPT_SET, &nValue));
        ASSERT_EQ(1u, iasim::calls().size());
        EXPECT_EQ(c.words, iasim::calls()[0].words) << c.nKey;
    }
}

TEST_F(HandlersTest, MirrorIsSwappedWhileBeawayIsOnButStoredAsChosen) {
    const struct {
        u32 nBeaway, nMirror, nSent;
    } cases[] = {{1, 1, 2}, {1, 2, 1}, {1, 3, 3}, {0, 1, 1}, {0, 2, 2}};
    for (const auto& c : cases) {
        m_objCtl.setKeyValToCache(0, KEY_BEAWAY, c.nBeaway, false);
        iasim::clearCalls();
        m_objVideo.clearNotifications();
        EXPECT_EQ(0, m_objCtl.setParameter(KEY_MIRROR, static_cast<int>(c.nMirror), false));
        EXPECT_EQ((Sets{{KEY_MIRROR, c.nSent}}), ispSets()) << c.nBeaway << c.nMirror;
        EXPECT_EQ((Notes{{KEY_MIRROR, static_cast<int>(c.nSent)}}), notified());
    }
    m_objCtl.setKeyValToCache(0, KEY_BEAWAY, 1, false);
    EXPECT_EQ(0, m_objCtl.setParameter(KEY_MIRROR, 1, true));
    EXPECT_EQ(1u, cached(0, KEY_MIRROR));
}

TEST_F(HandlersTest, BeawayResendsTheStoredMirror) {
    m_objCtl.setKeyValToCache(0, KEY_MIRROR, 2, false);
    iasim::setStatus(KEY_MIRROR, IA_CMD_OPT_SET, -1);  // ignored
    EXPECT_EQ(0, m_objCtl.setParameter(KEY_BEAWAY, 1, true));
    EXPECT_EQ((Notes{{2384, 1}, {KEY_BEAWAY, 1}}), notified());
    EXPECT_EQ((Sets{{2384, 1}, {KEY_BEAWAY, 1}}), ispSets());
    EXPECT_EQ(1u, cached(0, KEY_BEAWAY));

    iasim::clearCalls();
    iasim::setStatus(KEY_BEAWAY, IA_CMD_OPT_SET, -1);
    EXPECT_EQ(-KEY_BEAWAY, m_objCtl.setParameter(KEY_BEAWAY, 0, true));
    EXPECT_EQ((Sets{{2384, 2}, {KEY_BEAWAY, 0}}), ispSets());
}

}  // namespace
