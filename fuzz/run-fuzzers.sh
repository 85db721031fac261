#!/usr/bin/env bash
# Runs every fuzz target for a bounded time each, starting from its committed seeds; fails on
# the first finding (crash, sanitizer report, failed property, leak, timeout).
# Usage: fuzz/run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET [TARGET...]
set -euo pipefail
build=$(realpath "$1")
seconds=$2
shift 2
cd "$(dirname "$0")"
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_marker_scanner fuzz_definition_header
    fuzz_text_mode_read fuzz_settings fuzz_wildcard fuzz_json_report)

for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts"
    mkdir -p "$corpus" "$artifacts"
    echo "== $target: ${seconds}s"
    # New inputs go to the scratch corpus in the build directory, never to the seeds.
    if ! "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
        "$corpus" "seeds/$target" > "$build/$target.log" 2>&1; then
        tail -n 60 "$build/$target.log"
        echo "== $target: FINDING; the input is in $artifacts/" >&2
        exit 1
    fi
    grep -E '^stat::number_of_executed_units' "$build/$target.log" || true
done
