// The dynamic style and the factory values against an ISP whose answers come from the input.
//
// Input, little-endian:
//   byte      flags: 1 WDR shown, 2 LDC shown, 4 beaway shown
//   byte      room of the factory-value array
//   byte      status of the dynamic-command query (0: success, n: -n)
//   int32     the command count the ISP claims
//   byte      commands described (0 to 16)
//   per command: int32 command, default, min, max, claimed item count; byte status (as above);
//                byte items given (0 to 64); that many int32 items
//   the rest  the style document
//
// The same answers then go through a controller's range query and shutter list, and the value
// correction of the factory records. This executable defines ia_ioctrl_v2 itself, in place of
// the ISP stand-in's; every input checks that the library's calls reach it.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ControllerAccess.h"
#include "FuzzSupport.h"
#include "SensorFile.h"
#include "SensorKeyVal.h"
#include "ia_ioctrl.h"

namespace {

struct RangeAnswer {
    int32_t nCmd = 0;
    int32_t nDefault = 0;
    int32_t nMin = 0;
    int32_t nMax = 0;
    int32_t nClaimedItems = 0;
    int nStatus = 0;
    std::vector<int32_t> vecItems;
};

struct IspAnswers {
    int nListStatus = 0;
    int32_t nClaimedCmds = 0;
    std::vector<RangeAnswer> vecRanges;
};

IspAnswers g_stAnswers;
unsigned long g_nCalls = 0;

int status(uint8_t p_nByte) {
    return -static_cast<int>(p_nByte);
}

IspAnswers readAnswers(fuzz::ByteReader& p_objIn) {
    IspAnswers st;
    st.nListStatus = status(p_objIn.byte());
    st.nClaimedCmds = p_objIn.int32();
    size_t nCmds = p_objIn.byte() % (IA_DNA_CMD_MAX + 1);
    for (size_t i = 0; i < nCmds; ++i) {
        RangeAnswer r;
        r.nCmd = p_objIn.int32();
        r.nDefault = p_objIn.int32();
        r.nMin = p_objIn.int32();
        r.nMax = p_objIn.int32();
        r.nClaimedItems = p_objIn.int32();
        r.nStatus = status(p_objIn.byte());
        size_t nItems = p_objIn.byte() % (IA_DNA_ITEM_MAX + 1);
        for (size_t k = 0; k < nItems; ++k)
            r.vecItems.push_back(p_objIn.int32());
        st.vecRanges.push_back(r);
    }
    return st;
}

void rangesThroughController() {
    static ISensorController* s_pCtl = new ISensorController;
    ISensorController& objCtl = *s_pCtl;
    Access::prepare(objCtl, 4, fuzz::sampleScheme(), 0);
    Access::status(objCtl) = SensorStatus::bInitialized;
    std::vector<int32_t> vecCmds = {static_cast<int32_t>(KEY_MAX_SHUTTER)};
    for (const RangeAnswer& r : g_stAnswers.vecRanges)
        vecCmds.push_back(r.nCmd);
    for (int32_t nCmd : vecCmds) {
        int nDefault = 0;
        std::string strRange;
        objCtl.getSensorParamRange(nCmd, nDefault, strRange);
    }
    int nIndex = 0;
    objCtl.getShutterValue(nIndex);
    objCtl.shutterUp();
}

}  // namespace

// Answers with the records' room filled from the input and the counts as the input claims
// them; every other call succeeds with nothing to say.
extern "C" int ia_ioctrl_v2(int, ia_cmd_e cmd, int option, void* data) {
    ++g_nCalls;
    if (!data) return -1;
    if (cmd == IA_CMD_DYNAMIC_PARAMS_CMDS_GET && option == IA_CMD_OPT_GET) {
        dnaCmdList* pList = static_cast<dnaCmdList*>(data);
        pList->cmd_cnt = g_stAnswers.nClaimedCmds;
        for (size_t i = 0; i < IA_DNA_CMD_MAX; ++i)
            pList->cmd_list[i] =
                i < g_stAnswers.vecRanges.size() ? g_stAnswers.vecRanges[i].nCmd : 0;
        return g_stAnswers.nListStatus;
    }
    if (option != IA_CMD_OPT_GET_PARAM_RNAGE) return 0;
    for (const RangeAnswer& r : g_stAnswers.vecRanges) {
        if (r.nCmd != static_cast<int32_t>(cmd)) continue;
        ia_dynamic_params_attr_st* pAttr = static_cast<ia_dynamic_params_attr_st*>(data);
        pAttr->param_type = 0;
        pAttr->default_val = r.nDefault;
        pAttr->min_val = r.nMin;
        pAttr->max_val = r.nMax;
        pAttr->items_cnt = r.nClaimedItems;
        std::copy(r.vecItems.begin(), r.vecItems.end(), pAttr->item);
        return r.nStatus;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize) {
    fuzz::beginInput(false);
    fuzz::ByteReader objIn(p_pData, p_nSize);
    uint8_t nFlags = objIn.byte();
    bool bWdr = nFlags & 1;
    bool bLdc = nFlags & 2;
    setshowBeawayFalg(nFlags & 4);
    u32 nRoom = objIn.byte();
    g_stAnswers = readAnswers(objIn);
    std::unique_ptr<char[]> pStyle = fuzz::exactText(objIn.rest());

    unsigned long nCallsBefore = g_nCalls;
    std::string strDna;
    getDnaStyle(1, pStyle.get(), strDna, bWdr, bLdc);
    if (g_nCalls == nCallsBefore) {
        fprintf(stderr, "the library's ISP calls do not reach this executable's ia_ioctrl_v2\n");
        abort();
    }

    std::vector<KeyVal> vecBounded(nRoom);
    u32 nCount = 0;
    getFctData(1, pStyle.get(), vecBounded.data(), &nCount, bWdr, bLdc, nRoom);
    FUZZ_CHECK(nCount <= nRoom);

    // The unbounded form trusts its array; every element of the printed document starts at a "<".
    std::vector<KeyVal> vecAll(static_cast<size_t>(std::count(strDna.begin(), strDna.end(), '<')));
    getFctData(1, pStyle.get(), vecAll.data(), &nCount, bWdr, bLdc);
    FUZZ_CHECK(nCount <= vecAll.size());
    keyval_correct(0, vecAll.data(), nCount);
    rangesThroughController();
    return 0;
}
