#!/usr/bin/env bash
# Installs the build into a scratch prefix and packs it as a .deb; checks both lay
# out what a desktop expects. Usage: check_install.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
id=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
expected=(
    bin/miroven
    bin/miroven-calc
    share/man/man1/miroven-calc.1.gz
    share/applications/$id.desktop
    share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
)
for size in 16 32 48 64 128 256; do
    expected+=(share/icons/hicolor/${size}x${size}/apps/$id.png)
done
for f in "${expected[@]}"; do
    [ -s "$scratch/prefix/$f" ] || { echo "missing after install: $f"; exit 1; }
done
file "$scratch/prefix/share/icons/hicolor/48x48/apps/$id.png" | grep -q "48 x 48" \
    || { echo "the 48 px icon is not 48 x 48"; exit 1; }
gzip -dc "$scratch/prefix/share/man/man1/miroven-calc.1.gz" | grep -q '^\.TH MIROVEN-CALC 1' \
    || { echo "the manual page is not a section 1 page"; exit 1; }
# The installed command line runs, and needs no GUI library.
"$scratch/prefix/bin/miroven-calc" --version | grep -q "^miroven-calc 1.00$" \
    || { echo "the installed miroven-calc does not run"; exit 1; }
if readelf -d "$scratch/prefix/bin/miroven-calc" | grep NEEDED | grep -qE 'Qt6(Gui|Widgets)'; then
    echo "miroven-calc links a GUI library"; exit 1
fi

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/miroven_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6widgets6 libqt6svg6 fonts-noto-cjk; do
    grep -q "$lib" <<<"$depends" || { echo "package does not depend on $lib: $depends"; exit 1; }
done
grep -q "fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic" <<<"$depends" \
    || { echo "package does not accept another Japanese font: $depends"; exit 1; }
[ "$(dpkg-deb --field "$deb" Version)" = "1.00" ] || { echo "package version is not 1.00"; exit 1; }
contents=$(dpkg-deb -c "$deb")
for f in usr/bin/miroven usr/bin/miroven-calc usr/share/man/man1/miroven-calc.1.gz \
         usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml; do
    grep -q "\./$f\$" <<<"$contents" || { echo "package lacks $f"; exit 1; }
done
echo "install layout and package: ok"
