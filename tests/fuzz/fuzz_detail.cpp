// The module's detail text. Input: a detail text, optionally preceded by a field name and the
// separator byte. Every field the library reads is looked up with both readers, and the system
// configuration is built from a module with that detail on the sample device tree.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "SensorFile.h"
#include "sensor.h"

namespace {

constexpr size_t kValueRoom = 10;  // what the library's callers give the string reader

void readField(const char* p_szDetail, const char* p_szName) {
    std::unique_ptr<char[]> pValue(new char[kValueRoom]);
    memset(pValue.get(), '?', kValueRoom);
    if (getDetailFieldToStr(p_szDetail, p_szName, pValue.get()) == 0) {
        FUZZ_CHECK(memchr(pValue.get(), '\0', kValueRoom) != nullptr);
    }
    u32 nValue = 0;
    getDetailFieldTou32(p_szDetail, p_szName, &nValue);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_pData, size_t p_nSize) {
    fuzz::beginInput(true);
    std::vector<std::string> vecParts = fuzz::splitParts(p_pData, p_nSize, 2);
    bool bNamed = p_nSize > 0 && memchr(p_pData, fuzz::kSeparator, p_nSize) != nullptr;
    const std::string& strDetail = bNamed ? vecParts[1] : vecParts[0];
    std::unique_ptr<char[]> pDetail = fuzz::exactText(strDetail);

    for (const char* szName :
         {"max_scheme", "lensId", "isInfrared", "sensor", "board", "fusion", ""}) {
        readField(pDetail.get(), szName);
    }
    if (bNamed) readField(pDetail.get(), fuzz::exactText(vecParts[0]).get());

    ModuleConfigure objModule;
    objModule.setModuleId(1);
    objModule.setDetail(strDetail);
    SysConfig stConf;
    initSysConf(1, objModule, &stConf);
    uinitSysConf(&stConf);
    return 0;
}
