#!/usr/bin/env bash
# The list pelkor-list.exe writes under Wine is byte for byte the list the Linux pelkor-list
# writes, and their --json reports differ only in the paths: each program lists the demo suite
# its own build's generator (the same source) makes, in a scratch directory of the test's own.
#   list_matches_linux.sh EMULATOR_SCRIPT WINDOWS_BUILD_DIR WINDOWS_LIST WINDOWS_GENERATOR
#                         LINUX_LIST LINUX_GENERATOR
set -euo pipefail
[ $# -eq 6 ] || { echo "usage: $0 EMULATOR BUILD_DIR WINDOWS_LIST WINDOWS_GENERATOR LINUX_LIST LINUX_GENERATOR" >&2; exit 2; }
emulator=$1
build_dir=$2
windows_list=$3
windows_generator=$4
linux_list=$5
linux_generator=$6

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
wine() { "$emulator" exec "$build_dir" "$@" </dev/null; }

# Wine takes "Z:\..." as the Linux root's path; the Windows program gets a Windows path.
windows_suite="Z:$(printf '%s' "$scratch/windows/suite" | tr / '\\')"
"$linux_generator" "$scratch/linux/suite" "$scratch/linux/windir"
wine "$windows_generator" "$windows_suite" "Z:$(printf '%s' "$scratch/windows/windir" | tr / '\\')"

status=0
"$linux_list" --json "$scratch/linux/suite" >"$scratch/linux.json" || status=$?
[ $status -eq 0 ] || { echo "Linux pelkor-list exited with $status" >&2; exit 1; }
wine "$windows_list" --json "$windows_suite" >"$scratch/windows.json" || status=$?
[ $status -eq 0 ] || { echo "pelkor-list.exe exited with $status" >&2; exit 1; }

if ! cmp "$scratch/linux/suite/version.lis" "$scratch/windows/suite/version.lis"; then
    echo "version.lis differs between Linux and Windows" >&2
    exit 1
fi
echo "version.lis: $(wc -c <"$scratch/linux/suite/version.lis") bytes, the same on both"

# The paths are the systems' own: each install directory as JSON spells it (a backslash
# doubled) becomes one name, and the separator after it one separator.
regex() { printf '%s' "$1" | sed 's/[][\\.*^$|/]/\\&/g'; }
json_windows_suite=$(printf '%s' "$windows_suite" | sed 's/\\/\\\\/g')
sed "s/$(regex "$scratch/linux/suite")\//INSTALL_DIR\\\\\\\\/g; s/$(regex "$scratch/linux/suite")/INSTALL_DIR/g" \
    "$scratch/linux.json" >"$scratch/linux.normal.json"
sed "s/$(regex "$json_windows_suite")/INSTALL_DIR/g" "$scratch/windows.json" >"$scratch/windows.normal.json"
if ! cmp "$scratch/linux.normal.json" "$scratch/windows.normal.json"; then
    diff "$scratch/linux.normal.json" "$scratch/windows.normal.json" >&2 || true
    exit 1
fi
grep -q '"installDir":"INSTALL_DIR"' "$scratch/windows.normal.json" ||
    { echo "the install directory was not where the test put it" >&2; exit 1; }
echo "--json: the same on both, apart from the paths"
