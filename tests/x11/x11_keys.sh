#!/usr/bin/env bash
# Real X key and mouse events, end to end: a page with a form is open, the
# user clicks into its first box and uses the keypad, Ctrl, Alt and the
# right-click menu; the box must end up holding each value in turn.
# Usage: x11_keys.sh /path/to/x11_driver /path/to/tests/data
set -u
driver=$1
data=$2
for tool in xvfb-run xdotool; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is missing"; exit 0; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runtime" "$work/config/Tarvelo" && chmod 700 "$work/runtime"
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data \
       XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb

pad() {
    printf '<XML_DIZ_INFO><Company_Name>%s Co</Company_Name><Program_Name>%s</Program_Name>' "$1" "$1"
    printf '<Application_XML_File_URL>http://example.com/%s.xml</Application_XML_File_URL></XML_DIZ_INFO>' "$1"
}
pad Alpha >"$work/alpha.xml"
pad Beta >"$work/beta.xml"
printf '[Settings]\ntxtLocalPAD0=%s\ntxtLocalPAD1=%s\n' "$work/alpha.xml" "$work/beta.xml" \
    >"$work/config/Tarvelo/Tarvelo.conf"

xvfb-run -a -s "-screen 0 939x664x24" bash -c '
    driver=$1 page=$2 out=$3
    "$driver" "$page" >"$out" 2>/dev/null &
    pid=$!
    trap "kill -9 $pid 2>/dev/null" EXIT   # never leave the program behind
    for i in $(seq 1 120); do grep -q "^INPUT" "$out" && break; sleep 0.5; done
    win=$(xdotool search --onlyvisible --name "Tarvelo$" | head -1)
    read x y <<<"$(grep "^INPUT" "$out" | tail -1 | cut -d" " -f2-)"
    [ -n "$win" ] && [ -n "$x" ] || { kill $pid; exit 1; }
    xdotool windowfocus --sync "$win"
    xdotool mousemove "$x" "$y" click 1
    sleep 0.5
    # A held key, as a person presses it: a tap shorter than one 10 ms poll
    # is not a press.
    hold() { for k in "$@"; do xdotool keydown "$k"; done; sleep 0.08
             for k in "$@"; do xdotool keyup "$k"; done; sleep 0.7; }
    hold KP_1                # program name, profile 1
    hold Control_L KP_0      # next profile: the PAD URL of profile 2
    hold Alt_L KP_0          # previous profile of 1: profile 3, empty: the box keeps its value
    hold KP_0                # the current profile PAD URL
    xdotool mousedown 3; sleep 0.08; xdotool mouseup 3; sleep 0.7
    xdotool key 3            # the menu item "3   Company"
    sleep 1
    kill $pid' _ "$driver" "file://$data/web/fill-form.html" "$work/out" 2>/dev/null

values=$(grep '^VALUE' "$work/out" | cut -d' ' -f2-)
expected='["Alpha"]
["http://example.com/Beta.xml"]
["http://example.com/Alpha.xml"]
["Alpha Co"]'
got=$(printf '%s\n' "$values" | grep -v -x -F '["old name"]')
if [ "$got" != "$expected" ]; then
    echo "FAIL: the box held, in turn:"; printf '%s\n' "$values"
    echo "expected:"; printf '%s\n' "$expected"
    exit 1
fi
echo "PASS: keypad, Ctrl, Alt and the right-click menu pasted into the page"
