#!/usr/bin/env bash
# Builds and runs the whole test suite twice: a normal build, then one with
# AddressSanitizer + UndefinedBehaviorSanitizer; then fuzzes the property-list
# load path briefly. Installs what is missing first. Ends with one summary line.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
jobs=$(nproc)

scripts/setup.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build --output-on-failure -j "$jobs" | tee build/ctest.log

scripts/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSRA_SANITIZE=ON -DTESSRA_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 LSAN_OPTIONS=print_suppressions=0 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" | tee build-asan/ctest.log

if [ -x scripts/fuzz.sh ]; then scripts/fuzz.sh; fi

# Both runs passed (set -e and pipefail stop at a failure): count what ran.
count() { sed -n 's/.*tests passed, [0-9]* tests failed out of \([0-9]*\).*/\1/p' "$1" | tail -n 1; }
normal=$(count build/ctest.log); sanitized=$(count build-asan/ctest.log)
total=$(( ${normal:-0} + ${sanitized:-0} ))
echo "tests: $total passed, 0 failed"
