#!/usr/bin/env bash
# `cmake --install` into a scratch prefix: every file a Linux desktop needs, where it looks.
# Usage: install_tree_test.sh CMAKE BUILD_DIR SCRATCH APP_ID BINDIR DATADIR MANDIR HELP_FROM_BINDIR
set -euo pipefail
cmake=$1 build=$2 scratch=$3 app_id=$4 bindir=$5 datadir=$6 mandir=$7 help_from_bindir=$8

rm -rf "$scratch"
prefix=$scratch/usr
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for program in pelkor pelkor-list; do
    [ -x "$prefix/$bindir/$program" ] || fail "$bindir/$program is not installed as a program"
done

# The help page, found from the program's directory as the program finds it.
help="$prefix/$bindir/$help_from_bindir"
[ -f "$help" ] || fail "no help page at $bindir/$help_from_bindir"
[ "$(realpath "$help")" = "$(realpath "$prefix/$datadir/pelkor/help/pelkor.html")" ] ||
    fail "the help page is not in $datadir/pelkor/help"

icons=$prefix/$datadir/icons/hicolor
for size in 32 48 64 128 256; do
    png=$icons/${size}x${size}/apps/pelkor.png
    if [ ! -f "$png" ]; then
        fail "no ${size}x${size} icon"
    elif ! file "$png" | grep -q "PNG image data, $size x $size,"; then
        fail "the ${size}x${size} icon is $(file -b "$png")"
    fi
done
grep -q "<svg" "$icons/scalable/apps/pelkor.svg" 2>/dev/null || fail "no scalable icon"

desktop=$prefix/$datadir/applications/$app_id.desktop
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop entry does not validate"
    grep -qx "Exec=pelkor" "$desktop" || fail "desktop entry does not start pelkor"
    grep -qx "Icon=pelkor" "$desktop" || fail "desktop entry names another icon"
    grep -q "^Name\[ja\]=" "$desktop" || fail "desktop entry has no Japanese name"
    grep -q "^Comment\[ja\]=" "$desktop" || fail "desktop entry has no Japanese comment"
else
    fail "no desktop entry $app_id.desktop"
fi

metainfo=$prefix/$datadir/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
    grep -q "<release version=\"1.2\"" "$metainfo" || fail "metainfo does not carry version 1.2"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch the installed desktop entry"
    # The desktop entry, the metainfo and the icons checked together, as a software centre sees them.
    appstreamcli validate-tree --no-net "$scratch" || fail "the install tree does not validate"
else
    fail "no metainfo $app_id.metainfo.xml"
fi

for page in pelkor pelkor-list; do
    man_page=$prefix/$mandir/man1/$page.1.gz
    if [ ! -f "$man_page" ]; then
        fail "no manual page $page(1)"
        continue
    fi
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man_page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "manual page $page(1): $warnings"
    LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$man_page" 2>/dev/null | grep -q "^NAME" ||
        fail "manual page $page(1) does not render"
done

[ "$failures" -eq 0 ] || exit 1
echo "install tree complete"
