#!/usr/bin/env bash
# Starts quillon.exe under Wine on a private virtual display, saves a PNG of its window, then closes it.
# Builds nothing: it takes build/windows/quillon.exe, or the executable QUILLON_EXE names.
# Usage: [QUILLON_DPI=192] scripts/screenshot.sh [OUTPUT.png] [ARGUMENTS...]   (OUTPUT defaults to build/quillon.png;
#        ARGUMENTS go to the program; QUILLON_DPI sets the screen's DPI, 96 by default). The display has no window
#        manager, so the picture is the client area without a frame, and a window started with "-st" still shows:
#        Windows calls it minimised, but nothing on the display iconifies it.
# Needs the Debian packages wine, wine64, xvfb, xdotool and imagemagick. The Wine prefix is a throw-away one
# (scripts/with-wine.sh), so the user's own Wine registry is never touched.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$root/build/quillon.png}
[ $# -gt 0 ] && shift
case "$output" in /*) ;; *) output="$PWD/$output" ;; esac
mkdir -p "$(dirname "$output")"
exe=${QUILLON_EXE:-$root/build/windows/quillon.exe}
case "$exe" in /*) ;; *) exe="$PWD/$exe" ;; esac

if [ "${QUILLON_SCREENSHOT_INNER:-}" != 1 ]; then
  [ -f "$exe" ] || { echo "no $exe: build it first (cmake --build --preset windows) or set QUILLON_EXE" >&2; exit 1; }
  missing=()
  for tool in wine Xvfb xdotool import; do command -v "$tool" >/dev/null 2>&1 || missing+=("$tool"); done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "missing ${missing[*]}: apt-get install wine wine64 xvfb xdotool imagemagick" >&2
    exit 1
  fi
  # The second half runs inside the throw-away prefix and display that with-wine.sh sets up and removes.
  QUILLON_SCREENSHOT_INNER=1 QUILLON_EXE="$exe" exec "$root/scripts/with-wine.sh" "$0" "$output" "$@"
fi

if [ -n "${QUILLON_DPI:-}" ]; then
  # The prefix is a throw-away one and its server has exited (with-wine.sh waits for it): its user registry file
  # takes the screen's DPI directly, a later line for a key overriding an earlier one.
  wineserver -w || true
  printf '\n[Control Panel\\\\Desktop]\n"LogPixels"=dword:%08x\n' "$QUILLON_DPI" >> "$WINEPREFIX/user.reg"
fi
wine "$exe" "$@" >/dev/null 2>&1 &
program=$!

window=""
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name '^Quillon$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$program" 2>/dev/null || { echo "quillon.exe ended before it showed its window" >&2; exit 1; }
  sleep 0.2
done
[ -n "$window" ] || { echo "no window named Quillon appeared within 60 seconds" >&2; exit 1; }
sleep 1  # let the controls finish painting

eval "$(xdotool getwindowgeometry --shell "$window")"
# The root window holds what is on screen, child controls included; crop it to the window's rectangle.
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
echo "$output: ${WIDTH}x${HEIGHT} window at ${X},${Y}"

# Close the way a user does (Alt+F4 to the focused window); if the program does not end, with-wine.sh's
# wineserver -k ends it with the prefix.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4 2>/dev/null || true
for _ in $(seq 50); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$program" 2>/dev/null; then
  echo "quillon.exe did not close on Alt+F4; ending it with the Wine prefix" >&2
else
  wait "$program" || true
  echo "quillon.exe closed"
fi
