// TinyXML helpers: see internal/XmlText.h.
#include "internal/XmlText.h"

#include <strings.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "ZqFramework.h"

namespace luxtune {
namespace {

constexpr size_t npos = std::string::npos;

bool isSpace(char p_c) {
    return isspace(static_cast<unsigned char>(p_c)) != 0;
}

// TinyXML takes every byte from 127 up as a letter.
bool isNameStart(char p_c) {
    unsigned char c = static_cast<unsigned char>(p_c);
    return c >= 127 || isalpha(c) || c == '_';
}

bool isNameChar(char p_c) {
    unsigned char c = static_cast<unsigned char>(p_c);
    return c >= 127 || isalnum(c) || c == '_' || c == '-' || c == '.' || c == ':';
}

bool startsWith(const char* p_sz, const char* p_szPrefix, bool p_bIgnoreCase = false) {
    size_t n = strlen(p_szPrefix);
    return p_bIgnoreCase ? strncasecmp(p_sz, p_szPrefix, n) == 0
                         : strncmp(p_sz, p_szPrefix, n) == 0;
}

// Well-formed UTF-8 only: TinyXML copies a multi-byte character by the length its first byte
// announces, so a stray lead byte would swallow the "<", quote or terminator after it.
bool validUtf8(const char* p_szText, size_t p_nLen) {
    for (size_t i = 0; i < p_nLen;) {
        unsigned char c = static_cast<unsigned char>(p_szText[i]);
        size_t nMore = c < 0x80                 ? 0
                       : c >= 0xC2 && c <= 0xDF ? 1
                       : c >= 0xE0 && c <= 0xEF ? 2
                       : c >= 0xF0 && c <= 0xF4 ? 3
                                                : npos;
        if (nMore == npos || i + nMore >= p_nLen) return false;
        for (size_t k = 1; k <= nMore; ++k) {
            if ((static_cast<unsigned char>(p_szText[i + k]) & 0xC0) != 0x80) return false;
        }
        i += nMore + 1;
    }
    return true;
}

// Every "&#" starts a plain numeric reference: TinyXML reads one up to the next ";" and checks
// only the digits it walks back over, so a loose one would swallow the markup before that ";".
bool plainCharRefs(const char* p_szText, size_t p_nLen) {
    for (const char* p = static_cast<const char*>(memmem(p_szText, p_nLen, "&#", 2)); p;
         p = static_cast<const char*>(memmem(p + 2, p_nLen - (p + 2 - p_szText), "&#", 2))) {
        const char* q = p + 2;
        bool bHex = *q == 'x';
        if (bHex) ++q;
        const char* szDigits = q;
        while (bHex ? isxdigit(static_cast<unsigned char>(*q))
                    : isdigit(static_cast<unsigned char>(*q)))
            ++q;
        if (q == szDigits || *q != ';') return false;
    }
    return true;
}

// Follows the markup as TinyXML's parser reads it, counting the nesting and the elements without
// building anything. Whatever it cannot follow with certainty it refuses; a document TinyXML
// would stop reading early is passed on for TinyXML to report.
class MarkupScan {
  public:
    MarkupScan(const char* p_szText, size_t p_nLen) : m_sz(p_szText), m_nLen(p_nLen) {}

    bool withinLimits() {
        for (size_t i = 0; i < m_nLen;) {
            if (m_sz[i] != '<') {
                ++i;
                continue;
            }
            i = markupEnd(i);
            if (i == kRefuse) return false;
            if (i == npos) return true;
        }
        return true;
    }

  private:
    static constexpr size_t kRefuse = npos - 1;

    // TinyXML's white space, which in UTF-8 takes in the byte-order marks.
    size_t skipSpace(size_t i) const {
        while (i < m_nLen) {
            const char* p = m_sz + i;
            if (startsWith(p, "\xEF\xBB\xBF") || startsWith(p, "\xEF\xBF\xBE") ||
                startsWith(p, "\xEF\xBF\xBF")) {
                i += 3;
            } else if (isSpace(*p)) {
                ++i;
            } else {
                break;
            }
        }
        return i;
    }
    // Past p_szEnd searched from i; npos when it never comes.
    size_t past(size_t i, const char* p_szEnd) const {
        if (i > m_nLen) return npos;
        const char* p =
            static_cast<const char*>(memmem(m_sz + i, m_nLen - i, p_szEnd, strlen(p_szEnd)));
        return p ? static_cast<size_t>(p - m_sz) + strlen(p_szEnd) : npos;
    }
    size_t name(size_t i) const {
        if (i >= m_nLen || !isNameStart(m_sz[i])) return npos;
        while (i < m_nLen && isNameChar(m_sz[i]))
            ++i;
        return i;
    }
    // An attribute as TinyXML reads one: name, "=", then a quoted value or a bare one that may
    // hold no quote. Past it, or npos where TinyXML would report an error.
    size_t attribute(size_t i) const {
        i = name(i);
        if (i == npos) return npos;
        i = skipSpace(i);
        if (i >= m_nLen || m_sz[i] != '=') return npos;
        i = skipSpace(i + 1);
        if (i >= m_nLen) return npos;
        if (m_sz[i] == '"' || m_sz[i] == '\'') {
            const char* p = static_cast<const char*>(memchr(m_sz + i + 1, m_sz[i], m_nLen - i - 1));
            return p ? static_cast<size_t>(p - m_sz) + 1 : npos;
        }
        while (i < m_nLen && !isSpace(m_sz[i]) && m_sz[i] != '/' && m_sz[i] != '>') {
            if (m_sz[i] == '"' || m_sz[i] == '\'') return npos;
            ++i;
        }
        return i;
    }
    // "<?xml": TinyXML reads quoted values only for version, encoding and standalone and steps
    // over anything else up to a space or ">".
    size_t declarationEnd(size_t i) const {
        i += 5;
        while (i < m_nLen) {
            if (m_sz[i] == '>') return i + 1;
            i = skipSpace(i);
            const char* p = m_sz + i;
            if (startsWith(p, "version", true) || startsWith(p, "encoding", true) ||
                startsWith(p, "standalone", true)) {
                i = attribute(i);
                if (i == npos) return kRefuse;
            } else {
                while (i < m_nLen && m_sz[i] != '>' && !isSpace(m_sz[i]))
                    ++i;
            }
        }
        return kRefuse;
    }
    // A start tag: its name, then attributes up to ">" or "/>".
    size_t startTagEnd(size_t i, bool& p_bEmpty) const {
        i = name(i + 1);
        for (;;) {
            if (i == npos) return kRefuse;
            i = skipSpace(i);
            if (i >= m_nLen) return kRefuse;
            if (m_sz[i] == '>') return i + 1;
            if (m_sz[i] == '/') {
                p_bEmpty = true;
                return i + 1 < m_nLen && m_sz[i + 1] == '>' ? i + 2 : kRefuse;
            }
            i = attribute(i);
        }
    }
    // Past the construct that starts at the "<" at i; kRefuse when it breaks a limit or cannot
    // be followed, npos when TinyXML would stop reading there.
    size_t markupEnd(size_t i) {
        const char* p = m_sz + i;
        if (startsWith(p, "<?xml", true)) return declarationEnd(i);
        if (startsWith(p, "<!--")) return past(i + 4, "-->");
        if (startsWith(p, "<![CDATA[")) return past(i + 9, "]]>");
        if (p[1] != '!' && isNameStart(p[1])) {
            bool bEmpty = false;
            size_t nEnd = startTagEnd(i, bEmpty);
            if (nEnd == kRefuse) return kRefuse;
            if (!bEmpty && ++m_nDepth > kXmlMaxDepth) return kRefuse;
            if (++m_nElements > kXmlMaxElements) return kRefuse;
            return nEnd;
        }
        // End tags, and every other construct up to its first ">". At the top level TinyXML
        // keeps an end tag as an unknown node, so it closes nothing there.
        if (p[1] == '/' && m_nDepth > 0) --m_nDepth;
        const char* szClose = static_cast<const char*>(memchr(p, '>', m_nLen - i));
        return szClose ? static_cast<size_t>(szClose - m_sz) + 1 : npos;
    }

    const char* m_sz;
    size_t m_nLen;
    int m_nDepth = 0;
    size_t m_nElements = 0;
};

// Checks nesting depth and element count without parsing.
bool withinLimits(const char* p_szText, size_t p_nLen) {
    return validUtf8(p_szText, p_nLen) && plainCharRefs(p_szText, p_nLen) &&
           MarkupScan(p_szText, p_nLen).withinLimits();
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
