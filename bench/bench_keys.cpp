// Key lookup, single-key writes, batches, scheme switches and the text protocol, each against
// the least it could cost: the no-op ISP calls it must make, plus the switch-file checks the
// diagnostics make for each applied key.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "ControllerAccess.h"
#include "SensorKeyVal.h"

namespace {

ISensorController& controller() {
    static std::unique_ptr<ISensorController> s_pCtl = [] {
        bench::useDevice("bullet");
        return bench::startController(1);
    }();
    return *s_pCtl;
}

// Values flipped for a batch in which every value differs; the scheme mode and time window stay,
// so the scheduler does not start switching underneath.
void flipValues(std::vector<KeyVal>& p_vecRecords) {
    for (KeyVal& stRec : p_vecRecords) {
        if (stRec.key < KEY_SCHEME_MODE || stRec.key > KEY_SCHEME_END_MIN) stRec.value ^= 1;
    }
}

std::vector<KeyVal> scheme(u32 p_nScheme) {
    ISensorController& objCtl = controller();
    const KeyVal* pArr = Access::scheme(objCtl, p_nScheme);
    return std::vector<KeyVal>(pArr, pArr + Access::keyValSum(objCtl));
}

// The current scheme's records, which the batch compares with and caches into.
std::vector<KeyVal> current() {
    return scheme(Access::curScheme(controller()).load());
}

// The ISP calls one batch of these records makes.
long ispCallsOf(std::vector<KeyVal> p_vecRecords, bool p_bUpdateCache) {
    long nBefore = bench::ispCalls();
    controller().setParameters(p_vecRecords.data(), static_cast<u32>(p_vecRecords.size()),
                               p_bUpdateCache);
    return bench::ispCalls() - nBefore;
}

// One applied key's floor: the ISP call and the switch-file check of its trace.
void appliedKeyFloor(u32* p_pValue) {
    ia_ioctrl_v2(0, static_cast<ia_cmd_e>(34), IA_CMD_OPT_SET, p_pValue);
    updateDebugLevel();
}

void BM_KeyLookup(benchmark::State& state, u32 p_nKey) {
    ISensorController& objCtl = controller();
    keycmd stRow;
    for (auto _ : state)
        benchmark::DoNotOptimize(objCtl.findFromKeyCmdMap(Access::table(objCtl), p_nKey, stRow));
}
BENCHMARK_CAPTURE(BM_KeyLookup, first, 8240u);
BENCHMARK_CAPTURE(BM_KeyLookup, middle, 1554u);
BENCHMARK_CAPTURE(BM_KeyLookup, last, 773u);
BENCHMARK_CAPTURE(BM_KeyLookup, miss, 99999u);

void BM_SetParameter(benchmark::State& state) {
    ISensorController& objCtl = controller();
    int nValue = 0;
    for (auto _ : state)
        objCtl.setParameter(KEY_BRIGHTNESS, nValue ^= 1, true);
}
BENCHMARK(BM_SetParameter);

void BM_Floor_OneIspCall(benchmark::State& state) {
    u32 nValue = 0;
    for (auto _ : state)
        ia_ioctrl_v2(0, static_cast<ia_cmd_e>(34), IA_CMD_OPT_SET, &nValue);
}
BENCHMARK(BM_Floor_OneIspCall);

// One key through the host path must also make two switch-file checks: the host call's debug
// report and the applied key's trace each re-read "/tmp/Debug.sign".
void BM_Floor_OneKeyWithChecks(benchmark::State& state) {
    u32 nValue = 0;
    for (auto _ : state) {
        updateDebugLevel();
        appliedKeyFloor(&nValue);
    }
}
BENCHMARK(BM_Floor_OneKeyWithChecks);

// Every value differs from the cache: each batch flips the low bit of every value.
void BM_SetParametersAllDiffer(benchmark::State& state) {
    std::vector<KeyVal> vecRecords = current();
    for (auto _ : state) {
        state.PauseTiming();
        flipValues(vecRecords);
        state.ResumeTiming();
        controller().setParameters(vecRecords.data(), static_cast<u32>(vecRecords.size()), true);
    }
}
BENCHMARK(BM_SetParametersAllDiffer);

void BM_Floor_AllDiffer(benchmark::State& state) {
    std::vector<KeyVal> vecRecords = current();
    flipValues(vecRecords);
    long nCalls = ispCallsOf(vecRecords, true);
    u32 nValue = 0;
    for (auto _ : state) {
        for (long i = 0; i < nCalls; ++i)
            appliedKeyFloor(&nValue);
    }
    state.counters["isp_calls"] = static_cast<double>(nCalls);
}
BENCHMARK(BM_Floor_AllDiffer);

void BM_SetParametersNoneDiffer(benchmark::State& state) {
    std::vector<KeyVal> vecRecords = current();
    for (auto _ : state)
        controller().setParameters(vecRecords.data(), static_cast<u32>(vecRecords.size()), true);
}
BENCHMARK(BM_SetParametersNoneDiffer);

// Nothing differs: the least is finding each key in the cached array and comparing its value.
void BM_Floor_NoneDiffer(benchmark::State& state) {
    std::vector<KeyVal> vecRecords = current();
    std::vector<KeyVal> vecCache = vecRecords;
    for (auto _ : state) {
        int nSame = 0;
        for (const KeyVal& stRec : vecRecords) {
            for (const KeyVal& stCached : vecCache) {
                if (stCached.key == stRec.key) {
                    nSame += stCached.value == stRec.value;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(nSame);
    }
}
BENCHMARK(BM_Floor_NoneDiffer);

// Schemes 1 and 2 differ in 10 keys; each iteration switches to the other.
constexpr u32 kTenKeys[] = {KEY_BRIGHTNESS,   KEY_CONTRAST,     KEY_SATURATION,   KEY_SHARPNESS,
                            KEY_GAMMA,        KEY_2D_NR_STRG_A, KEY_2D_NR_STRG_M, KEY_3D_NR_STRG_A,
                            KEY_3D_NR_STRG_M, KEY_WB_RG};

void prepareSwitch() {
    ISensorController& objCtl = controller();
    for (u32 nKey : kTenKeys) {
        u32 nValue = 0;
        objCtl.getKeyValFromCache(1, nKey, nValue);
        objCtl.setKeyValToCache(2, nKey, nValue + 1, false);
    }
    objCtl.switch_to(1, false);
}

void BM_SwitchTenKeys(benchmark::State& state) {
    prepareSwitch();
    int nScheme = 1;
    long nBefore = bench::ispCalls();
    for (auto _ : state)
        controller().switch_to(nScheme = 3 - nScheme, false);
    state.counters["isp_calls"] = benchmark::Counter(
        static_cast<double>(bench::ispCalls() - nBefore), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SwitchTenKeys);

void BM_Floor_TenKeys(benchmark::State& state) {
    u32 nValue = 0;
    for (auto _ : state) {
        for (int i = 0; i < 10; ++i)
            appliedKeyFloor(&nValue);
    }
}
BENCHMARK(BM_Floor_TenKeys);

std::string schemeText() {
    std::vector<KeyVal> vecRecords = scheme(0);
    std::string strText;
    keyval_st2str(strText, vecRecords.data(), static_cast<unsigned>(vecRecords.size()));
    return strText;
}

void BM_DecodePairText(benchmark::State& state) {
    std::string strText = schemeText();
    std::vector<KeyVal> vecOut(200);
    unsigned nCount = 0;
    for (auto _ : state)
        keyval_str2st(strText, vecOut.data(), &nCount, 200);
}
BENCHMARK(BM_DecodePairText);

// The least for decoding: one pass reading two numbers per group.
void BM_Floor_DecodePairText(benchmark::State& state) {
    std::string strText = schemeText();
    std::vector<KeyVal> vecOut(200);
    for (auto _ : state) {
        const char* p = strText.c_str();
        unsigned n = 0;
        while ((p = strchr(p, '(')) != nullptr && n < 200) {
            char* szEnd;
            vecOut[n].key = static_cast<u32>(strtol(p + 1, &szEnd, 10));
            vecOut[n++].value = static_cast<u32>(strtol(szEnd + 1, &szEnd, 10));
            p = szEnd;
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_Floor_DecodePairText);

void BM_EncodePairText(benchmark::State& state) {
    std::vector<KeyVal> vecRecords = scheme(0);
    for (auto _ : state) {
        std::string strText;
        keyval_st2str(strText, vecRecords.data(), static_cast<unsigned>(vecRecords.size()));
        benchmark::DoNotOptimize(strText);
    }
}
BENCHMARK(BM_EncodePairText);

// The least for encoding: printing every group into one buffer.
void BM_Floor_EncodePairText(benchmark::State& state) {
    std::vector<KeyVal> vecRecords = scheme(0);
    std::vector<char> vecBuf(vecRecords.size() * 24 + 1);
    for (auto _ : state) {
        size_t nPos = 0;
        for (const KeyVal& stRec : vecRecords) {
            nPos += static_cast<size_t>(snprintf(&vecBuf[nPos], vecBuf.size() - nPos, "(%d,%d)",
                                                 static_cast<int>(stRec.key),
                                                 static_cast<int>(stRec.value)));
        }
        benchmark::DoNotOptimize(nPos);
    }
}
BENCHMARK(BM_Floor_EncodePairText);

}  // namespace

// Registered at load time, beside the benchmarks above.
static const bool g_bFloors = [] {
    bench::registerFloor("BM_SetParameter", "BM_Floor_OneIspCall");
    bench::registerFloor("BM_SetParameter", "BM_Floor_OneKeyWithChecks");
    bench::registerFloor("BM_SetParametersAllDiffer", "BM_Floor_AllDiffer");
    bench::registerFloor("BM_SetParametersNoneDiffer", "BM_Floor_NoneDiffer");
    bench::registerFloor("BM_SwitchTenKeys", "BM_Floor_TenKeys");
    bench::registerFloor("BM_DecodePairText", "BM_Floor_DecodePairText");
    bench::registerFloor("BM_EncodePairText", "BM_Floor_EncodePairText");
    return true;
}();

namespace bench {

// Heap allocations per applied record in the batch path, and per scheme switch.
void allocationFigures() {
    std::vector<KeyVal> vecRecords = current();
    flipValues(vecRecords);
    long nCalls = ispCallsOf(vecRecords, true);  // warms up buffers once
    long nBefore = allocations();
    constexpr int kBatches = 100;
    for (int i = 0; i < kBatches; ++i) {
        flipValues(vecRecords);
        controller().setParameters(vecRecords.data(), static_cast<u32>(vecRecords.size()), true);
    }
    char szBuf[64];
    snprintf(szBuf, sizeof szBuf, "%.3f",
             static_cast<double>(allocations() - nBefore) / (kBatches * nCalls));
    addFigure("heap allocations per applied record (batch path)", szBuf);
    prepareSwitch();
    nBefore = allocations();
    for (int i = 0; i < kBatches; ++i)
        controller().switch_to(2 - (i % 2), false);
    snprintf(szBuf, sizeof szBuf, "%.3f", static_cast<double>(allocations() - nBefore) / kBatches);
    addFigure("heap allocations per switch_to (10 keys differ)", szBuf);
    controller().switch_to(0, false);
}

}  // namespace bench
