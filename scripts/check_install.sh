#!/usr/bin/env bash
# Checks what `cmake --install` and the Debian package of a build folder hold:
#     scripts/check_install.sh [BUILD_DIR]      (default build/release)
# installs into a temporary prefix, checks that every installed file is there, validates
# the desktop entry and the AppStream metainfo, runs the installed programs on an installed
# example, then makes the .deb and checks that its Depends name the Qt 6 libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.kestrane.Zelkon
expected=(
  bin/zelkon bin/zelkon-cli
  share/applications/$id.desktop
  share/mime/packages/zelkon-data.xml
  share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/icons/hicolor/48x48/apps/$id.png
  share/icons/hicolor/128x128/apps/$id.png
  share/icons/hicolor/256x256/apps/$id.png
  share/man/man1/zelkon.1 share/man/man1/zelkon-cli.1
)
for f in examples/*.ZLD; do expected+=("share/zelkon/examples/$(basename "$f")"); done
missing=0
for f in "${expected[@]}"; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f" >&2; missing=1; }
done
[ "$missing" -eq 0 ]

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
for page in zelkon zelkon-cli; do
  man --warnings -l "$prefix/share/man/man1/$page.1" >/dev/null
done

"$prefix/bin/zelkon" --version
"$prefix/bin/zelkon-cli" --version
"$prefix/bin/zelkon-cli" report --plain "$prefix/share/zelkon/examples/blood_pressure_raw.ZLD" |
  grep -q "P value"

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/zelkon_*.deb | head -n 1)
depends=$(dpkg-deb -f "$deb" Depends)
echo "$(basename "$deb"): Depends: $depends"
grep -q "libqt6widgets6" <<<"$depends"
grep -q "libqt6gui6" <<<"$depends"
grep -q "qt6-qpa-plugins" <<<"$depends"
echo "install and package checks passed"
