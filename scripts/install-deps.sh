#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# Packages already present are skipped; sudo is used only when not root.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-dev make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev
    fonts-ipafont-gothic
    xvfb xauth
    dpkg-dev file lintian desktop-file-utils appstream man-db
)
# --bench: also the tools `make bench` compares against and measures with.
if [ "${1:-}" = "--bench" ]; then
    packages+=(hyperfine cssc binutils time)
fi

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
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
