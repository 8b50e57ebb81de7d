#!/usr/bin/env bash
# `cmake --install` puts the program under its four edition names, a valid desktop file per
# edition and the edition icons where desktops look for them.
# Usage: install-layout-test.sh BUILD_DIR
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
status=0
for edition in Pemberlin2 Sorvina Fenwarde2 Ostrany2; do
    for file in bin/$edition share/applications/$edition.desktop \
        share/icons/hicolor/scalable/apps/$edition.svg share/icons/hicolor/48x48/apps/$edition.png \
        share/icons/hicolor/256x256/apps/$edition.png; do
        [ -e "$prefix/$file" ] || { echo "missing: $file" >&2; status=1; }
    done
    grep -q "^Exec=$edition %F$" "$prefix/share/applications/$edition.desktop" ||
        { echo "$edition.desktop does not start $edition" >&2; status=1; }
done
desktop-file-validate "$prefix"/share/applications/*.desktop || status=1
exit $status
