// Saves that replace a file only by a complete new one go through a temporary file next to it.
// Internal to the library.
#pragma once

#include <string>

namespace luxtune {

// The temporary file a save of p_szPath writes first.
std::string tempFileOf(const char* p_szPath);
// Removes a temporary file that a save cut short by a power failure left behind.
void removeLeftoverTemp(const char* p_szPath);

}  // namespace luxtune
