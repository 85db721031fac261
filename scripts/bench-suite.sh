#!/usr/bin/env bash
# Whole-run benchmark: pelkor-list over a large generated suite against CSSC's what and
# `strings -a | grep '@(#)'` over the same executables (hyperfine), peak memory (GNU time),
# and the growth of the cost over suites of 1x, 4x and 16x the size. Prints the ratios.
#
# usage: scripts/bench-suite.sh [BUILD_DIR]   (default: build; needs pelkor-list and
#        make_bench_suite built there, and scripts/install-deps.sh --bench)
# Environment: RUNS (timed runs per command, default 10), SCALES (default "1 4 16").
set -euo pipefail

build=${1:-build}
runs=${RUNS:-10}
scales=${SCALES:-1 4 16}
list="$build/bin/pelkor-list"
generator="$build/bin/make_bench_suite"
suites="$build/bench-suites"
work="$build/bench-results"

die() { echo "bench-suite: $*" >&2; exit 2; }
[ -x "$list" ] || die "$list not built (make build)"
[ -x "$generator" ] || die "$generator not built (make build)"
command -v hyperfine >/dev/null || die "hyperfine missing (scripts/install-deps.sh --bench)"
command -v strings >/dev/null || die "strings missing (scripts/install-deps.sh --bench)"
[ -x /usr/bin/time ] || die "GNU time missing (scripts/install-deps.sh --bench)"
what=$(command -v what || ls /usr/lib/*/cssc/what 2>/dev/null | head -n1 || true)
[ -n "$what" ] && [ -x "$what" ] || die "CSSC's what missing (scripts/install-deps.sh --bench)"
mkdir -p "$suites" "$work"

# Suites are kept between runs and made anew only when the generator changed.
stamp=$(md5sum <"$generator" | cut -d' ' -f1)
for k in $scales; do
    dir="$suites/x$k"
    if [ "$(cat "$dir.stamp" 2>/dev/null)" != "$stamp" ]; then
        echo "Generating the ${k}x suite in $dir ..."
        "$generator" "$dir" --scale "$k"
        echo "$stamp" >"$dir.stamp"
    fi
done

# Bytes pelkor-list reads: every executable once, the shared tools once more for each further
# category whose lead tool is present (all leads are present in the generated suites).
scanned_bytes() {
    local bin="$1/bin" total
    total=$(find "$bin" -maxdepth 1 -type f -printf '%s\n' |
        awk '{s += $1} END {printf "%.0f\n", s}')
    total=$((total + 3 * $(stat -c %s "$bin/kmuwa.exe") + $(stat -c %s "$bin/kpreb.exe")))
    echo "$total"
}

# Median seconds of the n-th command in a hyperfine CSV export (the last columns are numeric).
median() { awk -F, -v row="$2" 'NR == row + 1 {print $(NF - 4)}' "$1"; }
# Mean CPU seconds (user + system) of the n-th command: on a busy machine the wall time also
# counts the waits for a free core, the CPU time only the work.
cpu() { awk -F, -v row="$2" 'NR == row + 1 {print $(NF - 3) + $(NF - 2)}' "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
verdict() { awk -v r="$1" -v g="$2" 'BEGIN {print (r >= g) ? "met" : "NOT MET"}'; }

base="$suites/x$(echo "$scales" | awk '{print $1}')"
files=$(find "$base/bin" -maxdepth 1 -type f | sort | tr '\n' ' ')

# A fast run that found nothing proves nothing: every executable carries two markers, and the
# shared tools are listed under each category whose lead is present (kmuwa 4 times, kpreb 2).
"$list" "$base" || die "pelkor-list failed on $base"
count=$(find "$base/bin" -maxdepth 1 -type f | wc -l)
expected=$((2 * (count + 3 + 1)))
found=$(grep -ac '^  X' "$base/version.lis" || true)
[ "$found" -eq "$expected" ] || die "$base/version.lis holds $found marker lines, not $expected"
echo
echo "== Whole run on $base: pelkor-list and what (no shell between) =="
hyperfine -N --warmup 3 --runs "$runs" --style basic --export-csv "$work/what.csv" \
    -n pelkor-list "$list $base" \
    -n what "$what $files"
echo
echo "== Whole run on $base: pelkor-list and strings -a | grep (through sh) =="
hyperfine --warmup 1 --runs "$runs" --style basic --export-csv "$work/strings.csv" \
    -n pelkor-list "$list $base" \
    -n 'strings|grep' "strings -a $files | grep -F '@(#)'"
ms() { awk -v t="$1" 'BEGIN {printf "%.1f", t * 1000}'; }
t_list=$(median "$work/what.csv" 1)
t_what=$(median "$work/what.csv" 2)
c_list=$(cpu "$work/what.csv" 1)
c_what=$(cpu "$work/what.csv" 2)
t_list_sh=$(median "$work/strings.csv" 1)
t_strings=$(median "$work/strings.csv" 2)
c_list_sh=$(cpu "$work/strings.csv" 1)
c_strings=$(cpu "$work/strings.csv" 2)

echo
echo "== Peak memory of pelkor-list (GNU time, maximum resident set) =="
declare -A peak
for k in $scales; do
    peak[$k]=$(/usr/bin/time -f '%M' "$list" "$suites/x$k" 2>&1 >/dev/null | tail -n1)
    echo "  ${k}x suite: ${peak[$k]} KiB"
done
what_peak=$(/usr/bin/time -f '%M' "$what" $files 2>&1 >/dev/null | tail -n1)
echo "  what over the ${base##*/} executables: $what_peak KiB"

echo
echo "== Growth: pelkor-list over the ${scales// /x, }x suites =="
cmds=()
for k in $scales; do
    cmds+=(-n "${k}x" "$list $suites/x$k")
done
hyperfine -N --warmup 1 --runs "$runs" --style basic --export-csv "$work/growth.csv" "${cmds[@]}"

echo
echo "======== Summary: wall medians and CPU means of $runs runs; verdicts on CPU time ========"
printf '  %-30s %9s ms wall, %7s ms CPU\n' \
    "pelkor-list, ${base##*/} suite" "$(ms "$t_list")" "$(ms "$c_list")" \
    "what, same executables" "$(ms "$t_what")" "$(ms "$c_what")" \
    "strings -a | grep, same" "$(ms "$t_strings")" "$(ms "$c_strings")"
r_what=$(ratio "$c_what" "$c_list")
r_strings=$(ratio "$c_strings" "$c_list_sh")
printf '  %-30s %9s x CPU (%s x wall)   goal > 1    %s\n' "what / pelkor-list" "$r_what" \
    "$(ratio "$t_what" "$t_list")" \
    "$(awk -v r="$r_what" 'BEGIN {print (r > 1) ? "met" : "NOT MET"}')"
printf '  %-30s %9s x CPU (%s x wall)   goal >= 10  %s\n' "strings|grep / pelkor-list" \
    "$r_strings" "$(ratio "$t_strings" "$t_list_sh")" "$(verdict "$r_strings" 10)"
first=""
row=1
for k in $scales; do
    t=$(median "$work/growth.csv" $row)
    c=$(cpu "$work/growth.csv" $row)
    bytes=$(scanned_bytes "$suites/x$k")
    definitions=$(find "$suites/x$k/gen" -maxdepth 1 -type f | wc -l)
    if [ -z "$first" ]; then
        first="$c $bytes"
    fi
    # CPU time per byte against the first suite's: 1.00 is exactly linear.
    printf '  %-30s %9s ms wall, %7s ms CPU, %5.0f MB, %5s definitions, %5.2f GB/s CPU, ' \
        "pelkor-list, ${k}x suite" "$(ms "$t")" "$(ms "$c")" \
        "$(awk -v b="$bytes" 'BEGIN {print b / 1e6}')" "$definitions" \
        "$(awk -v b="$bytes" -v c="$c" 'BEGIN {print b / c / 1e9}')"
    printf 'per byte %4.2f of %sx\n' \
        "$(awk -v f="$first" -v c="$c" -v b="$bytes" \
            'BEGIN {split(f, a, " "); print (c / b) / (a[1] / a[2])}')" \
        "$(echo "$scales" | awk '{print $1}')"
    row=$((row + 1))
done
for k in $scales; do
    m=${peak[$k]}
    printf '  %-30s %9s KiB goal < 10240 %s\n' "peak memory, ${k}x suite" "$m" \
        "$([ "$m" -lt 10240 ] && echo met || echo 'NOT MET')"
done
