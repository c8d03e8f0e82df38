#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UBSan) in build-fuzz and runs each for
# the given seconds (default 60), seeded from the recorded private-profile cases. Fails on any finding;
# the input that shows it is left in build-fuzz/achados/.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-60}
bash scripts/instala-dependencias.sh --fuzz
pasta=build-fuzz
alvos=(fuzz_PrivateProfile fuzz_DadosEmpresa fuzz_Cp1252)
CC=clang CXX=clang++ cmake -S . -B "$pasta" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVAN_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$pasta" -j"$(nproc)" --target "${alvos[@]}"
rm -rf "$pasta/sementes"
python3 scripts/sementes-fuzz.py tests/data/ini-cases/cases "$pasta/sementes"
mkdir -p "$pasta/achados"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
falhas=0
for alvo in "${alvos[@]}"; do
    corpus="$pasta/corpus/$alvo"
    mkdir -p "$corpus"
    echo "== $alvo, ${segundos} s"
    if ! "$pasta/bin/$alvo" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$pasta/achados/$alvo-" "$corpus" "$pasta/sementes/$alvo" 2>"$pasta/$alvo.log"; then
        tail -n 60 "$pasta/$alvo.log"
        echo "FINDING: $alvo (input in $pasta/achados/)"
        falhas=$((falhas + 1))
    fi
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$pasta/$alvo.log" || true
done
[ "$falhas" -eq 0 ]
