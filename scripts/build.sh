#!/usr/bin/env bash
# Configures and builds one of the two trees: "win" (mingw-w64, keyloom.exe and its Windows tests)
# or "native" (the portable core and its unit tests under the sanitizers). Extra arguments name targets.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$1; shift
case "$tree" in
  win) options=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
  native) options=(-DCMAKE_BUILD_TYPE=Debug) ;;
  *) echo "usage: build.sh win|native [target...]" >&2; exit 2 ;;
esac
if [ ! -f "$top/build/$tree/build.ninja" ]; then
  cmake -G Ninja -S "$top" -B "$top/build/$tree" "${options[@]}" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$top/build/$tree" "${targets[@]}"
