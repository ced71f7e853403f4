// The dynamic style (defaults and choices the ISP reports, features switched off) and the
// factory values read from it.
#include <gtest/gtest.h>

#include "IaSim.h"
#include "SensorFile.h"
#include "StyleHelpers.h"
#include "TestRoot.h"

namespace {

class DnaStyleTest : public LuxtuneTest {
  protected:
    std::string dna(const std::string& p_strStyle, bool p_bWdr = true, bool p_bLdc = true) {
        std::string strOut;
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, getDnaStyle(1, p_strStyle.c_str(), strOut, p_bWdr, p_bLdc));
        m_strPrinted = testing::internal::GetCapturedStdout();
        return flatten(strOut);
    }
    static iasim::Range range(int p_nDefault, std::vector<int> p_vecItems, int p_nType = 0) {
        iasim::Range r;
        r.default_val = p_nDefault;
        r.items = p_vecItems;
        r.param_type = p_nType;
        return r;
    }
    static std::string item(int p_nId, int p_nValue, const std::vector<int>& p_vecChoices = {}) {
        std::string str =
            "<I id=\"" + std::to_string(p_nId) + "\" value=\"" + std::to_string(p_nValue) + "\">";
        for (int n : p_vecChoices)
            str += "<O index=\"" + std::to_string(n) + "\"/>";
        return str + "</I>";
    }
    static std::string style(const std::string& p_strItems) {
        return "<S><T key=\"t\">" + p_strItems + "</T></S>";
    }

    std::string m_strPrinted;
};

TEST_F(DnaStyleTest, IspDefaultAndPermittedChoicesRewriteTheElement) {
    iasim::clearDynamic();
    iasim::setDynamic(144, range(5, {1, 5, 10}));
    EXPECT_EQ(" 144=5 #1 #5 #10", dna(style(item(144, 2, {1, 2, 5, 10}))));
    ASSERT_EQ(2u, iasim::calls().size());
    EXPECT_EQ(IA_CMD_OPT_GET_PARAM_RNAGE, iasim::calls()[1].option);
}

TEST_F(DnaStyleTest, StyleValueWinsWhenTheIspPermitsIt) {
    iasim::clearDynamic();
    iasim::setDynamic(50, range(5, {5, 10, 20}));
    EXPECT_EQ(" 50=10 #5 #10 #20", dna(style(item(50, 10, {5, 10, 20}))));
    EXPECT_NE(std::string::npos,
              m_strPrinted.find("dnaCmdList.cmd_list[0] = dnaParamList.items_cnt(3)\n"));
    EXPECT_NE(std::string::npos, m_strPrinted.find(" dnaParamList.item[1] = 10 nVal = 10 \n"));
    EXPECT_EQ(" 50=5 #5 #10 #20", dna(style(item(50, 15, {5, 10, 20}))));
}

TEST_F(DnaStyleTest, MaxShutterValue100KeepsTheIspDefaultAnd200UpCarriesTheStylesChoices) {
    iasim::clearDynamic();
    iasim::setDynamic(49, range(400, {100, 200, 400}));
    EXPECT_EQ(" 49=400 #100 #200", dna(style(item(49, 100, {100, 200, 300}))));
    EXPECT_EQ(std::string::npos, m_strPrinted.find("items_cnt")) << "value 100 skips the search";
    EXPECT_EQ(" 49=3 #0 #1 #2 #3 #4", dna(style(item(49, 203, {0, 1, 2, 3, 4}))));
}

TEST_F(DnaStyleTest, SwitchedOffFeaturesAreRemovedOncePerId) {
    iasim::clearDynamic();
    std::string strStyle = style(item(10, 0) + item(11, 0) + item(2368, 1) + item(2369, 5) +
                                 item(2048, 1) + item(2048, 2) + item(2064, 3) + item(34, 50));
    setshowBeawayFalg(false);
    EXPECT_EQ(" 11=0 2048=1 34=50", dna(strStyle, false, false))
        << "WDR, LDC and the later 2048 removed";
    EXPECT_EQ(" 11=0 2368=1 2369=5 2048=1 2048=2 2064=3 34=50", dna(strStyle, true, true));
    setshowBeawayFalg(true);
    EXPECT_EQ(" 2368=1 2369=5 2048=1 2048=2 2064=3 34=50", dna(strStyle, true, true));
}

TEST_F(DnaStyleTest, OversizedIspAnswersStayWithinTheRecords) {
    iasim::clearDynamic();
    for (int nCmd = 1000; nCmd < 1020; ++nCmd)
        iasim::setDynamic(nCmd, range(1, {1}));
    std::vector<int> vecMany;
    for (int i = 0; i < 100; ++i)
        vecMany.push_back(i);
    std::vector<int> vecChoices;
    for (int i = 0; i < 80; ++i)
        vecChoices.push_back(i);
    dna(style(item(1000, 0)));
    size_t nRangeCalls = 0;
    for (const iasim::Call& c : iasim::calls())
        nRangeCalls += c.option == IA_CMD_OPT_GET_PARAM_RNAGE;
    EXPECT_EQ(16u, nRangeCalls) << "the list holds 16 commands";

    iasim::clearDynamic();
    iasim::setDynamic(144, range(0, vecMany));
    std::string strFlat = dna(style(item(144, 0, vecChoices)));
    EXPECT_NE(std::string::npos, strFlat.find("#63"));
    EXPECT_EQ(std::string::npos, strFlat.find("#64")) << "only 64 items fit the record";
    iasim::clearDynamic();
    iasim::setDynamic(49, range(0, vecMany));
    strFlat = dna(style(item(49, 279, vecChoices)));
    EXPECT_NE(std::string::npos, strFlat.find(" 49=79 #0 "));
    EXPECT_EQ(std::string::npos, strFlat.find("#64"));
}

TEST_F(DnaStyleTest, ChoiceWithoutIndexStopsThePruningOfItsCommand) {
    iasim::clearDynamic();
    iasim::setDynamic(144, range(1, {1}));
    iasim::setDynamic(96, range(2, {2}));
    std::string strFlat =
        dna(style("<I id=\"144\" value=\"0\"><O index=\"3\"/><O/><O index=\"4\"/></I>" +
                  item(96, 0, {1, 2})));
    EXPECT_EQ(" 144=1 #4 96=2 #2", strFlat);
    EXPECT_NE(std::string::npos,
              m_strPrinted.find(
                  "SNS_SUCCESS == doDnaStyle(objStyleXmlDoc.RootElement(), dnaCmdList.cmd_list[i], "
                  "&dnaParamList)"));
}

TEST_F(DnaStyleTest, FailedIspCallsAreReportedAndPassedOver) {
    iasim::clearDynamic();
    iasim::setDynamic(144, range(1, {1}));
    iasim::setStatus(-1, IA_CMD_OPT_GET_PARAM_RNAGE, -1);
    EXPECT_EQ(" 144=0", dna(style(item(144, 2, {1}))).substr(0, 6));
    EXPECT_NE(std::string::npos,
              m_strPrinted.find("(ia_cmd_e)dnaCmdList.cmd_list[i], IA_CMD_OPT_GET_PARAM_RNAGE"));
    iasim::setStatus(IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, -1);
    EXPECT_EQ(" 144=2 #1", dna(style(item(144, 2, {1}))));
    EXPECT_NE(
        std::string::npos,
        m_strPrinted.find("IA_CMD_DYNAMIC_PARAMS_CMDS_GET, IA_CMD_OPT_GET, (void*)(&dnaCmdList))"));
}

TEST_F(DnaStyleTest, ElementSearchesTakeTheLastMatchOutsideOtherMatches) {
    TiXmlDocument doc;
    doc.Parse(
        "<S><I id=\"112\" value=\"1\"><I id=\"112\" value=\"9\"/></I><I id=\"128\"/><I id=\"112\" "
        "value=\"2\"/></S>");
    int nValue = -1;
    getDnaValbyCmdId(doc.RootElement(), 112, nValue);
    EXPECT_EQ(2, nValue);
    getDnaValbyCmdId(doc.RootElement(), 128, nValue);
    EXPECT_EQ(2, nValue) << "a match without value leaves it";
    TiXmlElement* pNode = nullptr;
    getNodebyCmdId(doc.RootElement(), 7, pNode);
    EXPECT_EQ(nullptr, pNode);
    ModifyNodebyCmdId(doc.RootElement(), 112);
    ModifyNodebyCmdId(doc.RootElement(), 128);
    EXPECT_EQ(" 112=1 112=9 128 112=2", flatten(doc.RootElement()));
    EXPECT_STREQ("128", doc.RootElement()->FirstChildElement()->Attribute("enable_list"));
    EXPECT_EQ(nullptr, doc.RootElement()->FirstChildElement()->FirstChildElement()->Attribute(
                           "enable_list"));
    EXPECT_EQ(-1, DeleteNode(nullptr, doc.RootElement()));
    EXPECT_EQ(0, DeleteNode(doc.RootElement(), doc.RootElement()));
    EXPECT_NE(nullptr, doc.RootElement()) << "the root element is never removed";
}

class FactoryTest : public DnaStyleTest {
  protected:
    std::vector<std::pair<u32, u32>> factory(const std::string& p_strStyle, bool p_bWdr,
                                             u32 p_nRoom = 170) {
        KeyVal stArr[170];
        u32 nCount = 99;
        std::string strStyle = p_strStyle;
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, getFctData(1, &strStyle[0], stArr, &nCount, p_bWdr, true, p_nRoom));
        m_strPrinted = testing::internal::GetCapturedStdout();
        std::vector<std::pair<u32, u32>> vec;
        for (u32 i = 0; i < nCount; ++i)
            vec.push_back({stArr[i].key, stArr[i].value});
        return vec;
    }
};

using Records = std::vector<std::pair<u32, u32>>;

TEST_F(FactoryTest, EveryElementWithIdAndValueInDocumentOrder) {
    iasim::clearDynamic();
    std::string strStyle = style(item(34, 50) + item(2368, 1) + item(10, 0));
    EXPECT_EQ((Records{{34, 50}}), factory(strStyle, false));
    EXPECT_EQ((Records{{34, 50}, {2368, 1}}), factory(strStyle, true));
    EXPECT_EQ(
        (Records{{144, 2}, {161, 1}, {7, 0}, {8, 0xFFFFFFFB}}),
        factory(style("<I id=\"144\" value=\"2\"><I id=\"161\" value=\"1\"/><O index=\"3\"/></I>"
                      "<I id=\"7\" value=\"abc\"/><I value=\"1\"><I id=\"8\" value=\"-5\"/></I><I "
                      "id=\"9\"/>"),
                true));
}

TEST_F(FactoryTest, StopsAtTheRoomOfTheArrayAndReportsIt) {
    iasim::clearDynamic();
    EXPECT_EQ((Records{{1, 1}, {2, 2}}),
              factory(style(item(1, 1) + item(2, 2) + item(3, 3)), true, 2));
    EXPECT_NE(
        std::string::npos,
        m_strPrinted.find("SNS_SUCCESS == style2KeyVal(pRootNode, p_pKeyVal, p_pnKeyValNum)"));
    EXPECT_NE(std::string::npos, m_strPrinted.find("p_pnKeyValNum(2)\n"));
    EXPECT_EQ(Records{}, factory("", true));
}

}  // namespace
