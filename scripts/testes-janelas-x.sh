#!/usr/bin/env bash
# The Qt windows on a real X server (Xvfb, not Qt's offscreen platform),
# driven through the server with xdotool as an operator's keyboard would:
# the Sintegra window filled by keys (Shift+Tab back to the branch, Tab into
# each date, which selects its text, Enter for OK) writes the month's file
# and ends 0 once its notice is answered; cancelled with Esc it ends
# "cancelado" (exit 1); OK with no branch shows the dialog's notice, which
# qmx reports, then Esc; every run ends by itself, never by a signal (a
# crash at exit was exit 139); every other dialog of the library opened
# and closed with Esc.
set -uo pipefail
raiz="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qmx="${QMX:-$raiz/build/cli/qmx}"
command -v Xvfb > /dev/null && command -v xdotool > /dev/null || { echo "sem Xvfb ou xdotool"; exit 1; }
trabalho="$(mktemp -d)"
# The server picks a free display itself and writes its number once it
# listens: a number chosen here could be taken by another server between
# the choice and the start. It never resets: by default an X server starts
# over each time its last client leaves (after every xdotool call here),
# and a window that connects while it does may find no server ("could not
# connect to display", seen twice on the first window of a run).
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3> "$trabalho/tela" > "$trabalho/xvfb.log" 2>&1 &
servidor=$!
trap 'kill $servidor 2>/dev/null; rm -rf "$trabalho"' EXIT
trap 'exit 143' TERM INT
for _ in $(seq 300); do [[ -s "$trabalho/tela" ]] && break; sleep 0.1; done
[[ -s "$trabalho/tela" ]] || { echo "Xvfb não abriu uma tela"; cat "$trabalho/xvfb.log"; exit 1; }
tela=":$(tr -dc '0-9' < "$trabalho/tela")"
export DISPLAY="$tela"
# The server may take a while on a busy machine: up to half a minute.
for _ in $(seq 300); do xdotool getmouselocation > /dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation > /dev/null 2>&1 || { echo "Xvfb não respondeu em $tela"; cat "$trabalho/xvfb.log"; exit 1; }

if ! "$qmx" demo --mes 11/2026 --pasta "$trabalho/demo" > "$trabalho/demo.log" 2>&1; then
  echo "qmx demo falhou"; tail -5 "$trabalho/demo.log"; exit 1
fi
falhas=0

arquivos="$trabalho/demo/DEMO/Arquivos-Eletronicos"
contar() { find "$arquivos" -maxdepth 1 -name '*.txt' 2>/dev/null | wc -l; }

# Runs the Sintegra window and answers with the keys given, one group per
# window that appears, waited for up to QMX_ESPERA_JANELA seconds (10)
# ("Titulo:tecla tecla;Titulo:tecla"; "=texto" types
# the text, "tecla!" repeats a key that closes the window until it does, "@" waits, up to QMX_ESPERA_ARQUIVO seconds (60), for one more file in the company's
# folder: the generation's end, before its notice is answered); prints the
# exit code.
janela() {
  local chaves="$1"
  local antes
  antes=$(contar)
  "$qmx" --janelas --registro "$trabalho/demo/registro.ini" --empresa DEMO sintegra > "$trabalho/saida" 2>&1 &
  local processo=$!
  IFS=';' read -ra passos <<< "$chaves"
  for passo in "${passos[@]}"; do
    if [[ "$passo" == "@" ]]; then
      for _ in $(seq $((${QMX_ESPERA_ARQUIVO:-60} * 10))); do (($(contar) > antes)) && break; sleep 0.1; done
      sleep 1
      continue
    fi
    local titulo="${passo%%:*}" teclas="${passo#*:}" janela=""
    for _ in $(seq $((${QMX_ESPERA_JANELA:-10} * 10))); do
      janela=$(xdotool search --onlyvisible --name "$titulo" 2>/dev/null | tail -1)
      [[ -n "$janela" ]] && break
      sleep 0.1
    done
    [[ -n "$janela" ]] || { echo "janela \"$titulo\" não apareceu" >> "$trabalho/saida"; kill "$processo"; wait "$processo"; echo "$?"; return; }
    # Keys go through the server's keyboard (XTEST), as a typist's would,
    # once the window holds the focus. Sent to the window as events of its
    # own instead, a notice's Enter closed it and then pressed the dialog's
    # OK a second time.
    for _ in $(seq 50); do
      xdotool windowfocus --sync "$janela" 2>/dev/null
      [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$janela" ]] && break
      sleep 0.1
    done
    sleep 0.2
    for tecla in $teclas; do
      if [[ "$tecla" == =* ]]; then xdotool type "${tecla#=}" 2>/dev/null
      elif [[ "$tecla" == *! ]]; then
        # A key that closes its window is sent again, once a second, while
        # the window stays: one that arrived before Qt gave the window its
        # focus is dropped.
        for _ in $(seq 10); do
          xdotool key "${tecla%!}" 2>/dev/null
          sleep 1
          xdotool search --onlyvisible --name "$titulo" 2>/dev/null | grep -qx "$janela" || break
          xdotool windowfocus --sync "$janela" 2>/dev/null
        done
      else xdotool key "$tecla" 2>/dev/null; fi
      sleep 0.2
    done
    sleep 0.5
  done
  # A run still open after its last key lost one: ended here, reported, so
  # the test never waits without bound.
  for _ in $(seq $((${QMX_ESPERA_FIM:-30} * 10))); do kill -0 "$processo" 2>/dev/null || break; sleep 0.1; done
  local aberto=0
  kill -0 "$processo" 2>/dev/null && { aberto=1; kill "$processo"; }
  wait "$processo"
  local codigo=$?
  ((aberto)) && echo "o processo seguia aberto ${QMX_ESPERA_FIM:-30} s depois da última tecla" >> "$trabalho/saida"
  echo "$codigo"
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

# The period typed: November, or up to the day QMX_DIA_FINAL (a shorter
# file for slow runs).
final="${QMX_DIA_FINAL:-30}/11/2026"
confere "filial, datas e Enter pelo teclado: o arquivo do período" 0 \
  "$(janela "SINTEGRA:shift+Tab shift+Tab =1 Tab Tab =01/11/2026 Tab =$final Return;@;Sintegra\$:Return!")" \
  "QMX_Sintegra: verdadeiro" "Arquivo gerado em" "fechado com 1"
# The file of the period the keys gave: its header's dates.
gerado=$(ls -t "$arquivos"/*.txt 2>/dev/null | head -1)
if [[ -n "$gerado" ]] && head -c 200 "$gerado" | grep -q "20261101${final:6:4}${final:3:2}${final:0:2}"; then echo "ok    o arquivo é de 01/11/2026 a $final"
else echo "FALHA o arquivo gerado não é do período digitado: $gerado"; falhas=$((falhas + 1)); fi
confere "Esc cancela a janela" 1 "$(janela 'SINTEGRA:Escape!')" "cancelado"
confere "OK sem filial: o aviso, depois Esc" 1 "$(janela 'SINTEGRA:Return;^Torvo ECF$:Return!;SINTEGRA:Escape!')" \
  "[caixa] Torvo ECF: Selecione a filial." "cancelado"
# Every dialog of the library opened on the X server and closed with Esc,
# pressed in each window of the run as it shows up (a notice before the
# dialog included): the run ends by itself, never by a signal, with its
# dialog closed as cancelled (2).
fecha_com_esc() {
  "$qmx" --janelas --registro "$trabalho/demo/registro.ini" --empresa DEMO "$@" > "$trabalho/saida" 2>&1 &
  local processo=$! janela
  for _ in $(seq 20); do
    sleep 1
    kill -0 "$processo" 2>/dev/null || break
    janela=$(xdotool search --onlyvisible --pid "$processo" 2>/dev/null | tail -1)
    [[ -n "$janela" ]] && xdotool key --window "$janela" Escape 2>/dev/null
  done
  kill "$processo" 2>/dev/null
  wait "$processo"
  echo "$?"
}
dialogos=(
  "14028|sintegra" "14030|venda-periodo" "14029|sped-fiscal" "14017|movimentos" "14009|davs"
  "14002|tab-produtos" "14023|estoque" "14008|meios-pagamento" "14024|lmf --tipo s" "14025|arq-mfd"
  "14007|espelho-mfd" "14031|indice-tecnico" "14032|autoriza" "14027|get-emissora"
  "14026|historico --data 01/11/2026 --ecf 1 --cupom 17922"
)
for dialogo in "${dialogos[@]}"; do
  id="${dialogo%%|*}"
  read -ra comando <<< "${dialogo#*|}"
  codigo=$(fecha_com_esc "${comando[@]}")
  if [[ ($codigo -eq 0 || $codigo -eq 1) ]] && grep -q "^\[diálogo $id\] .* fechado com 2$" "$trabalho/saida"; then
    echo "ok    ${comando[0]}: o diálogo $id aberto e fechado com Esc (saída $codigo)"
  else
    echo "FALHA ${comando[0]}: diálogo $id (saída $codigo)"; sed 's/^/    /' "$trabalho/saida"; falhas=$((falhas + 1))
  fi
done

# A display named but not answering: qmx refuses (exit 2) and a program
# that asks for the windows itself (QMX_JANELAS=qt) keeps the scripted host,
# where Qt would have ended the process (exit 134).
saida=$(DISPLAY=:999 "$qmx" --janelas --registro "$trabalho/demo/registro.ini" --empresa DEMO sintegra 2>&1)
codigo=$?
if [[ $codigo -eq 2 && "$saida" == *"a tela não responde (DISPLAY=:999"* ]]; then echo "ok    tela que não responde: --janelas recusado"
else echo "FALHA tela que não responde: ($codigo) $saida"; falhas=$((falhas + 1)); fi
saida=$(DISPLAY=:999 QMX_JANELAS=qt "$qmx" --registro "$trabalho/demo/registro.ini" --empresa DEMO --usuario 1 \
  sintegra --filial 1 --data-inicial 01/11/2026 --data-final 30/11/2026 2>&1)
codigo=$?
if [[ $codigo -eq 0 && "$saida" == *"QMX_Sintegra: verdadeiro"* ]]; then echo "ok    tela que não responde: QMX_JANELAS=qt segue sem janelas"
else echo "FALHA QMX_JANELAS=qt com tela que não responde: ($codigo) $saida"; falhas=$((falhas + 1)); fi
echo "$((6 + ${#dialogos[@]} - falhas)) passed, $falhas failed"
((falhas == 0))
