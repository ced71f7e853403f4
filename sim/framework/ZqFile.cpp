// Files, the device root mapping and the log writer of the simulated device framework.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "ZqDisk.h"
#include "ZqFramework.h"
#include "ZqSim.h"

namespace {

const char* fopenMode(int p_nMode) {
    bool bRead = (p_nMode & ZqFile::modeRead) != 0;
    bool bWrite = (p_nMode & ZqFile::modeWrite) != 0;
    bool bTruncate = (p_nMode & ZqFile::modeTruncate) != 0;
    if (bWrite && bTruncate) return bRead ? "w+b" : "wb";
    if (bWrite) return bRead ? "r+b" : "ab";
    return bRead ? "rb" : nullptr;
}

void makeParentDirs(const std::string& p_strPath) {
    for (size_t nPos = p_strPath.find('/', 1); nPos != std::string::npos;
         nPos = p_strPath.find('/', nPos + 1)) {
        ::mkdir(p_strPath.substr(0, nPos).c_str(), 0755);
    }
}

}  // namespace

std::string ZqFile::mapPath(const std::string& p_strPath) {
    const char* szRoot = getenv("LUXTUNE_ROOT");
    if (!szRoot || !*szRoot || p_strPath.empty() || p_strPath[0] != '/') return p_strPath;
    std::string strRoot(szRoot);
    while (!strRoot.empty() && strRoot.back() == '/')
        strRoot.pop_back();
    return strRoot + p_strPath;
}

bool ZqFile::exists(const std::string& p_strPath) {
    return exists(p_strPath.c_str());
}

bool ZqFile::exists(const char* p_szPath) {
    char szMapped[4096];
    const char* szRoot = getenv("LUXTUNE_ROOT");
    if (szRoot && *szRoot && p_szPath[0] == '/') {
        int n = snprintf(szMapped, sizeof szMapped, "%s%s", szRoot, p_szPath);
        if (n < 0 || static_cast<size_t>(n) >= sizeof szMapped) return false;
        p_szPath = szMapped;
    }
    struct stat st;
    return ::stat(p_szPath, &st) == 0;
}

bool ZqFile::rename(const std::string& p_strFrom, const std::string& p_strTo) {
    std::string strFrom = mapPath(p_strFrom), strTo = mapPath(p_strTo);
    if (!exists(p_strFrom) || !zqdisk::beforeRename(strFrom, strTo)) return false;
    return ::rename(strFrom.c_str(), strTo.c_str()) == 0;
}

bool ZqFile::remove(const std::string& p_strPath) {
    std::string strPath = mapPath(p_strPath);
    if (!exists(p_strPath) || !zqdisk::beforeRemove(strPath)) return false;
    return ::unlink(strPath.c_str()) == 0;
}

bool ZqFile::syncDir(const std::string& p_strDir) {
    if (!zqdisk::beforeSyncDir(mapPath(p_strDir))) return false;
    int fd = ::open(mapPath(p_strDir).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    bool bOk = ::fsync(fd) == 0;
    ::close(fd);
    return bOk;
}

ZqFile::~ZqFile() {
    close();
}

bool ZqFile::open(const std::string& p_strPath, int p_nMode) {
    close();
    const char* szMode = fopenMode(p_nMode);
    if (!szMode) return false;
    m_strDevicePath = p_strPath;
    m_strPath = mapPath(p_strPath);
    bool bWrite = (p_nMode & modeWrite) != 0;
    if (!zqdisk::beforeOpen(m_strDevicePath, m_strPath, bWrite, (p_nMode & modeTruncate) != 0))
        return false;
    m_pFile = fopen(m_strPath.c_str(), szMode);
    return m_pFile != nullptr;
}

void ZqFile::close() {
    if (m_pFile) fclose(m_pFile);
    m_pFile = nullptr;
}

int ZqFile::read(void* p_pBuf, u32 p_nLen) {
    if (!m_pFile || !p_pBuf) return 0;
    return static_cast<int>(fread(p_pBuf, 1, p_nLen, m_pFile));
}

int ZqFile::write(const void* p_pBuf, u32 p_nLen) {
    if (!m_pFile || !p_pBuf) return 0;
    u32 nLen = zqdisk::beforeWrite(m_strDevicePath, p_nLen);
    size_t nDone = nLen ? fwrite(p_pBuf, 1, nLen, m_pFile) : 0;
    fflush(m_pFile);
    return static_cast<int>(nDone);
}

bool ZqFile::sync() {
    if (!m_pFile || !zqdisk::beforeSync(m_strPath)) return false;
    return fflush(m_pFile) == 0 && ::fsync(fileno(m_pFile)) == 0;
}

INT64 ZqFile::getLength() {
    if (!m_pFile) return -1;
    struct stat st;
    if (::fstat(fileno(m_pFile), &st) != 0) return -1;
    return static_cast<INT64>(st.st_size);
}

bool ZqFile::ReadLines(std::vector<std::string>& p_vecLines) {
    if (!m_pFile) return false;
    char* szLine = nullptr;
    size_t nCap = 0;
    ssize_t nLen;
    while ((nLen = getline(&szLine, &nCap, m_pFile)) >= 0) {
        std::string strLine(szLine, static_cast<size_t>(nLen));
        while (!strLine.empty() && (strLine.back() == '\n' || strLine.back() == '\r'))
            strLine.pop_back();
        p_vecLines.push_back(strLine);
    }
    free(szLine);
    return true;
}

std::string ZqFile::ReadOneLine(FILE* p_pFile) {
    std::string strLine;
    if (!p_pFile) return strLine;
    int c;
    while ((c = fgetc(p_pFile)) != EOF && c != '\n')
        strLine.push_back(static_cast<char>(c));
    if (!strLine.empty() && strLine.back() == '\r') strLine.pop_back();
    return strLine;
}

bool ZqLogger::init(const std::string& p_strPath, int p_nMaxSize, int p_nMaxFiles) {
    m_strPath = ZqFile::mapPath(p_strPath);
    m_nMaxSize = p_nMaxSize;
    m_nMaxFiles = p_nMaxFiles;
    makeParentDirs(m_strPath);
    return true;
}

void ZqLogger::rotate(const std::string& p_strPath) {
    struct stat st;
    if (m_nMaxSize <= 0 || ::stat(p_strPath.c_str(), &st) != 0 || st.st_size < m_nMaxSize) return;
    if (m_nMaxFiles <= 0) {
        ::unlink(p_strPath.c_str());
        return;
    }
    for (int i = m_nMaxFiles - 1; i >= 1; --i) {
        std::string strFrom = p_strPath + "." + std::to_string(i);
        std::string strTo = p_strPath + "." + std::to_string(i + 1);
        ::rename(strFrom.c_str(), strTo.c_str());
    }
    ::rename(p_strPath.c_str(), (p_strPath + ".1").c_str());
}

void ZqLogger::writeLog(const std::string& p_strTag, const std::string& p_strText) {
    if (m_strPath.empty()) return;
    rotate(m_strPath);
    ZqTimeFields t = ZqDeviceTime::getCurrentTime();
    char szStamp[64];
    snprintf(szStamp, sizeof szStamp, "%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day,
             t.hour, t.minute, t.second);
    std::string strEntry = std::string(szStamp) + " " + p_strTag + " " + p_strText;
    if (strEntry.empty() || strEntry.back() != '\n') strEntry += '\n';
    // One write per entry with O_APPEND keeps concurrent reporters' entries whole.
    int fd = ::open(m_strPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) return;
    ssize_t nDone = ::write(fd, strEntry.data(), strEntry.size());
    (void)nDone;
    ::close(fd);
}
