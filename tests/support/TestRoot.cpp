#include "TestRoot.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ISensorController.h"
#include "IaSim.h"
#include "SensorFile.h"
#include "ZqSim.h"

namespace fs = std::filesystem;

TestRoot::TestRoot() {
    char szTemplate[] = "/tmp/luxtune-test-XXXXXX";
    const char* szPath = mkdtemp(szTemplate);
    if (!szPath) throw std::runtime_error("cannot create a test root");
    m_strPath = szPath;
    for (const char* szDir :
         {"/tmp", "/mnt/mtd/log", "/mnt/mtd/code/config_file", "/mnt/mtd/code/factory_setting",
          "/mnt/mtd/isp", "/mnt/mtd/hd1/program/config", "/hd1/moduleConfig/sensorConfig/style",
          "/hd1/moduleConfig/sensorConfig/styleDiversity"}) {
        fs::create_directories(m_strPath + szDir);
    }
    setenv("LUXTUNE_ROOT", m_strPath.c_str(), 1);
}

TestRoot::~TestRoot() {
    unsetenv("LUXTUNE_ROOT");
    std::error_code ec;
    fs::remove_all(m_strPath, ec);
}

void TestRoot::write(const std::string& p_strDevicePath, const std::string& p_strContent) const {
    fs::create_directories(fs::path(host(p_strDevicePath)).parent_path());
    std::ofstream out(host(p_strDevicePath), std::ios::binary | std::ios::trunc);
    out << p_strContent;
}

std::string TestRoot::read(const std::string& p_strDevicePath) const {
    std::ifstream in(host(p_strDevicePath), std::ios::binary);
    std::stringstream buf;
    buf << in.rdbuf();
    return buf.str();
}

bool TestRoot::exists(const std::string& p_strDevicePath) const {
    return fs::exists(host(p_strDevicePath));
}

void TestRoot::remove(const std::string& p_strDevicePath) const {
    std::error_code ec;
    fs::remove(host(p_strDevicePath), ec);
}

std::vector<std::string> TestRoot::lines(const std::string& p_strDevicePath) const {
    std::vector<std::string> vec;
    std::ifstream in(host(p_strDevicePath));
    std::string strLine;
    while (std::getline(in, strLine))
        vec.push_back(strLine);
    return vec;
}

void TestRoot::writeMachineInfo(int p_nDeviceType, const std::string& p_strModel) const {
    write("/mnt/mtd/code/factory_setting/machineinfo.ini",
          "[machine]\ndevice_type=" + std::to_string(p_nDeviceType) +
              "\nhardware_model=" + p_strModel + "\nhardware_code=T1\n");
}

void TestRoot::writeDebugSwitch(const std::string& p_strContent) const {
    write("/tmp/Debug.sign", p_strContent);
}

void LuxtuneTest::SetUp() {
    m_pRoot = new TestRoot;
    iasim::reset();
    zqsim::setTimeScale(0);
    zqsim::useRealClock();
    zqsim::clearSystemCommands();
    zqsim::clearFileFaults();
    updateDebugLevel();
    setshowBeawayFalg(true);
    ISensorController::m_nPassKeycmd.store(-1);
    ISensorController::m_nChanneldDosomething.store(-1);
}

void LuxtuneTest::TearDown() {
    delete m_pRoot;
    m_pRoot = nullptr;
}
