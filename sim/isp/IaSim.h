// Controls of the simulated ISP control library, for tests and the simulated camera. None of
// this exists on the device.
//
// The model keeps, per ISP channel, the last value set for each command and answers a read
// with it (or with the profile's value, or 0). The dynamic commands, their ranges and the value
// correction come from an ISP profile or from setDynamic. A profile is a text file of lines:
//   dynamic <cmd> default=<n> [type=<n>] [items=<a,b,...>] [min=<n>] [max=<n>]
//   value <cmd> <n>          (what a read answers until the command is set)
//   version <text>           (the camera version text, command 2496)
// with "#" starting a comment. When LUXTUNE_ISP_PROFILE names a file it is loaded at the first
// call; otherwise "/mnt/mtd/isp/isp_profile.conf" under LUXTUNE_ROOT, when present.
#pragma once

#include <string>
#include <vector>

#include "ia_ioctrl.h"

namespace iasim {

struct Call {
    int channel;
    int cmd;
    int option;
    u32 value;               // the value word handed over on a set, answered on a read
    std::vector<u32> words;  // the whole record for the commands that carry one
};

struct Range {
    int param_type = 0;
    int default_val = 0;
    int min_val = 0;
    int max_val = 0;
    std::vector<int> items;
};

// Forgets values, log, statuses and dynamic commands; the profile is looked for again.
void reset();

std::vector<Call> calls();
void clearCalls();

// Makes every call of cmd with option return status (-1 for cmd or option: any); 0 clears.
void setStatus(int p_nCmd, int p_nOption, int p_nStatus);

void setValue(int p_nChannel, int p_nCmd, u32 p_nValue);
bool getValue(int p_nChannel, int p_nCmd, u32& p_nValue);
void setDnState(int p_nChannel, int p_nState);  // command 153
void setExecStatus(int p_nCmd, int p_nStatus);  // what option 4 answers for cmd
void setVersionText(const std::string& p_strText);

void setDynamic(int p_nCmd, const Range& p_objRange);
// Makes the ISP claim these counts in its dynamic-command list and range answers (-1: the true
// count), as a faulty ISP might; the records themselves are never written past their room.
void setClaimedCounts(int p_nCmdCnt, int p_nItemsCnt);
void clearDynamic();
bool loadProfile(const std::string& p_strPath);  // a path on this machine

}  // namespace iasim
