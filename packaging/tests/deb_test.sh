#!/usr/bin/env bash
# The .deb: built by CPack, its Debian dependencies, its copyright file and changelog, and
# the programs it holds working from a scratch root on the demo suite.
# Usage: deb_test.sh CPACK BUILD_DIR SCRATCH DEMO_SUITE BUILD_PELKOR_LIST LICENSE RELEASE_DATE
set -euo pipefail
cpack=$1 build=$2 scratch=$3 suite=$4 built_list=$5 license=$6 release_date=$7

rm -rf "$scratch"
mkdir -p "$scratch"
deb=$(bash "$(dirname "$0")/build_deb.sh" "$cpack" "$build" "$scratch/out")

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ "$(dpkg-deb -f "$deb" Package)" = pelkor ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = 1.2 ] || fail "version $(dpkg-deb -f "$deb" Version)"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "section $(dpkg-deb -f "$deb" Section)"

# Every library the programs load has its package among the dependencies, every dependency
# is a package this machine knows, and none is named twice.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',' '\n' <<<"$depends" | sed 's/|.*//; s/(.*//; s/:.*//; s/ //g' | grep .)
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
    grep -Fqx "$needed" <<<"$names" || fail "$needed missing from Depends"
done
while read -r name; do
    dpkg-query -W "$name" >/dev/null 2>&1 || fail "Depends names $name, which no package is"
done <<<"$names"
twice=$(sort <<<"$names" | uniq -d)
[ -z "$twice" ] || fail "Depends names more than once: $twice"

root=$scratch/root
dpkg -x "$deb" "$root"
for path in usr/bin/pelkor usr/bin/pelkor-list usr/share/pelkor/help/pelkor.html \
    usr/share/man/man1/pelkor.1.gz usr/share/man/man1/pelkor-list.1.gz; do
    [ -e "$root/$path" ] || fail "$path is not in the package"
done
# The copyright file states LICENSE, holder and text, in Debian's machine-readable format.
copyright=$root/usr/share/doc/pelkor/copyright
if [ -f "$copyright" ]; then
    [ "$(head -n1 "$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
        fail "copyright file is not in the machine-readable format"
    holder=$(sed -n 's/^Copyright (c) //p' "$license")
    [ -n "$holder" ] || fail "LICENSE names no copyright holder"
    grep -qxF "Copyright: $holder" "$copyright" || fail "copyright file does not name $holder"
    grep -qx "License: Expat" "$copyright" || fail "copyright file does not give the Expat licence"
    # The licence text is the continuation of the License field: one space in front, " ."
    # for an empty line.
    text=$(sed -n '/^License: Expat$/,/^[^ ]/{/^ /p}' "$copyright" | sed 's/^ //; s/^\.$//')
    [ "$text" = "$(sed -n '/^Permission is hereby granted/,$p' "$license")" ] ||
        fail "the licence text in the copyright file is not that of LICENSE"
else
    fail "usr/share/doc/pelkor/copyright is not in the package"
fi

# The changelog's latest entry is the release of the version the package carries.
changelog=$root/usr/share/doc/pelkor/changelog.gz
if [ -f "$changelog" ]; then
    entry_version=$(zcat "$changelog" | dpkg-parsechangelog -l - -S Version)
    [ "$entry_version" = "$(dpkg-deb -f "$deb" Version)" ] ||
        fail "latest changelog entry is for version $entry_version"
    entry_date=$(date -u -d "@$(zcat "$changelog" | dpkg-parsechangelog -l - -S Timestamp)" +%F)
    [ "$entry_date" = "$release_date" ] || fail "latest changelog entry is dated $entry_date, not $release_date"
else
    fail "usr/share/doc/pelkor/changelog.gz is not in the package"
fi

if ldd "$root/usr/bin/pelkor" | grep -q "not found"; then
    fail "pelkor needs a library that is not there: $(ldd "$root/usr/bin/pelkor" | grep 'not found')"
fi

# The installed pelkor-list writes the very list the built one writes.
cp -r "$suite" "$scratch/installed"
cp -r "$suite" "$scratch/built"
status=0
"$root/usr/bin/pelkor-list" "$scratch/installed" >"$scratch/installed.out" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "installed pelkor-list exited with $status: $(cat "$scratch/installed.out")"
"$built_list" "$scratch/built" >/dev/null 2>&1 || fail "built pelkor-list failed on the demo suite"
if [ ! -s "$scratch/installed/version.lis" ]; then
    fail "installed pelkor-list wrote no version.lis"
elif ! cmp "$scratch/installed/version.lis" "$scratch/built/version.lis"; then
    fail "installed and built pelkor-list write different lists"
fi
"$root/usr/bin/pelkor-list" --version | grep -q "^pelkor-list V1.2 " || fail "installed version: $("$root/usr/bin/pelkor-list" --version)"

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb") complete"
