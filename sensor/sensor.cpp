// Source unit "sensor": the diagnostics switches (and, with the configuration code, the
// per-channel system configuration).
#include "sensor.h"

#include <cstdlib>
#include <string>

std::atomic<s32> g_nDebugLevel{1};
std::atomic<bool> g_bEnAssert{false};

namespace {

constexpr const char* kDebugSwitchFile = "/tmp/Debug.sign";

}  // namespace

void updateDebugLevel() {
    if (!ZqFile::exists(kDebugSwitchFile)) {
        g_nDebugLevel.store(1);
        g_bEnAssert.store(false);
        return;
    }
    ZqFile objFile;
    if (!objFile.open(kDebugSwitchFile, ZqFile::modeRead)) return;
    std::string strLevel = ZqFile::ReadOneLine(objFile.getFileHandle());
    g_nDebugLevel.store(strLevel.empty() ? 1 : atoi(strLevel.c_str()));
    std::string strAssert = ZqFile::ReadOneLine(objFile.getFileHandle());
    g_bEnAssert.store(!strAssert.empty() && atoi(strAssert.c_str()) != 0);
    objFile.close();
}
