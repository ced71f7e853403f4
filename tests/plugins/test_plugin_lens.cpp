// The lens tables of the zoom module's plug-in, read through their exported names.
#include <cstring>

#include "PluginLoader.h"

namespace {

class PluginLensTableTest : public ::testing::Test {
  protected:
    const LoadedPlugin& plugin() const { return LoadedPlugin::of(Sensor::Pmd2041Z5); }
    const void* table(const char* p_szName) const { return plugin().symbol(p_szName); }
    int32_t entry(const char* p_szName, size_t p_nIndex) const {
        return static_cast<int32_t>(wordAt(table(p_szName), 4 * p_nIndex));
    }
    void expectSameAs(const char* p_szName, const char* p_szCopy, size_t p_nSize) const {
        EXPECT_EQ(0, memcmp(table(p_szName), table(p_szCopy), p_nSize)) << p_szCopy;
    }
};

TEST_F(PluginLensTableTest, ZoomPositionsRiseBy96ThenBy80AndEndAt5040) {
    const struct {
        size_t nStep;
        int32_t nPosition;
    } kCases[] = {{0, 0}, {1, 96}, {20, 1920}, {21, 2000}, {58, 4960}, {59, 5040}};
    for (const auto& c : kCases)
        EXPECT_EQ(c.nPosition, entry("zoom_ratio", c.nStep)) << c.nStep;
    expectSameAs("zoom_ratio", "zoom1_ratio", 240);
    expectSameAs("zoom_ratio", "zoom2_ratio", 240);
    const size_t kCheckSteps[] = {0, 7, 16, 24, 32, 40, 48, 54, 59};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(entry("zoom_ratio", kCheckSteps[i]), entry("zoom_check_sec", i)) << i;
    }
    EXPECT_EQ(672, entry("zoom_check_sec", 1));
    EXPECT_EQ(5040, entry("zoom_check_sec", 8));
}

TEST_F(PluginLensTableTest, ViscaScaleSteps280AndPinsTeleTo16384) {
    EXPECT_EQ(0, entry("zoom_visca_tbl", 0));
    EXPECT_EQ(280, entry("zoom_visca_tbl", 1));
    EXPECT_EQ(16240, entry("zoom_visca_tbl", 58));
    EXPECT_EQ(16384, entry("zoom_visca_tbl", 59));
}

TEST_F(PluginLensTableTest, StepSizesChangeAtTheirRunBounds) {
    const struct {
        const char* szTable;
        size_t nStep;
        int32_t nSize;
    } kCases[] = {{"zoom_step_p", 0, 2},  {"zoom_step_p", 17, 2}, {"zoom_step_p", 18, 3},
                  {"zoom_step_p", 22, 3}, {"zoom_step_p", 23, 4}, {"zoom_step_p", 28, 4},
                  {"zoom_step_p", 29, 6}, {"zoom_step_p", 33, 6}, {"zoom_step_p", 34, 8},
                  {"zoom_step_p", 59, 8}, {"focus_step", 0, 8},   {"focus_step", 33, 8},
                  {"focus_step", 34, 12}, {"focus_step", 47, 12}, {"focus_step", 48, 16},
                  {"focus_step", 59, 16}};
    for (const auto& c : kCases) {
        EXPECT_EQ(c.nSize, entry(c.szTable, c.nStep)) << c.szTable << " " << c.nStep;
    }
    expectSameAs("zoom_step_p", "zoom_step_n", 240);
}

TEST_F(PluginLensTableTest, FocusTablesShareTheNearAndTheFarCurve) {
    for (const char* szCopy : {"focus_1_5m", "focus_2m", "focus_3m", "focus_4m", "focus_6m"}) {
        expectSameAs("focus_1m", szCopy, 240);
    }
    expectSameAs("focus_fin", "focus_10m", 240);
    expectSameAs("focus_fin", "focus_20m", 240);
    EXPECT_EQ(399, entry("focus_1m", 0));
    EXPECT_EQ(959, entry("focus_1m", 42));
    EXPECT_EQ(779, entry("focus_1m", 59));
    EXPECT_EQ(382, entry("focus_fin", 0));
    EXPECT_EQ(603, entry("focus_fin", 59));
    EXPECT_EQ(10000, entry("af_blur_tbl", 5));
    EXPECT_EQ(9980, entry("af_blur_tbl", 6));
    EXPECT_EQ(8510, entry("af_blur_tbl", 59));
}

std::vector<int32_t> afRow(const void* p_pTable, size_t p_nRow) {
    std::vector<int32_t> vecRow;
    for (size_t w = 0; w < 10; ++w) {
        vecRow.push_back(static_cast<int32_t>(wordAt(p_pTable, 40 * p_nRow + 4 * w)));
    }
    return vecRow;
}

TEST_F(PluginLensTableTest, AfAlgorithmRowsRunOverBothLevels) {
    const void* pTable = table("af_alg_tbl");
    using Row = std::vector<int32_t>;
    EXPECT_EQ((Row{100, 100, 16, 2, 16, 0, 0, 0, 0, 0}), afRow(pTable, 0));
    EXPECT_EQ((Row{100, 102400, 16, 2, 6, 0, 0, 0, 0, 0}), afRow(pTable, 10));
    EXPECT_EQ((Row{1600, 12800, 100, 10, 20, 0, 0, 0, 0, 0}), afRow(pTable, 51));
    EXPECT_EQ((Row{25600, 800, 280, 18, 160, 0, 0, 0, 0, 0}), afRow(pTable, 91));
    EXPECT_EQ((Row{25600, 3200, 280, 16, 128, 0, 0, 0, 0, 0}), afRow(pTable, 93));
    EXPECT_EQ((Row{51200, 102400, 300, 14, 35, 0, 0, 0, 0, 0}), afRow(pTable, 109));
    for (size_t r = 0; r < 110; ++r) {
        Row vecRow = afRow(pTable, r);
        EXPECT_EQ(100 << (r / 11), vecRow[0]) << "row " << r;
        EXPECT_EQ(100 << (r % 11), vecRow[1]) << "row " << r;
        EXPECT_EQ(Row(5, 0), Row(vecRow.begin() + 5, vecRow.end())) << "row " << r;
    }
}

TEST_F(PluginLensTableTest, IrisTablesFollowTheParameterRecordsApertures) {
    const void* pPiris = table("af_piris_tbl");
    EXPECT_EQ(1024u, wordAt(pPiris, 0));
    EXPECT_EQ(0u, wordAt(pPiris, 4));
    const void* pParams = plugin().paramRecord();
    for (size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(wordAt(pParams, 416 + 12 * i + 4), wordAt(pPiris, 8 * (i + 1))) << i;
        EXPECT_EQ(wordAt(pParams, 416 + 12 * i + 8), wordAt(pPiris, 8 * (i + 1) + 4)) << i;
    }
    EXPECT_EQ(1023u, wordAt(pPiris, 8 * 15 + 4));
    for (size_t nOffset = 8 * 16; nOffset < 4096; nOffset += 4) {
        ASSERT_EQ(0u, wordAt(pPiris, nOffset)) << nOffset;
    }
    const void* pZoom = table("zoom_piris_tbl");
    const struct {
        size_t nStep;
        uint16_t nLight;
    } kCases[] = {{0, 512}, {1, 452}, {30, 245}, {31, 244}, {59, 216}, {60, 0}, {511, 0}};
    for (const auto& c : kCases)
        EXPECT_EQ(c.nLight, halfAt(pZoom, 2 * c.nStep)) << c.nStep;
}

TEST_F(PluginLensTableTest, LensParametersRepeatTheTablesSizesAndEnds) {
    const struct {
        size_t nWord;
        int32_t nValue;
    } kCases[] = {{3, entry("zoom_ratio", 59)},
                  {5, entry("zoom_ratio", 59)},
                  {64, entry("zoom_ratio", 59)},
                  {72, entry("zoom_ratio", 59)},
                  {65, 60},    // zoom steps
                  {100, 110},  // rows of af_alg_tbl
                  {110, 9},    // entries of zoom_check_sec
                  {69, entry("zoom_visca_tbl", 59)},
                  {47, entry("focus_fin", 0)},
                  {140, entry("zoom_check_sec", 1)},
                  {72, 5040},
                  {0, 0},
                  {1, 3632},
                  {9, -1},
                  {45, 0},
                  {75, -3632},
                  {79, -400},
                  {121, 0},
                  {139, 30541},
                  {142, 85}};
    for (const auto& c : kCases) {
        EXPECT_EQ(c.nValue, entry("gst_lens_pararms", c.nWord)) << "word " << c.nWord;
    }
}

}  // namespace
