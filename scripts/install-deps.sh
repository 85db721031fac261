#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# Packages already present are skipped; sudo is used only when not root.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-dev make
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libxcb1-dev
    fonts-ipafont-gothic
    xvfb xauth x11-utils
    dpkg-dev file lintian desktop-file-utils appstream man-db
)
for arg in "$@"; do
    case "$arg" in
        # The tools `make bench` compares against and measures with.
        --bench) packages+=(hyperfine cssc binutils time) ;;
        # The Windows cross build and its tests under Wine (`make windows`, `make windows-test`):
        # the -posix mingw-w64 compilers, Wine (wine64 alone puts no `wine` on PATH), GoogleTest's
        # sources to build for Windows, the Japanese locale's sources for Wine's code page 932,
        # the installer's tools (makensis, icotool), and openbox, the window manager that draws
        # the captions on the desktop program's virtual display.
        --windows) packages+=(mingw-w64 wine wine64 googletest locales nsis icoutils openbox) ;;
        *)
            echo "usage: $0 [--bench] [--windows]" >&2
            exit 2
            ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
# env, not a prefix assignment: sudo would drop the variable before apt-get sees it.
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
