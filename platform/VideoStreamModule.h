// The host's video module, as libluxtune reaches it. The host implements it and hands a pointer
// to ISensorController::setVideoStreamModule.
#pragma once

#include <vector>

#include "ZqFramework.h"

class VideoStreamModule {
  public:
    virtual ~VideoStreamModule() = default;

    // Fills one record per video stream.
    virtual int getStreamParams(std::vector<AVStreamParam>& p_vecStreams) const = 0;
    // A sensor parameter for the video pipeline; returns 0 when accepted.
    virtual int notifySensorParam(int p_nChannel, int p_nKey, int p_nValue) const = 0;
    // The limited-frames, WDR and LDC settings of a channel.
    virtual int getLimitedFramesWDRMode(int p_nChannel,
                                        LimitedFramesWDRModeParam& p_objParam) const = 0;
    // Non-zero while the module is busy.
    virtual int isBusy() const = 0;
};
