#include "SimCommands.h"

#include <chrono>
#include <climits>
#include <fstream>
#include <thread>

#include "IaSim.h"
#include "SimCamera.h"
#include "SimFormat.h"
#include "ZqSim.h"

using simfmt::keyName;
using simfmt::parseKey;
using simfmt::parseNumber;

namespace {

std::string schemeChange(int p_nBefore, int p_nAfter) {
    return p_nBefore == p_nAfter
               ? "scheme " + std::to_string(p_nAfter)
               : "scheme " + std::to_string(p_nBefore) + " -> " + std::to_string(p_nAfter);
}

// The batch operations answer minus the id of the key they stopped at.
std::string statusText(int p_nStatus) {
    std::string strText = "status " + std::to_string(p_nStatus);
    if (p_nStatus < 0)
        strText +=
            " (" + keyName(static_cast<u32>(-static_cast<long long>(p_nStatus))) + " failed)";
    return strText;
}

void printDevice(SimCamera& p_objCamera) {
    SimCamera::DeviceFacts stFacts = p_objCamera.device();
    printf("device %s: %s\n", stFacts.strName.c_str(), stFacts.strDescription.c_str());
    printf("device type %d, hardware model %s, code %s\n", stFacts.objInfo.getDeviceType(),
           stFacts.objInfo.getHardwareModel().c_str(), stFacts.objInfo.getHardwareCode().c_str());
}

// ---- device and channels

void cmdDevice(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    if (!p_vecArgs.empty()) p_objCamera.useDevice(p_vecArgs[0]);
    printDevice(p_objCamera);
}

void cmdInit(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    int nChannel = p_objCamera.channelArg(p_vecArgs, 0);
    size_t nCallsBefore = iasim::calls().size();
    ISensorController& objController = p_objCamera.start(nChannel);
    size_t nCallsDuring = iasim::calls().size() - nCallsBefore;
    ModuleConfigure objModule = p_objCamera.modules()[static_cast<size_t>(nChannel - 1)];
    u32 nSchemes = p_objCamera.schemeCount(nChannel);
    int nMode = -1;
    objController.getParamMode(nMode);
    printf("channel %d running: camera %d, ISP channel %d%s\n", nChannel,
           p_objCamera.cameraId(nChannel), p_objCamera.ispChannel(nChannel),
           p_objCamera.thermalChannel(nChannel) ? ", thermal sensor" : "");
    printf("module %d detail %s\n", objModule.getModuleId(), objModule.getDetail().c_str());
    printf("module %d parameters %s\n", objModule.getModuleId(), objModule.getParameters().c_str());
    printf("sensor type %u\n", objController.getSensorType());
    printf("factory keys %zu\n", p_objCamera.schemeValues(nChannel, nSchemes).size());
    printf("user schemes 0 to %u, factory scheme %u\n", nSchemes - 1, nSchemes);
    printf("scheme %d, mode %d\n", p_objCamera.currentScheme(nChannel), nMode);
    printf("ISP calls during init %zu\n", nCallsDuring);
}

void cmdUinit(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    int nChannel = p_objCamera.channelArg(p_vecArgs, 0);
    p_objCamera.stop(nChannel);
    printf("channel %d stopped\n", nChannel);
}

void cmdChannel(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    if (!p_vecArgs.empty())
        p_objCamera.selectChannel(static_cast<int>(parseNumber(p_vecArgs[0], INT_MIN, INT_MAX)));
    printf("channel %d\n", p_objCamera.channel());
}

void cmdStatus(SimCamera& p_objCamera, const SimArgs&) {
    printDevice(p_objCamera);
    printf("working root %s\n", p_objCamera.root().c_str());
    printf("one simulated second lasts %.0f ms\n", zqsim::timeScale() * 1000);
    ZqTimeFields stNow = ZqDeviceTime::getCurrentTime();
    printf("device clock %02u:%02u\n", stNow.hour, stNow.minute);
    printf("channel %d selected\n", p_objCamera.channel());
    for (size_t i = 1; i <= p_objCamera.modules().size(); ++i) {
        int nChannel = static_cast<int>(i);
        if (!p_objCamera.isRunning(nChannel)) {
            printf("channel %d stopped\n", nChannel);
            continue;
        }
        int nMode = -1;
        p_objCamera.running(nChannel).getParamMode(nMode);
        printf("channel %d running: scheme %d, mode %d\n", nChannel,
               p_objCamera.currentScheme(nChannel), nMode);
    }
}

// ---- keys

void cmdGet(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    u32 nKey = parseKey(p_vecArgs[0]);
    int nValue = 0;
    if (!p_objCamera.running(p_objCamera.channel()).getParameter(static_cast<int>(nKey), nValue))
        throw CommandError(keyName(nKey) + " could not be read");
    printf("%s = %d\n", keyName(nKey).c_str(), nValue);
}

void cmdSet(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    u32 nKey = parseKey(p_vecArgs[0]);
    // Values are 32-bit words: typed signed or unsigned.
    int nValue = static_cast<int>(
        static_cast<u32>(parseNumber(p_vecArgs[1], INT_MIN, static_cast<long long>(UINT_MAX))));
    bool bCache = p_vecArgs.size() < 3;
    if (!bCache && p_vecArgs[2] != "nocache")
        throw CommandError("expected 'nocache', got '" + p_vecArgs[2] + "'");
    ISensorController& objController = p_objCamera.running(p_objCamera.channel());
    int nStatus = objController.setParameter(static_cast<int>(nKey), nValue, bCache);
    printf("%s set to %d%s: %s\n", keyName(nKey).c_str(), nValue, bCache ? "" : " (not cached)",
           statusText(nStatus).c_str());
}

void cmdRestore(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    u32 nKey = parseKey(p_vecArgs[0]);
    int nStatus = p_objCamera.running(p_objCamera.channel()).restore(static_cast<int>(nKey));
    if (nStatus == -1) {
        printf("%s is not in the current scheme\n", keyName(nKey).c_str());
    } else {
        printf("%s restored: %s\n", keyName(nKey).c_str(), statusText(nStatus).c_str());
    }
}

// ---- schemes

void cmdScheme(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    int nChannel = p_objCamera.channel();
    int nBefore = p_objCamera.currentScheme(nChannel);
    if (!p_vecArgs.empty()) {
        u32 nScheme = p_objCamera.parseScheme(nChannel, p_vecArgs[0]);
        if (!p_objCamera.running(nChannel).setParamScheme(static_cast<int>(nScheme)))
            throw CommandError("the switch to scheme " + std::to_string(nScheme) + " failed");
    }
    printf("%s\n", schemeChange(nBefore, p_objCamera.currentScheme(nChannel)).c_str());
}

void cmdMode(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    ISensorController& objController = p_objCamera.running(p_objCamera.channel());
    if (!p_vecArgs.empty())
        objController.setParamMode(static_cast<int>(parseNumber(p_vecArgs[0], 0, 1)));
    int nMode = -1;
    objController.getParamMode(nMode);
    printf("mode %d (%s)\n", nMode,
           nMode == 0 ? "the scheduler switches nothing" : "the scheduler switches schemes");
}

void cmdFlush(SimCamera& p_objCamera, const SimArgs&) {
    int nChannel = p_objCamera.channel();
    int nStatus = p_objCamera.running(nChannel).flush();
    int nScheme = p_objCamera.currentScheme(nChannel);
    const char* szWhy = nullptr;
    switch (nStatus) {
        case 0:
            break;
        case 505:
            szWhy = "its window starts after 24:00";
            break;
        case 506:
            szWhy = "its window ends after 24:00";
            break;
        case 507:
            szWhy = "its window does not start before it ends";
            break;
        default:
            szWhy = "the controller refused it";
    }
    if (szWhy) {
        printf("scheme %d not saved, %s (%d)\n", nScheme, szWhy, nStatus);
    } else if (nScheme < 0 || static_cast<u32>(nScheme) >= p_objCamera.schemeCount(nChannel)) {
        printf("scheme %d has no file: nothing saved\n", nScheme);
    } else {
        printf("scheme %d saved\n", nScheme);
    }
}

void cmdReload(SimCamera& p_objCamera, const SimArgs&) {
    int nChannel = p_objCamera.channel();
    bool bApplied = p_objCamera.running(nChannel).resetToLastParameters();
    printf("scheme %d reloaded from its file%s\n", p_objCamera.currentScheme(nChannel),
           bApplied ? "" : ", some values failed");
}

void cmdReset(SimCamera& p_objCamera, const SimArgs&) {
    int nChannel = p_objCamera.channel();
    p_objCamera.running(nChannel).resetParameters();
    printf("channel %d back to factory values, scheme %d\n", nChannel,
           p_objCamera.currentScheme(nChannel));
}

void cmdTable(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    int nChannel = p_objCamera.channel();
    int nCurrent = p_objCamera.currentScheme(nChannel);
    if (nCurrent < 0 && p_vecArgs.empty()) throw CommandError("no scheme is current yet");
    u32 nScheme = p_vecArgs.empty() ? static_cast<u32>(nCurrent)
                                    : p_objCamera.parseScheme(nChannel, p_vecArgs[0]);
    std::vector<KeyVal> vecValues = p_objCamera.schemeValues(nChannel, nScheme);
    bool bFactory = nScheme == p_objCamera.schemeCount(nChannel);
    printf("%sscheme %u of channel %d: %zu keys\n", bFactory ? "factory " : "", nScheme, nChannel,
           vecValues.size());
    for (const KeyVal& stRec : vecValues)
        printf("%-40s %d\n", keyName(stRec.key).c_str(), static_cast<int>(stRec.value));
}

// ---- time and the scheduler

void cmdClock(SimCamera&, const SimArgs& p_vecArgs) {
    if (!p_vecArgs.empty() && p_vecArgs[0] == "real") {
        zqsim::useRealClock();
    } else if (!p_vecArgs.empty()) {
        const std::string& strTime = p_vecArgs[0];
        size_t nColon = strTime.find(':');
        if (nColon == std::string::npos)
            throw CommandError("'" + strTime + "' is not a time (hh:mm)");
        zqsim::setClock(static_cast<int>(parseNumber(strTime.substr(0, nColon), 0, 23)),
                        static_cast<int>(parseNumber(strTime.substr(nColon + 1), 0, 59)));
    }
    ZqTimeFields stNow = ZqDeviceTime::getCurrentTime();
    printf("clock %02u:%02u\n", stNow.hour, stNow.minute);
}

void cmdDayNight(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    int nChannel = p_objCamera.channel();
    int nIspChannel = p_objCamera.ispChannel(nChannel);
    if (!p_vecArgs.empty()) {
        if (p_vecArgs[0] != "day" && p_vecArgs[0] != "night")
            throw CommandError("'" + p_vecArgs[0] + "' is neither day nor night");
        iasim::setDnState(nIspChannel, p_vecArgs[0] == "night" ? 1 : 0);
    }
    u32 nState = 0;
    iasim::getValue(nIspChannel, IA_CMD_DN_STATE, nState);
    printf("channel %d: the ISP reports %s\n", nChannel, nState ? "night" : "day");
}

void cmdRun(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    long long nSeconds = parseNumber(p_vecArgs[0], 0, 3600);
    std::vector<int> vecChannels = p_objCamera.runningChannels();
    std::vector<int> vecBefore;
    for (int nChannel : vecChannels)
        vecBefore.push_back(p_objCamera.currentScheme(nChannel));
    std::this_thread::sleep_for(
        std::chrono::duration<double>(static_cast<double>(nSeconds) * zqsim::timeScale()));
    printf("ran %lld s\n", nSeconds);
    for (size_t i = 0; i < vecChannels.size(); ++i) {
        printf("channel %d %s\n", vecChannels[i],
               schemeChange(vecBefore[i], p_objCamera.currentScheme(vecChannels[i])).c_str());
    }
}

void cmdTick(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    long long nPasses = p_vecArgs.empty() ? 1 : parseNumber(p_vecArgs[0], 1, 1000);
    int nChannel = p_objCamera.channel();
    ISensorController& objController = p_objCamera.running(nChannel);
    int nBefore = p_objCamera.currentScheme(nChannel);
    for (long long i = 0; i < nPasses; ++i)
        objController.sensorThread();
    printf("channel %d: %lld scheduler passes, %s\n", nChannel, nPasses,
           schemeChange(nBefore, p_objCamera.currentScheme(nChannel)).c_str());
}

// ---- what the stand-ins saw

void cmdIsp(SimCamera&, const SimArgs& p_vecArgs) {
    if (p_vecArgs.empty()) {
        simfmt::printCalls(iasim::calls());
    } else if (p_vecArgs[0] == "clear") {
        iasim::clearCalls();
    } else if (p_vecArgs[0] == "summary") {
        simfmt::printCallSummary(iasim::calls());
    } else {
        throw CommandError("unknown isp option '" + p_vecArgs[0] + "' (clear, summary)");
    }
}

void cmdVideo(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    if (!p_vecArgs.empty()) {
        if (p_vecArgs[0] != "clear")
            throw CommandError("unknown video option '" + p_vecArgs[0] + "' (clear)");
        p_objCamera.video().clearNotifications();
        return;
    }
    std::vector<RecordingVideoModule::Notification> vecNotes = p_objCamera.video().notifications();
    if (vecNotes.empty()) printf("no video notifications\n");
    for (const RecordingVideoModule::Notification& stNote : vecNotes)
        printf("%s\n", simfmt::formatNotification(stNote).c_str());
}

void cmdStyle(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    int nChannel = p_objCamera.channel();
    // The style as the web UI gets it: merged, then adapted to what the ISP reports.
    std::string strStyle = p_objCamera.running(nChannel).getUIStyleFile();
    if (p_vecArgs.empty()) {
        printf("%s\n", strStyle.c_str());
        return;
    }
    std::ofstream objOut(p_vecArgs[0], std::ios::binary);
    if (!(objOut << strStyle)) throw CommandError("cannot write '" + p_vecArgs[0] + "'");
    printf("style of channel %d written to %s (%zu bytes)\n", nChannel, p_vecArgs[0].c_str(),
           strStyle.size());
}

// ---- the session

void cmdHelp(SimCamera&, const SimArgs&) {
    for (const SimCommand& stCommand : simCommands())
        printf("%-30s %s\n", stCommand.szUsage, stCommand.szSummary);
}

void cmdQuit(SimCamera& p_objCamera, const SimArgs&) {
    p_objCamera.requestQuit();
}

}  // namespace

const std::vector<SimCommand>& simCommands() {
    static const std::vector<SimCommand> vecCommands = {
        {"device", "device [name]", "show the device, or choose a variant (before the first init)",
         cmdDevice},
        {"init", "init [channel]", "start a channel's controller", cmdInit},
        {"uinit", "uinit [channel]", "stop a channel's controller", cmdUinit},
        {"channel", "channel [n]", "show or select the channel later commands address", cmdChannel},
        {"get", "get <key>", "read a key (table name or decimal id)", cmdGet},
        {"set", "set <key> <value> [nocache]", "apply a value, cached unless nocache", cmdSet},
        {"restore", "restore <key>", "send the current scheme's value again", cmdRestore},
        {"scheme", "scheme [n|factory]", "show or switch the current scheme", cmdScheme},
        {"mode", "mode [0|1]", "show or set whether the scheduler switches schemes", cmdMode},
        {"flush", "flush", "save the current scheme to its file", cmdFlush},
        {"reload", "reload", "go back to the current scheme's file", cmdReload},
        {"reset", "reset", "back to factory values (files recreated)", cmdReset},
        {"table", "table [n|factory]", "print a scheme's keys and values", cmdTable},
        {"clock", "clock [hh:mm|real]", "show or fix the device clock", cmdClock},
        {"daynight", "daynight [day|night]", "show or set the day/night state the ISP reports",
         cmdDayNight},
        {"run", "run <seconds>", "let the scheduler threads run for simulated seconds", cmdRun},
        {"tick", "tick [n]", "run n scheduler passes on this thread", cmdTick},
        {"isp", "isp [clear|summary]", "print the ISP calls since the last clear", cmdIsp},
        {"video", "video [clear]", "print the video module's notifications", cmdVideo},
        {"setp", "setp <pairtext> [nocache]", "apply a pair text such as (34,50)(2337,128)",
         cmdSetText},
        {"getp", "getp <listtext>", "read keys by a list text such as (34,2337)", cmdGetText},
        {"range", "range <key>", "the ISP's default and permitted values of a range key", cmdRange},
        {"export", "export", "the whole current scheme as a pair text", cmdExport},
        {"zoom", "zoom [in|out|position]", "show the zoom position and ratio, or move the lens",
         cmdZoom},
        {"focus", "focus [far|near|position]", "show the focus position, or move the focus",
         cmdFocus},
        {"iris", "iris [up|down|code]", "show the aperture code, or open, close or set it",
         cmdIris},
        {"shutter", "shutter [up|down|index]", "the maximum shutter's position in the ISP's list",
         cmdShutter},
        {"light", "light [ir|white] [0|1]", "show or switch a light (one at a time)", cmdLight},
        {"lighttype", "lighttype <n>", "choose the light type (0 to 3)", cmdLightType},
        {"lenslock", "lenslock [on|off]", "show or set the lens lock", cmdLensLock},
        {"version", "version", "the camera version the ISP reports", cmdVersion},
        {"style", "style [file]", "print the UI style, or write it to a file", cmdStyle},
        {"status", "status", "show the device, the clock and every channel", cmdStatus},
        {"help", "help", "list the commands", cmdHelp},
        {"quit", "quit", "stop every channel and leave", cmdQuit},
    };
    return vecCommands;
}

const SimCommand* findSimCommand(const std::string& p_strName) {
    for (const SimCommand& stCommand : simCommands()) {
        if (p_strName == stCommand.szName) return &stCommand;
    }
    return nullptr;
}
