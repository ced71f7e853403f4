// The host's text forms: the pair text decoded and printed, the list text of key ids, and the
// text forms of setParameters and getParameters.
#include <gtest/gtest.h>

#include "ControllerFixture.h"
#include "SensorKeyVal.h"

namespace {

using Pairs = std::vector<std::pair<u32, u32>>;

Pairs decode(const std::string& p_strText) {
    KeyVal stArr[16];
    unsigned int nCount = 99;
    keyval_str2st(p_strText, stArr, &nCount);
    Pairs vec;
    for (unsigned int i = 0; i < nCount; ++i)
        vec.push_back({stArr[i].key, stArr[i].value});
    return vec;
}

TEST(PairTextTest, DecodingFollowsTheBracketsAndKeepsHolders) {
    const struct {
        const char* szText;
        Pairs records;
    } cases[] = {{"(34,50),(2337,128)", {{34, 50}, {2337, 128}}},
                 {"(34,-1)", {{34, 0xFFFFFFFF}}},
                 {"(5)(6,7)", {{5, 0}, {6, 7}}},
                 {"(1,2))(3,4)", {{1, 2}, {1, 2}, {3, 4}}},
                 {"(1,2)) (3,4)", {{1, 2}, {3, 4}, {3, 4}}},
                 {"x(34, 50)y( -2 ,+3)z", {{34, 50}, {0xFFFFFFFE, 50}}},
                 {"(8,9)(", {{8, 9}}},
                 {"(a,b)", {{0, 0}}},
                 // Bytes above 127 are never white space or digits, whatever the sign of char.
                 {"(\xe9" "34,50)(34,\xa0" "51)", {{0, 0}, {34, 0}}},
                 {"abc", {}},
                 {"", {}}};
    for (const auto& c : cases)
        EXPECT_EQ(c.records, decode(c.szText)) << c.szText;
}

TEST(PairTextTest, PrintingAppendsSignedGroups) {
    KeyVal stArr[] = {{34, 50}, {2337, 128}, {34, 0xFFFFFFFF}};
    std::string strText = "x";
    keyval_st2str(strText, stArr, 0);
    EXPECT_EQ("x", strText);
    keyval_st2str(strText, stArr, 3);
    EXPECT_EQ("x(34,50)(2337,128)(34,-1)", strText);
}

TEST(PairTextTest, BoundedDecodingRefusesTooManyGroups) {
    KeyVal stArr[2] = {{7, 7}, {7, 7}};
    unsigned int nCount = 5;
    EXPECT_FALSE(keyval_str2st("(1,1)(2,2)(3,3)", stArr, &nCount, 2));
    EXPECT_EQ(0u, nCount);
    EXPECT_TRUE(keyval_str2st("(1,1)(2,2)", stArr, &nCount, 2));
    EXPECT_EQ(2u, nCount);
}

using TextProtocolTest = ControllerFixture;

TEST_F(TextProtocolTest, MalformedListTextsAreRefusedAndLeaveTheAnswer) {
    for (const char* szIds : {"", "(34", "34)", "(34))", "()", " (34)"}) {
        std::string strAnswer = "keep";
        testing::internal::CaptureStdout();
        EXPECT_FALSE(m_objCtl.getParameters(szIds, strAnswer)) << szIds;
        std::string strOut = testing::internal::GetCapturedStdout();
        EXPECT_EQ("keep", strAnswer);
        EXPECT_EQ(0u, strOut.find("ISensorController"));
        EXPECT_NE(std::string::npos,
                  strOut.find(std::string(" getParameters fail p_strIds = ") + szIds + " \n"));
    }
}

TEST_F(TextProtocolTest, ListedKeysAreAnsweredInOrderAndUnreadableOnesLeftOut) {
    std::string strAnswer = "old";
    testing::internal::CaptureStdout();
    EXPECT_TRUE(m_objCtl.getParameters("(34,2337)", strAnswer));
    EXPECT_EQ("(34,50)(2337,128)", strAnswer);
    iasim::setStatus(7, IA_CMD_OPT_GET, -1);
    EXPECT_TRUE(m_objCtl.getParameters("(34,7)", strAnswer));
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_EQ("(34,50)", strAnswer);
    EXPECT_NE(std::string::npos, strOut.find("@@ out_Parameters = (34,50) @@\n"));
}

TEST_F(TextProtocolTest, PairTextGoesThroughTheBatch) {
    EXPECT_EQ(0, m_objCtl.setParameters(std::string("(34,51),(2337,129)"), true));
    EXPECT_EQ((Sets{{34, 51}, {2337, 129}}), ispSets());
    EXPECT_EQ(51u, cached(0, KEY_BRIGHTNESS));
    EXPECT_EQ(0, m_objCtl.setParameters(std::string("no groups"), true));
    iasim::setStatus(2337, IA_CMD_OPT_SET, -1);
    EXPECT_EQ(-2337, m_objCtl.setParameters(std::string("(2337,1)"), false));
}

TEST_F(TextProtocolTest, TextWithMoreGroupsThanTheSchemeIsRefusedWhole) {
    std::string strText;
    for (u32 i = 0; i <= Access::keyValSum(m_objCtl); ++i)
        strText += "(34," + std::to_string(i) + ")";
    testing::internal::CaptureStdout();
    EXPECT_LT(m_objCtl.setParameters(strText, true), 0);
    std::string strOut = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(iasim::calls().empty());
    EXPECT_EQ(50u, cached(0, KEY_BRIGHTNESS));
    EXPECT_NE(std::string::npos, strOut.find("nCount <= m_nKeyValSum   ~~~Assertion failed."));
}

}  // namespace
