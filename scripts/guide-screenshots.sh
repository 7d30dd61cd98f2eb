#!/usr/bin/env bash
# Takes the user's guide's pictures from the real keyloom.exe under Wine with the simulated reader,
# in Russian and in English, and writes them as small palette PNGs to doc/help/images/<language>/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" win keyloom uidriver_cli readerfixture_cli simreader_program >/dev/null

# A Wine world of its own, on a private display, so that tests running meanwhile are not disturbed.
home="$top/build/guide-shots"
work="$home/keyloom"
win="$top/build/win"
rm -rf "$work"
mkdir -p "$work" "$home/cards"
unset DISPLAY
. "$top/tools/wine/wine-env.sh"
trap 'keyloom_wine_down "$home"' EXIT
trap 'exit 130' INT TERM
keyloom_wine_up "$home" 1
keyloom_simreader_up "$home" "$win/simreader"
trap 'wine "$win/readerfixture.exe" unplug >/dev/null 2>&1 </dev/null || true; keyloom_wine_down "$home"' EXIT
wine "$win/readerfixture.exe" plug COM3 >"$home/readerfixture.log" 2>&1 </dev/null

# The reader runs in $home and takes the card's path relative to it, free of blanks.
keyloom_simreader_say reset >/dev/null
keyloom_simreader_say "card present cards/demo.card" >/dev/null

drive() { wine "$win/uidriver.exe" "$@" 2>/dev/null </dev/null; }

# shot CLASS NAME: crops the program's window of that class out of the screen.
shot() {
  local class=$1 out=$2 geometry
  geometry=$(drive rect "$class" | tr -d '\r')
  read -r x y w h <<<"$geometry"
  import -display "$DISPLAY" -window root "$home/screen.png"
  convert "$home/screen.png" -crop "${w}x${h}+${x}+${y}" +repage +dither -colors 256 "PNG8:$out"
  echo "$out: ${w}x${h}"
}

# appear CLASS: waits until the program shows a window of that class (the driver waits 5 s a try).
appear() {
  for _ in $(seq 6); do drive rect "$1" >/dev/null && return 0; sleep 0.5; done
  echo "no window of class $1 appeared" >&2
  return 1
}

# settle: gives the program time to repaint after a change.
settle() { sleep "${1:-0.6}"; }

# ok_boxes N: answers N message boxes with OK.
ok_boxes() { for _ in $(seq "$1"); do appear "#32770"; drive press 1 >/dev/null; done; }

# The key list the keys window shows: record 0 as shipped and two keys an installer added,
# encrypted as the program stores it (AES-256-CBC, zero vector, key derived from the pass phrase).
key_list() {
  local language=$1 key
  key=$(python3 "$top/tools/keyfile/key_file_key.py")
  python3 - "$language" >"$home/keys.data" <<'PY'
import sys
descriptions = {
    "ru": ["Ключ по умолчанию", "Офис, 2 этаж", "Склад, ворота"],
    "en": ["Default key", "Office, 2nd floor", "Warehouse gate"],
}[sys.argv[1]]
fields = [("0", "0", "2", "0", "0", "01", "0", "000000000000"),
          ("1", "0", "0", "0", "1", "04", "1", "3A7F0C12D955"),
          ("2", "1", "1", "1", "3", "07", "2", "5C0E7731A4B8")]
out = sys.stdout.buffer
for (oi, ll, di, sb, wm, sn, bn, key), text in zip(fields, descriptions):
    out.write(f"OI={oi} LL={ll} DI={di} SB={sb} WM={wm} SN={sn} BN={bn} M_KEY={key} Description=".encode()
              + text.encode("cp1251") + b"\n")
PY
  openssl enc -aes-256-cbc -K "$key" -iv 00000000000000000000000000000000 \
    -in "$home/keys.data" -out "$work/crkeys.data"
  cp "$work/crkeys.data" "$work/zipkeys.data"
  rm -f "$home/keys.data"
}

for language in ru en; do
  out="$top/doc/help/images/$language"
  mkdir -p "$out"
  case $language in
    ru) printf 'Language = RU;\r\n' >"$work/appconfig.ini" ;;
    en) printf 'Language = EN;\r\n' >"$work/appconfig.ini" ;;
  esac
  key_list "$language"
  : >"$work/usersData.data"

  (cd "$work" && exec wine "$win/keyloom.exe" >"$home/keyloom.log" 2>&1 </dev/null 9>&-) &
  keyloom=$!
  # The start-up search: "reader found" is the typical message box; "Settings read!" follows.
  appear '#32770'
  settle
  shot '#32770' "$out/message.png"
  ok_boxes 2
  settle

  views=(m-id:0:0 m-data:0:1 m-auth:0:2 u-id:1:0 u-data:1:1 u-auth:1:2)
  for view in "${views[@]}"; do
    IFS=: read -r name type mode <<<"$view"
    drive select "$type" "$mode"
    settle
    shot 'my Window' "$out/main-$name.png"
  done
  drive select 0 0
  settle

  # The Tools menu opened from the keyboard once the window has the focus (F10 takes the menu bar,
  # Right goes to Tools, Down opens it and Down again marks "Card journal"); the menu is pictured over
  # the window it drops from.
  read -r x y w h <<<"$(drive rect 'my Window' | tr -d '\r')"
  xdotool mousemove $((x + w / 2)) $((y + 8)) click 1
  settle
  xdotool key F10 Right Down Down
  settle
  shot 'my Window' "$out/menu-tools.png"
  xdotool key Escape Escape
  settle

  # SEARCH: the progress window of the search delay lasts a second, less than the driver may need to
  # start on a busy machine, so it is cropped where the program puts it: centred, 400 x 50.
  drive command 7
  sleep 0.4
  import -display "$DISPLAY" -window root "$home/screen.png"
  convert "$home/screen.png" -crop "400x50+$((1280 / 2 - 200))+$((1024 / 2 - 25))" +repage \
    +dither -colors 256 "PNG8:$out/search.png"
  ok_boxes 2
  settle

  drive command 22
  appear 'my Child Window'
  settle 1
  shot 'my Child Window' "$out/keys.png"
  drive post 'my Child Window' 46
  settle

  drive command 5
  appear '#32770'
  settle
  shot '#32770' "$out/about.png"
  drive post '#32770' 1
  settle

  drive command 1
  wait "$keyloom" || true
done
