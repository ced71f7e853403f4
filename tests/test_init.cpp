// Initialisation and tear-down end to end on the sample device tree.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "DeviceFixture.h"
#include "SensorFile.h"
#include "ZqSim.h"

namespace {

class InitTest : public DeviceFixture {
  protected:
    ino_t inode(const std::string& p_strDevicePath) {
        struct stat st;
        return stat(root().host(p_strDevicePath).c_str(), &st) == 0 ? st.st_ino : 0;
    }
    u32 valueIn(const std::vector<KeyVal>& p_vec, u32 p_nKey) {
        for (const KeyVal& kv : p_vec) {
            if (kv.key == p_nKey) return kv.value;
        }
        return 0xDEADBEEF;
    }
};

TEST_F(InitTest, StatusFollowsTheLifeCycle) {
    ISensorController objCtl;
    objCtl.uinit();  // before init: nothing happens
    EXPECT_EQ(0, objCtl.getSensorStatus());
    objCtl.setChannelID(1);
    objCtl.setVideoStreamModule(&m_objVideo);
    quiet([&] { EXPECT_TRUE(objCtl.init(moduleFor(1))); });
    EXPECT_EQ(1, objCtl.getSensorStatus());
    EXPECT_EQ(SensorStatus::bInitialized, Access::status(objCtl).load());
    EXPECT_TRUE(Access::thread(objCtl)->isRunning());
    EXPECT_EQ(1u, objCtl.getSensorType());
    objCtl.uinit();
    EXPECT_EQ(1, objCtl.getSensorStatus());
    EXPECT_FALSE(Access::thread(objCtl)->isRunning());
    EXPECT_EQ(nullptr, Access::table(objCtl));
    EXPECT_EQ(0u, Access::keyValSum(objCtl));
    EXPECT_TRUE(Access::shutterOnce(objCtl).load());
}

TEST_F(InitTest, FirstStartCreatesTheSchemesFromTheFactoryValues) {
    ISensorController& objCtl = start(1);
    u32 nSum = Access::keyValSum(objCtl);
    EXPECT_EQ(102u, nSum) << "the bullet's merged style less ids 10 and 11";
    EXPECT_EQ(std::vector<std::string>{"rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg"},
              zqsim::systemCommands());
    EXPECT_EQ(std::string("\x08\x00\x00\x00", 4),
              root().read("/mnt/mtd/code/config_file/snsversion.cfg"));
    std::vector<KeyVal> vecFactory(Access::scheme(objCtl, 4), Access::scheme(objCtl, 4) + nSum);
    for (u32 s = 0; s < 4; ++s) {
        std::vector<KeyVal> vecFile = stored(schemeFile(1, s));
        ASSERT_EQ(nSum, vecFile.size());
        EXPECT_EQ(0, memcmp(vecFactory.data(), vecFile.data(), nSum * sizeof(KeyVal))) << s;
    }
    EXPECT_EQ(KEY_SCHEME_MODE, vecFactory[0].key);
    EXPECT_EQ(0u, vecFactory[0].value);
    EXPECT_EQ(0u, Access::curScheme(objCtl).load()) << "scheme 0 applied";
    EXPECT_EQ(165, Access::keyCmdSum(objCtl));
}

TEST_F(InitTest, RestartWithTheRightVersionTouchesNoSchemeFile) {
    ISensorController& objCtl = start(1);
    objCtl.uinit();
    std::map<u32, ino_t> inodes;
    for (u32 s = 0; s < 4; ++s)
        inodes[s] = inode(schemeFile(1, s));
    zqsim::clearSystemCommands();
    quiet([&] { objCtl.init(moduleFor(1)); });
    EXPECT_TRUE(zqsim::systemCommands().empty());
    for (u32 s = 0; s < 4; ++s)
        EXPECT_EQ(inodes[s], inode(schemeFile(1, s))) << s;
    EXPECT_EQ(165, Access::keyCmdSum(objCtl));
}

TEST_F(InitTest, StaleVersionDeletesAndRecreatesTheSchemeFiles) {
    ISensorController& objCtl = start(1);
    objCtl.setParameter(KEY_BRIGHTNESS, 77, true);
    objCtl.flush();
    objCtl.uinit();
    root().write("/mnt/mtd/code/config_file/snsversion.cfg", std::string("\x07\x00\x00\x00", 4));
    root().writeDebugSwitch("4\n");
    zqsim::clearSystemCommands();
    std::string strOut = quiet([&] { objCtl.init(moduleFor(1)); });
    EXPECT_NE(std::string::npos,
              strOut.find("check the sensor version,   local(7) --> libluxtune.so(8), source the "
                          "cmd: rm -rf /mnt/mtd/code/config*/sensor*\n"));
    EXPECT_EQ(std::vector<std::string>{"rm -rf /mnt/mtd/code/config*/sensor1_[0-3].cfg"},
              zqsim::systemCommands());
    EXPECT_NE(77u, valueIn(stored(schemeFile(1, 0)), KEY_BRIGHTNESS));
    EXPECT_EQ(std::string("\x08\x00\x00\x00", 4),
              root().read("/mnt/mtd/code/config_file/snsversion.cfg"));
}

TEST_F(InitTest, DayNightPairDeviceWritesTheNightSchemeWithSixChanges) {
    useVariant("lpr");
    ISensorController& objCtl = start(1);
    EXPECT_TRUE(Access::lprScheme(objCtl));
    std::vector<KeyVal> vecDay = stored(schemeFile(1, 0));
    std::vector<KeyVal> vecNight = stored(schemeFile(1, 1));
    ASSERT_EQ(vecDay.size(), vecNight.size());
    std::map<u32, u32> changed;
    for (size_t i = 0; i < vecDay.size(); ++i) {
        if (vecDay[i].value != vecNight[i].value) changed[vecNight[i].key] = vecNight[i].value;
    }
    std::map<u32, u32> expected = {{KEY_DN_MODE, 0},      {KEY_MAX_SHUTTER, 18},
                                   {KEY_MIN_SHUTTER, 20}, {KEY_METER_AREA, 1},
                                   {KEY_IR_MODE, 2},      {KEY_IR_MANUAL_STRG_NEAR, 40}};
    for (auto it = expected.begin();
         it != expected.end();) {  // keys whose factory value is already the change
        it = valueIn(vecDay, it->first) == it->second ? expected.erase(it) : std::next(it);
    }
    EXPECT_EQ(expected, changed);
    EXPECT_EQ(stored(schemeFile(1, 2)).size(), vecDay.size());
}

TEST_F(InitTest, DetailTextSetsLensAndInfraredPower) {
    const struct {
        const char* szDetail;
        bool bLens;
        bool bLimited;
    } cases[] = {{"(max_scheme=4)(lensId=0)", false, false},
                 {"(max_scheme=4)(lensId=3)(isInfrared=17)", true, true},
                 {"(max_scheme=4)(lensId=3", false, false},
                 {"(max_scheme=4)", false, false}};
    for (const auto& c : cases) {
        ISensorController& objCtl = start(1, c.szDetail);
        EXPECT_EQ(c.bLens, Access::hasLens(objCtl)) << c.szDetail;
        EXPECT_EQ(c.bLimited, Access::limitedIrPower(objCtl)) << c.szDetail;
        objCtl.uinit();
    }
}

TEST_F(InitTest, VideoModuleAnswersSetTheShowFlags) {
    root().writeMachineInfo(1, "Hi3516AV200");
    root().write("/hd1/moduleConfig/moduleConfig.xml",
                 "<ModuleConfig><Module "
                 "id=\"1\"><Detail>(max_scheme=4)(lensId=3)</Detail></Module></ModuleConfig>");
    AVStreamParam objSmall;
    objSmall.setVideoEncoderType(1);
    objSmall.setVideoHeight(240);
    m_objVideo.setStreams({AVStreamParam(), objSmall});
    LimitedFramesWDRModeParam objLimited;
    objLimited.setLimitFramesModeId(0);
    objLimited.setLimitWdr(1);
    objLimited.setLDCSupport(true);
    objLimited.setLDCSwitch(true);
    m_objVideo.setLimitedFrames(objLimited);
    ISensorController& objCtl = start(1);
    EXPECT_FALSE(getshowBeawayFalg());
    EXPECT_FALSE(Access::showWdr(objCtl).load());
    EXPECT_TRUE(Access::showLdc(objCtl).load());

    ISensorController objAlone;  // no video module: the queries are skipped
    objAlone.setChannelID(1);
    quiet([&] { objAlone.init(moduleFor(1)); });
    EXPECT_TRUE(getshowBeawayFalg());
    EXPECT_TRUE(Access::showWdr(objAlone).load());
    EXPECT_FALSE(Access::showLdc(objAlone).load());
    objAlone.uinit();
}

TEST_F(InitTest, ShortSchemeFileIsCompletedWithFactoryValues) {
    ISensorController& objCtl = start(1);
    std::vector<KeyVal> vecFile = stored(schemeFile(1, 2));
    vecFile[1].value = 7;
    root().write(schemeFile(1, 2),
                 std::string(reinterpret_cast<char*>(vecFile.data()), 3 * sizeof(KeyVal)));
    objCtl.uinit();
    quiet([&] { objCtl.init(moduleFor(1)); });
    KeyVal* pScheme = Access::scheme(objCtl, 2);
    KeyVal* pFactory = Access::scheme(objCtl, 4);
    EXPECT_EQ(7u, pScheme[1].value);
    u32 nSum = Access::keyValSum(objCtl);
    EXPECT_EQ(0, memcmp(pScheme + 3, pFactory + 3, (nSum - 3) * sizeof(KeyVal)));
}

TEST_F(InitTest, CallsAfterUinitFailCleanly) {
    ISensorController& objCtl = start(1);
    objCtl.uinit();
    int nValue = 5;
    iasim::clearCalls();
    EXPECT_FALSE(objCtl.getParameter(KEY_BRIGHTNESS, nValue));
    EXPECT_LT(objCtl.setParameter(KEY_BRIGHTNESS, 1, true), 0);
    EXPECT_FALSE(objCtl.setParamScheme(0));
    EXPECT_EQ(0, objCtl.flush());
    EXPECT_TRUE(objCtl.resetToLastParameters());
    EXPECT_FALSE(objCtl.resetParameters());
    EXPECT_EQ(0, objCtl.switch_to(1, false));
    EXPECT_TRUE(iasim::calls().empty());
    quiet([&] { EXPECT_EQ(-1, objCtl.restore(KEY_BRIGHTNESS)); });
}

TEST_F(InitTest, MemoryExhaustionLeavesAControllerWithoutSchemes) {
    std::string strOut;
    ISensorController objCtl;
    objCtl.setChannelID(1);
    ModuleConfigure objModule = moduleFor(1);
    objModule.setDetail("(max_scheme=999999999)(lensId=3)");
    strOut = quiet([&] { EXPECT_TRUE(objCtl.init(objModule)); });
    EXPECT_NE(std::string::npos, strOut.find("NULL != m_ppUserKeyVal   ~~~Assertion failed."));
    EXPECT_EQ(1, objCtl.getSensorStatus());
    int nValue = 0;
    EXPECT_FALSE(objCtl.getParameter(KEY_BRIGHTNESS, nValue));
    EXPECT_LT(objCtl.setParameter(KEY_BRIGHTNESS, 1, true), 0);
    objCtl.uinit();
}

TEST_F(InitTest, ResetRecreatesTheFilesFromFactoryValues) {
    for (const char* szDetail : {"(max_scheme=4)(lensId=3)", "(max_scheme=6)(lensId=3)"}) {
        zqsim::clearSystemCommands();
        ISensorController& objCtl = start(1, szDetail);
        u32 nSchemes = Access::sysConf(objCtl).nSchemeSum;
        for (u32 s = 0; s < nSchemes; ++s) {
            objCtl.setParamScheme(static_cast<int>(s));
            objCtl.setParameter(KEY_BRIGHTNESS, static_cast<int>(60 + s), true);
            objCtl.flush();
        }
        objCtl.setParamMode(0);
        quiet([&] { EXPECT_TRUE(objCtl.resetParameters()); });
        EXPECT_EQ(0u, Access::curScheme(objCtl).load());
        EXPECT_EQ(1, Access::paramMode(objCtl).load());
        EXPECT_EQ(SensorStatus::bInitialized, Access::status(objCtl).load());
        u32 nFactory = 0;
        objCtl.getKeyValFromCache(nSchemes, KEY_BRIGHTNESS, nFactory);
        for (u32 s = 0; s < nSchemes; ++s) {
            u32 nExpected = s < 4 ? nFactory : 60 + s;  // the delete command covers schemes 0 to 3
            EXPECT_EQ(nExpected, valueIn(stored(schemeFile(1, s)), KEY_BRIGHTNESS))
                << szDetail << " " << s;
        }
        objCtl.uinit();
        root().remove("/mnt/mtd/code/config_file/snsversion.cfg");
    }
}

TEST_F(InitTest, ResetAtHighDebugLevelFallsBackToTheKeptConfiguration) {
    ISensorController& objCtl = start(1, "(max_scheme=6)(lensId=3)");
    root().remove("/hd1/moduleConfig/moduleConfig.xml");
    root().writeDebugSwitch("6\n");
    quiet([&] { EXPECT_TRUE(objCtl.resetParameters()); });
    EXPECT_EQ(6u, Access::sysConf(objCtl).nSchemeSum);
    EXPECT_STREQ("(max_scheme=6)(lensId=3)", Access::sysConf(objCtl).moduleConfig.szDetail);
}

TEST_F(InitTest, ThermalChannelOfADualSensorDeviceUsesItsOwnFiles) {
    useVariant("thermal-dual");
    ISensorController& objVisible = start(1);
    ISensorController& objThermal = start(2);
    EXPECT_TRUE(Access::thermal(objThermal));
    EXPECT_FALSE(Access::thermal(objVisible));
    EXPECT_TRUE(root().exists("/mnt/mtd/code/config_file/sensor-thermal0.cfg"));
    EXPECT_TRUE(root().exists(schemeFile(1, 0)));
    EXPECT_FALSE(root().exists(schemeFile(2, 0)));
    EXPECT_LT(Access::keyValSum(objThermal), Access::keyValSum(objVisible));
}

}  // namespace

namespace {

// Resets, switches and key writes from several host threads while the scheduler thread follows
// a flipping day/night state on a fast clock: no deadlock, no race.
TEST_F(InitTest, ResetBesideTheThreadAndOtherHosts) {
    zqsim::setTimeScale(0.0005);
    ISensorController& objCtl = start(1);
    objCtl.setParameter(KEY_SCHEME_MODE, 2, true);
    objCtl.flush();
    std::atomic<bool> bStop{false};
    std::thread flipper([&] {
        for (int i = 0; !bStop; ++i) {
            iasim::setDnState(0, i % 2);
            std::this_thread::sleep_for(std::chrono::microseconds(400));
        }
    });
    auto host = [&](int p_nSeed) {
        for (int i = 0; i < 60; ++i) {
            int nValue = 0;
            switch ((i + p_nSeed) % 6) {
                case 0:
                    objCtl.resetParameters();
                    break;
                case 1:
                    objCtl.setParamScheme(i % 5);
                    break;
                case 2:
                    objCtl.setParameter(KEY_CONTRAST, i, true);
                    break;
                case 3:
                    objCtl.getParameter(KEY_BRIGHTNESS, nValue);
                    break;
                case 4:
                    objCtl.getSensorType();
                    break;
                default:
                    objCtl.flush();
                    break;
            }
        }
    };
    quiet([&] {
        std::thread h1(host, 0), h2(host, 3);
        h1.join();
        h2.join();
    });
    bStop = true;
    flipper.join();
    EXPECT_EQ(1, objCtl.getSensorStatus());
    EXPECT_LE(Access::curScheme(objCtl).load(), 4u);
}

}  // namespace
