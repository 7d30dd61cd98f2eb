#!/usr/bin/env bash
# Sets up what is missing, builds the native and the Windows tree and runs every test:
# the core's unit tests natively, then the unit, platform and end-to-end tests under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" native
"$top/scripts/build.sh" win

. "$top/tools/wine/wine-env.sh"
trap 'keyloom_wine_down "$top/build/win/wine"' EXIT
trap 'exit 130' INT TERM
status=0
ctest --test-dir "$top/build/native" --output-on-failure -j2 || status=1
ctest --test-dir "$top/build/win" --output-on-failure -j2 || status=1
exit $status
