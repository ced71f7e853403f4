// The SHDR hook, common to every sensor plug-in, and the vendor IQ exchange the hooks share.
#include "IpipeParams.h"

#include <stdio.h>

#include "SensorPlugin.h"
#include "vendor_isp.h"

namespace {

const int kStatusNothingToDo = -4;

const char* iqItemName(int p_nItem) {
    switch (p_nItem) {
        case IQT_ITEM_SHDR_PARAM:
            return "IQT_ITEM_SHDR_PARAM";
        case IQT_ITEM_DEFOG_PARAM:
            return "IQT_ITEM_DEFOG_PARAM";
        default:
            return "IQT_ITEM";
    }
}

// Printed unconditionally: the plug-in has no log of its own, and the console is where the
// vendor framework's messages are read.
int reportIqFailure(const iq_site_st& p_stSite, int p_nStatus) {
    printf("\n[ia err]: file:%s  f:%s l:%d ", "ipipe_params", p_stSite.szHook, p_stSite.nLine);
    printf("  %s failed! errcode:0x%x\n", iqItemName(p_stSite.nItem),
           static_cast<unsigned>(p_nStatus));
    printf("\n");
    fflush(stdout);
    return p_nStatus;
}

// SHDR strength from the framework's value: its low 12 bits, scaled by 16 into 100 to 1000.
uint16_t shdrStrength(int p_nStrength) {
    uint32_t nValue = (static_cast<uint32_t>(p_nStrength) & 0xFFF) << 4;
    if (nValue > 1000) return 1000;
    if (nValue <= 99) return 100;
    return static_cast<uint16_t>(nValue);
}

}  // namespace

bool readIqItem(const iq_site_st& p_stSite, void* p_pData, int& p_nResult) {
    int nStatus = vendor_isp_get_iq(p_stSite.nItem, p_pData);
    if (nStatus == 0) return true;
    p_nResult = nStatus == kStatusNothingToDo ? 0 : reportIqFailure(p_stSite, nStatus);
    return false;
}

int writeIqItem(const iq_site_st& p_stSite, void* p_pData) {
    int nStatus = vendor_isp_set_iq(p_stSite.nItem, p_pData);
    if (nStatus == 0 || nStatus == kStatusNothingToDo) return 0;
    return reportIqFailure(p_stSite, nStatus);
}

extern "C" int isp_set_hdr(int p_nPipe, int p_nStrength) {
    iqt_shdr_param_st stItem{};
    stItem.pipe = static_cast<uint32_t>(p_nPipe);
    int nResult = 0;
    if (!readIqItem({__func__, __LINE__, IQT_ITEM_SHDR_PARAM}, &stItem, nResult)) return nResult;
    if (p_nStrength == 0) return 0;  // read only
    stItem.strength = shdrStrength(p_nStrength);
    return writeIqItem({__func__, __LINE__, IQT_ITEM_SHDR_PARAM}, &stItem);
}
