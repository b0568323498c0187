#!/usr/bin/env bash
# package_test.sh BUILD SCRATCH APP_ID VERSION
# Builds the Debian package of the build tree with cpack, checks its fields
# and contents, unpacks it into a scratch root and runs the program from there.
set -euo pipefail
build=$1 scratch=$2 id=$3 version=$4

fail() { echo "FAILED: $*" >&2; exit 1; }
for tool in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file desktop-file-validate:desktop-file-utils; do
  command -v "${tool%%:*}" > /dev/null ||
    fail "${tool%%:*} is missing: install the Debian package ${tool#*:} (scripts/setup-debian.sh does)"
done

rm -rf "$scratch"
mkdir -p "$scratch"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  fail "cpack did not make the package"
fi
debs=("$scratch"/out/stallmark_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one stallmark_*.deb in $scratch/out"
deb=${debs[0]}
echo "package: $(basename "$deb")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = stallmark ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
echo "Depends: $depends"
names=$(tr ',' '\n' <<< "$depends" | sed -E 's/^ *([^ (|]+).*/\1/')
# Taken from the shared libraries the program links.
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6; do
  grep -qxF "$lib" <<< "$names" || fail "Depends lacks $lib"
done
# Every dependency is a package this machine has: the program runs from the package alone.
for name in $names; do
  dpkg-query -W -f='${Status}' "$name" 2> /dev/null | grep -q 'install ok installed' ||
    fail "dependency $name is not installed here"
done

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
expected=(
  usr/bin/stallmark
  "usr/share/applications/$id.desktop"
  "usr/share/metainfo/$id.metainfo.xml"
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "the package lacks /$f"
done
unexpected=$(cd "$root" && find . -type f | sed 's|^\./||' | sort | grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)
[ -z "$unexpected" ] || fail "the package holds files it should not: $unexpected"
[ -x "$root/usr/bin/stallmark" ] || fail "/usr/bin/stallmark is not executable"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "the packaged desktop entry is not valid"

# The installed program answers without a display.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "$root/usr/bin/stallmark" --version)
[ "$out" = "Stallmark $version" ] || fail "'stallmark --version' printed '$out'"
echo "installed program: $out"
