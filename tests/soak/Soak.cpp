// The concurrency soak: both controllers of the thermal-dual device on a copy of the sample
// device tree, driven by host threads that call the public operations at random while the
// scheduler threads switch schemes on a fast clock (channel 1 by day/night, channel 2 by time
// window) and a flipper turns the ISP's day/night state and moves the device clock.
//
// It fails on a deadlock (the watchdog aborts with a report), on a sanitizer report (in the
// sanitizer builds) and on a broken scheme invariant, checked now and then with the hosts paused
// and once more at the end: the current scheme exists, every scheme holds the factory slice's
// keys in its order, every scheme keeps a valid window of its own, and after a flush of each
// user scheme every scheme file holds exactly the scheme in memory.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "ControllerAccess.h"
#include "DeviceTree.h"
#include "IaSim.h"
#include "RecordingVideoModule.h"
#include "SensorKeys.h"
#include "Watchdog.h"
#include "ZqSim.h"

namespace fs = std::filesystem;
using soak::Tracked;
using soak::Watchdog;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kTimeScale = 0.0005;  // a scheduler pass every half millisecond
constexpr auto kCheckEvery = std::chrono::seconds(1);
constexpr auto kSchedulerSettle = std::chrono::milliseconds(20);  // a pass begun before mode 0
constexpr int kClockStepMinutes = 7;
constexpr auto kResetGap = std::chrono::seconds(2);
constexpr u32 kNoScheme = 0xFFFFFFFF;
constexpr u32 kFactoryWindow[4] = {0, 0, 24, 0};

struct Options {
    int nSeconds = 60;
    int nHosts = 4;
    unsigned nSeed = 0;
    int nWatchdog = 20;
    bool bKeepGoing = false;  // run on after a broken invariant (the sanitizers keep watching)
};

bool parseOptions(int argc, char** argv, Options& o) {
    o.nSeed = static_cast<unsigned>(std::random_device{}());
    for (int i = 1; i < argc; ++i) {
        std::string strOpt = argv[i];
        if (strOpt == "--keep-going") {
            o.bKeepGoing = true;
            continue;
        }
        if (strOpt == "--help" || i + 1 >= argc) return false;
        long nValue = strtol(argv[++i], nullptr, 10);
        if (strOpt == "--seconds" && nValue >= 0) {
            o.nSeconds = static_cast<int>(nValue);
        } else if (strOpt == "--hosts" && nValue >= 1) {
            o.nHosts = static_cast<int>(nValue);
        } else if (strOpt == "--seed") {
            o.nSeed = static_cast<unsigned>(strtoul(argv[i], nullptr, 10));
        } else if (strOpt == "--watchdog" && nValue >= 1) {
            o.nWatchdog = static_cast<int>(nValue);
        } else {
            return false;
        }
    }
    return true;
}

// Our own lines go to the real standard output; the library's chatter goes to /dev/null.
FILE* g_pOut = stdout;

void say(const char* p_szFmt, ...) __attribute__((format(printf, 1, 2)));
void say(const char* p_szFmt, ...) {
    va_list args;
    va_start(args, p_szFmt);
    vfprintf(g_pOut, p_szFmt, args);
    va_end(args);
    fflush(g_pOut);
}

void silenceLibrary() {
    fflush(stdout);
    int nOut = dup(STDOUT_FILENO);
    int nNull = open("/dev/null", O_WRONLY);
    if (nOut < 0 || nNull < 0) return;
    g_pOut = fdopen(nOut, "w");
    dup2(nNull, STDOUT_FILENO);
    close(nNull);
}

// A temporary device root with a copy of the sample tree and the thermal-dual machine. Kept
// after a failure, for a look at the files.
class DeviceRoot {
  public:
    DeviceRoot() {
        char szTemplate[] = "/tmp/luxtune-soak-XXXXXX";
        if (!mkdtemp(szTemplate)) throw std::runtime_error("cannot create the device root");
        m_strPath = szTemplate;
        fs::copy(LUXTUNE_DEVICE_TREE, m_strPath, fs::copy_options::recursive);
        fs::create_directories(host("/mnt/mtd/hd1/program/config"));
        fs::copy_file(host("/variants/thermal-dual/machineinfo.ini"),
                      host("/mnt/mtd/code/factory_setting/machineinfo.ini"),
                      fs::copy_options::overwrite_existing);
        setenv("LUXTUNE_ROOT", m_strPath.c_str(), 1);
    }
    ~DeviceRoot() {
        unsetenv("LUXTUNE_ROOT");
        std::error_code ec;
        if (!m_bKeep) fs::remove_all(m_strPath, ec);
    }
    DeviceRoot(const DeviceRoot&) = delete;
    DeviceRoot& operator=(const DeviceRoot&) = delete;

    const std::string& path() const { return m_strPath; }
    std::string host(const std::string& p_strDevicePath) const {
        return m_strPath + p_strDevicePath;
    }
    void keep() { m_bKeep = true; }

  private:
    std::string m_strPath;
    bool m_bKeep = false;
};

bool isModeOrWindowKey(u32 p_nKey) {
    return p_nKey >= KEY_SCHEME_MODE && p_nKey <= KEY_SCHEME_END_MIN;
}

struct Channel {
    Channel(int p_nChannel, int p_nSchemeMode, const VideoStreamModule& p_objVideo)
        : nChannel(p_nChannel), nSchemeMode(p_nSchemeMode) {
        ctl.setChannelID(nChannel);
        ctl.setVideoStreamModule(&p_objVideo);
        ctl.init(channelModule(nChannel));
        nSchemes = Access::sysConf(ctl).nSchemeSum;
        const KeyVal* pFactory = Access::scheme(ctl, nSchemes);
        for (u32 i = 0; i < Access::keyValSum(ctl); ++i) {
            if (!isModeOrWindowKey(pFactory[i].key)) vecSchemeKeys.push_back(pFactory[i].key);
        }
        for (u32 i = 0; i < getSensorKeyCount(); ++i) {
            u32 nKey = getSensorKeyInfo(i)->nKey;
            if (!isModeOrWindowKey(nKey)) vecTableKeys.push_back(nKey);
        }
    }

    // The window of a user scheme: the day is cut into one span a scheme, and each window
    // leaves the last hour of its span out, so that the clock also passes outside every window.
    void windowOf(u32 p_nScheme, u32 (&p_aWindow)[4]) const {
        u32 nSpan = 24 / (nSchemes ? nSchemes : 1);
        p_aWindow[0] = p_nScheme * nSpan;
        p_aWindow[1] = 0;
        p_aWindow[2] = p_nScheme * nSpan + (nSpan > 1 ? nSpan - 1 : 1);
        p_aWindow[3] = 0;
    }

    // Straight into each scheme's cache, where no scheme switch can send a window to another
    // scheme.
    void writeWindows() {
        for (u32 s = 0; s < nSchemes; ++s) {
            u32 aWindow[4];
            windowOf(s, aWindow);
            for (u32 i = 0; i < 4; ++i)
                ctl.setKeyValToCache(s, KEY_SCHEME_START_HOUR + i, aWindow[i], true);
        }
    }

    // Into the current scheme, which must be scheme 0 for the mode to be applied; through 0 so
    // that it is applied even when scheme 0 already holds it.
    void writeSchemeMode() {
        ctl.setParameter(KEY_SCHEME_MODE, 0, true);
        ctl.setParameter(KEY_SCHEME_MODE, nSchemeMode, true);
    }

    // What a host does after resetting the channel, which brings back the factory's scheme mode
    // and windows.
    void setUpAgain() {
        writeWindows();
        ctl.setParamScheme(0);
        writeSchemeMode();
    }

    // A reset brings back the factory windows, which would hide a window gone astray before
    // the next check sees it: resets are spaced out.
    bool claimPaced() {
        int64_t nNow = Clock::now().time_since_epoch().count();
        int64_t nDue = nNextPaced.load();
        return nNow >= nDue &&
               nNextPaced.compare_exchange_strong(
                   nDue, nNow + std::chrono::duration_cast<Clock::duration>(kResetGap).count());
    }

    std::string schemeFile(u32 p_nScheme) {
        char szName[128];
        if (Access::thermal(ctl)) {
            snprintf(szName, sizeof szName, "/mnt/mtd/code/config_file/sensor-thermal%u.cfg",
                     p_nScheme);
        } else {
            snprintf(szName, sizeof szName, "/mnt/mtd/code/config_file/sensor%d_%u.cfg",
                     Access::cameraId(ctl), p_nScheme);
        }
        return szName;
    }

    const int nChannel;
    const int nSchemeMode;  // KEY_SCHEME_MODE of scheme 0: 2 day/night, 1 time windows
    ISensorController ctl;
    u32 nSchemes = 0;                // user schemes; scheme nSchemes holds the factory values
    std::vector<u32> vecSchemeKeys;  // what hosts may write: the scheme's keys but mode and windows
    std::vector<u32> vecTableKeys;   // the same from the whole key table, most not cached
    std::atomic<int64_t> nNextPaced{0};
    std::atomic<u32> nSeen{kNoScheme};
    std::atomic<uint64_t> nSwitches{0};
};

// ---- the hosts' operations

// Lets the main thread pause the hosts between operations.
class Gate {
  public:
    bool stopping() const { return m_bStop.load(); }

    void checkpoint(Tracked& p_objTracked) {
        if (!m_bPause.load()) return;
        std::unique_lock<std::mutex> lock(m_mutex);
        p_objTracked.idle();
        ++m_nPaused;
        m_cv.notify_all();
        m_cv.wait(lock, [this] { return !m_bPause.load(); });
        --m_nPaused;
    }
    void pause(int p_nHosts) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_bPause.store(true);
        m_cv.wait(lock, [&] { return m_nPaused == p_nHosts; });
    }
    void resume() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bPause.store(false);
        }
        m_cv.notify_all();
    }
    void stop() {
        m_bStop.store(true);
        resume();
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::atomic<bool> m_bPause{false};
    std::atomic<bool> m_bStop{false};
    int m_nPaused = 0;
};

struct Host {
    void step(const char* p_szStep) { pTracked->szStep.store(p_szStep); }
    u32 below(u32 p_nLimit) { return static_cast<u32>(rng() % p_nLimit); }
    bool oneIn(u32 p_nTimes) { return below(p_nTimes) == 0; }
    u32 key(const Channel& c) {
        const std::vector<u32>& vec = oneIn(4) ? c.vecTableKeys : c.vecSchemeKeys;
        return vec[below(static_cast<u32>(vec.size()))];
    }
    // Mostly plausible values, now and then a large or negative one.
    int value() {
        switch (below(8)) {
            case 0:
                return static_cast<int>(below(4));
            case 1:
                return static_cast<int>(below(100001));
            case 2:
                return oneIn(2) ? -1 : 0x7FFFFFFF;
            default:
                return static_cast<int>(below(101));
        }
    }
    std::string pairText(Channel& c) {
        if (oneIn(30)) return "(34,";  // malformed
        // Now and then more groups than a scheme holds: refused whole.
        u32 nPairs = oneIn(30) ? static_cast<u32>(c.vecSchemeKeys.size()) + 8 : 1 + below(6);
        std::string str;
        for (u32 i = 0; i < nPairs; ++i)
            str += "(" + std::to_string(key(c)) + "," + std::to_string(value()) + ")";
        return str;
    }
    std::string listText(Channel& c) {
        if (oneIn(30)) return "34,2337";  // malformed
        std::string str = "(";
        for (u32 i = 0, n = 1 + below(8); i < n; ++i)
            str += (i ? "," : "") + std::to_string(key(c));
        return str + ")";
    }

    std::mt19937 rng;
    Tracked* pTracked;
};

struct Call {
    const char* szName;
    void (*pfn)(Host&, Channel&);
};

struct Kind {
    const char* szName;
    u32 nWeight;
    std::vector<Call> vecCalls;
    bool bPaced = false;  // at most once a channel per kResetGap
};

using C = ISensorController;

// Calls of the controller's members that take no argument, a value or a value's place (which
// a getter fills and a setter reads). The value is one below Range, any value when 0.
template <bool (C::*Fn)()>
void plain(Host&, Channel& c) {
    (c.ctl.*Fn)();
}
template <bool (C::*Fn)(int), u32 Range = 0>
void withValue(Host& h, Channel& c) {
    (c.ctl.*Fn)(Range ? static_cast<int>(h.below(Range)) : h.value());
}
template <bool (C::*Fn)(int&), u32 Range = 0>
void withPlace(Host& h, Channel& c) {
    int n = Range ? static_cast<int>(h.below(Range)) : h.value();
    (c.ctl.*Fn)(n);
}
template <typename T, bool (C::*Fn)(T&)>
void intoPlace(Host&, Channel& c) {
    T place{};
    (c.ctl.*Fn)(place);
}

// Every public operation a host uses, by kind. Scheme mode and windows are left to the checks.
const std::vector<Kind>& kinds() {
    static const std::vector<Kind> s_vecKinds = {
        {"text-set",
         8,
         {{"setParameters(text)",
           [](Host& h, Channel& c) { c.ctl.setParameters(h.pairText(c), !h.oneIn(4)); }}}},
        {"text-get",
         6,
         {{"getParameters",
           [](Host& h, Channel& c) {
               std::string str;
               c.ctl.getParameters(h.listText(c), str);
           }}}},
        {"set",
         10,
         {{"setParameter",
           [](Host& h, Channel& c) {
               c.ctl.setParameter(static_cast<int>(h.key(c)), h.value(), !h.oneIn(4));
           }}}},
        {"get",
         10,
         {{"getParameter",
           [](Host& h, Channel& c) {
               int n = 0;
               c.ctl.getParameter(static_cast<int>(h.key(c)), n);
           }}}},
        {"scheme",
         6,
         {{"setParamScheme",
           [](Host& h, Channel& c) {
               c.ctl.setParamScheme(static_cast<int>(h.below(c.nSchemes)));
           }},
          {"setParamScheme(factory)",
           [](Host&, Channel& c) { c.ctl.setParamScheme(static_cast<int>(c.nSchemes)); }},
          {"getParamScheme", withPlace<&C::getParamScheme>}}},
        {"mode",
         3,
         {{"setParamMode", [](Host& h, Channel& c) { c.ctl.setParamMode(h.oneIn(4) ? 0 : 1); }},
          {"getParamMode", withPlace<&C::getParamMode>}}},
        {"flush", 4, {{"flush", [](Host&, Channel& c) { c.ctl.flush(); }}}},
        {"restore",
         4,
         {{"restore",
           [](Host& h, Channel& c) {
               u32 nAt = h.below(static_cast<u32>(c.vecSchemeKeys.size()));
               c.ctl.restore(static_cast<int>(c.vecSchemeKeys[nAt]));
           }}}},
        {"restore-ae", 2, {{"restoreAeMode", plain<&C::restoreAeMode>}}},
        {"reload", 4, {{"resetToLastParameters", plain<&C::resetToLastParameters>}}},
        {"reset",
         1,
         {{"resetParameters",
           [](Host& h, Channel& c) {
               c.ctl.resetParameters();
               h.step("setting up after reset");
               c.setUpAgain();
           }}},
         true},
        {"style", 1, {{"getUIStyleFile", [](Host&, Channel& c) { c.ctl.getUIStyleFile(); }}}},
        {"export",
         2,
         {{"getAllParameters",
           [](Host&, Channel& c) {
               std::string str;
               c.ctl.getAllParameters(str);
           }}}},
        {"range",
         2,
         {{"getSensorParamRange",
           [](Host& h, Channel& c) {
               // The range commands, and one that is not.
               static const int kCmds[] = {KEY_MAX_SHUTTER,           KEY_FIX_SHUTTER,
                                           KEY_MIN_SHUTTER,           KEY_MIN_SHUTTER_NIGHT,
                                           KEY_MAX_SHUTTER_NIGHT,     KEY_IRIS_POSITION,
                                           KEY_AUTO_FOCUS_NEAR_LIMIT, KEY_WB_MODE};
               int nDefault = 0;
               std::string str;
               c.ctl.getSensorParamRange(kCmds[h.below(8)], nDefault, str);
           }}}},
        {"zoom",
         2,
         {{"zoomIn", plain<&C::zoomIn>},
          {"zoomOut", plain<&C::zoomOut>},
          {"setZoomValue", withValue<&C::setZoomValue, 31424>},
          {"getZoomValue",
           [](Host&, Channel& c) {
               int nPos = 0, nRatio = 0;
               c.ctl.getZoomValue(nPos, nRatio);
           }},
          {"setPTZRunState", withValue<&C::setPTZRunState, 2>}}},
        {"focus",
         2,
         {{"focusFar", plain<&C::focusFar>},
          {"focusNear", plain<&C::focusNear>},
          {"setFocusValue", withValue<&C::setFocusValue>},
          {"getFocusValue", withPlace<&C::getFocusValue>},
          {"setFocusMode", withValue<&C::setFocusMode, 3>}}},
        {"iris",
         2,
         {{"irisUp", plain<&C::irisUp>},
          {"irisDown", plain<&C::irisDown>},
          {"setIrisValue", withValue<&C::setIrisValue>},
          {"getIrisValue", withPlace<&C::getIrisValue>}}},
        {"shutter",
         2,
         {{"shutterUp", plain<&C::shutterUp>},
          {"shutterDown", plain<&C::shutterDown>},
          {"setShutterValue", withValue<&C::setShutterValue, 14>},
          {"getShutterValue", withPlace<&C::getShutterValue>}}},
        {"light",
         3,
         {{"setIRSwitch", withValue<&C::setIRSwitch, 2>},
          {"setWhiteSwitch", withValue<&C::setWhiteSwitch, 2>},
          {"setLightType", withValue<&C::setLightType, 4>},
          {"setWhiteMode", withValue<&C::setWhiteMode, 3>},
          {"getIRSwitch", withPlace<&C::getIRSwitch>},
          {"getWhiteSwitch", withPlace<&C::getWhiteSwitch>}}},
        {"getters",
         4,
         {{"getDNMode", withPlace<&C::getDNMode>},
          {"getWDRSwitch", withPlace<&C::getWDRSwitch>},
          {"get3DMode", withPlace<&C::get3DMode>},
          {"getMirrorValue", withPlace<&C::getMirrorValue>},
          {"getDNState", withPlace<&C::getDNState>},
          {"getWDR", withPlace<&C::getWDR>},
          {"getTempValue", withPlace<&C::getTempValue>},
          {"getCmdExecStatus",
           [](Host&, Channel& c) {
               int n = 0;
               c.ctl.getCmdExecStatus(KEY_MAX_SHUTTER, n);
           }},
          {"getHeatStatus", intoPlace<bool, &C::getHeatStatus>},
          {"getCameraVerInf", intoPlace<std::string, &C::getCameraVerInf>},
          {"getSensorType", [](Host&, Channel& c) { c.ctl.getSensorType(); }},
          {"getSensorStatus", [](Host&, Channel& c) { c.ctl.getSensorStatus(); }},
          {"getShowWDRFalg", intoPlace<bool, &C::getShowWDRFalg>},
          {"getShowBeawayFalg", intoPlace<bool, &C::getShowBeawayFalg>},
          {"getSensorZoomFocusParam",
           [](Host&, Channel& c) {
               SensorZoomFocusParam obj;
               c.ctl.getSensorZoomFocusParam(obj);
           }},
          {"getUICommonFile", [](Host&, Channel& c) { c.ctl.getUICommonFile(0); }},
          {"getUILanguageFile", [](Host&, Channel& c) { c.ctl.getUILanguageFile(0); }}}},
        {"setters",
         3,
         {{"setDNMode", withValue<&C::setDNMode, 4>},
          {"setWDRSwitch", withPlace<&C::setWDRSwitch, 3>},
          {"setHLCStrength", withPlace<&C::setHLCStrength>},
          {"set3DManualMaxStrength", withPlace<&C::set3DManualMaxStrength>},
          {"setBeaway", withPlace<&C::setBeaway, 2>},
          {"setMirrorMode", withValue<&C::setMirrorMode, 4>},
          {"setDNState", withValue<&C::setDNState, 2>},
          {"setExposureStrategy", withPlace<&C::setExposureStrategy, 3>}}},
        {"flags",
         1,
         {{"setShowWDRFalg", [](Host& h, Channel& c) { c.ctl.setShowWDRFalg(!h.oneIn(4)); }},
          {"setShowBeawayFalg",
           [](Host& h, Channel& c) { c.ctl.setShowBeawayFalg(!h.oneIn(4)); }}}},
        {"lens-lock",
         1,
         {{"setSensorZoomFocusParam",
           [](Host& h, Channel& c) {
               SensorZoomFocusParam obj;
               obj.setLockZoomFocusEnable(h.oneIn(4));
               obj.setLockZoomValue(h.value());
               obj.setLockFocusValue(h.value());
               c.ctl.setSensorZoomFocusParam(obj);
           }}}},
    };
    return s_vecKinds;
}

std::unique_ptr<std::atomic<uint64_t>[]> g_pKindCounts;

void runHost(Tracked& p_objTracked, Gate& p_objGate, std::vector<Channel*> p_vecChannels,
             unsigned p_nSeed) {
    Host h{std::mt19937(p_nSeed), &p_objTracked};
    const std::vector<Kind>& vecKinds = kinds();
    u32 nTotal = 0;
    for (const Kind& k : vecKinds)
        nTotal += k.nWeight;
    while (!p_objGate.stopping()) {
        p_objGate.checkpoint(p_objTracked);
        Channel& c = *p_vecChannels[h.below(static_cast<u32>(p_vecChannels.size()))];
        u32 nPick = h.below(nTotal);
        size_t nKind = 0;
        while (nPick >= vecKinds[nKind].nWeight)
            nPick -= vecKinds[nKind++].nWeight;
        const Kind& k = vecKinds[nKind];
        if (k.bPaced && !c.claimPaced()) continue;
        const Call& call = k.vecCalls[h.below(static_cast<u32>(k.vecCalls.size()))];
        p_objTracked.enter(call.szName, c.nChannel);
        call.pfn(h, c);
        p_objTracked.done();
        g_pKindCounts[nKind].fetch_add(1);
        if (h.oneIn(4)) std::this_thread::sleep_for(std::chrono::microseconds(h.below(200)));
    }
    p_objTracked.idle();
}

// Flips the ISP's day/night state, moves the device clock and counts the scheme changes it
// sees; clears the stand-ins' logs, which would otherwise grow for the whole run.
void runFlipper(Tracked& p_objTracked, std::atomic<bool>& p_bStop,
                std::vector<Channel*> p_vecChannels, RecordingVideoModule& p_objVideo) {
    int nMinute = 0;
    for (uint64_t i = 0; !p_bStop.load(); ++i) {
        p_objTracked.enter("flip");
        if (i % 3 == 0) {
            iasim::setDnState(0, static_cast<int>((i / 3) % 2));
            iasim::setDnState(1, static_cast<int>((i / 5) % 2));
        }
        nMinute = (nMinute + kClockStepMinutes) % (24 * 60);
        zqsim::setClock(nMinute / 60, nMinute % 60);
        for (Channel* pChannel : p_vecChannels) {
            u32 nNow = Access::curScheme(pChannel->ctl).load();
            u32 nWas = pChannel->nSeen.exchange(nNow);
            if (nNow != nWas && nNow <= pChannel->nSchemes && nWas <= pChannel->nSchemes)
                pChannel->nSwitches.fetch_add(1);
        }
        if (i % 400 == 0) {
            iasim::clearCalls();
            p_objVideo.clearNotifications();
            zqsim::clearSystemCommands();
        }
        p_objTracked.done();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    p_objTracked.idle();
}

// ---- the invariants

class Checker {
  public:
    Checker(Tracked& p_objMain, const DeviceRoot& p_objRoot)
        : m_objMain(p_objMain), m_objRoot(p_objRoot) {}

    // The structure of a channel's schemes as it stands.
    void checkShape(Channel& c) {
        m_objMain.enter("checking scheme shapes", c.nChannel);
        u32 nCur = Access::curScheme(c.ctl).load();
        if (nCur > c.nSchemes) fail(c, "current scheme " + std::to_string(nCur) + " out of range");
        std::lock_guard<std::recursive_mutex> lock(Access::schemeLock(c.ctl));
        u32 nSum = Access::keyValSum(c.ctl);
        const KeyVal* pFactory = Access::scheme(c.ctl, c.nSchemes);
        if (nSum < 5 || pFactory[1].key != KEY_SCHEME_START_HOUR ||
            pFactory[4].key != KEY_SCHEME_END_MIN) {
            fail(c, "the factory slice does not hold the window keys at records 1 to 4");
            nSum = 0;
        }
        for (u32 s = 0; nSum && s < c.nSchemes; ++s) {
            const KeyVal* pArr = Access::scheme(c.ctl, s);
            for (u32 i = 0; i < nSum; ++i) {
                if (pArr[i].key != pFactory[i].key) {
                    fail(c, "scheme " + std::to_string(s) + " record " + std::to_string(i) +
                                " holds key " + std::to_string(pArr[i].key) + ", the factory " +
                                std::to_string(pFactory[i].key));
                    break;
                }
            }
            checkWindow(c, s, pArr);
        }
        m_objMain.done();
    }

    // Scheduler held by mode 0, every user scheme made current and flushed (the windows and
    // the scheme mode written again first when p_bConfigure), then each file against memory.
    void flushAndCompare(Channel& c, bool p_bConfigure) {
        m_objMain.enter("setParamMode(0)", c.nChannel);
        c.ctl.setParamMode(0);
        std::this_thread::sleep_for(kSchedulerSettle);
        if (p_bConfigure) {
            m_objMain.enter("setKeyValToCache(windows)", c.nChannel);
            c.writeWindows();
        }
        for (u32 s = 0; s < c.nSchemes; ++s) {
            int nRet = 0;
            int nCur = -1;
            for (int nTry = 0; nTry < 3 && nCur != static_cast<int>(s); ++nTry) {
                m_objMain.enter("setParamScheme", c.nChannel);
                c.ctl.setParamScheme(static_cast<int>(s));
                if (p_bConfigure && s == 0) {
                    m_objMain.enter("setParameter(scheme mode)", c.nChannel);
                    c.writeSchemeMode();
                }
                m_objMain.enter("flush", c.nChannel);
                nRet = c.ctl.flush();
                c.ctl.getParamScheme(nCur);
                m_objMain.done();
            }
            if (nCur != static_cast<int>(s))
                fail(c, "scheme " + std::to_string(s) + " does not stay current in mode 0");
            if (nRet != 0)
                fail(c,
                     "flush of scheme " + std::to_string(s) + " returned " + std::to_string(nRet));
        }
        if (p_bConfigure && (Access::schemeByDN(c.ctl).load() != (c.nSchemeMode == 2) ||
                             Access::schemeByTime(c.ctl).load() != (c.nSchemeMode == 1))) {
            fail(c, "scheme mode " + std::to_string(c.nSchemeMode) + " did not take");
        }
        m_objMain.enter("comparing scheme files", c.nChannel);
        std::lock_guard<std::recursive_mutex> lock(Access::schemeLock(c.ctl));
        size_t nBytes = Access::keyValSum(c.ctl) * sizeof(KeyVal);
        for (u32 s = 0; s < c.nSchemes; ++s) {
            std::ifstream in(m_objRoot.host(c.schemeFile(s)), std::ios::binary);
            std::string strFile((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
            const KeyVal* pArr = Access::scheme(c.ctl, s);
            if (strFile.size() != nBytes || memcmp(strFile.data(), pArr, nBytes) != 0)
                fail(c, c.schemeFile(s) + " differs from scheme " + std::to_string(s) +
                            describeDifference(strFile, pArr, nBytes));
        }
        m_objMain.done();
    }

    size_t failures() const { return m_nFailures; }

  private:
    // A window by position, as the scheduler and flush read it: valid, and the scheme's own.
    // Each record holds the value configured for the scheme or, after a reset, the factory's
    // (a reload of the factory-made file can meet a host's setting up again half-way); never
    // another scheme's.
    void checkWindow(Channel& c, u32 p_nScheme, const KeyVal* p_pArr) {
        u32 aOwn[4];
        c.windowOf(p_nScheme, aOwn);
        u32 aHeld[4] = {p_pArr[1].value, p_pArr[2].value, p_pArr[3].value, p_pArr[4].value};
        u32 nStart = aHeld[0] * 100 + aHeld[1];
        u32 nEnd = aHeld[2] * 100 + aHeld[3];
        bool bOwn = true;
        for (int i = 0; i < 4; ++i)
            bOwn = bOwn && (aHeld[i] == aOwn[i] || aHeld[i] == kFactoryWindow[i]);
        if (nStart < nEnd && nEnd <= 2400 && bOwn) return;
        char szLine[160];
        snprintf(szLine, sizeof szLine,
                 "scheme %u holds window %02u:%02u-%02u:%02u (its own: %02u:00-%02u:00)", p_nScheme,
                 aHeld[0], aHeld[1], aHeld[2], aHeld[3], aOwn[0], aOwn[2]);
        fail(c, szLine);
    }

    static std::string describeDifference(const std::string& p_strFile, const KeyVal* p_pArr,
                                          size_t p_nBytes) {
        if (p_strFile.size() != p_nBytes)
            return ": " + std::to_string(p_strFile.size()) + " bytes, memory " +
                   std::to_string(p_nBytes);
        for (size_t i = 0; i < p_nBytes / sizeof(KeyVal); ++i) {
            KeyVal stFile;
            memcpy(&stFile, p_strFile.data() + i * sizeof(KeyVal), sizeof stFile);
            if (stFile.key != p_pArr[i].key || stFile.value != p_pArr[i].value) {
                return ": record " + std::to_string(i) + " file (" + std::to_string(stFile.key) +
                       "," + std::to_string(stFile.value) + ") memory (" +
                       std::to_string(p_pArr[i].key) + "," + std::to_string(p_pArr[i].value) + ")";
            }
        }
        return "";
    }

    void fail(Channel& c, const std::string& p_strWhat) {
        ++m_nFailures;
        fprintf(stderr, "soak: channel %d: %s\n", c.nChannel, p_strWhat.c_str());
    }

    Tracked& m_objMain;
    const DeviceRoot& m_objRoot;
    size_t m_nFailures = 0;
};

std::string describeControllers(const std::vector<Channel*>& p_vecChannels) {
    std::string str;
    for (Channel* pChannel : p_vecChannels) {
        ISensorController& ctl = pChannel->ctl;
        std::recursive_mutex& lock = Access::schemeLock(ctl);
        bool bFree = lock.try_lock();
        if (bFree) lock.unlock();
        char szLine[200];
        snprintf(szLine, sizeof szLine,
                 "  channel %d: status 0x%02x, scheme %d (last %d), param mode %d, by time %d, "
                 "by day/night %d, scheme lock %s\n",
                 pChannel->nChannel, Access::status(ctl).load(),
                 static_cast<int>(Access::curScheme(ctl).load()),
                 static_cast<int>(Access::lastScheme(ctl).load()), Access::paramMode(ctl).load(),
                 Access::schemeByTime(ctl).load() ? 1 : 0, Access::schemeByDN(ctl).load() ? 1 : 0,
                 bFree ? "free" : "held");
        str += szLine;
    }
    return str;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parseOptions(argc, argv, o)) {
        fprintf(stderr,
                "usage: %s [--seconds N] [--hosts N] [--seed N] [--watchdog N] [--keep-going]\n",
                argv[0]);
        return 2;
    }
    DeviceRoot objRoot;
    silenceLibrary();
    say("soak: %d s, %d hosts, seed %u, watchdog %d s, root %s\n", o.nSeconds, o.nHosts, o.nSeed,
        o.nWatchdog, objRoot.path().c_str());
    iasim::reset();
    zqsim::setTimeScale(kTimeScale);
    zqsim::setClock(0, 0);

    RecordingVideoModule objVideo;
    // Channel 1 follows the day/night state, channel 2 the time windows.
    Channel objVisible(1, 2, objVideo);
    Channel objThermal(2, 1, objVideo);
    std::vector<Channel*> vecChannels = {&objVisible, &objThermal};

    Watchdog objWatchdog(std::chrono::seconds(o.nWatchdog), [&] {
        fprintf(stderr, "Controllers:\n%s", describeControllers(vecChannels).c_str());
        fprintf(stderr, "reproduce: --hosts %d --seed %u\n", o.nHosts, o.nSeed);
    });
    Tracked& objMain = objWatchdog.track("main");
    Tracked& objFlipTrack = objWatchdog.track("flipper");
    std::vector<Tracked*> vecHostTracks;
    for (int i = 0; i < o.nHosts; ++i)
        vecHostTracks.push_back(&objWatchdog.track("host-" + std::to_string(i)));
    objWatchdog.start();

    Checker objChecker(objMain, objRoot);
    for (Channel* pChannel : vecChannels) {
        objChecker.flushAndCompare(*pChannel, true);
        pChannel->ctl.setParamMode(1);
    }

    const std::vector<Kind>& vecKinds = kinds();
    g_pKindCounts.reset(new std::atomic<uint64_t>[vecKinds.size()]());
    Gate objGate;
    std::atomic<bool> bFlipperStop{false};
    std::thread flipper(runFlipper, std::ref(objFlipTrack), std::ref(bFlipperStop), vecChannels,
                        std::ref(objVideo));
    pthread_setname_np(flipper.native_handle(), "soak-flipper");
    std::vector<std::thread> vecHosts;
    for (int i = 0; i < o.nHosts; ++i) {
        vecHosts.emplace_back(runHost, std::ref(*vecHostTracks[static_cast<size_t>(i)]),
                              std::ref(objGate), vecChannels, o.nSeed + static_cast<unsigned>(i));
        pthread_setname_np(vecHosts.back().native_handle(),
                           ("soak-host-" + std::to_string(i)).c_str());
    }

    Clock::time_point tStart = Clock::now();
    Clock::time_point tEnd = tStart + std::chrono::seconds(o.nSeconds);
    int nChecks = 0;
    while (o.bKeepGoing || objChecker.failures() == 0) {
        Clock::time_point tNow = Clock::now();
        if (tNow >= tEnd) break;
        std::this_thread::sleep_for(std::min<Clock::duration>(kCheckEvery, tEnd - tNow));
        if (Clock::now() >= tEnd) break;
        objMain.enter("pausing the hosts");
        objGate.pause(o.nHosts);
        for (Channel* pChannel : vecChannels) {
            objChecker.checkShape(*pChannel);
            objChecker.flushAndCompare(*pChannel, true);
            pChannel->ctl.setParamMode(1);
        }
        ++nChecks;
        objGate.resume();
        objMain.idle();
    }

    objMain.enter("joining the hosts");
    objGate.stop();
    for (std::thread& t : vecHosts)
        t.join();
    bFlipperStop.store(true);
    flipper.join();
    double dSeconds = std::chrono::duration<double>(Clock::now() - tStart).count();
    for (Channel* pChannel : vecChannels) {
        objChecker.checkShape(*pChannel);
        objChecker.flushAndCompare(*pChannel, false);
    }
    ++nChecks;
    for (Channel* pChannel : vecChannels) {
        objMain.enter("uinit", pChannel->nChannel);
        pChannel->ctl.uinit();
    }
    objMain.idle();
    objWatchdog.stop();

    uint64_t nOps = 0;
    std::string strKinds;
    for (size_t i = 0; i < vecKinds.size(); ++i) {
        uint64_t n = g_pKindCounts[i].load();
        nOps += n;
        strKinds += std::string(i ? ", " : "") + vecKinds[i].szName + " " + std::to_string(n);
    }
    bool bOk = objChecker.failures() == 0;
    std::string strResult =
        bOk ? "ok" : "FAILED, " + std::to_string(objChecker.failures()) + " broken invariants";
    say("soak: %s | %.0f s, %d hosts, seed %u | %llu ops: %s | scheme switches seen: channel 1 "
        "%llu, channel 2 %llu | %d checks\n",
        strResult.c_str(), dSeconds, o.nHosts, o.nSeed, static_cast<unsigned long long>(nOps),
        strKinds.c_str(), static_cast<unsigned long long>(objVisible.nSwitches.load()),
        static_cast<unsigned long long>(objThermal.nSwitches.load()), nChecks);
    if (!bOk) {
        objRoot.keep();
        say("soak: reproduce with --seconds %d --hosts %d --seed %u; device root kept at %s\n",
            o.nSeconds, o.nHosts, o.nSeed, objRoot.path().c_str());
    }
    return bOk ? 0 : 1;
}
