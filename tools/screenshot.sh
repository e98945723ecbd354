#!/usr/bin/env bash
# Takes a screenshot of the real window under Xvfb, as a new user sees it.
# Usage: tools/screenshot.sh OUT.png [build/src/tarvelo] [seconds to wait] [pad]
# With "pad" it clicks the "PAD Files" tab first (needs xdotool).
# PAD=/path/file.xml makes that file profile 1's remembered PAD file.
set -eu
out=$1
binary=${2:-build/src/tarvelo}
wait=${3:-12}
tab=${4:-main}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
       XDG_CACHE_HOME=$home/cache XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=xcb
if [ -n "${PAD:-}" ]; then
    mkdir -p "$XDG_CONFIG_HOME/Tarvelo"
    printf '[Settings]\ntxtLocalPAD0=%s\n' "$PAD" >"$XDG_CONFIG_HOME/Tarvelo/Tarvelo.conf"
fi
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
xvfb-run -a -s "-screen 0 939x664x24" bash -c '
    "$0" >/dev/null 2>&1 &
    pid=$!
    sleep "$2"
    if [ "$3" = pad ]; then
        xdotool mousemove 180 22 click 1
        sleep 1
    fi
    import -window root "$1"
    kill $pid' "$binary" "$out" "$wait" "$tab"
echo "wrote $out"
