#!/usr/bin/env bash
# Sets up what is missing, builds keyloom.exe and starts it under Wine in build/run/keyloom, with the
# simulated Tarnel reader plugged in on COM3. On the current X display; without one, on a private
# Xvfb display with a screenshot saved.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" win keyloom simreader_program readerfixture_cli >/dev/null

home="$top/build/run"
work="$home/keyloom"
mkdir -p "$work"
# A new installation starts with the shipped key list, which holds record 0.
[ -f "$work/crkeys.data" ] || cp "$top/data/crkeys.data" "$work/crkeys.data"
# The help document goes where the program looks for it: help\ in its working directory.
cp -r "$top/build/win/help" "$work/"
. "$top/tools/wine/wine-env.sh"

private=0
[ -n "${DISPLAY:-}" ] || private=1
keyloom_wine_up "$home" "$private"
if [ "$private" = 1 ]; then
  echo "No X display is set: Keyloom runs on a private Xvfb display, $DISPLAY."
fi

# The simulated reader on the far end of COM3, made present in the prefix as the USB reader.
keyloom_simreader_up "$home" "$top/build/win/simreader" 86400
wine "$top/build/win/readerfixture.exe" plug COM3 >"$home/readerfixture.log" 2>&1 </dev/null
unplug_reader() {
  trap - EXIT INT TERM
  wine "$top/build/win/readerfixture.exe" unplug >>"$home/readerfixture.log" 2>&1 </dev/null || true
  # Ends Keyloom too (its wineserver), the simulated reader and a private display.
  keyloom_wine_down "$home"
}
trap unplug_reader EXIT
trap 'unplug_reader; exit 130' INT TERM
echo "The simulated Tarnel reader is plugged in on COM3."
# A virtual card lies on the reader; what is written to it stays in build/run/cards between runs.
mkdir -p "$home/cards"
exec 3<>"/dev/tcp/127.0.0.1/$KEYLOOM_SIMREADER_PORT"
echo "card present $home/cards/demo.card" >&3
read -r _ <&3
exec 3>&-
echo "A virtual MIFARE card lies on the reader: $home/cards/demo.card."
# The record of issued user codes that "Generate unique" needs.
[ -f "$work/usersData.data" ] || : >"$work/usersData.data"

(cd "$work" && exec wine "$top/build/win/keyloom.exe" >"$home/keyloom.log" 2>&1 </dev/null) &
keyloom=$!
echo "Keyloom is running in $work."
if [ "$private" = 1 ]; then
  sleep 6
  import -display "$DISPLAY" -window root "$home/screenshot.png"
  echo "Screenshot: $home/screenshot.png"
  echo "Take another with: import -display $DISPLAY -window root FILE.png. Ctrl-C ends Keyloom."
fi
wait "$keyloom" || true
