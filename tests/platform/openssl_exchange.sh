#!/usr/bin/env bash
# Checks the encrypted key list format against openssl: a file the program encrypts decrypts
# with "openssl enc -d -aes-256-cbc" under the derived key, and a file openssl encrypts decrypts
# in the program. Usage: openssl_exchange.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# The key the program derives from its pass phrase.
key=$(python3 "$source_dir/tools/keyfile/key_file_key.py")
iv=00000000000000000000000000000000

head -c 2500 /dev/urandom >"$dir/plain"
openssl enc -aes-256-cbc -K "$key" -iv "$iv" -in "$dir/plain" -out "$dir/openssl.enc"

KEYLOOM_EXCHANGE_DIR="Z:$dir" "$source_dir/tools/wine/wine-run" "$build_dir" \
  "$build_dir/platform_tests.exe" --gtest_filter=KeyFileTool.ConvertForOpenssl | tee "$dir/log"
grep -q '\[  PASSED  \] 1 test' "$dir/log"
grep -q 'SKIPPED' "$dir/log" && { echo "the exchange test did not run"; exit 1; }

openssl enc -d -aes-256-cbc -K "$key" -iv "$iv" -in "$dir/program.enc" -out "$dir/program.dec"
cmp "$dir/program.dec" "$dir/plain"
cmp "$dir/openssl.dec" "$dir/plain"
echo "openssl and the program agree on $(stat -c %s "$dir/plain") bytes"
