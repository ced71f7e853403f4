// The per-channel system configuration and the diagnostics switches of libluxtune.
#pragma once

#include <atomic>

#include "SensorDef.h"
#include "ZqFramework.h"

// The module's configuration as the controller keeps it.
struct ModuleConfig {
    u32 nModuleId;  // the sensor type
    char szSpare1[32];
    char szSpare2[10];
    char szParameters[256];
    char szDetail[512];  // items of the form (name=value)
};

struct UIFileInfo {
    u32 nId;
    u32 nReserved[4];
    char* szUILanguageFile;  // owned
    char* szUICommonFile;    // owned
};

struct SysConfig {
    ModuleConfig moduleConfig;
    u32 nSchemeSum;  // user schemes; scheme nSchemeSum holds the factory values
    u32 nUIFileSum;
    UIFileInfo* pstUIFiles;
    char* szUIStyle;  // the merged UI style document, owned (malloc)
    s32 nDeviceType;
};

// Fills the channel's configuration: the module's texts, the scheme count, the device type, and
// the UI style merged for this device. Failures are reported; the result is always 0.
LUXTUNE_API int initSysConf(int p_nChannelID, const ModuleConfigure& p_objModuleConfigure,
                            SysConfig* p_stSysConf);
// Releases what initSysConf allocated.
LUXTUNE_API void uinitSysConf(SysConfig* p_stSysConf);

// Diagnostics: the verbosity and the assertion switch, both read from "/tmp/Debug.sign" by
// updateDebugLevel at every report.
extern LUXTUNE_API std::atomic<s32> g_nDebugLevel;
extern LUXTUNE_API std::atomic<bool> g_bEnAssert;
LUXTUNE_API void updateDebugLevel();
