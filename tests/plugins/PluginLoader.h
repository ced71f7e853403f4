// A sensor plug-in loaded the way the vendor ISP framework loads it: from its file, through its
// exported names, with its records read byte by byte at their offsets and its callbacks and
// hooks called through the pointers found there.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

enum class Sensor { Pmd2041Z5, Imx675Slave, Imx678 };

void PrintTo(Sensor p_eSensor, std::ostream* p_pOut);

// Little-endian fields of a record.
uint32_t wordAt(const void* p_pBase, size_t p_nOffset);
uint16_t halfAt(const void* p_pBase, size_t p_nOffset);
uint8_t byteAt(const void* p_pBase, size_t p_nOffset);
const void* pointerAt(const void* p_pBase, size_t p_nOffset);

class LoadedPlugin {
  public:
    // Loaded at the first use and kept loaded, as the framework keeps it.
    static const LoadedPlugin& of(Sensor p_eSensor);

    Sensor sensor() const { return m_eSensor; }
    const std::string& file() const { return m_strFile; }
    const char* ipipeName() const { return m_szIpipe; }
    const void* symbol(const char* p_szName) const;

    const void* descriptor() const { return symbol("gst_sensor"); }
    const void* paramRecord() const { return pointerAt(descriptor(), 8); }
    const void* gainTable() const { return pointerAt(descriptor(), 64); }
    const void* ipipe() const { return pointerAt(descriptor(), 72); }
    uint32_t param(size_t p_nOffset) const { return wordAt(paramRecord(), p_nOffset); }

    // Through the descriptor's slots.
    int callSlot(size_t p_nOffset) const;  // the callbacks without arguments
    int identity(char* p_szChip, char* p_szSensor, char* p_szVersion, char* p_szBuild) const;
    int match(const char* p_szChip, const char* p_szVersion) const;
    int setFrameRate(uint32_t p_nFirst, uint32_t p_nSecond, uint32_t p_nRate,
                     uint32_t p_nMode) const;
    int initValues() const { return callSlot(16); }

    // Through the image pipe record.
    int setHdr(int p_nPipe, int p_nStrength) const;
    int pipeGet(int p_nChannel) const;
    int defogSet(int p_nChannel, uint32_t p_nStrength) const;

  private:
    LoadedPlugin(Sensor p_eSensor, const char* p_szFile, const char* p_szIpipe);

    Sensor m_eSensor;
    std::string m_strFile;
    const char* m_szIpipe;
    void* m_pHandle;
};

struct ElfSymbol {
    bool bFunction;
    size_t nSize;
};

// The symbols a shared library file defines in its dynamic symbol table, by name.
std::map<std::string, ElfSymbol> exportedSymbols(const std::string& p_strFile);

// Every test starts from an empty vendor library.
class PluginTest : public ::testing::TestWithParam<Sensor> {
  protected:
    void SetUp() override;
    const LoadedPlugin& plugin() const { return LoadedPlugin::of(GetParam()); }
};

inline std::string sensorTestName(const ::testing::TestParamInfo<Sensor>& p_stInfo) {
    return ::testing::PrintToString(p_stInfo.param);
}

#define INSTANTIATE_FOR_EVERY_SENSOR(p_suite) \
    INSTANTIATE_TEST_SUITE_P(                 \
        Sensors, p_suite,                     \
        ::testing::Values(Sensor::Pmd2041Z5, Sensor::Imx675Slave, Sensor::Imx678), sensorTestName)
