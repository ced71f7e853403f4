// Source unit "SensorFile", style part: the detail-field readers, the merge of the style with
// its diversity document, the dynamic style and the factory values.
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "SensorFile.h"
#include "SensorKeys.h"
#include "ZqFramework.h"
#include "internal/IspQuery.h"
#include "internal/Report.h"
#include "internal/XmlText.h"
#include "sensor.h"

using luxtune::report::assertFailed;

namespace {

constexpr const char* kSrcUnit = "SensorFile";
constexpr size_t kDetailValueMax = 9;  // the readers' buffers hold 10 bytes with the terminator
constexpr size_t kCompareChars = 5;    // diversity conditions compare the first five characters

// Walks p_pStart, its descendants and its following siblings depth first in document order. A
// matching element (an "id" equal to p_nId) goes to p_fnMatch and its own descendants are not
// searched; a non-zero answer of p_fnMatch ends the walk with that value.
template <typename F>
int walkMatches(TiXmlElement* p_pStart, int p_nId, F p_fnMatch) {
    for (TiXmlElement* pElem = p_pStart; pElem; pElem = pElem->NextSiblingElement()) {
        const char* szId = pElem->Attribute("id");
        int nRet = (szId && atoi(szId) == p_nId)
                       ? p_fnMatch(pElem)
                       : walkMatches(pElem->FirstChildElement(), p_nId, p_fnMatch);
        if (nRet != 0) return nRet;
    }
    return 0;
}

bool listHolds(const ia_dynamic_params_attr_st* p_pParam, int p_nValue) {
    int nCount = p_pParam->items_cnt < 0 ? 0 : std::min(p_pParam->items_cnt, IA_DNA_ITEM_MAX);
    for (int i = 0; i < nCount; ++i) {
        if (p_pParam->item[i] == p_nValue) return true;
    }
    return false;
}

// A condition block is selected by its first attribute whose detail field matches one of the
// attribute's comma-separated values (or the whole value) in the first five characters.
const TiXmlAttribute* selectingAttribute(const TiXmlElement* p_pBlock, const char* p_szDetail) {
    for (const TiXmlAttribute* pAttr = p_pBlock->FirstAttribute(); pAttr; pAttr = pAttr->Next()) {
        luxtune::report::debug(SNS_HERE, "modi_attr->Name()(%s), modi_attr->Value()(%s)\n",
                               pAttr->Name(), pAttr->Value());
        char nVal[10] = {0};
        if (getDetailFieldToStr(p_szDetail, pAttr->Name(), nVal) != 0) continue;
        std::vector<std::string> vecPieces;
        StringHandler::split(pAttr->Value(), vecPieces, ",");
        vecPieces.push_back(pAttr->Value());
        for (const std::string& strPiece : vecPieces) {
            if (strncmp(nVal, strPiece.c_str(), kCompareChars) == 0) return pAttr;
        }
        luxtune::report::debug(SNS_HERE, "modi_attr->Name()(%s), modi_attr->Value()(%s) nVal(%s)\n",
                               pAttr->Name(), pAttr->Value(), nVal);
    }
    return nullptr;
}

void applyBlock(TiXmlDocument& p_objStyle, const TiXmlElement* p_pBlock,
                const TiXmlAttribute* p_pAttr) {
    const TiXmlElement* node_second = p_pBlock->FirstChildElement();
    if (!node_second) {
        assertFailed(SNS_HERE, "NULL != (node_second = node_first->FirstChildElement())");
        return;
    }
    for (; node_second; node_second = node_second->NextSiblingElement()) {
        luxtune::report::debug(SNS_HERE, "modi_attr->Name()(%s), modi_attr->Value()(%s)\n",
                               p_pAttr->Name(), p_pAttr->Value());
        updateStyleTab(&p_objStyle, node_second->Value(), node_second->Attribute("tab_key"),
                       node_second->FirstChildElement());
        luxtune::report::debug(SNS_HERE, "modi_attr->Name()(%s), modi_attr->Value()(%s)\n",
                               p_pAttr->Name(), p_pAttr->Value());
    }
}

// Writes the merged document and reads it back into *p_pszStyle, so that the text is exactly
// what the file holds.
void storeMerged(int p_nChannelID, TiXmlDocument& p_objStyle, char** p_pszStyle) {
    char filename[64];
    snprintf(filename, sizeof filename, "/tmp/merge_style_ch%d.xml", p_nChannelID);
    p_objStyle.SaveFile(ZqFile::mapPath(filename).c_str());
    if (luxtune::report::above(6)) {
        luxtune::report::info(SNS_HERE, "%s\n", luxtune::getXmlString(p_objStyle).c_str());
    }
    INT64 file_len = getFileLen(filename);
    if (file_len < 0 || static_cast<size_t>(file_len) > luxtune::kXmlMaxBytes) file_len = 0;
    char* szNew = static_cast<char*>(realloc(*p_pszStyle, static_cast<size_t>(file_len) + 1));
    if (!szNew) {
        if (*p_pszStyle) **p_pszStyle = '\0';
        return;
    }
    *p_pszStyle = szNew;
    memset(*p_pszStyle, 0, static_cast<size_t>(file_len) + 1);
    if (loadFromFile(filename, *p_pszStyle, file_len) < 1) {
        assertFailed(SNS_HERE, "loadFromFile(filename, *ui_style, file_len) > 0");
        **p_pszStyle = '\0';
    }
}

// Removes the last element with the id, if any.
void removeLastById(TiXmlElement* p_pRoot, int p_nId) {
    TiXmlElement* pNode = nullptr;
    getNodebyCmdId(p_pRoot, p_nId, pNode);
    DeleteNode(p_pRoot, pNode);
}

// For the shutters and the focus near limit a value in the style that the ISP permits wins over
// the ISP's default; KEY_MAX_SHUTTER from 200 up carries the style's own choices.
void styleValueWins(TiXmlElement* p_pRoot, int p_nIndex, int p_nCmd,
                    ia_dynamic_params_attr_st& p_stParam) {
    int nVal = 0;
    getDnaValbyCmdId(p_pRoot, p_nCmd, nVal);
    if (nVal == 100) return;
    printf("dnaCmdList.cmd_list[%d] = dnaParamList.items_cnt(%d)\n", p_nIndex, p_stParam.items_cnt);
    for (int j = 0; j < p_stParam.items_cnt; ++j) {
        printf(" dnaParamList.item[%d] = %d nVal = %d \n", j, p_stParam.item[j], nVal);
        if (p_stParam.item[j] == nVal) {
            p_stParam.default_val = nVal;
            break;
        }
    }
    if (nVal > 199 && p_nCmd == static_cast<int>(KEY_MAX_SHUTTER)) {
        doCustomizeStyle(p_pRoot, p_nCmd, &p_stParam);
        p_stParam.default_val = nVal - 200;
    }
}

bool isStyleValueCmd(int p_nCmd) {
    return p_nCmd == 49 || p_nCmd == 50 || p_nCmd == 51 || p_nCmd == 55 || p_nCmd == 56 ||
           p_nCmd == 1537;
}

void adaptToIsp(int p_channelID, TiXmlElement* p_pRoot, int p_nIndex, int p_nCmd) {
    luxtune::report::debug(SNS_HERE, "dnaCmdList.cmd_list[%d] = cmd(%d)\n", p_nIndex, p_nCmd);
    ia_dynamic_params_attr_st dnaParamList;
    memset(&dnaParamList, 0, sizeof dnaParamList);
    if (ia_ioctrl_v2(p_channelID - 1, static_cast<ia_cmd_e>(p_nCmd), IA_CMD_OPT_GET_PARAM_RNAGE,
                     &dnaParamList) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == ia_ioctrl_v2(p_channelID-1, (ia_cmd_e)dnaCmdList.cmd_list[i], "
                     "IA_CMD_OPT_GET_PARAM_RNAGE, (void*)(&dnaParamList))");
    }
    luxtune::clampItems(dnaParamList);  // room for 64 items, whatever count the ISP claims
    if (isStyleValueCmd(p_nCmd)) styleValueWins(p_pRoot, p_nIndex, p_nCmd, dnaParamList);
    if (doDnaStyle(p_pRoot, p_nCmd, &dnaParamList) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == doDnaStyle(objStyleXmlDoc.RootElement(), "
                     "dnaCmdList.cmd_list[i], &dnaParamList)");
    }
}

}  // namespace

int getDetailFieldToStr(const char* p_szDetail, const char* p_szName, char* p_szValue) {
    if (!p_szDetail || !p_szName || !p_szValue) return -1;
    const char* szField = strstr(p_szDetail, p_szName);
    if (!szField) return -1;
    const char* szEq = strchr(szField, '=');
    if (!szEq) return -1;
    const char* szClose = strchr(szEq, ')');
    if (!szClose) return -1;
    size_t nLen = static_cast<size_t>(szClose - szEq - 1);
    if (nLen > kDetailValueMax) nLen = kDetailValueMax;  // longer values are cut to the buffer
    memcpy(p_szValue, szEq + 1, nLen);
    p_szValue[nLen] = '\0';
    return 0;
}

int getDetailFieldTou32(const char* p_szDetail, const char* p_szName, u32* p_pnValue) {
    char szValue[10] = {0};
    if (!p_pnValue || getDetailFieldToStr(p_szDetail, p_szName, szValue) != 0) return -1;
    *p_pnValue = static_cast<u32>(atoi(szValue));
    return 0;
}

int updateStyleTab(TiXmlDocument* doc_style, const char* p_szOperation, const char* p_szTabKey,
                   const TiXmlElement* p_pNewTab) {
    TiXmlElement* pRoot = doc_style ? doc_style->RootElement() : nullptr;
    TiXmlElement* tab_node = pRoot ? pRoot->FirstChildElement() : nullptr;
    if (!tab_node) {
        assertFailed(SNS_HERE,
                     "NULL != (tab_node = doc_style->RootElement()->FirstChildElement())");
        return 0;
    }
    if (!p_szOperation || !p_szTabKey) return 0;
    for (; tab_node; tab_node = tab_node->NextSiblingElement()) {
        const char* szKey = tab_node->Attribute("key");
        if (szKey && strcmp(szKey, p_szTabKey) == 0) break;
    }
    if (!tab_node) return 0;
    bool bModify = strcmp(p_szOperation, "Modify") == 0;
    if ((bModify || strcmp(p_szOperation, "AddAfter") == 0) && p_pNewTab) {
        pRoot->InsertAfterChild(tab_node, *p_pNewTab);
        if (bModify) pRoot->RemoveChild(tab_node);
    } else if (strcmp(p_szOperation, "Delete") == 0) {
        pRoot->RemoveChild(tab_node);
    }
    return 0;
}

int mergeStyle(int p_nChannelID, ModuleConfig* p_pModuleConfig, char** ui_style,
               char* ui_styleDiversity) {
    TiXmlDocument doc_style;
    if (!ui_style || !luxtune::xmlLoadMem(doc_style, *ui_style, TIXML_ENCODING_UTF8)) {
        assertFailed(SNS_HERE, "doc_style.LoadMem(*ui_style, TIXML_ENCODING_UTF8)");
    }
    TiXmlDocument doc_style_div;
    if (!luxtune::xmlLoadMem(doc_style_div, ui_styleDiversity, TIXML_ENCODING_UTF8)) {
        assertFailed(SNS_HERE, "doc_style_div.LoadMem(ui_styleDiversity, TIXML_ENCODING_UTF8)");
    }
    const TiXmlElement* node_first = doc_style_div.RootElement();
    if (!node_first) assertFailed(SNS_HERE, "NULL != (node_first = doc_style_div.RootElement())");
    const char* szDetail = p_pModuleConfig ? p_pModuleConfig->szDetail : "";
    // Every block is examined; the operations of all selected blocks apply in turn.
    for (; node_first; node_first = node_first->NextSiblingElement()) {
        const TiXmlAttribute* pAttr = selectingAttribute(node_first, szDetail);
        if (pAttr) applyBlock(doc_style, node_first, pAttr);
    }
    if (ui_style) storeMerged(p_nChannelID, doc_style, ui_style);
    return SNS_SUCCESS;
}

int getDnaValbyCmdId(TiXmlElement* p_pStart, int p_nId, int& p_nValue) {
    walkMatches(p_pStart, p_nId, [&](TiXmlElement* p_pElem) {
        const char* szValue = p_pElem->Attribute("value");
        if (szValue) p_nValue = atoi(szValue);
        return 0;
    });
    return 0;
}

int getNodebyCmdId(TiXmlElement* p_pStart, int p_nId, TiXmlElement*& p_pNode) {
    walkMatches(p_pStart, p_nId, [&](TiXmlElement* p_pElem) {
        p_pNode = p_pElem;
        return 0;
    });
    return 0;
}

int ModifyNodebyCmdId(TiXmlElement* p_pStart, int p_nId) {
    walkMatches(p_pStart, p_nId, [&](TiXmlElement* p_pElem) {
        if (p_nId == 112) p_pElem->SetAttribute("enable_list", "128");
        if (p_nId == 128) p_pElem->SetAttribute("enable_list", "112");
        return 0;
    });
    return 0;
}

int DeleteNode(TiXmlElement* p_pRoot, TiXmlElement* p_pNode) {
    if (!p_pRoot || !p_pNode) return -1;
    TiXmlNode* pParent = p_pNode->Parent();
    if (pParent && pParent->ToElement()) pParent->RemoveChild(p_pNode);
    return 0;
}

int doCustomizeStyle(TiXmlElement* p_pStart, int p_nCmd, ia_dynamic_params_attr_st* p_pParam) {
    walkMatches(p_pStart, p_nCmd, [&](TiXmlElement* p_pElem) {
        int nCount = 0;
        for (const TiXmlElement* pChoice = p_pElem->FirstChildElement();
             pChoice && nCount < IA_DNA_ITEM_MAX; pChoice = pChoice->NextSiblingElement()) {
            const char* szIndex = pChoice->Attribute("index");
            if (szIndex) p_pParam->item[nCount++] = atoi(szIndex);
        }
        p_pParam->items_cnt = nCount;
        if (nCount > 0) {
            p_pParam->min_val = p_pParam->item[0];
            p_pParam->max_val = p_pParam->item[nCount - 1];
        }
        return 0;
    });
    return 0;
}

int doDnaStyle(TiXmlElement* p_pStart, int p_nCmd, const ia_dynamic_params_attr_st* p_pParam) {
    return walkMatches(p_pStart, p_nCmd, [&](TiXmlElement* p_pElem) {
        luxtune::report::debug(SNS_HERE, "_________________cmd(%d) default(%d)__________________\n",
                               p_nCmd, p_pParam->default_val);
        p_pElem->SetAttribute("value", p_pParam->default_val);
        TiXmlElement* pChoice = p_pElem->FirstChildElement();
        while (pChoice) {
            TiXmlElement* pNext = pChoice->NextSiblingElement();
            const char* szIndex = pChoice->Attribute("index");
            if (!szIndex) return -1;
            if (!listHolds(p_pParam, atoi(szIndex))) {
                luxtune::report::debug(
                    SNS_HERE, "_________________delete comboitem(%s)__________________\n", szIndex);
                p_pElem->RemoveChild(pChoice);
            }
            pChoice = pNext;
        }
        return 0;
    });
}

namespace {

// The dynamic style as a document: the merged style parsed, adapted to what the ISP reports and
// rid of the features switched off.
void buildDnaStyle(int p_channelID, const char* szStyle, TiXmlDocument& objStyleXmlDoc,
                   bool p_bShowWDRFalg, bool p_bShowLDCFlag) {
    dnaCmdList stList;
    if (luxtune::queryDynamicCmds(p_channelID - 1, stList) != SNS_SUCCESS) {
        assertFailed(SNS_HERE,
                     "SNS_SUCCESS == ia_ioctrl_v2(p_channelID-1, IA_CMD_DYNAMIC_PARAMS_CMDS_GET, "
                     "IA_CMD_OPT_GET, "
                     "(void*)(&dnaCmdList))");
    }
    if (!luxtune::xmlLoadMem(objStyleXmlDoc, szStyle, TIXML_ENCODING_UTF8)) {
        assertFailed(SNS_HERE, "objStyleXmlDoc.LoadMem(szStyle, TIXML_ENCODING_UTF8)");
    }
    TiXmlElement* pRoot = objStyleXmlDoc.RootElement();
    luxtune::report::debug(SNS_HERE, "dnaCmdList.cmd_cnt(%d)\n", stList.cmd_cnt);
    for (int i = 0; i < stList.cmd_cnt; ++i)
        adaptToIsp(p_channelID, pRoot, i, stList.cmd_list[i]);
    removeLastById(pRoot, static_cast<int>(KEY_EMPTY1));
    if (!p_bShowWDRFalg) {
        removeLastById(pRoot, 2368);
        removeLastById(pRoot, 2369);
    }
    if (!p_bShowLDCFlag) {
        removeLastById(pRoot, 2048);
        removeLastById(pRoot, 2064);
    }
    if (getshowBeawayFalg()) removeLastById(pRoot, static_cast<int>(KEY_EMPTY2));
}

}  // namespace

int getDnaStyle(int p_channelID, const char* szStyle, std::string& p_strDnaStyle,
                bool p_bShowWDRFalg, bool p_bShowLDCFlag) {
    TiXmlDocument objStyleXmlDoc;
    buildDnaStyle(p_channelID, szStyle, objStyleXmlDoc, p_bShowWDRFalg, p_bShowLDCFlag);
    p_strDnaStyle = luxtune::getXmlString(objStyleXmlDoc);
    return SNS_SUCCESS;
}

int style2KeyVal(TiXmlElement* p_pStart, KeyVal* p_pKeyVal, u32* p_pnKeyValNum, u32 p_nRoom) {
    if (!p_pStart) return 0;
    const char* szId = p_pStart->Attribute("id");
    const char* szValue = p_pStart->Attribute("value");
    if (szId && szValue) {
        if (*p_pnKeyValNum >= p_nRoom) return -1;  // no room left: the walk stops here
        p_pKeyVal[*p_pnKeyValNum].key = static_cast<u32>(atoi(szId));
        p_pKeyVal[*p_pnKeyValNum].value = static_cast<u32>(atoi(szValue));
        ++*p_pnKeyValNum;
    }
    for (TiXmlElement* pChild = p_pStart->FirstChildElement(); pChild;
         pChild = pChild->NextSiblingElement()) {
        if (style2KeyVal(pChild, p_pKeyVal, p_pnKeyValNum, p_nRoom) != 0) return -1;
    }
    return 0;
}

int style2KeyVal(TiXmlElement* p_pStart, KeyVal* p_pKeyVal, u32* p_pnKeyValNum) {
    return style2KeyVal(p_pStart, p_pKeyVal, p_pnKeyValNum, 0xFFFFFFFF);
}

int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum,
               bool p_bShowWDRFalg, bool p_bShowLDCFlag, u32 p_nRoom) {
    // The records are read from the adapted document itself: printing it and parsing the text
    // again would give the same elements in the same order.
    TiXmlDocument objDnaStyleDoc;
    buildDnaStyle(p_channelID, p_szStyle, objDnaStyleDoc, p_bShowWDRFalg, p_bShowLDCFlag);
    *p_pnKeyValNum = 0;
    TiXmlElement* pRootNode = objDnaStyleDoc.RootElement();
    if (style2KeyVal(pRootNode, p_pKeyVal, p_pnKeyValNum, p_nRoom) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == style2KeyVal(pRootNode, p_pKeyVal, p_pnKeyValNum)",
                     "p_pnKeyValNum(%u)\n", *p_pnKeyValNum);
    }
    return SNS_SUCCESS;
}

int getFctData(int p_channelID, char* p_szStyle, KeyVal* p_pKeyVal, u32* p_pnKeyValNum,
               bool p_bShowWDRFalg, bool p_bShowLDCFlag) {
    return getFctData(p_channelID, p_szStyle, p_pKeyVal, p_pnKeyValNum, p_bShowWDRFalg,
                      p_bShowLDCFlag, 0xFFFFFFFF);
}
