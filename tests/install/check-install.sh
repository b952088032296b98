#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# check-install.sh BUILD_DIR VERSION APP_ID SOURCE_DIR
# - cmake --install with DESTDIR writes only below DESTDIR, in the layout the program needs
#   (the packs in share/tipsovo with a relative link to each beside the real program,
#   bin/tipsovo a relative link to the program), with manual pages that know every option;
# - the desktop entry and the AppStream data pass their validators;
# - cpack makes the two packages the README's install command names, apt accepts that command,
#   and the README's remove command names both; lintian finds no error and no warning in
#   either; the Depends of tipsovo name a package for every library the program loads, with
#   versions, and tipsovo-data of the same version;
# - the unpacked packages' program answers --version/--help with no display, and under Xvfb
#   shows the main menu with its sound pack opened through the link beside the real program.
set -uo pipefail
build=$1 version=$2 app=$3 source=$4
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
for f in lib/tipsovo/tipsovo share/tipsovo/snd.ipo share/tipsovo/Dat.ipo bin/tipsovo-ipo \
         share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
         share/icons/hicolor/scalable/apps/$app.svg \
         share/man/man1/tipsovo.1.gz share/man/man1/tipsovo-ipo.1.gz \
         share/doc/tipsovo/CREDITS share/doc/tipsovo/COPYING share/doc/tipsovo/README.md \
         share/doc/tipsovo/copyright share/doc/tipsovo/changelog.gz \
         share/doc/tipsovo-data/copyright share/doc/tipsovo-data/changelog.gz; do
    [ -e "$p/$f" ] && pass "installed $f" || fail "missing $f"
done
# pack-links ROOT: every pack in share/tipsovo has a relative link beside the program that
# leads to it, and every link there leads to a pack. Prints what is wrong.
pack_links() {
    local r=$1 f name link
    for f in "$r"/share/tipsovo/*.ipo; do
        name=${f##*/} link=$r/lib/tipsovo/$name
        [[ -L $link && $(readlink "$link") != /* && $(readlink -f "$link") == "$(readlink -f "$f")" ]] \
            || echo "lib/tipsovo/$name is not a relative link to share/tipsovo/$name"
    done
    for link in "$r"/lib/tipsovo/*.ipo; do
        [ -f "$r/share/tipsovo/${link##*/}" ] || echo "lib/tipsovo/${link##*/} leads to no pack"
    done
    compgen -G "$r/share/tipsovo/*.ipo" >/dev/null || echo "no packs in share/tipsovo"
}
problems=$(pack_links "$p")
[ -z "$problems" ] && pass "a relative link to every pack beside the program" || fail "$problems"
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
# The manual pages are made from --help: each names every option its program's --help names.
for program in tipsovo tipsovo-ipo; do
    options=$("$p/bin/$program" --help 2>/dev/null | grep -oE -- '(^|[ ,[])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z-]+' | sort -u)
    page=$(zcat "$p/share/man/man1/$program.1.gz" 2>/dev/null | sed 's/\\-/-/g')
    missing=$(for o in $options; do grep -q -- "$o" <<<"$page" || echo "$o"; done)
    [[ -n $options && -z $missing ]] && pass "$program(1) names every option of its --help" \
        || fail "$program(1) lacks '$missing' (options of --help: $(echo $options))"
done

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

# --- the Debian packages, made as scripts/package makes them, into a build-package/ of our own
if (cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/build-package" >"$tmp/cpack.log" 2>&1); then
    pass "cpack -G DEB"
else fail "cpack failed: $(tail -5 "$tmp/cpack.log")"; fi
made=$(cd "$tmp/build-package" && ls *.deb 2>/dev/null | sort)
[ -n "$made" ] || { fail "no .deb made"; echo "$passes passed, $failures failed"; exit 1; }
# The README's commands, as a user types them in the source folder.
install_cmd=$(grep -m1 '^sudo apt install ' "$source/README.md")
remove_cmd=$(grep -m1 '^sudo apt remove ' "$source/README.md")
pattern=${install_cmd#sudo apt install }
named=$(cd "$tmp" && for f in $pattern; do [ -f "$f" ] && basename "$f"; done | sort)
[[ -n $pattern && $named == "$made" && $(wc -l <<<"$made") -eq 2 ]] \
    && pass "the README's install command names both packages: $(echo $named)" \
    || fail "README's '$install_cmd' names '$(echo $named)'; cpack made '$(echo $made)'"
deb=$tmp/build-package/$(grep '^tipsovo_' <<<"$made") data=$tmp/build-package/$(grep '^tipsovo-data_' <<<"$made")
[[ -f $deb && -f $data ]] || { fail "no tipsovo_*.deb and tipsovo-data_*.deb"; echo "$passes passed, $failures failed"; exit 1; }
if (cd "$tmp" && apt-get install -s ${pattern} >"$tmp/apt.log" 2>&1) \
        && grep -q "^Inst tipsovo " "$tmp/apt.log" && grep -q "^Inst tipsovo-data " "$tmp/apt.log"; then
    pass "apt accepts the README's install command (simulated)"
else fail "apt-get install -s $pattern: $(tail -5 "$tmp/apt.log")"; fi
packages=$(for d in $made; do dpkg-deb -f "$tmp/build-package/$d" Package; done | sort)
[[ $(tr ' ' '\n' <<<"${remove_cmd#sudo apt remove }" | sort) == "$packages" ]] \
    && pass "the README's remove command names both packages" \
    || fail "README's '$remove_cmd' does not name exactly: $(echo $packages)"

field() { dpkg-deb -f "$1" "$2"; }
[[ $(field "$deb" Package) == tipsovo && $(field "$deb" Version) == "$version" \
   && $(field "$deb" Architecture) == "$(dpkg --print-architecture)" ]] \
    && pass "package tipsovo $version for $(field "$deb" Architecture)" \
    || fail "tipsovo is $(field "$deb" Package) $(field "$deb" Version) $(field "$deb" Architecture)"
[[ $(field "$data" Package) == tipsovo-data && $(field "$data" Version) == "$version" \
   && $(field "$data" Architecture) == all ]] \
    && pass "package tipsovo-data $version for all" \
    || fail "tipsovo-data is $(field "$data" Package) $(field "$data" Version) $(field "$data" Architecture)"
depends=$(field "$deb" Depends)
[[ ", $depends," == *", tipsovo-data (= $version),"* ]] \
    && pass "tipsovo depends on tipsovo-data (= $version)" || fail "Depends lacks tipsovo-data (= $version): $depends"
for lib in libc6 libstdc++6; do
    [[ ", $depends" == *", $lib (>= "[0-9]* ]] && pass "Depends gives $lib a version" \
        || fail "Depends names $lib without the version the program needs: $depends"
done
contents() { dpkg-deb -c "$1" | awk '{ print $6 }' | sed 's|^\./||'; }
[[ -z $(contents "$data" | grep -v -e '^usr/share/' -e '^usr/$' -e '^$') ]] \
    && pass "tipsovo-data installs only below /usr/share" || fail "tipsovo-data installs $(contents "$data" | grep -v '^usr/share/' | head -3)"
[[ -z $(contents "$deb" | grep '^usr/share/tipsovo/') && $(contents "$data" | grep -c '^usr/share/tipsovo/.*\.ipo$') -gt 0 ]] \
    && pass "the packs are in tipsovo-data, not in tipsovo" || fail "packs are not where they belong"
x=$tmp/x
dpkg -x "$deb" "$x" && dpkg -x "$data" "$x" && pass "dpkg -x both" || fail "dpkg -x"
problems=$(pack_links "$x/usr")
[ -z "$problems" ] && pass "the packages' links beside the program lead to the packs of tipsovo-data" || fail "$problems"
entry=$(zcat "$x/usr/share/doc/tipsovo/changelog.gz" 2>/dev/null | head -1)
[[ $entry == "tipsovo ($version) "* ]] && pass "the changelog's latest entry is $version" \
    || fail "the changelog's latest entry is '$entry', the package $version"

# lintian: no error and no warning in either package; each override (or group of overrides)
# comes after a comment that says why.
lintian --fail-on error,warning -E --pedantic --show-overrides --tag-display-limit 0 \
    "$deb" "$data" >"$tmp/lintian.log" 2>&1
status=$?
grep -v '^N: ' "$tmp/lintian.log" | sed 's/^/    lintian| /'   # the overrides' reasons are long
if ((status == 0)) && ! grep -qE '^[EW]: |unused-override|mismatched-override' "$tmp/lintian.log"; then
    pass "lintian: no errors, no warnings, no override left unused"
else fail "lintian (status $status): $(grep -E '^[EW]: |override' "$tmp/lintian.log" | head -5)"; fi
for overrides in "$x"/usr/share/lintian/overrides/*; do
    unexplained=$(awk '/^#/ { reason = 1; next } /^[[:space:]]*$/ { reason = 0; next } !reason' "$overrides")
    [ -z "$unexplained" ] && pass "every override of ${overrides##*/} has its reason" \
        || fail "overrides without a reason in ${overrides##*/}: $unexplained"
done

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
    # The sound pack opens with the first hover sound: rest the pointer on "Prva črka". The
    # program opens it through the link beside itself, so the map shows the file of tipsovo-data.
    DISPLAY=":$display" xdotool mousemove --window "$menu" 540 290 2>/dev/null
    for _ in $(seq 1 40); do
        grep -q "$x/usr/share/tipsovo/snd.ipo" "/proc/$app_pid/maps" 2>/dev/null && break
        sleep 0.25
    done
    grep -q "$x/usr/share/tipsovo/snd.ipo" "/proc/$app_pid/maps" 2>/dev/null \
        && pass "the sound pack of tipsovo-data is opened through the link beside the program" \
        || fail "snd.ipo of the package is not open"
fi

echo "$passes passed, $failures failed"
((failures == 0))
