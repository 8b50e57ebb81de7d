#!/usr/bin/env bash
# With every package installed, the install script only asks dpkg: it runs neither apt-get nor
# sudo. Stand-ins for both note any call and fail.
# Usage: install-deps-test.sh PATH/TO/install-deps.sh
set -u
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
for tool in apt-get sudo; do
    printf '#!/bin/sh\necho "%s $*" >>"%s/calls"\nexit 1\n' "$tool" "$fake" >"$fake/$tool"
    chmod +x "$fake/$tool"
done
PATH="$fake:$PATH" "$1"
status=$?
if [ -e "$fake/calls" ]; then
    echo "install-deps.sh ran: $(cat "$fake/calls")" >&2
    exit 1
fi
exit $status
