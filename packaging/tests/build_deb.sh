#!/usr/bin/env bash
# Sourced by the package tests: build_deb CPACK BUILD_DIR OUT makes the .deb with CPack into
# OUT, its work files included, and sets deb to its path; on failure it shows CPack's log and
# exits.
build_deb() {
    local cpack=$1 build=$2 out=$3
    mkdir -p "$out"
    if ! (cd "$build" && "$cpack" -G DEB -B "$out" >"$out/cpack.log" 2>&1); then
        cat "$out/cpack.log"
        echo "FAIL: cpack did not build the package"
        exit 1
    fi
    local debs=("$out"/*.deb)
    if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
        echo "FAIL: expected one .deb: ${debs[*]}"
        exit 1
    fi
    deb=${debs[0]}
}
