// The simulated camera's session: a working root holding a copy of the sample device tree, one
// controller per started channel bound to one shared video module, and the interpreter that
// runs the typed commands (the commands themselves are in SimCommands.cpp).
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ISensorController.h"
#include "RecordingVideoModule.h"

class SimCamera {
  public:
    // Each simulated second of the framework lasts this long, so the scheduler's one-second
    // pace runs fast.
    static constexpr double kTimeScale = 0.005;

    struct DeviceFacts {
        std::string strName;         // the variant whose machine information the root holds
        std::string strDescription;  // that file's first comment
        MachineInfo objInfo;
    };

    explicit SimCamera(bool p_bKeepRoot);
    // Tears down every running channel and removes the root unless it is kept.
    ~SimCamera();
    SimCamera(const SimCamera&) = delete;
    SimCamera& operator=(const SimCamera&) = delete;

    // Makes the working root and points the framework at it; false (said why) when it fails.
    bool open();

    // ---- interpreter
    // Runs one command; false after printing its one-line error.
    bool execute(const std::string& p_strCommand);
    // Runs commands in order up to the first error; the exit status.
    int runCommands(const std::vector<std::string>& p_vecCommands);
    // Reads commands line by line; interactive use prompts and goes on after errors.
    int runStream(std::FILE* p_pInput, bool p_bInteractive);
    void setEcho(bool p_bEcho) { m_bEcho = p_bEcho; }
    void requestQuit() { m_bQuit = true; }

    // ---- session state, for the commands
    const std::string& root() const { return m_strRoot; }
    std::string hostPath(const std::string& p_strDevicePath) const {
        return m_strRoot + p_strDevicePath;
    }
    int channel() const { return m_nChannel; }
    void selectChannel(int p_nChannel);
    // The channel given as an argument, or the selected one.
    int channelArg(const std::vector<std::string>& p_vecArgs, size_t p_nIndex) const;
    RecordingVideoModule& video() { return m_objVideo; }

    DeviceFacts device() const;
    std::vector<std::string> deviceNames() const;
    void useDevice(const std::string& p_strName);
    std::vector<ModuleConfigure> modules() const;

    ISensorController& start(int p_nChannel);
    void stop(int p_nChannel);
    // The channel's controller; CommandError when the channel is not running.
    ISensorController& running(int p_nChannel);
    bool isRunning(int p_nChannel) const { return m_mapControllers.count(p_nChannel) != 0; }
    std::vector<int> runningChannels() const;
    // What the controller makes of its channel number (a thermal camera's only controller is
    // camera 2).
    int cameraId(int p_nChannel) const;
    bool thermalChannel(int p_nChannel) const;
    int ispChannel(int p_nChannel) const { return cameraId(p_nChannel) - 1; }
    // User schemes of the channel; the factory slice is scheme number schemeCount().
    u32 schemeCount(int p_nChannel) const;
    // A scheme number, or "factory"; CommandError when out of range.
    u32 parseScheme(int p_nChannel, const std::string& p_strWord) const;
    int currentScheme(int p_nChannel);
    // The catalogue keys that a scheme of the channel holds, with their values.
    std::vector<KeyVal> schemeValues(int p_nChannel, u32 p_nScheme);

  private:
    static std::string deviceTree();
    void shutdown();

    bool m_bKeepRoot;
    bool m_bEcho = false;
    bool m_bQuit = false;
    bool m_bEverStarted = false;
    std::string m_strRoot;
    int m_nChannel = 1;
    // Declared before the controllers: they notify it until they are gone.
    RecordingVideoModule m_objVideo;
    std::map<int, std::unique_ptr<ISensorController>> m_mapControllers;
};

// The guided run: a short tour of one device, told through the same commands.
int runGuidedTour(SimCamera& p_objCamera);
