// The system configuration: scheme count, device type, and the style documents chosen by
// device type and channel.
#include <gtest/gtest.h>

#include <cstring>

#include "StyleHelpers.h"
#include "TestRoot.h"
#include "sensor.h"

namespace {

constexpr const char* kStyleDir = "/hd1/moduleConfig/sensorConfig/style/";
constexpr const char* kDivDir = "/hd1/moduleConfig/sensorConfig/styleDiversity/";

class SysConfTest : public LuxtuneTest {
  protected:
    void SetUp() override {
        LuxtuneTest::SetUp();
        // Each document names itself in its only tab; each diversity document adds a marker tab.
        for (const char* szSuffix : {"", "_dome", "_Thermal"}) {
            std::string strName = std::string("Style") + szSuffix;
            root().write(std::string(kStyleDir) + strName + ".xml",
                         "<S><Tab key=\"" + strName + "\"/></S>");
            root().write(std::string(kDivDir) + "StyleDiversity" + szSuffix + ".xml",
                         "<D lensId=\"3\"><AddAfter tab_key=\"" + strName + "\"><Tab key=\"div" +
                             szSuffix + "\"/></AddAfter></D>");
        }
    }

    // initSysConf for a device type and channel; the tab keys of the merged style.
    std::vector<std::string> configure(int p_nType, int p_nChannel,
                                       const std::string& p_strDetail = "(lensId=3)") {
        root().writeMachineInfo(p_nType);
        ModuleConfigure objModule;
        objModule.setModuleId(7);
        objModule.setDetail(p_strDetail);
        objModule.setParameters("params");
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, initSysConf(p_nChannel, objModule, &m_stConf));
        m_strOut = testing::internal::GetCapturedStdout();
        std::vector<std::string> keys = tabKeys(m_stConf.szUIStyle);
        return keys;
    }
    void TearDown() override {
        uinitSysConf(&m_stConf);
        LuxtuneTest::TearDown();
    }

    SysConfig m_stConf{};
    std::string m_strOut;
};

using Keys = std::vector<std::string>;

TEST_F(SysConfTest, DocumentsFollowDeviceTypeAndChannel) {
    const struct {
        int nType;
        int nChannel;
        Keys keys;
        bool bReported;
    } cases[] = {{1, 1, {"Style", "div"}, false},
                 {4, 1, {"Style_dome", "div_dome"}, false},
                 {2, 1, {"Style_dome", "div_dome"}, true},
                 {13, 2, {"Style_Thermal", "div_Thermal"}, false},
                 {13, 1, {"Style", "div"}, false},
                 {14, 2, {"Style_Thermal", "div_Thermal"}, false},
                 {19, 1, {"Style_dome", "div_dome"}, false},
                 {24, 1, {"Style_dome", "div_dome"}, true},
                 {104, 1, {"Style_dome", "div_dome"}, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.keys, configure(c.nType, c.nChannel)) << c.nType << "/" << c.nChannel;
        EXPECT_EQ(c.nType, m_stConf.nDeviceType);
        bool bReported =
            m_strOut.find("machineinfo, devicetype(" + std::to_string(c.nType) +
                          ") error, must be 1 or 4 or 8 or 9 or 13\n") != std::string::npos;
        EXPECT_EQ(c.bReported, bReported) << c.nType;
        if (bReported) {
            EXPECT_NE(std::string::npos,
                      m_strOut.find("DeviceType::IPCAMERA == p_stSysConf->nDeviceType || "
                                    "DeviceType::FACE_DETECT == p_stSysConf->nDeviceType ||"));
        }
        EXPECT_EQ(root().read("/tmp/merge_style_ch" + std::to_string(c.nChannel) + ".xml"),
                  m_stConf.szUIStyle);
        uinitSysConf(&m_stConf);
    }
}

TEST_F(SysConfTest, SchemeCountComesFromTheDetailText) {
    const struct {
        const char* szDetail;
        u32 nSchemes;
    } cases[] = {{"(lensId=3)", 4}, {"(max_scheme=6)(lensId=3)", 6}, {"(max_scheme=abc)", 0}};
    for (const auto& c : cases) {
        configure(1, 1, c.szDetail);
        EXPECT_EQ(c.nSchemes, m_stConf.nSchemeSum) << c.szDetail;
        uinitSysConf(&m_stConf);
    }
}

TEST_F(SysConfTest, ModuleTextsAreKeptAndCutToTheirFields) {
    configure(1, 1, "(lensId=3)" + std::string(600, 'x'));
    EXPECT_EQ(7u, m_stConf.moduleConfig.nModuleId);
    EXPECT_STREQ("xxx", m_stConf.moduleConfig.szSpare1);
    EXPECT_STREQ("xxx", m_stConf.moduleConfig.szSpare2);
    EXPECT_STREQ("params", m_stConf.moduleConfig.szParameters);
    EXPECT_EQ(511u, strlen(m_stConf.moduleConfig.szDetail));
    EXPECT_EQ(0u, m_stConf.nUIFileSum);
    EXPECT_EQ(nullptr, m_stConf.pstUIFiles);
}

TEST_F(SysConfTest, EverythingMissingIsReportedAndStillSucceeds) {
    for (const char* szSuffix : {"", "_dome", "_Thermal"}) {
        root().remove(std::string(kStyleDir) + "Style" + szSuffix + ".xml");
        root().remove(std::string(kDivDir) + "StyleDiversity" + szSuffix + ".xml");
    }
    root().remove("/mnt/mtd/code/factory_setting/machineinfo.ini");
    ModuleConfigure objModule;
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, initSysConf(1, objModule, &m_stConf));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos,
              strOut.find("SystemInfoParser::parseMachineInfo(\"/mnt/mtd/code/factory_setting/"
                          "machineinfo.ini\", machineInfo)"));
    EXPECT_NE(std::string::npos,
              strOut.find("loadFromFile(strStyleFileName.c_str(), p_stSysConf->szUIStyle, "
                          "getFileLen(strStyleFileName.c_str())) > 0"));
    EXPECT_NE(std::string::npos,
              strOut.find("loadFromFile(strStyleDivFileName.c_str(), ui_styleDiversity, "
                          "getFileLen(strStyleDivFileName.c_str())) > 0"));
    EXPECT_NE(std::string::npos, strOut.find("doc_style.LoadMem(*ui_style, TIXML_ENCODING_UTF8)"));
    EXPECT_EQ(0, m_stConf.nDeviceType);
    ASSERT_NE(nullptr, m_stConf.szUIStyle);
    EXPECT_EQ(0u, tabKeys(m_stConf.szUIStyle).size());
}

TEST_F(SysConfTest, StyleWithAZeroByteInsideIsMalformed) {
    root().write(std::string(kStyleDir) + "Style.xml",
                 std::string("<S><Tab key=\"a\"/></S>\0<x/>", 27));
    EXPECT_EQ(Keys{}, configure(1, 1));
    EXPECT_NE(std::string::npos,
              m_strOut.find("doc_style.LoadMem(*ui_style, TIXML_ENCODING_UTF8)"));
}

}  // namespace
