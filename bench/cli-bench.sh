#!/usr/bin/env bash
# Times brevanta-cli `show --json`, `check`, `report --output-dir` and `table` over rosters
# of generated pilot files against `cat` over the same files, and `verify` over a form file of
# as many forms against `cat` over that file; prints wall time, CPU time and peak memory (RSS)
# of each, with the ratio to its cat.
#
#   bench/cli-bench.sh [PATH-TO-brevanta-cli]
#
# The program defaults to brevanta-cli on PATH, else build/cli/brevanta-cli of this tree;
# time an optimised build (-DCMAKE_BUILD_TYPE=Release).
# SIZES sets the roster sizes (default "1000 10000 100000"), RUNS the timed runs of each
# (default 3; the fastest counts), BENCH_DIR the folder to work in (default: a new temporary
# folder, removed afterwards).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cli="${1:-$(command -v brevanta-cli || echo "$root/build/cli/brevanta-cli")}"
sizes="${SIZES:-1000 10000 100000}"
runs="${RUNS:-3}"
[[ -x "$cli" ]] || { echo "no brevanta-cli at $cli (build it or pass its path)" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (Debian package \"time\")" >&2; exit 2; }
cli="$(realpath "$cli")"
# 100,000 names on one command line need more room for arguments than the default stack gives.
ulimit -s unlimited 2>/dev/null || ulimit -s 65536 2>/dev/null || true

if [[ -n "${BENCH_DIR:-}" ]]; then
    work="$BENCH_DIR"
    mkdir -p "$work"
else
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
fi
cd "$work"

# "WALL CPU RSS" of one run of a command: seconds, seconds, kilobytes.
measure() {
    local start end
    start=$(date +%s.%N)
    local status=0
    /usr/bin/time -f "%U %S %M" -o time.out "$@" >/dev/null 2>errors.out || status=$?
    # check ends with 1 when it warned, which random records always make it do; verify when a
    # form claims missions the pilot has not finished.
    if ((status > 1)); then
        echo "failed: $1 ${2:-}" >&2
        head -n 3 errors.out >&2
        exit 1
    fi
    end=$(date +%s.%N)
    # The last line: time puts a line about a non-zero exit status before it.
    awk -v s="$start" -v e="$end" 'END { printf "%.3f %.3f %d\n", e - s, $1 + $2, $3 }' time.out
}

# One run of a measured command over the files. Each report run writes into a folder of its
# own, so that every run creates its reports anew.
measure_command() {
    case $1 in
        cat) measure cat "${files[@]}" ;;
        show) measure "$cli" show --json "${files[@]}" ;;
        check) measure "$cli" check "${files[@]}" ;;
        report) measure "$cli" report --output-dir "$(mktemp -d reports/run.XXXXXX)" "${files[@]}" ;;
        table) measure "$cli" table "${files[@]}" ;;
        cat-forms) measure cat forms.txt ;;
        verify) measure "$cli" verify forms.txt "${files[0]}" ;;
    esac
}

# The fastest of several runs (and its CPU time); the largest peak memory of them.
fastest() {
    local best="" measured
    for ((run = 0; run < runs; run++)); do
        measured=$(measure_command "$1")
        best=$(awk -v m="$measured" -v b="$best" 'BEGIN {
            split(m, t, " "); split(b, o, " ")
            if (b == "") { print m; exit }
            rss = t[3] > o[3] ? t[3] : o[3]
            print (t[1] < o[1] ? t[1] " " t[2] : o[1] " " o[2]) " " rss }')
    done
    echo "$best"
}

printf "%s in %s (%s)\n" "$("$cli" --version)" "$work" "$(df -T . | awk 'NR==2 {print $2}')"
printf "%8s  %-34s %9s %9s %10s %8s\n" files command real CPU "peak RSS" "vs cat"
for size in $sizes; do
    rm -rf p reports
    mkdir p reports
    # Random records, so that every status, rank and battle occurs and most reports hold all
    # 20 battles (the longest report there is). Short names keep 100,000 of them within the
    # room for arguments.
    head -c $((1928 * size)) /dev/urandom | split -b 1928 -a 6 -d - p/
    files=(p/*)
    cat "${files[@]}" >/dev/null  # warm the page cache for all
    # As many forms as files, each of the first pilot's battle 1, missions 1 to 8.
    "$cli" bsf "${files[0]}" - --battle 1 --last 8 --battle-no 17 --medal "Silver Wing" >form.txt
    awk -v n="$size" '{ form = form $0 "\n" } END {
        for (i = 0; i < n; i++) printf "%s%s", (i ? "---------------------------------------------\r\n" : ""), form
    }' form.txt >forms.txt
    cat_time=$(fastest cat)
    cat_forms_time=$(fastest cat-forms)
    for command in cat show check report table cat-forms verify; do
        base=$cat_time
        case $command in
            cat) measured=$cat_time; label="cat" ;;
            show) measured=$(fastest show); label="brevanta-cli show --json" ;;
            check) measured=$(fastest check); label="brevanta-cli check" ;;
            report) measured=$(fastest report); label="brevanta-cli report --output-dir" ;;
            table) measured=$(fastest table); label="brevanta-cli table" ;;
            cat-forms) measured=$cat_forms_time; base=$cat_forms_time; label="cat forms.txt" ;;
            verify) measured=$(fastest verify); base=$cat_forms_time; label="brevanta-cli verify forms.txt" ;;
        esac
        awk -v n="$size" -v l="$label" -v m="$measured" -v c="$base" 'BEGIN {
            split(m, t, " "); split(c, k, " ")
            printf "%8d  %-34s %8.3fs %8.3fs %8.1f MB %7.2fx\n", n, l, t[1], t[2], t[3] / 1024,
                   t[1] / k[1] }'
    done
    rm -rf reports
done
