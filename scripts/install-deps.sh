#!/usr/bin/env bash
# Installs what building and testing Quillon needs, when it is missing (Debian, as root).
# Usage: scripts/install-deps.sh [--run]   (--run: only what building and starting the program needs)
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have ninja || need+=(ninja-build)
have x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
have wine || need+=(wine)
[ -x /usr/lib/wine/wine64 ] || need+=(wine64)
# Wine's own fonts: Tahoma, the window's font, and the faces Wine's dialogs and captions ask for.
dpkg -s fonts-wine >/dev/null 2>&1 || need+=(fonts-wine)
if [ "${1:-}" != "--run" ]; then
  have g++ || need+=(g++)
  have i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
  have Xvfb || need+=(xvfb)
  have xdotool || need+=(xdotool)
  [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
  have clang++ || need+=(clang)
  compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-14-dev)
elif [ -z "${DISPLAY:-}" ]; then
  have Xvfb || need+=(xvfb)
fi
have c++ || need+=(g++)

if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
