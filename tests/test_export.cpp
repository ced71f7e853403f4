// The full export of the current scheme: from the scheme file when the style carries its own
// shutter choices, otherwise the values in memory corrected by the ISP.
#include <gtest/gtest.h>

#include "ControllerFixture.h"
#include "SensorKeyVal.h"

namespace {

class ExportTest : public ControllerFixture {
  protected:
    void styleMarker(const char* p_szValue) {
        root().write(
            "/tmp/merge_style_ch1.xml",
            std::string("<S><T key=\"e\"><I id=\"49\" value=\"") + p_szValue + "\"/></T></S>");
    }
    std::string exported(std::string p_strText = "") {
        testing::internal::CaptureStdout();
        EXPECT_TRUE(m_objCtl.getAllParameters(p_strText));
        m_strOut = testing::internal::GetCapturedStdout();
        return p_strText;
    }
    std::string pairText(const std::vector<KeyVal>& p_vec) {
        std::string str;
        keyval_st2str(str, const_cast<KeyVal*>(p_vec.data()), static_cast<unsigned>(p_vec.size()));
        return str;
    }
    std::string m_strOut;
};

TEST_F(ExportTest, StylesOwnShutterChoicesMeanTheFileAsStored) {
    styleMarker("203");
    m_objCtl.flush();
    m_objCtl.setParameter(KEY_BRIGHTNESS, 99, true);  // in memory only
    std::vector<KeyVal> vecStored = sampleScheme();
    EXPECT_EQ(pairText(vecStored), exported());
    EXPECT_EQ(99u, cached(0, KEY_BRIGHTNESS));
    EXPECT_EQ("x" + pairText(vecStored), exported("x")) << "appended to what the answer holds";
    for (u32 nScheme : {4u, 0xFFFFFFFFu}) {
        setCurrent(nScheme);
        EXPECT_EQ("keep", exported("keep")) << nScheme;
    }
}

TEST_F(ExportTest, OtherwiseTheCorrectedValuesInMemory) {
    styleMarker("100");
    iasim::clearDynamic();
    iasim::Range r;
    r.param_type = 1;
    r.min_val = 0;
    r.max_val = 40;
    iasim::setDynamic(KEY_BRIGHTNESS, r);
    iasim::setDynamic(48, r);
    root().writeDebugSwitch("6\n");
    std::string strAnswer = exported();
    EXPECT_NE(std::string::npos, strAnswer.find("(34,40)"));
    EXPECT_EQ(40u, cached(0, KEY_BRIGHTNESS)) << "the correction stays in memory";
    EXPECT_NE(std::string::npos,
              m_strOut.find("[sensor assert] file:SensorKeyVal fun:keyval_correct"));
    EXPECT_NE(std::string::npos, m_strOut.find("cmd_list[1]=48\n"));
    EXPECT_NE(std::string::npos, m_strOut.find("before correct: (34,50)\n"));
    EXPECT_NE(std::string::npos, m_strOut.find("after correct: (34,40)\n"));
    EXPECT_NE(std::string::npos,
              root().read("/mnt/mtd/log/SensorError.log").find("cmd_list[1]=48"));
}

TEST_F(ExportTest, MissingStyleFileCountsAsTheFileBranch) {
    m_objCtl.flush();
    EXPECT_EQ(pairText(sampleScheme()), exported());
    EXPECT_NE(std::string::npos,
              m_strOut.find("objStyleXmlDoc.LoadFile(filename, TIXML_ENCODING_UTF8)"));
    ISensorController objFresh;
    std::string strAnswer = "keep";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(objFresh.getAllParameters(strAnswer));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ("keep", strAnswer) << "before init nothing is touched";
}

TEST_F(ExportTest, CorrectionNeedsRecordsAndStaysWithinTheList) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(-1, keyval_correct(0, nullptr, 3));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, strOut.find("NULL != p_pKeyval   ~~~Assertion failed."));
    EXPECT_TRUE(iasim::calls().empty());
    iasim::clearDynamic();
    iasim::setDynamic(KEY_BRIGHTNESS, iasim::Range());
    iasim::setClaimedCounts(1000, -1);
    KeyVal stRec = {KEY_BRIGHTNESS, 5};
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, keyval_correct(0, &stRec, 1));
    testing::internal::GetCapturedStdout();
    size_t nCorrections = 0;
    for (const iasim::Call& c : iasim::calls())
        nCorrections += c.option == IA_CMD_OPT_CORRECT_PARAM;
    EXPECT_EQ(1u, nCorrections);
}

}  // namespace
