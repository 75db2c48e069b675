#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs every test: once in a normal build, once more in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
# Each test gives the programs and the tool a journal folder of its own; should one forget,
# its records land here rather than in the user's home.
ZERWA_JOURNAL_DIR=$(mktemp -d)
export ZERWA_JOURNAL_DIR
trap 'rm -rf "$ZERWA_JOURNAL_DIR"' EXIT
jobs=$(nproc)

echo "== Build and test =="
scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer =="
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DZERWA_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
echo "All tests passed."
