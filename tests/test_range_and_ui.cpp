// The parameter range query and the UI documents.
#include <gtest/gtest.h>

#include "ControllerFixture.h"
#include "ZqSim.h"

#include <algorithm>
#include <cstring>

namespace {

class RangeTest : public ControllerFixture {
  protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        iasim::clearDynamic();
    }
    static iasim::Range range(int p_nType, int p_nDefault, std::vector<int> p_vecItems) {
        iasim::Range r;
        r.param_type = p_nType;
        r.default_val = p_nDefault;
        r.items = p_vecItems;
        return r;
    }
    bool query(int p_nCmd, int& p_nDefault, std::string& p_strRange) {
        testing::internal::CaptureStdout();
        bool bRet = m_objCtl.getSensorParamRange(p_nCmd, p_nDefault, p_strRange);
        m_strOut = testing::internal::GetCapturedStdout();
        return bRet;
    }
    std::string m_strOut;
};

TEST_F(RangeTest, ListedShutterGivesItsDefaultAndPermittedValues) {
    iasim::setDynamic(49, range(0, 200, {100, 200, 400, 800}));
    int nDefault = -1;
    std::string strRange;
    EXPECT_TRUE(query(49, nDefault, strRange));
    EXPECT_EQ(200, nDefault);
    EXPECT_EQ("100 200 400 800", strRange);
    EXPECT_EQ("cmd=49 DefaltParam=200 strParamRange=100 200 400 800\n", m_strOut);
    strRange = "x";
    EXPECT_TRUE(query(49, nDefault, strRange));
    EXPECT_EQ("x100 200 400 800", strRange);
}

TEST_F(RangeTest, OnlySevenCommandsAreAnsweredAndOnlyListsFillTheText) {
    iasim::setDynamic(34, range(0, 1, {1}));
    iasim::setDynamic(50, range(1, 9, {1, 2}));
    int nDefault = -1;
    std::string strRange = "keep";
    EXPECT_FALSE(query(34, nDefault, strRange)) << "listed by the ISP but not a range command";
    EXPECT_FALSE(query(56, nDefault, strRange)) << "a range command the ISP does not list";
    EXPECT_TRUE(query(50, nDefault, strRange));
    EXPECT_EQ(-1, nDefault);
    EXPECT_EQ("keep", strRange);
    EXPECT_EQ("", m_strOut);
}

TEST_F(RangeTest, LockedLensAnswersTheNearLimitWithAnEmptyList) {
    iasim::setDynamic(1537, range(0, 3, {1, 2, 3}));
    Access::lens(m_objCtl).setLockZoomFocusEnable(true);
    int nDefault = -1;
    std::string strRange;
    EXPECT_TRUE(query(1537, nDefault, strRange));
    EXPECT_EQ(0, nDefault);
    EXPECT_EQ("", strRange);
    EXPECT_EQ("cmd=1537 DefaltParam=0 strParamRange=\n", m_strOut);
}

TEST_F(RangeTest, OverclaimedCountsStayWithinTheRecords) {
    std::vector<int> vecItems;
    for (int i = 0; i < 64; ++i)
        vecItems.push_back(i);
    iasim::setDynamic(49, range(0, 0, vecItems));
    iasim::setClaimedCounts(500, 500);
    int nDefault = -1;
    std::string strRange;
    EXPECT_TRUE(query(49, nDefault, strRange));
    EXPECT_EQ(64u, std::count(strRange.begin(), strRange.end(), ' ') + 1u);
}

using UiFileTest = ControllerFixture;

TEST_F(UiFileTest, StyleIsBuiltOnEachRequestAndFollowsTheWdrFlag) {
    Access::sysConf(m_objCtl).szUIStyle =
        strdup("<S><T key=\"t\"><I id=\"2368\" value=\"1\"/><I id=\"10\" value=\"0\"/></T></S>");
    std::string strFirst = m_objCtl.getUIStyleFile();
    EXPECT_EQ(strFirst, m_objCtl.getUIStyleFile());
    EXPECT_NE(std::string::npos, strFirst.find("id=\"2368\""));
    EXPECT_EQ(std::string::npos, strFirst.find("id=\"10\""));
    m_objCtl.setShowWDRFalg(false);
    bool bShown = true;
    EXPECT_TRUE(m_objCtl.getShowWDRFalg(bShown));
    EXPECT_FALSE(bShown);
    EXPECT_EQ(std::string::npos, m_objCtl.getUIStyleFile().find("id=\"2368\""));
    EXPECT_EQ(3, m_objVideo.busyQueries()) << "an idle module is asked once per request";
}

TEST_F(UiFileTest, BusyVideoModuleIsWaitedForAtMost30Times) {
    zqsim::setTimeScale(0.001);
    m_objVideo.setBusyAnswers(-1);
    testing::internal::CaptureStdout();
    m_objCtl.getUIStyleFile();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(30, m_objVideo.busyQueries());
    m_objVideo.setBusyAnswers(2);
    testing::internal::CaptureStdout();
    m_objCtl.getUIStyleFile();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(33, m_objVideo.busyQueries()) << "two busy answers, then idle";
}

TEST_F(UiFileTest, UiFileNamesComeFromTheListOrAreEmpty) {
    EXPECT_EQ("", m_objCtl.getUICommonFile(3));
    EXPECT_EQ("", m_objCtl.getUILanguageFile(3));
    SysConfig& stConf = Access::sysConf(m_objCtl);
    stConf.pstUIFiles = static_cast<UIFileInfo*>(calloc(2, sizeof(UIFileInfo)));
    stConf.nUIFileSum = 2;
    stConf.pstUIFiles[0] = {1, {}, strdup("en.lang"), strdup("common1.js")};
    stConf.pstUIFiles[1] = {3, {}, nullptr, strdup("common3.js")};
    EXPECT_EQ("common3.js", m_objCtl.getUICommonFile(3));
    EXPECT_EQ("", m_objCtl.getUILanguageFile(3));
    EXPECT_EQ("en.lang", m_objCtl.getUILanguageFile(9)) << "no match: the first record";
}

}  // namespace
