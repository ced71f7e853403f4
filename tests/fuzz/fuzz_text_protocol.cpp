// The host's text protocol. Input: a pair text, optionally followed by the separator byte and a
// list text (otherwise the pair text serves as both). The pair text is decoded in both forms,
// printed back and decoded again, and both texts go through a controller set up for key work.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ControllerAccess.h"
#include "FuzzSupport.h"
#include "RecordingVideoModule.h"
#include "SensorKeyVal.h"

namespace {

bool sameRecords(const KeyVal* p_pA, const KeyVal* p_pB, size_t p_nCount) {
    for (size_t i = 0; i < p_nCount; ++i) {
        if (p_pA[i].key != p_pB[i].key || p_pA[i].value != p_pB[i].value) return false;
    }
    return true;
}

// Each group a decode produces ends at its own ")", so that many records hold every group.
std::vector<KeyVal> roomFor(const std::string& p_strText) {
    return std::vector<KeyVal>(
        static_cast<size_t>(std::count(p_strText.begin(), p_strText.end(), ')')));
}

void decodeAndPrint(const std::string& p_strText, unsigned int p_nRoom) {
    std::vector<KeyVal> vecAll = roomFor(p_strText);
    unsigned int nCount = 0;
    keyval_str2st(p_strText, vecAll.data(), &nCount);
    FUZZ_CHECK(nCount <= vecAll.size());

    std::vector<KeyVal> vecBounded(p_nRoom);
    unsigned int nBounded = 99;
    bool bFits = keyval_str2st(p_strText, vecBounded.data(), &nBounded, p_nRoom);
    FUZZ_CHECK(bFits == (nCount <= p_nRoom));
    FUZZ_CHECK(nBounded == (bFits ? nCount : 0));
    FUZZ_CHECK(!bFits || sameRecords(vecAll.data(), vecBounded.data(), nCount));

    // What the printer writes decodes to the same records.
    std::string strPrinted;
    keyval_st2str(strPrinted, vecAll.data(), nCount);
    std::vector<KeyVal> vecAgain = roomFor(strPrinted);
    unsigned int nAgain = 0;
    keyval_str2st(strPrinted, vecAgain.data(), &nAgain);
    FUZZ_CHECK(nAgain == nCount);
    FUZZ_CHECK(sameRecords(vecAll.data(), vecAgain.data(), nCount));

    keyval_correct(0, vecAll.data(), nCount);
}

void throughController(const std::string& p_strPairs, const std::string& p_strIds,
                       bool p_bUpdateCache) {
    static RecordingVideoModule s_objVideo;
    static ISensorController* s_pCtl = [] {
        ISensorController* pCtl = new ISensorController;
        pCtl->setVideoStreamModule(&s_objVideo);
        return pCtl;
    }();
    ISensorController& objCtl = *s_pCtl;
    s_objVideo.clearNotifications();
    Access::prepare(objCtl, 4, fuzz::sampleScheme(), 0);
    Access::status(objCtl) = SensorStatus::bInitialized;

    objCtl.setParameters(p_strPairs, p_bUpdateCache);
    std::string strAnswer;
    objCtl.getParameters(p_strIds, strAnswer);
    std::vector<std::string> vecItems;
    objCtl.parseSensorParameter(p_strIds, vecItems);
    std::string strCheck = p_strIds;
    objCtl.SensorCheck(strCheck);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize) {
    fuzz::beginInput(false);
    std::vector<std::string> vecParts = fuzz::splitParts(p_pData, p_nSize, 2);
    const std::string& strPairs = vecParts[0];
    const std::string& strIds = vecParts[1].empty() ? vecParts[0] : vecParts[1];
    decodeAndPrint(strPairs, static_cast<unsigned int>(strIds.size() % 24));
    throughController(strPairs, strIds, p_nSize % 2 == 0);
    return 0;
}
