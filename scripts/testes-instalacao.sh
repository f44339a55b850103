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
#  4. `cpack -G DEB`: the four packages (the library, its development
#     files, the Qt host, qmx), each one's fields, dependencies and
#     contents, then `dpkg -i` into an empty root (against this machine's
#     package database, so the dependencies must be met here): qmx there
#     signs a file and, before the Qt host is installed, `qmx --janelas`
#     names its package; after it, the windows on a real X server;
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

# The Debian packages, and what each one installs under the prefix; the
# Qt host only where Qt 6 was found (the build made libqmxutil-qt).
pacote_biblioteca="libqmxutil$maior"
pacotes=("$pacote_biblioteca" libqmxutil-dev qmx)
com_qt=0
if [[ -f "$pasta/qmxutil/libqmxutil-qt.so" ]]; then com_qt=1; pacotes+=(qmxutil-qt); fi
arquivos_do_pacote() {
  case "$1" in
    "$pacote_biblioteca")
      printf '%s\n' "$libdir/libqmxutil.so.$maior" "$libdir/libqmxutil.so.$versao" share/doc/qmxutil/examples/registro.ini
      for catalogo in "$raiz"/recursos/mensagens/ZT*Mens.txt; do
        echo "share/qmxutil/Mensagens/$(basename "$catalogo")"
      done ;;
    libqmxutil-dev)
      printf '%s\n' include/qmxutil/QMXExport.h include/qmxutil/QMXUTIL.h \
        "$libdir/cmake/QMXUTIL/QMXUTILConfig.cmake" "$libdir/cmake/QMXUTIL/QMXUTILConfigVersion.cmake" \
        "$libdir/cmake/QMXUTIL/QMXUTILTargets.cmake" "$libdir/cmake/QMXUTIL/QMXUTILTargets-${tipo,,}.cmake" \
        "$libdir/libqmxutil.so" "$libdir/pkgconfig/qmxutil.pc" share/doc/qmxutil/examples/CMakeLists.txt \
        share/doc/qmxutil/examples/assina.c ;;
    qmx) printf '%s\n' bin/qmx share/man/man1/qmx.1.gz ;;
    qmxutil-qt) echo "$libdir/qmxutil/libqmxutil-qt.so" ;;
  esac
}
# What the install puts under the prefix, and nothing else.
for pacote in "${pacotes[@]}"; do arquivos_do_pacote "$pacote"; done | LC_ALL=C sort >"$temp/esperados"

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

# ---- 4. the Debian packages
cpack -G DEB -B "$temp/pacote" --config "$pasta/CPackConfig.cmake" >/dev/null
arquitetura=$(dpkg --print-architecture)
deb_de() { echo "$temp/pacote/${1}_${versao}_${arquitetura}.deb"; }
# Each package's Depends, by name (versions dropped), as the package has them.
dependencias_de() {
  dpkg-deb -f "$(deb_de "$1")" Depends | tr ',' '\n' | sed 's/(.*)//; s/|.*//; s/ //g' | grep . | LC_ALL=C sort
}
# ... and as expected: the library on what it links and on ping; the others
# on the library of this very version and what they link (qmx reads the
# settings and opens the company database itself, the Qt host needs Qt 6's
# runtime).
dependencias_esperadas() {
  case "$1" in
    "$pacote_biblioteca") printf '%s\n' iputils-ping libc6 libgcc-s1 libpq5 libsqlite3-0 libssl3 libstdc++6 ;;
    libqmxutil-dev) echo "$pacote_biblioteca" ;;
    qmx) printf '%s\n' "$pacote_biblioteca" libc6 libgcc-s1 libpq5 libsqlite3-0 libssl3 libstdc++6 ;;
    qmxutil-qt) printf '%s\n' "$pacote_biblioteca" libc6 libgcc-s1 libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 ;;
  esac | LC_ALL=C sort
}
declare -A secoes=(["$pacote_biblioteca"]=libs [libqmxutil-dev]=libdevel [qmx]=utils [qmxutil-qt]=libs)
padrao='^[^<]+ <[^@>]+@[^>]+>$'
: >"$temp/no-pacote"
for pacote in "${pacotes[@]}"; do
  deb=$(deb_de "$pacote")
  [[ -f "$deb" ]] || falha "cpack não fez $deb (fez: $(cd "$temp/pacote" && ls ./*.deb 2>/dev/null | paste -sd' '))"
  for campo in "Package:$pacote" "Version:$versao" "Architecture:$arquitetura" "Section:${secoes[$pacote]}"; do
    valor=$(dpkg-deb -f "$deb" "${campo%%:*}")
    [[ "$valor" == "${campo#*:}" ]] || falha "campo ${campo%%:*} do pacote $pacote: '$valor'"
  done
  [[ $(dpkg-deb -f "$deb" Maintainer) =~ $padrao ]] || falha "Maintainer de $pacote sem nome e endereço"
  diff -u <(dependencias_esperadas "$pacote") <(dependencias_de "$pacote") || falha "dependências do pacote $pacote"
  # The other packages of this build want the library of exactly this version.
  if [[ "$pacote" != "$pacote_biblioteca" ]]; then
    dpkg-deb -f "$deb" Depends | grep -qF "$pacote_biblioteca (= $versao)" ||
      falha "$pacote não depende de $pacote_biblioteca (= $versao)"
  fi
  # The contents: the package's files under the prefix, owned by root, with their modes.
  dpkg-deb --contents "$deb" >"$temp/conteudo-$pacote"
  awk '$1 ~ /^[-l]/ { print $6 }' "$temp/conteudo-$pacote" | sed 's|^\./usr/||' | LC_ALL=C sort >"$temp/arquivos-$pacote"
  diff -u <(arquivos_do_pacote "$pacote" | LC_ALL=C sort) "$temp/arquivos-$pacote" ||
    falha "o pacote $pacote não tem exatamente os seus arquivos sob /usr"
  cat "$temp/arquivos-$pacote" >>"$temp/no-pacote"
  awk '$2 != "root/root" { print; n++ } END { exit n > 0 }' "$temp/conteudo-$pacote" || falha "arquivos de $pacote sem dono root"
done
LC_ALL=C sort -o "$temp/no-pacote" "$temp/no-pacote"
diff -u "$temp/esperados" "$temp/no-pacote" || falha "os pacotes juntos não têm exatamente os arquivos da instalação"
grep -q "^-rwxr-xr-x .* \./usr/bin/qmx$" "$temp/conteudo-qmx" || falha "modo de /usr/bin/qmx"
grep -q "^-rw-r--r-- .* \./usr/$libdir/libqmxutil.so.$versao$" "$temp/conteudo-$pacote_biblioteca" || falha "modo da biblioteca"
dpkg-deb -I "$(deb_de "$pacote_biblioteca")" shlibs | grep -qx "libqmxutil $maior $pacote_biblioteca (>= $versao)" ||
  falha "o pacote $pacote_biblioteca não tem o arquivo shlibs"
[[ $(dpkg-deb -f "$(deb_de qmx)" Suggests) == qmxutil-qt ]] || falha "qmx não sugere qmxutil-qt"
ok "pacotes ${pacotes[*]}: campos, dependências, shlibs, conteúdo"

# The example settings name the catalogue folder that the library's package installs.
dpkg-deb --fsys-tarfile "$(deb_de "$pacote_biblioteca")" | tar -xOf - ./usr/share/doc/qmxutil/examples/registro.ini >"$temp/registro.ini"
caminho=$(catalogos_do_exemplo "$temp/registro.ini")
if [[ "$caminho" != /usr/share/qmxutil/Mensagens ]] || ! grep -qF " .$caminho/ZTECMens.txt" "$temp/conteudo-$pacote_biblioteca"; then
  falha "o registro.ini de exemplo aponta os catálogos para '$caminho'"
fi

# dpkg -i into an empty root: nothing there but a shell and ldconfig for the
# packages' scripts, and in its package database this machine's entries of
# the packages that the packages depend on, so dpkg checks the dependencies
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
externas=$(for pacote in "${pacotes[@]}"; do dependencias_de "$pacote"; done | grep -vx "$pacote_biblioteca" | LC_ALL=C sort -u)
# shellcheck disable=SC2086  # one package name per word
dpkg-query -s $externas >"$admin/status" ||
  falha "dependências dos pacotes que esta máquina não tem: $(paste -sd' ' <<<"$externas")"
instala() {
  local debs=()
  for pacote in "$@"; do debs+=("$(deb_de "$pacote")"); done
  "${como_root[@]}" dpkg --root="$raiz_deb" -i "${debs[@]}" >"$temp/dpkg.log" 2>&1 || { cat "$temp/dpkg.log"; falha "dpkg -i de $*"; }
  for pacote in "$@"; do
    [[ $(dpkg-query --admindir="$admin" -W -f='${Status} ${Version}' "$pacote") == "install ok installed $versao" ]] ||
      falha "$pacote não ficou instalado na raiz"
  done
}
# qmx alone cannot go in: it needs the library of its version.
codigo=0
"${como_root[@]}" dpkg --root="$raiz_deb" -i "$(deb_de qmx)" >"$temp/dpkg-so-qmx.log" 2>&1 || codigo=$?
grep -q "depends on $pacote_biblioteca" "$temp/dpkg-so-qmx.log" && [[ $codigo -ne 0 ]] ||
  falha "dpkg instalou qmx sem $pacote_biblioteca: $(cat "$temp/dpkg-so-qmx.log")"
"${como_root[@]}" dpkg --root="$raiz_deb" --remove qmx >/dev/null 2>&1 || true
instala "$pacote_biblioteca" qmx
# The packages' postinst ran ldconfig there: the root's cache has the SONAME.
"$ldconfig" -p -C "$raiz_deb/etc/ld.so.cache" | grep -q "libqmxutil.so.$maior .*=> /usr/$libdir/libqmxutil.so.$maior" ||
  falha "o ldconfig da raiz não achou libqmxutil.so.$maior"
qmx_deb="$raiz_deb/usr/bin/qmx"
carregada="$raiz_deb/usr/$libdir/libqmxutil.so.$maior"
confere_qmx_instalado "$qmx_deb" "$carregada" "$temp/deb.txt" "do pacote"
confere_assinatura "$qmx_deb" "$temp/deb.txt"
# Without the Qt host, --janelas says which package brings it.
codigo=0
saida=$(DISPLAY=:999 "$qmx_deb" --janelas --registro "$temp/registro-vazio.ini" --empresa DEMO sintegra 2>&1) || codigo=$?
[[ $codigo -eq 2 && "$saida" == *"$raiz_deb/usr/$libdir/qmxutil/libqmxutil-qt.so"* && "$saida" == *"o pacote qmxutil-qt"* ]] ||
  falha "qmx --janelas sem o anfitrião Qt: ($codigo) $saida"
ok "dpkg -i numa raiz vazia: qmx pede $pacote_biblioteca; o qmx de lá carrega $carregada e assina; --janelas pede qmxutil-qt"
instala libqmxutil-dev
[[ -L "$raiz_deb/usr/$libdir/libqmxutil.so" && -f "$raiz_deb/usr/include/qmxutil/QMXUTIL.h" ]] ||
  falha "libqmxutil-dev não pôs o link e o cabeçalho na raiz"
if ((com_qt)); then
  instala qmxutil-qt
  # The windows of the installed qmx, on a real X server, driven by keys.
  QMX="$qmx_deb" timeout 600 bash "$raiz/scripts/testes-janelas-x.sh" >"$temp/janelas.log" 2>&1 ||
    { cat "$temp/janelas.log"; falha "as janelas do qmx instalado num servidor X"; }
  ok "qmxutil-qt na raiz: $(tail -n 1 "$temp/janelas.log") nas janelas do qmx de lá sob Xvfb"
fi

# ---- 5. qmx --version of both installs
for programa in "$qmx" "$qmx_deb"; do
  codigo=0
  saida=$("$programa" --version 2>&1) || codigo=$?
  [[ $codigo -eq 0 && "$saida" == *"$versao"* ]] || falha "$programa --version: ($codigo) $saida"
done
ok "qmx --version: $saida"
echo "testes-instalacao: tudo certo"
