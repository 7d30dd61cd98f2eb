#!/usr/bin/env bash
# Configures and builds one of the two trees: "win" (mingw-w64, keyloom.exe and its Windows tests)
# or "native" (the portable core and its unit tests under the sanitizers) or "fuzz" (the core's
# libFuzzer programs, built with clang). Extra arguments name targets.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$1; shift
case "$tree" in
  win) options=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
  native) options=(-DCMAKE_BUILD_TYPE=Debug) ;;
  fuzz) options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEYLOOM_FUZZ=ON -DCMAKE_C_COMPILER=clang
                 -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: build.sh win|native|fuzz [target...]" >&2; exit 2 ;;
esac
# One build of a tree at a time (the run command and the tests may start one together).
mkdir -p "$top/build"
exec 9>"$top/build/$tree.lock"
flock -n 9 || { echo "build.sh: waiting for another build of build/$tree to end"; flock 9; }
if [ ! -f "$top/build/$tree/build.ninja" ]; then
  cmake -G Ninja -S "$top" -B "$top/build/$tree" "${options[@]}" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$top/build/$tree" "${targets[@]}"
