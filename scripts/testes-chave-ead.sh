#!/usr/bin/env bash
# A developer's own EAD key, end to end:
#
#   testes-chave-ead.sh ASSINADOR PUBLICA.pem QMX
#
# ASSINADOR is the library's signing built with a key of its own (made by
# scripts/chave-ead.sh from a key generated for the build). A file it signs
# must carry one EAD line whose signature the key's public half opens into
# the digest block of what the line covers (16, then the MD5); the same
# file must fail `qmx verificar`, which checks with the library's own key.
set -euo pipefail
assinador="$1" publica="$2" qmx="$3"
t="$(mktemp -d)"
trap 'rm -rf "$t"' EXIT
printf 'E01QMX0000000000000001EMULADA\r\nE02CHAVE DO DESENVOLVEDOR\r\n' > "$t/arquivo.txt"
corpo=$(md5sum < "$t/arquivo.txt" | cut -c1-32)
"$assinador" "$t/arquivo.txt"
linha=$(tail -n 1 "$t/arquivo.txt" | tr -d '\r')
[[ "$linha" =~ ^EAD[0-9a-f]{256}$ ]] || { echo "FALHA: sem linha EAD: $linha"; exit 1; }
perl -e 'print pack("H*", $ARGV[0])' "${linha:3}" > "$t/assinatura.bin"
openssl pkeyutl -verifyrecover -pubin -inkey "$publica" -pkeyopt rsa_padding_mode:none \
  -in "$t/assinatura.bin" -out "$t/bloco.bin"
bloco=$(od -An -v -tx1 "$t/bloco.bin" | tr -d ' \n')
[[ "${bloco:0:2}" == 10 && "${bloco:2:32}" == "$corpo" ]] ||
  { echo "FALHA: a chave pública não abre o resumo do arquivo: ${bloco:0:40}"; exit 1; }
[[ "${bloco:34}" =~ ^0*$ ]] || { echo "FALHA: o bloco aberto não termina em zeros"; exit 1; }
if "$qmx" verificar "$t/arquivo.txt" > /dev/null 2>&1; then
  echo "FALHA: a chave da biblioteca confere um arquivo assinado com outra"; exit 1
fi
echo "assinado com a chave própria, conferido com a sua metade pública e recusado pela da biblioteca"
