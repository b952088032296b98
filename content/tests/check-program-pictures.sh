#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the rendered program pictures: check-program-pictures.sh PICTURES_DIR CONTENT_DIR
# - every picture of program/pictures.tsv exists at its size, as PNG with alpha;
# - the menu is light under every button, so the navy captions read (whole button area);
# - the screen backgrounds are light and calm wherever the screen writes, and the wallpaper
#   tiles hold no letters;
# - the marks, button and command pictures have a transparent background;
# - the cursors use only black, white and transparent pixels, and their hot spots are drawn;
# - credits.txt is the current CREDITS.
set -uo pipefail
dir=$1 content=$2
failures=0 passes=0
pass() { passes=$((passes + 1)); echo "ok - $1"; }
fail() { failures=$((failures + 1)); echo "FAIL - $1" >&2; }

while IFS=$'\t' read -r file source size; do
    [[ -z $file || $file == \#* ]] && continue
    png=$dir/$file
    if [ ! -f "$png" ]; then fail "$file missing"; continue; fi
    # PNG colour type 6 (RGBA) or 4 (grey with alpha), read from the IHDR chunk.
    got="$(identify -format '%wx%h' "$png" 2>/dev/null) type $(od -An -tu1 -j 25 -N 1 "$png" | tr -d ' ')"
    # The full-size backgrounds are opaque; rsvg-convert then writes plain RGB (type 2).
    opaque=""
    [[ $file == menu.png || $file == splash.png || $file == about.png || $file == bg-*.png || $file == digits.png ]] && opaque="|$size type 2"
    if [[ "|$size type 6|$size type 4$opaque|" == *"|$got|"* ]]; then pass "$file is $size (${got#* })"
    else fail "$file: want $size with alpha, got $got"; fi
done <"$content/program/pictures.tsv"

# Mean luma of a rectangle of a picture, 0..255 (alpha ignored: these pictures are opaque).
luma() { convert "$1" -alpha off -crop "$2" +repage -colorspace Gray -format '%[fx:int(255*mean)]' info:; }
# Darkest pixel of a rectangle, 0..255.
darkest() { convert "$1" -alpha off -crop "$2" +repage -colorspace Gray -format '%[fx:int(255*minima)]' info:; }
buttons=("btn1 105x79+359+251" "btn2 105x79+493+250" "btn3 105x79+628+251" "btn4 105x79+18+377"
    "btn5 105x79+155+376" "btn6 105x79+290+376" "btn7 105x79+424+376" "btn8 105x79+171+486"
    "btn9 105x79+306+486" "btn10 105x79+441+486" "btnZvok 79x108+462+120"
    "btnOProgramu 81x108+577+120" "btnIzhod 79x108+692+120")
for b in "${buttons[@]}"; do
    name=${b% *} rect=${b#* }
    mean=$(luma "$dir/menu.png" "$rect") low=$(darkest "$dir/menu.png" "$rect")
    if ((mean >= 235 && low >= 200)); then pass "menu is light under $name ($mean, darkest $low)"
    else fail "menu under $name: mean $mean, darkest $low (navy text needs a light card)"; fi
done
# The cards stand out from the scene: the picture is not just white all over.
if (($(luma "$dir/menu.png" 800x600+0+0) < 225)); then pass "menu has a scene around the cards"; else fail "menu is nearly blank"; fi

# Screen backgrounds: light and calm wherever the screen writes (navy, purple, red and black
# text), so every word reads: mean luma, darkest pixel and spread of each text place.
quiet() {   # quiet PICTURE NAME WxH+X+Y
    local v; v=$(convert "$dir/$1" -alpha off -crop "$3" +repage -colorspace Gray \
        -format '%[fx:int(255*mean)] %[fx:int(255*minima)] %[fx:int(255*standard_deviation)]' info:)
    read -r mean low spread <<<"$v"
    if ((mean >= 230 && low >= 190 && spread <= 12)); then pass "$1 is light and calm under $2 ($v)"
    else fail "$1 under $2: mean $mean, darkest $low, spread $spread (want >= 230, >= 190, <= 12)"; fi
}
if [ -f "$dir/bg-prvacrka.png" ]; then
    quiet bg-prvacrka.png instruction 556x72+230+10
    quiet bg-prvacrka.png "picture frame" 186x186+24+140
    quiet bg-prvacrka.png letter 186x48+24+336
    n=0
    for at in 244,117 387,186 228,270 260,364 236,441 540,89 534,244 542,320 535,426 469,489; do
        n=$((n + 1)); quiet bg-prvacrka.png "word place $n" "180x24+${at%,*}+${at#*,}"
    done
    quiet bg-prvacrka.png "command row" 752x34+24+526
fi
if [ -f "$dir/bg-vislice.png" ]; then
    quiet bg-vislice.png title 772x41+14+14
    quiet bg-vislice.png picture 300x300+65+62
    quiet bg-vislice.png slots 366x46+35+362
    quiet bg-vislice.png tiles 300x340+447+95
    quiet bg-vislice.png "command row" 752x34+24+526
fi
# Wallpaper tiles: the instruction line and the counters stand on them.
for tile in bg-sestavizloge.png bg-zamenjajcrke.png; do
    [ -f "$dir/$tile" ] && quiet "$tile" "the whole tile" 96x96+0+0
done
# The where-is-the-letter wallpaper lies under every word, so the whole tile stays quiet.
[ -f "$dir/bg-kjejecrka-tile.png" ] && quiet bg-kjejecrka-tile.png "the whole tile" 99x87+0+0
# The tiles lie right beside the words and letters a child reads or searches: no letter on
# them, neither written (<text>) nor placed as an icon (the sets have letter icons).
for tile in bg-kjejecrka-tile bg-sestavizloge bg-zamenjajcrke; do
    svg=$content/program/$tile.svg
    [ -f "$svg" ] || { fail "$svg missing"; continue; }
    if grep -Eq '<(text|tspan|textPath|icon)[ >/]' "$svg"; then fail "$tile.svg writes letters (text or icons) on the wallpaper"
    else pass "$tile.svg has no letters"; fi
done

if [ -f "$dir/bg-oznacipovedi.png" ]; then
    quiet bg-oznacipovedi.png instruction 772x41+14+14
    for top in 174 241 307 374; do
        quiet bg-oznacipovedi.png "sentence at $top" "566x36+221+$top"
        quiet bg-oznacipovedi.png "mark at $top" "30x30+179+$((top + 3))"
    done
    quiet bg-oznacipovedi.png "command row" 752x34+24+526
fi

alpha_at() { convert "$1" -format "%[fx:int(255*p{$2}.a)]" info:; }
for f in chooser-besede.png chooser-zlogi.png chooser-crke.png lazja.png tezja.png prav.png narobe.png cmd-naprej.png cmd-pomoc.png cmd-natisni.png cmd-ponovi.png cmd-konec.png \
         btn-about.png btn-exit.png zvok-up.png zvok-down.png; do
    [ -f "$dir/$f" ] || continue
    if (($(alpha_at "$dir/$f" 0,0) == 0)); then pass "$f has a transparent corner"; else fail "$f: corner not transparent"; fi
done
for mark in prav.png narobe.png; do
    [ -f "$dir/$mark" ] || continue
    c=$(convert "$dir/$mark" -format '%[fx:int(100*mean.a)]' info:)
    if ((c >= 15 && c <= 70)); then pass "$mark covers $c% of its box"; else fail "$mark covers $c%"; fi
done
if [ -f "$dir/prav.png" ] && [ -f "$dir/narobe.png" ]; then
    g=$(convert "$dir/prav.png" -background white -alpha remove -format '%[fx:int(255*(mean.g-mean.r))]' info:)
    r=$(convert "$dir/narobe.png" -background white -alpha remove -format '%[fx:int(255*(mean.r-mean.g))]' info:)
    if ((g > 10 && r > 10)); then pass "the right mark is green, the wrong mark red"; else fail "mark colours: green lead $g, red lead $r"; fi
fi

# Cursors: two colours with a transparent background, hot spot on a drawn pixel.
for c in "cursor-pinel2.png 5,29" "cursor-mis.png 16,3"; do
    f=${c% *} spot=${c#* }
    [ -f "$dir/$f" ] || { fail "$f missing"; continue; }
    others=$(convert "$dir/$f" -format '%c' histogram:info:- | awk '
        { gsub(/[(),]/, " "); }
        { n = $1; r = $2; g = $3; b = $4; a = $5;
          if (a == 0) next;
          if (a == 255 && ((r == 0 && g == 0 && b == 0) || (r == 255 && g == 255 && b == 255))) next;
          bad += n }
        END { print bad + 0 }')
    if ((others == 0)); then pass "$f is black and white on transparent"; else fail "$f has $others pixels of other colours"; fi
    if (($(alpha_at "$dir/$f" "$spot") == 255)); then pass "$f hot spot $spot is drawn"; else fail "$f hot spot $spot is transparent"; fi
done

if cmp -s "$dir/credits.txt" "$content/CREDITS"; then pass "credits.txt is CREDITS"; else fail "credits.txt differs from CREDITS"; fi
echo "$passes passed, $failures failed"
((failures == 0))
