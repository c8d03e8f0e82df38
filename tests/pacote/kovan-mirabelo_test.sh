#!/usr/bin/env bash
# The Debian packages as an administrator gets them: built by CPack from the build folder (libkovanrt2,
# libkovanrt-dev, kovan-mirabelo), checked by lintian (no error, and no warning but that of a first
# upload), unpacked with dpkg -x and run from the unpacked files only. The programs find the runtime
# through LD_LIBRARY_PATH (installed, it is in the loader's own path) and the module through their own
# folder; nothing of the build folder is on any search path. A module is built against libkovanrt-dev
# (and the runtime it depends on) alone.
#
#   kovan-mirabelo_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
fonte=$1
build=$2
falha() { echo "FAIL: $*" >&2; exit 1; }

mapfile -t debs < <(bash "$fonte/scripts/pacote.sh" "$build")
[ ${#debs[@]} -eq 3 ] || falha "three packages expected: ${debs[*]}"
for deb in "${debs[@]}"; do
    echo "package: $deb, $(stat -c %s "$deb") bytes; Depends: $(dpkg-deb -f "$deb" Depends)"
done

if ! command -v lintian >/dev/null; then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo --preserve-env=DEBIAN_FRONTEND)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
    "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends lintian >/dev/null
fi
status=0
lintian --display-info --fail-on error "${debs[@]}" >"$build/lintian.txt" 2>&1 || status=$?
grep -v 'running with root privileges' "$build/lintian.txt" || true
[ $status -eq 0 ] || falha "lintian reports errors (status $status)"
! grep -E '^W: ' "$build/lintian.txt" | grep -v 'initial-upload-closes-no-bugs' || falha "lintian warns"

raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
for deb in "${debs[@]}"; do
    dpkg -x "$deb" "$raiz/pacote"
done
usr=$raiz/pacote/usr
lib=$(dirname "$(find "$usr/lib" -maxdepth 2 -name libkovanrt.so.2)")
[ -d "$lib/kovan/modulos" ] || falha "no module folder beside $lib"
unset KOVAN_SQLITE_LIBRARY KOVAN_BIN
export LD_LIBRARY_PATH=$lib QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
for f in "$usr"/bin/* "$lib"/libkovanrt.so.2 "$lib"/kovan/modulos/*.so; do
    ! readelf -d "$f" | grep -E 'RPATH|RUNPATH' || falha "$f carries a library search path"
done
ldd "$usr/bin/cfkovan" | grep -F "libkovanrt.so.2 => $lib/" >/dev/null || falha "cfkovan does not take the unpacked runtime"

echo "== --help"
for p in cfkovan cfkovan-dados kovan-demo; do
    "$usr/bin/$p" --help >"$raiz/ajuda" 2>&1 || falha "$p --help"
    grep -q '^Usage: '"$p" "$raiz/ajuda" || falha "$p --help: $(cat "$raiz/ajuda")"
done
for p in cfkovan cfkovan-dados; do
    "$usr/bin/$p" --help | tr -s ' \n' ' ' | grep -F "in ../${lib#"$usr/"}/kovan/modulos from this program's folder" >/dev/null ||
        falha "$p --help does not name the installed module folder"
done

echo "== kovan-demo, cfkovan-dados"
"$usr/bin/kovan-demo" "$raiz/demo" >/dev/null
dados=("$usr/bin/cfkovan-dados" --config-dir "$raiz/demo/bin")
# The module opened is the unpacked one, found from the program's folder.
LD_DEBUG=files "${dados[@]}" export-all 2>"$raiz/carga" >"$raiz/saida" ||
    falha "export-all: $(grep -v '^ *[0-9]*:' "$raiz/carga")"
grep -q "file=$usr/bin/../${lib#"$usr/"}/kovan/modulos/libcfMirabelo.so" "$raiz/carga" || falha "the unpacked module was not loaded"
[ "$(cat "$raiz/saida")" = $'00000123;000000000012345\n00000456;000000000067890\n00000789;' ] ||
    falha "export-all: $(cat "$raiz/saida")"
printf '00000789;4242\n00000456;12345\n' >"$raiz/entrada.txt"
status=0
"${dados[@]}" --yes import "$raiz/entrada.txt" 2>"$raiz/erros" || status=$?
[ $status -eq 0 ] || falha "import: status $status: $(cat "$raiz/erros")"
grep -q 'read 2 entries: 1 stored, 1 skipped, 0 failed' "$raiz/erros" || falha "import: $(cat "$raiz/erros")"
grep -q '^codigoestabelecimento=000000000004242' "$raiz/demo/Kovan/config/empresas/00000789/Mirabelo.ini" ||
    falha "import did not store 00000789's code"
"${dados[@]}" erase 00000123 2>/dev/null
[ "$("${dados[@]}" export)" = $'00000456;000000000067890\n00000789;000000000004242' ] || falha "export after erase"
# Installed without --config-dir: CfKovan.ini beside the program.
cp "$raiz/demo/bin/CfKovan.ini" "$usr/bin/"
[ "$("$usr/bin/cfkovan-dados" export 00000789)" = '00000789;000000000004242' ] || falha "CfKovan.ini beside the program"
rm "$usr/bin/CfKovan.ini"

echo "== cfkovan, each screen offscreen"
cfkovan=("$usr/bin/cfkovan" --config-dir "$raiz/demo/bin")
"${cfkovan[@]}" --list >"$raiz/lista"
[ "$(head -1 "$raiz/lista")" = "user $(id -un): level 0 (full rights) from file access" ] ||
    falha "--list: $(head -1 "$raiz/lista")"
tail -n +2 "$raiz/lista" >"$raiz/telas"
[ "$(cut -f2 "$raiz/telas" | tr '\n' ' ')" = 'TFormEstabelecimento_167171 TFormTabelaBins_167171 TFormTransHab_167171 ' ] ||
    falha "--list: $(cat "$raiz/telas")"
for classe in $(cut -f2 "$raiz/telas"); do
    "${cfkovan[@]}" --open "$classe" --screenshot "$raiz/$classe.png" 2>"$raiz/erros" </dev/null ||
        falha "cfkovan --open $classe: $(cat "$raiz/erros")"
    [ "$(head -c 8 "$raiz/$classe.png" | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] || falha "$classe.png is not a PNG"
    [ "$(stat -c %s "$raiz/$classe.png")" -gt 4000 ] || falha "$classe.png is too small to show a screen"
done

echo "== a module built against libkovanrt-dev alone"
dpkg -x "${debs[0]}" "$raiz/dev"
dpkg -x "${debs[1]}" "$raiz/dev"
usr=$raiz/dev/usr
lib=$(dirname "$(find "$usr/lib" -maxdepth 2 -name libkovanrt.so)")
export LD_LIBRARY_PATH=$lib PKG_CONFIG_PATH=$lib/pkgconfig
opcoes=$(pkg-config --cflags --libs kovanrt)
[ "$(pkg-config --variable=includedir kovanrt)" -ef "$usr/include/kovan" ] &&
    [[ " $opcoes " == *" -I$(pkg-config --variable=includedir kovanrt) "* ]] || falha "pkg-config: $opcoes"
[ "$(realpath -m "$(pkg-config --variable=modulosdir kovanrt)")" = "$(realpath -m "$lib/kovan/modulos")" ] ||
    falha "pkg-config names no module folder"
# shellcheck disable=SC2086
g++ -std=c++20 -fPIC -Wall -Wextra -Werror "$(dirname "$0")/modulo-exemplo.cpp" $opcoes -o "$raiz/modulo-exemplo"
"$raiz/modulo-exemplo" || falha "the example module"
echo "package test passed"
