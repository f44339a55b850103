#!/usr/bin/env bash
# Builds the library and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitizadores/ and runs the suite
# there (on SQLite; the PostgreSQL cases need the server of testes.sh). Any
# memory error, leak or undefined behaviour fails the run.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pasta="${QMX_BUILD_SANITIZADORES:-$raiz/build-sanitizadores}"
bash "$raiz/scripts/dependencias.sh"
bandeiras="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
# (The Qt host is left out: Qt and fontconfig keep allocations for the
# process's life that the leak checker would count as ours.)
cmake -S "$raiz" -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQMX_BENCH=OFF -DQMX_QT=OFF \
  -DCMAKE_CXX_FLAGS="$bandeiras" -DCMAKE_EXE_LINKER_FLAGS="$bandeiras" -DCMAKE_SHARED_LINKER_FLAGS="$bandeiras"
cmake --build "$pasta" -j "$(nproc)"
unset QMX_TESTE_POSTGRES QMX_EXIGE_POSTGRES
# The leak checker's tracking of the dynamic thread-local storage of a library
# loaded with dlopen (qmx loads the library so) can read a bogus range on this
# glibc and crash its tracer at exit ("Tracer caught signal 11", "DTLS ... at
# 0x1329-..."), which fails the process. It is turned off; the heap, the stacks
# and the static thread-local storage are still scanned for leaks.
export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir "$pasta" --output-on-failure -j "$(nproc)"
