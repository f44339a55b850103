#!/usr/bin/env bash
# The Qt windows on a real X server (Xvfb, not Qt's offscreen platform),
# driven through the server with xdotool as an operator's keyboard would:
# the Sintegra window cancelled with Esc ends "cancelado" (exit 1); OK with
# no branch shows the dialog's notice, which qmx reports, then Esc; every
# run ends by itself, never by a signal (a crash at exit was exit 139).
set -uo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qmx="${QMX:-$raiz/build/cli/qmx}"
command -v Xvfb > /dev/null && command -v xdotool > /dev/null || { echo "sem Xvfb ou xdotool"; exit 1; }
trabalho="$(mktemp -d)"
tela=":$((100 + RANDOM % 400))"
Xvfb "$tela" -screen 0 1280x1024x24 -nolisten tcp > "$trabalho/xvfb.log" 2>&1 &
servidor=$!
trap 'kill $servidor 2>/dev/null; rm -rf "$trabalho"' EXIT
export DISPLAY="$tela"
for _ in $(seq 50); do xdotool getmouselocation > /dev/null 2>&1 && break; sleep 0.1; done

if ! "$qmx" demo --mes 11/2026 --pasta "$trabalho/demo" > "$trabalho/demo.log" 2>&1; then
  echo "qmx demo falhou"; tail -5 "$trabalho/demo.log"; exit 1
fi
falhas=0

# Runs the Sintegra window and answers with the keys given, one group per
# window that appears ("Titulo:tecla tecla;Titulo:tecla"); prints the exit
# code and the output.
janela() {
  local chaves="$1"
  "$qmx" --janelas --registro "$trabalho/demo/registro.ini" --empresa DEMO sintegra > "$trabalho/saida" 2>&1 &
  local processo=$!
  IFS=';' read -ra passos <<< "$chaves"
  for passo in "${passos[@]}"; do
    local titulo="${passo%%:*}" teclas="${passo#*:}" janela=""
    for _ in $(seq 100); do
      janela=$(xdotool search --name "$titulo" 2>/dev/null | tail -1)
      [[ -n "$janela" ]] && break
      sleep 0.1
    done
    [[ -n "$janela" ]] || { echo "janela \"$titulo\" não apareceu"; kill "$processo"; return 1; }
    xdotool windowfocus --sync "$janela" 2>/dev/null
    # shellcheck disable=SC2086
    xdotool key --window "$janela" $teclas 2>/dev/null
    sleep 0.5
  done
  wait "$processo"
  echo "$?"
}

confere() {
  local descricao="$1" esperado="$2" obtido="$3"; shift 3
  local ok=1
  [[ "$obtido" == "$esperado" ]] || ok=0
  for trecho in "$@"; do grep -qF "$trecho" "$trabalho/saida" || ok=0; done
  if ((ok)); then echo "ok    $descricao"; else
    echo "FALHA $descricao (saída $obtido, esperada $esperado)"; sed 's/^/    /' "$trabalho/saida"; falhas=$((falhas + 1))
  fi
}

confere "Esc cancela a janela" 1 "$(janela 'SINTEGRA:Escape')" "cancelado"
confere "OK sem filial: o aviso, depois Esc" 1 "$(janela 'SINTEGRA:Return;^Torvo ECF$:Return;SINTEGRA:Escape')" \
  "[caixa] Torvo ECF: Selecione a filial." "cancelado"
echo "$((2 - falhas)) passed, $falhas failed"
((falhas == 0))
