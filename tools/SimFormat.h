// Text helpers of the simulated camera: reading what the engineer typed (command lines, numbers,
// keys) and printing what the stand-ins recorded (ISP calls, video notifications).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "IaSim.h"
#include "RecordingVideoModule.h"
#include "SensorDef.h"

// A command that cannot be carried out; its text becomes the one-line error.
class CommandError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

namespace simfmt {

// The commands of a text: one per line or per ";", "#" starting a comment, blanks dropped.
std::vector<std::string> splitCommands(const std::string& p_strText);
std::vector<std::string> splitWords(const std::string& p_strCommand);

// A decimal (or 0x hexadecimal) number within [p_nMin, p_nMax]; CommandError otherwise.
long long parseNumber(const std::string& p_strWord, long long p_nMin, long long p_nMax);
// A key by its table name (any case) or by its decimal id; ids outside the table are allowed.
u32 parseKey(const std::string& p_strWord);

// The key's table name, or its decimal id when the table has no such key.
std::string keyName(u32 p_nKey);
// "34 (KEY_BRIGHTNESS)", "153 (IA_CMD_DN_STATE)" or "85": an id that the key-command table or
// the ISP interface names is shown with that name.
std::string idWithName(int p_nId);
const char* optionName(int p_nOption);

std::string formatCall(const iasim::Call& p_stCall);
std::string formatNotification(const RecordingVideoModule::Notification& p_stNote);
// One line per call; a run of identical lines is printed once with its count.
void printCalls(const std::vector<iasim::Call>& p_vecCalls);
// One line per option: how many calls, on how many commands, naming the first few.
void printCallSummary(const std::vector<iasim::Call>& p_vecCalls);

}  // namespace simfmt
