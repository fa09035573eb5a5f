#!/usr/bin/env bash
# Builds Quillon and runs every test: the portable layers natively (AddressSanitizer, UBSan), then the Windows
# build under Wine in a throw-away prefix with a private X display. The 32-bit build is compiled too.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"
scripts/fuzz.sh 10

cmake --preset windows -DQUILLON_BUILD_TESTS=ON >/dev/null
cmake --build --preset windows -j "$jobs"
cmake --preset windows32 >/dev/null
cmake --build --preset windows32 -j "$jobs"

scripts/with-wine.sh ctest --preset windows -j "$jobs"
