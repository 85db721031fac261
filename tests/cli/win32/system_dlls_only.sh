#!/usr/bin/env bash
# pelkor-list.exe and pelkor.exe are each one file a user downloads: they may import only DLLs
# every Windows has, never the compiler's runtime (libstdc++, libgcc, winpthread).
#   system_dlls_only.sh OBJDUMP EXE
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 OBJDUMP EXE" >&2; exit 2; }
objdump=$1
exe=$2

# Windows' own DLLs, compared without regard to letter case.
allowed="kernel32.dll msvcrt.dll shell32.dll user32.dll advapi32.dll ntdll.dll gdi32.dll
comctl32.dll comdlg32.dll shlwapi.dll"

imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r')
[ -n "$imports" ] || { echo "no imports found in $exe" >&2; exit 1; }
status=0
while IFS= read -r dll; do
    lower=$(printf '%s' "$dll" | tr '[:upper:]' '[:lower:]')
    case " $(echo $allowed) " in
        *" $lower "*) echo "ok: $dll" ;;
        *)
            echo "not a DLL of Windows' own: $dll" >&2
            status=1
            ;;
    esac
done <<<"$imports"
exit $status
