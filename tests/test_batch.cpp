// Batch application: the skip test, keys without handler, scheme mode, thermal redirects,
// day/night ownership, light-type pairs, the infrared power limit, unknown keys, failures and
// the cache step.
#include <gtest/gtest.h>

#include "ControllerFixture.h"

namespace {

using BatchTest = ControllerFixture;

TEST_F(BatchTest, EqualRecordsAreSkippedWithoutHandlerOrTrace) {
    root().writeDebugSwitch("6\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, apply({{KEY_BRIGHTNESS, 50}, {KEY_SATURATION, 100}}));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ((Sets{{KEY_SATURATION, 100}}), ispSets());
    EXPECT_EQ(std::string::npos, strOut.find("set KEY_BRIGHTNESS"));
    EXPECT_NE(
        std::string::npos,
        strOut.find("\033[0m\033[31m====================== set KEY_SATURATION (2337,100) "
                    "func:&ISensorController::doIaCmd ia_cmd:2337 =====================\n\033[0m"));
    EXPECT_EQ(100u, cached(0, KEY_SATURATION));
    EXPECT_EQ('\n', strOut.back()) << "a batch ends its output with a line feed";

    iasim::clearCalls();
    EXPECT_EQ(0, apply({{KEY_BRIGHTNESS, 50}}, false));
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 50}}), ispSets())
        << "without the cache flag every record goes";
}

TEST_F(BatchTest, KeysWithoutHandlerOnlyReachTheCache) {
    EXPECT_EQ(0, apply({{KEY_EMPTY1, 3}, {KEY_SCHEME_END_HOUR, 18}, {KEY_EMPTY2, 4}}));
    EXPECT_TRUE(iasim::calls().empty());
    EXPECT_EQ(3u, cached(0, KEY_EMPTY1));
    EXPECT_EQ(18u, cached(0, KEY_SCHEME_END_HOUR));
    EXPECT_EQ(0, apply({{KEY_EMPTY1, 9}}, false));
    EXPECT_EQ(3u, cached(0, KEY_EMPTY1)) << "without the cache flag the array keeps its value";
}

TEST_F(BatchTest, SchemeModeOfSchemeZeroSpreadsToTheOtherUserSchemes) {
    const struct {
        u32 nValue;
        bool bTime, bDN;
        u32 nSpread;
    } cases[] = {{1, true, false, 1}, {2, false, true, 2}, {7, false, false, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(0, apply({{KEY_SCHEME_MODE, c.nValue}}));
        EXPECT_EQ(c.bTime, Access::schemeByTime(m_objCtl).load()) << c.nValue;
        EXPECT_EQ(c.bDN, Access::schemeByDN(m_objCtl).load()) << c.nValue;
        EXPECT_EQ(c.nValue, cached(0, KEY_SCHEME_MODE));
        for (u32 s = 1; s <= 3; ++s)
            EXPECT_EQ(c.nSpread, cached(s, KEY_SCHEME_MODE)) << s;
        EXPECT_EQ(0u, cached(4, KEY_SCHEME_MODE)) << "the factory scheme is not touched";
    }
    EXPECT_TRUE(iasim::calls().empty());

    Access::schemeByDN(m_objCtl) = true;
    setCurrent(2);
    EXPECT_EQ(0, apply({{KEY_SCHEME_MODE, 1}}));
    EXPECT_FALSE(Access::schemeByTime(m_objCtl).load()) << "only scheme 0 chooses the mode";
    EXPECT_TRUE(Access::schemeByDN(m_objCtl).load());
    EXPECT_EQ(1u, cached(2, KEY_SCHEME_MODE));
    EXPECT_EQ(0u, cached(1, KEY_SCHEME_MODE));
}

TEST_F(BatchTest, ThermalChannelRedirectsFourKeys) {
    for (bool bThermal : {false, true}) {
        Access::thermal(m_objCtl) = bThermal;
        iasim::clearCalls();
        m_objVideo.clearNotifications();
        EXPECT_EQ(0, apply({{KEY_NONE_COLOR_MODE, bThermal ? 2u : 1u},
                            {KEY_TEMPERATURE_STRIP_SWITCH, bThermal ? 2u : 1u}}));
        if (bThermal) {
            EXPECT_TRUE(ispSets().empty());
            EXPECT_EQ((Notes{{KEY_NONE_COLOR_MODE, 2}, {KEY_TEMPERATURE_STRIP_SWITCH, 2}}),
                      notified());
        } else {
            EXPECT_EQ((Sets{{KEY_NONE_COLOR_MODE, 1}, {KEY_TEMPERATURE_STRIP_SWITCH, 1}}),
                      ispSets());
            EXPECT_TRUE(notified().empty());
        }
        EXPECT_EQ(bThermal ? 2u : 1u, cached(0, KEY_NONE_COLOR_MODE));
    }
    // Mirror and stabilisation go through their handlers, whose failure does not stop the batch.
    iasim::clearCalls();
    iasim::setStatus(KEY_MIRROR, IA_CMD_OPT_SET, -1);
    iasim::setStatus(KEY_ANTI_SHAKE_SWITCH, IA_CMD_OPT_SET, -1);
    EXPECT_EQ(0, apply({{KEY_MIRROR, 1}, {KEY_ANTI_SHAKE_SWITCH, 1}, {KEY_BRIGHTNESS, 51}}));
    EXPECT_EQ((Sets{{KEY_MIRROR, 1}, {KEY_ANTI_SHAKE_SWITCH, 1}, {KEY_BRIGHTNESS, 51}}), ispSets());
    EXPECT_EQ(1u, cached(0, KEY_MIRROR));
}

TEST_F(BatchTest, SchemeZeroOwnsTheDayNightKeysWhenSchemesFollowDayNight) {
    Access::schemeByDN(m_objCtl) = true;
    setCurrent(1);
    EXPECT_EQ(0, apply({{KEY_DTN_THR, 45}}));
    EXPECT_TRUE(ispSets().empty());
    EXPECT_EQ(45u, cached(1, KEY_DTN_THR));
    EXPECT_EQ(30u, cached(0, KEY_DTN_THR));

    setCurrent(0);
    EXPECT_EQ(0, apply({{KEY_DTN_THR, 35}, {KEY_DN_MODE, 2}}));
    EXPECT_EQ((Sets{{KEY_DTN_THR, 35}, {KEY_DN_MODE, 2}}), ispSets());
    EXPECT_EQ(35u, cached(0, KEY_DTN_THR));
    EXPECT_EQ(35u, cached(1, KEY_DTN_THR));
    EXPECT_EQ(2u, cached(1, KEY_DN_MODE));

    Access::schemeByDN(m_objCtl) = false;
    setCurrent(1);
    iasim::clearCalls();
    EXPECT_EQ(0, apply({{KEY_DTN_THR, 20}}));
    EXPECT_EQ((Sets{{KEY_DTN_THR, 20}}), ispSets());
}

TEST_F(BatchTest, LightTypeMakesOneKeyOfEachPairLive) {
    // Intelligent light: the primary key is skipped, the partner is applied through it.
    m_objCtl.setKeyValToCache(0, KEY_LIGHT_TYPE, 2, false);
    EXPECT_EQ(0, apply({{KEY_IR_MODE, 3}}));
    EXPECT_TRUE(ispSets().empty());
    EXPECT_EQ(1u, cached(0, KEY_IR_MODE));
    EXPECT_EQ(0, apply({{KEY_IR_MODE_INTELL, 3}, {KEY_IR_MANUAL_STRG_MEDIUM_INTELL, 33}}));
    EXPECT_EQ((Sets{{KEY_IR_MODE, 3}, {KEY_IR_MANUAL_STRG_MEDIUM, 33}}), ispSets());
    EXPECT_EQ(3u, cached(0, KEY_IR_MODE));
    EXPECT_EQ(3u, cached(0, KEY_IR_MODE_INTELL));
    EXPECT_EQ(33u, cached(0, KEY_IR_MANUAL_STRG_MEDIUM));
    EXPECT_EQ(33u, cached(0, KEY_IR_MANUAL_STRG_MEDIUM_INTELL));

    // Any other light type: the reverse.
    m_objCtl.setKeyValToCache(0, KEY_LIGHT_TYPE, 0, false);
    iasim::clearCalls();
    EXPECT_EQ(0, apply({{KEY_IR_MODE_INTELL, 4}, {KEY_IR_MANUAL_STRG_MEDIUM_INTELL, 34}}));
    EXPECT_TRUE(ispSets().empty());
    EXPECT_EQ(3u, cached(0, KEY_IR_MODE_INTELL));
    EXPECT_EQ(0, apply({{KEY_IR_MODE, 5}}));
    EXPECT_EQ((Sets{{KEY_IR_MODE, 5}}), ispSets());
    EXPECT_EQ(5u, cached(0, KEY_IR_MODE_INTELL));
}

TEST_F(BatchTest, InfraredPowerLimitRefusesTheRecordThatPassesIt) {
    Access::limitedIrPower(m_objCtl) = true;  // far strength 60 in the scheme
    EXPECT_EQ(0, apply({{KEY_IR_MANUAL_STRG_NEAR, 40}}, false));
    EXPECT_EQ(-163,
              apply({{KEY_BRIGHTNESS, 52}, {KEY_IR_MANUAL_STRG_NEAR, 41}, {KEY_CONTRAST, 1}}));
    EXPECT_EQ((Sets{{KEY_IR_MANUAL_STRG_NEAR, 40}, {KEY_BRIGHTNESS, 52}}), ispSets());
    EXPECT_EQ(40u, cached(0, KEY_IR_MANUAL_STRG_NEAR));
    EXPECT_EQ(60u, cached(0, KEY_CONTRAST));

    m_objCtl.setKeyValToCache(0, KEY_LIGHT_TYPE, 2, false);
    EXPECT_EQ(-167, apply({{KEY_IR_MANUAL_STRG_FAR, 61}})) << "tested even when not the live key";
}

TEST_F(BatchTest, InfraredPowerLimitReadsTheOtherStrengthFromTheIsp) {
    Access::limitedIrPower(m_objCtl) = true;
    Access::setSchemes(m_objCtl, 4, {{KEY_IR_MANUAL_STRG_NEAR, 10}});
    iasim::setValue(0, KEY_IR_MANUAL_STRG_FAR, 70);
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, apply({{KEY_IR_MANUAL_STRG_NEAR, 30}}));
    EXPECT_EQ(-163, apply({{KEY_IR_MANUAL_STRG_NEAR, 31}}));
    Access::setSchemes(m_objCtl, 4, {{KEY_BRIGHTNESS, 1}});
    iasim::setStatus(KEY_IR_MANUAL_STRG_FAR, IA_CMD_OPT_GET, -1);
    EXPECT_EQ(0, apply({{KEY_IR_MANUAL_STRG_NEAR, 95}})) << "an unread strength disables the test";
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("### KEY_IR_MANUAL_STRG_FAR doIaCmd sucess\n"));
    EXPECT_NE(
        std::string::npos,
        strOut.find(
            "SNS_SUCCESS == doIaCmd(nOtherKey, IA_CMD_OPT_GET, &nVal)   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("get key(-1) val from 2a err"));
    EXPECT_NE(std::string::npos, strOut.find("### KEY_IR_MANUAL_STRG_FAR doIaCmd error\n"));
}

TEST_F(BatchTest, UnknownKeyIsReportedAndSentWithItsOwnId) {
    root().writeDebugSwitch("6\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, apply({{7777, 5}}));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(
        std::string::npos,
        strOut.find(
            "-1 != findFromKeyCmdMap(m_pKeyCmdMap, nKey, stKeyCmdTmp)   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("p_pKeyval[0].key(7777)\033[0m"));
    EXPECT_NE(std::string::npos, strOut.find("\033[0m\033[32mnot find (7777) \n\033[0m"));
    EXPECT_NE(std::string::npos,
              strOut.find("set unknow key (7777,5) func:ISensorController::doIaCmd ia_cmd:7777"));
    EXPECT_NE(std::string::npos,
              strOut.find("SET_KEY_VAL FAILED, m_nCurScheme(0), p_pKeyval[0].key(7777), "
                          "p_pKeyval[0].value(5),  maybe jixin\n"));
    EXPECT_EQ((Sets{{7777, 5}}), ispSets());
}

TEST_F(BatchTest, HandlerFailureStopsTheBatchWithMinusTheRowKey) {
    iasim::setStatus(2353, IA_CMD_OPT_SET, -4);
    root().writeDebugSwitch("6\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(-2353, apply({{KEY_BRIGHTNESS, 1},
                            {KEY_SATURATION, 2},
                            {KEY_CONTRAST, 3},
                            {KEY_SHARPNESS, 4},
                            {KEY_DN_MODE, 1}}));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 1}, {KEY_SATURATION, 2}, {KEY_CONTRAST, 3}}), ispSets());
    EXPECT_EQ(1u, cached(0, KEY_BRIGHTNESS));
    EXPECT_EQ(2u, cached(0, KEY_SATURATION));
    EXPECT_EQ(60u, cached(0, KEY_CONTRAST));
    EXPECT_EQ(70u, cached(0, KEY_SHARPNESS));
    EXPECT_NE(std::string::npos,
              strOut.find("[sensor err] file:ISensorController fun:dispatchRecord"));
    EXPECT_NE(std::string::npos,
              strOut.find("set KEY_CONTRAST (2353,3) func:&ISensorController::doIaCmd "
                          "ia_cmd:2353 ~~~failed ia_ret=-4\n"));

    // A status other than -1, -4 or -5 stops the batch without the error trace; a partner
    // answers with minus its primary key.
    iasim::setStatus(KEY_IR_MODE, IA_CMD_OPT_SET, -9);
    m_objCtl.setKeyValToCache(0, KEY_LIGHT_TYPE, 2, false);
    testing::internal::CaptureStdout();
    EXPECT_EQ(-161, apply({{KEY_IR_MODE_INTELL, 2}}));
    EXPECT_EQ(std::string::npos, testing::internal::GetCapturedStdout().find("~~~failed"));
}

TEST_F(BatchTest, FactorySchemeRefusesTheCacheStepButNotTheRuleWrites) {
    root().writeDebugSwitch("6\n");
    setCurrent(4);
    Access::schemeByDN(m_objCtl) = true;
    m_objCtl.setKeyValToCache(4, KEY_LIGHT_TYPE, 2, true);
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, apply({{KEY_BRIGHTNESS, 99}, {KEY_IR_MODE_INTELL, 3}}));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::string::npos, strOut.find("SET_KEY_VAL FAILED"));
    EXPECT_EQ(50u, cached(4, KEY_BRIGHTNESS));
    EXPECT_EQ(3u, cached(4, KEY_IR_MODE)) << "the partner write reaches the factory array";
    EXPECT_EQ(1u, cached(4, KEY_IR_MODE_INTELL));
}

TEST_F(BatchTest, SingleKeyWriteIsABatchOfOne) {
    EXPECT_EQ(0, m_objCtl.setParameter(KEY_BRIGHTNESS, 64, true));
    EXPECT_EQ(64u, cached(0, KEY_BRIGHTNESS));
    EXPECT_EQ(0, m_objCtl.setParameter(KEY_BRIGHTNESS, 64, true));
    EXPECT_EQ((Sets{{KEY_BRIGHTNESS, 64}}), ispSets());
    iasim::setStatus(KEY_BRIGHTNESS, IA_CMD_OPT_SET, -1);
    EXPECT_EQ(-34, m_objCtl.setParameter(KEY_BRIGHTNESS, 65, false));
    EXPECT_EQ(64u, cached(0, KEY_BRIGHTNESS));
    EXPECT_EQ(0, m_objCtl.setParameters(nullptr, 0, true));
}

}  // namespace

namespace {

// A key name that fills its 32-character field has no terminating zero; the trace prints the 32
// characters and stops there.
TEST_F(BatchTest, TraceOfAKeyWhoseNameFillsTheFieldStopsAtTheField) {
    root().writeDebugSwitch("6\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, apply({{KEY_MIXSTREAM_DISTANCE_WIDTH_OFFSET, 3}}, false));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("set KEY_MIXSTREAM_DISTANCE_WIDTH_OFF (8102,3) "
                                             "func:&ISensorController::doIaCmd_PanoTuning ia_cmd:8102 ="));
}

}  // namespace
