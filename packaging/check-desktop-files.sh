#!/usr/bin/env bash
# Installs the desktop entry, the AppStream metainfo and the icons to a scratch
# prefix, as a package would, and checks them: the freedesktop and AppStream
# validators, the icon sizes, and that the files name each other and the
# program consistently.
# Usage: check-desktop-files.sh CMAKE BUILD_DIR PROJECT_VERSION PROGRAM_NAME
set -u
cmake=$1 build=$2 version=$3 program=$4
id=io.github.tarvelo.Tarvelo
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

for tool in desktop-file-validate appstreamcli; do
    command -v $tool >/dev/null || { echo "FAIL: $tool missing (Debian: desktop-file-utils, appstream)"; exit 1; }
done

"$cmake" --install "$build" --prefix "$prefix" --component desktop >"$prefix.log" 2>&1 \
    || { cat "$prefix.log"; rm -f "$prefix.log"; echo "FAIL: cmake --install"; exit 1; }
rm -f "$prefix.log"

share=$prefix/share
desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml

# --- the files are where a desktop looks for them ------------------------------
for f in "$desktop" "$metainfo" "$share/icons/hicolor/scalable/apps/$id.svg"; do
    [ -s "$f" ] && pass "installed ${f#"$prefix"/}" || fail "missing ${f#"$prefix"/}"
done
for size in 16 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/$id.png
    if [ ! -s "$png" ]; then
        fail "missing ${png#"$prefix"/}"
        continue
    fi
    # PNG signature, then the IHDR chunk: width and height as 32-bit big-endian.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" \
        | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$w x $h" = "$size x $size" ] && pass "icon $size is ${w}x$h" \
        || fail "icon for $size px is ${w}x$h"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/$id.svg" || fail "scalable icon is no SVG"

# --- the validators --------------------------------------------------------------
out=$(desktop-file-validate "$desktop" 2>&1)
rc=$?
[ $rc = 0 ] && ! grep -qE '(error|warning):' <<<"$out" && pass "desktop-file-validate" \
    || fail "desktop-file-validate ($rc): $out"
out=$(appstreamcli validate --no-net "$metainfo" 2>&1)
rc=$?
[ $rc = 0 ] && ! grep -qE '^[EW]:' <<<"$out" && pass "appstreamcli validate" \
    || fail "appstreamcli validate ($rc): $out"

# A validator that passes anything would make the two checks above worthless.
broken=$prefix/broken.desktop
grep -v '^Type=' "$desktop" >"$broken"
desktop-file-validate "$broken" >/dev/null 2>&1 && fail "desktop-file-validate accepts an entry without Type"
broken=$prefix/broken.metainfo.xml
sed 's|<summary>.*</summary>||' "$metainfo" >"$broken"
appstreamcli validate --no-net "$broken" >/dev/null 2>&1 && fail "appstreamcli accepts metainfo without summary"

# --- the files agree with each other and with the program -----------------------
key() { sed -n "s/^$1=//p" "$desktop" | head -1; }
[ "$(key Exec)" = "$program" ] && pass "Exec is the bare program name" \
    || fail "Exec is '$(key Exec)', expected '$program' with no arguments"
[ "$(key Icon)" = "$id" ] && pass "Icon is the app id" || fail "Icon is '$(key Icon)'"
case ";$(key Categories)" in
    *";Development;"*) pass "Categories: $(key Categories)" ;;
    *) fail "Categories lack Development: $(key Categories)" ;;
esac
tag() { sed -n "s|.*<$1[^>]*>\([^<]*\)</$1>.*|\1|p" "$metainfo" | head -1; }
[ "$(tag id)" = "$id" ] || fail "metainfo id is '$(tag id)'"
[ "$(tag launchable)" = "$id.desktop" ] || fail "launchable is '$(tag launchable)'"
[ "$(tag binary)" = "$program" ] || fail "provided binary is '$(tag binary)'"
grep -q '<description>' "$metainfo" || fail "metainfo has no description"
grep -q '<screenshot type="default">' "$metainfo" || fail "metainfo has no default screenshot"
newest=$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' "$metainfo" | head -1)
[ "$newest" = "$version" ] && pass "newest release is $version" \
    || fail "newest release in the metainfo is '$newest', the project is $version"

[ $failures = 0 ] || { echo "$failures failed"; exit 1; }
echo "all desktop file checks passed"
