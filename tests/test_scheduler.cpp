// The scheme scheduler: selection by day/night state, by time window and by both, the zoom
// synchronisation request, the raw sensor check, and the thread beside host operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "ControllerFixture.h"
#include "ZqSim.h"

namespace {

class SchedulerTest : public ControllerFixture {
  protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        for (u32 s = 0; s < 4; ++s)
            setWindow(s, 0, 0, 0, 0);  // no window open
    }
    u32 current() { return Access::curScheme(m_objCtl).load(); }
    bool sent(u32 p_nKey, u32 p_nValue) {
        Sets sets = ispSets();
        return std::find(sets.begin(), sets.end(), std::make_pair(int(p_nKey), p_nValue)) !=
               sets.end();
    }
    void pass() { m_objCtl.sensorThread(); }
};

TEST_F(SchedulerTest, ModeZeroNeverSwitchesButServesTheZoomRequest) {
    Access::schemeByDN(m_objCtl) = true;
    Access::paramMode(m_objCtl) = 0;
    iasim::setDnState(0, 1);
    root().write("/mnt/mtd/hd1/program/config/sync_fov.ini", "zoom1=1200,focus1=3400,\n");
    ISensorController objOther;
    objOther.setChannelID(2);
    objOther.doIoCrtl(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV, IA_CMD_OPT_SET, nullptr);
    objOther.sensorThread();
    EXPECT_EQ(1, ISensorController::m_nChanneldDosomething.load())
        << "camera 2 leaves camera 1's request";
    testing::internal::CaptureStdout();
    pass();
    EXPECT_EQ("zoom= 1200,focus= 3400 \n", testing::internal::GetCapturedStdout());
    EXPECT_EQ((Sets{{KEY_MZ_POSITION, 1200}}), ispSets());
    EXPECT_EQ(0u, current());
    EXPECT_EQ(-1, ISensorController::m_nChanneldDosomething.load());
    EXPECT_EQ(-1, ISensorController::m_nPassKeycmd.load());
}

TEST_F(SchedulerTest, DayNightStateChoosesSchemeZeroOrOne) {
    Access::schemeByDN(m_objCtl) = true;
    iasim::setDnState(0, 1);
    pass();
    EXPECT_EQ(1u, current());
    iasim::setDnState(0, 0);
    pass();
    EXPECT_EQ(0u, current());
    iasim::setStatus(IA_CMD_DN_STATE, IA_CMD_OPT_GET, -1);
    setCurrent(1);
    pass();
    EXPECT_EQ(0u, current()) << "an unread state counts as day";
}

TEST_F(SchedulerTest, TimeWindowsChooseTheirScheme) {
    Access::schemeByTime(m_objCtl) = true;
    setWindow(1, 8, 0, 18, 0);
    setWindow(2, 18, 0, 24, 0);
    const struct {
        int h, m;
        u32 nScheme;
    } cases[] = {{7, 59, 0}, {8, 0, 1}, {17, 59, 1}, {18, 0, 2}, {23, 59, 2}, {0, 0, 0}};
    for (const auto& c : cases) {
        zqsim::setClock(c.h, c.m);
        pass();
        EXPECT_EQ(c.nScheme, current()) << c.h << ":" << c.m;
    }
    setWindow(3, 7, 0, 9, 0);
    setWindow(1, 8, 0, 10, 0);
    zqsim::setClock(8, 30);
    int nScheme = -1, nSchedule = -1;
    m_objCtl.judgeCurScheme(nScheme, nSchedule);
    EXPECT_EQ(1, nScheme) << "overlapping windows: the lower scheme wins";
    EXPECT_EQ(1, nSchedule);
}

TEST_F(SchedulerTest, BusyControllerIsNotWaitedFor) {
    Access::schemeByDN(m_objCtl) = true;
    iasim::setDnState(0, 1);
    for (u32 nBit : {SensorStatus::bSwitching, SensorStatus::bReloading}) {
        Access::status(m_objCtl) = SensorStatus::bInitialized | nBit;
        pass();
        EXPECT_EQ(0u, current());
    }
    Access::status(m_objCtl) = SensorStatus::bInitialized;
    pass();
    EXPECT_EQ(1u, current());
}

TEST_F(SchedulerTest, WindowsAndDayNightPairTakeTurns) {
    Access::schemeByTime(m_objCtl) = true;
    Access::lprScheme(m_objCtl) = true;
    m_objCtl.setKeyValToCache(1, KEY_DN_MODE, 2, false);
    m_objCtl.setKeyValToCache(3, KEY_BRIGHTNESS, 33, false);
    setWindow(2, 8, 0, 12, 0);
    setWindow(3, 12, 0, 18, 0);

    iasim::setDnState(0, 1);
    zqsim::setClock(6, 0);
    pass();
    EXPECT_EQ(1u, current());
    EXPECT_TRUE(sent(KEY_DN_MODE, 0)) << "the night scheme goes with day/night switching off";
    EXPECT_EQ(0u, Access::lastScheduleRef(m_objCtl));

    iasim::clearCalls();
    zqsim::setClock(8, 0);
    pass();
    EXPECT_EQ(2u, current());
    EXPECT_TRUE(sent(KEY_BRIGHTNESS, 50)) << "coming from the pair, every key is applied";

    iasim::clearCalls();
    zqsim::setClock(12, 0);
    pass();
    EXPECT_EQ(3u, current());
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 33}}), ispSets()) << "window to window: only the differences";

    iasim::clearCalls();
    iasim::setDnState(0, 0);
    zqsim::setClock(19, 0);
    pass();
    EXPECT_EQ(0u, current());
    EXPECT_TRUE(sent(KEY_DN_MODE, 0));
    iasim::clearCalls();
    pass();
    EXPECT_TRUE(ispSets().empty());
}

TEST_F(SchedulerTest, ZoomSynchronisationNeedsTheComma) {
    const struct {
        const char* szFile;
        bool bApplied;
    } cases[] = {{"zoom1=1200\n", false},
                 {"zoom1=1200,\nother=1\n", true},
                 {"zoom2=700,focus2=1,\n", false},
                 {"", false}};
    for (const auto& c : cases) {
        iasim::clearCalls();
        root().write("/mnt/mtd/hd1/program/config/sync_fov.ini", c.szFile);
        testing::internal::CaptureStdout();
        EXPECT_EQ(1, m_objCtl.sync_fov());
        testing::internal::GetCapturedStdout();
        Sets expected;
        if (c.bApplied) expected.push_back({KEY_MZ_POSITION, 1200});
        EXPECT_EQ(expected, ispSets()) << c.szFile;
    }
}

TEST_F(SchedulerTest, SensorCheckReadsOrWritesTheCheckRecord) {
    iasim::setValue(0, IA_CMD_SENSOR_CHECK, 42);
    std::string strText = "(5,2,7)";
    EXPECT_EQ(0, m_objCtl.SensorCheck(strText));
    EXPECT_EQ("42", strText);
    ASSERT_EQ(1u, iasim::calls().size());
    EXPECT_EQ(IA_CMD_OPT_GET, iasim::calls()[0].option);
    EXPECT_EQ((std::vector<u32>{5, 2, 7, 42}), iasim::calls()[0].words);

    iasim::clearCalls();
    strText = "(5,1,7)";
    iasim::setStatus(IA_CMD_SENSOR_CHECK, IA_CMD_OPT_SET, -3);
    EXPECT_EQ(-3, m_objCtl.SensorCheck(strText));
    EXPECT_EQ("(5,1,7)", strText);
    EXPECT_EQ((std::vector<u32>{5, 1, 7, 0}), iasim::calls()[0].words);

    for (const char* szBad : {"(5,2)", "5,2,7", ""}) {
        iasim::clearCalls();
        strText = szBad;
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, m_objCtl.SensorCheck(strText));
        std::string strOut = testing::internal::GetCapturedStdout();
        EXPECT_NE(std::string::npos,
                  strOut.find(std::string(" getParameters fail p_strIds = ") + szBad + " \n"));
        EXPECT_EQ(0u, strOut.find("ISensorController"));
        EXPECT_TRUE(iasim::calls().empty());
    }
}

// Host threads set keys, switch schemes, reload and flush while the thread switches on every
// pass: no deadlock, no race, and the schemes keep their shape.
TEST_F(SchedulerTest, ThreadAndHostOperationsRunTogether) {
    zqsim::setTimeScale(0.0005);
    Access::schemeByDN(m_objCtl) = true;
    m_objCtl.flush();
    ASSERT_TRUE(Access::thread(m_objCtl)->start());
    std::atomic<bool> bStop{false};
    std::thread flipper([&] {
        for (int i = 0; !bStop; ++i) {
            iasim::setDnState(0, i % 2);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    auto tEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    auto host = [&](unsigned p_nSeed) {
        std::mt19937 rng(p_nSeed);
        for (int i = 0; i < 1500 || std::chrono::steady_clock::now() < tEnd; ++i) {
            int nValue = 0;
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 50));
            switch (rng() % 7) {
                case 0:
                    m_objCtl.setParameter(KEY_BRIGHTNESS, static_cast<int>(rng() % 100), true);
                    break;
                case 1:
                    m_objCtl.setParamScheme(static_cast<int>(rng() % 5));
                    break;
                case 2:
                    m_objCtl.resetToLastParameters();
                    break;
                case 3:
                    m_objCtl.getParameter(KEY_CONTRAST, nValue);
                    break;
                case 4:
                    m_objCtl.restore(KEY_SATURATION);
                    break;
                case 5:
                    m_objCtl.setParamMode(static_cast<int>(rng() % 2));
                    break;
                default:
                    m_objCtl.flush();
                    break;
            }
        }
    };
    testing::internal::CaptureStdout();
    std::thread h1(host, 1), h2(host, 2), h3(host, 3);
    h1.join();
    h2.join();
    h3.join();
    bStop = true;
    flipper.join();
    EXPECT_TRUE(Access::thread(m_objCtl)->stop());
    testing::internal::GetCapturedStdout();
    EXPECT_LE(current(), 4u);
    size_t nPasses = 0;
    for (const iasim::Call& c : iasim::calls())
        nPasses += c.cmd == IA_CMD_DN_STATE;
    EXPECT_GT(nPasses, 5u) << "the thread ran beside the hosts";
    std::vector<KeyVal> vecShape = sampleScheme();
    for (u32 s = 0; s <= 4; ++s) {
        for (u32 i = 0; i < vecShape.size(); ++i)
            EXPECT_EQ(vecShape[i].key, Access::scheme(m_objCtl, s)[i].key);
    }
}

}  // namespace
