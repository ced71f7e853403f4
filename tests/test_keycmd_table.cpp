// The key-command table, checked against its summaries: row count, handler counts, the rows
// whose command differs from the key, the rows without handler and the names cut at 32.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "ControllerAccess.h"
#include "TestRoot.h"

namespace {

class KeyCmdTableTest : public LuxtuneTest {
  protected:
    void SetUp() override {
        LuxtuneTest::SetUp();
        Access::buildTable(m_objCtl);
    }
    const keycmd& row(int i) { return Access::table(m_objCtl)[i]; }
    std::string handlerName(int i) { return row(i).szHandlerName; }

    ISensorController m_objCtl;
};

TEST_F(KeyCmdTableTest, HoldsOneRowPerKeyInABlockOfTheFirstCapacity) {
    EXPECT_EQ(165, Access::keyCmdSum(m_objCtl));
    std::set<u32> keys;
    for (int i = 0; i < 165; ++i)
        keys.insert(row(i).nKey);
    EXPECT_EQ(165u, keys.size()) << "a key occurs twice";
    // The block was sized with the constructor's 170; the five spare records stay zero.
    static const keycmd kZero{};
    for (int i = 165; i < 170; ++i)
        EXPECT_EQ(0, memcmp(&row(i), &kZero, sizeof kZero)) << i;
}

TEST_F(KeyCmdTableTest, HandlerCountsMatchTheirRows) {
    std::map<std::string, int> counts;
    for (int i = 0; i < 165; ++i)
        ++counts[handlerName(i)];
    const std::map<std::string, int> expected = {
        {"&ISensorController::doIaCmd", 87},        {"&ISensorController::doIaCmd_User", 11},
        {"&ISensorController::doIaCmdShutter", 1},  {"&ISensorController::doIoCrtl", 1},
        {"&ISensorController::test_debugParam", 4}, {"&ISensorController::doIaCmd_PanoTuning", 35},
        {"&ISensorController::doHwdr", 1},          {"&ISensorController::doDIS", 1},
        {"&ISensorController::doImageAdjust", 3},   {"&ISensorController::doDNThr", 3},
        {"&ISensorController::doDNTime", 4},        {"&ISensorController::doMirror", 1},
        {"&ISensorController::doBeaway", 1},        {"NULL", 12},
    };
    EXPECT_EQ(expected, counts);
    // The handler pointer agrees with the handler name on every row.
    const std::map<std::string, KeyCmdHandler> byName = {
        {"&ISensorController::doIaCmd", &ISensorController::doIaCmd},
        {"&ISensorController::doIaCmd_User", &ISensorController::doIaCmd_User},
        {"&ISensorController::doIaCmdShutter", &ISensorController::doIaCmdShutter},
        {"&ISensorController::doIoCrtl", &ISensorController::doIoCrtl},
        {"&ISensorController::test_debugParam", &ISensorController::test_debugParam},
        {"&ISensorController::doIaCmd_PanoTuning", &ISensorController::doIaCmd_PanoTuning},
        {"&ISensorController::doHwdr", &ISensorController::doHwdr},
        {"&ISensorController::doDIS", &ISensorController::doDIS},
        {"&ISensorController::doImageAdjust", &ISensorController::doImageAdjust},
        {"&ISensorController::doDNThr", &ISensorController::doDNThr},
        {"&ISensorController::doDNTime", &ISensorController::doDNTime},
        {"&ISensorController::doMirror", &ISensorController::doMirror},
        {"&ISensorController::doBeaway", &ISensorController::doBeaway},
        {"NULL", nullptr},
    };
    for (int i = 0; i < 165; ++i)
        EXPECT_TRUE(row(i).pfnHandler == byName.at(handlerName(i))) << i;
}

TEST_F(KeyCmdTableTest, NineRowsSendACommandOtherThanTheirKey) {
    std::map<u32, u32> differing;
    for (int i = 0; i < 165; ++i) {
        if (row(i).nCmd != row(i).nKey && row(i).pfnHandler) differing[row(i).nKey] = row(i).nCmd;
    }
    const std::map<u32, u32> expected = {{83, 85},   {17, 83},   {18, 84},
                                         {170, 168}, {171, 169}, {172, 170},
                                         {173, 171}, {174, 172}, {2497, 2464}};
    EXPECT_EQ(expected, differing);
}

TEST_F(KeyCmdTableTest, TwelveRowsHaveNoHandlerAndCommandZero) {
    std::set<u32> keys;
    for (int i = 0; i < 165; ++i) {
        if (row(i).pfnHandler) continue;
        keys.insert(row(i).nKey);
        EXPECT_EQ(0u, row(i).nCmd);
        EXPECT_STREQ("NULL", row(i).szHandlerName);
    }
    EXPECT_EQ((std::set<u32>{8000, 8001, 8002, 8003, 8004, 10, 11, 13, 168, 175, 200, 203}), keys);
}

TEST_F(KeyCmdTableTest, NamesOf32CharactersOrMoreAreCutWithoutTerminator) {
    std::map<u32, std::string> cut;
    for (int i = 0; i < 165; ++i) {
        if (memchr(row(i).szKeyName, 0, SNS_KEY_NAME_LEN) == nullptr) {
            cut[row(i).nKey] = std::string(row(i).szKeyName, SNS_KEY_NAME_LEN);
        }
    }
    const std::map<u32, std::string> expected = {{8104, "KEY_MIXSTREAM_THERMAL_TO_VISION_"},
                                                 {8102, "KEY_MIXSTREAM_DISTANCE_WIDTH_OFF"},
                                                 {8103, "KEY_MIXSTREAM_DISTANCE_HEIGHT_OF"}};
    EXPECT_EQ(expected, cut);
}

struct LookupCase {
    u32 nKey;
    int nRow;
    u32 nCmd;
    const char* szName;  // compared on 32 bytes
    const char* szHandler;
};

TEST_F(KeyCmdTableTest, LookupCopiesTheWholeRow) {
    const LookupCase cases[] = {
        {8240, 0, 8240, "KEY__DDE_MANUAL_STRG", "&ISensorController::doIaCmd"},
        {773, 164, 773, "KEY_WB_BG", "&ISensorController::doIaCmd"},
        {8104, 85, 8104, "KEY_MIXSTREAM_THERMAL_TO_VISION_", "&ISensorController::doIoCrtl"},
        {8000, 91, 0, "KEY_SCHEME_MODE", "NULL"},
        {2497, 109, 2464, "KEY_SENSOR_FPS", "&ISensorController::doIaCmd_User"},
        {17, 20, 83, "KEY_IRIS_UP", "&ISensorController::doIaCmd_User"},
        {8231, 125, 8231, "IA_CMD_UI_SHUTTER_RESET", "&ISensorController::doIaCmd_User"},
    };
    for (const LookupCase& c : cases) {
        keycmd rec{};
        EXPECT_EQ(c.nRow, m_objCtl.findFromKeyCmdMap(Access::table(m_objCtl), c.nKey, rec))
            << c.nKey;
        EXPECT_EQ(c.nKey, rec.nKey);
        EXPECT_EQ(c.nCmd, rec.nCmd) << c.nKey;
        EXPECT_EQ(0, strncmp(c.szName, rec.szKeyName, SNS_KEY_NAME_LEN)) << c.nKey;
        EXPECT_STREQ(c.szHandler, rec.szHandlerName);
        EXPECT_EQ(0 == strcmp(c.szHandler, "NULL"), rec.pfnHandler == nullptr);
    }
}

TEST_F(KeyCmdTableTest, MissLeavesTheRecordAndTracesOnlyAboveLevel5) {
    for (int nLevel : {5, 6}) {
        root().writeDebugSwitch(std::to_string(nLevel) + "\n");
        for (u32 nKey : {0u, 201u, 99999u}) {
            keycmd rec{};
            rec.nKey = 4242;
            rec.nCmd = 77;
            testing::internal::CaptureStdout();
            EXPECT_EQ(-1, m_objCtl.findFromKeyCmdMap(Access::table(m_objCtl), nKey, rec));
            std::string strOut = testing::internal::GetCapturedStdout();
            EXPECT_EQ(4242u, rec.nKey);
            EXPECT_EQ(77u, rec.nCmd);
            std::string strTrace =
                "\033[0m\033[0mcand not find key-cmd while key=" + std::to_string(nKey) +
                "\n\033[0m";
            EXPECT_EQ(nLevel > 5 ? strTrace : std::string(), strOut) << nLevel;
        }
    }
    EXPECT_FALSE(root().exists("/mnt/mtd/log/SensorError.log"));
}

TEST_F(KeyCmdTableTest, CatalogueFollowsTheTableWithFullNames) {
    ASSERT_EQ(165u, getSensorKeyCount());
    EXPECT_EQ(nullptr, getSensorKeyInfo(165));
    for (u32 i = 0; i < 165; ++i) {
        const SensorKeyInfo* pInfo = getSensorKeyInfo(i);
        EXPECT_EQ(row(i).nKey, pInfo->nKey);
        EXPECT_EQ(row(i).nCmd, pInfo->nCmd);
        EXPECT_EQ(0, strncmp(pInfo->szName, row(i).szKeyName, SNS_KEY_NAME_LEN));
        EXPECT_EQ(pInfo, findSensorKeyByName(pInfo->szName));
        EXPECT_EQ(pInfo, findSensorKeyById(pInfo->nKey));
    }
    EXPECT_STREQ("KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV", findSensorKeyById(8104)->szName);
    EXPECT_EQ(nullptr, findSensorKeyByName("KEY_NOTHING"));
    EXPECT_EQ(nullptr, findSensorKeyById(201));
}

}  // namespace
