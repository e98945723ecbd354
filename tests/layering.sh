#!/usr/bin/env bash
# The source's layers: core includes nothing from gui/ or app/, gui nothing
# from app/; gui/window is included by the other gui folders, never the
# reverse, and no two gui folders include each other.
# Usage: layering.sh /path/to/src
set -u
cd "$1" || exit 1
# One "folder included-folder" line per include of our own headers.
edges=$(grep -rEo '^#include "(core|gui|app)/[^"]*"' --include='*.h' --include='*.cpp' . |
    sed -E 's#^\./(.*)/[^/]*:\#include "(.*)/[^/]*"$#\1 \2#' | sort -u)
[ -n "$edges" ] || { echo "FAIL: no includes found under $1"; exit 1; }
status=0
while read -r from to; do
    case "$from>$to" in
        core*\>gui* | core*\>app* | gui*\>app* | gui/window\>gui/[!w]*)
            echo "FAIL: $from includes from $to"; status=1 ;;
        gui/*\>gui/*)
            [ "$from" != "$to" ] && grep -qx "$to $from" <<<"$edges" &&
                { echo "FAIL: $from and $to include each other"; status=1; } ;;
    esac
done <<<"$edges"
[ $status -eq 0 ] && echo "PASS: $(wc -l <<<"$edges") folder-to-folder includes keep the layers"
exit $status
