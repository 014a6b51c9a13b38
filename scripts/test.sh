#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal build, then one with
# AddressSanitizer + UndefinedBehaviorSanitizer. Installs what is missing first.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc)

scripts/setup.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure -j "$jobs"

scripts/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSRA_SANITIZE=ON -DTESSRA_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh; fi
