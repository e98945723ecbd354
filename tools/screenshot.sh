#!/usr/bin/env bash
# Takes a screenshot of the real window under Xvfb, as a new user sees it.
# Usage: tools/screenshot.sh OUT.png [build/src/tarvelo] [seconds to wait] [pad]
# With "pad" it clicks the "PAD Files" tab first (needs xdotool).
# PAD=/path/file.xml makes that file profile 1's remembered PAD file.
# SCREEN=WxHxDEPTH sets the X screen (default 939x664x24, the window's size);
# with QT_SCALE_FACTOR=2 the window needs SCREEN=1878x1328x24.
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
screen=${SCREEN:-939x664x24}
# Where the "PAD Files" tab is, in screen pixels at the given scale factor.
tab_x=$(awk -v f="${QT_SCALE_FACTOR:-1}" 'BEGIN { printf "%d", 180 * f }')
tab_y=$(awk -v f="${QT_SCALE_FACTOR:-1}" 'BEGIN { printf "%d", 22 * f }')
xvfb-run -a -s "-screen 0 $screen" bash -c '
    "$0" >/dev/null 2>&1 &
    pid=$!
    sleep "$2"
    if [ "$3" = pad ]; then
        xdotool mousemove "$4" "$5" click 1
        sleep 1
    fi
    import -window root "$1"
    kill $pid' "$binary" "$out" "$wait" "$tab" "$tab_x" "$tab_y"
echo "wrote $out"
