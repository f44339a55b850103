#!/usr/bin/env bash
# Tests the installation the way a front end and a Debian machine meet it:
#
#  1. `cmake --install` into a temporary prefix: exactly the expected files,
#     the library's SONAME, the catalogues as shipped, a man page that lists
#     every command of `qmx --help`;
#  2. the C front end of exemplos/ (the installed copy) built against that
#     prefix with find_package and with pkg-config, run on a file: both sign
#     it with the installed library, the same bytes as the installed qmx,
#     and the signature checks out (a changed byte does not);
#  3. the installed qmx loads the library and the catalogues of its prefix;
#  4. `cpack -G DEB`: the package's fields, dependencies and contents, then
#     `dpkg -i` into an empty root (against this machine's package database,
#     so the dependencies must be met here) and the qmx there signs a file;
#  5. `qmx --version` of both installs.
#
# Uses the build folder in QMX_BUILD, else build/ when it is configured,
# else build-instalacao/ (without tests and benchmarks). The folder is
# configured with the prefix /usr, which the Debian package needs.
set -euo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$raiz/scripts/dependencias.sh"

falha() {
  echo "testes-instalacao: FALHA: $*" >&2
  exit 1
}
ok() { echo "ok: $*"; }

opcoes=(-DCMAKE_INSTALL_PREFIX=/usr)
if [[ -n "${QMX_BUILD:-}" ]]; then
  pasta="$QMX_BUILD"
elif [[ -f "$raiz/build/CMakeCache.txt" ]]; then
  pasta="$raiz/build"
else
  pasta="$raiz/build-instalacao"
  opcoes+=(-DQMX_TESTES=OFF -DQMX_BENCH=OFF)
fi
[[ -f "$pasta/CMakeCache.txt" ]] || opcoes+=(-G Ninja)
cmake -S "$raiz" -B "$pasta" "${opcoes[@]}" >/dev/null
cmake --build "$pasta" -j "$(nproc)"

cache() { sed -n "s/^$1:[A-Z]*=//p" "$pasta/CMakeCache.txt"; }
versao=$(cache CMAKE_PROJECT_VERSION)
maior=${versao%%.*}
libdir=$(cache CMAKE_INSTALL_LIBDIR)
tipo=$(cache CMAKE_BUILD_TYPE)
tipo=${tipo:-RelWithDebInfo}  # CMakeLists.txt's default
[[ -n "$versao" && -n "$libdir" && -n "$tipo" ]] || falha "versão, libdir ou tipo de build fora do cache de $pasta"

como_root=()
if [[ $(id -u) -ne 0 ]]; then como_root=(sudo); fi
temp=$(realpath "$(mktemp -d -t qmx-instalacao-XXXXXX)")
trap '"${como_root[@]}" rm -rf "$temp"' EXIT

# What the install puts under the prefix, and nothing else.
esperados() {
  printf '%s\n' bin/qmx include/qmxutil/QMXExport.h include/qmxutil/QMXUTIL.h \
    "$libdir/cmake/QMXUTIL/QMXUTILConfig.cmake" "$libdir/cmake/QMXUTIL/QMXUTILConfigVersion.cmake" \
    "$libdir/cmake/QMXUTIL/QMXUTILTargets.cmake" "$libdir/cmake/QMXUTIL/QMXUTILTargets-${tipo,,}.cmake" \
    "$libdir/libqmxutil.so" "$libdir/libqmxutil.so.$maior" "$libdir/libqmxutil.so.$versao" \
    "$libdir/pkgconfig/qmxutil.pc" share/doc/qmxutil/examples/CMakeLists.txt \
    share/doc/qmxutil/examples/assina.c share/doc/qmxutil/examples/registro.ini share/man/man1/qmx.1.gz
  for catalogo in "$raiz"/recursos/mensagens/ZT*Mens.txt; do
    echo "share/qmxutil/Mensagens/$(basename "$catalogo")"
  done
}
esperados | LC_ALL=C sort >"$temp/esperados"

# A fiscal file to sign: CR LF lines, as the generators write them.
arquivo_fiscal() { printf 'E01QMX0000000000000001EMULADA\r\nE02%s\r\n' "$2" >"$1"; }

# The signature: one EAD line of 256 hex digits, and the installed qmx's
# verdict (a changed byte in the body must fail).
confere_assinatura() {
  local qmx="$1" arquivo="$2"
  [[ $(tail -n 1 "$arquivo" | tr -d '\r') =~ ^EAD[0-9a-f]{256}$ ]] || falha "$arquivo: sem linha EAD válida"
  "$qmx" verificar "$arquivo" | grep -qx 'assinatura válida' || falha "$qmx verificar $arquivo não confirma"
  sed '1s/EMULADA/EMULADO/' "$arquivo" >"$arquivo.alterado"
  local codigo=0
  "$qmx" verificar "$arquivo.alterado" >/dev/null || codigo=$?
  [[ $codigo -eq 1 ]] || falha "$qmx verificar aceitou um arquivo alterado (saída $codigo)"
}

# The library a qmx loads, as the dynamic loader reports it.
biblioteca_carregada() {
  LD_DEBUG=files "$@" 2>&1 >/dev/null | sed -n 's/.*calling init: \(.*libqmxutil[^ ]*\).*/\1/p' | head -n 1
}

# An installed qmx ($1) loads the library expected ($2) and signs a file ($3)
# byte for byte as the example did; $4 names the install in the failures.
confere_qmx_instalado() {
  local carregada
  carregada=$(biblioteca_carregada "$1" md5-texto abc)
  [[ "$carregada" == "$2" ]] || falha "qmx $4 carregou '$carregada'"
  arquivo_fiscal "$3" "ARQUIVO DO PONTO DE VENDA"
  "$1" assinar "$3" >/dev/null || falha "qmx assinar ($4)"
  cmp -s "$3" "$temp/cmake.txt" || falha "o qmx $4 e o exemplo assinaram diferente"
}

# ---- 1. cmake --install into a prefix
prefixo="$temp/prefixo"
cmake --install "$pasta" --prefix "$prefixo" >/dev/null
(cd "$prefixo" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort) >"$temp/instalados"
diff -u "$temp/esperados" "$temp/instalados" || falha "cmake --install não instalou exatamente os arquivos esperados"
ok "cmake --install: $(wc -l <"$temp/instalados") arquivos, os esperados"
# The example settings name the catalogues of the prefix chosen at install.
catalogos_do_exemplo() {
  awk '/^\[SOFTWARE\\ZT Redudeva\\Mensagens\]/ { s = 1; next } /^\[/ { s = 0 } s && /^Path=/ { print substr($0, 6) }' "$1"
}
[[ "$(catalogos_do_exemplo "$prefixo/share/doc/qmxutil/examples/registro.ini")" == "$prefixo/share/qmxutil/Mensagens" ]] ||
  falha "o registro.ini de exemplo de $prefixo aponta os catálogos para outro lugar"
[[ -f "$prefixo/share/qmxutil/Mensagens/ZTECMens.txt" ]] || falha "os catálogos não estão em $prefixo/share/qmxutil/Mensagens"
# As a newcomer does it: the demonstration, then the install, nothing built
# in between (the man page is made again by the demonstration's build).
rm -f "$pasta/instalacao/qmx.1" "$pasta/instalacao/qmx.1.gz"
QMX_BUILD="$pasta" QMX_TIPO="$tipo" bash "$raiz/scripts/demo.sh" "$temp/demo" >"$temp/demo.log" 2>&1 ||
  falha "scripts/demo.sh: $(tail -3 "$temp/demo.log")"
cmake --install "$pasta" --prefix "$temp/depois-da-demo" >"$temp/instalacao-demo.log" 2>&1 ||
  falha "cmake --install logo depois de scripts/demo.sh: $(tail -3 "$temp/instalacao-demo.log")"
ok "exemplo de registro com os catálogos do prefixo; instalação logo depois da demonstração"
soname=$(readelf -d "$prefixo/$libdir/libqmxutil.so.$versao" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[[ "$soname" == "libqmxutil.so.$maior" ]] || falha "SONAME '$soname', esperado libqmxutil.so.$maior"
[[ $(readlink "$prefixo/$libdir/libqmxutil.so.$maior") == "libqmxutil.so.$versao" ]] || falha "libqmxutil.so.$maior"
for catalogo in "$raiz"/recursos/mensagens/ZT*Mens.txt; do
  cmp -s "$catalogo" "$prefixo/share/qmxutil/Mensagens/$(basename "$catalogo")" || falha "catálogo $catalogo alterado"
done
ok "SONAME $soname; catálogos iguais aos de recursos/mensagens"

# The man page: the sections, every command of the help, and groff without a warning.
manual="$temp/qmx.1"
zcat "$prefixo/share/man/man1/qmx.1.gz" >"$manual"
for secao in NAME SYNOPSIS DESCRIPTION OPTIONS COMMANDS 'EXIT STATUS'; do
  grep -qx ".SH $secao" "$manual" || falha "o manual não tem a seção $secao"
done
grep -q '^\.TH QMX 1 ' "$manual" || falha "o manual não começa por .TH QMX 1"
"$prefixo/bin/qmx" --help | awk '/^Comandos:$/ { c = 1; next } c && /^  [^ ]/ { print $1 } c && !/^  / { c = 0 }' \
  >"$temp/comandos"
for comando in assinar verificar mensagem demo; do
  grep -qx "$comando" "$temp/comandos" || falha "qmx --help não lista $comando (lidos: $(paste -sd' ' "$temp/comandos"))"
done
while read -r comando; do
  grep -qxF ".B ${comando//-/\\-}" "$manual" || falha "o manual não tem o comando $comando"
done <"$temp/comandos"
avisos=$(groff -man -Tutf8 -k -ww -z "$manual" 2>&1)
[[ -z "$avisos" ]] || falha "groff: $avisos"
ok "manual: as seções, os $(wc -l <"$temp/comandos") comandos da ajuda, groff sem avisos"

# ---- 2. the front end of exemplos/, from its installed copy
exemplos="$prefixo/share/doc/qmxutil/examples"
cmake -S "$exemplos" -B "$temp/exemplo-cmake" -DCMAKE_PREFIX_PATH="$prefixo" -DCMAKE_C_FLAGS=-Werror >/dev/null
cmake --build "$temp/exemplo-cmake" >/dev/null
export PKG_CONFIG_PATH="$prefixo/$libdir/pkgconfig"
[[ $(pkg-config --modversion qmxutil) == "$versao" ]] || falha "pkg-config --modversion qmxutil"
# shellcheck disable=SC2046  # the flags are separate words
cc -std=c11 -Wall -Wextra -Wpedantic -Werror "$exemplos/assina.c" $(pkg-config --cflags --libs qmxutil) \
  -o "$temp/assina-pc"
# The header from C++ as well, on its own.
# shellcheck disable=SC2046
echo '#include <QMXUTIL.h>' | c++ -std=c++20 -Wall -Wextra -Werror -fsyntax-only -x c++ \
  $(pkg-config --cflags qmxutil) - || falha "QMXUTIL.h instalado não compila em C++"
unset PKG_CONFIG_PATH

# Each program, its library (the prefix's, found through the link's run path
# or LD_LIBRARY_PATH), the file it signs.
declare -A programas=([cmake]="$temp/exemplo-cmake/assina" [pkg-config]="$temp/assina-pc")
for forma in cmake pkg-config; do
  programa="${programas[$forma]}"
  ambiente=()
  [[ $forma == pkg-config ]] && ambiente=(LD_LIBRARY_PATH="$prefixo/$libdir")
  ligada=$(env "${ambiente[@]}" ldd "$programa" | sed -n 's/.*libqmxutil\.so\.[0-9]* => \([^ ]*\).*/\1/p')
  [[ "$ligada" == "$prefixo/$libdir/libqmxutil.so.$maior" ]] || falha "assina ($forma) liga '$ligada'"
  arquivo_fiscal "$temp/$forma.txt" "ARQUIVO DO PONTO DE VENDA"
  saida=$(env "${ambiente[@]}" "$programa" LOJA "$temp/$forma.txt") || falha "assina ($forma) falhou: $saida"
  md5=$(md5sum "$temp/$forma.txt" | cut -d' ' -f1)
  digest=${saida##* }
  [[ "$saida" == "$temp/$forma.txt assinado, MD5 $digest" && "${digest,,}" == "$md5" ]] ||
    falha "assina ($forma): '$saida', MD5 $md5"
  confere_assinatura "$prefixo/bin/qmx" "$temp/$forma.txt"
  ok "exemplo por $forma: liga $ligada, assina, MD5 $md5, assinatura válida"
done
cmp -s "$temp/cmake.txt" "$temp/pkg-config.txt" || falha "os dois exemplos assinaram diferente"
codigo=0
"${programas[cmake]}" LOJA "$temp/nao-existe.txt" >/dev/null 2>&1 || codigo=$?
[[ $codigo -eq 1 ]] || falha "assina de um arquivo que não existe saiu com $codigo"
codigo=0
"${programas[cmake]}" >/dev/null 2>&1 || codigo=$?
[[ $codigo -eq 2 ]] || falha "assina sem argumentos saiu com $codigo"

# ---- 3. the installed qmx: its prefix's library and catalogues
qmx="$prefixo/bin/qmx"
carregada="$prefixo/$libdir/libqmxutil.so.$maior"
confere_qmx_instalado "$qmx" "$carregada" "$temp/qmx.txt" instalado
: >"$temp/registro-vazio.ini"
codigo=0
saida=$(QMX_REGISTRO="$temp/registro-vazio.ini" "$qmx" mensagem ZZ 1) || codigo=$?
[[ $codigo -eq 1 && "$saida" == *"$prefixo/share/qmxutil/Mensagens/ZTZZMens.txt"* ]] ||
  falha "qmx instalado não procura os catálogos do prefixo: ($codigo) $saida"
mensagem=$(QMX_REGISTRO="$temp/registro-vazio.ini" "$qmx" mensagem EC 110) || falha "qmx mensagem EC 110"
[[ -n "$mensagem" && "$mensagem" == "$(QMX_REGISTRO="$temp/registro-vazio.ini" "$pasta/cli/qmx" mensagem EC 110)" ]] ||
  falha "qmx mensagem EC 110 instalado difere do da pasta de build: $mensagem"
ok "qmx instalado: carrega $carregada, assina igual ao exemplo, lê os catálogos do prefixo"

# ---- 4. the Debian package
cpack -G DEB -B "$temp/pacote" --config "$pasta/CPackConfig.cmake" >/dev/null
arquitetura=$(dpkg --print-architecture)
deb="$temp/pacote/qmxutil_${versao}_${arquitetura}.deb"
[[ -f "$deb" ]] || falha "cpack não fez $deb"
for campo in Package:qmxutil "Version:$versao" "Architecture:$arquitetura" Section:libs; do
  valor=$(dpkg-deb -f "$deb" "${campo%%:*}")
  [[ "$valor" == "${campo#*:}" ]] || falha "campo ${campo%%:*} do pacote: '$valor'"
done
padrao='^[^<]+ <[^@>]+@[^>]+>$'
[[ $(dpkg-deb -f "$deb" Maintainer) =~ $padrao ]] || falha "Maintainer sem nome e endereço"
# The Depends field, package names only.
dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/ //g' | grep . | LC_ALL=C sort >"$temp/dependencias"
printf '%s\n' iputils-ping libc6 libgcc-s1 libpq5 libsqlite3-0 libssl3 libstdc++6 | LC_ALL=C sort >"$temp/dependencias-esperadas"
diff -u "$temp/dependencias-esperadas" "$temp/dependencias" || falha "dependências do pacote"
dpkg-deb -I "$deb" shlibs | grep -qx "libqmxutil $maior qmxutil (>= $versao)" || falha "o pacote não tem o arquivo shlibs"
# The contents: the same files under /usr, owned by root, with their modes.
dpkg-deb --contents "$deb" >"$temp/conteudo"
awk '$1 ~ /^[-l]/ { print $6 }' "$temp/conteudo" | sed 's|^\./usr/||' | LC_ALL=C sort >"$temp/no-pacote"
diff -u "$temp/esperados" "$temp/no-pacote" || falha "o pacote não tem exatamente os arquivos esperados sob /usr"
awk '$2 != "root/root" { print; n++ } END { exit n > 0 }' "$temp/conteudo" || falha "arquivos do pacote sem dono root"
grep -q "^-rwxr-xr-x .* \./usr/bin/qmx$" "$temp/conteudo" || falha "modo de /usr/bin/qmx"
grep -q "^-rw-r--r-- .* \./usr/$libdir/libqmxutil.so.$versao$" "$temp/conteudo" || falha "modo da biblioteca"
ok "pacote $(basename "$deb"): campos, dependências ($(paste -sd' ' "$temp/dependencias")), shlibs, conteúdo"

# The example settings name the catalogue folder that the package installs.
dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/qmxutil/examples/registro.ini >"$temp/registro.ini"
caminho=$(catalogos_do_exemplo "$temp/registro.ini")
if [[ "$caminho" != /usr/share/qmxutil/Mensagens ]] || ! grep -qF " .$caminho/ZTECMens.txt" "$temp/conteudo"; then
  falha "o registro.ini de exemplo aponta os catálogos para '$caminho'"
fi

# dpkg -i into an empty root: nothing there but a shell and ldconfig for the
# package's scripts, and in its package database this machine's entries of
# the packages that the package depends on, so dpkg checks the dependencies
# (names and versions) against what Debian 12 installs.
raiz_deb="$temp/raiz"
admin="$raiz_deb/var/lib/dpkg"
mkdir -p "$admin/info" "$admin/updates" "$admin/triggers" "$raiz_deb/etc" "$raiz_deb/usr/sbin"
: >"$admin/available"
: >"$raiz_deb/etc/ld.so.conf"
shell=$(readlink -f /bin/sh)
mkdir -p "$raiz_deb/bin"
cp "$shell" "$raiz_deb/bin/sh"
for biblioteca in $(ldd "$shell" | grep -o '/[^ ]*'); do
  mkdir -p "$raiz_deb$(dirname "$biblioteca")"
  cp "$biblioteca" "$raiz_deb$biblioteca"
done
ldconfig=$(PATH="$PATH:/usr/sbin:/sbin" command -v ldconfig)
cp "$ldconfig" "$raiz_deb/usr/sbin/ldconfig"
# shellcheck disable=SC2046  # one package name per word
dpkg-query -s $(paste -sd' ' "$temp/dependencias") >"$admin/status" ||
  falha "dependências do pacote que esta máquina não tem: $(paste -sd' ' "$temp/dependencias")"
"${como_root[@]}" dpkg --root="$raiz_deb" -i "$deb" >"$temp/dpkg.log" 2>&1 || { cat "$temp/dpkg.log"; falha "dpkg -i do pacote"; }
[[ $(dpkg-query --admindir="$admin" -W -f='${Status} ${Version}' qmxutil) == "install ok installed $versao" ]] ||
  falha "qmxutil não ficou instalado na raiz"
# The package's postinst ran ldconfig there: the root's cache has the SONAME.
"$ldconfig" -p -C "$raiz_deb/etc/ld.so.cache" | grep -q "libqmxutil.so.$maior .*=> /usr/$libdir/libqmxutil.so.$maior" ||
  falha "o ldconfig da raiz não achou libqmxutil.so.$maior"
qmx_deb="$raiz_deb/usr/bin/qmx"
carregada="$raiz_deb/usr/$libdir/libqmxutil.so.$maior"
confere_qmx_instalado "$qmx_deb" "$carregada" "$temp/deb.txt" "do pacote"
confere_assinatura "$qmx_deb" "$temp/deb.txt"
ok "dpkg -i numa raiz vazia: instalado; o qmx de lá carrega $carregada e assina"

# ---- 5. qmx --version of both installs
for programa in "$qmx" "$qmx_deb"; do
  codigo=0
  saida=$("$programa" --version 2>&1) || codigo=$?
  [[ $codigo -eq 0 && "$saida" == *"$versao"* ]] || falha "$programa --version: ($codigo) $saida"
done
ok "qmx --version: $saida"
echo "testes-instalacao: tudo certo"
