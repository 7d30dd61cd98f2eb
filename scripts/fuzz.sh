#!/usr/bin/env bash
# Builds the fuzz tree and runs every libFuzzer program of the core, as many at a time as the machine
# has cores, at the lowest priority, from its committed seeds and the working corpus under
# build/fuzz/corpus; prints one line per program with its executions and findings and exits
# non-zero when any program found something.
# Usage: fuzz.sh [seconds per program, default 60] [executions per program, default no limit] [program...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
runs=${2:--1}
shift $(( $# < 2 ? $# : 2 ))
mkdir -p "$top/build"
if ! "$top/scripts/build.sh" fuzz >"$top/build/fuzz-build.log" 2>&1; then
  tail -n 30 "$top/build/fuzz-build.log" >&2
  echo "fuzz.sh: building the fuzz tree failed (the whole output is in build/fuzz-build.log)" >&2
  exit 1
fi

tree="$top/build/fuzz"
if [ $# -gt 0 ]; then
  programs=("$@")
else
  programs=()
  for source in "$top"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    programs+=("${name%_fuzz}")
  done
fi

# One program's run; its line of the table goes to logs/PROGRAM.line, its number of findings to
# logs/PROGRAM.found.
fuzz_one() {
  local program=$1 corpus="$tree/corpus/$1" findings="$tree/findings/$1" log="$tree/logs/$1.log"
  local before code executions found
  mkdir -p "$corpus" "$findings" "$tree/logs"
  before=$(find "$findings" -type f | wc -l)
  set +e
  # Inputs of up to 1100 bytes: two key lines longer than the line buffer, many times a reply buffer.
  nice -n 19 "$tree/${program}_fuzz" -max_total_time="$seconds" -runs="$runs" -max_len=1100 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$top/tests/fuzz/corpus/$program" >"$log" 2>&1
  code=$?
  set -e
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(( $(find "$findings" -type f | wc -l) - before ))
  # A program that stops without saving an input (a failed start, for instance) counts as a finding too.
  if [ "$code" -ne 0 ] && [ "$found" -eq 0 ]; then found=1; fi
  printf '%-16s %14s %9s\n' "$program" "${executions:-?}" "$found" >"$tree/logs/$program.line"
  if [ "$found" -ne 0 ]; then echo "  see $log and $findings" >>"$tree/logs/$program.line"; fi
  echo "$found" >"$tree/logs/$program.found"
}

# As many programs at a time as the machine has cores; the table keeps their order.
for program in "${programs[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$(nproc)" ]; do wait -n || true; done
  rm -f "$tree/logs/$program.line" "$tree/logs/$program.found"
  fuzz_one "$program" &
done
wait
status=0
printf '%-16s %14s %9s\n' program executions findings
for program in "${programs[@]}"; do
  cat "$tree/logs/$program.line" 2>/dev/null || printf '%-16s %14s %9s\n' "$program" "?" "?"
  [ "$(cat "$tree/logs/$program.found" 2>/dev/null)" = 0 ] || status=1
done
exit $status
