#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer + UBSan) in build-fuzz and runs each for
# the given seconds (default 60), seeded from the recorded private-profile cases. Fails on any finding;
# the input that shows it is left in build-fuzz/achados/.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-60}
bash scripts/instala-dependencias.sh --fuzz
pasta=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$pasta" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVAN_FUZZ=ON -DBUILD_TESTING=OFF \
    -DKOVAN_FUZZ_SEGUNDOS="$segundos" >/dev/null
cmake --build "$pasta" -j"$(nproc)" --target fuzz_PrivateProfile fuzz_Lote fuzz_DadosEmpresa fuzz_Cp1252
rm -rf "$pasta/sementes"
python3 scripts/sementes-fuzz.py tests/data/ini-cases/cases "$pasta/sementes"
status=0
(cd "$pasta" && ctest -L fuzz --output-on-failure) || status=$?
# What each target did, from CTest's record of the run.
grep -E '^([0-9]+/[0-9]+ Testing: |stat::(number_of_executed_units|average_exec_per_sec|new_units_added))' \
    "$pasta/Testing/Temporary/LastTest.log" || true
exit "$status"
