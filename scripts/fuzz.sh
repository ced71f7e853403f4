#!/bin/sh
# Builds the libFuzzer targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs each for a bounded time on a working copy of its seed corpus and kept crashes.
#
#   scripts/fuzz.sh [seconds-per-target] [target...]      (default: 60 seconds, every target)
#
# Everything it writes stays in build-fuzz/ (the working corpora, logs and crashing inputs in
# build-fuzz/fuzz-run/<target>/). Exits non-zero when any target found a crash, a hang, a leak or
# ran out of memory, naming the file that holds the input.
set -eu
cd "$(dirname "$0")/.."

SECS=${1:-60}
[ $# -gt 0 ] && shift
case "$SECS" in
    '' | *[!0-9]*)
        echo "usage: $0 [seconds-per-target] [target...]" >&2
        exit 2
        ;;
esac

./scripts/install-deps.sh clang libclang-rt-14-dev

BUILD=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -DLUXTUNE_FUZZ=ON -DLUXTUNE_SANITIZE=address,undefined \
    -DLUXTUNE_BUILD_TESTS=OFF -DLUXTUNE_WERROR=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"

if [ $# -gt 0 ]; then
    TARGETS="$*"
else
    TARGETS=$(for f in tests/fuzz/fuzz_*.cpp; do basename "$f" .cpp | sed 's/^fuzz_//'; done)
fi

: "${UBSAN_OPTIONS:=print_stacktrace=1}"
export UBSAN_OPTIONS
RUN="$(pwd)/$BUILD/fuzz-run"
FAILED=""
for name in $TARGETS; do
    exe="$BUILD/tests/fuzz/fuzz_$name"
    if [ ! -x "$exe" ]; then
        echo "no fuzz target named $name ($exe)" >&2
        exit 2
    fi
    work="$RUN/$name"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/crashes" "$work/tmp"
    cp tests/fuzz/corpus/"$name"/* "$work/corpus/"
    echo "== fuzz_$name: $SECS s"
    # The kept crashes run once first; they stay out of the working corpus, where their size
    # would raise the length of every mutated input.
    set -- -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 -artifact_prefix="$work/crashes/"
    status=0
    if [ -d "tests/fuzz/regressions/$name" ]; then
        TMPDIR="$work/tmp" "$exe" "$@" tests/fuzz/regressions/"$name"/* >"$work/regressions.log" 2>&1 ||
            status=$?
    fi
    if [ "$status" -eq 0 ]; then
        TMPDIR="$work/tmp" "$exe" "$@" -max_total_time="$SECS" -print_final_stats=1 \
            "$work/corpus" >"$work/fuzz.log" 2>&1 || status=$?
    else
        cp "$work/regressions.log" "$work/fuzz.log"
    fi
    grep -E '^#[0-9]+.*DONE|^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' \
        "$work/fuzz.log" || true
    crashes=$(ls "$work/crashes")
    if [ "$status" -ne 0 ] || [ -n "$crashes" ]; then
        FAILED="$FAILED $name"
        tail -n 60 "$work/fuzz.log"
        echo "fuzz_$name failed (exit status $status); log: $work/fuzz.log"
        for f in $crashes; do echo "input saved in $work/crashes/$f"; done
    fi
    rm -rf "$work/tmp"
done

if [ -n "$FAILED" ]; then
    echo "fuzzing found problems in:$FAILED" >&2
    exit 1
fi
echo "fuzzing: every target ran $SECS s clean"
