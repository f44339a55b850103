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

PACOTES=(cmake ninja-build g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64 wine wine64 googletest npm openssl)
faltam=()
for pacote in "${PACOTES[@]}"; do
  dpkg-query -W -f='${Status}' "$pacote" 2>/dev/null | grep -q "install ok installed" || faltam+=("$pacote")
done
if ((${#faltam[@]} > 0)); then
  echo "Instalando: ${faltam[*]}"
  comando=(apt-get)
  if [[ $(id -u) -ne 0 ]]; then comando=(sudo apt-get); fi
  export DEBIAN_FRONTEND=noninteractive
  "${comando[@]}" update -qq
  "${comando[@]}" install -y -qq --no-install-recommends "${faltam[@]}"
fi

for pasta in "$pasta32" "$pasta64"; do
  bash "$raiz/scripts/sqlite-amalgama.sh" "$pasta/sqlite"
done

# i686: the DLL and its export table.
cmake -S "$raiz" -B "$pasta32" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQMX_TESTES=OFF -DQMX_BENCH=OFF
cmake --build "$pasta32" -j "$(nproc)" --target qmxutil
ctest --test-dir "$pasta32" --output-on-failure -R '^exportacoes_dll$'

# x86_64: everything, and the tests under wine64.
cmake -S "$raiz" -B "$pasta64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DQMX_TESTES="${QMX_TESTES_WINDOWS:-ON}" -DQMX_BENCH=OFF
cmake --build "$pasta64" -j "$(nproc)"

prefixo="$(mktemp -d)"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefixo"' EXIT
export WINEPREFIX="$prefixo/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine wineboot -i >/dev/null 2>&1
# The tests that need Linux (see testes/CMakeLists.txt) carry the label
# so-linux; the Windows build leaves them out.
ctest --test-dir "$pasta64" --output-on-failure -LE so-linux
