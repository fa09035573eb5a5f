#!/usr/bin/env bash
# Runs a command with a throw-away Wine prefix and a private Xvfb display, then removes both.
# Usage: scripts/with-wine.sh COMMAND [ARGS...]
set -euo pipefail

prefix=$(mktemp -d /tmp/quillon-wine.XXXXXX)
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export FONTCONFIG_FILE="$(cd "$(dirname "$0")" && pwd)/wine-fonts.conf"  # where fonts-wine's Tahoma is (see the file)
# No debugger: a program that faults ends at once with an error instead of waiting in winedbg.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# Xvfb picks a display number nobody uses and writes it down, so that runs started together never share one.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$prefix/display" >/dev/null 2>&1 &
xvfb_pid=$!

cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
  wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT

for _ in $(seq 100); do [ -s "$prefix/display" ] && break; sleep 0.1; done
[ -s "$prefix/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(tr -d '[:space:]' < "$prefix/display")"
wineboot -i >/dev/null 2>&1 || true
wineserver -w || true
# Xvfb has no window manager: let Wine manage its windows itself, or every window that closes waits for a
# confirmation that never comes. The prefix is ours and the server has exited, so its file can be appended to.
printf '\n[Software\\\\Wine\\\\X11 Driver]\n"Managed"="N"\n' >> "$WINEPREFIX/user.reg"
"$@"
