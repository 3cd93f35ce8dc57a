#!/usr/bin/env bash
# Checks that every C++ file is laid out as .clang-format says, then builds and runs the
# whole test suite headless, twice: a normal build with warnings as errors, and one under
# AddressSanitizer and UndefinedBehaviorSanitizer; then checks the installed tree and the
# Debian package, and runs every fuzz target for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
jobs=$(nproc)

echo "== Layout of the C++ files (clang-format)"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANTA_WERROR=ON "$@"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== Normal build"
run_suite build/test
echo "== AddressSanitizer + UndefinedBehaviorSanitizer build"
run_suite build/test-sanitize -DBREVANTA_SANITIZE=ON

echo "== Install tree and Debian package"
scripts/check-install.sh

# The fuzz targets: a clang build of their own (scripts/fuzz.sh), 30 seconds each.
echo "== Fuzz targets (clang, libFuzzer, ASan + UBSan), 30 s each"
scripts/fuzz.sh 30
