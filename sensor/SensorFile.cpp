// Source unit "SensorFile": parameter files and the show-beaway flag.
#include "SensorFile.h"

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "ZqFramework.h"
#include "internal/AtomicFile.h"
#include "internal/Report.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "parameter files are stored as little-endian words, as they lie in memory");

std::atomic<bool> g_bShoWBeawayFalg{true};

namespace {

constexpr const char* kSrcUnit = "SensorFile";
constexpr const char* kVersionFile = "/mnt/mtd/code/config_file/snsversion.cfg";

using luxtune::report::assertFailed;

std::string folderOf(const std::string& p_strPath) {
    size_t nSlash = p_strPath.rfind('/');
    return nSlash == std::string::npos ? std::string(".") : p_strPath.substr(0, nSlash + 1);
}

// Writes a file so that a power cut never leaves it empty or half written: the data goes to a
// temporary file in the same folder, reaches the disk, and only then replaces the old file.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(const char* p_szPath)
        : m_strPath(p_szPath), m_strTemp(m_strPath + ".tmp") {}
    ~AtomicFileWriter() {
        m_objFile.close();
        if (!m_bCommitted) ZqFile::remove(m_strTemp);
    }

    bool open() { return m_objFile.open(m_strTemp, ZqFile::modeWrite | ZqFile::modeTruncate); }
    int write(const void* p_pData, u32 p_nLen) { return m_objFile.write(p_pData, p_nLen); }

    // Replaces the old file; false (and the old file kept) when the data did not reach the disk.
    bool commit() {
        bool bSynced = m_objFile.sync();
        m_objFile.close();
        if (!bSynced || !ZqFile::rename(m_strTemp, m_strPath)) return false;
        m_bCommitted = true;
        ZqFile::syncDir(folderOf(m_strPath));
        return true;
    }

  private:
    std::string m_strPath;
    std::string m_strTemp;
    ZqFile m_objFile;
    bool m_bCommitted = false;
};

bool commitReported(AtomicFileWriter& p_objWriter) {
    if (p_objWriter.commit()) return true;
    assertFailed(SNS_HERE, "file.sync()");
    return false;
}

}  // namespace

std::string luxtune::tempFileOf(const char* p_szPath) {
    return std::string(p_szPath) + ".tmp";
}

void luxtune::removeLeftoverTemp(const char* p_szPath) {
    std::string strTemp = tempFileOf(p_szPath);
    if (ZqFile::exists(strTemp)) ZqFile::remove(strTemp);
}

void setshowBeawayFalg(bool p_bShow) {
    g_bShoWBeawayFalg.store(p_bShow);
}

bool getshowBeawayFalg() {
    return g_bShoWBeawayFalg.load();
}

INT64 getFileLen(const char* file_name) {
    ZqFile file;
    if (!file.open(file_name, ZqFile::modeRead)) {
        assertFailed(SNS_HERE, "file.open(file_name)", "file_name(%s)", file_name);
    }
    return file.getLength();
}

int loadFromFile(const char* file_name, char* data, INT64 file_len) {
    luxtune::report::debugFile(SNS_HERE, "open file:%s\n", file_name);
    ZqFile file;
    if (!file.open(file_name, ZqFile::modeRead)) return -1;
    if (!data || file_len < 0 || file_len > INT_MAX) return -1;
    int nSize = file.read(data, static_cast<u32>(file_len));
    if (nSize != file_len) return -1;
    file.close();
    return nSize;
}

int saveToFile(char* file_name, char* data, INT64 file_len) {
    AtomicFileWriter file(file_name);
    if (!file.open()) {
        assertFailed(SNS_HERE, "file.open(file_name, ZqFile::modeWrite | ZqFile::modeTruncate)",
                     "file_name(%s)\n", file_name);
    }
    u32 nLen = file_len < 0 ? 0 : static_cast<u32>(file_len);
    int nSize = file.write(data, nLen);
    if (nSize != file_len) {
        assertFailed(SNS_HERE, "file_len == (nSize=file.write(data, file_len))", "file_len(%d)\n",
                     static_cast<int>(file_len));
        return nSize;
    }
    commitReported(file);
    return nSize;
}

int keyValFromFile(char* file_name, KeyVal* p_pKeyVal, u32 p_nKeyValNum) {
    ZqFile file;
    if (!file.open(file_name, ZqFile::modeRead)) {
        assertFailed(SNS_HERE, "file.open(file_name)", "file_name(%s)\n", file_name);
    }
    // Only whole records are taken: a torn last record keeps its previous contents entirely.
    std::vector<KeyVal> vecRead(p_nKeyValNum);
    u32 nBytes = static_cast<u32>(sizeof(KeyVal) * p_nKeyValNum);
    int nSize = file.read(vecRead.data(), nBytes);
    if (nSize > 0)
        memcpy(p_pKeyVal, vecRead.data(),
               (static_cast<u32>(nSize) / sizeof(KeyVal)) * sizeof(KeyVal));
    if (nSize < 0 || static_cast<u32>(nSize) != nBytes) {
        assertFailed(SNS_HERE, "nSize == sizeof(KeyVal)*p_nKeyValNum",
                     "file_name(%s) nSize(%d) sizeof(KeyVal) = %d, p_nKeyValNum(%d)\n", file_name,
                     nSize, static_cast<int>(sizeof(KeyVal)), static_cast<int>(p_nKeyValNum));
    }
    file.close();
    return SNS_SUCCESS;
}

int keyValToFile(char* file_name, KeyVal* p_pKeyVal, u32 p_nKeyValSum) {
    AtomicFileWriter file(file_name);
    if (!file.open()) {
        assertFailed(SNS_HERE, "file.open(file_name, ZqFile::modeWrite | ZqFile::modeTruncate)",
                     "file_name(%s)\n", file_name);
    }
    u32 nBytes = static_cast<u32>(sizeof(KeyVal) * p_nKeyValSum);
    int nSize = file.write(p_pKeyVal, nBytes);
    if (nSize < 0 || static_cast<u32>(nSize) != nBytes) {
        assertFailed(SNS_HERE, "nSize == sizeof(KeyVal)*p_nKeyValSum",
                     "nSize(%d) sizeof(KeyVal) = %d, p_nKeyValNum(%d)\n", nSize,
                     static_cast<int>(sizeof(KeyVal)), static_cast<int>(p_nKeyValSum));
        return SNS_SUCCESS;
    }
    commitReported(file);
    return SNS_SUCCESS;
}

int getVersion(u32* p_pnVersion) {
    u32 nVersion = 0;
    if (loadFromFile(kVersionFile, reinterpret_cast<char*>(&nVersion), sizeof nVersion) < 1)
        return -1;
    *p_pnVersion = nVersion;
    return 0;
}

int setVersion(u32 p_nVersion) {
    char szName[] = "/mnt/mtd/code/config_file/snsversion.cfg";
    return saveToFile(szName, reinterpret_cast<char*>(&p_nVersion), sizeof p_nVersion) < 1 ? -1 : 0;
}
