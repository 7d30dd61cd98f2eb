#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Keyloom need, and generates the
# locales Wine runs in. Idempotent: asks apt only for what is missing, so a second run costs nothing;
# root (or sudo) is needed only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest clang libfuzzer-14-dev
  mingw-w64 g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth fonts-wine x11-utils xdotool imagemagick
  python3 util-linux procps openssl nsis locales
  weasyprint fonts-dejavu-core poppler-utils
)
# Russian gives Wine the code page 1251 of the installers' PCs; the installer's pages are also
# tested in English.
locales=(ru_RU.UTF-8 en_US.UTF-8)

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}
# locale -a names them in its own spelling: ru_RU.utf8.
missing_locales() {
  local l
  for l in "${locales[@]}"; do
    locale -a 2>/dev/null | grep -qixF "${l%.UTF-8}.utf8" || echo "$l"
  done
}
mapfile -t missing < <(missing_packages)
mapfile -t missing_loc < <(missing_locales)
[ ${#missing[@]} -eq 0 ] && [ ${#missing_loc[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    all=("${missing[@]}" "${missing_loc[@]}")
    echo "Missing: ${all[*]}" >&2
    echo "Installing them needs root: run this as root once, or install sudo." >&2
    exit 1
  fi
  echo "Installing what is missing needs root; asking sudo."
  as_root=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

mapfile -t missing_loc < <(missing_locales)
if [ ${#missing_loc[@]} -gt 0 ]; then
  echo "Generating the locales: ${missing_loc[*]}"
  # Listed in /etc/locale.gen, so that locale-gen keeps them when it runs again.
  for l in "${missing_loc[@]}"; do
    line="$l ${l#*.}"
    "${as_root[@]}" sed -i "s/^# *$line\$/$line/" /etc/locale.gen
    grep -qx "$line" /etc/locale.gen || echo "$line" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${as_root[@]}" locale-gen >/dev/null
fi
