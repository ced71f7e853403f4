// Shared by the source files of ISensorController: its reports name the unit
// "ISensorController" whichever file they come from.
#pragma once

#include "internal/Report.h"

namespace {

constexpr const char* kSrcUnit = "ISensorController";

constexpr const char* kMachineInfoPath = "/mnt/mtd/code/factory_setting/machineinfo.ini";

// The 32-bit value behind a handler's value pointer.
inline u32 valueAt(const void* p_pVal) {
    return *static_cast<const u32*>(p_pVal);
}

}  // namespace
