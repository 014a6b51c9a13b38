#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz, and runs each one briefly from its
# seed corpus. Exits non-zero when a target finds a crash, a leak or a failed
# check; the input that did it is left in build-fuzz/artifacts/.
#   FUZZ_SECONDS   how long each target runs (default 25)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
seconds=${FUZZ_SECONDS:-25}
targets=(plist_load_fuzzer)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTESSRA_SANITIZE=ON -DTESSRA_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target "${targets[@]}" -j "$(nproc)"

mkdir -p build-fuzz/artifacts
for target in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the committed seeds stay as they are.
  corpus="build-fuzz/corpus/$target"
  mkdir -p "$corpus"
  dict=()
  if [ -f "fuzz/$target.dict" ]; then dict=(-dict="fuzz/$target.dict"); fi
  echo "== $target for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "build-fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/artifacts/$target-" "${dict[@]}" "$corpus" "fuzz/corpus/$target"
done
