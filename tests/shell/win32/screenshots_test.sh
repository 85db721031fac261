#!/usr/bin/env bash
# pelkor-screenshots.exe under Wine, in Japanese, on the session's display: it captures the four
# dialogs, each picture as large as its dialog with the window manager's frame and caption.
#   screenshots_test.sh EMULATOR_SCRIPT WINE_BUILD_DIR SCREENSHOTS_EXE SUITE_DIR SCRATCH
set -euo pipefail
[ $# -eq 5 ] || { echo "usage: $0 EMULATOR WINE_BUILD_DIR EXE SUITE SCRATCH" >&2; exit 2; }
emulator=$1
build_dir=$2
exe=$3
suite=$4
scratch=$5

# The session's display: given to the command of `run`, or the virtual one of a `start`.
if [ -z "${PELKOR_WINE_DISPLAY:-}" ] && [ ! -f "$build_dir/wine-display" ]; then
    echo "no display: run in a Wine session with PELKOR_WINE_DISPLAY (make windows-test)"
    exit 0
fi
rm -rf "$scratch"
mkdir -p "$scratch"
"$emulator" japanese "$build_dir"
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
PELKOR_WINE_JAPANESE=1 "$emulator" exec "$build_dir" "$exe" "$(windows_path "$scratch")" \
    "$(windows_path "$suite")" </dev/null

# A PNG's width and height, from its header.
size() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'; }
# Client areas in pixels at the Japanese font's 7 by 13 dialog base units: the templates' sizes
# in dialog units times 7/4 across and 13/8 down.
check() {
    local name=$1 client_width=$2 client_height=$3 width height
    [ "$(head -c 8 "$scratch/$name" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
        { echo "$name is no PNG" >&2; return 1; }
    read -r width height < <(size "$scratch/$name")
    echo "$name: $width x $height (client area $client_width x $client_height)"
    # The frame adds a border at the sides and a caption on top.
    if [ "$width" -lt "$client_width" ] || [ "$width" -gt $((client_width + 16)) ] ||
        [ "$height" -lt $((client_height + 12)) ] || [ "$height" -gt $((client_height + 48)) ]; then
        echo "$name: not the dialog with its frame" >&2
        return 1
    fi
}
status=0
check main.png 324 150 || status=1
check about.png 380 89 || status=1
check viewer.png 446 447 || status=1
check picker.png 366 288 || status=1
[ $status -eq 0 ] && rm -rf "$scratch"
exit $status
