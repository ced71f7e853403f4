// Machine information, module configuration, strings and the shell runner of the simulated
// device framework.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <tinyxml.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <unordered_map>

#include "ZqDisk.h"
#include "ZqFramework.h"
#include "ZqSim.h"

extern char** environ;

namespace {

std::mutex g_cmdMutex;
std::vector<std::string> g_vecCommands;

std::string trim(const std::string& p_str) {
    size_t nBegin = p_str.find_first_not_of(" \t\r\n");
    if (nBegin == std::string::npos) return std::string();
    size_t nEnd = p_str.find_last_not_of(" \t\r\n");
    return p_str.substr(nBegin, nEnd - nBegin + 1);
}

bool parseInt(const std::string& p_str, int& p_nValue) {
    if (p_str.empty()) return false;
    char* szEnd = nullptr;
    long nValue = strtol(p_str.c_str(), &szEnd, 10);
    if (*szEnd != '\0') return false;
    p_nValue = static_cast<int>(nValue);
    return true;
}

bool isSystemPath(const std::string& p_strWord) {
    static const char* const kSystem[] = {"/dev/", "/proc/", "/sys/", "/bin/", "/usr/", "/sbin/"};
    for (const char* szPrefix : kSystem) {
        if (p_strWord.compare(0, strlen(szPrefix), szPrefix) == 0) return true;
    }
    return false;
}

std::string shellQuote(const std::string& p_str) {
    std::string strOut = "'";
    for (char c : p_str)
        strOut += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return strOut + "'";
}

// Puts the device root in front of every device path of a shell command. The root is quoted;
// the device path stays unquoted so that its wildcards still expand.
std::string mapCommand(const std::string& p_strCommand) {
    const char* szRoot = getenv("LUXTUNE_ROOT");
    if (!szRoot || !*szRoot) return p_strCommand;
    std::string strOut;
    bool bWordStart = true;
    for (size_t i = 0; i < p_strCommand.size(); ++i) {
        char c = p_strCommand[i];
        if (bWordStart && c == '/' && !isSystemPath(p_strCommand.substr(i))) {
            std::string strRoot(szRoot);
            while (!strRoot.empty() && strRoot.back() == '/')
                strRoot.pop_back();
            strOut += shellQuote(strRoot);
        }
        strOut += c;
        bWordStart = (c == ' ' || c == '\t' || c == '>' || c == '<' || c == ';');
    }
    return strOut;
}

}  // namespace

namespace zqsim {

std::vector<std::string> systemCommands() {
    std::lock_guard<std::mutex> lock(g_cmdMutex);
    return g_vecCommands;
}

void clearSystemCommands() {
    std::lock_guard<std::mutex> lock(g_cmdMutex);
    g_vecCommands.clear();
}

}  // namespace zqsim

bool SystemInfoParser::parseMachineInfo(const std::string& p_strPath, MachineInfo& p_objInfo) {
    if (!zqdisk::mayRead(p_strPath)) return false;
    std::ifstream in(ZqFile::mapPath(p_strPath));
    if (!in) return false;
    MachineInfo objInfo;
    bool bHasType = false;
    std::string strLine;
    while (std::getline(in, strLine)) {
        strLine = trim(strLine);
        if (strLine.empty() || strLine[0] == '#' || strLine[0] == ';' || strLine[0] == '[')
            continue;
        size_t nEq = strLine.find('=');
        if (nEq == std::string::npos) continue;
        std::string strName = trim(strLine.substr(0, nEq));
        std::string strValue = trim(strLine.substr(nEq + 1));
        int nType = 0;
        if (strName == "device_type" && parseInt(strValue, nType)) {
            objInfo.setDeviceType(nType);
            bHasType = true;
        } else if (strName == "hardware_model") {
            objInfo.setHardwareModel(strValue);
        } else if (strName == "hardware_code") {
            objInfo.setHardwareCode(strValue);
        }
    }
    if (!bHasType) return false;
    p_objInfo = objInfo;
    return true;
}

bool ModuleConfigureParser::parse(const std::string& p_strPath, const std::string& p_strModel,
                                  const std::string& p_strCode,
                                  std::vector<ModuleConfigure>& p_vecModules) {
    TiXmlDocument doc;
    if (!zqdisk::mayRead(p_strPath)) return false;
    if (!doc.LoadFile(ZqFile::mapPath(p_strPath).c_str(), TIXML_ENCODING_UTF8)) return false;
    TiXmlElement* pRoot = doc.RootElement();
    if (!pRoot) return false;
    for (TiXmlElement* pModule = pRoot->FirstChildElement("Module"); pModule;
         pModule = pModule->NextSiblingElement("Module")) {
        const char* szModel = pModule->Attribute("model");
        const char* szCode = pModule->Attribute("code");
        if ((szModel && p_strModel != szModel) || (szCode && p_strCode != szCode)) continue;
        ModuleConfigure objModule;
        int nId = 0;
        pModule->QueryIntAttribute("id", &nId);
        objModule.setModuleId(nId);
        const TiXmlElement* pDetail = pModule->FirstChildElement("Detail");
        if (pDetail && pDetail->GetText()) objModule.setDetail(pDetail->GetText());
        const TiXmlElement* pParams = pModule->FirstChildElement("Parameters");
        if (pParams && pParams->GetText()) objModule.setParameters(pParams->GetText());
        p_vecModules.push_back(objModule);
    }
    return true;
}

void StringHandler::split(const std::string& p_strText, std::vector<std::string>& p_vecPieces,
                          const std::string& p_strDelimiter) {
    if (p_strText.empty()) return;
    if (p_strDelimiter.empty()) {
        p_vecPieces.push_back(p_strText);
        return;
    }
    size_t nStart = 0;
    for (;;) {
        size_t nPos = p_strText.find(p_strDelimiter, nStart);
        if (nPos == std::string::npos) {
            p_vecPieces.push_back(p_strText.substr(nStart));
            return;
        }
        p_vecPieces.push_back(p_strText.substr(nStart, nPos - nStart));
        nStart = nPos + p_strDelimiter.size();
    }
}

template <>
int StringHandler::str2type<int>(const std::string& p_strText) {
    std::istringstream in(p_strText);
    int nValue = 0;
    in >> nValue;
    return nValue;
}

int sy_system(const char* p_szCommand, int p_nTimeoutSec) {
    if (!p_szCommand) return -1;
    {
        std::lock_guard<std::mutex> lock(g_cmdMutex);
        g_vecCommands.push_back(p_szCommand);
    }
    if (!zqdisk::mayChange()) return 1;  // the shell would find the disk read-only, or dead
    std::string strCommand = mapCommand(p_szCommand);
    char szShell[] = "/bin/sh";
    char szFlag[] = "-c";
    char* argv[] = {szShell, szFlag, &strCommand[0], nullptr};
    // Its own process group, so that a time-out ends the command's children as well.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    pid_t pid;
    int nSpawn = posix_spawn(&pid, "/bin/sh", nullptr, &attr, argv, environ);
    posix_spawnattr_destroy(&attr);
    if (nSpawn != 0) return -1;
    auto tEnd = std::chrono::steady_clock::now() + std::chrono::seconds(p_nTimeoutSec);
    int nStatus = 0;
    for (;;) {
        pid_t r = waitpid(pid, &nStatus, WNOHANG);
        if (r == pid) break;
        if (r < 0) return -1;
        if (std::chrono::steady_clock::now() >= tEnd) {
            kill(-pid, SIGKILL);
            waitpid(pid, &nStatus, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

struct ZqRefCountManager::Impl {
    std::mutex mutex;
    std::unordered_map<const void*, std::shared_ptr<ZqRefCount>> counts;
};

ZqRefCountManager::ZqRefCountManager() : m_pImpl(new Impl) {}

ZqRefCountManager& ZqRefCountManager::instance() {
    // Never destroyed: safe pointers in other static objects may still release at exit.
    static ZqRefCountManager* s_pManager = new ZqRefCountManager;
    return *s_pManager;
}

std::shared_ptr<ZqRefCount> ZqRefCountManager::registerObject(const void* p_pObject) {
    auto pCount = std::make_shared<ZqRefCount>();
    pCount->pObject = p_pObject;
    pCount->nCount = 1;
    std::lock_guard<std::mutex> lock(m_pImpl->mutex);
    m_pImpl->counts[p_pObject] = pCount;
    return pCount;
}

std::shared_ptr<ZqRefCount> ZqRefCountManager::find(const void* p_pObject) {
    std::lock_guard<std::mutex> lock(m_pImpl->mutex);
    auto it = m_pImpl->counts.find(p_pObject);
    return it == m_pImpl->counts.end() ? nullptr : it->second;
}

void ZqRefCountManager::unregisterObject(const void* p_pObject) {
    std::lock_guard<std::mutex> lock(m_pImpl->mutex);
    m_pImpl->counts.erase(p_pObject);
}
