#!/usr/bin/env bash
# windows_resource_test.sh RC SCRATCH VERSION
# Compiles the program's Windows resource with MinGW's windres, as the object
# a MinGW link takes and as a .res file, and reads the .res back to check the
# icon and the version information.
set -euo pipefail
rc=$1 scratch=$2 version=$3
fail() { echo "FAILED: $*" >&2; exit 1; }
windres=x86_64-w64-mingw32-windres
objdump=x86_64-w64-mingw32-objdump
cpp=x86_64-w64-mingw32-gcc-posix
for tool in $windres $objdump $cpp; do
  command -v "$tool" > /dev/null ||
    fail "$tool is missing: install the Debian package g++-mingw-w64-x86-64-posix (scripts/setup-debian.sh does)"
done
preprocess=(--preprocessor="$cpp" --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED)

rm -rf "$scratch"
mkdir -p "$scratch"
"$windres" "${preprocess[@]}" -i "$rc" -O coff -o "$scratch/stallmark_rc.o"
"$objdump" -h "$scratch/stallmark_rc.o" | grep -q '\.rsrc' || fail "the object has no .rsrc section"
"$windres" "${preprocess[@]}" -i "$rc" -O res -o "$scratch/stallmark.res"
"$windres" -i "$scratch/stallmark.res" -O rc > "$scratch/readback.rc"

IFS=. read -r major minor <<< "$version"
expect() {
  grep -qF -- "$1" "$scratch/readback.rc" || fail "the resource lacks: $1"
}
expect "FILEVERSION $major, $minor, 0, 0"
expect "PRODUCTVERSION $major, $minor, 0, 0"
expect 'VALUE "CompanyName", "Orvanel"'
expect 'VALUE "ProductName", "Stallmark"'
expect 'VALUE "FileDescription", "Stallmark"'
expect 'VALUE "OriginalFilename", "stallmark.exe"'
expect "VALUE \"FileVersion\", \"$major.$minor.0.0\""
expect "VALUE \"ProductVersion\", \"$version\""
expect '"IDI_ICON1" 14 /* RT_GROUP_ICON */'
expect 'Has 7 elements.'
expect '"\000\000\000\000", 1, 32,'  # the 256-pixel picture
