// TinyXML helpers: see internal/XmlText.h.
#include "internal/XmlText.h"

#include <cstring>
#include <vector>

#include "ZqFramework.h"

namespace luxtune {
namespace {

// Skips from p_nPos (at "<") past the end of a markup construct; npos when it is not closed.
size_t skipPast(const char* p_szText, size_t p_nLen, size_t p_nPos, const char* p_szEnd) {
    const char* szFound = static_cast<const char*>(
        memmem(p_szText + p_nPos, p_nLen - p_nPos, p_szEnd, strlen(p_szEnd)));
    return szFound ? static_cast<size_t>(szFound - p_szText) + strlen(p_szEnd) : std::string::npos;
}

// The end of a start or end tag, honouring quoted attribute values.
size_t tagEnd(const char* p_szText, size_t p_nLen, size_t p_nPos) {
    char cQuote = 0;
    for (size_t i = p_nPos; i < p_nLen; ++i) {
        char c = p_szText[i];
        if (cQuote) {
            if (c == cQuote) cQuote = 0;
        } else if (c == '"' || c == '\'') {
            cQuote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return std::string::npos;
}

// Checks nesting depth and element count without parsing; generous enough never to refuse a
// document TinyXML would accept within the limits.
bool withinLimits(const char* p_szText, size_t p_nLen) {
    int nDepth = 0;
    size_t nElements = 0;
    for (size_t i = 0; i < p_nLen;) {
        if (p_szText[i] != '<') {
            ++i;
            continue;
        }
        if (strncmp(p_szText + i, "<!--", 4) == 0) {
            i = skipPast(p_szText, p_nLen, i, "-->");
        } else if (strncmp(p_szText + i, "<![CDATA[", 9) == 0) {
            i = skipPast(p_szText, p_nLen, i, "]]>");
        } else if (p_szText[i + 1] == '?' || p_szText[i + 1] == '!') {
            i = tagEnd(p_szText, p_nLen, i);
            if (i != std::string::npos) ++i;
        } else {
            size_t nEnd = tagEnd(p_szText, p_nLen, i);
            if (nEnd == std::string::npos) return true;  // unclosed: the parser reports it
            if (p_szText[i + 1] == '/') {
                --nDepth;
            } else if (p_szText[nEnd - 1] != '/') {
                if (++nDepth > kXmlMaxDepth) return false;
                ++nElements;
            } else {
                ++nElements;
            }
            if (nElements > kXmlMaxElements) return false;
            i = nEnd + 1;
        }
        if (i == std::string::npos) return true;
    }
    return true;
}

}  // namespace

bool xmlLoadMem(TiXmlDocument& p_objDoc, const char* p_szText, TiXmlEncoding p_eEncoding,
                size_t p_nLen) {
    p_objDoc.Clear();
    if (!p_szText) return false;
    size_t nTextLen = strnlen(p_szText, kXmlMaxBytes + 1);
    if (nTextLen > kXmlMaxBytes) return false;
    if (p_nLen != static_cast<size_t>(-1) && p_nLen != nTextLen)
        return false;  // a zero byte inside
    if (!withinLimits(p_szText, nTextLen)) return false;
    p_objDoc.Parse(p_szText, nullptr, p_eEncoding);
    if (p_objDoc.Error()) {
        p_objDoc.Clear();
        return false;
    }
    return true;
}

bool xmlLoadFile(TiXmlDocument& p_objDoc, const char* p_szDevicePath, TiXmlEncoding p_eEncoding) {
    p_objDoc.Clear();
    ZqFile objFile;
    if (!objFile.open(p_szDevicePath, ZqFile::modeRead)) return false;
    INT64 nLen = objFile.getLength();
    if (nLen <= 0 || static_cast<size_t>(nLen) > kXmlMaxBytes) return false;
    std::vector<char> vecText(static_cast<size_t>(nLen) + 1, '\0');
    if (objFile.read(vecText.data(), static_cast<u32>(nLen)) != nLen) return false;
    return xmlLoadMem(p_objDoc, vecText.data(), p_eEncoding, static_cast<size_t>(nLen));
}

std::string getXmlString(const TiXmlDocument& p_objDoc) {
    TiXmlPrinter objPrinter;
    p_objDoc.Accept(&objPrinter);
    return objPrinter.Str();
}

}  // namespace luxtune
