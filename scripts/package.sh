#!/usr/bin/env bash
# Builds what goes to a customer: the Windows installer and the portable zip, under build/win/dist.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh" win keyloom_package
for artifact in keyloom-1.01-setup.exe keyloom-1.01-portable.zip; do
  echo "$top/build/win/dist/$artifact ($(stat -c %s "$top/build/win/dist/$artifact") bytes)"
done
