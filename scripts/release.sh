#!/usr/bin/env bash
# Builds the release executable and packs quillon-1.0-win64.zip (quillon.exe, README.md, LICENSE).
# Refuses a package whose executable is 1 MB or more or needs a DLL beyond the system's.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --run
cmake --preset windows >/dev/null
cmake --build --preset windows --target quillon -j "$(nproc)"
exe=build/windows/quillon.exe
x86_64-w64-mingw32-strip -o build/windows/release-quillon.exe "$exe"

size=$(stat -c %s build/windows/release-quillon.exe)
if [ "$size" -ge 1048576 ]; then echo "quillon.exe is $size bytes, over 1 MB" >&2; exit 1; fi
system_dlls='^(kernel32|user32|gdi32|advapi32|comctl32|msvcrt|ntdll|shell32|ole32|api-ms-win-.*)\.dll$'
extra=$(x86_64-w64-mingw32-objdump -p build/windows/release-quillon.exe | awk '/DLL Name:/ {print tolower($3)}' |
        grep -vE "$system_dlls" || true)
if [ -n "$extra" ]; then echo "quillon.exe needs non-system DLLs: $extra" >&2; exit 1; fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/windows/release-quillon.exe "$stage/quillon.exe"
cp README.md LICENSE "$stage/"
(cd "$stage" && cmake -E tar cf quillon-1.0-win64.zip --format=zip quillon.exe README.md LICENSE)
mv "$stage/quillon-1.0-win64.zip" .
echo "quillon-1.0-win64.zip: quillon.exe $size bytes"
