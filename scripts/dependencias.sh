#!/usr/bin/env bash
# Installs, when missing, the Debian packages named as arguments, or without
# arguments those that building and testing need.
set -euo pipefail

PACOTES=("$@")
((${#PACOTES[@]} > 0)) || PACOTES=(
  g++ cmake ninja-build pkg-config
  libssl-dev
  libsqlite3-dev libpq-dev postgresql
  libgtest-dev libgmock-dev libbenchmark-dev
  binutils
  iputils-ping
  gcc dpkg-dev file groff-base
  qt6-base-dev fonts-dejavu-core
  xvfb xauth xdotool openssl
)

faltam=()
for pacote in "${PACOTES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pacote" 2>/dev/null | grep -q "install ok installed"; then
    faltam+=("$pacote")
  fi
done

if ((${#faltam[@]} > 0)); then
  echo "Instalando: ${faltam[*]}"
  comando=(apt-get)
  if [[ $(id -u) -ne 0 ]]; then comando=(sudo apt-get); fi
  export DEBIAN_FRONTEND=noninteractive
  "${comando[@]}" update -qq
  "${comando[@]}" install -y -qq --no-install-recommends "${faltam[@]}"
fi
