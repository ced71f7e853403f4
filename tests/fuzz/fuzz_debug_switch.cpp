// The diagnostics switch file "/tmp/Debug.sign": the input is its content. The levels are read
// and one report of each kind is made, carrying the start of the input as its text.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "internal/Report.h"
#include "sensor.h"

namespace {

constexpr const char* kSrcUnit = "fuzz_debug_switch";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize) {
    fuzz::beginInput(false);
    std::string strSwitch(reinterpret_cast<const char*>(p_pData), p_nSize);
    fuzz::writeFile("/tmp/Debug.sign", strSwitch);
    updateDebugLevel();

    using namespace luxtune::report;
    // Longer than the log's 500-character entries, to reach the cut.
    std::string strText = strSwitch.substr(0, 700);
    const char* szText = strText.c_str();
    // With the assertion switch on, an assertion ends the process by design.
    if (!g_bEnAssert.load()) {
        assertFailed(SNS_HERE, "fuzz_assertion");
        assertFailed(SNS_HERE, "fuzz_assertion", "text(%s) level(%d)\n", szText,
                     g_nDebugLevel.load());
    }
    warn(SNS_HERE, "text(%s)\n", szText);
    assertNote(SNS_HERE, "text(%s)\n", szText);
    debug(SNS_HERE, "text(%s)\n", szText);
    debugFile(SNS_HERE, "text(%s)\n", szText);
    error(SNS_HERE, "text(%s)\n", szText);
    info(SNS_HERE, "text(%s)\n", szText);
    trace(32, "text(%s)\n", szText);
    above(p_nSize % 8);
    return 0;
}
