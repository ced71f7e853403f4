# Wraps CMake: `make run` builds and runs the simulated camera, `make test` builds and runs the
# test suite, `make asan` and `make tsan` run it under the sanitizers.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DLUXTUNE_WERROR=ON

.PHONY: all deps build run test asan tsan fuzz soak powercut bench cross clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/tools/luxtune-sim

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

asan: deps
	cmake -S . -B build-asan $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUXTUNE_SANITIZE=address,undefined
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

tsan: deps
	cmake -S . -B build-tsan $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUXTUNE_SANITIZE=thread
	cmake --build build-tsan -j$(JOBS)
	cd build-tsan && TSAN_OPTIONS=halt_on_error=1:allocator_may_return_null=1 GTEST_DEATH_TEST_STYLE=threadsafe ctest --output-on-failure -j$(JOBS)

# Each fuzz target for FUZZ_SECONDS (clang and its fuzzer runtime are installed when missing).
FUZZ_SECONDS ?= 60
fuzz:
	./scripts/fuzz.sh $(FUZZ_SECONDS)

# The concurrency soak for SOAK_SECONDS, then under ThreadSanitizer and AddressSanitizer.
SOAK_SECONDS ?= 60
soak: build
	$(BUILD)/tests/soak/luxtune_soak --seconds $(SOAK_SECONDS)
	cmake -S . -B build-tsan $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUXTUNE_SANITIZE=thread
	cmake --build build-tsan -j$(JOBS) --target luxtune_soak
	TSAN_OPTIONS=halt_on_error=1:allocator_may_return_null=1 build-tsan/tests/soak/luxtune_soak --seconds $(SOAK_SECONDS)
	cmake -S . -B build-asan $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUXTUNE_SANITIZE=address,undefined
	cmake --build build-asan -j$(JOBS) --target luxtune_soak
	ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 build-asan/tests/soak/luxtune_soak --seconds $(SOAK_SECONDS)

# Power cuts at every step of the saves, and the damaged-device cases.
powercut: build
	cd $(BUILD) && ctest --output-on-failure -R 'PowerCut|HostileEnv'

# Each operation against the least it could cost (Release build, no-op ISP), the memory figures
# and the stripped sizes. BENCH_ARGS go to Google Benchmark (e.g. --benchmark_min_time=0.01).
BENCH_ARGS ?=
bench: deps
	cmake -S . -B build-bench $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DLUXTUNE_BUILD_BENCH=ON -DLUXTUNE_BUILD_TESTS=OFF
	cmake --build build-bench -j$(JOBS)
	build-bench/bench/luxtune_bench $(BENCH_ARGS)
	./bench/sizes.sh build-bench

# Cross-build for AArch64 and run the whole suite under qemu-aarch64.
cross:
	./scripts/cross-test.sh

clean:
	rm -rf build build-asan build-tsan build-fuzz build-bench build-aarch64
