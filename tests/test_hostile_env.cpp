// A hostile device: missing, empty, unreadable and oversized configuration files, a read-only
// disk and a full one. Each is reported and the controller keeps serving what it can.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "DeviceFixture.h"
#include "ZqSim.h"

namespace {

constexpr const char* kStyle = "/hd1/moduleConfig/sensorConfig/style/Style.xml";
constexpr const char* kDiversity =
    "/hd1/moduleConfig/sensorConfig/styleDiversity/StyleDiversity.xml";
constexpr const char* kMachine = "/mnt/mtd/code/factory_setting/machineinfo.ini";
constexpr const char* kModules = "/hd1/moduleConfig/moduleConfig.xml";

class HostileEnvTest : public DeviceFixture {
  protected:
    // Starts channel 1 on the damaged device and checks that it serves a key write and read.
    std::string startAndServe() {
        ModuleConfigure objModule = moduleFor(1);
        m_vecControllers.push_back(std::make_unique<ISensorController>());
        ISensorController& objCtl = *m_vecControllers.back();
        objCtl.setChannelID(1);
        objCtl.setVideoStreamModule(&m_objVideo);
        std::string strOut = quiet([&] {
            EXPECT_TRUE(objCtl.init(objModule));
            EXPECT_EQ(0, objCtl.setParameter(KEY_BRIGHTNESS, 42, true));
            int nValue = 0;
            EXPECT_TRUE(objCtl.getParameter(KEY_BRIGHTNESS, nValue));
            EXPECT_EQ(42, nValue);
            objCtl.flush();
            std::string strStyle = objCtl.getUIStyleFile();
            std::string strAll;
            EXPECT_TRUE(objCtl.getAllParameters(strAll));
            objCtl.uinit();
        });
        EXPECT_EQ(1, objCtl.getSensorStatus());
        return strOut;
    }
};

TEST_F(HostileEnvTest, DamagedConfigurationFilesAreReportedAndPassedOver) {
    const std::string strHuge(2 * 1024 * 1024, ' ');
    const struct {
        const char* szPath;
        const char* szDamage;  // "missing", "empty", "huge", "unreadable"
        const char* szReport;
    } cases[] = {
        {kStyle, "missing", "loadFromFile(strStyleFileName.c_str(), p_stSysConf->szUIStyle"},
        {kStyle, "empty", "loadFromFile(strStyleFileName.c_str(), p_stSysConf->szUIStyle"},
        {kStyle, "huge", "doc_style.LoadMem(*ui_style, TIXML_ENCODING_UTF8)"},
        {kStyle, "unreadable", "loadFromFile(strStyleFileName.c_str(), p_stSysConf->szUIStyle"},
        {kDiversity, "missing", "loadFromFile(strStyleDivFileName.c_str(), ui_styleDiversity"},
        {kDiversity, "huge", "doc_style_div.LoadMem(ui_styleDiversity, TIXML_ENCODING_UTF8)"},
        {kDiversity, "unreadable", "loadFromFile(strStyleDivFileName.c_str(), ui_styleDiversity"},
        {kMachine, "missing", "SystemInfoParser::parseMachineInfo("},
        {kMachine, "empty", "SystemInfoParser::parseMachineInfo("},
        {kMachine, "unreadable", "SystemInfoParser::parseMachineInfo("},
        {kMachine, "huge", "SystemInfoParser::parseMachineInfo("},
        {kModules, "missing", nullptr},
        {kModules, "unreadable", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.szPath) + " " + c.szDamage);
        std::string strSaved = root().read(c.szPath);
        std::string strDamage = c.szDamage;
        if (strDamage == "missing") root().remove(c.szPath);
        if (strDamage == "empty") root().write(c.szPath, "");
        if (strDamage == "huge") root().write(c.szPath, strHuge);
        if (strDamage == "unreadable") zqsim::setUnreadable(c.szPath);
        std::string strOut = startAndServe();
        if (c.szReport) {
            EXPECT_NE(std::string::npos, strOut.find(c.szReport)) << strOut.substr(0, 2000);
        }
        zqsim::setUnreadable("");
        root().write(c.szPath, strSaved);
    }
}

TEST_F(HostileEnvTest, ReadOnlyDiskKeepsTheSchemesInMemory) {
    zqsim::setReadOnly(true);
    std::string strOut = startAndServe();
    EXPECT_NE(std::string::npos, strOut.find("file.open(file_name, ZqFile::modeWrite | "
                                             "ZqFile::modeTruncate)   ~~~Assertion failed."));
    EXPECT_FALSE(root().exists(schemeFile(1, 0)));
    zqsim::setReadOnly(false);
}

TEST_F(HostileEnvTest, FullDiskLeavesNoHalfWrittenFile) {
    start(1).uinit();
    std::string strBefore = root().read(schemeFile(1, 0));
    zqsim::setDiskSpace(100);
    ISensorController& objCtl = start(1);
    std::string strOut = quiet([&] {
        objCtl.setParameter(KEY_BRIGHTNESS, 42, true);
        objCtl.flush();
        objCtl.uinit();
    });
    EXPECT_NE(std::string::npos,
              strOut.find("nSize == sizeof(KeyVal)*p_nKeyValSum   ~~~Assertion failed."));
    EXPECT_EQ(strBefore, root().read(schemeFile(1, 0))) << "the old scheme stays whole";
    EXPECT_FALSE(root().exists(schemeFile(1, 0) + ".tmp"));
    zqsim::setDiskSpace(-1);
}

}  // namespace
