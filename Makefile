# Wraps CMake: `make run` builds and runs the simulated camera, `make test` builds and runs the
# test suite, `make asan` and `make tsan` run it under the sanitizers.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DLUXTUNE_WERROR=ON

.PHONY: all deps build run test asan tsan clean

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

clean:
	rm -rf build build-asan build-tsan
