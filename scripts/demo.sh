#!/usr/bin/env bash
# Sets everything up, writes the demo server root and runs the company data exchange on it:
# export, import of a list (one code already taken), erase, export again; then the BIN tables (export,
# a refused import, a dry run, an import) and a check of the whole root.
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
echo; echo "== BIN tables of the general file (Todas) and of every company"
"${dados[@]}" bins export

printf '00000456;debito;MIRABELO DEBITO;601234 60124500-60124599;1\n00000456;debito;mirabelo debito;606070;0\n00000456;combustivel;FROTA;639000-6390;1\n' > "$demo/bins-ruins.txt"
echo; echo "== A BIN import that breaks the screen's rules: each line reported, nothing written"
cat "$demo/bins-ruins.txt"
"${dados[@]}" bins import "$demo/bins-ruins.txt" || echo "(exit status $?)"

printf '00000456;debito;MIRABELO DEBITO;601234 60124500-60124599;1\n00000456;debito;MIRABELO VALE;606070;0\n00000456;combustivel;MIRABELO FROTA;639000-639099;1\n' > "$demo/bins.txt"
echo; echo "== The same tables for 00000456: first what would change, then the import"
"${dados[@]}" --dry-run bins import "$demo/bins.txt"
"${dados[@]}" bins import "$demo/bins.txt"
"${dados[@]}" bins export 00000456

echo; echo "== Check of the whole server root (clean), then with a leftover temporary file and a bad count"
"${dados[@]}" verifica
printf 'x' > "$demo/Kovan/config/empresas/00000456/.Mirabelo.ini.tmp"
sed -i 's/^totdeb=2/totdeb=3/' "$demo/Kovan/config/empresas/00000456/Mirabelo.ini"
"${dados[@]}" verifica || echo "(exit status $?)"
"${dados[@]}" verifica --json || true

echo; echo "Company files: $demo/Kovan/config/empresas/*/Mirabelo.ini"
