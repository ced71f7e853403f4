#!/bin/sh
# Installs the build into a fresh prefix, then builds the example host against that prefix only
# (through the CMake package and through pkg-config) and runs both on the installed sample tree.
#   check_install.sh <build dir> <source dir> <c++ compiler> [emulator words...]
# LUXTUNE_TOOLCHAIN and LUXTUNE_SANITIZE, when set, are handed to the example's build.
set -eu
BUILD=$1
SRC=$2
CXX=$3
shift 3
WORK=$(mktemp -d /tmp/luxtune-install-XXXXXX)
trap 'rm -rf "$WORK"' EXIT

cmake --install "$BUILD" --prefix "$WORK/prefix" >/dev/null

FLAGS=""
[ -n "${LUXTUNE_SANITIZE:-}" ] && FLAGS="-fsanitize=$LUXTUNE_SANITIZE"
TOOLCHAIN_ARG=""
[ -n "${LUXTUNE_TOOLCHAIN:-}" ] && TOOLCHAIN_ARG="-DCMAKE_TOOLCHAIN_FILE=$LUXTUNE_TOOLCHAIN"
cmake -S "$SRC/examples/host" -B "$WORK/host" -DCMAKE_PREFIX_PATH="$WORK/prefix" $TOOLCHAIN_ARG \
    -DCMAKE_CXX_FLAGS="$FLAGS" -DCMAKE_EXE_LINKER_FLAGS="$FLAGS" >/dev/null
cmake --build "$WORK/host" >/dev/null

PC="$WORK/prefix/lib/pkgconfig/luxtune.pc"
CFLAGS=$(PKG_CONFIG_PATH="$WORK/prefix/lib/pkgconfig" pkg-config --cflags luxtune)
LIBS=$(PKG_CONFIG_PATH="$WORK/prefix/lib/pkgconfig" pkg-config --libs luxtune)
[ -f "$PC" ]
"$CXX" -std=c++17 $FLAGS $CFLAGS "$SRC/examples/host/main.cpp" -o "$WORK/host_pc" $LIBS \
    -Wl,-rpath,"$WORK/prefix/lib"

for host in "$WORK/host/example_host" "$WORK/host_pc"; do
    rm -rf "$WORK/root"
    cp -r "$WORK/prefix/share/luxtune/device" "$WORK/root"
    LUXTUNE_ROOT="$WORK/root" "$@" "$host" >/dev/null
done
echo "installed prefix, CMake package and pkg-config file all serve a host"
