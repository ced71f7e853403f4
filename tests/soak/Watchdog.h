// The soak's watchdog: each thread it watches counts its finished steps and names the step it is
// in; a thread that stays in one step past the limit ends the run with a report of every stuck
// thread, the caller's view of the controllers and a stack of each thread of the process.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace soak {

struct Tracked {
    explicit Tracked(std::string p_strName) : strName(std::move(p_strName)) {}

    // A step begins: the thread is watched until the step ends.
    void enter(const char* p_szStep, int p_nChannel = 0) {
        nChannel.store(p_nChannel);
        szStep.store(p_szStep);
    }
    void done() { nProgress.fetch_add(1); }
    // Waiting on purpose (paused, finished): not watched.
    void idle() {
        szStep.store(nullptr);
        nProgress.fetch_add(1);
    }

    const std::string strName;
    std::atomic<uint64_t> nProgress{0};
    std::atomic<const char*> szStep{nullptr};
    std::atomic<int> nChannel{0};
};

class Watchdog {
  public:
    // p_fnDescribe prints what the caller knows of the stuck state to standard error.
    Watchdog(std::chrono::seconds p_limit, std::function<void()> p_fnDescribe);
    ~Watchdog();

    // Registered threads keep their record for the watchdog's lifetime.
    Tracked& track(const std::string& p_strName);
    void start();
    void stop();

  private:
    void run();
    [[noreturn]] void fire(const std::string& p_strStuck);

    std::chrono::seconds m_limit;
    std::function<void()> m_fnDescribe;
    std::deque<Tracked> m_tracked;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bStop = false;
};

}  // namespace soak
