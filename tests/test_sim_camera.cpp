// The simulated camera program, run as an engineer would run it: guided, with scripted commands
// and with commands on standard input.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "SensorDef.h"

namespace fs = std::filesystem;

namespace {

struct SimRun {
    int nExit = -1;
    std::vector<std::string> vecLines;  // blanks collapsed, so table columns compare plainly
    std::string strRoot;                // the working root the program announced
};

std::string collapseBlanks(const std::string& p_strLine) {
    std::istringstream objWords(p_strLine);
    std::string strWord, strOut;
    while (objWords >> strWord)
        strOut += (strOut.empty() ? "" : " ") + strWord;
    return strOut;
}

// Runs the program with a shell-quoted argument text, and standard input when given; stdout
// and stderr together. The program makes its own root, so none is passed down.
SimRun runSim(const std::string& p_strArgs, const std::string* p_pStdin = nullptr) {
    std::string strCommand =
        std::string("env -u LUXTUNE_ROOT ") + LUXTUNE_SIM_LAUNCHER + " '" + LUXTUNE_SIM_BINARY + "' " + p_strArgs +
        " 2>&1";
    std::string strInput;
    if (p_pStdin) {
        char szInput[] = "/tmp/luxtune-sim-input-XXXXXX";
        int fd = mkstemp(szInput);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(static_cast<ssize_t>(p_pStdin->size()),
                  write(fd, p_pStdin->data(), p_pStdin->size()));
        close(fd);
        strInput = szInput;
        strCommand += " < " + strInput;
    } else {
        strCommand += " < /dev/null";
    }
    SimRun stRun;
    FILE* pPipe = popen(strCommand.c_str(), "r");
    if (!pPipe) {
        ADD_FAILURE() << "cannot run " << strCommand;
        return stRun;
    }
    std::string strOut;
    char szBuf[4096];
    size_t nRead;
    while ((nRead = fread(szBuf, 1, sizeof szBuf, pPipe)) > 0)
        strOut.append(szBuf, nRead);
    int nStatus = pclose(pPipe);
    stRun.nExit = WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
    if (!strInput.empty()) unlink(strInput.c_str());
    // Under the sanitizer builds the program is checked as well.
    EXPECT_EQ(std::string::npos, strOut.find("Sanitizer")) << strOut;
    EXPECT_EQ(std::string::npos, strOut.find("runtime error:")) << strOut;
    std::istringstream objLines(strOut);
    std::string strLine;
    while (std::getline(objLines, strLine)) {
        stRun.vecLines.push_back(collapseBlanks(strLine));
        const std::string strTag = "working root ";
        if (strLine.rfind(strTag, 0) == 0 && stRun.strRoot.empty())
            stRun.strRoot = strLine.substr(strTag.size());
    }
    return stRun;
}

std::string transcript(const SimRun& p_stRun) {
    std::string strText;
    for (const std::string& strLine : p_stRun.vecLines)
        strText += strLine + "\n";
    return strText;
}

// Every expected line appears as a whole line, in the order given.
void expectLinesInOrder(const SimRun& p_stRun, const std::vector<std::string>& p_vecExpected) {
    size_t nAt = 0;
    for (const std::string& strExpected : p_vecExpected) {
        while (nAt < p_stRun.vecLines.size() && p_stRun.vecLines[nAt] != strExpected)
            ++nAt;
        ASSERT_LT(nAt, p_stRun.vecLines.size())
            << "missing, or out of order: '" << strExpected << "'\n"
            << transcript(p_stRun);
        ++nAt;
    }
}

size_t countLinesStartingWith(const SimRun& p_stRun, const std::string& p_strStart) {
    size_t nCount = 0;
    for (const std::string& strLine : p_stRun.vecLines)
        nCount += strLine.rfind(p_strStart, 0) == 0 ? 1 : 0;
    return nCount;
}

void expectRootRemoved(const SimRun& p_stRun) {
    ASSERT_FALSE(p_stRun.strRoot.empty()) << transcript(p_stRun);
    EXPECT_FALSE(fs::exists(p_stRun.strRoot)) << p_stRun.strRoot;
}

std::map<u32, u32> storedScheme(const std::string& p_strPath) {
    std::ifstream objIn(p_strPath, std::ios::binary);
    std::map<u32, u32> mapValues;
    KeyVal stRec;
    while (objIn.read(reinterpret_cast<char*>(&stRec), sizeof stRec))
        mapValues.emplace(stRec.key, stRec.value);
    return mapValues;
}

}  // namespace

TEST(SimCamera, GuidedRunTellsTheStoryAndCleansUp) {
    const struct {
        const char* szArgs;
        std::vector<std::string> vecExpected;
    } cases[] = {
        {"",
         {"device type 1, hardware model NT98530, code LT-B1",
          "channel 1 running: camera 1, ISP channel 0", "luxtune> set KEY_WDR_MODE 1",
          "ch0 cmd 2368 (KEY_WDR_MODE) set 1", "channel 1 key 2368 (KEY_WDR_MODE) value 1",
          "scheme 0 -> 1", "ch0 cmd 2368 (KEY_WDR_MODE) set 0", "luxtune> daynight night",
          "scheme 1", "ch0 cmd 2368 (KEY_WDR_MODE) set 0", "luxtune> daynight day", "scheme 0",
          "scheme 0 saved", "channel 1 stopped"}},
        {"--guided --device thermal-dual",
         {"device type 14, hardware model NT98530T, code LT-T2",
          "channel 1 running: camera 1, ISP channel 0",
          "channel 2 running: camera 2, ISP channel 1, thermal sensor", "luxtune> daynight night",
          "channel 2 scheme 0", "scheme 1", "luxtune> daynight day", "scheme 0",
          "channel 1 stopped", "channel 2 stopped"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szArgs);
        SimRun stRun = runSim(c.szArgs);
        EXPECT_EQ(0, stRun.nExit) << transcript(stRun);
        expectLinesInOrder(stRun, c.vecExpected);
        EXPECT_EQ(0u, countLinesStartingWith(stRun, "error:"));
        expectRootRemoved(stRun);
    }
}

TEST(SimCamera, ScriptedSessionDrivesTheControllerAndKeepsTheRootOnRequest) {
    char szStyle[] = "/tmp/luxtune-sim-style-XXXXXX";
    close(mkstemp(szStyle));
    SimRun stRun = runSim(
        "--keep -c 'device dome; init; get KEY_BRIGHTNESS; get 5000; isp clear; "
        "set KEY_BRIGHTNESS 70; set KEY_MIRROR 1; isp; video; scheme 1; get KEY_BRIGHTNESS; "
        "scheme 0; flush; table; set KEY_SCHEME_MODE 2; daynight night; tick 3; scheme; "
        "style " +
        std::string(szStyle) + "; uinit'");
    ASSERT_EQ(0, stRun.nExit) << transcript(stRun);
    expectLinesInOrder(stRun, {"device type 4, hardware model NT98530D, code LT-D1",
                               "channel 1 running: camera 1, ISP channel 0",
                               "user schemes 0 to 5, factory scheme 6",
                               "KEY_BRIGHTNESS = 50",
                               "5000 = 0",
                               "KEY_BRIGHTNESS set to 70: status 0",
                               "KEY_MIRROR set to 1: status 0",
                               "ch0 cmd 34 (KEY_BRIGHTNESS) set 70",
                               "ch0 cmd 2384 (KEY_MIRROR) set 1",
                               "channel 1 key 2384 (KEY_MIRROR) value 1",
                               "scheme 0 -> 1",
                               "KEY_BRIGHTNESS = 50",
                               "scheme 1 -> 0",
                               "scheme 0 saved",
                               "KEY_BRIGHTNESS 70",
                               "KEY_MIRROR 1",
                               "KEY_SCHEME_MODE set to 2: status 0",
                               "channel 1: the ISP reports night",
                               "scheme 1",
                               "channel 1 stopped",
                               "working root kept: " + stRun.strRoot});
    std::map<u32, u32> mapSaved =
        storedScheme(stRun.strRoot + "/mnt/mtd/code/config_file/sensor1_0.cfg");
    EXPECT_EQ(70u, mapSaved[34]) << "the flushed brightness";
    EXPECT_EQ(1u, mapSaved[2384]) << "the flushed mirror";
    std::ifstream objStyle(szStyle);
    std::string strStyle((std::istreambuf_iterator<char>(objStyle)),
                         std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, strStyle.find("<SensorStyle")) << "the UI style written out";
    fs::remove_all(stRun.strRoot);
    fs::remove(szStyle);
}

TEST(SimCamera, CommandsRunAlikeFromArgumentsOptionAndStandardInput) {
    const std::string strScript =
        "# channel 1 only\n"
        "init\n"
        "\n"
        "get KEY_CONTRAST   # from the current scheme\n"
        "uinit\n";
    const struct {
        const char* szArgs;
        const std::string* pStdin;
    } cases[] = {
        {"-c 'init; get KEY_CONTRAST; uinit'", nullptr},
        {"init \\; get key_contrast \\; uinit", nullptr},
        {"-", &strScript},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szArgs);
        SimRun stRun = runSim(c.szArgs, c.pStdin);
        EXPECT_EQ(0, stRun.nExit) << transcript(stRun);
        expectLinesInOrder(stRun, {"channel 1 running: camera 1, ISP channel 0",
                                   "KEY_CONTRAST = 50", "channel 1 stopped"});
        expectRootRemoved(stRun);
    }
}

TEST(SimCamera, FirstErrorEndsANonInteractiveRunWithOneLine) {
    const std::string strPiped = "init\nset KEY_BRIGHTNESS 12x\nget KEY_BRIGHTNESS\n";
    const struct {
        const char* szArgs;
        const std::string* pStdin;
        const char* szError;
    } cases[] = {
        {"-c 'init; frobnicate; get KEY_BRIGHTNESS'", nullptr,
         "error: unknown command 'frobnicate' (help lists them)"},
        {"-c 'init; get KEY_BRIGTNESS; get KEY_BRIGHTNESS'", nullptr,
         "error: unknown key 'KEY_BRIGTNESS'"},
        {"-c 'init; set KEY_BRIGHTNESS abc; get KEY_BRIGHTNESS'", nullptr,
         "error: 'abc' is not a number"},
        {"-", &strPiped, "error: '12x' is not a number"},
        {"-c 'get KEY_BRIGHTNESS'", nullptr, "error: channel 1 is not running (init it)"},
        {"-c 'init; set KEY_BRIGHTNESS; get KEY_BRIGHTNESS'", nullptr,
         "error: usage: set <key> <value> [nocache]"},
        {"-c 'init; uinit; device lpr; get KEY_BRIGHTNESS'", nullptr,
         "error: the device can only be chosen before the first init"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szArgs);
        SimRun stRun = runSim(c.szArgs, c.pStdin);
        EXPECT_EQ(1, stRun.nExit) << transcript(stRun);
        EXPECT_EQ(1u, countLinesStartingWith(stRun, "error:")) << transcript(stRun);
        expectLinesInOrder(stRun, {c.szError});
        EXPECT_EQ(0u, countLinesStartingWith(stRun, "KEY_BRIGHTNESS =")) << "ran past the error";
        expectRootRemoved(stRun);
    }
}

TEST(SimCamera, HostInterfaceCommandsReachTheController) {
    SimRun stRun = runSim(
        "-c 'device dome; init; setp (34,61)(2337,99); getp (34,2337); range KEY_MAX_SHUTTER; "
        "range KEY_BRIGHTNESS; zoom 28000; zoom; iris 0x506; iris; light ir 1; light white 1; "
        "lighttype 4; lighttype 2; lenslock on; zoom 100; zoom; lenslock off; version; flush; "
        "export; "
        "uinit'");
    ASSERT_EQ(0, stRun.nExit) << transcript(stRun);
    expectLinesInOrder(
        stRun,
        {"pair text applied: status 0", "(34,61)(2337,99)",
         "KEY_MAX_SHUTTER: default 25, permitted [3 6 12 25 30 50 60 100 120 250 500 1000]",
         "KEY_BRIGHTNESS: no range (not a range command, or not listed by the ISP)",
         "zoom to 28000: done", "zoom position 28000, ratio 3.523x", "iris to 0x506: done",
         "iris code 0x506 (F5.6)", "ir light switch 1: done", "white light switch 1: done",
         "ir switch 0, white switch 1, light type 0", "light type 4: refused", "light type 2: set",
         "lens lock on", "zoom to 100: done",
         "zoom position 0, ratio 1.000x",  // a locked lens answers nothing
         "lens lock off", "camera version NT98530-ISP V2.3.1 build 20240611", "channel 1 stopped"});
    bool bExported = false;
    for (const std::string& strLine : stRun.vecLines) {
        bExported |= strLine.rfind("(8000,0)(8001,0)", 0) == 0 &&
                     strLine.find("(34,61)") != std::string::npos;
    }
    EXPECT_TRUE(bExported) << transcript(stRun);
}
