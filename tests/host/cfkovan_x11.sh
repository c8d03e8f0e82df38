#!/usr/bin/env bash
# The configurator in a real X server (Xvfb), driven with real key events: open "Estabelecimento"
# from the list, type a new code for the first company, save, and read the company's file. Then, started
# with no settings and no terminal, as from the desktop menu, it must say why it stops in a window.
# Exit 77 (skipped) only when no X server can be started here.
set -uo pipefail
bin=${1:?usage: cfkovan_x11.sh BIN_FOLDER}
for programa in xvfb-run xdotool xauth; do
    if ! command -v "$programa" >/dev/null; then
        echo "SKIPPED: $programa is not installed (bash scripts/instala-dependencias.sh installs it)"
        exit 77
    fi
done
pasta=$(mktemp -d)
trap 'rm -rf "$pasta"' EXIT
"$bin/kovan-demo" "$pasta/demo" >/dev/null || { echo "kovan-demo failed"; exit 1; }
ini="$pasta/demo/Kovan/config/empresas/00000123/Mirabelo.ini"

cat >"$pasta/cena.sh" <<'CENA'
set -uo pipefail
bin=$1 pasta=$2
echo "X server up" >"$pasta/x-iniciou"
QT_QPA_PLATFORM=xcb "$bin/cfkovan" --config-dir "$pasta/demo/bin" 2>"$pasta/cfkovan.err" &
pid=$!
falha() { echo "FAILED: $*"; xdotool search --pid "$pid" getwindowname %@ 2>/dev/null; kill "$pid" 2>/dev/null; exit 1; }
lista=$(timeout 20 xdotool search --sync --pid "$pid" --name 'Configurador Mirabelo' | head -1) || falha "no main window"
xdotool windowactivate --sync "$lista" 2>/dev/null || xdotool windowfocus --sync "$lista"
xdotool key --clearmodifiers Return                   # opens the first screen, Estabelecimento
for _ in $(seq 50); do
    [ "$(xdotool search --pid "$pid" --onlyvisible --name '.' | wc -l)" -ge 2 ] && break
    sleep 0.1
done
tela=$(xdotool search --pid "$pid" --onlyvisible --name '.' | grep -v "^$lista\$" | head -1)
[ -n "$tela" ] || falha "the screen did not open"
xdotool windowfocus --sync "$tela"
sleep 0.5
# The company box has the focus with 00000123; Tab goes to the code field.
xdotool key --clearmodifiers Tab End
for _ in $(seq 16); do xdotool key --clearmodifiers BackSpace; done
xdotool type --delay 50 '4a-7'                         # "-" is not a letter or digit: dropped
xdotool key --clearmodifiers Tab                       # leaves the field (padded) to Salvar
sleep 0.3
xdotool key --clearmodifiers space                     # Salvar
sleep 1
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null

mkdir "$pasta/sem-config"
QT_QPA_PLATFORM=xcb "$bin/cfkovan" --config-dir "$pasta/sem-config" 2>"$pasta/sem-config.err" </dev/null &
pid=$!
aviso=$(timeout 20 xdotool search --sync --pid "$pid" --onlyvisible --name '^cfkovan$' | head -1) ||
    falha "no window tells why cfkovan stops without settings"
xdotool windowactivate --sync "$aviso" 2>/dev/null || xdotool windowfocus --sync "$aviso"
xdotool key --clearmodifiers Return
wait "$pid"
status=$?
[ $status -eq 2 ] || falha "cfkovan without settings exited with $status after its message, not 2"
exit 0
CENA

# -noreset: by default the server resets when its last client goes (the first cfkovan, killed), and a
# client connecting during that reset is refused ("Can't open display"), now and then, under load.
timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$pasta/cena.sh" "$bin" "$pasta"
status=$?
if [ ! -e "$pasta/x-iniciou" ]; then
    echo "SKIPPED: the X server (Xvfb) could not be started here (xvfb-run status $status)"
    exit 77
fi
[ $status -eq 0 ] || { cat "$pasta/cfkovan.err"; exit 1; }
esperado='codigoestabelecimento=0000000000004a7'
if ! tr -d '\r' <"$ini" | grep -qx '\[geral\]' || ! tr -d '\r' <"$ini" | grep -qx "$esperado"; then
    echo "FAILED: $ini does not hold $esperado:"
    cat "$ini"
    exit 1
fi
echo "saved through real key events: $esperado"
