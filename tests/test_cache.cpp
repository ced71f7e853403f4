// The parameter cache and the host's single-key read.
#include <gtest/gtest.h>

#include "ControllerFixture.h"

namespace {

using CacheTest = ControllerFixture;

TEST_F(CacheTest, WritesOutsideTheUserSchemesNeedTheForceFlag) {
    EXPECT_EQ(-2, m_objCtl.setKeyValToCache(4, KEY_BRIGHTNESS, 99, false));
    EXPECT_EQ(50u, cached(4, KEY_BRIGHTNESS));
    EXPECT_EQ(5, m_objCtl.setKeyValToCache(4, KEY_BRIGHTNESS, 99, true));
    EXPECT_EQ(99u, cached(4, KEY_BRIGHTNESS));
    EXPECT_EQ(5, m_objCtl.setKeyValToCache(3, KEY_BRIGHTNESS, 77, false));
    EXPECT_EQ(77u, cached(3, KEY_BRIGHTNESS));
    EXPECT_EQ(50u, cached(2, KEY_BRIGHTNESS));
    EXPECT_EQ(-1, m_objCtl.setKeyValToCache(3, KEY_GAMMA, 1, false));
}

TEST_F(CacheTest, ReadsPastTheFactorySchemeAreRefusedWithATrace) {
    root().writeDebugSwitch("6\n");
    u32 nVal = 1234;
    testing::internal::CaptureStdout();
    EXPECT_EQ(-1, m_objCtl.getKeyValFromCache(5, KEY_BRIGHTNESS, nVal));
    EXPECT_EQ(-1, m_objCtl.getKeyValFromCache(2, KEY_GAMMA, nVal));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ(1234u, nVal);
    EXPECT_EQ("\033[0m\033[0mcan not find val, invalid sheme(5) \n\033[0m", strOut);
    EXPECT_EQ(5, m_objCtl.getKeyValFromCache(4, KEY_BRIGHTNESS, nVal));
    EXPECT_EQ(50u, nVal);
}

TEST_F(CacheTest, SameValueComparesWithTheSchemeBeingLeftDuringASwitch) {
    m_objCtl.setKeyValToCache(1, KEY_BRIGHTNESS, 80, false);
    setCurrent(1);
    Access::lastScheme(m_objCtl) = 0;
    EXPECT_TRUE(m_objCtl.isKeyValSame({KEY_BRIGHTNESS, 80}));
    Access::status(m_objCtl) = SensorStatus::bSwitching;
    EXPECT_TRUE(m_objCtl.isKeyValSame({KEY_BRIGHTNESS, 50}));
    EXPECT_FALSE(m_objCtl.isKeyValSame({KEY_BRIGHTNESS, 80}));
    Access::lastScheme(m_objCtl) = 0xFFFFFFFF;  // the first switch after init
    EXPECT_FALSE(m_objCtl.isKeyValSame({KEY_BRIGHTNESS, 50}));
    EXPECT_FALSE(m_objCtl.isKeyValSame({KEY_GAMMA, 0}));
}

TEST_F(CacheTest, ReadAnswersFromTheCacheThenFromTheIsp) {
    iasim::setValue(0, KEY_BRIGHTNESS, 11);
    int nVal = 0;
    EXPECT_TRUE(m_objCtl.getParameter(KEY_BRIGHTNESS, nVal));
    EXPECT_EQ(50, nVal) << "a cached key never asks the ISP";
    iasim::setValue(0, KEY_GAMMA, 3);
    EXPECT_TRUE(m_objCtl.getParameter(KEY_GAMMA, nVal));
    EXPECT_EQ(3, nVal);
    ASSERT_EQ(1u, iasim::calls().size());
    EXPECT_EQ(KEY_GAMMA, iasim::calls()[0].cmd) << "the key id is the command id";
    EXPECT_EQ(IA_CMD_OPT_GET, iasim::calls()[0].option);
}

TEST_F(CacheTest, InfraredKeysMissingFromTheSchemeReadMinusOne) {
    Access::setSchemes(m_objCtl, 4, {{KEY_BRIGHTNESS, 50}});
    for (int nKey : {160, 161, 163, 165, 167}) {
        int nVal = 0;
        EXPECT_TRUE(m_objCtl.getParameter(nKey, nVal));
        EXPECT_EQ(-1, nVal) << nKey;
    }
    EXPECT_TRUE(iasim::calls().empty());
}

TEST_F(CacheTest, FailedIspReadIsReportedAndLensLockAnswersWithoutIt) {
    iasim::setStatus(KEY_GAMMA, IA_CMD_OPT_GET, -1);
    int nVal = 0;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(m_objCtl.getParameter(KEY_GAMMA, nVal));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(
        std::string::npos,
        strOut.find(
            "SNS_SUCCESS == doIaCmd(p_nKey, IA_CMD_OPT_GET, &p_nVal)   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("get key(2528) val from 2a err\033[0m"));

    Access::lens(m_objCtl).setLockZoomFocusEnable(true);
    nVal = 77;
    EXPECT_TRUE(m_objCtl.getParameter(KEY_AUTO_FOCUS_NEAR_LIMIT, nVal));
    EXPECT_EQ(77, nVal);
}

TEST_F(CacheTest, NothingIsFoundBeforeTheFirstSwitchOrWithoutArrays) {
    setCurrent(0xFFFFFFFF);
    int nVal = 0;
    iasim::setValue(0, KEY_BRIGHTNESS, 9);
    EXPECT_TRUE(m_objCtl.getParameter(KEY_BRIGHTNESS, nVal));
    EXPECT_EQ(9, nVal);
    EXPECT_TRUE(m_objCtl.getParameter(KEY_IR_MODE, nVal));
    EXPECT_EQ(-1, nVal);
    ISensorController objFresh;
    u32 nCached = 5;
    EXPECT_EQ(-1, objFresh.getKeyValFromCache(0, KEY_BRIGHTNESS, nCached));
    EXPECT_EQ(-1, objFresh.setKeyValToCache(0, KEY_BRIGHTNESS, 1, true));
}

}  // namespace
