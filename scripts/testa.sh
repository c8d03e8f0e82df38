#!/usr/bin/env bash
# Sets everything up and runs every test. With --sanitizers, the same tests in an
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/instala-dependencias.sh
pasta=build
opcoes=(-DCMAKE_BUILD_TYPE=Release)
if [ "${1:-}" = "--sanitizers" ]; then
    pasta=build-san
    opcoes=(-DCMAKE_BUILD_TYPE=Debug -DKOVAN_SANITIZE=ON)
fi
cmake -S . -B "$pasta" "${opcoes[@]}" >/dev/null
cmake --build "$pasta" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$pasta" && ctest --output-on-failure -j"$(nproc)"
