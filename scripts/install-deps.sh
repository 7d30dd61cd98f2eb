#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Keyloom need.
# Idempotent: asks apt only for what is missing, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest clang libfuzzer-14-dev
  mingw-w64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb fonts-wine x11-utils xdotool imagemagick
  python3 util-linux procps openssl nsis
  weasyprint fonts-dejavu-core poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
