// The image pipe hooks: pipe mapping, SHDR strength and the zoom module's defog, with the vendor
// statuses they pass on and the error lines they print.
#include <regex>
#include <vector>

#include "PluginLoader.h"
#include "VendorIspSim.h"

namespace {

using vendorsim::Op;

// An item as the vendor holds it before the hook runs: every byte but the pipe word set, so
// that any byte the hook should leave alone shows if it changes.
std::vector<uint8_t> patternedItem(int p_nItem, uint8_t p_nFill) {
    return std::vector<uint8_t>(vendorsim::itemSize(Op::GetIq, p_nItem), p_nFill);
}

std::vector<vendorsim::Call> callsOf(Op p_eOp) {
    std::vector<vendorsim::Call> vecCalls;
    for (const vendorsim::Call& call : vendorsim::calls()) {
        if (call.op == p_eOp) vecCalls.push_back(call);
    }
    return vecCalls;
}

std::string errorLines(const char* p_szHook, const char* p_szItem, const char* p_szCode) {
    return std::string("\n\\[ia err\\]: file:ipipe_params  f:") + p_szHook + " l:[0-9]+   " +
           p_szItem + " failed! errcode:" + p_szCode + "\n\n";
}

using PluginHookTest = PluginTest;
INSTANTIATE_FOR_EVERY_SENSOR(PluginHookTest);

TEST_P(PluginHookTest, PipeGetMapsChannelsToPipes) {
    const bool bSlave = GetParam() == Sensor::Imx675Slave;
    const int kSlavePipes[] = {0, 2, 0, 0, 0};
    for (int nChannel = 0; nChannel < 5; ++nChannel) {
        EXPECT_EQ(bSlave ? kSlavePipes[nChannel] : nChannel, plugin().pipeGet(nChannel))
            << "channel " << nChannel;
    }
}

TEST_P(PluginHookTest, SetHdrWritesTheScaledStrengthIntoThePipesItem) {
    struct {
        int nStrength;
        int nWritten;  // -1: nothing written
    } const kCases[] = {{0, -1},    {1, 100},     {6, 100},    {7, 112},    {62, 992},
                        {63, 1000}, {4095, 1000}, {4096, 100}, {4103, 112}, {-1, 1000}};
    const int kPipe = 3;
    for (const auto& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "strength " << c.nStrength);
        vendorsim::setItem(kPipe, IQT_ITEM_SHDR_PARAM, patternedItem(IQT_ITEM_SHDR_PARAM, 0x5A));
        vendorsim::clearCalls();
        EXPECT_EQ(0, plugin().setHdr(kPipe, c.nStrength));
        std::vector<vendorsim::Call> vecReads = callsOf(Op::GetIq);
        ASSERT_EQ(1u, vecReads.size());
        EXPECT_EQ(kPipe, vecReads[0].pipe);
        std::vector<vendorsim::Call> vecWrites = callsOf(Op::SetIq);
        ASSERT_EQ(c.nWritten < 0 ? 0u : 1u, vecWrites.size());
        if (c.nWritten < 0) continue;
        std::vector<uint8_t> vecExpected = vecReads[0].bytes;
        vecExpected[24] = static_cast<uint8_t>(c.nWritten);
        vecExpected[25] = static_cast<uint8_t>(c.nWritten >> 8);
        EXPECT_EQ(vecExpected, vecWrites[0].bytes);
        EXPECT_EQ(kPipe, vecWrites[0].pipe);
    }
}

struct StatusCase {
    Op eFailing;
    int nStatus;
    int nResult;
    size_t nWrites;
    const char* szCode;  // in the error lines; null when nothing is printed
};

const StatusCase kStatusCases[] = {
    {Op::GetIq, -4, 0, 0, nullptr},       {Op::SetIq, -4, 0, 1, nullptr},
    {Op::GetIq, -1, -1, 0, "0xffffffff"}, {Op::SetIq, -1, -1, 1, "0xffffffff"},
    {Op::GetIq, -5, -5, 0, "0xfffffffb"}, {Op::SetIq, 7, 7, 1, "0x7"},
};

// Runs p_fnHook once per status case on p_nItem and checks result, writes and error lines.
template <typename Hook>
void expectStatusesPassedOn(Hook p_fnHook, const char* p_szHook, int p_nItem,
                            const char* p_szItem) {
    for (const StatusCase& c : kStatusCases) {
        SCOPED_TRACE(::testing::Message() << "status " << c.nStatus);
        vendorsim::reset();
        vendorsim::setStatus(c.eFailing, p_nItem, c.nStatus);
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(c.nResult, p_fnHook());
        std::string strOut = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(c.nWrites, callsOf(Op::SetIq).size());
        if (c.szCode) {
            EXPECT_TRUE(
                std::regex_match(strOut, std::regex(errorLines(p_szHook, p_szItem, c.szCode))))
                << strOut;
        } else {
            EXPECT_EQ("", strOut);
        }
    }
}

TEST_P(PluginHookTest, SetHdrTakesMinus4AsSuccessAndReportsOtherFailures) {
    const LoadedPlugin& objPlugin = plugin();
    expectStatusesPassedOn([&] { return objPlugin.setHdr(1, 30); }, "isp_set_hdr",
                           IQT_ITEM_SHDR_PARAM, "IQT_ITEM_SHDR_PARAM");
}

class PluginDefogTest : public ::testing::Test {
  protected:
    void SetUp() override { vendorsim::reset(); }
    const LoadedPlugin& plugin() const { return LoadedPlugin::of(Sensor::Pmd2041Z5); }
};

struct DefogCase {
    uint32_t nWord272;
    uint32_t nStrength;
    uint8_t nByte16;
    uint8_t nByte17;
    uint16_t nEntryWord;
    uint8_t nEntryByte;
};

// The item the hook should write back: the one read, changed only in its defog fields.
std::vector<uint8_t> defogItem(std::vector<uint8_t> p_vecRead, const DefogCase& c) {
    p_vecRead[16] = c.nByte16;
    p_vecRead[17] = c.nByte17;
    for (size_t nEntry = 40; nEntry < 136; nEntry += 6) {
        p_vecRead[nEntry] = static_cast<uint8_t>(c.nEntryWord);
        p_vecRead[nEntry + 1] = static_cast<uint8_t>(c.nEntryWord >> 8);
        p_vecRead[nEntry + 5] = c.nEntryByte;
    }
    return p_vecRead;
}

TEST_F(PluginDefogTest, ReadsAndWritesTheChannelsOwnPipeInBothWays) {
    const DefogCase kCases[] = {
        {1, 0, 7, 16, 128, 128},       {1, 4096, 6, 15, 128, 128},
        {1, 0x8000, 255, 2, 128, 128},  // both bytes wrap below zero
        {0, 0, 3, 6, 128, 128},        {0, 4096, 3, 6, 99, 99},
        {0, 20000, 3, 6, 65520, 240},  // t = 144 wraps the entries
    };
    const int kChannel = 3;  // pipe 3 on this sensor
    for (const DefogCase& c : kCases) {
        SCOPED_TRACE(::testing::Message()
                     << "word 272 " << c.nWord272 << " strength " << c.nStrength);
        vendorsim::reset();
        gst_po_params[kChannel].word272 = c.nWord272;
        vendorsim::setItem(0, IQT_ITEM_DEFOG_PARAM, patternedItem(IQT_ITEM_DEFOG_PARAM, 0x11));
        vendorsim::setItem(kChannel, IQT_ITEM_DEFOG_PARAM,
                           patternedItem(IQT_ITEM_DEFOG_PARAM, 0x33));
        EXPECT_EQ(0, plugin().defogSet(kChannel, c.nStrength));
        std::vector<vendorsim::Call> vecReads = callsOf(Op::GetIq);
        ASSERT_EQ(1u, vecReads.size());
        EXPECT_EQ(kChannel, vecReads[0].pipe) << "the read addresses the channel's pipe";
        std::vector<vendorsim::Call> vecWrites = callsOf(Op::SetIq);
        ASSERT_EQ(1u, vecWrites.size());
        EXPECT_EQ(kChannel, vecWrites[0].pipe);
        EXPECT_EQ(0x33, vecReads[0].bytes[4]) << "pipe 3's item was read, not pipe 0's";
        EXPECT_EQ(defogItem(vecReads[0].bytes, c), vecWrites[0].bytes);
    }
}

TEST_F(PluginDefogTest, LeavesAPipeAloneWhenWord144IsOne) {
    gst_po_params[2].word144 = 1;
    EXPECT_EQ(0, plugin().defogSet(2, 4096));
    EXPECT_TRUE(vendorsim::calls().empty());
    gst_po_params[2].word144 = 2;
    EXPECT_EQ(0, plugin().defogSet(2, 4096));
    EXPECT_EQ(1u, callsOf(Op::SetIq).size()) << "only the value 1 stops the hook";
}

TEST_F(PluginDefogTest, RefusesAChannelWithoutAPipeRecord) {
    EXPECT_EQ(-1, plugin().defogSet(VENDOR_ISP_PIPE_NUM, 0));
    EXPECT_EQ(-1, plugin().defogSet(-1, 0));
    EXPECT_TRUE(vendorsim::calls().empty());
}

TEST_F(PluginDefogTest, TakesMinus4AsSuccessAndReportsOtherFailures) {
    const LoadedPlugin& objPlugin = plugin();
    expectStatusesPassedOn([&] { return objPlugin.defogSet(1, 100); }, "isp_defog_set",
                           IQT_ITEM_DEFOG_PARAM, "IQT_ITEM_DEFOG_PARAM");
}

}  // namespace
