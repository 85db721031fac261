#!/usr/bin/env bash
# The Windows installer, built by CPack, installed silently under Wine into a folder of the
# test's own: the files and the Start-menu entry are there, the installed pelkor-list.exe writes
# the very list the built one writes, and the uninstaller takes everything away again.
#   installer_test.sh CPACK BUILD_DIR SCRATCH EMULATOR_SCRIPT WINE_BUILD_DIR LIST_EXE GENERATOR_EXE
set -euo pipefail
[ $# -eq 7 ] || { echo "usage: $0 CPACK BUILD_DIR SCRATCH EMULATOR WINE_BUILD_DIR LIST GENERATOR" >&2; exit 2; }
cpack=$1
build_dir=$2
scratch=$3
emulator=$4
wine_build_dir=$5
built_list=$6
generator=$7

rm -rf "$scratch"
mkdir -p "$scratch"
wine() { "$emulator" exec "$wine_build_dir" "$@" </dev/null; }
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

"$cpack" -G NSIS --config "$build_dir/CPackConfig.cmake" -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; exit 1; }
installer=$(find "$scratch/cpack" -maxdepth 1 -name 'pelkor-*-win64.exe' | head -n 1)
[ -n "$installer" ] || { echo "cpack made no installer" >&2; exit 1; }
echo "installer: $(basename "$installer"), $(wc -c <"$installer") bytes"

# No blank in the path: the command line Wine builds would quote it, and NSIS takes /D= literally.
install_dir="$scratch/ProgramFiles/PELKOR"
# /D must come last and unquoted, as NSIS reads it.
wine "$installer" /S "/D=$(windows_path "$install_dir")"
for file in pelkor.exe pelkor-list.exe pelkor.html LICENSE.txt Uninstall.exe; do
    [ -f "$install_dir/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
prefix="$wine_build_dir/wine/drive_c"
entry_name='KOMA-R ﾊﾞｰｼﾞｮﾝ表示.lnk'
entries() { find "$prefix/ProgramData" "$prefix/users" -name "$entry_name" 2>/dev/null; }
[ -n "$(entries)" ] || { echo "no Start-menu entry \"$entry_name\"" >&2; exit 1; }
echo "Start-menu entry: $(entries | sed "s|^$prefix/||")"

# The same suite twice, one listed by each program.
wine "$generator" "$(windows_path "$scratch/built/suite")" "$(windows_path "$scratch/built/windir")"
wine "$generator" "$(windows_path "$scratch/installed/suite")" "$(windows_path "$scratch/installed/windir")"
wine "$built_list" "$(windows_path "$scratch/built/suite")" >/dev/null
wine "$install_dir/pelkor-list.exe" "$(windows_path "$scratch/installed/suite")" >/dev/null
cmp "$scratch/built/suite/version.lis" "$scratch/installed/suite/version.lis" ||
    { echo "the installed pelkor-list.exe writes another list" >&2; exit 1; }
echo "version.lis: $(wc -c <"$scratch/installed/suite/version.lis") bytes, the same from both"

# _?= runs the uninstaller in place, so it is done when it returns (it leaves itself behind).
wine "$install_dir/Uninstall.exe" /S "_?=$(windows_path "$install_dir")"
for file in pelkor.exe pelkor-list.exe pelkor.html LICENSE.txt; do
    [ ! -e "$install_dir/$file" ] || { echo "left behind: $file" >&2; exit 1; }
done
[ -z "$(entries)" ] || { echo "the Start-menu entry is left behind" >&2; exit 1; }
echo "uninstalled: the programs, the page and the Start-menu entry are gone"
rm -rf "$scratch"
