// The sensor descriptor of each plug-in: its exported names, slots, parameter record, gain
// table and callbacks, as the framework reaches them.
#include <cstring>
#include <map>
#include <regex>
#include <set>

#include "PluginLoader.h"
#include "VendorIspSim.h"

namespace {

using PluginDescriptorTest = PluginTest;
INSTANTIATE_FOR_EVERY_SENSOR(PluginDescriptorTest);

int column(Sensor p_eSensor) {
    return static_cast<int>(p_eSensor);
}

const std::map<std::string, size_t> kLensTableSizes = {
    {"zoom_ratio", 240},      {"zoom1_ratio", 240},   {"zoom2_ratio", 240},
    {"zoom_visca_tbl", 240},  {"zoom_step_p", 240},   {"zoom_step_n", 240},
    {"zoom_check_sec", 36},   {"focus_1m", 240},      {"focus_1_5m", 240},
    {"focus_2m", 240},        {"focus_3m", 240},      {"focus_4m", 240},
    {"focus_6m", 240},        {"focus_10m", 240},     {"focus_20m", 240},
    {"focus_fin", 240},       {"focus_step", 240},    {"af_blur_tbl", 240},
    {"af_alg_tbl", 4400},     {"af_piris_tbl", 4096}, {"zoom_piris_tbl", 1024},
    {"gst_lens_pararms", 572}};

TEST_P(PluginDescriptorTest, ExportsExactlyTheFrameworksNamesWithTheirSizes) {
    const LoadedPlugin& objPlugin = plugin();
    std::map<std::string, size_t> mapObjects = {{"gst_sensor", 80}, {objPlugin.ipipeName(), 144}};
    std::set<std::string> setFunctions = {"isp_set_hdr", "isp_pipe_get"};
    if (GetParam() == Sensor::Pmd2041Z5) {
        setFunctions.insert("isp_defog_set");
        mapObjects.insert(kLensTableSizes.begin(), kLensTableSizes.end());
    }
    std::set<std::string> setExpected = setFunctions, setExported;
    for (const auto& object : mapObjects)
        setExpected.insert(object.first);
    for (const auto& symbol : exportedSymbols(objPlugin.file())) {
        // AddressSanitizer adds a marker beside each exported variable.
        if (symbol.first.rfind("__odr_asan", 0) == 0) continue;
        setExported.insert(symbol.first);
        auto it = mapObjects.find(symbol.first);
        if (it != mapObjects.end()) {
            EXPECT_FALSE(symbol.second.bFunction) << symbol.first;
            EXPECT_EQ(it->second, symbol.second.nSize) << symbol.first;
        } else if (setFunctions.count(symbol.first)) {
            EXPECT_TRUE(symbol.second.bFunction) << symbol.first;
        }
    }
    EXPECT_EQ(setExpected, setExported);
}

TEST_P(PluginDescriptorTest, SlotsLeadToTheRecordsAndHooks) {
    const LoadedPlugin& objPlugin = plugin();
    const void* pDesc = objPlugin.descriptor();
    ASSERT_NE(nullptr, pDesc);
    EXPECT_EQ(nullptr, pointerAt(pDesc, 0));
    for (size_t nSlot = 1; nSlot < 10; ++nSlot) {
        EXPECT_NE(nullptr, pointerAt(pDesc, 8 * nSlot)) << "slot " << nSlot;
    }
    EXPECT_EQ(37125000u, objPlugin.param(12));
    EXPECT_EQ(objPlugin.symbol(objPlugin.ipipeName()), objPlugin.ipipe());
    EXPECT_EQ(0, objPlugin.callSlot(24));
    EXPECT_EQ(0, objPlugin.callSlot(56));

    const void* pIpipe = objPlugin.ipipe();
    for (size_t nOffset = 0; nOffset < 144; ++nOffset) {
        if (nOffset >= 112 && nOffset < 136) continue;  // the hooks
        EXPECT_EQ(0, byteAt(pIpipe, nOffset)) << "offset " << nOffset;
    }
    EXPECT_EQ(objPlugin.symbol("isp_set_hdr"), pointerAt(pIpipe, 112));
    EXPECT_EQ(objPlugin.symbol("isp_pipe_get"), pointerAt(pIpipe, 120));
    bool bDefog = GetParam() == Sensor::Pmd2041Z5;
    EXPECT_EQ(bDefog ? objPlugin.symbol("isp_defog_set") : nullptr, pointerAt(pIpipe, 128));
}

enum SetBy { kInitial, kStartup };

struct ParamWord {
    size_t nOffset;
    uint32_t anValue[3];  // sensor-pmd2041-z5, sensor-imx675-slave, sensor-imx678
    SetBy eSetBy;
};

#define SAME(v) \
    { v, v, v }

// Float words by their bits.
const ParamWord kParamWords[] = {
    {0, SAME(0x00280000), kInitial},
    {8, SAME(32), kInitial},
    {12, SAME(37125000), kInitial},
    {28, SAME(25), kStartup},
    {68, SAME(2), kInitial},
    {72, {40, 10, 10}, kStartup},
    {76, SAME(1000000), kStartup},
    {80, SAME(40000), kStartup},
    {84, {20000, 5000, 5000}, kStartup},
    {88, {51200, 102400, 51200}, kStartup},
    {92, SAME(204800), kStartup},
    {100, SAME(0x002C0800), kStartup},
    {104, SAME(1024), kStartup},
    {108, SAME(16384), kStartup},
    {116, {10000, 22752, 10000}, kStartup},
    {120, {1200, 500, 1200}, kStartup},
    {124, {10000, 80000, 9500}, kStartup},
    {128, SAME(1200), kStartup},
    {132, SAME(0x3F800000), kStartup},
    {136, {0x3F89C530, 0x3F870D30, 0x3F86A130}, kStartup},
    {140, {0x3F89801F, 0x3F8512F5, 0x3F8468DC}, kStartup},
    {144, {0x4B064700, 0x4E88048E, 0x5093726E}, kStartup},
    {148, {0xBFC81062, 0xC02178D5, 0xC04374BC}, kStartup},
    {152, {0xC2C30000, 0x41C4F5C3, 0xC3AB199A}, kStartup},
    {156, SAME(1000), kStartup},
    {160, SAME(100000), kStartup},
    {164, SAME(100), kStartup},
    {168, SAME(8000), kStartup},
    {172, SAME(95), kStartup},
    {176, {13000, 8000, 8000}, kStartup},
    {180, SAME(25), kStartup},
    {184, SAME(175), kStartup},
    {188, {5000, 3000, 3000}, kStartup},
    {192, SAME(27600), kStartup},
    {196, SAME(8000), kStartup},
    {200, SAME(600), kStartup},
    {204, SAME(51200), kStartup},
    {208, {1536, 2, 0}, kInitial},
    {212, SAME(1283), kInitial},
    {216, {2612, 0, 0}, kInitial},
    {220, {3904, 500, 500}, kInitial},
    {224, {6720, 1100, 1100}, kInitial},
    {228, {10112, 2000, 2000}, kInitial},
    {232, {16384, 2496, 2496}, kInitial},
    {236, {0x0032644B, 0x002D645A, 0x002D645A}, kInitial},
    {240, {0, 0x2D000000, 0x2D000000}, kInitial},
    {244, {0x19005032, 0x00006464, 0x00006464}, kInitial},
    {248, {0x0050504B, 0, 0}, kInitial},
    {252, {0x00000F0D, 0, 0}, kInitial},
};

// The iris of sensor-pmd2041-z5: the code list at 256 and the (code, light, position) rows at 416.
const uint32_t kApertureCodes[] = {0x0106, 0x0200, 0x0204, 0x0208, 0x0304, 0x0400,  0x0408,
                                   0x0506, 0x0800, 0x0906, 0x1100, 0x1600, 0x100000};
const uint32_t kApertureRows[][3] = {{0x0106, 512, 0},   {0x0107, 458, 188}, {0x0108, 428, 237},
                                     {0x0200, 338, 385}, {0x0204, 249, 530}, {0x0208, 175, 652},
                                     {0x0304, 118, 745}, {0x0400, 79, 809},  {0x0408, 64, 833},
                                     {0x0506, 40, 873},  {0x0800, 28, 892},  {0x0906, 18, 909},
                                     {0x1100, 11, 920},  {0x1600, 6, 928},   {0x100000, 0, 1023}};

// Every word the plug-in places after start-up, by offset; the frame-rate arguments excepted.
std::map<size_t, uint32_t> expectedParams(Sensor p_eSensor) {
    std::map<size_t, uint32_t> mapWords;
    for (const ParamWord& stWord : kParamWords) {
        mapWords[stWord.nOffset] = stWord.anValue[column(p_eSensor)];
    }
    if (p_eSensor != Sensor::Pmd2041Z5) return mapWords;
    for (size_t i = 0; i < 13; ++i)
        mapWords[256 + 4 * i] = kApertureCodes[i];
    for (size_t i = 0; i < 15; ++i) {
        for (size_t k = 0; k < 3; ++k)
            mapWords[416 + 12 * i + 4 * k] = kApertureRows[i][k];
    }
    return mapWords;
}

TEST_P(PluginDescriptorTest, ParameterRecordHoldsItsInitialThenItsStartupWords) {
    const LoadedPlugin& objPlugin = plugin();
    for (const ParamWord& stWord : kParamWords) {
        if (stWord.eSetBy == kInitial) {
            EXPECT_EQ(stWord.anValue[column(GetParam())], objPlugin.param(stWord.nOffset))
                << "initial word at " << stWord.nOffset;
        }
    }
    EXPECT_EQ(0, objPlugin.initValues());
    std::map<size_t, uint32_t> mapWords = expectedParams(GetParam());
    for (size_t nOffset = 0; nOffset < 896; nOffset += 4) {
        if (nOffset == 20 || nOffset == 24 || nOffset == 32) continue;
        auto it = mapWords.find(nOffset);
        EXPECT_EQ(it == mapWords.end() ? 0 : it->second, objPlugin.param(nOffset))
            << "word at " << nOffset;
    }
}

TEST_P(PluginDescriptorTest, GainTableDoublesFrom100For16Words) {
    const void* pGain = plugin().gainTable();
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(100u << i, wordAt(pGain, 4 * i)) << "word " << i;
    EXPECT_EQ(3276800u, wordAt(pGain, 60));
    for (size_t nOffset = 64; nOffset < 832; nOffset += 4) {
        EXPECT_EQ(0u, wordAt(pGain, nOffset)) << "offset " << nOffset;
    }
}

struct FrameRateCase {
    uint32_t nRate;
    uint32_t nMode;
    uint32_t nWord76;
    uint32_t nPeriod;
};

TEST_P(PluginDescriptorTest, FrameRateSetsModePeriodAndTiming) {
    const LoadedPlugin& objPlugin = plugin();
    const bool bZoom = GetParam() == Sensor::Pmd2041Z5;
    const uint32_t nWord72Outside1 = bZoom ? 40 : 10;
    const FrameRateCase kCases[] = {{25, 1, 40000, 40000},   {30, 1, 33333, 33333},
                                    {60, 1, 16667, 16667},   {0, 1, 0, 0},
                                    {30, 2, 1000000, 33333}, {0, 0, 1000000, 0}};
    objPlugin.initValues();
    uint32_t nArg = 100;
    for (const FrameRateCase& c : kCases) {
        nArg += 10;  // the first two arguments are only stored; each case has its own
        SCOPED_TRACE(::testing::Message() << "rate " << c.nRate << " mode " << c.nMode);
        vendorsim::clearCalls();
        EXPECT_EQ(0, objPlugin.setFrameRate(nArg, nArg + 1, c.nRate, c.nMode));
        EXPECT_EQ(nArg, objPlugin.param(20));
        EXPECT_EQ(nArg + 1, objPlugin.param(24));
        EXPECT_EQ(c.nRate, objPlugin.param(28));
        EXPECT_EQ(c.nMode, objPlugin.param(32));
        EXPECT_EQ(c.nMode == 1 ? 1792 : nWord72Outside1, objPlugin.param(72));
        EXPECT_EQ(c.nWord76, objPlugin.param(76));
        EXPECT_EQ(bZoom ? c.nPeriod : 40000, objPlugin.param(80));
        EXPECT_EQ(c.nMode, wordAt(&gst_ae_params, 56));
        EXPECT_EQ(c.nMode, wordAt(&gst_po_params[0], 20));
        std::vector<vendorsim::Call> vecCalls = vendorsim::calls();
        ASSERT_EQ(bZoom ? 1u : 0u, vecCalls.size());
        if (!bZoom) continue;
        EXPECT_EQ(vendorsim::Op::SetAe, vecCalls[0].op);
        EXPECT_EQ(29, vecCalls[0].item);
        ASSERT_EQ(12u, vecCalls[0].bytes.size());
        const uint8_t* pAe = vecCalls[0].bytes.data();
        EXPECT_EQ(0u, wordAt(pAe, 0));
        EXPECT_EQ(512u, wordAt(pAe, 4));
        EXPECT_EQ(1u, wordAt(pAe, 8));
    }
}

TEST_P(PluginDescriptorTest, FrameRateIgnoresTheAeStatus) {
    vendorsim::setStatus(vendorsim::Op::SetAe, -1, -1);
    EXPECT_EQ(0, plugin().setFrameRate(1, 2, 30, 1));
}

TEST_P(PluginDescriptorTest, StartupRestoresItsWordsAndKeepsTheFrameRateArguments) {
    const LoadedPlugin& objPlugin = plugin();
    objPlugin.initValues();
    objPlugin.setFrameRate(7, 8, 60, 1);
    EXPECT_EQ(0, objPlugin.initValues());
    EXPECT_EQ(25u, objPlugin.param(28));
    EXPECT_EQ(GetParam() == Sensor::Pmd2041Z5 ? 40u : 10u, objPlugin.param(72));
    EXPECT_EQ(1000000u, objPlugin.param(76));
    EXPECT_EQ(40000u, objPlugin.param(80));
    EXPECT_EQ(7u, objPlugin.param(20));
    EXPECT_EQ(8u, objPlugin.param(24));
    EXPECT_EQ(1u, objPlugin.param(32));
}

TEST_P(PluginDescriptorTest, IdentityNamesChipSensorVersionAndBuild) {
    const char* kIdentities[][2] = {
        {"pmd2041_z5", "c00b13"}, {"imx675_slave", "c00b01"}, {"imx678", "c00000"}};
    char szChip[64], szSensor[64], szVersion[64], szBuild[64];
    memset(szBuild, 'x', sizeof szBuild);
    EXPECT_EQ(0, plugin().identity(szChip, szSensor, szVersion, szBuild));
    EXPECT_STREQ("novatek_nt98530", szChip);
    EXPECT_STREQ(kIdentities[column(GetParam())][0], szSensor);
    EXPECT_STREQ(kIdentities[column(GetParam())][1], szVersion);
    EXPECT_TRUE(std::regex_match(szBuild, std::regex("[A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}_"
                                                     "[0-9]{2}:[0-9]{2}:[0-9]{2}")))
        << szBuild;
    EXPECT_EQ(20u, strlen(szBuild));
}

TEST_P(PluginDescriptorTest, MatchAcceptsOnlyTheChipWithVersionC00b39) {
    struct {
        const char* szChip;
        const char* szVersion;
        int nResult;
    } const kCases[] = {{"novatek_nt98530", "c00b39", 0},  {"novatek_nt98530", "c00b13", -1},
                        {"novatek_nt98530", "c00000", -1}, {"novatek_nt98530", "C00B39", -1},
                        {"NOVATEK_NT98530", "c00b39", -1}, {"", "c00b39", -1},
                        {"novatek_nt98530x", "c00b39", -1}};
    for (const auto& c : kCases) {
        EXPECT_EQ(c.nResult, plugin().match(c.szChip, c.szVersion))
            << c.szChip << " " << c.szVersion;
    }
}

}  // namespace
