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
// A disk with this many bytes left (-1: unlimited); writes past it come up short.
void setDiskSpace(long p_nBytes);
// A read-only disk: opening for writing, renaming, removing and shell deletions fail.
void setReadOnly(bool p_bReadOnly);
// Files whose device path contains p_strPathPart cannot be opened for reading ("": none).
void setUnreadable(const std::string& p_strPathPart);

// Power cut. Every file operation that changes the disk (opening for writing, a write, a sync,
// a rename, a removal, a folder sync) is counted from here; at the p_nAtOperation-th the power
// fails: every file goes back to what the disk held (data not synced, and names not made
// durable by a folder sync, are lost) and every later file operation fails. 0: never.
void armPowerCut(int p_nAtOperation);
bool powerCutHappened();
int diskOperations();
// The next start: the device works again; the disk keeps what survived.
void clearPowerCut();

// Back to a healthy disk: no fault, no power cut.
void clearFileFaults();

}  // namespace zqsim
