#!/usr/bin/env bash
# Installs what building, running and testing Stallmark needs on Debian 12,
# skipping what is already there. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # The X11 game link and its end-to-end tests; the real-input tests also
  # need Qt's xcb platform and the font the window is laid out for.
  libx11-dev libxtst-dev xvfb xauth openbox qt6-qpa-plugins fonts-dejavu-core
  # Installing and packaging: desktop entry and metainfo checks, the Debian package.
  desktop-file-utils appstream dpkg-dev file
  # The start-up benchmark sees the first paint through the X Damage extension.
  libxdamage-dev
  # The fuzz targets (clang with libFuzzer) and readable sanitizer reports (llvm-symbolizer).
  # The builds of make test keep the system's default compiler.
  clang libclang-rt-14-dev llvm
)
if [ -f "$(dirname "$0")/packages-extra.txt" ]; then
  while read -r p; do [ -n "$p" ] && [ "${p#\#}" = "$p" ] && packages+=("$p"); done < "$(dirname "$0")/packages-extra.txt"
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
