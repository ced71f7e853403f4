// Helpers of the fuzz targets: see FuzzSupport.h.
#include "FuzzSupport.h"

#include <fcntl.h>
#include <tinyxml.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ISensorController.h"
#include "IaSim.h"
#include "SensorFile.h"
#include "ZqSim.h"
#include "sensor.h"

namespace fs = std::filesystem;

namespace fuzz {

namespace {

std::string g_strRoot;

void removeRoot() {
    std::error_code ec;
    if (!g_strRoot.empty()) fs::remove_all(g_strRoot, ec);
}

}  // namespace

void checkFailed(const char* p_szExpr, const char* p_szFile, int p_nLine) {
    fprintf(stderr, "%s:%d: check failed: %s\n", p_szFile, p_nLine, p_szExpr);
    abort();
}

void silenceStdout() {
    static bool s_bDone = false;
    if (s_bDone) return;
    s_bDone = true;
    fflush(stdout);
    int fd = open("/dev/null", O_WRONLY);
    if (fd < 0) return;
    dup2(fd, STDOUT_FILENO);
    close(fd);
}

const std::string& deviceRoot(bool p_bDeviceTree) {
    if (!g_strRoot.empty()) return g_strRoot;
    const char* szTmp = getenv("TMPDIR");
    std::string strTemplate =
        std::string(szTmp && *szTmp ? szTmp : "/tmp") + "/luxtune-fuzz-XXXXXX";
    if (!mkdtemp(&strTemplate[0])) {
        perror("mkdtemp");
        abort();
    }
    g_strRoot = strTemplate;
    atexit(removeRoot);
    if (p_bDeviceTree) {
        fs::copy(LUXTUNE_DEVICE_TREE, g_strRoot, fs::copy_options::recursive);
    }
    for (const char* szDir : {"/tmp", "/mnt/mtd/log", "/mnt/mtd/code/config_file",
                              "/mnt/mtd/code/factory_setting", "/mnt/mtd/hd1/program/config"}) {
        fs::create_directories(g_strRoot + szDir);
    }
    setenv("LUXTUNE_ROOT", g_strRoot.c_str(), 1);
    return g_strRoot;
}

std::string hostPath(const std::string& p_strDevicePath) {
    return g_strRoot + p_strDevicePath;
}

void writeFile(const std::string& p_strDevicePath, const std::string& p_strContent) {
    std::ofstream out(hostPath(p_strDevicePath), std::ios::binary | std::ios::trunc);
    out << p_strContent;
}

void removeFile(const std::string& p_strDevicePath) {
    unlink(hostPath(p_strDevicePath).c_str());
}

void useVariant(const char* p_szName) {
    std::error_code ec;
    fs::copy_file(hostPath(std::string("/variants/") + p_szName + "/machineinfo.ini"),
                  hostPath("/mnt/mtd/code/factory_setting/machineinfo.ini"),
                  fs::copy_options::overwrite_existing, ec);
}

void resetState() {
    iasim::reset();
    zqsim::setTimeScale(0);
    zqsim::setClock(12, 0);
    zqsim::clearSystemCommands();
    zqsim::clearFileFaults();
    removeFile("/tmp/Debug.sign");
    updateDebugLevel();
    setshowBeawayFalg(true);
    ISensorController::m_nPassKeycmd.store(-1);
    ISensorController::m_nChanneldDosomething.store(-1);
}

void beginInput(bool p_bDeviceTree) {
    silenceStdout();
    deviceRoot(p_bDeviceTree);
    resetState();
}

std::vector<std::string> splitParts(const uint8_t* p_pData, size_t p_nSize, size_t p_nParts) {
    std::vector<std::string> vecParts(p_nParts);
    size_t nPart = 0;
    for (size_t i = 0; i < p_nSize; ++i) {
        if (p_pData[i] == kSeparator && nPart + 1 < p_nParts) {
            ++nPart;
        } else {
            vecParts[nPart].push_back(static_cast<char>(p_pData[i]));
        }
    }
    return vecParts;
}

std::unique_ptr<char[]> exactText(const std::string& p_strText) {
    std::unique_ptr<char[]> pText(new char[p_strText.size() + 1]);
    memcpy(pText.get(), p_strText.data(), p_strText.size());
    pText[p_strText.size()] = '\0';
    return pText;
}

uint8_t ByteReader::byte() {
    if (m_nSize == 0) return 0;
    --m_nSize;
    return *m_pData++;
}

int32_t ByteReader::int32() {
    uint32_t nValue = 0;
    for (int i = 0; i < 4; ++i)
        nValue |= static_cast<uint32_t>(byte()) << (8 * i);
    return static_cast<int32_t>(nValue);
}

std::string ByteReader::rest() {
    std::string str(reinterpret_cast<const char*>(m_pData), m_nSize);
    m_pData += m_nSize;
    m_nSize = 0;
    return str;
}

std::vector<KeyVal> sampleScheme() {
    static const std::vector<KeyVal> s_vecScheme = [] {
        std::ifstream in(LUXTUNE_DEVICE_TREE "/hd1/moduleConfig/sensorConfig/style/Style.xml");
        std::string strStyle((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
        TiXmlDocument doc;
        doc.Parse(strStyle.c_str());
        std::vector<KeyVal> vec(1024);
        u32 nCount = 0;
        style2KeyVal(doc.RootElement(), vec.data(), &nCount, static_cast<u32>(vec.size()));
        vec.resize(nCount);
        return vec;
    }();
    return s_vecScheme;
}

}  // namespace fuzz
