#!/usr/bin/env bash
# Writes the small seed inputs of the fuzz targets into fuzz/seeds/<target>/, taken from the
# cases the tests use. The fuzz targets read integers from the end of an input and the data
# from its start, so most seeds are plain file contents.
set -euo pipefail
cd "$(dirname "$0")"
rm -rf seeds
mkdir -p seeds/{fuzz_marker_scanner,fuzz_definition_header,fuzz_text_mode_read,fuzz_settings,fuzz_wildcard,fuzz_json_report}

seed() { printf "$2" > "seeds/$1"; }
# header NAME_AT NAME VERSION_AT VERSION CATEGORY: 128 bytes of NUL with the two fields set.
header() {
    local out=$1 nameAt=$2 name=$3 versionAt=$4 version=$5 category=$6
    head -c 128 /dev/zero > "$out"
    printf "$name" | dd of="$out" bs=1 seek="$nameAt" conv=notrunc status=none
    printf "$version" | dd of="$out" bs=1 seek="$versionAt" conv=notrunc status=none
    printf "\\x$category" >> "$out"
}

seed fuzz_marker_scanner/one 'junk@(#) XKPL V1.0\0tail'
seed fuzz_marker_scanner/two '@(#) X1\0..@(#) X2\0@@(#) XA\0@(#)XB\0@(#)  XC\0'
seed fuzz_marker_scanner/inside '@(#) XA @(#) XB\0@(#) X\xba\xdd\n\r\0@(#) Xopen'
seed fuzz_marker_scanner/splits '..@(#) Xsplit marker\0\x03\x07\x01\x04'

header seeds/fuzz_definition_header/koma 48 'KOMADEF ' 56 '0310' 01
header seeds/fuzz_definition_header/kpl 64 '== NAME (remark)' 56 '1.00' 00
header seeds/fuzz_definition_header/ktun 64 'NAME  = more' 56 'V2.10a' 02
header seeds/fuzz_definition_header/crlf 64 'NA\r\nME\x1a' 56 '1.\r\n0' 03
seed fuzz_definition_header/short 'tiny\x04'

seed fuzz_text_mode_read/crlf 'ab\r\ncd\r\r\nef\rg\x1ah\r\n'
seed fuzz_text_mode_read/fields '0123456789\r\n\x1a\r\r\n\n\n\x00\x00\x01\x40\x05\x10'

seed fuzz_settings/suite '[SYSTEM]\r\nHOME = "/opt/koma r"\r\nPATH=/opt/komar/bin\r\n; comment\r\n[other]\nHOME=x\n'
seed fuzz_settings/odd '[ system \nhome\n=\n[SYSTEM]]\n HOME =  "\n'
seed fuzz_settings/nul '[SYSTEM]\nHOME=/tmp/victim.txt\0/x\nPATH="/opt\0/bin"\n[SYS\0TEM]\nHOME=\0\n'

seed fuzz_wildcard/converter 'komf*.exe\x00komf12.EXE\x01'
seed fuzz_wildcard/definition 'lkd*.kpd\x00lkd\xe5\xae\x9a.kpd\x01'
seed fuzz_wildcard/question '?*?a*b?\x00\xe3\x81\x82xaxxb\xff\x01'

seed fuzz_json_report/markers '/opt/koma\xff\x00X "q" \\ \x01\x81\x40\x82\x00lkd\xff.kpd\x00\xfd\x00\x82\xa0\x00path\n\x02\x01\x03\x02\x01\x01'
seed fuzz_json_report/empty '\x00'
