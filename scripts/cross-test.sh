#!/bin/sh
# Cross-builds everything for AArch64 (library, stand-ins, plug-ins, simulated camera, tests)
# and runs the whole test suite under qemu-aarch64. Installs what it needs from Debian first.
set -eu
cd "$(dirname "$0")/.."

if ! dpkg --print-foreign-architectures | grep -qx arm64; then
    dpkg --add-architecture arm64
    apt-get update -qq
fi
./scripts/install-deps.sh crossbuild-essential-arm64 qemu-user libtinyxml-dev:arm64 libgtest-dev:arm64 \
    libgmock-dev:arm64

BUILD=build-aarch64
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$(pwd)/cmake/aarch64-linux-gnu.cmake" -DLUXTUNE_WERROR=ON
cmake --build "$BUILD" -j"$(nproc)"
file "$BUILD/sensor/libluxtune.so.1.0.0"
cd "$BUILD"
ctest --output-on-failure -j"$(nproc)"
