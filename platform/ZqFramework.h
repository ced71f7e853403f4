// Device framework services used by libluxtune: locks, log files, file access, the worker
// thread, timers, device time, machine information, module configuration, string helpers, the
// lens and stream parameter records and the shell command runner.
//
// Paths: every path handed to the framework is a device path ("/mnt/mtd/..."). When the
// environment variable LUXTUNE_ROOT names a folder, the framework maps each such path under that
// folder (a test or the simulated camera); when it is unset the path is used as it stands (the
// device). ZqFile::mapPath exposes the mapping for callers that reach a file without the
// framework.
#pragma once

#include <stdio.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ZqFunction.h"
#include "ZqTypes.h"

// ---------------------------------------------------------------------------------------------
// Locks

class ZqMutex {
  public:
    void Lock(const char* p_szFile, int p_nLine);
    void Unlock(const char* p_szFile, int p_nLine);

  private:
    std::mutex m_mutex;
};

// Scope guard: locks in the constructor, unlocks when the scope ends.
class ZqMutexManager {
  public:
    ZqMutexManager(ZqMutex& p_objMutex, const char* p_szFile, int p_nLine);
    ~ZqMutexManager();
    ZqMutexManager(const ZqMutexManager&) = delete;
    ZqMutexManager& operator=(const ZqMutexManager&) = delete;

  private:
    ZqMutex& m_objMutex;
    const char* m_szFile;
    int m_nLine;
};

// ---------------------------------------------------------------------------------------------
// Log files

// Appends tagged entries to a log file. When the file grows past p_nMaxSize bytes it is rotated:
// "<path>.1" ... "<path>.<p_nMaxFiles>" keep the older contents, the oldest is dropped.
class ZqLogger {
  public:
    bool init(const std::string& p_strPath, int p_nMaxSize, int p_nMaxFiles);
    // One entry: "<yyyy-mm-dd hh:mm:ss> <tag> <text>", ended by a line feed when the text has none.
    void writeLog(const std::string& p_strTag, const std::string& p_strText);

  private:
    void rotate(const std::string& p_strPath);

    std::string m_strPath;  // mapped path
    int m_nMaxSize = 0;
    int m_nMaxFiles = 0;
};

// ---------------------------------------------------------------------------------------------
// Files

class ZqFile {
  public:
    enum {
        modeRead = 1,
        modeWrite = 2,
        modeTruncate = 64,  // with modeWrite: create or empty the file (66)
    };

    ZqFile() = default;
    ~ZqFile();
    ZqFile(const ZqFile&) = delete;
    ZqFile& operator=(const ZqFile&) = delete;

    bool open(const std::string& p_strPath, int p_nMode);
    void close();
    bool isOpen() const { return m_pFile != nullptr; }

    // Counts of bytes moved; 0 when the file is not open (the buffer is then untouched).
    int read(void* p_pBuf, u32 p_nLen);
    int write(const void* p_pBuf, u32 p_nLen);
    // Pushes written data to the disk; false when not open or when the device refuses.
    bool sync();
    // The file's length in bytes; -1 when the file is not open.
    INT64 getLength();
    // All lines of the file from the current position, without their line ends.
    bool ReadLines(std::vector<std::string>& p_vecLines);
    FILE* getFileHandle() { return m_pFile; }

    // The next line of p_pFile without its line end; the empty text at the end or on no file.
    static std::string ReadOneLine(FILE* p_pFile);

    // Device path -> path on this machine (see the top of this header).
    static std::string mapPath(const std::string& p_strPath);
    static bool exists(const std::string& p_strPath);
    static bool exists(const char* p_szPath);  // without building a string on the heap
    // Renames a file over another, atomically; and flushes a folder's entries to disk.
    static bool rename(const std::string& p_strFrom, const std::string& p_strTo);
    static bool syncDir(const std::string& p_strDir);
    static bool remove(const std::string& p_strPath);

  private:
    FILE* m_pFile = nullptr;
    std::string m_strDevicePath;
    std::string m_strPath;  // mapped path
};

// ---------------------------------------------------------------------------------------------
// Thread

// A worker that runs its body again and again, after each return, until stop().
class GThread {
  public:
    GThread(const function<int>& p_fnBody, const std::string& p_strName,
            const function<int>& p_fnOnStart, const function<int>& p_fnOnStop);
    ~GThread();
    GThread(const GThread&) = delete;
    GThread& operator=(const GThread&) = delete;

    // False when already running or the thread cannot be created.
    bool start();
    // Returns after the thread has ended; true also when it was not running. False when called
    // from the thread itself (it then ends after the current pass).
    bool stop();
    bool isRunning() const { return m_bRunning.load(); }

    static int emptyFun();

  private:
    void run();

    function<int> m_fnBody;
    function<int> m_fnOnStart;
    function<int> m_fnOnStop;
    std::string m_strName;
    std::thread m_thread;
    std::mutex m_mutex;  // start and stop
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bRunning{false};
};

// ---------------------------------------------------------------------------------------------
// Time

// A pause of a fixed length. The simulated framework scales every pause by a factor that tests
// and the simulated camera can shrink (see ZqSim.h).
class CorvaneTime {
  public:
    CorvaneTime(long p_nSec, long p_nUsec) : m_nSec(p_nSec), m_nUsec(p_nUsec) {}
    void wait() const;

  private:
    long m_nSec;
    long m_nUsec;
};

// The device's local time as eight 16-bit fields.
struct ZqTimeFields {
    u16 year;
    u16 month;
    u16 day;
    u16 weekday;
    u16 hour;    // fifth field
    u16 minute;  // sixth field
    u16 second;
    u16 millisecond;
};

class ZqDeviceTime {
  public:
    static ZqTimeFields getCurrentTime();
};

// ---------------------------------------------------------------------------------------------
// Machine information and module configuration

class DeviceType {
  public:
    enum {
        IPCAMERA = 1,
        IPDOME = 4,
        LPR = 8,
        IPP = 9,
        HUMAN_TEMPERATURE = 11,
        THERMAL_DEVICE = 13,
        THERMAL_DOUBLE_SENSOR_DEVICE = 14,
        FISHEYE = 15,
        FACE_DETECT = 16,
        THERMAL_DOUBLE_SENSOR_DOME_DEVICE = 17,
        BINOCULAR_DEVICE = 18,
        THERMAL_IPDOME = 19,
        DOMECORE = 20,
        VEHICLE_DETECT = 22,
        DOMECORE_THERMAL_DEVICE = 23,
        AIMULTI_OBJECT_DETECT = 104,
    };

    void setDeviceTypeId(int p_nId) { m_nId = p_nId; }
    int getDeviceTypeId() const { return m_nId; }

  private:
    int m_nId = 0;
};

// The factory machine information. An unparsed MachineInfo reports device type 0.
class MachineInfo {
  public:
    int getDeviceType() const { return m_nDeviceType; }
    const std::string& getHardwareModel() const { return m_strHardwareModel; }
    const std::string& getHardwareCode() const { return m_strHardwareCode; }

    void setDeviceType(int p_nType) { m_nDeviceType = p_nType; }
    void setHardwareModel(const std::string& p_str) { m_strHardwareModel = p_str; }
    void setHardwareCode(const std::string& p_str) { m_strHardwareCode = p_str; }

  private:
    int m_nDeviceType = 0;
    std::string m_strHardwareModel;
    std::string m_strHardwareCode;
};

// Reads the machine information file, an INI text of "name=value" lines ("[section]" headers
// and "#" comments are passed over): device_type (decimal), hardware_model, hardware_code.
class SystemInfoParser {
  public:
    // False when the file cannot be read or holds no valid device_type; p_objInfo then keeps
    // what it held.
    static bool parseMachineInfo(const std::string& p_strPath, MachineInfo& p_objInfo);
};

class ModuleConfigure {
  public:
    int getModuleId() const { return m_nModuleId; }
    const std::string& getDetail() const { return m_strDetail; }
    const std::string& getParameters() const { return m_strParameters; }

    void setModuleId(int p_nId) { m_nModuleId = p_nId; }
    void setDetail(const std::string& p_str) { m_strDetail = p_str; }
    void setParameters(const std::string& p_str) { m_strParameters = p_str; }

  private:
    int m_nModuleId = 0;
    std::string m_strDetail;
    std::string m_strParameters;
};

// Reads the module configuration, an XML document:
//   <ModuleConfig>
//     <Module model="Hi3516AV200" code="A1" id="1">
//       <Detail>(max_scheme=4)(lensId=3)</Detail>
//       <Parameters>...</Parameters>
//     </Module>
//   </ModuleConfig>
// A Module is taken when its model and code attributes are absent or equal to those asked for.
class ModuleConfigureParser {
  public:
    // False when the document cannot be read or parsed; p_vecModules then gets nothing.
    static bool parse(const std::string& p_strPath, const std::string& p_strModel,
                      const std::string& p_strCode, std::vector<ModuleConfigure>& p_vecModules);
};

// ---------------------------------------------------------------------------------------------
// Strings

class StringHandler {
  public:
    // Cuts p_strText at every p_strDelimiter; pieces keep their order, empty pieces included.
    // An empty text gives no piece.
    static void split(const std::string& p_strText, std::vector<std::string>& p_vecPieces,
                      const std::string& p_strDelimiter);

    template <typename T>
    static T str2type(const std::string& p_strText);
};

template <>
int StringHandler::str2type<int>(const std::string& p_strText);

// ---------------------------------------------------------------------------------------------
// Lens, stream and WDR parameter records

// Lens lock settings. Fields may be read by one thread while another assigns the record.
class SensorZoomFocusParam {
  public:
    SensorZoomFocusParam() = default;
    SensorZoomFocusParam(const SensorZoomFocusParam& p_other) { *this = p_other; }
    SensorZoomFocusParam& operator=(const SensorZoomFocusParam& p_other) {
        m_bLockZoomFocusEnable.store(p_other.m_bLockZoomFocusEnable.load());
        m_nLockZoomValue.store(p_other.m_nLockZoomValue.load());
        m_nLockFocusValue.store(p_other.m_nLockFocusValue.load());
        return *this;
    }

    bool getLockZoomFocusEnable() const { return m_bLockZoomFocusEnable.load(); }
    void setLockZoomFocusEnable(bool p_b) { m_bLockZoomFocusEnable.store(p_b); }
    int getLockZoomValue() const { return m_nLockZoomValue.load(); }
    void setLockZoomValue(int p_n) { m_nLockZoomValue.store(p_n); }
    int getLockFocusValue() const { return m_nLockFocusValue.load(); }
    void setLockFocusValue(int p_n) { m_nLockFocusValue.store(p_n); }

  private:
    std::atomic<bool> m_bLockZoomFocusEnable{false};
    std::atomic<int> m_nLockZoomValue{0};
    std::atomic<int> m_nLockFocusValue{0};
};

class LimitedFramesWDRModeParam {
  public:
    int getLimitFramesModeId() const { return m_nLimitFramesModeId; }
    int getLimitWdr() const { return m_nLimitWdr; }
    bool getLDCSupport() const { return m_bLDCSupport; }
    bool getLDCSwitch() const { return m_bLDCSwitch; }

    void setLimitFramesModeId(int p_n) { m_nLimitFramesModeId = p_n; }
    void setLimitWdr(int p_n) { m_nLimitWdr = p_n; }
    void setLDCSupport(bool p_b) { m_bLDCSupport = p_b; }
    void setLDCSwitch(bool p_b) { m_bLDCSwitch = p_b; }

  private:
    int m_nLimitFramesModeId = -1;
    int m_nLimitWdr = 0;
    bool m_bLDCSupport = false;
    bool m_bLDCSwitch = false;
};

class AVStreamParam {
  public:
    int getVideoEncoderType() const { return m_nVideoEncoderType; }
    int getVideoHeight() const { return m_nVideoHeight; }
    void setVideoEncoderType(int p_n) { m_nVideoEncoderType = p_n; }
    void setVideoHeight(int p_n) { m_nVideoHeight = p_n; }

  private:
    int m_nVideoEncoderType = 0;
    int m_nVideoHeight = 0;
};

// ---------------------------------------------------------------------------------------------
// Shell

// Runs p_szCommand with /bin/sh and waits for it at most p_nTimeoutSec seconds (then kills it).
// Device paths in the command (words starting with "/", except system folders such as /dev and
// /bin) are mapped like every other path. Returns the command's exit status, -1 when it could
// not run or ran out of time.
int sy_system(const char* p_szCommand, int p_nTimeoutSec);
