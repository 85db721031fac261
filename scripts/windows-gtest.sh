#!/usr/bin/env bash
# Builds GoogleTest for Windows from Debian's sources (package googletest) into
# BUILD_DIR/_deps/googletest, where the toolchain file lets find_package(GTest) find it.
# Debian ships GoogleTest only for the host; this build is redone only when the package changes.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(realpath -m -- "$1")
source_dir=/usr/src/googletest
prefix="$build_dir/_deps/googletest"
work="$build_dir/_deps/googletest-build"
stamp="$prefix/debian-version"

version=$(dpkg-query -W -f='${Version}' googletest)
if [ -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$version" ]; then
    exit 0
fi

echo "Building GoogleTest $version for Windows in $prefix"
rm -rf "$prefix" "$work"
mkdir -p "$work"
log="$work/build.log"
if ! {
    cmake -S "$source_dir" -B "$work" -G Ninja \
        --toolchain "$root/cmake/mingw-w64-posix.cmake" \
        -DPELKOR_WINDOWS_BUILD_DIR="$build_dir" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_INSTALL_PREFIX="$prefix" &&
        cmake --build "$work" -j2 &&
        cmake --install "$work"
} >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
echo "$version" >"$stamp"
