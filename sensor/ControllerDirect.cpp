// Direct controls: named lens, exposure and light operations, each one key through the cache
// or one ISP command through the dispatch, or a short sequence of these.
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "ISensorController.h"
#include "SensorFile.h"
#include "internal/ControllerUnit.h"

namespace {

// Zoom motor position of each whole zoom ratio, 1x to 16x.
constexpr u32 kZoomPositions[16] = {16384, 24576, 27264, 28672, 29056, 29440, 29728, 30016,
                                    30208, 30400, 30560, 30720, 30912, 31104, 31232, 31424};
constexpr int kIrisWidest = 0x0100;     // F1.0
constexpr int kIrisNarrowest = 0x6400;  // F64.0
constexpr int kIrisClosed = 0x100000;
constexpr int kExposeManualIris = 3;
constexpr size_t kShutterListMax = 30;
constexpr u32 kCmdFocusMode = KEY_AUTO_FOCUS_MODE;
constexpr u32 kCmdWhiteSwitch = 168;  // the ISP command of KEY_WHITE_SWITCH
constexpr u32 kCmdWhiteMode = 169;    // the ISP command of KEY_WHITE_MODE

}  // namespace

// ---- keys through the cache

bool ISensorController::writeCached(u32 p_nKey, int p_nValue) {
    return setParameter(static_cast<int>(p_nKey), p_nValue, true) == SNS_SUCCESS;
}

bool ISensorController::getDNMode(int& p_nValue) {
    getParameter(KEY_DN_MODE, p_nValue);
    return true;
}
bool ISensorController::setDNMode(int p_nValue) {
    return writeCached(KEY_DN_MODE, p_nValue);
}
bool ISensorController::getWDRSwitch(int& p_nValue) {
    return getParameter(KEY_WDR_MODE, p_nValue);
}
bool ISensorController::setWDRSwitch(int& p_nValue) {
    return writeCached(KEY_WDR_MODE, p_nValue);
}
bool ISensorController::getHLCSwitch(int& p_nValue) {
    return getParameter(KEY_HLC_SWITCH, p_nValue);
}
bool ISensorController::setHLCSwitch(int& p_nValue) {
    return writeCached(KEY_HLC_SWITCH, p_nValue);
}
bool ISensorController::getBLCSwitch(int& p_nValue) {
    return getParameter(KEY_BLC_SWITCH, p_nValue);
}
bool ISensorController::setBLCSwitch(int& p_nValue) {
    return writeCached(KEY_BLC_SWITCH, p_nValue);
}
bool ISensorController::getDefogSwitch(int& p_nValue) {
    return getParameter(KEY_DEFLG_SWITCH, p_nValue);
}
bool ISensorController::setDefogSwitch(int& p_nValue) {
    return writeCached(KEY_DEFLG_SWITCH, p_nValue);
}
bool ISensorController::getWDRStrength(int& p_nValue) {
    return getParameter(KEY_WDR_STRG, p_nValue);
}
bool ISensorController::setWDRStrength(int& p_nValue) {
    return writeCached(KEY_WDR_STRG, p_nValue);
}
bool ISensorController::getHLCStrength(int& p_nValue) {
    return getParameter(KEY_HLC_STRG, p_nValue);
}
bool ISensorController::setHLCStrength(int& p_nValue) {
    return writeCached(KEY_HLC_STRG, p_nValue);
}
bool ISensorController::getBLCStrength(int& p_nValue) {
    return getParameter(KEY_BLC_STRG, p_nValue);
}
bool ISensorController::setBLCStrength(int& p_nValue) {
    return writeCached(KEY_BLC_STRG, p_nValue);
}
bool ISensorController::getDefogStrength(int& p_nValue) {
    return getParameter(KEY_DEFLG_STRG, p_nValue);
}
bool ISensorController::setDefogStrength(int& p_nValue) {
    return writeCached(KEY_DEFLG_STRG, p_nValue);
}
bool ISensorController::get2DSwitch(int& p_nValue) {
    return getParameter(KEY_2D_NR_SWITCH, p_nValue);
}
bool ISensorController::set2DSwitch(int& p_nValue) {
    return writeCached(KEY_2D_NR_SWITCH, p_nValue);
}
bool ISensorController::get3DSwitch(int& p_nValue) {
    return getParameter(KEY_3D_NR_SWITCH, p_nValue);
}
bool ISensorController::set3DSwitch(int& p_nValue) {
    return writeCached(KEY_3D_NR_SWITCH, p_nValue);
}
bool ISensorController::get2DMode(int& p_nValue) {
    return getParameter(KEY_2D_NR_MODE, p_nValue);
}
bool ISensorController::set2DMode(int& p_nValue) {
    return writeCached(KEY_2D_NR_MODE, p_nValue);
}
bool ISensorController::get3DMode(int& p_nValue) {
    return getParameter(KEY_3D_NR_MODE, p_nValue);
}
bool ISensorController::set3DMode(int& p_nValue) {
    return writeCached(KEY_3D_NR_MODE, p_nValue);
}
bool ISensorController::get2DAutoMaxStrength(int& p_nValue) {
    return getParameter(KEY_2D_NR_STRG_A, p_nValue);
}
bool ISensorController::set2DAutoMaxStrength(int& p_nValue) {
    return writeCached(KEY_2D_NR_STRG_A, p_nValue);
}
bool ISensorController::get3DAutoMaxStrength(int& p_nValue) {
    return getParameter(KEY_3D_NR_STRG_A, p_nValue);
}
bool ISensorController::set3DAutoMaxStrength(int& p_nValue) {
    return writeCached(KEY_3D_NR_STRG_A, p_nValue);
}
bool ISensorController::get2DManualMaxStrength(int& p_nValue) {
    return getParameter(KEY_2D_NR_STRG_M, p_nValue);
}
bool ISensorController::set2DManualMaxStrength(int& p_nValue) {
    return writeCached(KEY_2D_NR_STRG_M, p_nValue);
}
bool ISensorController::get3DManualMaxStrength(int& p_nValue) {
    return getParameter(KEY_3D_NR_STRG_M, p_nValue);
}
bool ISensorController::set3DManualMaxStrength(int& p_nValue) {
    return writeCached(KEY_3D_NR_STRG_M, p_nValue);
}
bool ISensorController::getBeaway(int& p_nValue) {
    return getParameter(KEY_BEAWAY, p_nValue);
}
bool ISensorController::setBeaway(int& p_nValue) {
    return writeCached(KEY_BEAWAY, p_nValue);
}
bool ISensorController::getMirrorValue(int& p_nValue) {
    return getParameter(KEY_MIRROR, p_nValue);
}
bool ISensorController::setWhiteMode(int p_nValue) {
    return writeCached(KEY_WHITE_MODE, p_nValue);
}

bool ISensorController::setMirrorMode(int p_nValue) {
    if (!writeCached(KEY_MIRROR, p_nValue)) return false;
    flush();  // the mirror is kept in the scheme file at once
    return true;
}

bool ISensorController::setLightType(int p_nValue) {
    if (static_cast<u32>(p_nValue) > 3) return false;
    return writeCached(KEY_LIGHT_TYPE, p_nValue);
}

// Infrared and white light are never on together: switching one on switches the other off.
bool ISensorController::lightInterlock(u32 p_nKey, u32 p_nOtherKey, int p_nValue) {
    if (p_nValue == 1) {
        int nOther = 0;
        bool bWhite = p_nOtherKey == KEY_WHITE_SWITCH;
        if (!(bWhite ? getWhiteSwitch(nOther) : getIRSwitch(nOther))) return false;
        if (nOther == 1 && !(bWhite ? setWhiteSwitch(0) : setIRSwitch(0))) return false;
    }
    return writeCached(p_nKey, p_nValue);
}

bool ISensorController::setIRSwitch(int p_nValue) {
    return lightInterlock(KEY_IR_SWITCH, KEY_WHITE_SWITCH, p_nValue);
}

bool ISensorController::setWhiteSwitch(int p_nValue) {
    return lightInterlock(KEY_WHITE_SWITCH, KEY_IR_SWITCH, p_nValue);
}

// ---- single ISP commands

bool ISensorController::sendCmd(u32 p_nCmd, u32 p_nDir, void* p_pVal) {
    return doIaCmd(p_nCmd, p_nDir, p_pVal) == SNS_SUCCESS;
}

bool ISensorController::setDNState(int p_nState) {
    return sendCmd(IA_CMD_DN_STATE, IA_CMD_OPT_SET, &p_nState);
}
bool ISensorController::getDNState(int& p_nState) {
    return sendCmd(IA_CMD_DN_STATE, IA_CMD_OPT_GET, &p_nState);
}
bool ISensorController::getAFStatistic(unsigned int& p_nValue) {
    return sendCmd(IA_CMD_AF_STATISTIC, IA_CMD_OPT_GET, &p_nValue);
}
bool ISensorController::getWDR(int& p_nValue) {
    return sendCmd(KEY_WDR_MODE, IA_CMD_OPT_GET, &p_nValue);
}
bool ISensorController::setExposureStrategy(int& p_nValue) {
    return sendCmd(IA_CMD_EXPOSURE_STRATEGY, IA_CMD_OPT_SET, &p_nValue);
}
bool ISensorController::getCmdExecStatus(int p_nCmd, int& p_nStatus) {
    return sendCmd(static_cast<u32>(p_nCmd), IA_CMD_OPT_GET_EXEC_STATUS, &p_nStatus);
}
bool ISensorController::getIRSwitch(int& p_nValue) {
    return sendCmd(KEY_IR_SWITCH, IA_CMD_OPT_GET, &p_nValue);
}
bool ISensorController::getWhiteSwitch(int& p_nValue) {
    return sendCmd(kCmdWhiteSwitch, IA_CMD_OPT_GET, &p_nValue);
}
bool ISensorController::getWhiteMode(int& p_nValue) {
    return sendCmd(kCmdWhiteMode, IA_CMD_OPT_GET, &p_nValue);
}
bool ISensorController::getLightType(int& p_nValue) {
    return sendCmd(KEY_LIGHT_TYPE, IA_CMD_OPT_GET, &p_nValue);
}
bool ISensorController::getIrisValue(int& p_nValue) {
    return sendCmd(KEY_IRIS_POSITION, IA_CMD_OPT_GET, &p_nValue);
}
bool ISensorController::getTempValue(int& p_nValue) {
    return sendCmd(IA_CMD_TEMP_VALUE, IA_CMD_OPT_GET, &p_nValue);
}
bool ISensorController::setIrLedInfo(void* p_pInfo) {
    return sendCmd(IA_CMD_IR_LED_INFO, IA_CMD_OPT_SET, p_pInfo);
}
bool ISensorController::setFocusMode(int p_nMode) {
    return sendCmd(kCmdFocusMode, IA_CMD_OPT_SET, &p_nMode);
}
bool ISensorController::getFocusMode(int& p_nMode) {
    return sendCmd(kCmdFocusMode, IA_CMD_OPT_GET, &p_nMode);
}

bool ISensorController::getHeatStatus(bool& p_bHeating) {
    // The ISP answers with a word; the caller's bool has room for one byte only.
    u32 nWord = p_bHeating ? 1 : 0;
    if (!sendCmd(IA_CMD_HEAT_STATUS, IA_CMD_OPT_GET, &nWord)) return false;
    p_bHeating = nWord != 0;
    return true;
}

bool ISensorController::zoomIn() {
    int nOne = 1;
    return sendCmd(KEY_ZOOM_IN, IA_CMD_OPT_SET, &nOne);
}

bool ISensorController::zoomOut() {
    int nOne = 1;
    return sendCmd(KEY_ZOOM_OUT, IA_CMD_OPT_SET, &nOne);
}

bool ISensorController::setZoomValue(int p_nValue) {
    if (!m_bHasLens) return true;
    return sendCmd(KEY_MZ_POSITION, IA_CMD_OPT_SET, &p_nValue);
}

bool ISensorController::setPTZRunState(int p_nState) {
    if (!m_bHasLens) return true;
    return sendCmd(IA_CMD_PTZ_RUN_STATE, IA_CMD_OPT_SET, &p_nState);
}

bool ISensorController::setFocusValue(int p_nValue) {
    if (!m_bHasLens) return true;
    return sendCmd(KEY_MF_POSITION, IA_CMD_OPT_SET, &p_nValue);
}

bool ISensorController::getFocusValue(int& p_nValue) {
    if (!m_bHasLens) {
        p_nValue = 0;
        return true;
    }
    return sendCmd(KEY_MF_POSITION, IA_CMD_OPT_GET, &p_nValue);
}

// ---- lens moves, zoom ratio, version

bool ISensorController::focusMove(u32 p_nCmd) {
    if (!m_bHasLens) return true;
    int nOne = 1;
    sendCmd(kCmdFocusMode, IA_CMD_OPT_SET, &nOne);
    nOne = 1;
    return sendCmd(p_nCmd, IA_CMD_OPT_SET, &nOne);
}

bool ISensorController::focusFar() {
    return focusMove(KEY_FOCUS_FAR);
}
bool ISensorController::focusNear() {
    return focusMove(KEY_FOCUS_NEAR);
}

bool ISensorController::irisMove(u32 p_nCmd) {
    int nMode = kExposeManualIris;
    if (!sendCmd(KEY_EXPOSE_MODE, IA_CMD_OPT_SET, &nMode)) return false;
    int nOne = 1;
    return sendCmd(p_nCmd, IA_CMD_OPT_SET, &nOne);
}

bool ISensorController::irisUp() {
    return irisMove(83);
}  // the command of KEY_IRIS_UP
bool ISensorController::irisDown() {
    return irisMove(84);
}  // the command of KEY_IRIS_DOWN

bool ISensorController::setIrisValue(int p_nValue) {
    int nCode = p_nValue;
    if (nCode < kIrisWidest) nCode = kIrisWidest;
    if (nCode > kIrisNarrowest) nCode = kIrisClosed;  // past F64 the iris closes
    int nMode = kExposeManualIris;
    if (!sendCmd(KEY_EXPOSE_MODE, IA_CMD_OPT_SET, &nMode)) return false;
    return sendCmd(KEY_IRIS_POSITION, IA_CMD_OPT_SET, &nCode);
}

bool ISensorController::getZoomValue(int& p_nPosition, int& p_nRatio) {
    if (!m_bHasLens) {
        p_nPosition = 0;
        return true;
    }
    if (!sendCmd(KEY_MZ_POSITION, IA_CMD_OPT_GET, &p_nPosition)) return false;
    u32 nPos = static_cast<u32>(p_nPosition);
    if (nPos <= kZoomPositions[0]) {
        p_nRatio = 1000;
        return true;
    }
    // Ratio x 1000 by straight-line interpolation between the whole ratios' positions.
    for (u32 k = 0; k + 1 < 16; ++k) {
        if (kZoomPositions[k] < nPos && nPos <= kZoomPositions[k + 1]) {
            u32 nSpan = kZoomPositions[k + 1] - kZoomPositions[k];
            p_nRatio =
                static_cast<int>(1000 * (k + 2) - ((kZoomPositions[k + 1] - nPos) * 1000) / nSpan);
            break;
        }
    }
    return true;
}

bool ISensorController::getCameraVerInf(std::string& p_strVersion) {
    char szVersion[50];
    memset(szVersion, 0, sizeof szVersion);
    if (!sendCmd(IA_CMD_CAMERA_VERSION, IA_CMD_OPT_GET, szVersion)) return false;
    p_strVersion.assign(szVersion, strnlen(szVersion, sizeof szVersion));
    return true;
}

// ---- maximum shutter as a position in the ISP's list

std::vector<int> ISensorController::shutterList() {
    int nDefault = 0;
    std::string strRange;
    getSensorParamRange(KEY_MAX_SHUTTER, nDefault, strRange);
    std::vector<int> vecList;
    size_t nSpace;
    while ((nSpace = strRange.find(' ')) != std::string::npos && vecList.size() < kShutterListMax) {
        int nValue = 0;
        std::istringstream(strRange.substr(0, nSpace)) >> nValue;
        vecList.push_back(nValue);
        strRange.erase(0, nSpace + 1);
    }
    if (!strRange.empty() && vecList.size() < kShutterListMax &&
        strRange.find(' ') == std::string::npos) {
        int nValue = 0;
        std::istringstream(strRange) >> nValue;
        vecList.push_back(nValue);
    }
    return vecList;
}

// The list position of the ISP's current maximum shutter, or -1.
int ISensorController::shutterPosition(const std::vector<int>& p_vecList) {
    int nCurrent = 0;
    if (!sendCmd(KEY_MAX_SHUTTER, IA_CMD_OPT_GET, &nCurrent)) return -1;
    for (size_t i = 0; i < p_vecList.size(); ++i) {
        if (p_vecList[i] == nCurrent) return static_cast<int>(i);
    }
    return -1;
}

bool ISensorController::getShutterValue(int& p_nIndex) {
    int nPos = shutterPosition(shutterList());
    if (nPos < 0) return false;
    p_nIndex = nPos;
    return true;
}

bool ISensorController::setShutterValue(int p_nIndex) {
    std::vector<int> vecList = shutterList();
    if (p_nIndex < 0 || static_cast<size_t>(p_nIndex) >= vecList.size()) return false;
    return writeCached(KEY_MAX_SHUTTER, vecList[static_cast<size_t>(p_nIndex)]);
}

bool ISensorController::shutterUp() {
    std::vector<int> vecList = shutterList();
    int nPos = shutterPosition(vecList);
    if (nPos < 0) return false;
    size_t nNext =
        static_cast<size_t>(nPos) + 1 < vecList.size() ? static_cast<size_t>(nPos) + 1 : nPos;
    return writeCached(KEY_MAX_SHUTTER, vecList[nNext]);
}

bool ISensorController::shutterDown() {
    std::vector<int> vecList = shutterList();
    int nPos = shutterPosition(vecList);
    if (nPos < 0) return false;
    return writeCached(KEY_MAX_SHUTTER, vecList[static_cast<size_t>(nPos > 0 ? nPos - 1 : 0)]);
}

// ---- flags and lens lock settings

void ISensorController::setShowWDRFalg(bool p_bShow) {
    m_bShowWDRFalg.store(p_bShow);
}

bool ISensorController::getShowWDRFalg(bool& p_bShow) {
    p_bShow = m_bShowWDRFalg.load();
    return true;
}

void ISensorController::setShowBeawayFalg(bool p_bShow) {
    setshowBeawayFalg(p_bShow);
}

bool ISensorController::getShowBeawayFalg(bool& p_bShow) {
    p_bShow = getshowBeawayFalg();
    return true;
}

int ISensorController::getSensorZoomFocusParam(SensorZoomFocusParam& p_objParam) {
    p_objParam = m_objSensorZoomFocusParam;
    return 0;
}

int ISensorController::setSensorZoomFocusParam(SensorZoomFocusParam& p_objParam) {
    m_objSensorZoomFocusParam = p_objParam;  // doIaCmd applies its lens lock from now on
    return 0;
}
