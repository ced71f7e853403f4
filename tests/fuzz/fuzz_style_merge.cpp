// The style merge. Input: style document, separator byte, diversity document, separator byte,
// detail text. The merged style is written to the device root and read back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SensorFile.h"
#include "sensor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize) {
    fuzz::beginInput(false);
    std::vector<std::string> vecParts = fuzz::splitParts(p_pData, p_nSize, 3);

    ModuleConfig stModule;
    memset(&stModule, 0, sizeof stModule);
    strncpy(stModule.szDetail, vecParts[2].c_str(), sizeof stModule.szDetail - 1);
    // The style is replaced by the merge, so it lives in malloc'd memory as init keeps it.
    char* szStyle = static_cast<char*>(malloc(vecParts[0].size() + 1));
    memcpy(szStyle, vecParts[0].c_str(), vecParts[0].size() + 1);
    std::unique_ptr<char[]> pDiversity = fuzz::exactText(vecParts[1]);

    mergeStyle(1, &stModule, &szStyle, pDiversity.get());
    FUZZ_CHECK(szStyle != nullptr);
    free(szStyle);
    return 0;
}
