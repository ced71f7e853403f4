#include "SimCamera.h"

#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SensorFile.h"
#include "SimCommands.h"
#include "SimFormat.h"
#include "ZqSim.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kMachineInfo = "/mnt/mtd/code/factory_setting/machineinfo.ini";
constexpr const char* kModuleConfig = "/hd1/moduleConfig/moduleConfig.xml";
constexpr u32 kDefaultSchemeCount = 4;

volatile sig_atomic_t g_bInterrupted = 0;

void onInterrupt(int) {
    g_bInterrupted = 1;
}

// The leading "#" lines of a machine information file, which say what the device is.
std::string leadingComment(const std::string& p_strText) {
    std::istringstream objLines(p_strText);
    std::string strLine;
    std::string strComment;
    while (std::getline(objLines, strLine) && strLine.rfind('#', 0) == 0) {
        size_t nText = strLine.find_first_not_of("# ");
        if (nText == std::string::npos) continue;
        strComment += (strComment.empty() ? "" : " ") + strLine.substr(nText);
    }
    return strComment;
}

// The argument counts a usage text allows: "<x>" is required, "[x]" optional.
void argumentRange(const char* p_szUsage, size_t& p_nMin, size_t& p_nMax) {
    p_nMin = p_nMax = 0;
    std::vector<std::string> vecWords = simfmt::splitWords(p_szUsage);
    for (size_t i = 1; i < vecWords.size(); ++i) {
        if (vecWords[i][0] == '<') ++p_nMin;
        ++p_nMax;
    }
}

}  // namespace

SimCamera::SimCamera(bool p_bKeepRoot) : m_bKeepRoot(p_bKeepRoot) {}

SimCamera::~SimCamera() {
    shutdown();
}

// The sample device tree: LUXTUNE_DEVICE_TREE when set, the one installed beside the program,
// or the one in the source tree it was built from.
std::string SimCamera::deviceTree() {
    const char* szTree = getenv("LUXTUNE_DEVICE_TREE");
    if (szTree && *szTree) return szTree;
    std::error_code ec;
    fs::path objExe = fs::read_symlink("/proc/self/exe", ec);
    fs::path objInstalled = objExe.parent_path().parent_path() / LUXTUNE_INSTALLED_TREE;
    if (!ec && fs::is_directory(objInstalled, ec)) return objInstalled.string();
    return LUXTUNE_DEVICE_TREE;
}

bool SimCamera::open() {
    char szTemplate[] = "/tmp/luxtune-sim-XXXXXX";
    if (!mkdtemp(szTemplate)) {
        fprintf(stderr, "error: cannot create a working root under /tmp\n");
        return false;
    }
    m_strRoot = szTemplate;
    std::error_code ec;
    fs::copy(deviceTree(), m_strRoot, fs::copy_options::recursive, ec);
    if (ec) {
        fprintf(stderr, "error: cannot copy the device tree to %s: %s\n", m_strRoot.c_str(),
                ec.message().c_str());
        return false;
    }
    setenv("LUXTUNE_ROOT", m_strRoot.c_str(), 1);
    zqsim::setTimeScale(kTimeScale);
    printf("working root %s\n", m_strRoot.c_str());
    return true;
}

void SimCamera::shutdown() {
    for (auto& [nChannel, pController] : m_mapControllers)
        pController->uinit();
    m_mapControllers.clear();
    if (m_strRoot.empty()) return;
    fflush(stdout);
    if (m_bKeepRoot) {
        printf("working root kept: %s\n", m_strRoot.c_str());
    } else {
        std::error_code ec;
        fs::remove_all(m_strRoot, ec);
    }
    m_strRoot.clear();
}

// ---- interpreter

bool SimCamera::execute(const std::string& p_strCommand) {
    std::vector<std::string> vecWords = simfmt::splitWords(p_strCommand);
    if (vecWords.empty()) return true;
    if (m_bEcho) printf("luxtune> %s\n", p_strCommand.c_str());
    std::string strError;
    try {
        const SimCommand* pCommand = findSimCommand(vecWords[0]);
        if (!pCommand)
            throw CommandError("unknown command '" + vecWords[0] + "' (help lists them)");
        SimArgs vecArgs(vecWords.begin() + 1, vecWords.end());
        size_t nMin = 0, nMax = 0;
        argumentRange(pCommand->szUsage, nMin, nMax);
        if (vecArgs.size() < nMin || vecArgs.size() > nMax)
            throw CommandError(std::string("usage: ") + pCommand->szUsage);
        pCommand->pfnRun(*this, vecArgs);
    } catch (const std::exception& e) {
        strError = e.what();
    }
    fflush(stdout);  // the library's traces and ours share stdout; keep the error in order
    if (strError.empty()) return true;
    fprintf(stderr, "error: %s\n", strError.c_str());
    return false;
}

int SimCamera::runCommands(const std::vector<std::string>& p_vecCommands) {
    for (const std::string& strCommand : p_vecCommands) {
        if (!execute(strCommand)) return 1;
        if (m_bQuit) break;
    }
    return 0;
}

int SimCamera::runStream(std::FILE* p_pInput, bool p_bInteractive) {
    char* szLine = nullptr;
    size_t nCapacity = 0;
    int nStatus = 0;
    if (p_bInteractive) {
        // Ctrl-C ends the session like quit, so the channels stop and the root goes. No
        // SA_RESTART: the pending read returns.
        struct sigaction stAction = {};
        stAction.sa_handler = onInterrupt;
        sigaction(SIGINT, &stAction, nullptr);
    }
    while (!m_bQuit && !g_bInterrupted) {
        if (p_bInteractive) {
            printf("luxtune> ");
            fflush(stdout);
        }
        if (getline(&szLine, &nCapacity, p_pInput) < 0) {
            if (p_bInteractive) printf("\n");
            break;
        }
        for (const std::string& strCommand : simfmt::splitCommands(szLine)) {
            if (!execute(strCommand) && !p_bInteractive) {
                nStatus = 1;
                m_bQuit = true;
            }
            if (m_bQuit) break;
        }
    }
    free(szLine);
    return nStatus;
}

// ---- session state

void SimCamera::selectChannel(int p_nChannel) {
    int nCount = std::max<int>(1, static_cast<int>(modules().size()));
    if (p_nChannel < 1 || p_nChannel > nCount) {
        throw CommandError("channel " + std::to_string(p_nChannel) +
                           " does not exist on this device (1 to " + std::to_string(nCount) + ")");
    }
    m_nChannel = p_nChannel;
}

int SimCamera::channelArg(const std::vector<std::string>& p_vecArgs, size_t p_nIndex) const {
    if (p_vecArgs.size() <= p_nIndex) return m_nChannel;
    return static_cast<int>(simfmt::parseNumber(p_vecArgs[p_nIndex], 1, 64));
}

SimCamera::DeviceFacts SimCamera::device() const {
    DeviceFacts stFacts;
    SystemInfoParser::parseMachineInfo(kMachineInfo, stFacts.objInfo);
    std::ifstream objInfo(hostPath(kMachineInfo));
    std::ostringstream objText;
    objText << objInfo.rdbuf();
    stFacts.strDescription = leadingComment(objText.str());
    stFacts.strName = "custom";
    for (const std::string& strName : deviceNames()) {
        MachineInfo objVariant;
        SystemInfoParser::parseMachineInfo("/variants/" + strName + "/machineinfo.ini", objVariant);
        if (objVariant.getDeviceType() == stFacts.objInfo.getDeviceType() &&
            objVariant.getHardwareModel() == stFacts.objInfo.getHardwareModel() &&
            objVariant.getHardwareCode() == stFacts.objInfo.getHardwareCode())
            stFacts.strName = strName;
    }
    return stFacts;
}

std::vector<std::string> SimCamera::deviceNames() const {
    std::vector<std::string> vecNames;
    std::error_code ec;
    for (const fs::directory_entry& objEntry : fs::directory_iterator(hostPath("/variants"), ec)) {
        if (fs::exists(objEntry.path() / "machineinfo.ini"))
            vecNames.push_back(objEntry.path().filename().string());
    }
    std::sort(vecNames.begin(), vecNames.end());
    return vecNames;
}

void SimCamera::useDevice(const std::string& p_strName) {
    // Scheme files made for one device would be read as another's.
    if (m_bEverStarted) throw CommandError("the device can only be chosen before the first init");
    std::vector<std::string> vecNames = deviceNames();
    if (std::find(vecNames.begin(), vecNames.end(), p_strName) == vecNames.end()) {
        std::string strKnown;
        for (const std::string& strName : vecNames)
            strKnown += (strKnown.empty() ? "" : ", ") + strName;
        throw CommandError("unknown device '" + p_strName + "' (" + strKnown + ")");
    }
    fs::copy_file(hostPath("/variants/" + p_strName + "/machineinfo.ini"), hostPath(kMachineInfo),
                  fs::copy_options::overwrite_existing);
}

std::vector<ModuleConfigure> SimCamera::modules() const {
    MachineInfo objInfo;
    SystemInfoParser::parseMachineInfo(kMachineInfo, objInfo);
    std::vector<ModuleConfigure> vecModules;
    ModuleConfigureParser::parse(kModuleConfig, objInfo.getHardwareModel(),
                                 objInfo.getHardwareCode(), vecModules);
    return vecModules;
}

ISensorController& SimCamera::start(int p_nChannel) {
    if (isRunning(p_nChannel))
        throw CommandError("channel " + std::to_string(p_nChannel) + " is already running");
    std::vector<ModuleConfigure> vecModules = modules();
    if (p_nChannel < 1 || static_cast<size_t>(p_nChannel) > vecModules.size())
        throw CommandError("the device has no module for channel " + std::to_string(p_nChannel));
    auto pController = std::make_unique<ISensorController>();
    pController->setChannelID(p_nChannel);
    pController->setVideoStreamModule(&m_objVideo);
    pController->init(vecModules[static_cast<size_t>(p_nChannel - 1)]);
    m_bEverStarted = true;
    return *(m_mapControllers[p_nChannel] = std::move(pController));
}

void SimCamera::stop(int p_nChannel) {
    running(p_nChannel).uinit();
    m_mapControllers.erase(p_nChannel);
}

ISensorController& SimCamera::running(int p_nChannel) {
    auto it = m_mapControllers.find(p_nChannel);
    if (it == m_mapControllers.end())
        throw CommandError("channel " + std::to_string(p_nChannel) + " is not running (init it)");
    return *it->second;
}

std::vector<int> SimCamera::runningChannels() const {
    std::vector<int> vecChannels;
    for (const auto& [nChannel, pController] : m_mapControllers)
        vecChannels.push_back(nChannel);
    return vecChannels;
}

int SimCamera::cameraId(int p_nChannel) const {
    return device().objInfo.getDeviceType() == DeviceType::THERMAL_DEVICE ? 2 : p_nChannel;
}

bool SimCamera::thermalChannel(int p_nChannel) const {
    switch (device().objInfo.getDeviceType()) {
        case DeviceType::THERMAL_DEVICE:
        case DeviceType::THERMAL_DOUBLE_SENSOR_DEVICE:
        case DeviceType::THERMAL_DOUBLE_SENSOR_DOME_DEVICE:
        case DeviceType::THERMAL_IPDOME:
        case DeviceType::DOMECORE_THERMAL_DEVICE:
            return cameraId(p_nChannel) == 2;
        default:
            return false;
    }
}

u32 SimCamera::schemeCount(int p_nChannel) const {
    std::vector<ModuleConfigure> vecModules = modules();
    size_t nIndex = static_cast<size_t>(p_nChannel - 1);
    u32 nCount = kDefaultSchemeCount;
    if (nIndex < vecModules.size() &&
        getDetailFieldTou32(vecModules[nIndex].getDetail().c_str(), "max_scheme", &nCount) != 0)
        nCount = kDefaultSchemeCount;
    return nCount;
}

u32 SimCamera::parseScheme(int p_nChannel, const std::string& p_strWord) const {
    u32 nFactory = schemeCount(p_nChannel);
    if (p_strWord == "factory") return nFactory;
    return static_cast<u32>(simfmt::parseNumber(p_strWord, 0, nFactory));
}

int SimCamera::currentScheme(int p_nChannel) {
    int nScheme = -1;
    running(p_nChannel).getParamScheme(nScheme);
    return nScheme;
}

std::vector<KeyVal> SimCamera::schemeValues(int p_nChannel, u32 p_nScheme) {
    ISensorController& objController = running(p_nChannel);
    std::vector<KeyVal> vecValues;
    for (u32 i = 0; i < getSensorKeyCount(); ++i) {
        KeyVal stRec{getSensorKeyInfo(i)->nKey, 0};
        if (objController.getKeyValFromCache(p_nScheme, stRec.key, stRec.value) >= 0)
            vecValues.push_back(stRec);
    }
    return vecValues;
}
