// The simulated device's disk: the faults tests arm (short writes, a full disk, a read-only
// disk, unreadable files) and the power cut, which throws away everything not yet synced.
// Internal to the framework stand-in; tests reach it through ZqSim.h.
#pragma once

#include <string>

#include "ZqTypes.h"

namespace zqdisk {

// Each returns false when the operation must fail. Paths are device paths; the host path is
// where the file lies on this machine.
bool beforeOpen(const std::string& p_strDevicePath, const std::string& p_strHostPath, bool p_bWrite,
                bool p_bTruncate);
// How many of p_nLen bytes a write may store (0 when none may).
u32 beforeWrite(const std::string& p_strDevicePath, u32 p_nLen);
bool beforeSync(const std::string& p_strHostPath);
bool beforeRename(const std::string& p_strHostFrom, const std::string& p_strHostTo);
bool beforeRemove(const std::string& p_strHostPath);
bool beforeSyncDir(const std::string& p_strHostDir);
// Reads that bypass ZqFile (machine information, module configuration).
bool mayRead(const std::string& p_strDevicePath);
// Shell commands that change the disk.
bool mayChange();

}  // namespace zqdisk
