#!/usr/bin/env bash
# Puts SQLite's amalgamation (sqlite3.c, sqlite3.h) into the folder given as
# the first argument, for the Windows build, which has no system SQLite.
# It comes from the npm package better-sqlite3, which ships the amalgamation
# of one SQLite release; the package is checked against the integrity hash
# that the registry publishes for it, and sqlite3.c against the SHA3-256 we
# computed when we adopted this release.
set -euo pipefail
destino="$1"
PACOTE=better-sqlite3@12.4.1
INTEGRIDADE='sha512-3yVdyZhklTiNrtg+4WqHpJpFDd+WHTg2oM7UcR80GqL05AOV0xEJzc6qNvFYoEtE+hRp1n9MpN6/+4yhlGkDXQ=='
SQLITE_VERSAO=3.50.4
SQLITE_SHA3=1317a2bd0bd0aabb145fd2482f535fa8f4765020fe9b3023b0c1ac635e9fd339

if [[ -f "$destino/sqlite3.c" ]] && grep -q "define SQLITE_VERSION *\"$SQLITE_VERSAO\"" "$destino/sqlite3.h" 2>/dev/null; then
  exit 0
fi
dependencias="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/dependencias.sh"
command -v npm >/dev/null || bash "$dependencias" npm
command -v openssl >/dev/null || bash "$dependencias" openssl
temporaria="$(mktemp -d)"
trap 'rm -rf "$temporaria"' EXIT
(cd "$temporaria" && npm pack --silent "$PACOTE" >/dev/null)
pacote=("$temporaria"/better-sqlite3-*.tgz)
calculada="sha512-$(openssl dgst -sha512 -binary "${pacote[0]}" | base64 -w0)"
if [[ "$calculada" != "$INTEGRIDADE" ]]; then
  echo "O pacote $PACOTE não confere com o hash publicado: $calculada" >&2
  exit 1
fi
tar -xzf "${pacote[0]}" -C "$temporaria" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
sha3="$(openssl dgst -sha3-256 -r "$temporaria/package/deps/sqlite3/sqlite3.c" | cut -d' ' -f1)"
if [[ "$sha3" != "$SQLITE_SHA3" ]]; then
  echo "sqlite3.c não confere: SHA3-256 $sha3" >&2
  exit 1
fi
mkdir -p "$destino"
cp "$temporaria/package/deps/sqlite3/sqlite3.c" "$temporaria/package/deps/sqlite3/sqlite3.h" "$destino/"
