// Locks, the worker thread and time of the simulated device framework.
#include <pthread.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <cmath>

#include "ZqFramework.h"
#include "ZqSim.h"

namespace {

std::atomic<double> g_dTimeScale{1.0};
std::atomic<int> g_nFixedClock{-1};  // hour * 60 + minute, or -1 for the real clock

}  // namespace

namespace zqsim {

void setTimeScale(double p_dScale) {
    g_dTimeScale.store(p_dScale < 0 ? 0 : p_dScale);
}
double timeScale() {
    return g_dTimeScale.load();
}
void setClock(int p_nHour, int p_nMinute) {
    g_nFixedClock.store(p_nHour * 60 + p_nMinute);
}
void useRealClock() {
    g_nFixedClock.store(-1);
}

}  // namespace zqsim

void ZqMutex::Lock(const char*, int) {
    m_mutex.lock();
}
void ZqMutex::Unlock(const char*, int) {
    m_mutex.unlock();
}

ZqMutexManager::ZqMutexManager(ZqMutex& p_objMutex, const char* p_szFile, int p_nLine)
    : m_objMutex(p_objMutex), m_szFile(p_szFile), m_nLine(p_nLine) {
    m_objMutex.Lock(m_szFile, m_nLine);
}

ZqMutexManager::~ZqMutexManager() {
    m_objMutex.Unlock(m_szFile, m_nLine);
}

void CorvaneTime::wait() const {
    double dMicros =
        (static_cast<double>(m_nSec) * 1e6 + static_cast<double>(m_nUsec)) * g_dTimeScale.load();
    if (dMicros <= 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(
        std::chrono::microseconds(static_cast<long long>(std::llround(dMicros))));
}

ZqTimeFields ZqDeviceTime::getCurrentTime() {
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tmNow;
    localtime_r(&ts.tv_sec, &tmNow);
    ZqTimeFields t;
    t.year = static_cast<u16>(tmNow.tm_year + 1900);
    t.month = static_cast<u16>(tmNow.tm_mon + 1);
    t.day = static_cast<u16>(tmNow.tm_mday);
    t.weekday = static_cast<u16>(tmNow.tm_wday);
    t.hour = static_cast<u16>(tmNow.tm_hour);
    t.minute = static_cast<u16>(tmNow.tm_min);
    t.second = static_cast<u16>(tmNow.tm_sec);
    t.millisecond = static_cast<u16>(ts.tv_nsec / 1000000);
    int nFixed = g_nFixedClock.load();
    if (nFixed >= 0) {
        t.hour = static_cast<u16>(nFixed / 60);
        t.minute = static_cast<u16>(nFixed % 60);
    }
    return t;
}

GThread::GThread(const function<int>& p_fnBody, const std::string& p_strName,
                 const function<int>& p_fnOnStart, const function<int>& p_fnOnStop)
    : m_fnBody(p_fnBody), m_fnOnStart(p_fnOnStart), m_fnOnStop(p_fnOnStop), m_strName(p_strName) {}

GThread::~GThread() {
    stop();
}

int GThread::emptyFun() {
    return 0;
}

bool GThread::start() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_thread.joinable()) return false;
    m_bStop.store(false);
    m_bRunning.store(true);
    try {
        m_thread = std::thread(&GThread::run, this);
    } catch (const std::system_error&) {
        m_bRunning.store(false);
        return false;
    }
    return true;
}

bool GThread::stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStop.store(true);
    if (!m_thread.joinable()) return true;
    if (m_thread.get_id() == std::this_thread::get_id()) return false;
    m_thread.join();
    return true;
}

void GThread::run() {
    pthread_setname_np(pthread_self(), m_strName.substr(0, 15).c_str());
    if (m_fnOnStart) m_fnOnStart();
    while (!m_bStop.load())
        m_fnBody();
    if (m_fnOnStop) m_fnOnStop();
    m_bRunning.store(false);
}
