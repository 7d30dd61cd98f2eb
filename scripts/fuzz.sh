#!/usr/bin/env bash
# Builds the fuzz tree and runs every libFuzzer program of the core in turn, at the lowest
# priority, from its committed seeds and the working corpus under build/fuzz/corpus; prints one line
# per program with its executions and findings and exits non-zero when any program found something.
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

status=0
printf '%-16s %14s %9s\n' program executions findings
for program in "${programs[@]}"; do
  corpus="$tree/corpus/$program"
  findings="$tree/findings/$program"
  log="$tree/logs/$program.log"
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
  printf '%-16s %14s %9s\n' "$program" "${executions:-?}" "$found"
  if [ "$found" -ne 0 ]; then
    status=1
    echo "  see $log and $findings"
  fi
done
exit $status
