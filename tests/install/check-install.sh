#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check-install.sh BUILD_DIR VERSION APP_ID
# - cmake --install with DESTDIR writes only below DESTDIR, in the layout the program needs
#   (packs beside the real program, bin/tipsovo a relative link to it);
# - the desktop entry and the AppStream data pass their validators;
# - cpack makes a .deb whose Depends name a package for every library the program loads;
# - the unpacked package's program answers --version/--help with no display, and under Xvfb
#   shows the main menu with its sound pack opened from beside the real program.
set -uo pipefail
build=$1 version=$2 app=$3
failures=0 passes=0
pass() { passes=$((passes + 1)); echo "ok - $1"; }
fail() { failures=$((failures + 1)); echo "FAIL - $1" >&2; }
tmp=$(mktemp -d)
cleanup() {
    [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

# --- cmake --install into a scratch root, with an unusual prefix
root=$tmp/root prefix=/opt/tipsovo-test
if DESTDIR=$root cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1; then
    pass "cmake --install with DESTDIR and prefix $prefix"
else
    fail "cmake --install failed"; cat "$tmp/install.log" >&2
fi
# The manifest names the files without DESTDIR: each must lie below the prefix and exist below
# DESTDIR, and the prefix itself must not have been made outside DESTDIR.
outside=$(while read -r f; do
    [[ $f == "$prefix"/* && ( -e $root$f || -L $root$f ) ]] || echo "$f"
done <"$build/install_manifest.txt" | head -3)
[[ -z $outside && ! -e $prefix && -s $build/install_manifest.txt ]] \
    && pass "every installed file lies below DESTDIR/prefix" \
    || fail "installed outside DESTDIR/prefix: $outside"
p=$root$prefix
for f in lib/tipsovo/tipsovo lib/tipsovo/snd.ipo lib/tipsovo/Dat.ipo bin/tipsovo-ipo \
         share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/icons/hicolor/scalable/apps/$app.svg \
         share/doc/tipsovo/CREDITS share/doc/tipsovo/COPYING share/doc/tipsovo/README.md; do
    [ -e "$p/$f" ] && pass "installed $f" || fail "missing $f"
done
for size in 16 22 24 32 48 64 128 256; do
    icon=$p/share/icons/hicolor/${size}x$size/apps/$app.png
    got=$(identify -format '%wx%h' "$icon" 2>/dev/null)
    [ "$got" = "${size}x$size" ] && pass "icon ${size}x$size" || fail "icon ${size}x$size is '$got'"
done
link=$(readlink "$p/bin/tipsovo")
[[ $link != /* && $(readlink -f "$p/bin/tipsovo") == "$p/lib/tipsovo/tipsovo" ]] \
    && pass "bin/tipsovo is a relative link to the program ($link)" \
    || fail "bin/tipsovo is '$link'"
licences=$(ls "$p/share/doc/tipsovo/licenses" 2>/dev/null | wc -l)
((licences > 0)) && pass "$licences licence texts installed" || fail "no licence texts installed"
"$p/bin/tipsovo-ipo" list "$p/lib/tipsovo/Dat.ipo" >/dev/null 2>&1 \
    && pass "installed tipsovo-ipo lists an installed pack" || fail "tipsovo-ipo cannot list Dat.ipo"

# --- desktop entry and AppStream data
desktop-file-validate "$p/share/applications/$app.desktop" >"$tmp/dfv.log" 2>&1
if [ $? -eq 0 ] && ! grep -q -E 'error|warning' "$tmp/dfv.log"; then pass "desktop-file-validate"
else fail "desktop-file-validate: $(cat "$tmp/dfv.log")"; fi
grep -q "^Name\[sl\]=\|^Comment\[sl\]=" "$p/share/applications/$app.desktop" \
    && pass "desktop entry speaks Slovenian" || fail "desktop entry has no Slovenian texts"
if appstreamcli validate --no-net "$p/share/metainfo/$app.metainfo.xml" >"$tmp/as.log" 2>&1; then
    pass "appstreamcli validate"
else fail "appstreamcli validate: $(cat "$tmp/as.log")"; fi
grep -q "<release version=\"$version\"" "$p/share/metainfo/$app.metainfo.xml" \
    && pass "AppStream names release $version" || fail "AppStream has no release $version"

# --- the Debian package
if (cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1); then
    pass "cpack -G DEB"
else fail "cpack failed: $(tail -5 "$tmp/cpack.log")"; fi
deb=$(ls "$tmp"/pkg/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { fail "no .deb made"; echo "$passes passed, $failures failed"; exit 1; }
[ "$(dpkg-deb -f "$deb" Package)" = tipsovo ] && [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] \
    && pass "package tipsovo $version" || fail "package name/version: $(dpkg-deb -f "$deb" Package Version)"
depends=$(dpkg-deb -f "$deb" Depends)
x=$tmp/x
dpkg -x "$deb" "$x" && pass "dpkg -x" || fail "dpkg -x"
program=$x/usr/lib/tipsovo/tipsovo
# Every library the program links must come from a package the .deb depends on, directly or
# through that package's own dependencies (the sanitizer runtimes of a test build excepted: a
# released package is built without them).
names() { tr ',|' '\n\n' | sed 's/(.*)//; s/:any//; s/ //g' | grep -v '^$'; }
direct=$(printf '%s' "$depends" | names)
reachable=$( { echo "$direct"; for pkg in $direct; do
    dpkg-query -W -f='${Depends},${Pre-Depends}' "$pkg" 2>/dev/null | names; done; } | sort -u)
while read -r lib; do
    [[ $lib == libasan* || $lib == libubsan* ]] && continue
    path=$(ldconfig -p | awk -v l="$lib" '$1 == l { print $NF; exit }')
    owner=$(dpkg -S "$path" 2>/dev/null | head -1 | cut -d: -f1)
    [ -z "$owner" ] && owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | head -1 | cut -d: -f1)
    if [ -n "$owner" ] && grep -qx "$owner" <<<"$reachable"; then pass "$lib comes from $owner"
    else fail "$lib (package '${owner:-?}') is not in Depends: $depends"; fi
done < <(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
for font in fonts-liberation2 fonts-dejavu-core qt6-qpa-plugins; do
    [[ $depends == *"$font"* ]] && pass "Depends names $font" || fail "Depends lacks $font"
done
for build_only in qt6-base-dev cmake espeak-ng librsvg2-bin nodejs; do
    [[ $depends == *"$build_only"* ]] && fail "Depends names the build tool $build_only"
done

# --- the unpacked program
home=$tmp/home
mkdir -p "$home/run"
environment=(PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$home/run"
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}")
run() { env -i "${environment[@]}" "$@"; }
out=$(run "$x/usr/bin/tipsovo" --version 2>&1)
[ "$out" = "tipsovo $version" ] && pass "--version without a display" || fail "--version said '$out'"
out=$(run "$x/usr/bin/tipsovo" --help 2>&1)
[[ $? -eq 0 && $out == *--version* ]] && pass "--help without a display" || fail "--help said '$out'"

mkfifo "$tmp/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/displayfd" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 20 display <"$tmp/displayfd" || display=""
if [ -z "$display" ]; then
    fail "Xvfb did not start"
else
    # env execs the program, so the PID is the program's own.
    env -i "${environment[@]}" DISPLAY=":$display" "$x/usr/bin/tipsovo" >"$tmp/app.log" 2>&1 &
    app_pid=$!
    menu=""
    for _ in $(seq 1 120); do
        menu=$(DISPLAY=":$display" xdotool search --onlyvisible --name '^Igrica$' 2>/dev/null | head -1)
        [ -n "$menu" ] && break
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.5
    done
    [ -n "$menu" ] && pass "the installed program shows the main menu" \
        || fail "no main menu on screen: $(tail -5 "$tmp/app.log")"
    # The sound pack opens with the first hover sound: rest the pointer on "Prva črka".
    DISPLAY=":$display" xdotool mousemove --window "$menu" 540 290 2>/dev/null
    for _ in $(seq 1 40); do
        grep -q "$x/usr/lib/tipsovo/snd.ipo" "/proc/$app_pid/maps" 2>/dev/null && break
        sleep 0.25
    done
    grep -q "$x/usr/lib/tipsovo/snd.ipo" "/proc/$app_pid/maps" 2>/dev/null \
        && pass "the sound pack is opened from beside the real program" \
        || fail "snd.ipo of the package is not open"
fi

echo "$passes passed, $failures failed"
((failures == 0))
