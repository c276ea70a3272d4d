#!/usr/bin/env bash
# Installs the build into a scratch prefix and packs it as a .deb; checks both lay
# out what a desktop expects, that lintian finds no error or warning in the package,
# the programs' library search paths and their hardening.
# Usage: check_install.sh BUILD_DIR APP_ID LEDGER_ID
set -euo pipefail
build=$1
id=$2
ledger_id=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
programs=(miroven miroven-calc miroven-ledger)
expected=(share/doc/miroven/copyright share/doc/miroven/changelog.gz)
for program in "${programs[@]}"; do
    expected+=(bin/$program share/man/man1/$program.1.gz share/man/ja/man1/$program.1.gz)
done
for app in "$id" "$ledger_id"; do
    expected+=(share/applications/$app.desktop share/metainfo/$app.metainfo.xml
               share/icons/hicolor/scalable/apps/$app.svg)
    for size in 16 32 48 64 128 256; do
        expected+=(share/icons/hicolor/${size}x${size}/apps/$app.png)
    done
done
for f in "${expected[@]}"; do
    [ -s "$scratch/prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
file "$scratch/prefix/share/icons/hicolor/48x48/apps/$id.png" | grep -q "48 x 48" \
    || { echo "the 48 px icon is not 48 x 48"; exit 1; }
for page in "${programs[@]}"; do
    gzip -dc "$scratch/prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1" \
        || { echo "the manual page of $page is not a section 1 page"; exit 1; }
done

# The library search path of a program (RUNPATH, or the older RPATH), one line each;
# nothing when it has none.
search_paths() {
    readelf -d "$1" | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]$/\2/p'
}
# An empty entry is the current directory, tried first for every library: no built
# program may have one.
checked=()
while IFS= read -r -d '' f; do
    readelf -h "$f" >/dev/null 2>&1 || continue
    while IFS= read -r paths; do
        [[ ":$paths:" != *::* ]] || { echo "empty library search path entry in $f: [$paths]"; exit 1; }
    done < <(search_paths "$f")
    checked+=("${f#"$build"/}")
done < <(find "$build" -name CMakeFiles -prune -o -type f -perm -u+x -print0)
for program in "${programs[@]}"; do
    [[ " ${checked[*]} " == *" $program "* ]] \
        || { echo "the search paths of $program were not checked"; exit 1; }
done
# Installed in /usr/bin, the programs find their libraries in the system's paths.
for program in "${programs[@]}"; do
    paths=$(search_paths "$scratch/prefix/bin/$program")
    [ -z "$paths" ] || { echo "the installed $program has a library search path: $paths"; exit 1; }
done
# The installed command line runs, and needs no GUI library.
"$scratch/prefix/bin/miroven-calc" --version | grep -q "^miroven-calc 1.00$" \
    || { echo "the installed miroven-calc does not run"; exit 1; }
if readelf -d "$scratch/prefix/bin/miroven-calc" | grep NEEDED | grep -qE 'Qt6(Gui|Widgets)'; then
    echo "miroven-calc links a GUI library"; exit 1
fi

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/miroven_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6widgets6 libqt6svg6 libqt6charts6 qt6-translations-l10n fonts-noto-cjk; do
    grep -q "$lib" <<<"$depends" || { echo "package does not depend on $lib: $depends"; exit 1; }
done
grep -q "fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic" <<<"$depends" \
    || { echo "package does not accept another Japanese font: $depends"; exit 1; }
[ "$(dpkg-deb --field "$deb" Version)" = "1.00" ] || { echo "package version is not 1.00"; exit 1; }
contents=$(dpkg-deb -c "$deb")
for f in usr/bin/miroven usr/bin/miroven-calc usr/bin/miroven-ledger usr/share/man/man1/miroven.1.gz \
         usr/share/man/man1/miroven-calc.1.gz usr/share/man/man1/miroven-ledger.1.gz \
         usr/share/doc/miroven/copyright usr/share/applications/$id.desktop \
         usr/share/metainfo/$id.metainfo.xml usr/share/applications/$ledger_id.desktop \
         usr/share/metainfo/$ledger_id.metainfo.xml; do
    grep -q "\./$f\$" <<<"$contents" || { echo "package lacks $f"; exit 1; }
done
# Built with Debian's hardening: lintian tells of read-only relocations, binding at
# start-up and fortified functions below, but not of stack canaries. (readelf's output
# is read whole: grep -q would stop it early and fail the pipe.)
for program in "${programs[@]}"; do
    grep -q __stack_chk_fail <<<"$(readelf --dyn-syms -W "$scratch/prefix/bin/$program")" \
        || { echo "$program has no stack protection"; exit 1; }
done

# Informational tags may stay, but none about hardening; any error or warning fails.
tags=$(lintian -I --fail-on error,warning "$deb") || { echo "lintian finds errors or warnings in the package:"; echo "$tags"; exit 1; }
if grep hardening- <<<"$tags"; then echo "lintian finds the programs not hardened"; exit 1; fi
echo "install layout, search paths, hardening and package: ok"
