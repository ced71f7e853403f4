// Diagnostics: the switch file, the report kinds with their levels, colours and tags, the error
// log entries, and the end of the process when assertions are switched on.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <fcntl.h>

#include <string>
#include <vector>

#include "TestRoot.h"
#include "internal/Report.h"
#include "sensor.h"

namespace {

constexpr const char* kSrcUnit = "ISensorController";
constexpr const char* kLog = "/mnt/mtd/log/SensorError.log";

namespace report = luxtune::report;

class DiagnosticsTest : public LuxtuneTest {
  protected:
    // Log entries without their time stamp ("yyyy-mm-dd hh:mm:ss ").
    std::vector<std::string> logEntries() {
        std::vector<std::string> vec;
        for (const std::string& strLine : root().lines(kLog))
            vec.push_back(strLine.substr(20));
        return vec;
    }
};

TEST_F(DiagnosticsTest, SwitchFileSetsLevelAndAssertionSwitch) {
    const struct {
        const char* szContent;  // null: no file
        int nLevel;
        bool bAssert;
    } cases[] = {{nullptr, 1, false},  {"7\n1\n", 7, true}, {"-1\n", -1, false},
                 {"4\n", 4, false},    {"", 1, false},      {"abc\n", 0, false},
                 {"6\n0\n", 6, false}, {"2\n\n", 2, false}, {"\n9\n", 1, true}};
    for (const auto& c : cases) {
        g_nDebugLevel = 42;
        g_bEnAssert = !c.bAssert;
        if (c.szContent) {
            root().writeDebugSwitch(c.szContent);
        } else {
            root().remove("/tmp/Debug.sign");
        }
        updateDebugLevel();
        EXPECT_EQ(c.nLevel, g_nDebugLevel.load()) << (c.szContent ? c.szContent : "absent");
        EXPECT_EQ(c.bAssert, g_bEnAssert.load()) << (c.szContent ? c.szContent : "absent");
    }
}

TEST_F(DiagnosticsTest, AssertionIsPrintedAndLoggedAtTheDefaultLevel) {
    testing::internal::CaptureStdout();
    int nLine = __LINE__ + 1;
    report::assertFailed(SNS_HERE, "SNS_SUCCESS == setVersion(m_nVersion)", "m_nVersion(%d)\n", 8);
    std::string strOut = testing::internal::GetCapturedStdout();
    std::string strLoc = "file:ISensorController fun:TestBody line:" + std::to_string(nLine) + "\n";
    EXPECT_EQ("\033[0m\033[31m[sensor assert] " + strLoc +
                  "SNS_SUCCESS == setVersion(m_nVersion)   ~~~Assertion failed.\n\033[0m"
                  "\033[0m\033[31mm_nVersion(8)\n\033[0m",
              strOut);
    std::vector<std::string> expected = {
        "[sensor assert] " + strLoc.substr(0, strLoc.size() - 1),
        "[sensor assert] SNS_SUCCESS == setVersion(m_nVersion)   ~~~Assertion failed.",
        "[sensor assert] m_nVersion(8)"};
    EXPECT_EQ(expected, logEntries());
}

TEST_F(DiagnosticsTest, AssertionWithoutMessageLogsAnEmptyEntry) {
    testing::internal::CaptureStdout();
    report::assertFailed(SNS_HERE, "m_pSensorThread->start()");
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos,
              strOut.find("~~~Assertion failed.\n\033[0m\033[0m\033[31m\033[0m"));
    std::vector<std::string> vec = logEntries();
    ASSERT_EQ(3u, vec.size());
    EXPECT_EQ("[sensor assert] ", vec[2]);
}

TEST_F(DiagnosticsTest, LevelsGateEachKind) {
    const struct {
        const char* szSwitch;  // null: no file
        bool bAssert, bWarn, bDebug, bInfo;
        size_t nLogEntries;
    } cases[] = {
        {nullptr, true, false, false, false, 3}, {"abc\n", true, false, false, false, 3},
        {"-1\n", false, false, false, false, 0}, {"4\n", true, true, false, false, 5},
        {"6\n", true, true, true, false, 5},     {"7\n", true, true, true, true, 5},
    };
    for (const auto& c : cases) {
        root().remove(kLog);
        if (c.szSwitch) {
            root().writeDebugSwitch(c.szSwitch);
        } else {
            root().remove("/tmp/Debug.sign");
        }
        testing::internal::CaptureStdout();
        report::assertFailed(SNS_HERE, "expr");
        report::warn(SNS_HERE, "warned %d\n", 1);
        report::debug(SNS_HERE, "debugged\n");
        report::error(SNS_HERE, "failed\n");
        report::trace(32, "traced\n");
        report::info(SNS_HERE, "informed\n");
        std::string strOut = testing::internal::GetCapturedStdout();
        const char* szWhat = c.szSwitch ? c.szSwitch : "absent";
        EXPECT_EQ(c.bAssert, strOut.find("[sensor assert]") != std::string::npos) << szWhat;
        EXPECT_EQ(c.bWarn, strOut.find("\033[0m\033[0m[sensor warn] file:ISensorController") !=
                               std::string::npos)
            << szWhat;
        EXPECT_EQ(c.bDebug, strOut.find("[sensor dbg] file:") != std::string::npos) << szWhat;
        EXPECT_EQ(c.bDebug, strOut.find("\033[0m\033[0m[sensor err] file:") != std::string::npos);
        EXPECT_EQ(c.bDebug, strOut.find("\033[0m\033[32mtraced\n\033[0m") != std::string::npos);
        EXPECT_EQ(c.bInfo, strOut.find("\033[0m\033[35m[sensor info] file:") != std::string::npos);
        EXPECT_EQ(c.nLogEntries, logEntries().size()) << szWhat;
    }
}

TEST_F(DiagnosticsTest, WarningLogsLocationThenMessage) {
    root().writeDebugSwitch("4\n");
    testing::internal::CaptureStdout();
    int nLine = __LINE__ + 1;
    report::warn(SNS_HERE, "check the sensor version,   local(%u) --> libluxtune.so(%u)\n", 0u, 8u);
    testing::internal::GetCapturedStdout();
    std::vector<std::string> expected = {
        "[sensor warn] file:ISensorController fun:TestBody line:" + std::to_string(nLine),
        "[sensor warn] check the sensor version,   local(0) --> libluxtune.so(8)"};
    EXPECT_EQ(expected, logEntries());
}

TEST_F(DiagnosticsTest, LoggedTextIsCutTo500Characters) {
    std::string strLong(700, 'x');
    testing::internal::CaptureStdout();
    report::assertFailed(SNS_HERE, strLong.c_str(), "%s", strLong.c_str());
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find(strLong + "   ~~~Assertion failed.\n"))
        << "standard output is not cut";
    EXPECT_NE(std::string::npos, strOut.find("\033[31m" + strLong + "\033[0m"));
    std::vector<std::string> vec = logEntries();
    ASSERT_EQ(3u, vec.size());
    EXPECT_EQ("[sensor assert] " + std::string(499, 'x'), vec[2]);
    EXPECT_EQ("[sensor assert] " + std::string(499, 'x'), vec[1]);
}

// The process ends through the C library's assertion failure, after the report was printed and
// logged. The abort handler copies the log to standard error so that the parent can see it.
std::string g_strLogPath;

void dumpLogAndExit(int) {
    int fd = open(g_strLogPath.c_str(), O_RDONLY);
    char buf[4096];
    ssize_t n;
    while (fd >= 0 && (n = read(fd, buf, sizeof buf)) > 0) {
        if (write(2, buf, static_cast<size_t>(n)) < 0) break;
    }
    _exit(3);
}

TEST_F(DiagnosticsTest, AssertionEndsTheProcessWhenSwitchedOn) {
    root().writeDebugSwitch("7\n1\n");
    EXPECT_DEATH(report::assertFailed(SNS_HERE, "p_nMode >= 0", "p_nMode(%d)\n", -3),
                 "Assertion `bRet' failed");
    g_strLogPath = root().host(kLog);
    EXPECT_EXIT(
        {
            dup2(2, 1);  // the printed report goes where the parent reads
            signal(SIGABRT, dumpLogAndExit);
            report::assertFailed(SNS_HERE, "p_nMode >= 0", "p_nMode(%d)\n", -3);
        },
        testing::ExitedWithCode(3),
        "\\[sensor assert\\] file:ISensorController.*p_nMode >= 0   ~~~Assertion failed.*"
        "p_nMode\\(-3\\).*Assertion `bRet' failed.*"
        "\\[sensor assert\\] file:ISensorController fun:.*\\[sensor assert\\] p_nMode\\(-3\\)");
}

TEST_F(DiagnosticsTest, AssertionGoesOnWhenSwitchedOff) {
    root().writeDebugSwitch("7\n0\n");
    testing::internal::CaptureStdout();
    report::assertFailed(SNS_HERE, "expr");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(3u, logEntries().size());
}

}  // namespace
