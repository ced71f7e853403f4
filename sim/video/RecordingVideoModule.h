// A host video module for tests and the simulated camera: records every notification and
// answers the stream, limited-frames and busy queries with chosen values.
#pragma once

#include <mutex>
#include <vector>

#include "VideoStreamModule.h"

class RecordingVideoModule : public VideoStreamModule {
  public:
    struct Notification {
        int channel;
        int key;
        int value;
    };

    int getStreamParams(std::vector<AVStreamParam>& p_vecStreams) const override;
    int notifySensorParam(int p_nChannel, int p_nKey, int p_nValue) const override;
    int getLimitedFramesWDRMode(int p_nChannel,
                                LimitedFramesWDRModeParam& p_objParam) const override;
    int isBusy() const override;

    std::vector<Notification> notifications() const;
    void clearNotifications();
    // The status answered for notifications of p_nKey (-1: every key); 0 clears.
    void setNotifyStatus(int p_nKey, int p_nStatus);
    void setStreams(const std::vector<AVStreamParam>& p_vecStreams);
    void setLimitedFrames(const LimitedFramesWDRModeParam& p_objParam);
    // The busy query answers non-zero this many times (-1: always), then 0.
    void setBusyAnswers(int p_nCount);
    int busyQueries() const;
    int limitedFramesQueries() const;
    int streamQueries() const;

  private:
    mutable std::mutex m_mutex;
    mutable std::vector<Notification> m_vecNotifications;
    std::vector<std::pair<int, int>> m_vecNotifyStatus;
    std::vector<AVStreamParam> m_vecStreams;
    LimitedFramesWDRModeParam m_objLimited;
    mutable int m_nBusyAnswers = 0;
    mutable int m_nBusyQueries = 0;
    mutable int m_nLimitedQueries = 0;
    mutable int m_nStreamQueries = 0;
};
