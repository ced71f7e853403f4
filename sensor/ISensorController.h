// ISensorController: the image-sensor control of one camera channel.
//
// The host constructs one controller per channel, binds it with setChannelID and
// setVideoStreamModule, starts it with init and drives every image setting through it.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "SensorDef.h"
#include "SensorKeys.h"
#include "VideoStreamModule.h"
#include "ZqFramework.h"
#include "sensor.h"

struct ISensorControllerTestAccess;

class LUXTUNE_API ISensorController {
  public:
    ISensorController();
    ~ISensorController();
    ISensorController(const ISensorController&) = delete;
    ISensorController& operator=(const ISensorController&) = delete;

    // ---- initialisation and tear-down
    bool init(const ModuleConfigure& p_objModuleConfigure);
    void uinit();

    // ---- binding and state
    void setChannelID(int p_nChannel);
    void setVideoStreamModule(const VideoStreamModule* p_pModule);
    int notifyToVideo(int p_nKey, int p_nValue);
    u32 getSensorType();
    int getSensorStatus();
    void printDebugMsg();

    // ---- key-command table
    int findFromKeyCmdMap(const keycmd* p_pMap, u32 p_nKey, keycmd& p_stKeyCmd);

    // ---- dispatch and gates (handlers of the key-command table)
    int doIaCmd(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doIaCmd_User(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doIaCmdShutter(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int test_debugParam(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doIoCrtl(u32 p_nKey, u32 p_nDir, void* p_pVal);

    // ---- special key handlers
    int doHwdr(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doImageAdjust(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doDIS(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doIaCmd_PanoTuning(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doDNThr(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doDNTime(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doMirror(u32 p_nKey, u32 p_nDir, void* p_pVal);
    int doBeaway(u32 p_nKey, u32 p_nDir, void* p_pVal);

    // ---- parameter cache and single-key access
    int setKeyValToCache(u32 p_nScheme, u32 p_nKey, u32 p_nVal, bool p_bForce);
    int getKeyValFromCache(u32 p_nScheme, u32 p_nKey, u32& p_nVal);
    bool isKeyValSame(const KeyVal& p_stKeyVal);
    bool getParameter(int p_nKey, int& p_nVal);

    // ---- batch application
    int setParameters(KeyVal* p_pKeyval, u32 p_nCount, bool p_bUpdateCache);
    int setParameter(int p_nKey, int p_nVal, bool p_bUpdateCache);

    // ---- schemes, modes and restore
    int switch_to(int p_nScheme, bool p_bFull = false);
    int LPR_switch_to(int p_nScheme);
    bool setParamScheme(int p_nScheme);
    bool getParamScheme(int& p_nScheme);
    bool setParamMode(int p_nMode);
    bool getParamMode(int& p_nMode);
    int flush();
    int paramCheck();
    int restore(int p_nKey);
    bool restoreAeMode();
    bool resetToLastParameters();
    bool resetParameters();

    // ---- scheduler
    int sensorThread();
    int judgeCurScheme(int& nScheme, int& nSchedule);
    int sync_fov();
    int SensorCheck(std::string& p_strIds);

    // ---- text protocol, range query, export
    int setParameters(const std::string& p_strParameters, bool p_bUpdateCache);
    bool getParameters(const std::string& p_strIds, std::string& p_strParameters);
    bool parseSensorParameter(const std::string& p_strIds, std::vector<std::string>& p_vecItems);
    bool getSensorParamRange(int p_nCmd, int& p_nDefault, std::string& p_strRange);
    bool getAllParameters(std::string& p_strParameters);

    // ---- UI files
    std::string getUIStyleFile();
    std::string getUICommonFile(int p_nUIId);
    std::string getUILanguageFile(int p_nUIId);

    // ---- direct controls: keys through the cache
    bool getDNMode(int& p_nValue);
    bool setDNMode(int p_nValue);
    bool getWDRSwitch(int& p_nValue);
    bool setWDRSwitch(int& p_nValue);
    bool getHLCSwitch(int& p_nValue);
    bool setHLCSwitch(int& p_nValue);
    bool getBLCSwitch(int& p_nValue);
    bool setBLCSwitch(int& p_nValue);
    bool getDefogSwitch(int& p_nValue);
    bool setDefogSwitch(int& p_nValue);
    bool getWDRStrength(int& p_nValue);
    bool setWDRStrength(int& p_nValue);
    bool getHLCStrength(int& p_nValue);
    bool setHLCStrength(int& p_nValue);
    bool getBLCStrength(int& p_nValue);
    bool setBLCStrength(int& p_nValue);
    bool getDefogStrength(int& p_nValue);
    bool setDefogStrength(int& p_nValue);
    bool get2DSwitch(int& p_nValue);
    bool set2DSwitch(int& p_nValue);
    bool get3DSwitch(int& p_nValue);
    bool set3DSwitch(int& p_nValue);
    bool get2DMode(int& p_nValue);
    bool set2DMode(int& p_nValue);
    bool get3DMode(int& p_nValue);
    bool set3DMode(int& p_nValue);
    bool get2DAutoMaxStrength(int& p_nValue);
    bool set2DAutoMaxStrength(int& p_nValue);
    bool get3DAutoMaxStrength(int& p_nValue);
    bool set3DAutoMaxStrength(int& p_nValue);
    bool get2DManualMaxStrength(int& p_nValue);
    bool set2DManualMaxStrength(int& p_nValue);
    bool get3DManualMaxStrength(int& p_nValue);
    bool set3DManualMaxStrength(int& p_nValue);
    bool getBeaway(int& p_nValue);
    bool setBeaway(int& p_nValue);
    bool getMirrorValue(int& p_nValue);
    bool setMirrorMode(int p_nValue);
    bool setWhiteMode(int p_nValue);
    bool setLightType(int p_nValue);
    bool setIRSwitch(int p_nValue);
    bool setWhiteSwitch(int p_nValue);

    // ---- direct controls: single ISP commands
    bool setDNState(int p_nState);
    bool getDNState(int& p_nState);
    bool getAFStatistic(unsigned int& p_nValue);
    bool getWDR(int& p_nValue);
    bool setExposureStrategy(int& p_nValue);
    bool getCmdExecStatus(int p_nCmd, int& p_nStatus);
    bool getIRSwitch(int& p_nValue);
    bool getWhiteSwitch(int& p_nValue);
    bool getWhiteMode(int& p_nValue);
    bool getLightType(int& p_nValue);
    bool getIrisValue(int& p_nValue);
    bool getHeatStatus(bool& p_bHeating);
    bool getTempValue(int& p_nValue);
    bool setIrLedInfo(void* p_pInfo);
    bool setFocusMode(int p_nMode);
    bool getFocusMode(int& p_nMode);
    bool zoomIn();
    bool zoomOut();
    bool setZoomValue(int p_nValue);
    bool setPTZRunState(int p_nState);
    bool setFocusValue(int p_nValue);
    bool getFocusValue(int& p_nValue);

    // ---- direct controls: lens moves, zoom ratio, version, shutter list
    bool focusFar();
    bool focusNear();
    bool irisUp();
    bool irisDown();
    bool setIrisValue(int p_nValue);
    bool getZoomValue(int& p_nPosition, int& p_nRatio);
    bool getCameraVerInf(std::string& p_strVersion);
    bool getShutterValue(int& p_nIndex);
    bool setShutterValue(int p_nIndex);
    bool shutterUp();
    bool shutterDown();

    // ---- flags and lens lock settings
    void setShowWDRFalg(bool p_bShow);
    bool getShowWDRFalg(bool& p_bShow);
    void setShowBeawayFalg(bool p_bShow);
    bool getShowBeawayFalg(bool& p_bShow);
    int getSensorZoomFocusParam(SensorZoomFocusParam& p_objParam);
    int setSensorZoomFocusParam(SensorZoomFocusParam& p_objParam);

    // Class-wide cross-channel request slot, carried out by camera 1's scheduler thread.
    static std::atomic<s32> m_nPassKeycmd;
    static std::atomic<s32> m_nChanneldDosomething;

  private:
    friend struct ISensorControllerTestAccess;

    // Exported only for the tests' friend access; hosts cannot reach them.
    void buildKeyCmdMap();
    void releaseArrays();
    void releaseSchemeArrays();

    // Internal steps: kept out of the library's exported names.
    LUXTUNE_LOCAL static int fillKeyCmdMap(keycmd* p_pMap);
    LUXTUNE_LOCAL bool buildSchemeArrays();
    LUXTUNE_LOCAL bool checkVersion();
    LUXTUNE_LOCAL void readDeviceFacts(MachineInfo& p_objMachineInfo);
    LUXTUNE_LOCAL void loadSchemeFiles();
    LUXTUNE_LOCAL void createSchemeFile(u32 p_nScheme, char* p_szName);
    LUXTUNE_LOCAL void startRunning(const MachineInfo& p_objMachineInfo);
    LUXTUNE_LOCAL ModuleConfigure keptModuleConfigure();
    LUXTUNE_LOCAL const UIFileInfo* uiFileRecord(int p_nUIId);
    LUXTUNE_LOCAL bool writeCached(u32 p_nKey, int p_nValue);
    LUXTUNE_LOCAL bool sendCmd(u32 p_nCmd, u32 p_nDir, void* p_pVal);
    LUXTUNE_LOCAL bool irisMove(u32 p_nCmd);
    LUXTUNE_LOCAL bool focusMove(u32 p_nCmd);
    LUXTUNE_LOCAL std::vector<int> shutterList();
    LUXTUNE_LOCAL int shutterPosition(const std::vector<int>& p_vecList);
    LUXTUNE_LOCAL bool lightInterlock(u32 p_nKey, u32 p_nOtherKey, int p_nValue);
    LUXTUNE_LOCAL KeyVal* findCachedRecord(u32 p_nScheme, u32 p_nKey);
    LUXTUNE_LOCAL u32 cachedOr(u32 p_nKey, u32 p_nDefault);  // the current scheme's value of a key
    LUXTUNE_LOCAL int applyRecord(KeyVal* p_pKeyval, u32 p_nIndex, bool p_bUpdateCache);
    LUXTUNE_LOCAL int routeRecord(KeyVal* p_pKeyval, u32 p_nIndex, bool& p_bCache);
    LUXTUNE_LOCAL void applySchemeMode(u32 p_nValue);
    LUXTUNE_LOCAL bool redirectThermal(KeyVal& p_stRec);
    LUXTUNE_LOCAL bool exceedsIrPower(u32 p_nKey, u32 p_nValue);
    LUXTUNE_LOCAL int dispatchRecord(KeyVal* p_pKeyval, u32 p_nIndex, u32 p_nKey);
    LUXTUNE_LOCAL static void fillFallbackRow(u32 p_nKey, keycmd& p_stRow);
    LUXTUNE_LOCAL void cacheRecord(const KeyVal* p_pKeyval, u32 p_nIndex);
    LUXTUNE_LOCAL KeyVal* schemeArray(u32 p_nScheme);
    LUXTUNE_LOCAL bool schemeWindow(u32 p_nScheme, u32& p_nStart, u32& p_nEnd);
    LUXTUNE_LOCAL void schemeFileName(u32 p_nScheme, char (&p_szName)[128]);
    LUXTUNE_LOCAL void deleteSchemeFiles();
    LUXTUNE_LOCAL void waitWhileSwitchBusy();
    LUXTUNE_LOCAL void serveRequest();
    LUXTUNE_LOCAL void selectByDayNight();
    LUXTUNE_LOCAL void selectByTime(int p_nScheme);
    LUXTUNE_LOCAL void selectMixed(int p_nScheme, int p_nSchedule);
    bool switchBusy() const { return testStatus(SensorStatus::kSwitchBusyMask); }
    bool isBusy() const { return (m_stStatus.load() & SensorStatus::kBusyMask) != 0; }
    void setStatus(u32 p_nBits) { m_stStatus.fetch_or(p_nBits); }
    void clearStatus(u32 p_nBits) { m_stStatus.fetch_and(~p_nBits); }
    bool testStatus(u32 p_nBits) const { return (m_stStatus.load() & p_nBits) != 0; }

    SysConfig m_stSysConf;
    s32 m_nCameraID = 1;
    ZqMutex m_objMutex;
    GThread* m_pSensorThread = nullptr;
    std::atomic<u32> m_nLastScheme{0xFFFFFFFF};
    std::atomic<u32> m_nCurScheme{0xFFFFFFFF};
    std::atomic<s32> m_nParamMode{1};
    KeyVal** m_ppUserKeyVal = nullptr;
    KeyVal* m_pstKeyValTmp = nullptr;
    KeyVal* m_pFctKeyVal = nullptr;
    u32 m_nKeyValSum = 0;
    KeyVal* m_pLprKeyVal = nullptr;
    keycmd* m_pKeyCmdMap = nullptr;
    u32 m_nVersion = 8;
    const VideoStreamModule* m_pVideoStreamModule = nullptr;
    MachineInfo m_objMachineInfo;
    std::atomic<u32> m_stStatus{0};
    s32 m_nKeyCmdSum = 170;
    u32 m_nLastSchedule = 255;
    // Written by init (also during a reset) while lock-free controls read them.
    std::atomic<bool> m_bLprScheme{false};
    std::atomic<bool> m_bShowWDRFalg{true};
    std::atomic<bool> m_bSchemeByTime{false};
    std::atomic<bool> m_bSchemeByDN{false};
    std::atomic<bool> m_bisLimitedIrPower{false};
    std::atomic<bool> m_bHasLens{true};
    std::atomic<bool> m_bShutterCmdOnce{false};
    bool m_bThermalChannel = false;
    std::atomic<bool> m_bShowLDCFlag{true};
    SensorZoomFocusParam m_objSensorZoomFocusParam;

    // Guards the scheme arrays, the scratch arrays and every batch application. Host operations
    // wait for it; the scheduler thread only tries it and skips its pass when it is taken, so the
    // thread never waits for a host (resetParameters stops the thread while holding
    // m_objMutex). Recursive: a batch reads the cache through the same public members.
    std::recursive_mutex m_objSchemeLock;
};
