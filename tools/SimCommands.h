// The command set of the simulated camera. A command is one row of the table: adding a command
// is adding a row and its handler.
#pragma once

#include <string>
#include <vector>

class SimCamera;

using SimArgs = std::vector<std::string>;

struct SimCommand {
    const char* szName;
    // "<x>" is a required argument and "[x]" an optional one; the interpreter checks the count
    // against it.
    const char* szUsage;
    const char* szSummary;
    void (*pfnRun)(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
};

const std::vector<SimCommand>& simCommands();
const SimCommand* findSimCommand(const std::string& p_strName);

// Host-interface commands (SimHostCommands.cpp).
void cmdSetText(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdGetText(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdRange(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdExport(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdZoom(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdFocus(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdIris(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdShutter(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdLight(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdLightType(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdLensLock(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
void cmdVersion(SimCamera& p_objCamera, const SimArgs& p_vecArgs);
