// Shared pieces of the benchmarks: a device root on a copy of the sample tree, controllers
// started on it, the allocation counter, and the table of ratios to each floor.
#pragma once

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "ISensorController.h"

namespace bench {

// Heap allocations made by this process since it started (malloc, calloc, realloc, new).
long allocations();
// Calls of the (no-op) ISP control call since the process started.
long ispCalls();

// A fresh copy of the sample device tree under /tmp with LUXTUNE_ROOT pointing at it, made
// once per process and removed at exit; p_strVariant picks the machine information.
void useDevice(const std::string& p_strVariant);
ModuleConfigure moduleFor(int p_nChannel);
std::string rootPath(const std::string& p_strDevicePath);

// A controller bound to a channel and initialised on the current device.
std::unique_ptr<ISensorController> startController(int p_nChannel);

// Declares that p_strFloor is the least the operation p_strName could cost; the final table
// shows their ratio.
void registerFloor(const std::string& p_strName, const std::string& p_strFloor);
// Runs the benchmarks and prints the usual table, then the ratios and the memory figures.
int runAll(int argc, char** argv);

// A memory figure printed after the ratios.
void addFigure(const std::string& p_strName, const std::string& p_strValue);

}  // namespace bench
