// Start-up, the UI style and the full export, each against the least it could cost: TinyXML
// parsing and printing the same documents as many times as the operation must.
#include <malloc.h>
#include <tinyxml.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "BenchSupport.h"
#include "ControllerAccess.h"
#include "SensorKeyVal.h"
#include "ZqSim.h"

namespace {

std::string readFile(const std::string& p_strPath) {
    std::ifstream in(p_strPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string print(const TiXmlDocument& p_objDoc) {
    TiXmlPrinter objPrinter;
    p_objDoc.Accept(&objPrinter);
    return objPrinter.Str();
}

// The documents one channel's start parses and prints: the style and its diversity document
// are parsed, the merged style printed to its file and parsed back, then adapted to the ISP,
// printed, and parsed once more for the factory values.
struct ChannelDocs {
    std::string strStyle;
    std::string strDiversity;
    std::string strMerged;
};

ChannelDocs docsOf(const char* p_szSuffix, int p_nChannel) {
    ChannelDocs docs;
    docs.strStyle = readFile(bench::rootPath(
        std::string("/hd1/moduleConfig/sensorConfig/style/Style") + p_szSuffix + ".xml"));
    docs.strDiversity = readFile(bench::rootPath(
        std::string("/hd1/moduleConfig/sensorConfig/styleDiversity/StyleDiversity") + p_szSuffix +
        ".xml"));
    docs.strMerged =
        readFile(bench::rootPath("/tmp/merge_style_ch" + std::to_string(p_nChannel) + ".xml"));
    return docs;
}

void xmlFloorOfStart(const ChannelDocs& p_docs) {
    TiXmlDocument objStyle, objDiversity, objMerged, objDna;
    objStyle.Parse(p_docs.strStyle.c_str());
    objDiversity.Parse(p_docs.strDiversity.c_str());
    std::string strMerged = print(objStyle);
    objMerged.Parse(p_docs.strMerged.c_str());
    std::string strDna = print(objMerged);
    objDna.Parse(strDna.c_str());
    benchmark::DoNotOptimize(strMerged);
}

// The time of each channel's init; stopping the channels again is outside the measurement (and
// the framework's pauses are shrunk, so that stopping does not wait out a one-second pass).
void BM_Init(benchmark::State& state, const char* p_szVariant, int p_nChannels) {
    bench::useDevice(p_szVariant);
    zqsim::setTimeScale(0.001);
    for (auto _ : state) {
        std::unique_ptr<ISensorController> apCtl[2];
        for (int nChannel = 1; nChannel <= p_nChannels; ++nChannel)
            apCtl[nChannel - 1] = bench::startController(nChannel);
        state.PauseTiming();
        for (int nChannel = 1; nChannel <= p_nChannels; ++nChannel)
            apCtl[nChannel - 1]->uinit();
        apCtl[0].reset();
        apCtl[1].reset();
        state.ResumeTiming();
    }
    zqsim::setTimeScale(1);
}
BENCHMARK_CAPTURE(BM_Init, bullet, "bullet", 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Init, thermal_dual, "thermal-dual", 2)->Unit(benchmark::kMicrosecond);

void BM_Floor_InitXml(benchmark::State& state, const char* p_szVariant, int p_nChannels) {
    bench::useDevice(p_szVariant);
    std::vector<ChannelDocs> vecDocs;
    for (int nChannel = 1; nChannel <= p_nChannels; ++nChannel) {
        bench::startController(nChannel)->uinit();  // leaves the channel's merged style file
        vecDocs.push_back(docsOf(nChannel == 2 ? "_Thermal" : "", nChannel));
    }
    for (auto _ : state) {
        for (const ChannelDocs& docs : vecDocs)
            xmlFloorOfStart(docs);
    }
}
BENCHMARK_CAPTURE(BM_Floor_InitXml, bullet, "bullet", 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Floor_InitXml, thermal_dual, "thermal-dual", 2)->Unit(benchmark::kMicrosecond);

ISensorController& bulletController() {
    static std::unique_ptr<ISensorController> s_pCtl = [] {
        bench::useDevice("bullet");
        return bench::startController(1);
    }();
    return *s_pCtl;
}

void BM_GetUIStyleFile(benchmark::State& state) {
    ISensorController& objCtl = bulletController();
    for (auto _ : state)
        benchmark::DoNotOptimize(objCtl.getUIStyleFile());
}
BENCHMARK(BM_GetUIStyleFile)->Unit(benchmark::kMicrosecond);

// The least for the UI style: parsing the merged style and printing it.
void BM_Floor_StyleXml(benchmark::State& state) {
    std::string strMerged = Access::sysConf(bulletController()).szUIStyle;
    for (auto _ : state) {
        TiXmlDocument objDoc;
        objDoc.Parse(strMerged.c_str());
        benchmark::DoNotOptimize(print(objDoc));
    }
}
BENCHMARK(BM_Floor_StyleXml)->Unit(benchmark::kMicrosecond);

void BM_GetAllParameters(benchmark::State& state) {
    ISensorController& objCtl = bulletController();
    for (auto _ : state) {
        std::string strAll;
        objCtl.getAllParameters(strAll);
        benchmark::DoNotOptimize(strAll);
    }
}
BENCHMARK(BM_GetAllParameters)->Unit(benchmark::kMicrosecond);

// The least for the export: reading and parsing the merged style file for the shutter marker,
// and printing the scheme as pair text.
void BM_Floor_ExportXml(benchmark::State& state) {
    ISensorController& objCtl = bulletController();
    std::string strPath = bench::rootPath("/tmp/merge_style_ch1.xml");
    const KeyVal* pArr = Access::scheme(objCtl, 0);
    std::vector<KeyVal> vecRecords(pArr, pArr + Access::keyValSum(objCtl));
    for (auto _ : state) {
        TiXmlDocument objDoc;
        objDoc.LoadFile(strPath.c_str());
        std::string strAll;
        keyval_st2str(strAll, vecRecords.data(), static_cast<unsigned>(vecRecords.size()));
        benchmark::DoNotOptimize(strAll);
    }
}
BENCHMARK(BM_Floor_ExportXml)->Unit(benchmark::kMicrosecond);

}  // namespace

static const bool g_bFloors = [] {
    bench::registerFloor("BM_Init/bullet", "BM_Floor_InitXml/bullet");
    bench::registerFloor("BM_Init/thermal_dual", "BM_Floor_InitXml/thermal_dual");
    bench::registerFloor("BM_GetUIStyleFile", "BM_Floor_StyleXml");
    bench::registerFloor("BM_GetAllParameters", "BM_Floor_ExportXml");
    return true;
}();

namespace bench {

// The heap one initialised controller holds, beyond what the process held before it.
void heapFigure() {
    useDevice("bullet");
    startController(1)->uinit();  // one-time allocations of the process happen here
    size_t nBefore = mallinfo2().uordblks;
    std::unique_ptr<ISensorController> pCtl = startController(1);
    size_t nAfter = mallinfo2().uordblks;
    char szBuf[64];
    snprintf(szBuf, sizeof szBuf, "%.1f KiB", static_cast<double>(nAfter - nBefore) / 1024.0);
    addFigure("heap held by one initialised controller (bullet)", szBuf);
    pCtl->uinit();
}

}  // namespace bench
