#!/bin/sh
# The Linux side of the file fault scenarios, started by them under Wine, which does not wait for a
# Linux program: it writes "ok", "ready", "killed" or what failed to STATUS when it is done.
#   fault_folder.sh STATUS mount DIR       a 64 KiB file system on DIR
#   fault_folder.sh STATUS fill DIR        no byte left on it
#   fault_folder.sh STATUS readonly DIR    made read-only
#   fault_folder.sh STATUS release DIR     unmounted (lazily: the program may still be in it)
#   fault_folder.sh STATUS kill PREFIX MS  "ready", then after MS milliseconds SIGKILL to the
#                                          program (keyloom.exe or keyloom_test.exe) of the
#                                          Wine prefix PREFIX, and "killed"
status=$1 verb=$2 arg=$3
report() { printf '%s\n' "$1" >"$status.part" && mv "$status.part" "$status"; }
run() { if out=$("$@" 2>&1); then report ok; else report "failed: $* $out"; fi; }
case $verb in
  mount) run mount -t tmpfs -o size=64k,mode=0777 keyloom-faults "$arg" ;;
  fill) dd if=/dev/zero of="$arg/filler" bs=4096 >/dev/null 2>&1; run test "$(df --output=avail "$arg" | tail -n 1)" -eq 0 ;;
  readonly) run mount -o remount,ro "$arg" ;;
  release) run umount -l "$arg" ;;
  kill)
    # The process is found first, so that the kill comes at the moment asked for; one grep reads
    # every command line, as a process per entry of /proc takes seconds on a busy machine.
    pid=
    for f in $(grep -lE 'keyloom(_test)?\.exe' /proc/[0-9]*/cmdline 2>/dev/null); do
      p=${f%/cmdline}
      { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$arg" && pid=${p#/proc/} && break
    done
    [ -n "$pid" ] || { report "no keyloom.exe of $arg"; exit 0; }
    report ready
    sleep "$(printf '%d.%03d' $(($4 / 1000)) $(($4 % 1000)))"
    if kill -KILL "$pid"; then report "killed $pid"; else report "keyloom.exe $pid was gone"; fi ;;
  *) report "failed: unknown $verb" ;;
esac
