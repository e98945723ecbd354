#!/usr/bin/env bash
# Starts the real program as a new user would (empty home, no settings), once on
# the offscreen platform and once under a real X server, and checks that it
# comes up with its one fixed-size window. Usage: smoke.sh /path/to/tarvelo
set -u
binary=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fresh_home() {
    local home="$work/$1"
    mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
    export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
           XDG_CACHE_HOME=$home/cache XDG_RUNTIME_DIR=$home/runtime
}

fail() { echo "FAIL: $*"; exit 1; }

# Nobody has to export a sandbox setting, root included: the program sees to it.
unset QTWEBENGINE_DISABLE_SANDBOX
root_line="tarvelo: running as root, so the browser's sandbox is off"
said_root_line() {
    [ "$(id -u)" != 0 ] || [ "$(grep -cxF "$root_line" "$1")" = 1 ]
}

# 1. Offscreen: start-up runs to the end and the program keeps running.
fresh_home offscreen
QT_QPA_PLATFORM=offscreen "$binary" >"$work/offscreen.log" 2>&1 &
pid=$!
sleep 8
kill -0 $pid 2>/dev/null || { cat "$work/offscreen.log"; fail "exited during start-up on offscreen"; }
kill $pid; sleep 1; kill -9 $pid 2>/dev/null; wait $pid 2>/dev/null
[ -e "$XDG_CONFIG_HOME/Tarvelo/Tarvelo.conf" ] && fail "settings written without a confirmed exit"
said_root_line "$work/offscreen.log" || { cat "$work/offscreen.log"; fail "no word of the sandbox as root"; }
echo "offscreen: started and kept running (user id $(id -u))"

# 2. A real X server: the window is there, titled and sized as it should be,
#    and closing it asks first, then stores the settings and removes the help
#    page file.
command -v xvfb-run >/dev/null || { echo "SKIP: no xvfb-run"; exit 0; }
fresh_home x11
export QT_QPA_PLATFORM=xcb
here=$(cd "$(dirname "$0")" && pwd)
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    binary=$0 work=$1 here=$2
    "$binary" >"$work/x11.log" 2>&1 &
    pid=$!
    trap "kill -9 $pid 2>/dev/null" EXIT   # never leave the program behind
    for i in $(seq 1 60); do
        line=$(xwininfo -root -tree 2>/dev/null | grep -E "\"[^\"]*Tarvelo\": \(\"tarvelo\"" | head -1)
        [ -n "$line" ] && break
        sleep 0.5
    done
    echo "$line"
    case "$line" in
        *" 939x664+"*) ;;
        "") cat "$work/x11.log"; echo "FAIL: no Tarvelo window"; kill $pid; exit 1 ;;
        *) echo "FAIL: window is not 939x664"; kill $pid; exit 1 ;;
    esac
    ls "$XDG_RUNTIME_DIR/tempIndex.html" "$(dirname "$binary")/tempIndex.html" 2>/dev/null >"$work/helppage"
    [ -s "$work/helppage" ] || { echo "FAIL: no help page file written"; kill $pid; exit 1; }
    command -v xdotool >/dev/null || { kill $pid; echo "SKIP: no xdotool to close the window"; exit 0; }
    window=$(echo "$line" | awk "{print \$1}")
    "$here/wm_close.py" "$window"
    sleep 2
    kill -0 $pid 2>/dev/null || { echo "FAIL: closed without asking"; exit 1; }
    xdotool key y            # "Yes" in "Are you sure?"
    for i in $(seq 1 40); do kill -0 $pid 2>/dev/null || break; sleep 0.25; done
    if kill -0 $pid 2>/dev/null; then kill $pid; echo "FAIL: still running after Yes"; exit 1; fi
    grep -q "^\[Settings\]" "$XDG_CONFIG_HOME/Tarvelo/Tarvelo.conf" \
        || { echo "FAIL: settings not stored at exit"; exit 1; }
    [ ! -e "$(cat "$work/helppage")" ] || { echo "FAIL: help page file left behind"; exit 1; }
    ' "$binary" "$work" "$here" || exit 1
said_root_line "$work/x11.log" || { cat "$work/x11.log"; fail "no word of the sandbox as root on X11"; }
echo "x11: window 939x664 titled Tarvelo; close asked, settings stored, help page removed"
