// A temporary device root for one test: LUXTUNE_ROOT points at it while the test runs, and the
// simulated ISP, clock and diagnostics start from their defaults.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ZqTypes.h"

class TestRoot {
  public:
    TestRoot();
    ~TestRoot();
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;

    const std::string& path() const { return m_strPath; }
    // A device path ("/tmp/Debug.sign") as a path on this machine.
    std::string host(const std::string& p_strDevicePath) const {
        return m_strPath + p_strDevicePath;
    }

    void write(const std::string& p_strDevicePath, const std::string& p_strContent) const;
    std::string read(const std::string& p_strDevicePath) const;
    bool exists(const std::string& p_strDevicePath) const;
    void remove(const std::string& p_strDevicePath) const;
    std::vector<std::string> lines(const std::string& p_strDevicePath) const;

    // Writes the machine information for a device type.
    void writeMachineInfo(int p_nDeviceType, const std::string& p_strModel = "NT98530") const;
    // Writes "/tmp/Debug.sign"; an empty text leaves an empty file.
    void writeDebugSwitch(const std::string& p_strContent) const;

  private:
    std::string m_strPath;
};

// Base fixture: a fresh root and every simulated component reset.
class LuxtuneTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    TestRoot* m_pRoot = nullptr;
    TestRoot& root() const { return *m_pRoot; }
};
