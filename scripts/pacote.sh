#!/usr/bin/env bash
# Builds the Debian packages with CPack (libkovanrt2, libkovanrt-dev, kovan-mirabelo) and prints the
# path of each .deb, one a line, in that order. With a build folder as argument
# (one already configured and built, as the package test does), packages that build; otherwise
# configures and builds build-pacote without the tests, with the hardening flags Debian builds use
# (dpkg-buildflags).
set -euo pipefail
[ $# -eq 0 ] || pasta=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
    bash scripts/instala-dependencias.sh
    pasta=$PWD/build-pacote
    flags() { dpkg-buildflags --get "$1"; }
    cmake -S . -B "$pasta" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
        -DCMAKE_C_FLAGS="$(flags CPPFLAGS) $(flags CFLAGS)" -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
    cmake --build "$pasta" -j"$(nproc)" >"$pasta/pacote.log" 2>&1 || { cat "$pasta/pacote.log"; exit 1; }
fi
# CPack reads CPackConfig.cmake before it builds: a build step first brings the configuration up to date.
cmake --build "$pasta" --target pacote_textos >/dev/null
rm -f "$pasta"/pacote/*.deb
(cd "$pasta" && cpack -G DEB --config CPackConfig.cmake) >"$pasta/cpack.log" 2>&1 || { cat "$pasta/cpack.log"; exit 1; }
for nome in libkovanrt2 libkovanrt-dev kovan-mirabelo; do
    debs=("$pasta"/pacote/"$nome"_*.deb)
    [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { cat "$pasta/cpack.log"; echo "pacote.sh: no $nome .deb in $pasta/pacote" >&2; exit 1; }
    echo "${debs[0]}"
done
