#!/usr/bin/env bash
# Writes a picture of the configurator and of each of the module's screens, opened on the demo
# server root, into docs/: docs/cfkovan.png and docs/<screen class>.png.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/instala-dependencias.sh
pasta=${KOVAN_BUILD:-build}   # an existing build folder may be named
cmake -S . -B "$pasta" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$pasta" -j"$(nproc)" --target cfkovan kovan-demo cfMirabelo >build-telas.log || { cat build-telas.log; exit 1; }
bin=$pasta/bin
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
"$bin/kovan-demo" "$demo" >/dev/null
export QT_QPA_PLATFORM=offscreen
cfkovan=("$bin/cfkovan" --config-dir "$demo/bin")
mkdir -p docs
"${cfkovan[@]}" --screenshot docs/cfkovan.png 2>/dev/null
echo "docs/cfkovan.png"
# The first line of --list is the user and level; the screens follow.
"${cfkovan[@]}" --list | tail -n +2 | while IFS=$'\t' read -r legenda classe; do
    "${cfkovan[@]}" --open "$classe" --screenshot "docs/$classe.png" 2>/dev/null </dev/null
    echo "docs/$classe.png  ($legenda)"
done
