// Commands of the simulated camera for the host interface: the text protocol, the range query,
// the full export and the named lens, shutter and light controls.
#include <climits>
#include <cstdio>
#include <string>

#include "SimCamera.h"
#include "SimCommands.h"
#include "SimFormat.h"

using simfmt::keyName;
using simfmt::parseKey;
using simfmt::parseNumber;

namespace {

ISensorController& selected(SimCamera& p_objCamera) {
    return p_objCamera.running(p_objCamera.channel());
}

const char* done(bool p_bOk) {
    return p_bOk ? "done" : "failed";
}

int numberArg(const std::string& p_strWord) {
    return static_cast<int>(parseNumber(p_strWord, INT_MIN, INT_MAX));
}

}  // namespace

void cmdSetText(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    bool bCache = p_vecArgs.size() < 2;
    if (!bCache && p_vecArgs[1] != "nocache")
        throw CommandError("expected 'nocache', got '" + p_vecArgs[1] + "'");
    int nStatus = selected(p_objCamera).setParameters(p_vecArgs[0], bCache);
    std::string strWhy =
        nStatus < 0 ? " (" + keyName(static_cast<u32>(-static_cast<long long>(nStatus))) + ")" : "";
    printf("pair text applied%s: status %d%s\n", bCache ? "" : " (not cached)", nStatus,
           strWhy.c_str());
}

void cmdGetText(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    std::string strAnswer;
    if (!selected(p_objCamera).getParameters(p_vecArgs[0], strAnswer)) {
        throw CommandError("'" + p_vecArgs[0] + "' is not a list text such as (34,2337)");
    }
    printf("%s\n", strAnswer.c_str());
}

void cmdRange(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    u32 nKey = parseKey(p_vecArgs[0]);
    int nDefault = 0;
    std::string strRange;
    if (!selected(p_objCamera).getSensorParamRange(static_cast<int>(nKey), nDefault, strRange)) {
        printf("%s: no range (not a range command, or not listed by the ISP)\n",
               keyName(nKey).c_str());
        return;
    }
    printf("%s: default %d, permitted [%s]\n", keyName(nKey).c_str(), nDefault, strRange.c_str());
}

void cmdExport(SimCamera& p_objCamera, const SimArgs&) {
    std::string strAll;
    selected(p_objCamera).getAllParameters(strAll);
    printf("%s\n", strAll.c_str());
}

void cmdZoom(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    ISensorController& objController = selected(p_objCamera);
    if (p_vecArgs.empty()) {
        int nPosition = 0, nRatio = 0;
        bool bOk = objController.getZoomValue(nPosition, nRatio);
        printf("zoom position %d, ratio %d.%03dx%s\n", nPosition, nRatio / 1000, nRatio % 1000,
               bOk ? "" : " (failed)");
    } else if (p_vecArgs[0] == "in" || p_vecArgs[0] == "out") {
        bool bOk = p_vecArgs[0] == "in" ? objController.zoomIn() : objController.zoomOut();
        printf("zoom %s: %s\n", p_vecArgs[0].c_str(), done(bOk));
    } else {
        int nPosition = numberArg(p_vecArgs[0]);
        printf("zoom to %d: %s\n", nPosition, done(objController.setZoomValue(nPosition)));
    }
}

void cmdFocus(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    ISensorController& objController = selected(p_objCamera);
    if (p_vecArgs.empty()) {
        int nPosition = 0;
        bool bOk = objController.getFocusValue(nPosition);
        printf("focus position %d%s\n", nPosition, bOk ? "" : " (failed)");
    } else if (p_vecArgs[0] == "far" || p_vecArgs[0] == "near") {
        bool bOk = p_vecArgs[0] == "far" ? objController.focusFar() : objController.focusNear();
        printf("focus %s: %s\n", p_vecArgs[0].c_str(), done(bOk));
    } else {
        int nPosition = numberArg(p_vecArgs[0]);
        printf("focus to %d: %s\n", nPosition, done(objController.setFocusValue(nPosition)));
    }
}

void cmdIris(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    ISensorController& objController = selected(p_objCamera);
    if (p_vecArgs.empty()) {
        int nCode = 0;
        bool bOk = objController.getIrisValue(nCode);
        printf("iris code 0x%X (F%X.%X)%s\n", nCode, (nCode >> 8) & 0xFF, nCode & 0xFF,
               bOk ? "" : " (failed)");
    } else if (p_vecArgs[0] == "up" || p_vecArgs[0] == "down") {
        bool bOk = p_vecArgs[0] == "up" ? objController.irisUp() : objController.irisDown();
        printf("iris %s: %s\n", p_vecArgs[0].c_str(), done(bOk));
    } else {
        int nCode = numberArg(p_vecArgs[0]);
        printf("iris to 0x%X: %s\n", nCode, done(objController.setIrisValue(nCode)));
    }
}

void cmdShutter(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    ISensorController& objController = selected(p_objCamera);
    if (p_vecArgs.empty()) {
        int nIndex = -1;
        if (!objController.getShutterValue(nIndex)) {
            printf("maximum shutter: not in the ISP's list\n");
        } else {
            printf("maximum shutter at position %d of the ISP's list\n", nIndex);
        }
    } else if (p_vecArgs[0] == "up" || p_vecArgs[0] == "down") {
        bool bOk = p_vecArgs[0] == "up" ? objController.shutterUp() : objController.shutterDown();
        printf("shutter %s: %s\n", p_vecArgs[0].c_str(), done(bOk));
    } else {
        int nIndex = numberArg(p_vecArgs[0]);
        printf("shutter to position %d: %s\n", nIndex, done(objController.setShutterValue(nIndex)));
    }
}

void cmdLight(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    ISensorController& objController = selected(p_objCamera);
    if (p_vecArgs.size() == 1) throw CommandError("light needs a light and a value: light ir 1");
    if (!p_vecArgs.empty()) {
        if (p_vecArgs[0] != "ir" && p_vecArgs[0] != "white") {
            throw CommandError("unknown light '" + p_vecArgs[0] + "' (ir, white)");
        }
        int nValue = static_cast<int>(parseNumber(p_vecArgs[1], INT_MIN, INT_MAX));
        bool bOk = p_vecArgs[0] == "ir" ? objController.setIRSwitch(nValue)
                                        : objController.setWhiteSwitch(nValue);
        printf("%s light switch %d: %s\n", p_vecArgs[0].c_str(), nValue, done(bOk));
    }
    int nIr = -1, nWhite = -1, nType = -1;
    objController.getIRSwitch(nIr);
    objController.getWhiteSwitch(nWhite);
    objController.getLightType(nType);
    printf("ir switch %d, white switch %d, light type %d\n", nIr, nWhite, nType);
}

void cmdLightType(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    int nType = numberArg(p_vecArgs[0]);
    printf("light type %d: %s\n", nType,
           selected(p_objCamera).setLightType(nType) ? "set" : "refused");
}

void cmdLensLock(SimCamera& p_objCamera, const SimArgs& p_vecArgs) {
    ISensorController& objController = selected(p_objCamera);
    SensorZoomFocusParam objParam;
    objController.getSensorZoomFocusParam(objParam);
    if (!p_vecArgs.empty()) {
        if (p_vecArgs[0] != "on" && p_vecArgs[0] != "off")
            throw CommandError("expected on or off, got '" + p_vecArgs[0] + "'");
        objParam.setLockZoomFocusEnable(p_vecArgs[0] == "on");
        objController.setSensorZoomFocusParam(objParam);
    }
    printf("lens lock %s\n", objParam.getLockZoomFocusEnable() ? "on" : "off");
}

void cmdVersion(SimCamera& p_objCamera, const SimArgs&) {
    std::string strVersion;
    if (!selected(p_objCamera).getCameraVerInf(strVersion))
        throw CommandError("the ISP gave no version");
    printf("camera version %s\n", strVersion.c_str());
}
