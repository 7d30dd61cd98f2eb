#!/usr/bin/env bash
# Starts the setup program with its pages in a Russian and in an English locale (Wine takes the
# Windows interface language from the locale of the process) and runs the scenario that reads and
# saves the pages. Usage: installer_pages.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
log="$build_dir/installer-pages.log"
: >"$log"
. "$source_dir/tools/wine/wine-env.sh"
unset DISPLAY
keyloom_wine_up "$(keyloom_lane_home "$build_dir")" 1 || exit 1
for language in russian:ru_RU.UTF-8 english:en_US.UTF-8; do
  name=${language%%:*}
  locale=${language#*:}
  LANG=$locale LC_ALL=$locale wine "$build_dir/dist/keyloom-1.01-setup.exe" >>"$log" 2>&1 </dev/null &
  setup=$!
  KEYLOOM_SETUP_LANGUAGE=$name "$source_dir/tools/wine/wine-run" "$build_dir" "$build_dir/e2e_tests.exe" \
    --gtest_filter='InstallerPages.*' | tee -a "$log" | tee "$build_dir/installer-pages-$name.log"
  kill "$setup" 2>/dev/null || true
  wait "$setup" || true
  grep -q '\[  PASSED  \] 1 test' "$build_dir/installer-pages-$name.log"
  if grep -q SKIPPED "$build_dir/installer-pages-$name.log"; then echo "the $name pages were not read"; exit 1; fi
done
