#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz (clang, AddressSanitizer, UBSan) and runs each for a bounded time,
# starting from a copy of its seed corpus. Fails when any target finds a crash, a failed check or a hang; the
# input that did it is kept in build/fuzz/crashes/<target>/ for replaying (build/fuzz/fuzz/<target> <file>).
# Usage: scripts/fuzz.sh [seconds-per-target]   (default 10)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DQUILLON_FUZZ=ON -DQUILLON_BUILD_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target quillon_fuzz -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for source in tests/fuzz/*.cpp; do
  name=$(basename "$source" .cpp)
  mkdir -p "$work/$name/corpus" "$work/$name/crash"
  if [ -d "tests/fuzz/corpus/$name" ]; then cp tests/fuzz/corpus/"$name"/* "$work/$name/corpus/"; fi
  # The corpus copy grows while the fuzzer runs; the seeds in the repository never change.
  if "$build/fuzz/$name" "$work/$name/corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$work/$name/crash/" >"$work/$name/log" 2>&1; then
    echo "$name: $(awk '/stat::number_of_executed_units/ {print $2}' "$work/$name/log") executions in ${seconds} s"
  else
    echo "$name: FAILED"
    grep -v '^#' "$work/$name/log" | tail -n 40
    mkdir -p "$build/crashes/$name"
    cp "$work/$name/crash/"* "$build/crashes/$name/" 2>/dev/null || true
    failed=1
  fi
done
exit "$failed"
