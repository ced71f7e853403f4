// The simulated device's disk: see ZqDisk.h.
#include "ZqDisk.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "ZqSim.h"

namespace {

// What a file was on the disk before the changes not yet synced.
struct Pending {
    bool bExisted = false;
    std::string strContent;
    bool bData = false;   // data written but not synced
    bool bEntry = false;  // created, renamed or removed, folder not synced
};

struct Disk {
    std::mutex mutex;
    std::string strShortWritePath;
    long nShortWriteAllow = -1;
    long nSpace = -1;  // bytes left, -1 unlimited
    bool bReadOnly = false;
    std::string strUnreadable;
    int nCutAt = 0;  // the operation at which the power fails; 0: never
    int nOperations = 0;
    bool bDead = false;
    std::map<std::string, Pending> mapPending;  // by host path
};

Disk& disk() {
    static Disk* s_pDisk = new Disk;
    return *s_pDisk;
}

bool fileExists(const std::string& p_strPath) {
    struct stat st;
    return stat(p_strPath.c_str(), &st) == 0;
}

std::string contentOf(const std::string& p_strPath) {
    std::ifstream in(p_strPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string folderOf(const std::string& p_strPath) {
    size_t nSlash = p_strPath.rfind('/');
    return nSlash == std::string::npos ? std::string() : p_strPath.substr(0, nSlash);
}

// Notes what a file holds on the disk before its first unsynced change.
Pending& remember(Disk& d, const std::string& p_strPath) {
    auto it = d.mapPending.find(p_strPath);
    if (it != d.mapPending.end()) return it->second;
    Pending& p = d.mapPending[p_strPath];
    p.bExisted = fileExists(p_strPath);
    if (p.bExisted) p.strContent = contentOf(p_strPath);
    return p;
}

void settle(Disk& d, const std::string& p_strPath) {
    auto it = d.mapPending.find(p_strPath);
    if (it != d.mapPending.end() && !it->second.bData && !it->second.bEntry) d.mapPending.erase(it);
}

// The power fails: every file goes back to what the disk holds; the device is dead.
void cut(Disk& d) {
    for (const auto& entry : d.mapPending) {
        if (entry.second.bExisted) {
            std::ofstream out(entry.first, std::ios::binary | std::ios::trunc);
            out << entry.second.strContent;
        } else {
            unlink(entry.first.c_str());
        }
    }
    d.mapPending.clear();
    d.bDead = true;
}

// Counts an operation that changes the disk; false when the power fails at it.
bool survives(Disk& d) {
    if (d.bDead) return false;
    if (d.nCutAt > 0 && ++d.nOperations == d.nCutAt) {
        cut(d);
        return false;
    }
    return true;
}

}  // namespace

namespace zqdisk {

bool beforeOpen(const std::string& p_strDevicePath, const std::string& p_strHostPath, bool p_bWrite,
                bool p_bTruncate) {
    Disk& d = disk();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (d.bDead) return false;
    if (!p_bWrite)
        return d.strUnreadable.empty() ||
               p_strDevicePath.find(d.strUnreadable) == std::string::npos;
    if (d.bReadOnly || !survives(d)) return false;
    bool bExists = fileExists(p_strHostPath);
    bool bKnown = d.mapPending.count(p_strHostPath) != 0;
    Pending& p = remember(d, p_strHostPath);
    // Cutting an existing file short reaches the disk at once, as the file system journals it;
    // the data written after it does not until it is synced.
    if (bExists && p_bTruncate && !bKnown) p.strContent.clear();
    p.bData = true;
    p.bEntry = p.bEntry || !bExists;
    return true;
}

u32 beforeWrite(const std::string& p_strDevicePath, u32 p_nLen) {
    Disk& d = disk();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (!survives(d)) return 0;
    u32 nAllow = p_nLen;
    if (d.nShortWriteAllow >= 0 && p_strDevicePath.find(d.strShortWritePath) != std::string::npos) {
        if (static_cast<u32>(d.nShortWriteAllow) < nAllow)
            nAllow = static_cast<u32>(d.nShortWriteAllow);
        d.nShortWriteAllow = -1;
    }
    if (d.nSpace >= 0) {
        if (static_cast<long>(nAllow) > d.nSpace) nAllow = static_cast<u32>(d.nSpace);
        d.nSpace -= nAllow;
    }
    return nAllow;
}

bool beforeSync(const std::string& p_strHostPath) {
    Disk& d = disk();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (!survives(d)) return false;
    auto it = d.mapPending.find(p_strHostPath);
    if (it != d.mapPending.end()) it->second.bData = false;
    settle(d, p_strHostPath);
    return true;
}

bool beforeRename(const std::string& p_strHostFrom, const std::string& p_strHostTo) {
    Disk& d = disk();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (d.bReadOnly || !survives(d)) return false;
    bool bDataPending = remember(d, p_strHostFrom).bData;
    remember(d, p_strHostFrom).bEntry = true;
    Pending& to = remember(d, p_strHostTo);
    to.bEntry = true;
    to.bData = to.bData || bDataPending;
    return true;
}

bool beforeRemove(const std::string& p_strHostPath) {
    Disk& d = disk();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (d.bReadOnly || !survives(d)) return false;
    remember(d, p_strHostPath).bEntry = true;
    return true;
}

bool beforeSyncDir(const std::string& p_strHostDir) {
    Disk& d = disk();
    std::lock_guard<std::mutex> lock(d.mutex);
    if (!survives(d)) return false;
    std::string strDir = p_strHostDir;
    while (strDir.size() > 1 && strDir.back() == '/')
        strDir.pop_back();
    for (auto it = d.mapPending.begin(); it != d.mapPending.end();) {
        if (folderOf(it->first) == strDir) it->second.bEntry = false;
        it = (!it->second.bData && !it->second.bEntry) ? d.mapPending.erase(it) : std::next(it);
    }
    return true;
}

bool mayRead(const std::string& p_strDevicePath) {
    Disk& d = disk();
    std::lock_guard<std::mutex> lock(d.mutex);
    return !d.bDead &&
           (d.strUnreadable.empty() || p_strDevicePath.find(d.strUnreadable) == std::string::npos);
}

bool mayChange() {
    Disk& d = disk();
    std::lock_guard<std::mutex> lock(d.mutex);
    return !d.bDead && !d.bReadOnly;
}

}  // namespace zqdisk

namespace zqsim {

void failNextWrite(const std::string& p_strPathPart, unsigned p_nAllowBytes) {
    std::lock_guard<std::mutex> lock(disk().mutex);
    disk().strShortWritePath = p_strPathPart;
    disk().nShortWriteAllow = static_cast<long>(p_nAllowBytes);
}

void setDiskSpace(long p_nBytes) {
    std::lock_guard<std::mutex> lock(disk().mutex);
    disk().nSpace = p_nBytes;
}

void setReadOnly(bool p_bReadOnly) {
    std::lock_guard<std::mutex> lock(disk().mutex);
    disk().bReadOnly = p_bReadOnly;
}

void setUnreadable(const std::string& p_strPathPart) {
    std::lock_guard<std::mutex> lock(disk().mutex);
    disk().strUnreadable = p_strPathPart;
}

void armPowerCut(int p_nAtOperation) {
    std::lock_guard<std::mutex> lock(disk().mutex);
    disk().nCutAt = p_nAtOperation;
    disk().nOperations = 0;
    disk().bDead = false;
    disk().mapPending.clear();
}

bool powerCutHappened() {
    std::lock_guard<std::mutex> lock(disk().mutex);
    return disk().bDead;
}

int diskOperations() {
    std::lock_guard<std::mutex> lock(disk().mutex);
    return disk().nOperations;
}

void clearPowerCut() {
    std::lock_guard<std::mutex> lock(disk().mutex);
    disk().nCutAt = 0;
    disk().bDead = false;
    disk().mapPending.clear();
}

void clearFileFaults() {
    clearPowerCut();
    std::lock_guard<std::mutex> lock(disk().mutex);
    disk().nShortWriteAllow = -1;
    disk().nSpace = -1;
    disk().bReadOnly = false;
    disk().strUnreadable.clear();
}

}  // namespace zqsim
