#!/usr/bin/env bash
# Checks the Debian package that `make package` builds, by hand (it takes
# minutes, so it is not part of `make test`). Run as root.
#
#   packaging/check-deb.sh [--fresh-root] [build/tarvelo_*.deb]
#
# 1. The package's fields and files: the program, the desktop entry, the
#    metainfo, every icon size; dependencies computed from the linked libraries
#    plus what the program loads at run time.
# 2. The installed program from the unpacked package, under Xvfb: started by
#    root from a read-only folder and by the unprivileged user "nobody", it
#    comes up, shows its help page (the window takes the page's title) and
#    writes the page to the user's runtime folder, not next to itself.
# 3. With --fresh-root: a new minimal Debian 12 root (debootstrap, from the
#    Debian mirror), where `apt install ./tarvelo_*.deb` must pull in all that
#    the program needs, and the program must start there the same way.
set -u

fresh=no
if [ "${1:-}" = --fresh-root ]; then
    fresh=yes
    shift
fi
deb=${1:-$(ls -t build/tarvelo_*.deb 2>/dev/null | head -1)}
[ -n "$deb" ] && [ -f "$deb" ] || { echo "usage: $0 [--fresh-root] path/to/tarvelo_*.deb (make package builds it)"; exit 2; }
[ "$(id -u)" = 0 ] || { echo "run as root: the checks mount, chroot and change user"; exit 2; }
for tool in dpkg-deb Xvfb xwininfo setpriv unshare; do
    command -v $tool >/dev/null || { echo "missing $tool (Debian: dpkg, xvfb, x11-utils, util-linux)"; exit 2; }
done
deb=$(realpath "$deb")
id=io.github.tarvelo.Tarvelo
help_title="First things first - Tarvelo"

work=$(mktemp -d /tmp/tarvelo-deb.XXXXXX)
chmod 755 "$work"
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    for m in $(grep -o " $work/[^ ]*" /proc/mounts | sort -r); do umount -l "$m" 2>/dev/null; done
    # Never delete through a mount that is still there (the fresh root binds /dev).
    if grep -q " $work/" /proc/mounts; then
        echo "left $work in place: still mounted inside"
    else
        rm -rf --one-file-system "$work"
    fi
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# --- 1. fields and files ----------------------------------------------------------
echo "== $deb"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tarvelo ] && pass "package tarvelo $(field Version) $(field Architecture)" \
    || fail "package name '$(field Package)'"
depends=$(field Depends)
echo "   Depends: $depends"
# From dpkg-shlibdeps (the linked libraries) and from the package's own list.
names=" $(sed 's/ *([^)]*)//g; s/,/ /g' <<<"$depends") "
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6webenginewidgets6 \
           libqt6webenginecore6-bin qt6-qpa-plugins libqt6sql6-sqlite fonts-dejavu-core \
           fonts-comic-neue; do
    [[ "$names" == *" $dep "* ]] || fail "Depends lacks $dep"
done
grep -q '(>= ' <<<"$depends" && pass "versioned dependencies from dpkg-shlibdeps" \
    || fail "no versioned dependency: shlibdeps did not run"

contents=$(dpkg-deb --contents "$deb")
for path in ./usr/bin/tarvelo ./usr/share/applications/$id.desktop \
            ./usr/share/metainfo/$id.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/$id.svg; do
    grep -q " $path\$" <<<"$contents" || fail "package lacks $path"
done
for size in 16 32 48 64 128 256; do
    grep -q " ./usr/share/icons/hicolor/${size}x$size/apps/$id.png\$" <<<"$contents" \
        || fail "package lacks the $size px icon"
done
outside=$(awk '{print $6}' <<<"$contents" | grep -vE '^\./(usr/?|usr/.*)?$')
[ -z "$outside" ] && pass "everything under /usr" || fail "files outside /usr: $outside"
owners=$(awk '{print $2}' <<<"$contents" | sort -u)
[ "$owners" = root/root ] && pass "owned by root" || fail "owners: $owners"
grep -q tempIndex.html <<<"$contents" && fail "a help page copy is packaged"

root=$work/root
mkdir "$root"
dpkg-deb -x "$deb" "$root"
binary=$root/usr/bin/tarvelo
if readelf -S "$binary" 2>/dev/null | grep -q '\.debug_info'; then
    fail "the packaged program carries debug information"
else
    pass "program stripped ($(du -h "$binary" | cut -f1))"
fi
missing=$(ldd "$binary" | grep 'not found')
[ -z "$missing" ] && pass "every linked library found" || fail "unresolved: $missing"

# --- 2. the program from the unpacked package --------------------------------------
display=:$((90 + RANDOM % 400))
# No access control: the unprivileged run must reach the server too.
Xvfb "$display" -ac -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
sleep 2
kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log"; echo "FAIL: Xvfb did not start"; exit 1; }

# A fresh home for one run, owned by the user who runs the program.
new_home() { # NAME OWNER
    local home=$work/home-$1
    mkdir -p "$home/runtime"
    chmod 700 "$home/runtime"
    chown -R "$2" "$home"
    echo "$home"
}

# Starts the program, waits for its window to show the help page, stops it.
# HOME is the home as the program sees it; ROOT is where that path lies seen
# from here (empty, or the chroot's folder); the command may change user,
# chroot and so on.
check_run() { # LABEL HOME ROOT BINARY_FOLDER COMMAND...
    local label=$1 home=$2 seen=$3$2 bindir=$4 log
    log=$work/run-$(tr -c 'a-zA-Z0-9\n' - <<<"$label").log
    shift 4
    env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DISPLAY="$display" QT_QPA_PLATFORM=xcb HOME="$home" \
        XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
        XDG_RUNTIME_DIR="$home/runtime" ${SANDBOX_OFF:+QTWEBENGINE_DISABLE_SANDBOX=1} \
        "$@" >"$log" 2>&1 &
    local pid=$! title=
    for _ in $(seq 1 90); do
        title=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null \
                | grep -oE '"[^"]*Tarvelo": \("tarvelo"' | head -1)
        case "$title" in *"$help_title"*) break ;; esac
        kill -0 $pid 2>/dev/null || break
        sleep 1
    done
    local written
    written=$(ls "$seen/runtime/tempIndex.html" 2>/dev/null)
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    case "$title" in
        *"$help_title"*) pass "$label: window shows the help page ($title)" ;;
        "") fail "$label: no Tarvelo window"; sed 's/^/   | /' "$log" | tail -20 ;;
        *) fail "$label: window title $title, not the help page's"
           sed 's/^/   | /' "$log" | tail -20 ;;
    esac
    [ -n "$written" ] && pass "$label: help page written to the runtime folder" \
        || fail "$label: no help page in the runtime folder"
    [ -e "$bindir/tempIndex.html" ] && fail "$label: help page written next to the program"
}

# Root may write anywhere, so the folder is made read-only by a bind mount in a
# mount namespace of its own, which goes with the process.
home=$(new_home root-ro root:root)
SANDBOX_OFF=1 check_run "root, read-only /usr" "$home" "" "$root/usr/bin" \
    unshare --mount --propagation private sh -c \
        'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && exec "$1"' \
        "$root/usr" "$binary"

# An ordinary user cannot write to a root-owned /usr/bin; the browser's own
# sandbox stays on for this one.
home=$(new_home nobody nobody:nogroup)
check_run "user nobody" "$home" "" "$root/usr/bin" \
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$binary"

# --- 3. a fresh Debian 12 ----------------------------------------------------------
if [ $fresh = yes ]; then
    command -v debootstrap >/dev/null || { echo "missing debootstrap (Debian: debootstrap)"; exit 2; }
    fresh_root=$work/bookworm
    echo "== debootstrap a minimal Debian 12 into $fresh_root (a few minutes)"
    mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
    if debootstrap --variant=minbase bookworm "$fresh_root" "${mirror:-http://deb.debian.org/debian}" \
            >"$work/debootstrap.log" 2>&1; then
        pass "fresh root made"
        for m in proc sys dev dev/pts dev/shm tmp/.X11-unix; do
            mkdir -p "$fresh_root/$m"
            mount --bind "/$m" "$fresh_root/$m"
        done
        cp /etc/resolv.conf "$fresh_root/etc/resolv.conf"
        cp "$deb" "$fresh_root/tmp/"
        name=$(basename "$deb")
        if chroot "$fresh_root" sh -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
                apt-get install -y -qq ./tmp/$name" >"$work/apt.log" 2>&1 \
           || chroot "$fresh_root" sh -c "cd /tmp && DEBIAN_FRONTEND=noninteractive \
                apt-get install -y -qq ./$name" >>"$work/apt.log" 2>&1; then
            pass "apt install ./$name in the fresh root ($(grep -c '^Setting up' "$work/apt.log") packages set up)"
            status=$(chroot "$fresh_root" dpkg-query -W -f='${Status}' tarvelo)
            [ "$status" = "install ok installed" ] || fail "dpkg status: $status"
            missing=$(chroot "$fresh_root" ldd /usr/bin/tarvelo | grep 'not found')
            [ -z "$missing" ] && pass "fresh root: every linked library found" \
                || fail "fresh root: unresolved $missing"
            home=/home/tester
            mkdir -p "$fresh_root$home/runtime"
            chmod 700 "$fresh_root$home/runtime"
            chown -R nobody:nogroup "$fresh_root$home"
            check_run "fresh Debian 12, user nobody" "$home" "$fresh_root" "$fresh_root/usr/bin" \
                chroot --userspec=nobody:nogroup "$fresh_root" /usr/bin/tarvelo
        else
            fail "apt install in the fresh root"
            tail -30 "$work/apt.log"
        fi
    else
        fail "debootstrap"
        tail -20 "$work/debootstrap.log"
    fi
fi

echo
[ $failures = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all package checks passed"
