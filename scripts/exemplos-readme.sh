#!/usr/bin/env bash
# Runs every qmx command the README and its Portuguese companion LEIA-ME
# show, so that none of them can rot (nor the two drift apart): the
# `build/cli/qmx` lines of its ```sh blocks (a line ending in "\" goes on in
# the next) and the commands quoted in its "First steps", on a demonstration
# company made for the run, as scripts/demo.sh makes it (November 2026, the
# month of the examples), in a temporary folder the commands run from, so
# that qmx-demo/ there is that company. "<arquivo>" stands for each file of
# the company's electronic-files folder in turn (each signed one, for
# verificar). Every command must exit 0;
# prints each one with its exit status and exits 1 on any other.
set -uo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qmx="${QMX:-$raiz/build/cli/qmx}"
trabalho="$(mktemp -d)"
trap 'rm -rf "$trabalho"' EXIT

if ! "$qmx" demo --mes "${QMX_DEMO_MES:-11/2026}" --pasta "$trabalho/qmx-demo" > "$trabalho/demo.log" 2>&1; then
  echo "qmx demo falhou:"; tail -20 "$trabalho/demo.log"; exit 1
fi

# The commands, one per line, as the README and the LEIA-ME write them.
for leitura in README.md LEIA-ME.md; do
perl -ne '
  if (/^```sh/) { $bloco = 1; next }
  if (/^```/) { $bloco = 0; next }
  if ($bloco) {
    chomp; s/\s+#.*$//;
    if (defined $linha) { s/^\s+//; $linha .= " $_" } else { $linha = $_ }
    if ($linha =~ s/\s*\\$//) { next }
    print "$linha\n" if $linha =~ m{^([A-Z_]+=("[^"]*"|\S+)\s+)*build/cli/qmx };
    undef $linha;
    next;
  }
  $passos = 1 if /^## (First steps|Primeiros passos)/;
  $passos = 0 if /^## / && !/^## (First steps|Primeiros passos)/;
  $texto .= $_ if $passos;
  END {
    $texto =~ s/\s*\n\s*/ /g;
    while ($texto =~ m{`(build/cli/qmx [^`]*)`}g) {
      my $c = $1;
      print "$c\n" unless $c =~ /\b(COMMAND|FILE|CONEXAO|ARQUIVO)\b/;  # words to fill in
    }
  }' "$raiz/$leitura" >> "$trabalho/comandos"
done

[[ -s "$trabalho/comandos" ]] || { echo "nenhum comando encontrado no README"; exit 1; }
falhas=0
total=0
cd "$trabalho"
while IFS= read -r comando; do
  comando="${comando/build\/cli\/qmx/\"\$qmx\"}"
  if [[ "$comando" == *"<arquivo>"* ]]; then
    variantes=()
    for arquivo in qmx-demo/DEMO/Arquivos-Eletronicos/*; do
      # The SPED extract carries no EAD line: verificar rightly refuses it.
      [[ "$arquivo" == *TorvoECF-SpedFiscal-* && "$comando" == *verificar* ]] && continue
      variantes+=("${comando//<arquivo>/\'$(basename "$arquivo")\'}")
    done
  else
    variantes=("$comando")
  fi
  for variante in "${variantes[@]}"; do
    total=$((total + 1))
    saida=$(qmx="$qmx" bash -c "$variante" 2>&1 < /dev/null)
    codigo=$?
    printf '%d  %s\n' "$codigo" "${variante/\"\$qmx\"/qmx}"
    if [[ $codigo -ne 0 ]]; then
      falhas=$((falhas + 1))
      tail -5 <<< "$saida" | sed 's/^/    /'
    fi
  done
done < "$trabalho/comandos"
# The installation into a home prefix, as the README's block that starts
# with "cmake --install build --prefix ~/qmxutil" writes it: HOME is a
# folder of the run, the build folder the one tested (QMX_BUILD, else build/).
build="${QMX_BUILD:-$raiz/build}"
perl -ne '
  if (/^```sh/) { $bloco = 1; $linhas = ""; next }
  if (/^```/) { print $linhas if $linhas =~ m{^cmake --install build --prefix ~/qmxutil}; $bloco = 0; next }
  $linhas .= $_ if $bloco;' "$raiz/README.md" "$raiz/LEIA-ME.md" > "$trabalho/instalacao"
if [[ ! -s "$trabalho/instalacao" ]]; then
  echo "o README não tem o bloco de instalação num prefixo da pasta pessoal"; falhas=$((falhas + 1))
else
  mkdir -p "$trabalho/casa"
  # The README's library folder is that of a build configured for /usr;
  # the one tested may have been configured for another prefix.
  libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
  # A library built with the sanitizers needs their runtime first in the
  # program that loads it: the front end is compiled with the same flags.
  sanitizadores=$(sed -n 's/^CMAKE_CXX_FLAGS:[A-Z]*=.*\(-fsanitize=[a-z,]*\).*/\1/p' "$build/CMakeCache.txt")
  sed -i -e "s|^cmake --install build |cmake --install '$build' |" -e "s|exemplos/assina.c|'$raiz/exemplos/assina.c'|" \
    -e "s|qmxutil/lib/x86_64-linux-gnu|qmxutil/${libdir:-lib}|g" -e "s|^cc |cc $sanitizadores |" "$trabalho/instalacao"
  total=$((total + 1))
  saida=$(cd "$trabalho" && HOME="$trabalho/casa" bash -e "$trabalho/instalacao" 2>&1 < /dev/null)
  codigo=$?
  printf '%d  %s\n' "$codigo" "instalação em ~/qmxutil, pkg-config e assina.c (README)"
  if [[ $codigo -ne 0 ]]; then falhas=$((falhas + 1)); tail -5 <<< "$saida" | sed 's/^/    /'; fi
fi
echo "$total comandos, $falhas com falha"
[[ $falhas -eq 0 ]]
