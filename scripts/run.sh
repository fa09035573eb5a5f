#!/usr/bin/env bash
# Builds Quillon and starts it under Wine, in the user's own Wine prefix. Arguments go to the program ("-st"
# starts it minimised).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --run
cmake --preset windows -DQUILLON_BUILD_TESTS=OFF >/dev/null
cmake --build --preset windows --target quillon -j "$(nproc)"

export WINEDEBUG=${WINEDEBUG:--all}
export FONTCONFIG_FILE="$PWD/scripts/wine-fonts.conf"  # where fonts-wine's Tahoma is (see the file)
if [ -z "${DISPLAY:-}" ]; then
  # No screen here: show the window on a virtual display so the program still starts.
  display=:97
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY=$display
  echo "No DISPLAY set: Quillon runs on the virtual display $display until it is closed."
fi
wine build/windows/quillon.exe "$@"
