#include "BenchSupport.h"

#include "DeviceTree.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace bench {
namespace {

std::string& root() {
    static std::string s_strRoot;
    return s_strRoot;
}

void removeRoot() {
    std::error_code ec;
    if (!root().empty()) fs::remove_all(root(), ec);
}

std::vector<std::pair<std::string, std::string>>& floors() {
    static std::vector<std::pair<std::string, std::string>> s_vecFloors;
    return s_vecFloors;
}

std::vector<std::pair<std::string, std::string>>& figures() {
    static std::vector<std::pair<std::string, std::string>> s_vecFigures;
    return s_vecFigures;
}

// Keeps every run's time per iteration, in nanoseconds, besides printing the usual table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& p_vecRuns) override {
        for (const Run& run : p_vecRuns) {
            if (run.error_occurred || run.iterations == 0) continue;
            m_mapNs[run.benchmark_name()] =
                run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(p_vecRuns);
    }
    const std::map<std::string, double>& times() const { return m_mapNs; }

  private:
    std::map<std::string, double> m_mapNs;
};

std::string formatNs(double p_dNs) {
    char szBuf[32];
    if (p_dNs >= 1e6) {
        snprintf(szBuf, sizeof szBuf, "%.2f ms", p_dNs / 1e6);
    } else if (p_dNs >= 1e3) {
        snprintf(szBuf, sizeof szBuf, "%.2f us", p_dNs / 1e3);
    } else {
        snprintf(szBuf, sizeof szBuf, "%.0f ns", p_dNs);
    }
    return szBuf;
}

void printRatios(std::ostream& p_out, const std::map<std::string, double>& p_mapNs) {
    p_out << "\nOperation against its floor (same run)\n";
    p_out << "| operation | time | floor | floor time | ratio |\n|---|---|---|---|---|\n";
    for (const auto& pair : floors()) {
        auto itOp = p_mapNs.find(pair.first);
        auto itFloor = p_mapNs.find(pair.second);
        if (itOp == p_mapNs.end() || itFloor == p_mapNs.end() || itFloor->second <= 0) continue;
        char szRatio[32];
        snprintf(szRatio, sizeof szRatio, "%.1f", itOp->second / itFloor->second);
        p_out << "| " << pair.first << " | " << formatNs(itOp->second) << " | " << pair.second
              << " | " << formatNs(itFloor->second) << " | " << szRatio << " |\n";
    }
}

}  // namespace

void useDevice(const std::string& p_strVariant) {
    if (root().empty()) {
        char szTemplate[] = "/tmp/luxtune-bench-XXXXXX";
        const char* szRoot = mkdtemp(szTemplate);
        if (!szRoot) throw std::runtime_error("cannot make a device root");
        root() = szRoot;
        fs::copy(LUXTUNE_DEVICE_TREE, root(), fs::copy_options::recursive);
        setenv("LUXTUNE_ROOT", root().c_str(), 1);
        atexit(removeRoot);
    }
    fs::copy_file(root() + "/variants/" + p_strVariant + "/machineinfo.ini",
                  root() + "/mnt/mtd/code/factory_setting/machineinfo.ini",
                  fs::copy_options::overwrite_existing);
}

std::string rootPath(const std::string& p_strDevicePath) {
    return root() + p_strDevicePath;
}

ModuleConfigure moduleFor(int p_nChannel) {
    return channelModule(p_nChannel);
}

std::unique_ptr<ISensorController> startController(int p_nChannel) {
    auto pCtl = std::make_unique<ISensorController>();
    pCtl->setChannelID(p_nChannel);
    pCtl->init(moduleFor(p_nChannel));
    return pCtl;
}

void registerFloor(const std::string& p_strName, const std::string& p_strFloor) {
    floors().push_back({p_strName, p_strFloor});
}

void addFigure(const std::string& p_strName, const std::string& p_strValue) {
    figures().push_back({p_strName, p_strValue});
}

int runAll(int argc, char** argv) {
    // The library's own output (a line feed after each batch, traces) would drown the table.
    fflush(stdout);
    if (!freopen("/dev/null", "w", stdout)) return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter objReporter;
    objReporter.SetOutputStream(&std::cerr);
    objReporter.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&objReporter);
    printRatios(std::cerr, objReporter.times());
    std::cerr << "\nMemory\n| figure | value |\n|---|---|\n";
    for (const auto& figure : figures())
        std::cerr << "| " << figure.first << " | " << figure.second << " |\n";
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
