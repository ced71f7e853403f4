// The module configuration a host would hand to a channel's init on the device under
// LUXTUNE_ROOT: the channel's record among those matching the machine's model and code.
#pragma once

#include <vector>

#include "ZqFramework.h"

inline ModuleConfigure channelModule(int p_nChannel) {
    MachineInfo objInfo;
    SystemInfoParser::parseMachineInfo("/mnt/mtd/code/factory_setting/machineinfo.ini", objInfo);
    std::vector<ModuleConfigure> vecModules;
    ModuleConfigureParser::parse("/hd1/moduleConfig/moduleConfig.xml", objInfo.getHardwareModel(),
                                 objInfo.getHardwareCode(), vecModules);
    size_t nIndex = static_cast<size_t>(p_nChannel - 1);
    return nIndex < vecModules.size() ? vecModules[nIndex] : ModuleConfigure();
}
