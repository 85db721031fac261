#!/usr/bin/env bash
# For the package tests: makes the .deb with CPack into OUT, its work files included, and
# prints its path; on failure shows CPack's log on stderr and exits non-zero.
# Usage: build_deb.sh CPACK BUILD_DIR OUT
set -euo pipefail
cpack=$1 build=$2 out=$3

mkdir -p "$out"
if ! (cd "$build" && "$cpack" -G DEB -B "$out" >"$out/cpack.log" 2>&1); then
    cat "$out/cpack.log" >&2
    echo "FAIL: cpack did not build the package" >&2
    exit 1
fi
debs=("$out"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "FAIL: expected one .deb: ${debs[*]}" >&2
    exit 1
fi
echo "${debs[0]}"
