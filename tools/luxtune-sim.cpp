// luxtune-sim: the simulated camera. Real controllers run against the stand-ins of the ISP, the
// device framework and the video module, on a copy of the sample device tree.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "SimCamera.h"
#include "SimFormat.h"

namespace {

constexpr const char* kUsage =
    "usage: luxtune-sim [--keep] [--echo] [--device NAME] [--guided]\n"
    "       luxtune-sim [options] <command> [args] [; <command> ...]\n"
    "       luxtune-sim [options] -c \"<command>; <command> ...\"\n"
    "       luxtune-sim [options] -      (commands from standard input)\n"
    "Without commands, a guided run. --keep keeps the working root; --echo repeats each\n"
    "command before its output. 'luxtune-sim help' lists the commands.\n";

enum class Mode { kGuided, kCommands, kStdin };

struct Options {
    Mode eMode = Mode::kGuided;
    bool bHelp = false;
    bool bKeep = false;
    bool bEcho = false;
    std::string strDevice;
    std::string strCommands;
};

// False (with the usage said) when the command line is not understood.
bool parseOptions(int argc, char** argv, Options& p_stOptions) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        std::string strOption = argv[i];
        bool bLast = i + 1 == argc;
        if (strOption == "--help" || strOption == "-h") {
            p_stOptions.bHelp = true;
        } else if (strOption == "--keep") {
            p_stOptions.bKeep = true;
        } else if (strOption == "--echo") {
            p_stOptions.bEcho = true;
        } else if (strOption == "--guided") {
            p_stOptions.eMode = Mode::kGuided;
        } else if (strOption == "--device" && !bLast) {
            p_stOptions.strDevice = argv[++i];
        } else if (strOption == "-c" && !bLast) {
            p_stOptions.eMode = Mode::kCommands;
            p_stOptions.strCommands = argv[++i];
        } else if (strOption == "-" && bLast) {
            p_stOptions.eMode = Mode::kStdin;
        } else {
            fprintf(stderr, "%s", kUsage);
            return false;
        }
    }
    if (i < argc && p_stOptions.eMode != Mode::kGuided) {
        fprintf(stderr, "%s", kUsage);
        return false;
    }
    // Commands as arguments: the shell has split them into words, ";" among them.
    for (; i < argc; ++i) {
        p_stOptions.eMode = Mode::kCommands;
        p_stOptions.strCommands += std::string(" ") + argv[i];
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options stOptions;
    if (!parseOptions(argc, argv, stOptions)) return 2;
    if (stOptions.bHelp) {
        printf("%s", kUsage);
        return 0;
    }
    SimCamera objCamera(stOptions.bKeep);
    if (!objCamera.open()) return 1;
    try {
        if (!stOptions.strDevice.empty()) objCamera.useDevice(stOptions.strDevice);
    } catch (const CommandError& e) {
        fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    objCamera.setEcho(stOptions.bEcho);
    switch (stOptions.eMode) {
        case Mode::kCommands:
            return objCamera.runCommands(simfmt::splitCommands(stOptions.strCommands));
        case Mode::kStdin:
            return objCamera.runStream(stdin, isatty(STDIN_FILENO));
        default:
            return runGuidedTour(objCamera);
    }
}
