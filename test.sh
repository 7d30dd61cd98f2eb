#!/usr/bin/env bash
# Sets up what is missing, builds the native and the Windows tree and runs every test:
# the core's unit tests natively, each fuzz program briefly, the X input server's request checks,
# the run command's own check on a new run folder, then the unit, platform and end-to-end tests under Wine.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
fail() { echo "test.sh: $*" >&2; exit 1; }
. "$top/tools/wine/wine-env.sh"
# The Windows tree's Wine world, started by the tests, is ended on every way out.
trap 'for world in "$top"/build/win/wine "$top"/build/win/wine-lane*; do [ ! -d "$world" ] || keyloom_wine_down "$world"; done' EXIT
trap 'exit 130' INT TERM
# The include rule of the README's layout first: it needs no build and takes a moment.
status=0
"$top/scripts/check-includes.sh" || status=1
"$top/scripts/install-deps.sh" || fail "installing the packages the tests need failed"
"$top/scripts/build.sh" native || fail "building the native tree failed"
"$top/scripts/build.sh" win || fail "building the Windows tree failed"

ctest --test-dir "$top/build/native" --output-on-failure -j2 || status=1
# Each fuzz program for a few seconds, so they keep building and a finding fails the tests.
"$top/scripts/fuzz.sh" 3 || { echo "test.sh: a fuzz program found a fault (scripts/fuzz.sh)" >&2; status=1; }
python3 "$top/tools/xinput/xinput-server-test.py" || { echo "test.sh: the X input server judged a request or a client wrong" >&2; status=1; }
# The README's run command as a newcomer meets it: no run folder and no Wine prefix yet. What a
# check that was killed left running there is ended first, while its pid files still name it.
[ ! -d "$top/build/run-check" ] || keyloom_wine_down "$top/build/run-check"
rm -rf "$top/build/run-check"
KEYLOOM_RUN_DIR="$top/build/run-check" "$top/run.sh" --check || { echo "test.sh: ./run.sh --check failed" >&2; status=1; }
# The scenarios run in the lanes of tests/wine-lanes.json, each with its own Wine world, two at a
# time. Every lane's world is set up first, one after the other, so that no scenario runs beside a
# prefix being created.
lanes_file="$top/tests/wine-lanes.json"
for lane in $(grep -o '"id": *"[0-9]*"' "$lanes_file" | tr -dc '0-9\n'); do
  (unset DISPLAY; keyloom_wine_up "$(keyloom_lane_world "$top/build/win" "$lane")" 1) ||
    { echo "test.sh: the Wine world of lane $lane could not be set up" >&2; status=1; }
done
ctest --test-dir "$top/build/win" --output-on-failure -j2 --resource-spec-file "$lanes_file" || status=1
exit $status
