#!/usr/bin/env bash
# Sets everything up, writes the demo server root and runs the company data exchange on it:
# export, import of a list (one code already taken), erase, export again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/instala-dependencias.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target cfkovan-dados kovan-demo cfMirabelo >build-demo.log || { cat build-demo.log; exit 1; }
bin=build/bin
demo=${1:-demo}
rm -rf "$demo"
"$bin/kovan-demo" "$demo"
dados=("$bin/cfkovan-dados" --config-dir "$demo/bin")

echo; echo "== Establishment codes of every company"
"${dados[@]}" export-all

printf '00000456;777\n00000789;12345\n' > "$demo/importar.txt"
echo; echo "== Import of $demo/importar.txt (00000789 asks for a code 00000123 holds; answered Yes = skip it)"
cat "$demo/importar.txt"
"${dados[@]}" --yes import "$demo/importar.txt"

echo; echo "== After the import"
"${dados[@]}" export-all -o "$demo/exportado.txt"
cat "$demo/exportado.txt"

echo; echo "== Erase the code of 00000123, then export the companies that have one"
"${dados[@]}" erase 00000123
"${dados[@]}" export
echo; echo "Company files: $demo/Kovan/config/empresas/*/Mirabelo.ini"
