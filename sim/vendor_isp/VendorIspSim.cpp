// Simulated vendor ISP library: a per-pipe store of IQ items behind the calls the plug-ins make.
#include "VendorIspSim.h"

#include <cstring>
#include <map>
#include <mutex>

extern "C" {
vendor_po_params_st gst_po_params[VENDOR_ISP_PIPE_NUM];
vendor_ae_params_st gst_ae_params;
}

namespace {

struct Model {
    std::mutex mutex;
    std::vector<vendorsim::Call> vecCalls;
    std::map<std::pair<vendorsim::Op, int>, int> mapStatus;        // (op, item) -> status
    std::map<std::pair<int, int>, std::vector<uint8_t>> mapItems;  // (pipe, item) -> record
};

Model& model() {
    static Model* s_pModel = new Model;  // never destroyed: calls may come during exit
    return *s_pModel;
}

int injectedStatus(const Model& m, vendorsim::Op p_eOp, int p_nItem) {
    for (int nItem : {p_nItem, -1}) {
        auto it = m.mapStatus.find({p_eOp, nItem});
        if (it != m.mapStatus.end()) return it->second;
    }
    return 0;
}

int firstWord(const void* p_pData) {
    uint32_t nWord = 0;
    memcpy(&nWord, p_pData, sizeof nWord);
    return static_cast<int>(nWord);
}

// Answers a read from the store, or with a zero record that carries the pipe.
void answer(Model& m, vendorsim::Call& call, size_t p_nSize, void* p_pData) {
    auto it = m.mapItems.find({call.pipe, call.item});
    if (it != m.mapItems.end()) {
        call.bytes = it->second;
    } else {
        call.bytes.assign(p_nSize, 0);
        memcpy(call.bytes.data(), p_pData, sizeof(uint32_t));
    }
    memcpy(p_pData, call.bytes.data(), p_nSize);
}

int serve(vendorsim::Op p_eOp, int p_nItem, void* p_pData) {
    Model& m = model();
    std::lock_guard<std::mutex> lock(m.mutex);
    vendorsim::Call call{p_eOp, p_nItem, 0, {}};
    size_t nSize = vendorsim::itemSize(p_eOp, p_nItem);
    if (p_eOp != vendorsim::Op::SetAe && p_pData) call.pipe = firstWord(p_pData);
    int nStatus = injectedStatus(m, p_eOp, p_nItem);
    if (nStatus == 0 && (nSize == 0 || !p_pData)) nStatus = -1;
    if (nStatus == 0 && p_eOp == vendorsim::Op::GetIq) {
        answer(m, call, nSize, p_pData);
    } else if (nStatus == 0) {
        const uint8_t* pBytes = static_cast<const uint8_t*>(p_pData);
        call.bytes.assign(pBytes, pBytes + nSize);
        if (p_eOp == vendorsim::Op::SetIq) m.mapItems[{call.pipe, p_nItem}] = call.bytes;
    }
    m.vecCalls.push_back(call);
    return nStatus;
}

}  // namespace

extern "C" int vendor_isp_get_iq(int item, void* data) {
    return serve(vendorsim::Op::GetIq, item, data);
}

extern "C" int vendor_isp_set_iq(int item, void* data) {
    return serve(vendorsim::Op::SetIq, item, data);
}

extern "C" int vendor_isp_set_ae(int item, void* data) {
    return serve(vendorsim::Op::SetAe, item, data);
}

namespace vendorsim {

void reset() {
    Model& m = model();
    std::lock_guard<std::mutex> lock(m.mutex);
    m.vecCalls.clear();
    m.mapStatus.clear();
    m.mapItems.clear();
    memset(gst_po_params, 0, sizeof gst_po_params);
    memset(&gst_ae_params, 0, sizeof gst_ae_params);
}

std::vector<Call> calls() {
    std::lock_guard<std::mutex> lock(model().mutex);
    return model().vecCalls;
}

void clearCalls() {
    std::lock_guard<std::mutex> lock(model().mutex);
    model().vecCalls.clear();
}

void setStatus(Op p_eOp, int p_nItem, int p_nStatus) {
    std::lock_guard<std::mutex> lock(model().mutex);
    if (p_nStatus == 0) {
        model().mapStatus.erase({p_eOp, p_nItem});
    } else {
        model().mapStatus[{p_eOp, p_nItem}] = p_nStatus;
    }
}

void setItem(int p_nPipe, int p_nItem, std::vector<uint8_t> p_vecBytes) {
    uint32_t nPipe = static_cast<uint32_t>(p_nPipe);
    if (p_vecBytes.size() >= sizeof nPipe) memcpy(p_vecBytes.data(), &nPipe, sizeof nPipe);
    std::lock_guard<std::mutex> lock(model().mutex);
    model().mapItems[{p_nPipe, p_nItem}] = std::move(p_vecBytes);
}

bool getItem(int p_nPipe, int p_nItem, std::vector<uint8_t>& p_vecBytes) {
    std::lock_guard<std::mutex> lock(model().mutex);
    auto it = model().mapItems.find({p_nPipe, p_nItem});
    if (it == model().mapItems.end()) return false;
    p_vecBytes = it->second;
    return true;
}

size_t itemSize(Op p_eOp, int p_nItem) {
    if (p_eOp == Op::SetAe) return p_nItem == AET_ITEM_29 ? 3 * sizeof(uint32_t) : 0;
    switch (p_nItem) {
        case IQT_ITEM_DEFOG_PARAM:
            return sizeof(iqt_defog_param_st);
        case IQT_ITEM_SHDR_PARAM:
            return sizeof(iqt_shdr_param_st);
        default:
            return 0;
    }
}

}  // namespace vendorsim
