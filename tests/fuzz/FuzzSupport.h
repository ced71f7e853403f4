// Shared by the fuzz targets: a per-process device root, the stand-ins reset to their defaults,
// silenced standard output, splitting an input into parts, and a failed-check abort that the
// fuzzer records as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "SensorDef.h"

#define FUZZ_CHECK(p_cond) \
    ((p_cond) ? static_cast<void>(0) : ::fuzz::checkFailed(#p_cond, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] void checkFailed(const char* p_szExpr, const char* p_szFile, int p_nLine);

// Standard output goes to /dev/null from the first call on: the library prints on every
// report, and the fuzzer's own lines are on standard error.
void silenceStdout();

// The process's device root (LUXTUNE_ROOT), made at the first call under $TMPDIR and removed at
// exit. With p_bDeviceTree the sample device tree is copied in first.
const std::string& deviceRoot(bool p_bDeviceTree);
std::string hostPath(const std::string& p_strDevicePath);
void writeFile(const std::string& p_strDevicePath, const std::string& p_strContent);
void removeFile(const std::string& p_strDevicePath);
// Replaces the machine information with that of variants/<p_szName> (device tree roots only).
void useVariant(const char* p_szName);

// The stand-ins and the library's globals as a fresh process has them: no ISP state, no pauses,
// a fixed clock of 12:00, no diagnostics switch file.
void resetState();

// What every input starts with: standard output silenced, the device root made (with the sample
// tree when p_bDeviceTree) and the state reset.
void beginInput(bool p_bDeviceTree);

// The input cut at each separator byte into at most p_nParts parts (the last part keeps any
// further separators); missing parts are empty.
constexpr uint8_t kSeparator = 0x01;
std::vector<std::string> splitParts(const uint8_t* p_pData, size_t p_nSize, size_t p_nParts);

// A zero-terminated copy in a buffer of exactly its length + 1, so that reading past the
// terminator is caught.
std::unique_ptr<char[]> exactText(const std::string& p_strText);

// Reads numbers off the front of an input; past its end every number is 0.
class ByteReader {
  public:
    ByteReader(const uint8_t* p_pData, size_t p_nSize) : m_pData(p_pData), m_nSize(p_nSize) {}
    uint8_t byte();
    int32_t int32();
    std::string rest();
    bool empty() const { return m_nSize == 0; }

  private:
    const uint8_t* m_pData;
    size_t m_nSize;
};

// A scheme as the sample bullet's style gives it: every element with an id and a value, in
// document order.
std::vector<KeyVal> sampleScheme();

}  // namespace fuzz
