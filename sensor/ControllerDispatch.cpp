// Dispatch of a key to the ISP and the gates in front of it.
#include "ISensorController.h"
#include "internal/ControllerUnit.h"

namespace {

constexpr u32 kLensCmdFirst = 1536;  // KEY_AUTO_FOCUS_MODE
constexpr u32 kLensCmdLast = 1616;   // KEY_LENS_RESET

}  // namespace

int ISensorController::doIaCmd(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    // A locked lens takes no command; the caller sees success.
    if (m_objSensorZoomFocusParam.getLockZoomFocusEnable() && p_nKey >= kLensCmdFirst &&
        p_nKey <= kLensCmdLast) {
        return SNS_SUCCESS;
    }
    return ia_ioctrl_v2(m_nCameraID - 1, static_cast<ia_cmd_e>(static_cast<int>(p_nKey)),
                        static_cast<int>(p_nDir), p_pVal);
}

int ISensorController::doIaCmd_User(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    // A one-shot user action that arrives with a scheme, a reset, a reload or init is dropped.
    if (isBusy()) return SNS_SUCCESS;
    if (p_nKey == KEY_AUTO_FOCUS_ONCE) {
        if (!m_bHasLens) return SNS_SUCCESS;
        if (m_bThermalChannel || valueAt(p_pVal) != 0) return doIaCmd(p_nKey, p_nDir, p_pVal);
        return SNS_SUCCESS;
    }
    return doIaCmd(p_nKey, p_nDir, p_pVal);
}

int ISensorController::doIaCmdShutter(u32 p_nKey, u32 p_nDir, void* p_pVal) {
    // The first shutter command after uinit passes even while busy.
    if (!m_bShutterCmdOnce.load() && isBusy()) return SNS_SUCCESS;
    m_bShutterCmdOnce.store(false);
    return doIaCmd(p_nKey, p_nDir, p_pVal);
}

int ISensorController::test_debugParam(u32 p_nKey, u32, void* p_pVal) {
    notifyToVideo(static_cast<int>(p_nKey), static_cast<int>(valueAt(p_pVal)));
    return SNS_SUCCESS;
}

int ISensorController::doIoCrtl(u32 p_nKey, u32, void*) {
    if (p_nKey == KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV) {
        // Camera id first, key second: the scheduler reads them in that order.
        m_nChanneldDosomething.store(1);
        m_nPassKeycmd.store(static_cast<s32>(KEY_MIXSTREAM_THERMAL_TO_VISION_SYNC_FOV));
    }
    return SNS_SUCCESS;
}
