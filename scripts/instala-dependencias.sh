#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; skips what is present. With
# --fuzz, also what the fuzz targets need (clang with libFuzzer and the sanitizers, python3 for seeds).
set -euo pipefail
pacotes=(build-essential cmake pkg-config qt6-base-dev libgtest-dev nlohmann-json3-dev
         libsqlite3-0 libsystemd-dev fonts-liberation qt6-translations-l10n xvfb xauth xdotool)
[ "${1:-}" = "--fuzz" ] && pacotes+=(clang libclang-rt-14-dev python3)
faltam=()
for p in "${pacotes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$p")
done
if [ ${#faltam[@]} -gt 0 ]; then
    echo "Installing: ${faltam[*]}"
    export DEBIAN_FRONTEND=noninteractive
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo --preserve-env=DEBIAN_FRONTEND)
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends "${faltam[@]}" >/dev/null
fi
