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

# The help is read in paragraphs (blank lines between them): the synopsis
# ("uso:" and the lines under it), blocks of entries under a title ending in
# ":", the exit status ("Saída:"), and any other paragraph, which goes to the
# description. A command's own help goes under its entry without the
# paragraphs that repeat the general help (its one-line description, the
# exit status). Troff: a backslash is \e, a minus is \- (so options copy as
# typed), and no line starts with a control character.
awk -v versao="$versao" -v pasta="$temp/comando" '
function esc(t) {
  gsub(/\\/, "\\e", t); gsub(/-/, "\\-", t)
  if (t ~ /^[.'"'"']/) t = "\\&" t
  return t
}
# Every line of a text, escaped.
function esc_linhas(texto,   n, linhas, i, r) {
  n = split(texto, linhas, "\n")
  r = ""
  for (i = 1; i <= n; i++) if (i < n || linhas[i] != "") r = r esc(linhas[i]) "\n"
  return r
}
# An entry "  NAME    description": the name, then the text after two blanks.
function entrada(linha,   resto, i) {
  resto = substr(linha, 3)
  i = match(resto, /  +/)
  if (i == 0) { nome_entrada = resto; desc_entrada = ""; return }
  nome_entrada = substr(resto, 1, i - 1)
  desc_entrada = substr(resto, i + RLENGTH)
}
# A command'"'"'s own help, less the paragraphs that repeat the general help.
function ajuda_comando(arquivo, descricao,   linha, par, texto) {
  texto = ""; par = ""
  while ((getline linha < arquivo) > 0) {
    if (linha == "") { texto = guarda(texto, par, descricao); par = "" }
    else par = par linha "\n"
  }
  close(arquivo)
  return guarda(texto, par, descricao)
}
function guarda(texto, par, descricao) {
  if (par == "" || par == descricao "\n" || par == saida_par) return texto
  return texto (texto == "" ? "" : "\n") par
}
NR == 1 && /^uso: / { estado = "uso"; sinopse = substr($0, 6) "\n"; next }
/^$/ { estado = ""; next }
estado == "uso" && /^     / { sinopse = sinopse substr($0, 6) "\n"; next }
estado == "saida" { saida_par = saida_par $0 "\n"; saida_txt = saida_txt $0 "\n"; next }
/^Saída: / { estado = "saida"; saida_par = $0 "\n"; linha = $0; sub(/^Saída: /, "", linha); saida_txt = linha "\n"; next }
estado == "" && /^Comandos:$/ { estado = "comandos"; next }
estado == "" && /^[^ ].*:$/ { estado = "opcoes"; opcoes = opcoes ".SS " esc(substr($0, 1, length($0) - 1)) "\n"; next }
estado == "opcoes" && /^  [^ ]/ {
  entrada($0)
  opcoes = opcoes ".TP\n.B " esc(nome_entrada) "\n" esc(desc_entrada) "\n"
  next
}
estado == "comandos" && /^  [^ ]/ { entrada($0); n++; nomes[n] = nome_entrada; descricoes[n] = desc_entrada; next }
# A deeper line continues the entry above it.
estado == "opcoes" && /^   / { sub(/^ +/, ""); opcoes = opcoes esc($0) "\n"; next }
estado == "comandos" && /^   / { sub(/^ +/, ""); descricoes[n] = descricoes[n] "\n" $0; next }
{ estado = "paragrafo"; descricao = descricao esc($0) "\n" }
estado == "paragrafo" { next }
END {
  print "'"'"'\\\" -*- coding: UTF-8 -*-"
  print ".\\\" Written from the output of qmx --help; edit the help, not this page."
  printf ".TH QMX 1 \"\" \"QMXUTIL %s\" \"QMXUTIL\"\n", versao
  print ".nh"
  print ".ad l"
  print ".SH NAME"
  print "qmx \\- roda as exportações da biblioteca QMXUTIL pela linha de comando"
  print ".SH SYNOPSIS"
  printf ".nf\n%s.fi\n", esc_linhas(sinopse)
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
  for (i = 1; i <= n; i++) {
    printf ".TP\n.B %s\n%s", esc(nomes[i]), esc_linhas(descricoes[i] "\n")
    proprio = ajuda_comando(pasta "/" nomes[i], descricoes[i])
    if (proprio != "") printf ".RS\n.sp\n.nf\n%s.fi\n.RE\n", esc_linhas(proprio)
  }
  if (saida_txt != "") printf ".SH EXIT STATUS\n%s", esc_linhas(saida_txt)
}' "$temp/ajuda" >"$temp/qmx.1"
mv "$temp/qmx.1" "$saida"
gzip -9n -c "$saida" >"$saida.gz"
