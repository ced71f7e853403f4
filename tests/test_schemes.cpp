// Schemes: switching, the host's scheme and mode operations, flush with its window check, and
// the ways back (restore, reload).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "ControllerFixture.h"
#include "SensorFile.h"
#include "ZqSim.h"

namespace {

class SchemeTest : public ControllerFixture {
  protected:
    std::string schemeFile(u32 p_nScheme) {
        return "/mnt/mtd/code/config_file/sensor1_" + std::to_string(p_nScheme) + ".cfg";
    }
    std::vector<KeyVal> stored(const std::string& p_strFile) {
        std::string strData = root().read(p_strFile);
        std::vector<KeyVal> vec(strData.size() / sizeof(KeyVal));
        memcpy(vec.data(), strData.data(), vec.size() * sizeof(KeyVal));
        return vec;
    }
};

TEST_F(SchemeTest, SwitchAppliesOnlyTheDifferingKeysAndDropsUserActions) {
    m_objCtl.setKeyValToCache(2, KEY_BRIGHTNESS, 70, false);
    m_objCtl.setKeyValToCache(2, KEY_ZOOM_IN, 1, false);
    EXPECT_EQ(0, m_objCtl.switch_to(2, false));
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 70}}), ispSets())
        << "the zoom action is held back while switching";
    EXPECT_EQ(2u, Access::curScheme(m_objCtl).load());
    EXPECT_EQ(0u, Access::lastScheme(m_objCtl).load());
    EXPECT_EQ(SensorStatus::bInitialized, Access::status(m_objCtl).load());

    iasim::clearCalls();
    EXPECT_EQ(0, m_objCtl.switch_to(2, true));
    Sets sets = ispSets();
    auto sent = [&](u32 p_nKey) {
        return std::any_of(sets.begin(), sets.end(),
                           [&](const std::pair<int, u32>& p) { return p.first == int(p_nKey); });
    };
    EXPECT_TRUE(sent(KEY_BRIGHTNESS) && sent(KEY_SATURATION) && sent(KEY_NTD_M))
        << "equal values go too";
    EXPECT_FALSE(sent(KEY_ZOOM_IN) || sent(KEY_SCHEME_MODE) || sent(KEY_EMPTY1));
}

TEST_F(SchemeTest, FailedSwitchIsReportedAndTheSchemeStillCurrent) {
    m_objCtl.setKeyValToCache(1, KEY_SATURATION, 1, false);
    m_objCtl.setKeyValToCache(1, KEY_CONTRAST, 2, false);
    iasim::setStatus(KEY_SATURATION, IA_CMD_OPT_SET, -1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, m_objCtl.switch_to(1, false));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(
        std::string::npos,
        strOut.find(
            "SNS_SUCCESS == setParameters(m_ppUserKeyVal[m_nCurScheme], m_nKeyValSum, true)"));
    EXPECT_NE(std::string::npos, strOut.find("m_nCurScheme(1) m_nKeyValSum(37)\n"));
    EXPECT_EQ(1u, Access::curScheme(m_objCtl).load());
    EXPECT_EQ((Sets{{KEY_SATURATION, 1}}), ispSets());
}

TEST_F(SchemeTest, HostSchemeChoiceIncludesTheFactorySchemeAndRefusesOthers) {
    EXPECT_TRUE(m_objCtl.setParamScheme(2));
    EXPECT_TRUE(ispSets().empty()) << "all keys equal: nothing applied";
    m_objCtl.setKeyValToCache(4, KEY_BRIGHTNESS, 10, true);
    EXPECT_TRUE(m_objCtl.setParamScheme(4));
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 10}}), ispSets());
    int nScheme = -7;
    EXPECT_TRUE(m_objCtl.getParamScheme(nScheme));
    EXPECT_EQ(4, nScheme);
    EXPECT_EQ(0, m_objCtl.flush());
    EXPECT_FALSE(root().exists("/mnt/mtd/code/config_file/sensor1_4.cfg"));
    EXPECT_TRUE(m_objCtl.resetToLastParameters());
    EXPECT_EQ(0, m_objCtl.setParameter(KEY_BRIGHTNESS, 11, true));
    EXPECT_EQ(10u, cached(4, KEY_BRIGHTNESS)) << "the factory scheme refuses host writes";

    for (int nBad : {-1, 5}) {
        iasim::clearCalls();
        testing::internal::CaptureStdout();
        EXPECT_FALSE(m_objCtl.setParamScheme(nBad));
        std::string strOut = testing::internal::GetCapturedStdout();
        EXPECT_NE(std::string::npos,
                  strOut.find("p_nScheme >= 0 && (u32)p_nScheme <= m_stSysConf.nSchemeSum"));
        EXPECT_NE(std::string::npos, strOut.find("p_nScheme(" + std::to_string(nBad) + ")\n"));
        EXPECT_EQ(4u, Access::curScheme(m_objCtl).load());
        EXPECT_TRUE(iasim::calls().empty());
    }
}

TEST_F(SchemeTest, ModeIsStoredEvenWhenReported) {
    int nMode = -1;
    EXPECT_TRUE(m_objCtl.getParamMode(nMode));
    EXPECT_EQ(1, nMode);
    EXPECT_TRUE(m_objCtl.setParamMode(0));
    testing::internal::CaptureStdout();
    EXPECT_TRUE(m_objCtl.setParamMode(5));
    EXPECT_NE(std::string::npos,
              testing::internal::GetCapturedStdout().find("0 == p_nMode || 1 == p_nMode"));
    m_objCtl.getParamMode(nMode);
    EXPECT_EQ(5, nMode);
}

TEST_F(SchemeTest, HostOperationsWaitForASwitchInProgress) {
    zqsim::setTimeScale(0.001);
    Access::status(m_objCtl) |= SensorStatus::bSwitching;
    std::atomic<bool> bDone{false};
    std::thread host([&] {
        m_objCtl.setParamMode(0);
        bDone = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(bDone.load());
    Access::status(m_objCtl) &= ~SensorStatus::bSwitching;
    host.join();
    EXPECT_EQ(0, Access::paramMode(m_objCtl).load());
}

TEST_F(SchemeTest, WindowCheckCodes) {
    const struct {
        u32 sh, sm, eh, em;
        int nCode;
    } cases[] = {{8, 0, 18, 30, 0},   {18, 30, 8, 0, 507}, {8, 0, 24, 1, 506},
                 {25, 0, 26, 0, 505}, {0, 0, 24, 0, 0},    {8, 0, 8, 0, 507}};
    for (const auto& c : cases) {
        setWindow(0, c.sh, c.sm, c.eh, c.em);
        EXPECT_EQ(c.nCode, m_objCtl.paramCheck())
            << c.sh << ":" << c.sm << "-" << c.eh << ":" << c.em;
    }
}

TEST_F(SchemeTest, FlushWritesTheCurrentSchemeWhenItsWindowIsValid) {
    setCurrent(1);
    m_objCtl.setParameter(KEY_BRIGHTNESS, 66, true);
    EXPECT_EQ(0, m_objCtl.flush());
    std::vector<KeyVal> vec = stored(schemeFile(1));
    ASSERT_EQ(sampleScheme().size(), vec.size());
    EXPECT_EQ(KEY_BRIGHTNESS, vec[5].key);
    EXPECT_EQ(66u, vec[5].value);

    setWindow(1, 25, 0, 26, 0);
    m_objCtl.setParameter(KEY_BRIGHTNESS, 67, true);
    EXPECT_EQ(505, m_objCtl.flush());
    EXPECT_EQ(66u, stored(schemeFile(1))[5].value);

    Access::thermal(m_objCtl) = true;
    setWindow(1, 0, 0, 24, 0);
    EXPECT_EQ(0, m_objCtl.flush());
    EXPECT_TRUE(root().exists("/mnt/mtd/code/config_file/sensor-thermal1.cfg"));
}

TEST_F(SchemeTest, RestoreResendsTheStoredValueWithoutCaching) {
    m_objCtl.setKeyValToCache(0, KEY_WDR_MODE, 2, false);
    Access::showWdr(m_objCtl) = false;
    EXPECT_EQ(0, m_objCtl.restore(KEY_BRIGHTNESS));
    EXPECT_EQ(0, m_objCtl.restore(KEY_WDR_MODE));
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 50}}), ispSets());
    EXPECT_EQ(2u, cached(0, KEY_WDR_MODE)) << "a gate does not rewrite the stored scheme";
    testing::internal::CaptureStdout();
    EXPECT_EQ(-1, m_objCtl.restore(KEY_GAMMA));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("-1 != nPos   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos,
              strOut.find("restore key(2528) failed! make sure it is sensor ui key \n"));
}

TEST_F(SchemeTest, RestoreAeModeRestoresFocusThenExposure) {
    Access::thermal(m_objCtl) = true;
    Access::hasLens(m_objCtl) = false;
    EXPECT_TRUE(m_objCtl.restoreAeMode());
    EXPECT_TRUE(iasim::calls().empty());

    Access::thermal(m_objCtl) = false;
    Access::hasLens(m_objCtl) = true;
    EXPECT_TRUE(m_objCtl.restoreAeMode());
    EXPECT_EQ((Sets{{KEY_AUTO_FOCUS_MODE, 0}, {KEY_EXPOSE_MODE, 0}}), ispSets());

    iasim::clearCalls();
    iasim::setStatus(KEY_AUTO_FOCUS_MODE, IA_CMD_OPT_SET, -1);
    EXPECT_FALSE(m_objCtl.restoreAeMode());
    EXPECT_EQ((Sets{{KEY_AUTO_FOCUS_MODE, 0}}), ispSets());
}

TEST_F(SchemeTest, DayNightPairSwitchSendsDayNightModeOffAndKeepsTheScheme) {
    m_objCtl.setKeyValToCache(1, KEY_DN_MODE, 2, false);
    EXPECT_EQ(0, m_objCtl.LPR_switch_to(1));
    Sets sets = ispSets();
    EXPECT_NE(sets.end(),
              std::find(sets.begin(), sets.end(), std::make_pair(int(KEY_DN_MODE), 0u)));
    EXPECT_EQ(2u, cached(1, KEY_DN_MODE));
    EXPECT_EQ(1u, Access::curScheme(m_objCtl).load());
}

TEST_F(SchemeTest, ReloadAppliesOnlyTheStoredValuesThatDiffer) {
    EXPECT_EQ(0, m_objCtl.flush());
    m_objCtl.setParameter(KEY_BRIGHTNESS, 90, true);
    m_objCtl.setParameter(KEY_CONTRAST, 91, true);
    iasim::clearCalls();
    EXPECT_TRUE(m_objCtl.resetToLastParameters());
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 50}, {KEY_CONTRAST, 60}}), ispSets());
    EXPECT_EQ(50u, cached(0, KEY_BRIGHTNESS));

    // A file cut short: the missing records keep the values in memory and are not applied.
    std::string strFile = root().read(schemeFile(0));
    root().write(schemeFile(0), strFile.substr(0, 6 * sizeof(KeyVal)));
    m_objCtl.setParameter(KEY_BRIGHTNESS, 92, true);
    m_objCtl.setParameter(KEY_SHARPNESS, 93, true);
    iasim::clearCalls();
    testing::internal::CaptureStdout();
    EXPECT_TRUE(m_objCtl.resetToLastParameters());
    testing::internal::GetCapturedStdout();
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 50}}), ispSets());
    EXPECT_EQ(93u, cached(0, KEY_SHARPNESS));
}

}  // namespace

namespace {

// A reload that waits for a switch in progress reloads the scheme the switch made current, never
// the one that was current when it was called.
TEST_F(SchemeTest, ReloadWaitingForASwitchUsesTheNewScheme) {
    for (u32 s = 0; s < 4; ++s) {
        setCurrent(s);
        m_objCtl.setKeyValToCache(s, KEY_BRIGHTNESS, 10 + s, false);
        EXPECT_EQ(0, m_objCtl.flush());
    }
    setCurrent(0);
    std::unique_lock<std::recursive_mutex> objHeld(Access::schemeLock(m_objCtl));
    testing::internal::CaptureStdout();
    std::thread reload([&] { m_objCtl.resetToLastParameters(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the reload reach the lock
    m_objCtl.switch_to(2, false);
    objHeld.unlock();
    reload.join();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(2u, Access::curScheme(m_objCtl).load());
    EXPECT_EQ(12u, cached(2, KEY_BRIGHTNESS));
    EXPECT_EQ(10u, cached(0, KEY_BRIGHTNESS));
}

}  // namespace
