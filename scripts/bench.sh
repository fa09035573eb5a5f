#!/usr/bin/env bash
# Builds the benchmarks and runs them; each prints its figures.
# Usage: scripts/bench.sh [--idle] [depth] [branch]     the real registry under Wine, in a throw-away prefix: the
#                                                       search (bench_search, three rounds, a tree of 111,110 keys by
#                                                       default) and the value panel (bench_value_panel)
#        scripts/bench.sh --memory [depth] [branch]     the in-memory registry, where registry calls cost nothing:
#                                                       bench_search_memory natively on the headless runtime, then
#                                                       under Wine on the real window (885,775 entries by default)
#
# Every registry call is a round trip to Wine's server. On a virtual machine whose other core is idle, the round
# trip waits for that core to wake up (40 to 60 us, varying from run to run); while a core is busy it takes about
# 9 us, steadily. So the Wine registry benchmarks run with a low-priority busy loop beside them, which makes runs
# comparable and shows the program's own costs against the fastest registry; --idle leaves it out.
# QUILLON_BUILD_DIR and QUILLON_NATIVE_BUILD_DIR name other build directories (defaults build/windows and
# build/native-release).
set -euo pipefail
cd "$(dirname "$0")/.."

windows_dir=${QUILLON_BUILD_DIR:-build/windows}
native_dir=${QUILLON_NATIVE_BUILD_DIR:-build/native-release}
mode=registry
steady=1
case "${1:-}" in
  --idle) steady=0; shift ;;
  --memory) mode=memory; shift ;;
esac
scripts/install-deps.sh
cmake --preset windows -B "$windows_dir" >/dev/null

if [ "$mode" = memory ]; then
  # Optimised and without sanitizers: the native preset's own build is for the tests.
  cmake --preset native -B "$native_dir" -DCMAKE_BUILD_TYPE=Release -DQUILLON_SANITIZE=OFF \
    -DQUILLON_BUILD_TESTS=OFF >/dev/null
  cmake --build "$native_dir" --target bench_search_memory -j "$(nproc)"
  cmake --build "$windows_dir" --target bench_search_memory -j "$(nproc)"
  "$native_dir/bench_search_memory" "$@" --profile
  scripts/with-wine.sh wine "$windows_dir/bench_search_memory.exe" "$@" --profile
  exit 0
fi

cmake --build "$windows_dir" --target bench_search bench_value_panel -j "$(nproc)"
if [ "$steady" = 1 ]; then
  nice -n 19 sh -c 'while :; do :; done' &
  loop=$!
  trap 'kill $loop 2>/dev/null || true' EXIT
fi
scripts/with-wine.sh wine "$windows_dir/bench_search.exe" "$@"
scripts/with-wine.sh wine "$windows_dir/bench_value_panel.exe"
