#!/usr/bin/env bash
# Writes the man page of qmx from the program's own help:
#
#   gera-manual.sh QMX VERSÃO SAÍDA
#
# `QMX --help` gives the synopsis (the "uso:" line), the blocks of options
# (a line ending in ":" and then one line per option: two blanks, the
# option, two or more blanks, what it does), the commands (the block
# "Comandos:") and the exit status (the "Saída:" line). Each command whose
# `QMX NOME --help` succeeds gets that help beneath it. Writes SAÍDA (troff,
# UTF-8) and SAÍDA.gz.
set -euo pipefail
qmx="$1" versao="$2" saida="$3"
# A build with sanitizers runs the program here as well: its leak report is
# no help text.
export ASAN_OPTIONS="detect_leaks=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
# Whatever a command does when it takes --help for something else, it does
# in the temporary folder, with empty machine settings.
qmx=$(realpath "$qmx")
saida=$(realpath -m "$saida")
cd "$temp"
: >"$temp/registro.ini"
export QMX_REGISTRO="$temp/registro.ini"
"$qmx" --help >"$temp/ajuda"
# The commands, in the order the help lists them; the help of each one.
awk '/^Comandos:$/ { c = 1; next } c && /^  [^ ]/ { print $1; next } c && !/^  / { c = 0 }' \
  "$temp/ajuda" >"$temp/comandos"
[[ -s "$temp/comandos" ]] || { echo "gera-manual: a ajuda de $qmx não lista comandos" >&2; exit 1; }
mkdir "$temp/comando"
while read -r nome; do
  if "$qmx" "$nome" --help >"$temp/comando/$nome" 2>/dev/null; then :; else rm -f "$temp/comando/$nome"; fi
done <"$temp/comandos"

# Troff: a backslash is \e, a minus is \- (so options copy as typed), and a
# line may not start with a control character.
awk -v versao="$versao" -v pasta="$temp/comando" '
function esc(t) {
  gsub(/\\/, "\\e", t); gsub(/-/, "\\-", t)
  if (t ~ /^[.'"'"']/) t = "\\&" t
  return t
}
function bloco(arquivo,   linha, texto) {
  texto = ""
  while ((getline linha < arquivo) > 0) texto = texto esc(linha) "\n"
  close(arquivo)
  return texto
}
# An entry "  NAME    description": the name, then the text after two blanks.
function entrada(linha,   resto, i) {
  resto = substr(linha, 3)
  i = match(resto, /  +/)
  if (i == 0) return ".TP\n.B " esc(resto) "\n"
  return ".TP\n.B " esc(substr(resto, 1, i - 1)) "\n" esc(substr(resto, i + RLENGTH)) "\n"
}
NR == 1 && /^uso: / { sinopse = substr($0, 6); next }
/^Comandos:$/ { secao = "comandos"; next }
/^Saída: / { saida_txt = saida_txt esc(substr($0, 9)) "\n"; secao = ""; next }
/^[^ ].*:$/ { secao = "opcoes"; opcoes = opcoes ".SS " esc(substr($0, 1, length($0) - 1)) "\n"; next }
/^$/ { if (secao != "comandos") secao = ""; next }
/^  [^ ]/ && secao == "opcoes" { opcoes = opcoes entrada($0); next }
/^  [^ ]/ && secao == "comandos" {
  comandos = comandos entrada($0)
  arquivo = pasta "/" $1
  if ((getline teste < arquivo) > 0) { close(arquivo); comandos = comandos ".RS\n.sp\n.nf\n" bloco(arquivo) ".fi\n.RE\n" }
  next
}
{ descricao = descricao esc($0) "\n" }
END {
  print "'"'"'\\\" -*- coding: UTF-8 -*-"
  print ".\\\" Written from the output of qmx --help; edit the help, not this page."
  printf ".TH QMX 1 \"\" \"QMXUTIL %s\" \"QMXUTIL\"\n", versao
  print ".nh"
  print ".ad l"
  print ".SH NAME"
  print "qmx \\- roda as exportações da biblioteca QMXUTIL pela linha de comando"
  print ".SH SYNOPSIS"
  print ".B qmx"
  sub(/^qmx /, "", sinopse)
  print esc(sinopse)
  print ".SH DESCRIPTION"
  print ".B qmx"
  print "carrega a biblioteca"
  print ".B libqmxutil.so"
  print "como o programa do ponto de venda, prepara o contexto (QMX_Inicializa) e roda uma exportação;"
  print "as respostas do operador aos diálogos e às caixas de mensagem vêm das opções."
  print "As configurações da máquina vêm de /etc/qmxutil/registro.ini, ou do arquivo indicado por"
  print ".B QMX_REGISTRO"
  print "ou por"
  print ".BR \\-\\-registro ."
  if (descricao != "") printf ".PP\n%s", descricao
  print ".SH OPTIONS"
  printf "%s", opcoes
  print ".SH COMMANDS"
  printf "%s", comandos
  if (saida_txt != "") { print ".SH EXIT STATUS"; printf "%s", saida_txt }
}' "$temp/ajuda" >"$temp/qmx.1"
mv "$temp/qmx.1" "$saida"
gzip -9n -c "$saida" >"$saida.gz"
