#include "Watchdog.h"

#include <dirent.h>
#include <execinfo.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace soak {

namespace {

using Clock = std::chrono::steady_clock;

// "name  step (channel n)", the channel left out when the step names none.
std::string describe(const Tracked& p_objTracked, const char* p_szIdle) {
    const char* szStep = p_objTracked.szStep.load();
    int nChannel = p_objTracked.nChannel.load();
    char szLine[160];
    snprintf(szLine, sizeof szLine, "  %-14s %s", p_objTracked.strName.c_str(),
             szStep ? szStep : p_szIdle);
    std::string str = szLine;
    if (szStep && nChannel > 0) str += " (channel " + std::to_string(nChannel) + ")";
    return str;
}

std::atomic<bool> g_bStackDone{false};

// Runs on the signalled thread: its name and stack to standard error.
void printOwnStack(int) {
    char szName[32] = {0};
    prctl(PR_GET_NAME, szName);
    char szHead[96];
    int nLen = snprintf(szHead, sizeof szHead, "--- thread %ld (%s)\n",
                        static_cast<long>(syscall(SYS_gettid)), szName);
    if (nLen > 0) (void)!write(STDERR_FILENO, szHead, static_cast<size_t>(nLen));
    void* aFrames[64];
    int nFrames = backtrace(aFrames, 64);
    backtrace_symbols_fd(aFrames, nFrames, STDERR_FILENO);
    g_bStackDone.store(true);
}

// Every other thread of the process prints its stack, one at a time; a thread that does not
// answer within a second is passed over.
void dumpStacks() {
    struct sigaction act = {};
    act.sa_handler = printOwnStack;
    sigemptyset(&act.sa_mask);
    sigaction(SIGUSR2, &act, nullptr);
    long nSelf = syscall(SYS_gettid);
    DIR* pDir = opendir("/proc/self/task");
    if (!pDir) return;
    std::vector<long> vecTids;
    while (dirent* pEntry = readdir(pDir)) {
        long nTid = atol(pEntry->d_name);
        if (nTid > 0 && nTid != nSelf) vecTids.push_back(nTid);
    }
    closedir(pDir);
    for (long nTid : vecTids) {
        g_bStackDone.store(false);
        if (syscall(SYS_tgkill, static_cast<long>(getpid()), nTid, SIGUSR2) != 0) continue;
        for (int i = 0; i < 100 && !g_bStackDone.load(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!g_bStackDone.load()) fprintf(stderr, "--- thread %ld: no answer\n", nTid);
    }
}

}  // namespace

Watchdog::Watchdog(std::chrono::seconds p_limit, std::function<void()> p_fnDescribe)
    : m_limit(p_limit), m_fnDescribe(std::move(p_fnDescribe)) {}

Watchdog::~Watchdog() {
    stop();
}

Tracked& Watchdog::track(const std::string& p_strName) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tracked.emplace_back(p_strName);
    return m_tracked.back();
}

void Watchdog::start() {
    void* aFrame[1];
    backtrace(aFrame, 1);  // loads the unwinder now rather than inside a signal handler
    m_thread = std::thread(&Watchdog::run, this);
}

void Watchdog::stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_cv.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void Watchdog::run() {
    pthread_setname_np(pthread_self(), "soak-watchdog");
    struct Seen {
        uint64_t nProgress;
        Clock::time_point since;
    };
    std::vector<Seen> vecSeen;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_cv.wait_for(lock, std::chrono::milliseconds(250), [this] { return m_bStop; })) {
        Clock::time_point now = Clock::now();
        std::string strStuck;
        size_t i = 0;
        for (Tracked& t : m_tracked) {
            uint64_t nProgress = t.nProgress.load();
            if (i == vecSeen.size()) vecSeen.push_back({nProgress, now});
            Seen& seen = vecSeen[i++];
            if (seen.nProgress != nProgress) seen = {nProgress, now};
            const char* szStep = t.szStep.load();
            if (!szStep || now - seen.since < m_limit) continue;
            char szFor[48];
            snprintf(szFor, sizeof szFor, " for %.1f s\n",
                     std::chrono::duration<double>(now - seen.since).count());
            strStuck += describe(t, "") + szFor;
        }
        if (!strStuck.empty()) fire(strStuck);
    }
}

void Watchdog::fire(const std::string& p_strStuck) {
    fprintf(stderr, "\nsoak: no progress for %lld s, probably a deadlock. Stuck threads:\n%s",
            static_cast<long long>(m_limit.count()), p_strStuck.c_str());
    fprintf(stderr, "Every watched thread:\n");
    for (Tracked& t : m_tracked) {
        fprintf(stderr, "%s, %llu steps done\n", describe(t, "idle").c_str(),
                static_cast<unsigned long long>(t.nProgress.load()));
    }
    if (m_fnDescribe) m_fnDescribe();
    dumpStacks();
    fflush(stderr);
    abort();
}

}  // namespace soak
