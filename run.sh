#!/usr/bin/env bash
# Sets up what is missing, builds keyloom.exe and starts it under Wine in build/run/keyloom, with the
# simulated Tarnel reader plugged in on COM3. On the current X display; without one, on a private
# Xvfb display with a screenshot saved.
# --check starts it the same way on a private display, answers the start-up boxes and ends everything
# once Keyloom reports "Settings read!" (status 0), or fails saying what it saw. KEYLOOM_RUN_DIR
# names another run folder than build/run (a relative one is taken from the current folder); one
# run at a time uses a run folder.
set -Eeuo pipefail
top=$(cd "$(dirname "$0")" && pwd)
case "${1:-}" in
  '') check=0 ;;
  --check) check=1 ;;
  *) echo "usage: run.sh [--check]" >&2; exit 2 ;;
esac
home=${KEYLOOM_RUN_DIR:-$top/build/run}
# Made absolute at once: Keyloom and the simulated reader run in folders of their own.
[[ "$home" = /* ]] || home="$PWD/$home"
work="$home/keyloom"
win="$top/build/win"
. "$top/tools/wine/wine-env.sh"

fail() { echo "run.sh: $*" >&2; exit 1; }
# wine_program PROGRAM.exe [ARGS...]: runs a Windows program of ours in the run folder's prefix,
# without the run folder's lock (fd 8, below).
wine_program() { wine "$@" </dev/null 8>&-; }
trap 'echo "run.sh: this failed (status $?): $BASH_COMMAND" >&2' ERR
# Whatever was started is ended on every way out, set before anything starts: the reader
# unplugged, Keyloom, its wineserver, the simulated reader and a private display.
wine_started=0 plugged=0
finish() {
  trap - EXIT INT TERM ERR
  if [ "$plugged" = 1 ]; then
    wine_program "$win/readerfixture.exe" unplug >>"$home/readerfixture.log" 2>&1 || true
  fi
  if [ "$wine_started" = 1 ]; then keyloom_wine_down "$home"; fi
}
trap finish EXIT
trap 'exit 130' INT TERM

# One run at a time in a run folder: fd 8 holds its lock until this script ends. Nothing started
# here keeps it (wine-env.sh closes it too), so a run that was killed does not block the next one.
mkdir -p "$work"
exec 8>>"$home/run.lock"
if ! flock -n 8; then
  echo "run.sh: Keyloom already runs from $home, started by another ./run.sh; that one is left as it is." >&2
  echo "run.sh: end it first (Ctrl-C where it runs), or give this one another run folder: KEYLOOM_RUN_DIR=DIR ./run.sh" >&2
  exit 1
fi
# What a run that was killed left running in this folder is ended first.
keyloom_wine_down "$home"
"$top/scripts/install-deps.sh" 8>&- || fail "installing the packages Keyloom needs failed"
[ "$check" = 0 ] || unset DISPLAY
# Under Wine, Keyloom waits for ever for a display that does not take it: the user's own is tried
# before the build.
if [ -n "${DISPLAY:-}" ] && ! refusal=$(xdpyinfo 2>&1 >/dev/null); then
  fail "the X display $DISPLAY does not let this user in (unset DISPLAY to run on a private one): $refusal"
fi
echo "Building Keyloom (output in $home/build.log)."
if ! "$top/scripts/build.sh" win keyloom simreader_program readerfixture_cli uidriver_cli >"$home/build.log" 2>&1; then
  # The compiler's errors follow ninja's first "FAILED:" line; a failed configuration ends the log.
  if grep -q '^FAILED: ' "$home/build.log"; then
    awk '/^FAILED: / { shown = 1 } shown && n++ < 60' "$home/build.log" >&2
  else
    tail -n 30 "$home/build.log" >&2
  fi
  fail "building Keyloom failed (the whole output is in $home/build.log)"
fi

# A new installation starts with the shipped key list, which holds record 0.
[ -f "$work/crkeys.data" ] || cp "$top/data/crkeys.data" "$work/crkeys.data"
# The help document goes where the program looks for it: help\ in its working directory.
cp -r "$win/help" "$work/"
# The record of issued user codes that "Generate unique" needs.
[ -f "$work/usersData.data" ] || : >"$work/usersData.data"

private=0
[ -n "${DISPLAY:-}" ] || private=1
wine_started=1
keyloom_wine_up "$home" "$private" || fail "setting up Wine in $home failed"
if [ "$private" = 1 ]; then
  echo "No X display is set: Keyloom runs on a private Xvfb display, $DISPLAY."
fi

# The simulated reader on the far end of COM3, made present in the prefix as the USB reader.
keyloom_simreader_up "$home" "$win/simreader" 86400 || fail "starting the simulated reader failed"
plugged=1
if ! wine_program "$win/readerfixture.exe" plug COM3 >"$home/readerfixture.log" 2>&1; then
  fail "plugging the simulated reader in on COM3 failed (see $home/readerfixture.log)"
fi
echo "The simulated Tarnel reader is plugged in on COM3."
# A virtual card lies on the reader; what is written to it stays in the run folder's cards/ between runs.
# The reader runs in the run folder and takes the card's path relative to it, free of blanks.
mkdir -p "$home/cards"
answer=$(keyloom_simreader_say "card present cards/demo.card") || fail "the simulated reader's control port does not answer"
[ "$answer" = ok ] || fail "the simulated reader refused the virtual card: $answer"
echo "A virtual MIFARE card lies on the reader: $home/cards/demo.card."

(cd "$work" && exec wine "$win/keyloom.exe" >"$home/keyloom.log" 2>&1 </dev/null 8>&-) &
keyloom=$!
echo "Keyloom is running in $work."

# box_text: the text of the box Keyloom shows, empty while it shows none. The driver prints the
# box as the program holds it, in Windows-1251.
box_text() {
  local out="$home/uidriver.out"
  wine_program "$win/uidriver.exe" box >"$out" 2>>"$home/uidriver.log" || return 0
  iconv -f CP1251 -t UTF-8 "$out" | sed -n 's/^text: //p' | tr -d '\r'
}

# await_box: waits until Keyloom shows its first start-up box, on top of its form.
await_box() {
  local deadline=$((SECONDS + 120))
  while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$keyloom" 2>/dev/null || fail "Keyloom ended at start (see $home/keyloom.log)"
    [ -z "$(box_text)" ] || return 0
    sleep 1
  done
  echo "Keyloom showed no box within 120 s."
}

# await_settings_read: answers each box Keyloom shows at start with OK until it reports
# "Settings read!" (in Russian or English).
await_settings_read() {
  local text deadline=$((SECONDS + 120))
  while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$keyloom" 2>/dev/null || fail "Keyloom ended before it reported \"Settings read!\" (see $home/keyloom.log)"
    text=$(box_text)
    if [ -n "$text" ]; then
      echo "Keyloom shows: $text"
      case "$text" in "Настройки считаны!" | "Settings read!") return 0 ;; esac
      wine_program "$win/uidriver.exe" press 1 >>"$home/uidriver.log" 2>&1 || true
    fi
    sleep 1
  done
  fail "Keyloom did not report \"Settings read!\" within 120 s"
}

if [ "$check" = 1 ]; then await_settings_read; fi
if [ "$private" = 1 ]; then
  [ "$check" = 1 ] || await_box
  if import -display "$DISPLAY" -window root "$home/screenshot.png"; then
    echo "Screenshot: $home/screenshot.png"
  else
    echo "Taking a screenshot of $DISPLAY failed."
  fi
fi
if [ "$check" = 1 ]; then
  echo "The check passed: Keyloom started and read the reader's settings."
  exit 0
fi
if [ "$private" = 1 ]; then
  echo "Take another with: XAUTHORITY=$(printf %q "$XAUTHORITY") import -display $DISPLAY -window root FILE.png. Ctrl-C ends Keyloom."
fi
status=0
wait "$keyloom" || status=$?
if [ "$status" != 0 ]; then
  tail -n 5 "$home/keyloom.log" >&2
  fail "Keyloom ended with status $status (the whole output is in $home/keyloom.log)"
fi
echo "Keyloom ended."
