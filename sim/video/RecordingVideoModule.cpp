#include "RecordingVideoModule.h"

int RecordingVideoModule::getStreamParams(std::vector<AVStreamParam>& p_vecStreams) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_nStreamQueries;
    p_vecStreams = m_vecStreams;
    return 0;
}

int RecordingVideoModule::notifySensorParam(int p_nChannel, int p_nKey, int p_nValue) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecNotifications.push_back({p_nChannel, p_nKey, p_nValue});
    for (const auto& entry : m_vecNotifyStatus) {
        if (entry.first == p_nKey || entry.first == -1) return entry.second;
    }
    return 0;
}

int RecordingVideoModule::getLimitedFramesWDRMode(int,
                                                  LimitedFramesWDRModeParam& p_objParam) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_nLimitedQueries;
    p_objParam = m_objLimited;
    return 0;
}

int RecordingVideoModule::isBusy() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_nBusyQueries;
    if (m_nBusyAnswers == 0) return 0;
    if (m_nBusyAnswers > 0) --m_nBusyAnswers;
    return 1;
}

std::vector<RecordingVideoModule::Notification> RecordingVideoModule::notifications() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vecNotifications;
}

void RecordingVideoModule::clearNotifications() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecNotifications.clear();
}

void RecordingVideoModule::setNotifyStatus(int p_nKey, int p_nStatus) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto it = m_vecNotifyStatus.begin(); it != m_vecNotifyStatus.end(); ++it) {
        if (it->first == p_nKey) {
            m_vecNotifyStatus.erase(it);
            break;
        }
    }
    if (p_nStatus != 0) m_vecNotifyStatus.insert(m_vecNotifyStatus.begin(), {p_nKey, p_nStatus});
}

void RecordingVideoModule::setStreams(const std::vector<AVStreamParam>& p_vecStreams) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecStreams = p_vecStreams;
}

void RecordingVideoModule::setLimitedFrames(const LimitedFramesWDRModeParam& p_objParam) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_objLimited = p_objParam;
}

void RecordingVideoModule::setBusyAnswers(int p_nCount) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nBusyAnswers = p_nCount;
}

int RecordingVideoModule::busyQueries() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nBusyQueries;
}

int RecordingVideoModule::limitedFramesQueries() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nLimitedQueries;
}

int RecordingVideoModule::streamQueries() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nStreamQueries;
}
