#!/usr/bin/env bash
# Times `brevanta-cli report --output-dir` over many generated pilot files against `cat` over
# the same files, and prints the ratio (target: within 3x of cat).
#
#   bench/report-bench.sh [PATH-TO-brevanta-cli]
#
# The program defaults to brevanta-cli on PATH, else build/cli/brevanta-cli of this tree;
# time an optimised build (-DCMAKE_BUILD_TYPE=Release).
# PILOTS sets the number of files (default 10000), RUNS the timed runs of each (default 3;
# the fastest counts), BENCH_DIR the folder to work in (default: a new temporary folder,
# removed afterwards).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$(command -v brevanta-cli || echo "$root/build/cli/brevanta-cli")}"
pilots="${PILOTS:-10000}"
runs="${RUNS:-3}"
[[ -x "$cli" ]] || { echo "no brevanta-cli at $cli (build it or pass its path)" >&2; exit 2; }
cli="$(realpath "$cli")"

if [[ -n "${BENCH_DIR:-}" ]]; then
    work="$BENCH_DIR"
    mkdir -p "$work"
else
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
fi
cd "$work"
rm -rf pilots reports
mkdir pilots reports

# The generator: random records, so that every status, rank and battle occurs and most
# reports hold all 20 battles (the longest report there is).
head -c $((1928 * pilots)) /dev/urandom | split -b 1928 -a 6 -d --additional-suffix=.TFR - pilots/p
files=(pilots/*.TFR)
echo "pilot files: ${#files[@]} in $work ($(df -T . | awk 'NR==2 {print $2}'))"

# "REAL CPU" in seconds (CPU = user + system) of the fastest of several runs. CPU time tells
# the program's own cost apart from waiting on a busy machine.
fastest() {
    local best="" measured
    for ((run = 0; run < runs; run++)); do
        measured=$({ TIMEFORMAT='%R %U %S'; time "$@" 2>/dev/null; } 2>&1)
        best=$(awk -v m="$measured" -v b="$best" 'BEGIN {
            split(m, t, " "); split(b, o, " ")
            print (b == "" || t[1] < o[1]) ? t[1] " " t[2] + t[3] : b }')
    done
    echo "$best"
}

run_cat() { cat "${files[@]}" >/dev/null; }
# Each run writes into a folder of its own, so that every run creates its reports anew.
run_report() {
    local out
    out=$(mktemp -d reports/run.XXXXXX)
    "$cli" report --output-dir "$out" "${files[@]}"
}

run_cat  # warm the page cache for both
cat_time=$(fastest run_cat)
report_time=$(fastest run_report)
reports=$(find "$(find reports -mindepth 1 -maxdepth 1 -type d | head -n 1)" -name '*.TXT' | wc -l)
[[ "$reports" -eq "${#files[@]}" ]] || { echo "only $reports reports written" >&2; exit 1; }

awk -v c="$cat_time" -v r="$report_time" 'BEGIN {
    split(c, cat, " "); split(r, report, " ")
    printf "%-34s %8s %8s\n", "", "real", "CPU"
    printf "%-34s %7.3fs %7.3fs\n", "cat", cat[1], cat[2]
    printf "%-34s %7.3fs %7.3fs\n", "brevanta-cli report --output-dir", report[1], report[2]
    printf "%-34s %7.2fx %7.2fx   (target: within 3x)\n", "ratio", report[1] / cat[1],
           report[2] / cat[2]
}'
