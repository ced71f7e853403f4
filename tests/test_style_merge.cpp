// The style merge: condition blocks selected by the module's detail text, the tab operations,
// the merged file, the detail-field readers and the document limits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "SensorFile.h"
#include "StyleHelpers.h"
#include "TestRoot.h"
#include "sensor.h"

namespace {

const char* const kStyle =
    "<S><Tab key=\"a\"><I id=\"1\" value=\"1\"/></Tab><Tab key=\"b\"><I id=\"2\" "
    "value=\"2\"/></Tab>"
    "<Tab key=\"c\"/><Tab key=\"b\"><I id=\"3\" value=\"3\"/></Tab></S>";

class StyleMergeTest : public LuxtuneTest {
  protected:
    // Merges kStyle (or p_szStyle) with a diversity text for a detail text; the merged text.
    std::string merge(const std::string& p_strDiversity, const char* p_szDetail,
                      const char* p_szStyle = kStyle) {
        ModuleConfig stModule;
        memset(&stModule, 0, sizeof stModule);
        strncpy(stModule.szDetail, p_szDetail, sizeof stModule.szDetail - 1);
        char* szStyle = strdup(p_szStyle);
        std::string strDiv = p_strDiversity;
        testing::internal::CaptureStdout();
        EXPECT_EQ(0, mergeStyle(1, &stModule, &szStyle, &strDiv[0]));
        m_strOut = testing::internal::GetCapturedStdout();
        std::string strMerged = szStyle;
        free(szStyle);
        return strMerged;
    }
    static std::string tab(const char* p_szKey) {
        return std::string("<Tab key=\"") + p_szKey + "\"/>";
    }

    std::string m_strOut;
};

TEST_F(StyleMergeTest, BlocksAreSelectedByTheFirstFiveCharactersOfADetailField) {
    const std::string strDelete = "<Delete tab_key=\"a\"/>";
    const struct {
        const char* szDetail;
        const char* szBlockAttrs;
        bool bSelected;
    } cases[] = {{"(lensId=3)", "lensId=\"1,3\"", true},
                 {"(sensor=imx678)", "sensor=\"imx675\"", true},
                 {"(sensor=imx6)", "sensor=\"imx678\"", false},
                 {"(lensId=3)", "board=\"x\" lens=\"9\"", false},
                 {"(lensId=3)(board=ir)", "board=\"dual\" lensId=\"3\"", true},
                 {"(lensId=3)", "lensId=\"2,4\"", false},
                 {"(lensId=3)", "", false}};
    for (const auto& c : cases) {
        std::string strDiv = std::string("<D ") + c.szBlockAttrs + ">" + strDelete + "</D>";
        std::vector<std::string> keys = tabKeys(merge(strDiv, c.szDetail));
        std::vector<std::string> expected = {"b", "c", "b"};
        if (!c.bSelected) expected.insert(expected.begin(), "a");
        EXPECT_EQ(expected, keys) << c.szDetail << " " << c.szBlockAttrs;
    }
}

TEST_F(StyleMergeTest, OperationsOfEverySelectedBlockApplyInTurn) {
    std::string strDiv =
        "<D lensId=\"3\"><Modify tab_key=\"b\"><Tab key=\"b\"><I id=\"7\" "
        "value=\"7\"/></Tab></Modify></D>"
        "<D board=\"x\"><Delete tab_key=\"c\"/></D>"
        "<D lensId=\"3\"><Modify tab_key=\"b\"><Tab key=\"b\"><I id=\"8\" "
        "value=\"8\"/></Tab></Modify>"
        "<AddAfter tab_key=\"a\">" +
        tab("n1") + tab("n2") +
        "</AddAfter><Delete tab_key=\"b\"/><Rename tab_key=\"c\"/>"
        "<Delete tab_key=\"zz\"/></D>";
    std::string strMerged = merge(strDiv, "(lensId=3)");
    EXPECT_EQ((std::vector<std::string>{"a", "n1", "c", "b"}), tabKeys(strMerged));
    EXPECT_EQ(" 1=1 3=3", flatten(strMerged))
        << "the second Modify replaced the first; Delete took the first b";
}

TEST_F(StyleMergeTest, IncompleteOperationsAndTabsWithoutKeyArePassedOver) {
    const char* szStyle = "<S><Tab/><Tab key=\"a\"/><Tab key=\"b\"/></S>";
    std::string strDiv =
        "<D lensId=\"3\"><Modify tab_key=\"a\"/><AddAfter tab_key=\"a\"/><Delete/>"
        "<AddAfter tab_key=\"b\">" +
        tab("z") + "</AddAfter></D>";
    EXPECT_EQ((std::vector<std::string>{"-", "a", "b", "z"}),
              tabKeys(merge(strDiv, "(lensId=3)", szStyle)));
}

TEST_F(StyleMergeTest, MergedStyleIsWrittenAndReadBack) {
    std::string strMerged = merge("<D lensId=\"3\"><Delete tab_key=\"c\"/></D>", "(lensId=3)");
    EXPECT_EQ(root().read("/tmp/merge_style_ch1.xml"), strMerged);
    EXPECT_EQ("", m_strOut) << "nothing is reported for a clean merge";
}

TEST_F(StyleMergeTest, EmptyDiversityLeavesTheStyleAsPrintedWithTwoReports) {
    std::string strMerged = merge("", "(lensId=3)");
    EXPECT_NE(std::string::npos,
              m_strOut.find("doc_style_div.LoadMem(ui_styleDiversity, TIXML_ENCODING_UTF8)"));
    EXPECT_NE(std::string::npos,
              m_strOut.find("NULL != (node_first = doc_style_div.RootElement())"));
    TiXmlDocument doc;
    doc.Parse(kStyle);
    EXPECT_EQ(luxtune::getXmlString(doc), strMerged);
}

TEST_F(StyleMergeTest, SelectedBlockWithoutOperationsAndStyleWithoutTabsAreReported) {
    merge("<D lensId=\"3\"/>", "(lensId=3)");
    EXPECT_NE(std::string::npos,
              m_strOut.find("NULL != (node_second = node_first->FirstChildElement())"));
    std::string strMerged =
        merge("<D lensId=\"3\"><Delete tab_key=\"a\"/></D>", "(lensId=3)", "<S/>");
    EXPECT_NE(std::string::npos,
              m_strOut.find("NULL != (tab_node = doc_style->RootElement()->FirstChildElement())"));
    EXPECT_EQ((std::vector<std::string>{}), tabKeys(strMerged));
}

TEST_F(StyleMergeTest, HostileDocumentsAreRefusedAsMalformed) {
    std::string strDeep;
    for (int i = 0; i < 100000; ++i)
        strDeep += "<a>";
    std::string strZero = std::string(kStyle) + std::string(1, '\0') + "<x/>";
    std::string strHuge = "<S>" + std::string(2 * 1024 * 1024, ' ') + "</S>";
    for (const std::string& strStyle : {strDeep, strHuge}) {
        std::string strMerged =
            merge("<D lensId=\"3\"><Delete tab_key=\"a\"/></D>", "(lensId=3)", strStyle.c_str());
        EXPECT_NE(std::string::npos,
                  m_strOut.find("doc_style.LoadMem(*ui_style, TIXML_ENCODING_UTF8)"));
        EXPECT_EQ(0u, tabKeys(strMerged).size());
    }
    TiXmlDocument doc;
    EXPECT_FALSE(luxtune::xmlLoadMem(doc, strZero.c_str(), TIXML_ENCODING_UTF8, strZero.size()));
    EXPECT_TRUE(luxtune::xmlLoadMem(doc, kStyle, TIXML_ENCODING_UTF8, strlen(kStyle)));
    std::string strNested64 = std::string(64 * 3, ' ');
    strNested64.clear();
    for (int i = 0; i < 64; ++i)
        strNested64 += "<a>";
    for (int i = 0; i < 64; ++i)
        strNested64 += "</a>";
    EXPECT_TRUE(luxtune::xmlLoadMem(doc, strNested64.c_str(), TIXML_ENCODING_UTF8));
    EXPECT_FALSE(
        luxtune::xmlLoadMem(doc, ("<b>" + strNested64 + "</b>").c_str(), TIXML_ENCODING_UTF8));
}

TEST_F(StyleMergeTest, NestingHiddenFromTheLimitsIsRefused) {
    // Each document nests 65 deep the way TinyXML reads it, with the nesting hidden from a plain
    // scan: an unknown node or a stray declaration ends at its first ">" whatever its quotes, a
    // top-level end tag closes nothing, a comment's end is looked for after its start, a lead
    // byte swallows the "</" after it, a loose "&#" reference runs on to the next ";".
    auto repeat = [](const std::string& p_str, int p_nTimes) {
        std::string str;
        for (int i = 0; i < p_nTimes; ++i)
            str += p_str;
        return str;
    };
    const std::string strNest = repeat("<a>", 65) + repeat("</a>", 65);
    const std::string cases[] = {"<!x '>" + strNest + "'>",
                                 "<?xml x='>" + strNest + "'?>",
                                 "<1 '>" + strNest + "'>",
                                 "</x></x>" + strNest,
                                 "<!--><b x='-->" + strNest + "'>",
                                 repeat("<a>\xE0</a>", 65) + repeat("</a>", 65),
                                 repeat("<a>&#x</a>x;", 65) + repeat("</a>", 65)};
    for (const std::string& strDoc : cases) {
        TiXmlDocument doc;
        EXPECT_FALSE(luxtune::xmlLoadMem(doc, strDoc.c_str(), TIXML_ENCODING_UTF8))
            << strDoc.substr(0, 24);
    }
    const char* szPlain =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!-- c --><S a=\"x>y\" b='\xC3\xA9'>"
        "<![CDATA[<b>]]>&#65;&#x41;&amp;</S>";
    TiXmlDocument doc;
    ASSERT_TRUE(luxtune::xmlLoadMem(doc, szPlain, TIXML_ENCODING_UTF8));
    EXPECT_STREQ("x>y", doc.RootElement()->Attribute("a"));
    EXPECT_STREQ("\xC3\xA9", doc.RootElement()->Attribute("b"));
}

TEST_F(StyleMergeTest, TextThatIsNotUtf8IsRefused) {
    // TinyXML takes a lead byte's whole announced length: at the end of the text it read past
    // the terminator.
    for (const std::string& strDoc : {std::string("<S>x\xD3"), std::string("<S a='\xE0'/>"),
                                      std::string("<S>\x80</S>"), std::string("<S>\xC0\x80</S>")}) {
        TiXmlDocument doc;
        EXPECT_FALSE(luxtune::xmlLoadMem(doc, strDoc.c_str(), TIXML_ENCODING_UTF8, strDoc.size()))
            << strDoc;
    }
}

TEST_F(StyleMergeTest, DetailFieldsAreReadUpToTheirClosingBracket) {
    const struct {
        const char* szDetail;
        const char* szName;
        int nRet;
        const char* szValue;
    } cases[] = {{"(max_scheme=6)(lensId=3)", "lensId", 0, "3"},
                 {"(lensId=3", "lensId", -1, "?"},
                 {"(lensId)", "lensId", -1, "?"},
                 {"(xlensId=7)", "lensId", 0, "7"},
                 {"(sensor=pmd2041_z5)", "sensor", 0, "pmd2041_z"},
                 {"(sensor=)", "sensor", 0, ""},
                 {"(sensor=\xe9t\xe9)", "sensor", 0, "\xe9t\xe9"},
                 {"(a=1)", "b", -1, "?"}};
    for (const auto& c : cases) {
        char szValue[10] = {'?', 0};
        EXPECT_EQ(c.nRet, getDetailFieldToStr(c.szDetail, c.szName, szValue)) << c.szDetail;
        EXPECT_STREQ(c.szValue, szValue) << c.szDetail;
    }
    u32 nValue = 99;
    EXPECT_EQ(0, getDetailFieldTou32("(max_scheme=abc)", "max_scheme", &nValue));
    EXPECT_EQ(0u, nValue);
    EXPECT_EQ(0, getDetailFieldTou32("(max_scheme=12345678901234)", "max_scheme", &nValue));
    EXPECT_EQ(123456789u, nValue);
    EXPECT_EQ(-1, getDetailFieldTou32("(lensId=3)", "max_scheme", &nValue));
    EXPECT_EQ(123456789u, nValue);
}

}  // namespace
