#!/usr/bin/env bash
# Unpacks the portable zip into a fresh folder, as a technician does onto a USB stick, and runs the
# scenario that checks its files and starts Keyloom in it. Usage: portable_zip.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
dir="$build_dir/portable-run"
rm -rf "$dir"
mkdir -p "$dir"
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' \
  "$build_dir/dist/keyloom-1.01-portable.zip" "$dir/stick"
KEYLOOM_PORTABLE_DIR=$(echo "Z:$dir/stick" | tr / '\\') "$source_dir/tools/wine/wine-run" "$build_dir" \
  "$build_dir/e2e_tests.exe" --gtest_filter='PortableZip.*' | tee "$dir/log"
grep -q '\[  PASSED  \] 1 test' "$dir/log"
if grep -q SKIPPED "$dir/log"; then echo "the portable scenario did not run"; exit 1; fi
