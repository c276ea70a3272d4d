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

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/miroven_*.deb)
depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6widgets6 libqt6svg6 fonts-noto-cjk; do
    grep -q "$lib" <<<"$depends" || { echo "package does not depend on $lib: $depends"; exit 1; }
done
[ "$(dpkg-deb --field "$deb" Version)" = "1.00" ] || { echo "package version is not 1.00"; exit 1; }
contents=$(dpkg-deb -c "$deb")
for f in usr/bin/miroven usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml; do
    grep -q "\./$f\$" <<<"$contents" || { echo "package lacks $f"; exit 1; }
done
echo "install layout and package: ok"
