// Controls of the simulated device framework, for tests and the simulated camera. None of this
// exists on the device.
#pragma once

#include <string>
#include <vector>

namespace zqsim {

// Every CorvaneTime pause lasts its length times this factor (1 by default, 0 = no pause).
void setTimeScale(double p_dScale);
double timeScale();

// Fixes the device's local hour and minute (the other fields follow the real clock), or goes
// back to the real clock.
void setClock(int p_nHour, int p_nMinute);
void useRealClock();

// Commands run by sy_system, as the caller gave them (before path mapping), oldest first.
std::vector<std::string> systemCommands();
void clearSystemCommands();

// The next write to a file whose device path contains p_strPathPart stores at most
// p_nAllowBytes bytes of its data and reports that short count, as a full disk would.
void failNextWrite(const std::string& p_strPathPart, unsigned p_nAllowBytes);
void clearFileFaults();

}  // namespace zqsim
