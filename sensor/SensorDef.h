// Records and constants shared by every part of libluxtune and its hosts.
#pragma once

#include <stddef.h>

#include "ZqTypes.h"
#include "ia_ioctrl.h"

#define LUXTUNE_API __attribute__((visibility("default")))
#define LUXTUNE_LOCAL __attribute__((visibility("hidden")))

#define SNS_SUCCESS 0

// One setting: a key and its 32-bit value. Parameters live in memory and on disk as arrays of
// these records.
struct KeyVal {
    u32 key;
    u32 value;
};
static_assert(sizeof(KeyVal) == 8 && offsetof(KeyVal, value) == 4, "KeyVal is two words");

class ISensorController;

// A row's handler: (ISP command id, option, pointer to the value) -> status.
typedef int (ISensorController::*KeyCmdHandler)(u32 p_nKey, u32 p_nDir, void* p_pVal);

#define SNS_KEY_NAME_LEN 32
#define SNS_HANDLER_NAME_LEN 64

// One row of the key-command table. A key name of 32 characters or more is cut to its first 32
// and then has no terminating zero; the handler name is always terminated.
struct keycmd {
    u32 nKey;
    u32 nCmd;
    KeyCmdHandler pfnHandler;
    char szKeyName[SNS_KEY_NAME_LEN];
    char szHandlerName[SNS_HANDLER_NAME_LEN];
};

// Bits of the controller's status word.
namespace SensorStatus {
constexpr u32 bInitializing = 0x01;
constexpr u32 bUninitializing = 0x02;
constexpr u32 bInitialized = 0x04;
constexpr u32 bResetting = 0x08;
constexpr u32 bReloading = 0x10;
constexpr u32 bSwitching = 0x20;
// One-shot user actions are held back while any of these is set.
constexpr u32 kBusyMask = bInitializing | bResetting | bReloading | bSwitching;
// Scheme switches wait for (host) or skip (scheduler) while any of these is set.
constexpr u32 kSwitchBusyMask = bResetting | bReloading | bSwitching;
}  // namespace SensorStatus
