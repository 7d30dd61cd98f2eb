#!/usr/bin/env bash
# Runs the scenario that reads and saves the setup program's pages in a Russian and in an English
# locale: Wine takes a program's Windows interface language from the locale of its process, and the
# setup programs that the scenario starts inherit it. Usage: installer_pages.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
. "$source_dir/tools/wine/wine-env.sh"
unset DISPLAY
keyloom_wine_up "$(keyloom_lane_home "$build_dir")" 1 || exit 1
for language in russian:ru_RU.UTF-8 english:en_US.UTF-8; do
  name=${language%%:*}
  locale=${language#*:}
  log="$build_dir/installer-pages-$name.log"
  # Through a file, not a pipe, which Wine's background services would hold open.
  LANG=$locale LC_ALL=$locale KEYLOOM_SETUP_LANGUAGE=$name wine "$build_dir/e2e_tests.exe" \
    --gtest_filter='InstallerPages.*' >"$log" 2>&1 </dev/null || true
  cat "$log"
  grep -q '\[  PASSED  \] 1 test' "$log"
  if grep -q SKIPPED "$log"; then echo "the $name pages were not read"; exit 1; fi
done
