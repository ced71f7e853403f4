#!/bin/sh
# Sizes of the deliverables once stripped, as they would go into a camera's root filesystem.
# Usage: bench/sizes.sh <build folder>
set -eu
BUILD=${1:-build-bench}
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
echo
echo "Stripped sizes"
echo "| file | bytes |"
echo "|---|---|"
for lib in "$BUILD"/sensor/libluxtune.so "$BUILD"/plugins/libsensor-*.so; do
    [ -f "$lib" ] || continue
    strip --strip-all -o "$TMP/out" "$lib"
    echo "| $(basename "$lib") | $(stat -c %s "$TMP/out") |"
done
