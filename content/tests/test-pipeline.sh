#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of the content pipeline on small content folders made here: the table check finds each
# kind of fault, ids of composed icons do not clash, sounds and pictures come out in the formats
# the packs need, a pack round-trips through the ipo tool, and the cache spares unchanged sounds.
#   test-pipeline.sh IPO_TOOL
set -uo pipefail
ipo=$1
here=$(cd "$(dirname "$0")" && pwd)
tools=$here/../tools
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0
pass() { passes=$((passes + 1)); echo "ok - $1"; }
fail() { failures=$((failures + 1)); echo "FAIL - $1" >&2; }

# A content folder that passes the check; each fault case copies it and breaks one thing.
good=$work/good
mkdir -p "$good"/{sounds,pictures,svg/sub,lists/Test}
printf 'A1\tPozdravljen!\nprav\teffect:chime-up\n' >"$good/sounds/one.tsv"
printf '# words\nžoga\tZ'"'"'o:ga\n' >"$good/pronunciation.tsv"
printf 'ZOGA\tŽoga\n' >"$good/sounds/two.tsv"
printf 'A1\nprav\nzoga\n' >"$good/required-sounds.txt"
printf '# pictures\nSONCE\tnoto:sun\t40x30\nKROG\tsvg:sub/krog.svg\t60x40\tbg=#00ff00\n' >"$good/pictures/Test.tsv"
cat >"$good/svg/sub/krog.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 40" width="10" height="40"><rect width="10" height="40" fill="#ff0000"/><icon src="noto:sun" x="0" y="0" width="10" height="10"/></svg>
SVG
printf 'čaj\nŠOLA\n' >"$good/lists/Test/BESEDE.txt"
printf 'Noto Emoji, Apache-2.0\n' >"$good/CREDITS"
printf 'Files: *\nLicense: GPL-3+\n\nFiles: content/node_modules/@iconify-json/noto/*\nLicense: Apache-2.0\n' >"$good/copyright"

check() { node "$tools/check-content.mjs" --content "$1" --copyright "$1/copyright" 2>&1; }
if out=$(check "$good"); then pass "a correct content folder passes the check"; else fail "correct folder rejected: $out"; fi

# fault-case NAME EXPECTED-MESSAGE COMMAND...: the command breaks a copy of the good folder.
fault_case() {
    local name=$1 expect=$2; shift 2
    local dir=$work/$name
    rm -rf "$dir"; cp -r "$good" "$dir"
    (cd "$dir" && eval "$*")
    local out
    if out=$(check "$dir"); then
        fail "$name: check passed"
    elif grep -qF -- "$expect" <<<"$out"; then
        pass "$name is found"
    else
        fail "$name: expected \"$expect\" in: $out"
    fi
}
fault_case "duplicate sound across tables" "duplicate name A1" "printf 'a1\tŠe enkrat\n' >>sounds/two.tsv"
fault_case "duplicate picture name" "duplicate name SONCE" "printf 'sonce\tnoto:moon\t40x30\n' >>pictures/Test.tsv"
fault_case "missing icon" "icon noto:no-such-icon not found" "printf 'X\tnoto:no-such-icon\t40x30\n' >>pictures/Test.tsv"
fault_case "unknown icon set" "icon nosuchset:sun not found" "printf 'X\tnosuchset:sun\t40x30\n' >>pictures/Test.tsv"
fault_case "icon missing in an own svg" "icon noto:no-such-icon not found" "sed -i 's/noto:sun/noto:no-such-icon/' svg/sub/krog.svg"
fault_case "missing svg file" "does not exist" "printf 'X\tsvg:nothing.svg\t40x30\n' >>pictures/Test.tsv"
fault_case "bad size" 'bad size "120x"' "printf 'X\tnoto:sun\t120x\n' >>pictures/Test.tsv"
fault_case "bad option" 'unknown option "bg=red"' "printf 'X\tnoto:sun\t40x30\tbg=red\n' >>pictures/Test.tsv"
fault_case "missing column" "got 2 columns" "printf 'X\tnoto:sun\n' >>pictures/Test.tsv"
fault_case "unknown effect" 'unknown effect "fanfare"' "printf 'Y\teffect:fanfare\n' >>sounds/one.tsv"
fault_case "inline phonemes" "[[phonemes]] in Y: give the word its line in pronunciation.tsv" "printf 'Y\t[[zapR'\"'\"'i]]\n' >>sounds/one.tsv"
fault_case "pronunciation of a word nobody says" '"zapri" is spoken by no sound table' "printf 'zapri\tzapR'\"'\"'i\n' >>pronunciation.tsv"
fault_case "pronunciation line of two words" '"nova gorica" is not one word' "printf 'nova gorica\tx\n' >>pronunciation.tsv"
fault_case "pronunciation in brackets" 'write them without [[ ]]' "printf 'žoga\t[[Z'\"'\"'o:ga]]\n' >>pronunciation.tsv"
fault_case "word pronounced twice" '"žoga" is already listed' "printf 'žoga\tZOga\n' >>pronunciation.tsv"
fault_case "required sound without a table line" 'no sound table gives "A99"' "echo A99 >>required-sounds.txt"
fault_case "list outside Windows-1250" "Windows-1250 lacks: ø" "echo 'smørrebrød' >>lists/Test/BESEDE.txt"
fault_case "long credits line" "longer than 40 characters" "echo 'This line is far too long for the about screen panel' >>CREDITS"
fault_case "credited icon set nobody uses" '"Twemoji" is credited but no picture uses twemoji' "echo 'Twemoji, CC BY 4.0' >>CREDITS"
fault_case "credited licence file missing" "names licenses/CC-BY-9.txt, which does not exist" "echo 'licenca: licenses/CC-BY-9.txt' >>CREDITS"
fault_case "icon set used without credit" '"Game Icons" is not credited' "printf 'G\tgame-icons:rake#8a5a2b\t40x30\n' >>pictures/Test.tsv"
fault_case "copyright missing a set in use" 'icons of noto are used but there is no' "sed -i '/noto/d' copyright"
fault_case "copyright of a set nobody uses" 'names a set no picture uses' "echo 'Files: content/node_modules/@iconify-json/twemoji/*' >>copyright"
fault_case "copyright licence text missing" 'takes licenses/CC-BY-9.txt, which does not exist' "echo '@licenses/CC-BY-9.txt@' >>copyright"

# Icons composed into one picture keep their own gradients.
if out=$(node --input-type=module -e "
import { composeSvg, prefixIds, loadSet } from '$tools/iconify.mjs';
const set = loadSet('noto');
const name = Object.keys(set.icons).find((n) => /url\\(#/.test(set.icons[n].body));
const icon = '<icon src=\"noto:' + name + '\" x=\"0\" y=\"0\" width=\"9\" height=\"9\"/>';
const two = composeSvg('<svg>' + icon + icon + '</svg>');
const ids = [...two.matchAll(/ id=\"([^\"]+)\"/g)].map((m) => m[1]);
if (ids.length < 2) throw new Error(name + ': no ids');
if (new Set(ids).size !== ids.length) throw new Error('duplicate ids: ' + ids.join(' '));
for (const m of two.matchAll(/url\\(#([^)]+)\\)/g)) if (!ids.includes(m[1])) throw new Error('dangling ' + m[1]);
const p = prefixIds('<g id=\"a\"/><g id=\"ab\"/><use href=\"#a\"/><path fill=\"url(#ab)\"/>', 'x-');
if (p !== '<g id=\"x-a\"/><g id=\"x-ab\"/><use href=\"#x-a\"/><path fill=\"url(#x-ab)\"/>') throw new Error(p);
" 2>&1); then pass "composed icons get distinct ids and their references follow"; else fail "id prefixes: $out"; fi

# Aliases: an alias is drawn through its parent; flips and turns become transforms.
if out=$(node --input-type=module -e "
import { loadSet, iconSvg, resolveIcon } from '$tools/iconify.mjs';
const games = loadSet('game-icons');
if (iconSvg('game-icons:eskimo') !== iconSvg('game-icons:person-in-blizzard')) throw new Error('plain alias differs');
const set = loadSet('noto');
set.aliases['test-mirror'] = { parent: 'sun', hFlip: true };
set.aliases['test-mirror-turn'] = { parent: 'test-mirror', hFlip: true, rotate: 1 };
const m = iconSvg('noto:test-mirror');
if (!m.includes('translate(128 0) scale(-1 1)') || !m.includes(set.icons.sun.body)) throw new Error('mirror: ' + m.slice(0, 120));
const t = resolveIcon('noto', 'test-mirror-turn');
if (t.hFlip || t.rotate !== 1) throw new Error('two flips should cancel, the turn stay');
if (!iconSvg('noto:test-mirror-turn').includes('rotate(90 64 64)')) throw new Error('turn missing');
" 2>&1); then pass "aliases resolve through their parents with flips and turns"; else fail "aliases: $out"; fi

# Game-icons are one colour: the recolour replaces currentColor.
if node --input-type=module -e "
import { iconSvg } from '$tools/iconify.mjs';
const s = iconSvg('game-icons:rake#8a5a2b');
process.exit(s.includes('#8a5a2b') && !s.includes('currentColor') ? 0 : 1);"; then
    pass "recolouring replaces currentColor"
else
    fail "recolouring"
fi

# Sounds: 16 kHz, 16-bit, mono PCM; speech starts within a short pause.
"$tools/speak-one.sh" "$work/word.wav" "Pozdravljen!" || fail "speak-one failed"
fmt=$(for o in -r -b -c -t; do soxi $o "$work/word.wav"; done 2>/dev/null | tr '\n' ' ')
enc=$(soxi -e "$work/word.wav" 2>/dev/null)
if [[ $fmt == "16000 16 1 wav " && $enc == "Signed Integer PCM" ]]; then pass "speech is 16 kHz 16-bit mono PCM"; else fail "speech format: $fmt $enc"; fi
peak_start=$(sox "$work/word.wav" -n trim 0 0.15 stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
if awk -v p="$peak_start" 'BEGIN { exit !(p > 0.05) }'; then pass "leading silence is trimmed"; else fail "speech starts late (peak $peak_start in the first 0.15 s)"; fi

# Effects: the chime for a right answer rises, the tone for a wrong one falls.
freq() { sox "$1" -n trim "$2" "$3" stat 2>&1 | awk '/Rough   frequency/ { print $3 }'; }
"$tools/speak-one.sh" "$work/prav.wav" effect:chime-up && "$tools/speak-one.sh" "$work/narobe.wav" effect:boing-down \
    || fail "effects failed"
c1=$(freq "$work/prav.wav" 0.02 0.1) c2=$(freq "$work/prav.wav" 0.2 0.2)
b1=$(freq "$work/narobe.wav" 0.02 0.1) b2=$(freq "$work/narobe.wav" 0.35 0.1)
if ((c2 > c1 * 13 / 10)); then pass "chime-up rises ($c1 -> $c2 Hz)"; else fail "chime-up: $c1 -> $c2 Hz"; fi
if ((b1 > b2 * 13 / 10)); then pass "boing-down falls ($b1 -> $b2 Hz)"; else fail "boing-down: $b1 -> $b2 Hz"; fi
if [[ $(soxi -r "$work/prav.wav")/$(soxi -c "$work/prav.wav") == 16000/1 ]]; then pass "effects are 16 kHz mono"; else fail "effect format"; fi
if ! "$tools/effects.sh" fanfare "$work/x.wav" 2>/dev/null; then pass "an unknown effect fails"; else fail "unknown effect accepted"; fi

# Pictures: a tall picture fills the height, centred on the background, as a 24-bit BMP.
node --input-type=module -e "
import { composeSvg } from '$tools/iconify.mjs';
import { readFileSync, writeFileSync } from 'node:fs';
writeFileSync('$work/krog.svg', composeSvg(readFileSync('$good/svg/sub/krog.svg', 'utf8')));"
"$tools/render-one.sh" "$work/krog.svg" 60 40 '#00ff00' 0 "$work/krog.bmp" || fail "render-one failed"
hdr=$(od -An -tu2 -j 28 -N 2 "$work/krog.bmp" | tr -d ' ')
dims=$(od -An -td4 -j 18 -N 8 "$work/krog.bmp" | tr -s ' ' | sed 's/^ //')
if [[ $hdr == 24 && $dims == "60 40" ]]; then pass "pictures are 24-bit BMPs of the asked size"; else fail "bmp header: bits $hdr size $dims"; fi
corner=$(convert "$work/krog.bmp" -format '%[pixel:p{1,20}]' info:)
middle=$(convert "$work/krog.bmp" -format '%[pixel:p{30,35}]' info:)
if [[ $corner == *"0,255,0"* || $corner == lime ]] && [[ $middle == *"255,0,0"* || $middle == red ]]; then
    pass "the picture keeps its aspect and the padding has the background colour"
else
    fail "padding: corner $corner, middle $middle"
fi

# The pale-picture rule: a light grey blob on white is pale; the same with a dark edge, or a
# strong yellow one, is not; the card is the corner colour.
if out=$(node --input-type=module -e "
import { paleness } from '$here/check-pale-pictures.mjs';
const picture = (card, blob, edge) => {
    const w = 40, h = 40, px = new Uint8Array(w * h * 3);
    for (let y = 0; y < h; y++) for (let x = 0; x < w; x++) {
        const r = Math.hypot(x - 20, y - 20);
        px.set(r < 12 ? blob : edge && r < 14 ? edge : card, (y * w + x) * 3);
    }
    return { w, h, px };
};
const white = [255, 255, 255], grey = [225, 228, 232];
const cases = [[picture(white, grey), true], [picture(white, grey, [55, 71, 79]), false],
               [picture(white, [255, 200, 0]), false], [picture([40, 40, 120], grey), false],
               [picture(grey, white), true]];
cases.forEach(([p, pale], i) => { if (paleness(p).pale !== pale) throw new Error('case ' + i + ': ' + JSON.stringify(paleness(p))); });
" 2>&1); then pass "pale pictures are told from outlined, strong and dark-card ones"; else fail "paleness: $out"; fi

# A whole pack through the ipo tool, then the cache.
cache=$work/cache
build() { node "$tools/build-pack.mjs" --content "$good" --pack "$1" --out "$work/$1.ipo" --ipo "$ipo" --cache "$cache" 2>&1; }
if out=$(build Test) && "$ipo" list "$work/Test.ipo" >"$work/list.txt"; then
    if [[ $(sort "$work/list.txt" | tr '\t\n' ':;') == "BITMAP:KROG;BITMAP:SONCE;RCDATA:BESEDE;" ]]; then
        pass "a picture table and a list folder make one pack"
    else
        fail "pack Test holds: $(tr '\t\n' ':;' <"$work/list.txt")"
    fi
    "$ipo" extract "$work/Test.ipo" TEXT BESEDE "$work/besede.txt" && cmp -s "$work/besede.txt" "$good/lists/Test/BESEDE.txt" \
        && pass "a list round-trips through Windows-1250" || fail "list round trip"
    "$ipo" extract "$work/Test.ipo" RCDATA BESEDE "$work/besede.raw" \
        && [[ $(od -An -tx1 -N1 "$work/besede.raw" | tr -d ' ') == e8 ]] \
        && pass "lists are stored in Windows-1250 (č is 0xE8)" || fail "list code page"
else
    fail "building pack Test: $out"
fi
if out=$(build snd) && [[ $out == *"speaking 3 of 3"* ]]; then pass "the first build speaks every sound"; else fail "first snd build: $out"; fi
if out=$(build snd) && [[ $out != *speaking* ]]; then pass "an unchanged sound is not spoken again"; else fail "rebuild spoke again: $out"; fi
sed -i 's/Pozdravljen!/Živijo!/' "$good/sounds/one.tsv"
if out=$(build snd) && [[ $out == *"speaking 1 of 3"* ]]; then pass "a changed text is spoken again, alone"; else fail "changed text: $out"; fi
printf 'živijo\tZiv'"'"'i:jO\n' >>"$good/pronunciation.tsv"
if out=$(build snd) && [[ $out == *"speaking 1 of 3"* ]]; then pass "a new pronunciation line respeaks the sounds with the word"; else fail "pronunciation line: $out"; fi

# The words of the pronunciation table are spoken as their phonemes in any letter case and
# only as whole words; effects are left alone.
if out=$(node --input-type=module -e "
import { spokenText } from '$tools/tables.mjs';
const words = new Map([['pes', \"p'@s\"], ['prav', 'pRaw']]);
const cases = [['Pes in PES.', \"[[p'@s]] in [[p'@s]].\"], ['Pesek pesa', 'Pesek pesa'], ['effect:prav', 'effect:prav'],
               ['Čaj pes!', \"Čaj [[p'@s]]!\"]];
for (const [text, want] of cases) { const got = spokenText(text, words); if (got !== want) throw new Error(text + ' -> ' + got); }
" 2>&1); then pass "pronunciations replace whole words only"; else fail "spokenText: $out"; fi
printf 'a1\tDvojnik\n' >>"$good/sounds/two.tsv"
if out=$(build snd); then fail "a duplicate name across tables built"; elif [[ $out == *"duplicate name A1"* ]]; then pass "the build refuses duplicate names"; else fail "duplicate: $out"; fi

echo "$passes passed, $failures failed"
((failures == 0))
