#!/usr/bin/env bash
# Fails on an include that goes up a layer or sideways between panes. The table below is the only
# statement of which source folder may include which; a folder may always include itself.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"

declare -A allowed=(
    [platform]=""
    [platform/widgets]="platform"
    [model]="platform"
    [addressbook]="platform model"
    [ui/contracts]="platform model addressbook"
    [ui/widgets]="platform platform/widgets model addressbook ui/contracts"
)
lower="platform platform/widgets model addressbook ui/contracts ui/widgets"
panes="grid detail sidebar editors find importexport panels print"
for pane in $panes; do
    allowed[$pane]="$lower"
done
allowed[app]="$lower $panes"
allowed[.]="$lower $panes app"

status=0
while IFS= read -r file; do
    rel="${file#"$src"/}"
    folder="$(dirname "$rel")"
    if [[ -z "${allowed[$folder]+set}" ]]; then
        echo "$rel: folder $folder is not in the layer table"
        status=1
        continue
    fi
    while IFS= read -r included; do
        [[ "$included" == */* ]] || continue
        target="$(dirname "$included")"
        [[ -d "$src/$target" ]] || continue
        [[ "$target" == "$folder" ]] && continue
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$rel includes $included: $folder may not include $target"
            status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)
exit $status
