// TinyXML helpers: parsing a document held in memory and printing one into a text, with the
// limits that keep a hostile document from exhausting the stack or the memory. Internal.
#pragma once

#include <tinyxml.h>

#include <cstddef>
#include <string>

namespace luxtune {

// No real style document comes near these; anything larger is refused as malformed.
constexpr size_t kXmlMaxBytes = 1024 * 1024;
constexpr int kXmlMaxDepth = 64;
constexpr size_t kXmlMaxElements = 20000;

// Parses p_szText (p_nLen bytes when given, so that an embedded zero byte is caught) the way
// TinyXML's own parser does. False for a malformed, oversized or too deeply nested document,
// which is then left empty. Malformed includes text that is not well-formed UTF-8 and "&#"
// references that are not plain digits: TinyXML would read past markup in either.
bool xmlLoadMem(TiXmlDocument& p_objDoc, const char* p_szText, TiXmlEncoding p_eEncoding,
                size_t p_nLen = static_cast<size_t>(-1));
// Reads a device file and parses it as xmlLoadMem does.
bool xmlLoadFile(TiXmlDocument& p_objDoc, const char* p_szDevicePath, TiXmlEncoding p_eEncoding);
// TinyXML's printed form of the document.
std::string getXmlString(const TiXmlDocument& p_objDoc);

}  // namespace luxtune
