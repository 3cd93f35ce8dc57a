#!/usr/bin/env bash
# Builds the fuzz targets with clang++ (libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer), makes their seed corpora with our own code, and runs each
# target for a number of seconds:
#
#   scripts/fuzz.sh [SECONDS]        (default 60)
#
# The corpora grow in build/fuzz/corpus; a finding is kept as build/fuzz/crash-TARGET-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir=build/fuzz

cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBREVANTA_FUZZ=ON -DBREVANTA_WERROR=ON
cmake --build "$dir" -j "$(nproc)"
rm -rf "$dir/seeds"
"$dir/tests/fuzz/make-fuzz-seeds" "$dir/seeds"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
for target in number_text reports field_path bsf_reading history_names; do
    corpus="$dir/corpus/$target"
    log="$dir/fuzz_$target.log"
    mkdir -p "$corpus"
    echo "== fuzz_$target, ${seconds} s"
    if ! "$dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$dir/crash-$target-" \
        "$corpus" "$dir/seeds/$target" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz_$target found a failure; the input is kept in $dir/crash-$target-*" >&2
        exit 1
    fi
    grep -E "^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units)" "$log" || true
done
