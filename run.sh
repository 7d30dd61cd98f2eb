#!/usr/bin/env bash
# Sets up what is missing, builds keyloom.exe and starts it under Wine in build/run/keyloom.
# On the current X display; without one, on a private Xvfb display with a screenshot saved.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" win keyloom >/dev/null

home="$top/build/run"
work="$home/keyloom"
mkdir -p "$work"
# The help document goes where the program looks for it: help\ in its working directory.
cp -r "$top/build/win/help" "$work/"
. "$top/tools/wine/wine-env.sh"

private=0
[ -n "${DISPLAY:-}" ] || private=1
keyloom_wine_up "$home" "$private"
if [ "$private" = 1 ]; then
  echo "No X display is set: Keyloom runs on a private Xvfb display, $DISPLAY."
  trap 'keyloom_wine_down "$home"' EXIT
  trap 'exit 130' INT TERM
fi

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
