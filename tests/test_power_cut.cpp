// Power cuts at every step of a save: whatever the moment, each scheme file is afterwards the
// old or the new version, never empty, short or mixed, and the next start succeeds.
#include <gtest/gtest.h>

#include <cstring>

#include "DeviceFixture.h"
#include "ZqSim.h"

namespace {

class PowerCutTest : public DeviceFixture {
  protected:
    std::string bytesOf(ISensorController& p_objCtl, u32 p_nScheme) {
        return std::string(reinterpret_cast<const char*>(Access::scheme(p_objCtl, p_nScheme)),
                           Access::keyValSum(p_objCtl) * sizeof(KeyVal));
    }
    // A fresh controller on the same root starts, and leaves no temporary file behind.
    void expectCleanRestart() {
        ISensorController& objNext = start(1);
        EXPECT_EQ(1, objNext.getSensorStatus());
        EXPECT_EQ(102u, Access::keyValSum(objNext));
        for (u32 s = 0; s < 4; ++s) {
            EXPECT_FALSE(root().exists(schemeFile(1, s) + ".tmp")) << s;
            EXPECT_EQ(102u * sizeof(KeyVal), root().read(schemeFile(1, s)).size()) << s;
        }
        objNext.uinit();
    }
};

TEST_F(PowerCutTest, FlushLeavesTheOldOrTheNewScheme) {
    ISensorController& objCtl = start(1);
    std::string strOld = root().read(schemeFile(1, 0));
    objCtl.setParameter(KEY_BRIGHTNESS, 77, true);
    std::string strNew = bytesOf(objCtl, 0);
    ASSERT_NE(strOld, strNew);
    int nCuts = 0;
    for (int nAt = 1;; ++nAt) {
        root().write(schemeFile(1, 0), strOld);
        zqsim::armPowerCut(nAt);
        quiet([&] { objCtl.flush(); });
        bool bCut = zqsim::powerCutHappened();
        zqsim::clearPowerCut();
        std::string strNow = root().read(schemeFile(1, 0));
        EXPECT_TRUE(strNow == strOld || strNow == strNew) << "cut at operation " << nAt;
        EXPECT_EQ(bCut ? strNow : strNew, strNow) << "without a cut the save completes";
        if (!bCut) break;
        ++nCuts;
    }
    EXPECT_GE(nCuts, 4) << "open, write, sync and rename each met a cut";
    objCtl.uinit();
    expectCleanRestart();
}

TEST_F(PowerCutTest, ReloadWritesNothing) {
    ISensorController& objCtl = start(1);
    objCtl.setParameter(KEY_BRIGHTNESS, 77, true);
    zqsim::armPowerCut(1);
    quiet([&] { EXPECT_TRUE(objCtl.resetToLastParameters()); });
    EXPECT_FALSE(zqsim::powerCutHappened());
    EXPECT_EQ(0, zqsim::diskOperations());
    zqsim::clearPowerCut();
}

TEST_F(PowerCutTest, RecreatingTheSchemeFilesAtStartSurvivesACutAnywhere) {
    start(1).uinit();
    const std::string strFactory = root().read(schemeFile(1, 0));
    int nCuts = 0;
    for (int nAt = 1;; ++nAt) {
        root().remove("/mnt/mtd/code/config_file/snsversion.cfg");  // every file is recreated
        zqsim::armPowerCut(nAt);
        start(1).uinit();
        bool bCut = zqsim::powerCutHappened();
        zqsim::clearPowerCut();
        for (u32 s = 0; s < 4; ++s) {
            if (!root().exists(schemeFile(1, s))) continue;  // deleted, not yet written again
            EXPECT_EQ(strFactory, root().read(schemeFile(1, s)))
                << "scheme " << s << ", cut at " << nAt;
        }
        expectCleanRestart();
        if (!bCut) break;
        ++nCuts;
    }
    EXPECT_GE(nCuts, 20) << "four scheme files and the version file, five operations each";
}

TEST_F(PowerCutTest, StartRemovesTemporaryFilesLeftBehind) {
    start(1).uinit();
    root().write(schemeFile(1, 2) + ".tmp", "half a scheme");
    root().write("/mnt/mtd/code/config_file/snsversion.cfg.tmp", "x");
    start(1).uinit();
    EXPECT_FALSE(root().exists(schemeFile(1, 2) + ".tmp"));
    EXPECT_FALSE(root().exists("/mnt/mtd/code/config_file/snsversion.cfg.tmp"));
}

}  // namespace

namespace {

// The seam itself: a file rewritten in place is left empty by a cut before its data is synced,
// which is what the saves above are built to avoid.
TEST_F(PowerCutTest, InPlaceRewriteWouldBeTornByACut) {
    root().write("/mnt/mtd/code/config_file/plain.cfg", "old contents");
    zqsim::armPowerCut(2);
    ZqFile objFile;
    ASSERT_TRUE(objFile.open("/mnt/mtd/code/config_file/plain.cfg",
                             ZqFile::modeWrite | ZqFile::modeTruncate));
    EXPECT_EQ(0, objFile.write("new contents", 12));
    objFile.close();
    EXPECT_TRUE(zqsim::powerCutHappened());
    zqsim::clearPowerCut();
    EXPECT_EQ("", root().read("/mnt/mtd/code/config_file/plain.cfg"));
}

}  // namespace
