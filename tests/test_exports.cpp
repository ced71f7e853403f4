// The library's exported names: every name a host relies on is there, and nothing internal
// leaks (read from the built library's dynamic symbol table).
#include <gtest/gtest.h>
#include <stdio.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The host's contract: the controller's public members, the free functions and the globals.
const char* const kMembers[] = {"ISensorController",
                                "~ISensorController",
                                "init",
                                "uinit",
                                "setChannelID",
                                "setVideoStreamModule",
                                "notifyToVideo",
                                "getSensorType",
                                "getSensorStatus",
                                "printDebugMsg",
                                "findFromKeyCmdMap",
                                "doIaCmd",
                                "doIaCmd_User",
                                "doIaCmdShutter",
                                "test_debugParam",
                                "doIoCrtl",
                                "doHwdr",
                                "doImageAdjust",
                                "doDIS",
                                "doIaCmd_PanoTuning",
                                "doDNThr",
                                "doDNTime",
                                "doMirror",
                                "doBeaway",
                                "setKeyValToCache",
                                "getKeyValFromCache",
                                "isKeyValSame",
                                "getParameter",
                                "setParameters",
                                "setParameter",
                                "switch_to",
                                "LPR_switch_to",
                                "setParamScheme",
                                "getParamScheme",
                                "setParamMode",
                                "getParamMode",
                                "flush",
                                "paramCheck",
                                "restore",
                                "restoreAeMode",
                                "resetToLastParameters",
                                "resetParameters",
                                "sensorThread",
                                "judgeCurScheme",
                                "sync_fov",
                                "SensorCheck",
                                "getParameters",
                                "parseSensorParameter",
                                "getSensorParamRange",
                                "getAllParameters",
                                "getUIStyleFile",
                                "getUICommonFile",
                                "getUILanguageFile",
                                "getDNMode",
                                "setDNMode",
                                "getWDRSwitch",
                                "setWDRSwitch",
                                "getHLCSwitch",
                                "setHLCSwitch",
                                "getBLCSwitch",
                                "setBLCSwitch",
                                "getDefogSwitch",
                                "setDefogSwitch",
                                "getWDRStrength",
                                "setWDRStrength",
                                "getHLCStrength",
                                "setHLCStrength",
                                "getBLCStrength",
                                "setBLCStrength",
                                "getDefogStrength",
                                "setDefogStrength",
                                "get2DSwitch",
                                "set2DSwitch",
                                "get3DSwitch",
                                "set3DSwitch",
                                "get2DMode",
                                "set2DMode",
                                "get3DMode",
                                "set3DMode",
                                "get2DAutoMaxStrength",
                                "set2DAutoMaxStrength",
                                "get3DAutoMaxStrength",
                                "set3DAutoMaxStrength",
                                "get2DManualMaxStrength",
                                "set2DManualMaxStrength",
                                "get3DManualMaxStrength",
                                "set3DManualMaxStrength",
                                "getBeaway",
                                "setBeaway",
                                "getMirrorValue",
                                "setMirrorMode",
                                "setWhiteMode",
                                "setLightType",
                                "setIRSwitch",
                                "setWhiteSwitch",
                                "setDNState",
                                "getDNState",
                                "getAFStatistic",
                                "getWDR",
                                "setExposureStrategy",
                                "getCmdExecStatus",
                                "getIRSwitch",
                                "getWhiteSwitch",
                                "getWhiteMode",
                                "getLightType",
                                "getIrisValue",
                                "getHeatStatus",
                                "getTempValue",
                                "setIrLedInfo",
                                "setFocusMode",
                                "getFocusMode",
                                "zoomIn",
                                "zoomOut",
                                "setZoomValue",
                                "setPTZRunState",
                                "setFocusValue",
                                "getFocusValue",
                                "focusFar",
                                "focusNear",
                                "irisUp",
                                "irisDown",
                                "setIrisValue",
                                "getZoomValue",
                                "getCameraVerInf",
                                "getShutterValue",
                                "setShutterValue",
                                "shutterUp",
                                "shutterDown",
                                "setShowWDRFalg",
                                "getShowWDRFalg",
                                "setShowBeawayFalg",
                                "getShowBeawayFalg",
                                "getSensorZoomFocusParam",
                                "setSensorZoomFocusParam"};
const char* const kStatics[] = {"m_nPassKeycmd", "m_nChanneldDosomething"};
// Private members the tests' friend access calls; hosts cannot.
const char* const kForTests[] = {"buildKeyCmdMap", "releaseArrays", "releaseSchemeArrays"};
const char* const kFunctions[] = {
    "updateDebugLevel",  "initSysConf",      "uinitSysConf",        "getFileLen",
    "loadFromFile",      "saveToFile",       "keyValFromFile",      "keyValToFile",
    "getVersion",        "setVersion",       "getDetailFieldTou32", "getDetailFieldToStr",
    "mergeStyle",        "updateStyleTab",   "getDnaStyle",         "doDnaStyle",
    "doCustomizeStyle",  "getDnaValbyCmdId", "getNodebyCmdId",      "DeleteNode",
    "ModifyNodebyCmdId", "getFctData",       "style2KeyVal",        "setshowBeawayFalg",
    "getshowBeawayFalg", "keyval_str2st",    "keyval_st2str",       "keyval_correct",
    "getSensorKeyCount", "getSensorKeyInfo", "findSensorKeyById",   "findSensorKeyByName"};
const char* const kGlobals[] = {"g_nDebugLevel", "g_bEnAssert", "g_bShoWBeawayFalg"};

// Demangled names of the defined dynamic symbols, without their version.
std::vector<std::string> exportedNames() {
    std::string strCommand =
        std::string(LUXTUNE_NM) + " -D --defined-only -C '" + LUXTUNE_LIBRARY + "'";
    FILE* pPipe = popen(strCommand.c_str(), "r");
    std::vector<std::string> vecNames;
    if (!pPipe) return vecNames;
    char szLine[4096];
    while (fgets(szLine, sizeof szLine, pPipe)) {
        std::string strLine(szLine);
        if (strLine.size() < 20 || strLine[17] == 'A') continue;  // version definitions
        std::string strName = strLine.substr(19);
        strName = strName.substr(0, strName.find_first_of("@\n"));
        vecNames.push_back(strName);
    }
    pclose(pPipe);
    return vecNames;
}

// The name without its parameter list: "ISensorController::init", "getFileLen", "g_nDebugLevel".
std::string bareName(const std::string& p_strSymbol) {
    std::string strName = p_strSymbol.substr(0, p_strSymbol.find('('));
    return strName.substr(0, strName.find("[abi:"));  // a function returning std::string
}

TEST(ExportsTest, EveryHostNameIsExportedAndNothingElse) {
    std::vector<std::string> vecExported = exportedNames();
    ASSERT_FALSE(vecExported.empty()) << "cannot read the symbols of " << LUXTUNE_LIBRARY;
    std::set<std::string> setAllowed;
    for (const char* sz : kMembers)
        setAllowed.insert(std::string("ISensorController::") + sz);
    for (const char* sz : kStatics)
        setAllowed.insert(std::string("ISensorController::") + sz);
    for (const char* sz : kForTests)
        setAllowed.insert(std::string("ISensorController::") + sz);
    for (const char* sz : kFunctions)
        setAllowed.insert(sz);
    for (const char* sz : kGlobals)
        setAllowed.insert(sz);
    std::set<std::string> setFound;
    for (const std::string& strName : vecExported) {
        EXPECT_TRUE(setAllowed.count(bareName(strName))) << "exported but internal: " << strName;
        setFound.insert(bareName(strName));
    }
    for (const std::string& strName : setAllowed)
        EXPECT_TRUE(setFound.count(strName)) << "missing: " << strName;
}

}  // namespace
