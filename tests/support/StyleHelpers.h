// Small helpers for tests of the style documents.
#pragma once

#include <tinyxml.h>

#include <string>
#include <vector>

#include "internal/XmlText.h"

// The "key" attributes of the root's child elements, in order ("-" for a tab without one).
inline std::vector<std::string> tabKeys(const std::string& p_strDoc) {
    TiXmlDocument doc;
    luxtune::xmlLoadMem(doc, p_strDoc.c_str(), TIXML_ENCODING_UTF8);
    std::vector<std::string> vec;
    for (const TiXmlElement* p = doc.RootElement() ? doc.RootElement()->FirstChildElement()
                                                   : nullptr;
         p; p = p->NextSiblingElement()) {
        vec.push_back(p->Attribute("key") ? p->Attribute("key") : "-");
    }
    return vec;
}

// Every element's "id"="value" (or "id" alone, or "#index") in document order.
inline std::string flatten(const TiXmlElement* p_pElem) {
    std::string str;
    for (; p_pElem; p_pElem = p_pElem->NextSiblingElement()) {
        if (const char* szId = p_pElem->Attribute("id")) {
            str += std::string(" ") + szId;
            if (const char* szValue = p_pElem->Attribute("value"))
                str += std::string("=") + szValue;
        }
        if (const char* szIndex = p_pElem->Attribute("index")) str += std::string(" #") + szIndex;
        str += flatten(p_pElem->FirstChildElement());
    }
    return str;
}

inline std::string flatten(const std::string& p_strDoc) {
    TiXmlDocument doc;
    luxtune::xmlLoadMem(doc, p_strDoc.c_str(), TIXML_ENCODING_UTF8);
    return flatten(doc.RootElement());
}
