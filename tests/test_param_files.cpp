// Parameter files: the record layout, short and long files, the version file, and saves that
// never leave a half-written file behind.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "SensorFile.h"
#include "TestRoot.h"
#include "ZqSim.h"

namespace {

constexpr const char* kScheme = "/mnt/mtd/code/config_file/sensor1_0.cfg";

class ParamFileTest : public LuxtuneTest {
  protected:
    static std::vector<KeyVal> records(u32 p_nCount, u32 p_nBase) {
        std::vector<KeyVal> vec;
        for (u32 i = 0; i < p_nCount; ++i)
            vec.push_back({1000 + i, p_nBase + i});
        return vec;
    }
    std::string capture(std::function<void()> p_fn) {
        testing::internal::CaptureStdout();
        p_fn();
        return testing::internal::GetCapturedStdout();
    }
    static char* name(const char* p_sz) { return const_cast<char*>(p_sz); }
};

TEST_F(ParamFileTest, RecordsRoundTripAsLittleEndianPairs) {
    std::vector<KeyVal> vecOut = records(100, 0x01020300);
    EXPECT_EQ(0, keyValToFile(name(kScheme), vecOut.data(), 100));
    std::string strFile = root().read(kScheme);
    ASSERT_EQ(800u, strFile.size());
    const unsigned char* p = reinterpret_cast<const unsigned char*>(strFile.data());
    EXPECT_EQ((std::vector<unsigned>{0xE8, 0x03, 0, 0, 0x00, 0x03, 0x02, 0x01}),
              std::vector<unsigned>(p, p + 8));
    std::vector<KeyVal> vecIn(100);
    EXPECT_EQ(0, keyValFromFile(name(kScheme), vecIn.data(), 100));
    EXPECT_EQ(0, memcmp(vecOut.data(), vecIn.data(), 800));
    EXPECT_FALSE(root().exists(std::string(kScheme) + ".tmp"));
}

TEST_F(ParamFileTest, ShortFileReplacesOnlyTheLeadingRecords) {
    std::vector<KeyVal> vecFile = records(100, 0);
    root().write(kScheme, std::string(reinterpret_cast<char*>(vecFile.data()), 640));
    std::vector<KeyVal> vecIn = records(100, 5000);
    std::string strOut =
        capture([&] { EXPECT_EQ(0, keyValFromFile(name(kScheme), vecIn.data(), 100)); });
    EXPECT_EQ(79u, vecIn[79].value);
    EXPECT_EQ(5080u, vecIn[80].value);
    EXPECT_EQ(5099u, vecIn[99].value);
    EXPECT_NE(std::string::npos,
              strOut.find("nSize == sizeof(KeyVal)*p_nKeyValNum   ~~~Assertion failed."));
    EXPECT_NE(
        std::string::npos,
        strOut.find(
            "file_name(/mnt/mtd/code/config_file/sensor1_0.cfg) nSize(640) sizeof(KeyVal) = 8, "
            "p_nKeyValNum(100)\n"));

    // A torn last record keeps its old key and value together.
    root().write(kScheme, std::string(reinterpret_cast<char*>(vecFile.data()), 644));
    vecIn = records(100, 5000);
    capture([&] { keyValFromFile(name(kScheme), vecIn.data(), 100); });
    EXPECT_EQ(1080u, vecIn[80].key);
    EXPECT_EQ(5080u, vecIn[80].value);
}

TEST_F(ParamFileTest, LongFileIsReadUpToTheRecordCountSilently) {
    std::vector<KeyVal> vecFile = records(125, 7);
    root().write(kScheme, std::string(reinterpret_cast<char*>(vecFile.data()), 1000));
    std::vector<KeyVal> vecIn(100);
    std::string strOut =
        capture([&] { EXPECT_EQ(0, keyValFromFile(name(kScheme), vecIn.data(), 100)); });
    EXPECT_EQ(106u, vecIn[99].value);
    EXPECT_EQ("", strOut);
}

TEST_F(ParamFileTest, MissingFileIsReportedAndLeavesTheArray) {
    std::vector<KeyVal> vecIn = records(4, 9);
    std::string strOut =
        capture([&] { EXPECT_EQ(0, keyValFromFile(name(kScheme), vecIn.data(), 4)); });
    EXPECT_EQ(9u, vecIn[0].value);
    EXPECT_NE(std::string::npos, strOut.find("file.open(file_name)   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("nSize(0) sizeof(KeyVal) = 8, p_nKeyValNum(4)"));
    strOut = capture([&] { EXPECT_LE(getFileLen(kScheme), 0); });
    EXPECT_NE(std::string::npos,
              strOut.find("file_name(/mnt/mtd/code/config_file/sensor1_0.cfg)\033[0m"));
    char buf[4] = {'k', 'e', 'e', 'p'};
    EXPECT_EQ(-1, loadFromFile(kScheme, buf, 4));
    EXPECT_EQ(0, memcmp(buf, "keep", 4));
    root().write(kScheme, "");
    EXPECT_EQ(0, loadFromFile(kScheme, buf, 0)) << "callers treat 0 as a failure";
}

TEST_F(ParamFileTest, VersionFileHoldsOneLittleEndianWord) {
    const char* kVersion = "/mnt/mtd/code/config_file/snsversion.cfg";
    u32 nVersion = 77;
    EXPECT_EQ(-1, getVersion(&nVersion));
    root().write(kVersion, std::string("\x08\x00\x00", 3));
    EXPECT_EQ(-1, getVersion(&nVersion));
    EXPECT_EQ(77u, nVersion);
    root().write(kVersion, std::string("\x08\x00\x00\x00", 4));
    EXPECT_EQ(0, getVersion(&nVersion));
    EXPECT_EQ(8u, nVersion);
    EXPECT_EQ(0, setVersion(0x0A0B0C0D));
    EXPECT_EQ(std::string("\x0D\x0C\x0B\x0A", 4), root().read(kVersion));
}

TEST_F(ParamFileTest, FailedSaveKeepsTheOldFileWhole) {
    std::vector<KeyVal> vecOld = records(50, 1);
    keyValToFile(name(kScheme), vecOld.data(), 50);
    std::string strOld = root().read(kScheme);

    std::vector<KeyVal> vecNew = records(50, 900);
    zqsim::failNextWrite("sensor1_0.cfg", 123);
    std::string strOut =
        capture([&] { EXPECT_EQ(0, keyValToFile(name(kScheme), vecNew.data(), 50)); });
    EXPECT_NE(std::string::npos,
              strOut.find("nSize == sizeof(KeyVal)*p_nKeyValSum   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("nSize(123) sizeof(KeyVal) = 8, p_nKeyValNum(50)\n"));
    EXPECT_EQ(strOld, root().read(kScheme));
    EXPECT_FALSE(root().exists(std::string(kScheme) + ".tmp"));

    zqsim::failNextWrite("sensor1_0.cfg", 5);
    strOut = capture([&] {
        EXPECT_EQ(5, saveToFile(name(kScheme), reinterpret_cast<char*>(vecNew.data()), 400));
    });
    EXPECT_NE(std::string::npos, strOut.find("file_len == (nSize=file.write(data, file_len))"));
    EXPECT_NE(std::string::npos, strOut.find("file_len(400)\n"));
    EXPECT_EQ(strOld, root().read(kScheme));

    EXPECT_EQ(400, saveToFile(name(kScheme), reinterpret_cast<char*>(vecNew.data()), 400));
    EXPECT_EQ(400u, root().read(kScheme).size());
}

TEST_F(ParamFileTest, SaveIntoAMissingFolderReportsBothChecks) {
    std::vector<KeyVal> vec = records(2, 0);
    std::string strOut = capture(
        [&] { EXPECT_EQ(0, keyValToFile(name("/mnt/none/sensor1_0.cfg"), vec.data(), 2)); });
    EXPECT_NE(std::string::npos, strOut.find("file.open(file_name, ZqFile::modeWrite | "
                                             "ZqFile::modeTruncate)   ~~~Assertion failed."));
    EXPECT_NE(std::string::npos, strOut.find("file_name(/mnt/none/sensor1_0.cfg)\n"));
    EXPECT_NE(std::string::npos, strOut.find("nSize(0) sizeof(KeyVal) = 8, p_nKeyValNum(2)"));
}

}  // namespace
