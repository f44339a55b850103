#!/usr/bin/env bash
# The test of the Qt windows on a real X server (scripts/testes-janelas-x.sh)
# with every windowed run of qmx under valgrind's memcheck: an invalid read
# or write, a use of freed memory or of an unset value anywhere in the run
# (the library, its Qt host, Qt) fails it, as a crash does. Leaks are not
# counted: Qt keeps what it allocates for the process's life. Slow (about
# few minutes): run by hand, not in CI.
set -uo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qmx="${QMX:-$raiz/build/cli/qmx}"
command -v valgrind > /dev/null || { echo "sem valgrind"; exit 1; }
trabalho="$(mktemp -d)"
trap 'rm -rf "$trabalho"' EXIT
# The demonstration runs as it is; the windows under memcheck, with a
# report of their own each.
cat > "$trabalho/qmx" <<FIM
#!/usr/bin/env bash
if [[ " \$* " == *" --janelas "* ]]; then
  exec valgrind -q --error-exitcode=99 --leak-check=no --suppressions="$raiz/scripts/valgrind/xcb.supp" \\
    --log-file="$trabalho/memcheck.%p.log" "$qmx" "\$@"
fi
exec "$qmx" "\$@"
FIM
chmod +x "$trabalho/qmx"
# Everything is some fifty times slower there: longer waits, and a file of
# two days.
QMX="$trabalho/qmx" QMX_ESPERA_JANELA=120 QMX_ESPERA_ARQUIVO=600 QMX_DIA_FINAL=02 \
  bash "$raiz/scripts/testes-janelas-x.sh"
resultado=$?
for relato in "$trabalho"/memcheck.*.log; do
  [[ -s "$relato" ]] && { echo "memcheck: $relato"; cat "$relato"; resultado=1; }
done
exit $resultado
