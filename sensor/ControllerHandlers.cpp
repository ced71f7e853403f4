// Key handlers that do more than forward the value: video notifications, records built from
// several keys of the current scheme, hidden features and the mirror swap.
#include "ISensorController.h"
#include "SensorFile.h"
#include "internal/ControllerUnit.h"

using luxtune::report::assertFailed;

namespace {

// With beaway on, the picture is turned: mirror 1 and 2 trade places.
u32 swapMirror(u32 p_nMirror) {
    if (p_nMirror == 1) return 2;
    if (p_nMirror == 2) return 1;
    return p_nMirror;
}

}  // namespace

u32 ISensorController::cachedOr(u32 p_nKey, u32 p_nDefault) {
    u32 nVal = p_nDefault;
    getKeyValFromCache(m_nCurScheme.load(), p_nKey, nVal);
    return nVal;
}

int ISensorController::doHwdr(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    if (!m_bShowWDRFalg.load()) {
        *static_cast<u32*>(p_pVal) = 0;  // the device hides WDR: the scheme stores 0
        return SNS_SUCCESS;
    }
    int nValue = static_cast<int>(valueAt(p_pVal));
    notifyToVideo(IA_CMD_UI_WDR_SWITCH_STATE, 0);
    int nRet = notifyToVideo(static_cast<int>(p_nKey), nValue);
    if (doIaCmd(p_nKey, p_nDir, p_pVal) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == doIaCmd(p_nKey, p_nDir, p_pVal)");
    }
    notifyToVideo(IA_CMD_UI_WDR_SWITCH_STATE, 1);
    return nRet;
}

int ISensorController::doImageAdjust(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    if (doIaCmd(p_nKey, p_nDir, p_pVal) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == doIaCmd(p_nKey, p_nDir, p_pVal)");
    }
    return notifyToVideo(static_cast<int>(p_nKey), static_cast<int>(valueAt(p_pVal)));
}

int ISensorController::doDIS(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    if (notifyToVideo(static_cast<int>(p_nKey), static_cast<int>(valueAt(p_pVal))) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == notifyToVideo(p_nKey, *(u32*)p_pVal)");
    }
    return doIaCmd(p_nKey, p_nDir, p_pVal);
}

int ISensorController::doIaCmd_PanoTuning(u32 p_nKey, u32, void* p_pVal) {
    // Stitching and mixed-stream tuning live in the video module only.
    if (notifyToVideo(static_cast<int>(p_nKey), static_cast<int>(valueAt(p_pVal))) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == notifyToVideo(nKey, nVal)");
    }
    return SNS_SUCCESS;
}

int ISensorController::doDNThr(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    dn_thr_st stThr = {0, 0, 0};  // fields without a value go out as 0
    u32 nValue = valueAt(p_pVal);
    if (p_nKey == KEY_DTN_THR) {
        stThr.d2n_thr = nValue;
        stThr.n2d_thr = cachedOr(KEY_NTD_THR, 0);
    } else if (p_nKey == KEY_NTD_THR) {
        stThr.d2n_thr = cachedOr(KEY_DTN_THR, 0);
        stThr.n2d_thr = nValue;
    } else if (p_nKey == KEY_DN_SENSITIVITY) {
        stThr.dn_sensitivity = nValue;
    }
    luxtune::report::trace(0,
                           "m_nCurScheme(%u) dn_thr_st.d2n_thr(%u) dn_thr_st.n2d_thr(%u)  "
                           "dn_thr_st.dn_sensitivity(%u)\n",
                           m_nCurScheme.load(), stThr.d2n_thr, stThr.n2d_thr, stThr.dn_sensitivity);
    int nRet = doIaCmd(p_nKey, p_nDir, &stThr);
    return testStatus(SensorStatus::bReloading) ? SNS_SUCCESS : nRet;
}

int ISensorController::doDNTime(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    dn_time_st stTime;
    stTime.d2n_hour = cachedOr(KEY_DTN_H, 0);
    stTime.d2n_min = cachedOr(KEY_DTN_M, 0);
    stTime.n2d_hour = cachedOr(KEY_NTD_H, 0);
    stTime.n2d_min = cachedOr(KEY_NTD_M, 0);
    u32 nValue = valueAt(p_pVal);
    if (p_nKey == KEY_DTN_H) {
        stTime.d2n_hour = nValue;
    } else if (p_nKey == KEY_DTN_M) {
        stTime.d2n_min = nValue;
    } else if (p_nKey == KEY_NTD_H) {
        stTime.n2d_hour = nValue;
    } else {
        stTime.n2d_min = nValue;
    }
    luxtune::report::trace(0,
                           "m_nCurScheme(%u) dn_time_st.d2n_hour(%u) dn_time_st.d2n_min(%u) "
                           "dn_time_st.n2d_hour(%u) dn_time_st.n2d_min(%u) \n",
                           m_nCurScheme.load(), stTime.d2n_hour, stTime.d2n_min, stTime.n2d_hour,
                           stTime.n2d_min);
    return doIaCmd(p_nKey, p_nDir, &stTime);
}

int ISensorController::doMirror(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    // The scheme keeps the host's mirror value; the swap is applied whenever it is sent.
    u32 nMirror = valueAt(p_pVal);
    if (cachedOr(KEY_BEAWAY, 0) != 0) nMirror = swapMirror(nMirror);
    if (notifyToVideo(static_cast<int>(p_nKey), static_cast<int>(nMirror)) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == notifyToVideo(p_nKey, nMirror)");
    }
    return doIaCmd(p_nKey, p_nDir, &nMirror);
}

int ISensorController::doBeaway(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    if (!getshowBeawayFalg()) {
        *static_cast<u32*>(p_pVal) = 0;  // the device hides beaway: the scheme stores 0
        return SNS_SUCCESS;
    }
    u32 nBeaway = valueAt(p_pVal);
    u32 nMirror = cachedOr(KEY_MIRROR, 0);
    if (nBeaway != 0) nMirror = swapMirror(nMirror);
    if (notifyToVideo(IA_CMD_UI_MIRROR, static_cast<int>(nMirror)) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == notifyToVideo(IA_CMD_UI_MIRROR, nMirror)");
    }
    if (notifyToVideo(static_cast<int>(p_nKey), static_cast<int>(nBeaway)) != SNS_SUCCESS) {
        assertFailed(SNS_HERE, "SNS_SUCCESS == notifyToVideo(p_nKey, nBeaway)");
    }
    doIaCmd(IA_CMD_UI_MIRROR, p_nDir, &nMirror);
    return doIaCmd(p_nKey, p_nDir, &nBeaway);
}
