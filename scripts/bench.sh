#!/usr/bin/env bash
# Builds and runs the benchmarks (optimised build, as the tests build it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/instala-dependencias.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target bench_LerEmpresas bench_DadosEmpresa bench_Estabelecimento bench_TransHab bench_TabelaBins bench_Crescimento bench_LoteIni bench_TabelasEmLote >/dev/null
build-bench/bin/bench_LerEmpresas
build-bench/bin/bench_DadosEmpresa
build-bench/bin/bench_Estabelecimento
build-bench/bin/bench_TransHab
build-bench/bin/bench_TabelaBins
build-bench/bin/bench_Crescimento
build-bench/bin/bench_LoteIni
build-bench/bin/bench_TabelasEmLote
