// Defog hook of the zoom module: sets the vendor's defog item of a channel's pipe from the
// framework's strength, in one of two ways the vendor's pipe record chooses.
#include <stdint.h>

#include "IpipeParams.h"
#include "SensorPlugin.h"
#include "vendor_isp.h"

namespace {

// Word 272 of the pipe record set.
void setDefogFixedEntries(iqt_defog_param_st& p_stItem, uint32_t p_nStrength) {
    p_stItem.byte16 = static_cast<uint8_t>(7 - (p_nStrength >> 12));
    p_stItem.byte17 = static_cast<uint8_t>(16 - ((7 * p_nStrength) >> 14));
    for (iqt_defog_entry_st& stEntry : p_stItem.entry) {
        stEntry.word0 = 128;
        stEntry.byte5 = 128;
    }
}

// Word 272 clear.
void setDefogScaledEntries(iqt_defog_param_st& p_stItem, uint32_t p_nStrength) {
    p_stItem.byte16 = 3;
    p_stItem.byte17 = 6;
    uint32_t nDrop = (118 * p_nStrength) >> 14;
    for (iqt_defog_entry_st& stEntry : p_stItem.entry) {
        stEntry.word0 = static_cast<uint16_t>(128 - nDrop);
        stEntry.byte5 = static_cast<uint8_t>(128 - nDrop);
    }
}

}  // namespace

extern "C" SENSOR_EXPORT int isp_defog_set(int p_nChannel, uint32_t p_nStrength) {
    iqt_defog_param_st stItem{};
    int nPipe = isp_pipe_get(p_nChannel);
    if (nPipe < 0 || nPipe >= VENDOR_ISP_PIPE_NUM) return -1;  // no such pipe in the vendor's table
    const vendor_po_params_st& stPipe = gst_po_params[nPipe];
    if (stPipe.word144 == 1) return 0;
    // The pipe goes in before the read, so that the item read and written back is this pipe's.
    stItem.pipe = static_cast<uint32_t>(nPipe);
    int nResult = 0;
    if (!readIqItem({__func__, __LINE__, IQT_ITEM_DEFOG_PARAM}, &stItem, nResult)) return nResult;
    if (stPipe.word272 != 0) {
        setDefogFixedEntries(stItem, p_nStrength);
    } else {
        setDefogScaledEntries(stItem, p_nStrength);
    }
    return writeIqItem({__func__, __LINE__, IQT_ITEM_DEFOG_PARAM}, &stItem);
}
