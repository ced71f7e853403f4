#include "SimFormat.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

#include "SensorKeys.h"

namespace simfmt {

namespace {

// ISP commands that the library sends by name rather than as a key id.
const std::map<int, const char*> kIspCommandNames = {
    {IA_CMD_DN_STATE, "IA_CMD_DN_STATE"},
    {IA_CMD_EXPOSURE_STRATEGY, "IA_CMD_EXPOSURE_STRATEGY"},
    {IA_CMD_IR_LED_INFO, "IA_CMD_IR_LED_INFO"},
    {IA_CMD_HEAT_STATUS, "IA_CMD_HEAT_STATUS"},
    {IA_CMD_TEMP_VALUE, "IA_CMD_TEMP_VALUE"},
    {IA_CMD_PTZ_RUN_STATE, "IA_CMD_PTZ_RUN_STATE"},
    {IA_CMD_AF_STATISTIC, "IA_CMD_AF_STATISTIC"},
    {IA_CMD_UI_WDR_SWITCH_STATE, "IA_CMD_UI_WDR_SWITCH_STATE"},
    {IA_CMD_CAMERA_VERSION, "IA_CMD_CAMERA_VERSION"},
    {IA_CMD_SENSOR_CHECK, "IA_CMD_SENSOR_CHECK"},
    {IA_CMD_DYNAMIC_PARAMS_CMDS_GET, "IA_CMD_DYNAMIC_PARAMS_CMDS_GET"},
};

constexpr size_t kNamesInSummary = 4;

std::string trim(const std::string& p_str) {
    size_t nBegin = p_str.find_first_not_of(" \t\r");
    if (nBegin == std::string::npos) return std::string();
    size_t nEnd = p_str.find_last_not_of(" \t\r");
    return p_str.substr(nBegin, nEnd - nBegin + 1);
}

std::string nameOf(int p_nId) {
    const SensorKeyInfo* pInfo = findSensorKeyById(static_cast<u32>(p_nId));
    if (pInfo) return pInfo->szName;
    auto it = kIspCommandNames.find(p_nId);
    return it != kIspCommandNames.end() ? it->second : std::string();
}

std::string counted(size_t p_nCount, const char* p_szThing) {
    return std::to_string(p_nCount) + " " + p_szThing + (p_nCount == 1 ? "" : "s");
}

}  // namespace

std::vector<std::string> splitCommands(const std::string& p_strText) {
    std::vector<std::string> vecCommands;
    std::istringstream objLines(p_strText);
    std::string strLine;
    while (std::getline(objLines, strLine)) {
        strLine = strLine.substr(0, strLine.find('#'));
        std::istringstream objParts(strLine);
        std::string strPart;
        while (std::getline(objParts, strPart, ';')) {
            strPart = trim(strPart);
            if (!strPart.empty()) vecCommands.push_back(strPart);
        }
    }
    return vecCommands;
}

std::vector<std::string> splitWords(const std::string& p_strCommand) {
    std::istringstream objWords(p_strCommand);
    std::vector<std::string> vecWords;
    std::string strWord;
    while (objWords >> strWord)
        vecWords.push_back(strWord);
    return vecWords;
}

long long parseNumber(const std::string& p_strWord, long long p_nMin, long long p_nMax) {
    const char* szText = p_strWord.c_str();
    bool bNegative = *szText == '-';
    const char* szDigits = bNegative ? szText + 1 : szText;
    bool bHex = szDigits[0] == '0' && (szDigits[1] == 'x' || szDigits[1] == 'X');
    // strtoll alone would take blanks, a "+" or an octal zero; a typed number is plainer.
    if (!(bHex ? isxdigit(static_cast<unsigned char>(szDigits[2]))
               : isdigit(static_cast<unsigned char>(szDigits[0]))))
        throw CommandError("'" + p_strWord + "' is not a number");
    errno = 0;
    char* szEnd = nullptr;
    long long nValue = strtoll(szText, &szEnd, bHex ? 16 : 10);
    if (*szEnd != '\0') throw CommandError("'" + p_strWord + "' is not a number");
    if (errno == ERANGE || nValue < p_nMin || nValue > p_nMax) {
        throw CommandError("'" + p_strWord + "' is out of range (" + std::to_string(p_nMin) +
                           " to " + std::to_string(p_nMax) + ")");
    }
    return nValue;
}

u32 parseKey(const std::string& p_strWord) {
    if (!p_strWord.empty() && isdigit(static_cast<unsigned char>(p_strWord[0])))
        return static_cast<u32>(parseNumber(p_strWord, 0, 0xFFFFFFFFLL));
    std::string strUpper = p_strWord;
    for (char& c : strUpper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    const SensorKeyInfo* pInfo = findSensorKeyByName(strUpper.c_str());
    if (!pInfo) throw CommandError("unknown key '" + p_strWord + "'");
    return pInfo->nKey;
}

std::string keyName(u32 p_nKey) {
    const SensorKeyInfo* pInfo = findSensorKeyById(p_nKey);
    return pInfo ? pInfo->szName : std::to_string(p_nKey);
}

std::string idWithName(int p_nId) {
    std::string strName = nameOf(p_nId);
    return strName.empty() ? std::to_string(p_nId) : std::to_string(p_nId) + " (" + strName + ")";
}

const char* optionName(int p_nOption) {
    switch (p_nOption) {
        case IA_CMD_OPT_SET:
            return "set";
        case IA_CMD_OPT_GET:
            return "get";
        case IA_CMD_OPT_GET_PARAM_RNAGE:
            return "range";
        case IA_CMD_OPT_CORRECT_PARAM:
            return "correct";
        case IA_CMD_OPT_GET_EXEC_STATUS:
            return "exec-status";
        default:
            return "option?";
    }
}

std::string formatCall(const iasim::Call& p_stCall) {
    std::string strLine = "ch" + std::to_string(p_stCall.channel) + " cmd " +
                          idWithName(p_stCall.cmd) + " " + optionName(p_stCall.option);
    if (p_stCall.words.size() > 1) {
        strLine += " [";
        for (size_t i = 0; i < p_stCall.words.size(); ++i)
            strLine += (i ? " " : "") + std::to_string(p_stCall.words[i]);
        strLine += "]";
    } else if (p_stCall.option != IA_CMD_OPT_GET_PARAM_RNAGE) {
        // A range query's answer is a record the trace does not keep.
        strLine += " " + std::to_string(p_stCall.value);
    }
    return strLine;
}

std::string formatNotification(const RecordingVideoModule::Notification& p_stNote) {
    return "channel " + std::to_string(p_stNote.channel) + " key " + idWithName(p_stNote.key) +
           " value " + std::to_string(p_stNote.value);
}

void printCalls(const std::vector<iasim::Call>& p_vecCalls) {
    if (p_vecCalls.empty()) {
        printf("no ISP calls\n");
        return;
    }
    // The scheduler reads the day/night state on every pass: repeats would flood the trace.
    std::string strLast;
    size_t nRepeat = 0;
    auto flushRun = [&] {
        if (nRepeat == 1) printf("%s\n", strLast.c_str());
        if (nRepeat > 1) printf("%s (x%zu)\n", strLast.c_str(), nRepeat);
    };
    for (const iasim::Call& stCall : p_vecCalls) {
        std::string strLine = formatCall(stCall);
        if (strLine == strLast) {
            ++nRepeat;
            continue;
        }
        flushRun();
        strLast = strLine;
        nRepeat = 1;
    }
    flushRun();
}

void printCallSummary(const std::vector<iasim::Call>& p_vecCalls) {
    std::set<int> setChannels;
    struct OptionUse {
        size_t nCalls = 0;
        std::vector<int> vecCommands;  // distinct, in the order first seen
    };
    std::map<int, OptionUse> mapOptions;
    for (const iasim::Call& stCall : p_vecCalls) {
        setChannels.insert(stCall.channel);
        OptionUse& objUse = mapOptions[stCall.option];
        ++objUse.nCalls;
        bool bSeen = false;
        for (int nCmd : objUse.vecCommands)
            bSeen = bSeen || nCmd == stCall.cmd;
        if (!bSeen) objUse.vecCommands.push_back(stCall.cmd);
    }
    std::string strChannels;
    for (int nChannel : setChannels)
        strChannels += (strChannels.empty() ? "" : ", ") + std::to_string(nChannel);
    printf("%s%s%s\n", counted(p_vecCalls.size(), "ISP call").c_str(),
           strChannels.empty() ? "" : " on channel ", strChannels.c_str());
    for (const auto& [nOption, objUse] : mapOptions) {
        std::string strNames;
        for (size_t i = 0; i < objUse.vecCommands.size() && i < kNamesInSummary; ++i) {
            std::string strName = nameOf(objUse.vecCommands[i]);
            strNames += (i ? ", " : "") +
                        (strName.empty() ? std::to_string(objUse.vecCommands[i]) : strName);
        }
        if (objUse.vecCommands.size() > kNamesInSummary)
            strNames +=
                " and " + std::to_string(objUse.vecCommands.size() - kNamesInSummary) + " more";
        printf("%s: %s on %s (%s)\n", optionName(nOption), counted(objUse.nCalls, "call").c_str(),
               counted(objUse.vecCommands.size(), "command").c_str(), strNames.c_str());
    }
}

}  // namespace simfmt
