#!/usr/bin/env bash
# Measures Keyloom under Wine on this machine in one run and prints one markdown table: start-up
# against a bare window program, card reply to result box, unique codes against a byte-wise scan,
# the card journal's append, the keys list window, memory and handles over a session, and the size
# of keyloom.exe.
# Each figure is compared with its reference measured in the same run. Not part of ./test.sh.
# Usage: scripts/bench.sh [--only startup|session|keylist|unique] [RESULTS_FILE]   (about ten minutes)
# --only takes one measure and prints only its rows.
set -euo pipefail
only=
if [ "${1:-}" = --only ]; then
  case "${2:-}" in
    startup|session|keylist|unique) only=$2; shift 2 ;;
    *) echo "usage: scripts/bench.sh [--only startup|session|keylist|unique] [RESULTS_FILE]" >&2; exit 2 ;;
  esac
fi
# wants MEASURE: true when this run takes that measure.
wants() { [ -z "$only" ] || [ "$only" = "$1" ]; }
top=$(cd "$(dirname "$0")/.." && pwd)
win="$top/build/win"
mkdir -p "$top/build"
"$top/scripts/build.sh" win keyloom bench_keyloom bench_bare_window bench_users_data simreader_program \
  >"$top/build/bench-build.log" 2>&1 || { tail -n 30 "$top/build/bench-build.log" >&2; echo "bench.sh: building failed" >&2; exit 1; }

work="$top/build/bench"
results=${1:-"$work/results.txt"}
rm -rf "$work/runs"
mkdir -p "$work/runs/startup" "$work/runs/session" "$work/runs/keylist"
: >"$results"
for dir in startup session keylist; do
  printf 'Language = EN;\r\n' >"$work/runs/$dir/appconfig.ini"
  cp "$top/data/crkeys.data" "$work/runs/$dir/"
  : >"$work/runs/$dir/usersData.data"
done

# A Wine world of its own (prefix, private display, warm wineserver and simulated reader, set up as
# the tests' lanes are), so that the tests may run meanwhile: they only make the figures slower.
# One measuring run at a time holds it.
. "$top/tools/wine/wine-env.sh"
unset DISPLAY
home="$win/wine-bench"
mkdir -p "$home"
exec 7>"$home/desktop.lock"
flock -n 7 || { echo "bench.sh: another bench.sh is measuring in $home" >&2; exit 1; }
trap 'keyloom_wine_down "$home"' EXIT
trap 'exit 130' INT TERM
keyloom_wine_up "$home" 1 7>&- || { echo "bench.sh: the Wine set-up of $home failed" >&2; exit 1; }
keyloom_simreader_up "$home" "$win/simreader" 7>&-

winpath() { echo "Z:$1" | tr / '\\'; }
# Runs one measuring program; its RESULT lines go to the results, everything else to the log.
measure() {
  local out
  out=$(mktemp)
  echo "== $*" >>"$work/bench.log"
  if ! wine "$@" >"$out" 2>>"$work/bench.log" </dev/null 7>&-; then
    echo "$1 $2 failed (see $work/bench.log)" >&2
  fi
  grep '^RESULT ' "$out" | tr -d '\r' >>"$results" || true
  grep -v '^RESULT ' "$out" >>"$work/bench.log" || true
  rm -f "$out"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
if wants startup; then
  echo "start-up, 20 of each..." >&2
  measure "$win/bench_keyloom.exe" startup "$(winpath "$win/keyloom.exe")" "$(winpath "$win/bench_bare_window.exe")" \
    "$(winpath "$work/runs/startup")" 20
fi
if wants session; then
  echo "card writes and keys list cycles..." >&2
  measure "$win/bench_keyloom.exe" session "$(winpath "$win/keyloom.exe")" "$(winpath "$work/runs/session")" \
    "$work/runs/session/bench.card" 30 200 200
fi
if wants keylist; then
  echo "keys list of 1,000 and 10,000 records..." >&2
  measure "$win/bench_keyloom.exe" keylist "$(winpath "$win/keyloom.exe")" "$(winpath "$work/runs/keylist")"
fi
if wants unique; then
  echo "unique codes and the card journal..." >&2
  measure "$win/bench_users_data.exe"
fi
if [ -z "$only" ]; then
  echo "RESULT keyloom_exe_bytes $(stat -c %s "$win/keyloom.exe")" >>"$results"
  echo "RESULT bare_exe_bytes $(stat -c %s "$win/bench_bare_window.exe")" >>"$results"
fi
load=$(cut -d' ' -f1-3 /proc/loadavg)

# Figures are read and written with a decimal point: Wine's Russian locale, set above, would make
# awk print "1,40" and read "1.4" as 1.
awk() { LC_ALL=C command awk "$@"; }

declare -A r
while read -r _ name value; do r[$name]=$value; done <"$results"
get() { echo "${r[$1]:-nan}"; }
# A figure as it reads best: whole above 100, one decimal above 1, three below.
fmt() { awk -v v="$1" 'BEGIN { if (v == "nan") print "-"; else if (v >= 100 || v <= -100) printf "%.0f", v; else if (v >= 1 || v <= -1) printf "%.1f", v; else printf "%.3f", v }'; }
# row MEASURE VALUE REFERENCE UNIT GOAL TEST: TEST is an awk condition over v (value), f (reference)
# and q (value / reference), or "-" for a figure without a goal.
row() {
  local v=$2 f=$3 unit=${4:+ $4} q met
  # A run of one measure leaves out the rows of the others.
  if [ -n "$only" ] && [ "$v" = nan ]; then return 0; fi
  q=$(awk -v v="$v" -v f="$f" 'BEGIN { if (v != "nan" && f + 0 != 0) printf "%.2f", v / f; else print "-" }')
  if [ "$v" = nan ] || [ "$f" = nan ]; then met="not measured"
  elif [ "$6" = - ]; then met="-"
  elif awk -v v="$v" -v f="$f" "BEGIN { q = (f + 0 != 0) ? v / f : 0; exit !($6) }"; then met=yes
  else met="**no**"; fi
  printf '| %s | %s%s | %s%s | %s | %s | %s |\n' "$1" "$(fmt "$v")" "$unit" "$(fmt "$f")" "$unit" "$q" "$5" "$met"
}
per1k() { awk -v a="$1" -v n="$2" 'BEGIN { printf "%.4f", a * 1000 / n }'; }

echo
echo "Keyloom under Wine $(wine --version 2>/dev/null | cut -d' ' -f1), $(date -u '+%Y-%m-%d %H:%M UTC'), load average $load (1, 5, 15 min), $(nproc) cores."
echo
if wants session; then
  echo "Under Wine, PrivateUsage, GetProcessHandleCount and GetGuiResources read $(get after_start_private_kb), \
$(get after_start_handle_count), $(get after_start_user_objects) and $(get after_start_gdi_objects): the nearest figures stand in."
  echo
fi
echo "| Measure | Value | Reference | Ratio | Goal | Met |"
echo "|---|---|---|---|---|---|"
row "Start-up to the main form shown, median of 20 (reference: bare window program)" \
  "$(get startup_keyloom_ms)" "$(get startup_bare_ms)" ms "at most 1.2 x bare" "q <= 1.2"
row "Card reply to result box, median of 30 (reference: one 50 ms tick + the read: 10 ms settle + 60 ms read time-out)" \
  "$(get reply_to_box_median_ms)" 120 ms "at most the reference" "q <= 1"
row "Card reply to result box, 95th percentile of 30" "$(get reply_to_box_p95_ms)" 150 ms "under 150 ms" "v < f"
for n in 1000 10000 100000 1000000; do
  goal="-"; test="-"
  if [ "$n" = 100000 ]; then goal="under 50 ms and at least 20 x faster"; test="v < 50 && f / v >= 20"; fi
  row "Unique code generation with $n recorded codes (reference: the byte-wise ReadFile scan)" \
    "$(get unique_${n}_ms)" "$(get unique_bytewise_${n}_ms)" ms "$goal" "$test"
done
row "Unique codes: ms per 1,000 codes at 1,000,000 (reference: at 100,000)" \
  "$(per1k "$(get unique_1000000_ms)" 1000000)" "$(per1k "$(get unique_100000_ms)" 100000)" ms \
  "linear: at most 1.5 x" "q <= 1.5"
row "Unique codes: ms per 1,000 codes at 100,000 (reference: at 10,000)" \
  "$(per1k "$(get unique_100000_ms)" 100000)" "$(per1k "$(get unique_10000_ms)" 10000)" ms \
  "linear: at most 1.5 x" "q <= 1.5"
row "Card journal append with 100,000 lines, median of 9 (reference: with 1 line)" \
  "$(get journal_append_100000_ms)" "$(get journal_append_1_ms)" ms "at most 5 ms" "v <= 5"
row "Keys list opened and shown with 1,000 records, median of 5" "$(get keys_open_1000_ms)" 200 ms "under 200 ms" "v < f"
row "Keys list opened and shown with 10,000 records, median of 5 (reference: 10 x the 1,000 figure)" \
  "$(get keys_open_10000_ms)" "$(awk -v a="$(get keys_open_1000_ms)" 'BEGIN { print a * 10 }')" ms "-" "-"
row "Add new at 1,000 records until the list shows it, median of 5" "$(get keys_add_1000_ms)" 200 ms "under 200 ms" "v < f"
# Wine answers 0 to PrivateUsage, GetProcessHandleCount and GetGuiResources, so the nearest figures
# stand in: RssAnon of the Linux process, the process's entries in the system handle list, its
# windows (the USER objects it makes) and the used entries of its GDI handle table.
for what in anon_kb:"Private memory (RssAnon)":KiB:1024 kernel_handles:"Kernel handles (system handle list)":"":20 \
  windows:"USER objects (windows of the process)":"":5 gdi_table:"GDI handle table entries":"":20; do
  IFS=: read -r key label unit noise <<<"$what"
  row "$label after 200 card writes (reference: after start)" "$(get after_cards_$key)" "$(get after_start_$key)" \
    "$unit" "growth under $noise" "v - f < $noise"
  row "$label after 200 keys list openings (reference: after the card writes)" "$(get after_keys_$key)" \
    "$(get after_cards_$key)" "$unit" "growth under $noise" "v - f < $noise"
done
row "keyloom.exe on disk (reference: the bare window program)" "$(get keyloom_exe_bytes)" "$(get bare_exe_bytes)" \
  bytes "-" "-"
