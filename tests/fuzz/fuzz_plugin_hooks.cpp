// The sensor plug-ins' image pipe hooks and frame-rate callback, reached as the vendor framework
// reaches them: each plug-in file loaded, its descriptor looked up and its functions called
// through the records.
//
// Input: 8 bytes, word 144 of each pipe's record, then 8 bytes for word 272; then operations
// until the input ends, each an operation byte (kind = byte % 6, plug-in = byte / 6 % 3) and its
// arguments: 0 isp_set_hdr(int32 pipe, int32 strength), 1 isp_pipe_get(int32 channel),
// 2 isp_defog_set(int32 channel, int32 strength), 3 frame rate(4 x int32), 4 a vendor status
// (byte call kind, int32 item, int32 status), 5 an IQ item the vendor holds (int32 pipe, byte
// item, byte fill).
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FuzzSupport.h"
#include "SensorRecords.h"
#include "VendorIspSim.h"

namespace {

constexpr int kMaxOperations = 64;

const sensor_desc_st* load(const char* p_szFile) {
    void* pHandle = dlopen(p_szFile, RTLD_NOW | RTLD_LOCAL);
    void* pDesc = pHandle ? dlsym(pHandle, "gst_sensor") : nullptr;
    if (!pDesc) {
        fprintf(stderr, "cannot load the plug-in %s: %s\n", p_szFile, dlerror());
        abort();
    }
    return static_cast<const sensor_desc_st*>(pDesc);
}

const std::vector<const sensor_desc_st*>& plugins() {
    static const std::vector<const sensor_desc_st*> s_vecPlugins = {
        load(PLUGIN_PMD2041_Z5_FILE), load(PLUGIN_IMX675_SLAVE_FILE), load(PLUGIN_IMX678_FILE)};
    return s_vecPlugins;
}

// The strength the SHDR hook last wrote lies within the item's range.
void checkShdrWrite() {
    std::vector<vendorsim::Call> vecCalls = vendorsim::calls();
    if (vecCalls.empty()) return;
    const vendorsim::Call& call = vecCalls.back();
    if (call.op != vendorsim::Op::SetIq || call.item != IQT_ITEM_SHDR_PARAM || call.bytes.empty())
        return;
    unsigned nStrength = call.bytes[24] | call.bytes[25] << 8;
    FUZZ_CHECK(nStrength >= 100 && nStrength <= 1000);
}

void runOperation(fuzz::ByteReader& p_objIn, uint8_t p_nOp) {
    const sensor_desc_st& stDesc = *plugins()[p_nOp / 6 % 3];
    const ipipe_st& stPipe = *stDesc.ipipe;
    switch (p_nOp % 6) {
        case 0: {
            int nPipe = p_objIn.int32();
            int nStrength = p_objIn.int32();
            vendorsim::clearCalls();
            stPipe.set_hdr(nPipe, nStrength);
            checkShdrWrite();
            break;
        }
        case 1:
            stPipe.pipe_get(p_objIn.int32());
            break;
        case 2: {
            int nChannel = p_objIn.int32();
            uint32_t nStrength = static_cast<uint32_t>(p_objIn.int32());
            if (stPipe.defog_set) stPipe.defog_set(nChannel, nStrength);
            break;
        }
        case 3: {
            uint32_t anArgs[4];
            for (uint32_t& n : anArgs)
                n = static_cast<uint32_t>(p_objIn.int32());
            FUZZ_CHECK(stDesc.set_frame_rate(anArgs[0], anArgs[1], anArgs[2], anArgs[3]) == 0);
            break;
        }
        case 4: {
            vendorsim::Op eOp = static_cast<vendorsim::Op>(p_objIn.byte() % 3);
            int nItem = p_objIn.int32();
            vendorsim::setStatus(eOp, nItem, p_objIn.int32());
            break;
        }
        default: {
            int nPipe = p_objIn.int32();
            int nItem = p_objIn.byte() % 2 ? IQT_ITEM_SHDR_PARAM : IQT_ITEM_DEFOG_PARAM;
            uint8_t nFill = p_objIn.byte();
            vendorsim::setItem(
                nPipe, nItem,
                std::vector<uint8_t>(vendorsim::itemSize(vendorsim::Op::GetIq, nItem), nFill));
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize) {
    fuzz::silenceStdout();
    vendorsim::reset();
    for (const sensor_desc_st* pDesc : plugins())
        pDesc->init_values();
    fuzz::ByteReader objIn(p_pData, p_nSize);
    for (vendor_po_params_st& stPipe : gst_po_params)
        stPipe.word144 = objIn.byte();
    for (vendor_po_params_st& stPipe : gst_po_params)
        stPipe.word272 = objIn.byte();
    for (int i = 0; i < kMaxOperations && !objIn.empty(); ++i)
        runOperation(objIn, objIn.byte());
    return 0;
}
