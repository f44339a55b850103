#!/usr/bin/env bash
# The Windows build: QMXUTIL.dll, qmx.exe and the tests cross-compiled with
# mingw-w64, the DLL's export table checked against its list, and the tests
# run under Wine in a throw-away prefix.
#
# Two builds: i686 (the 32-bit DLL the point-of-sale programs load, whose
# record layouts are checked at compile time and whose export table is
# checked here) and x86_64, whose tests run under wine64 (Debian's 32-bit
# Wine needs the i386 architecture, which this script does not add).
# Folders: build-win32/ and build-win64/ (or QMX_BUILD_WIN32/QMX_BUILD_WIN64).
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta32="${QMX_BUILD_WIN32:-$raiz/build-win32}"
pasta64="${QMX_BUILD_WIN64:-$raiz/build-win64}"

# npm (for the SQLite amalgamation) may come with Node.js itself: the
# amalgamation script installs it only when the command is missing.
bash "$raiz/scripts/dependencias.sh" cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine64 googletest openssl xvfb xauth

for pasta in "$pasta32" "$pasta64"; do
  bash "$raiz/scripts/sqlite-amalgama.sh" "$pasta/sqlite"
done

# i686: the DLL and its export table.
cmake -S "$raiz" -B "$pasta32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQMX_TESTES=OFF -DQMX_BENCH=OFF
cmake --build "$pasta32" -j "$(nproc)" --target qmxutil
ctest --test-dir "$pasta32" --output-on-failure -R '^exportacoes_dll$'

# x86_64: everything, and the tests under wine64, in a throw-away prefix
# whose server stays up between the test processes (starting it for each
# one costs seconds). GoogleTest lists the tests under Wine at build time.
prefixo="$(mktemp -d)"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefixo"' EXIT
export WINEPREFIX="$prefixo/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineserver -p
wine wineboot -i >/dev/null 2>&1

cmake -S "$raiz" -B "$pasta64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQMX_TESTES="${QMX_TESTES_WINDOWS:-ON}" -DQMX_BENCH=OFF
cmake --build "$pasta64" -j "$(nproc)"

# One test at a time: the tests write the prefix's registry. The tests that
# need Linux are not built here (cmake/TestesWindows.cmake says which).
# Wine now and then fails to start a process at all (no output, no time):
# such a test gets one more run.
ctest --test-dir "$pasta64" --output-on-failure --timeout 120 --repeat until-pass:2

# The demonstration end to end on Windows: its company, settings written
# into the system's registry, every file generated and its EAD checked, the
# reports, the integration; qmx.exe exits 1 when any step answers false.
demo="$(mktemp -d)"
wine "$pasta64/cli/qmx.exe" demo --pasta "$(winepath -w "$demo")" > "$pasta64/demo.txt"
rm -rf "$demo"
echo "qmx.exe demo: tudo certo ($pasta64/demo.txt)"

# The real dialogs on a virtual screen: a PNG of each (kept in
# $pasta64/telas) and their control rectangles against the templates.
rm -rf "$pasta64/telas" && mkdir -p "$pasta64/telas"
wineserver -k || true
xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -c 'wine "$1/qmx_telas.exe" "$(winepath -w "$1/telas")"; resultado=$?; wineserver -k; exit $resultado' \
  _ "$pasta64"
ls "$pasta64/telas"
