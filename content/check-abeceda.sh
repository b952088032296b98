#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the word list of the first-letter activity and the tables that go with it:
#   lists/Dat/ABECEDA.txt   125 fixed-column records, five words for each letter of the alphabet
#   pictures/abeceda.tsv    one picture per record (pack "abeceda")
#   sounds/abeceda.tsv      one spoken word per record (pack "snd")
# The activity reads the list by columns (1-20 picture, 22-41 word, 44-48 sound) and relies on
# exactly five words per first letter, so a shifted column or a sixth word breaks it silently.
#
# Usage: check-abeceda.sh [CONTENT_DIR]   (default: the folder this script lies in)
# Prints every fault found and exits 1 if there was any, 0 otherwise.
set -uo pipefail
# Columns count characters, not bytes: the list becomes Windows-1250 (one byte a letter) in the pack.
export LC_ALL=C.UTF-8

content=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)}
list=$content/lists/Dat/ABECEDA.txt
pictures=$content/pictures/abeceda.tsv
sounds=$content/sounds/abeceda.tsv

alphabet=(A B C Č D E F G H I J K L M N O P R S Š T U V Z Ž)
per_letter=5
records=$(( ${#alphabet[@]} * per_letter ))
max_word=11          # what fits a 180 px label in Arial bold 21 px
fixed_sound='^(A[0-9]+|ZVOK|PRAV|NAROBE|KONEC)$'
icon_sets=' noto fluent-emoji-flat twemoji game-icons '

faults=0
fault() { echo "check-abeceda: $*" >&2; faults=$((faults + 1)); }

resource_name() { local s=${1^^}; s=${s//Č/C}; s=${s//Š/S}; printf '%s' "${s//Ž/Z}"; }
trim() { local s=$1; s=${s#"${s%%[! ]*}"}; printf '%s' "${s%"${s##*[! ]}"}"; }

for f in "$list" "$pictures" "$sounds"; do
    [[ -r $f ]] || { echo "check-abeceda: cannot read $f" >&2; exit 1; }
done
if ! iconv -f UTF-8 -t UTF-8 "$list" >/dev/null 2>&1; then
    echo "check-abeceda: $list is not valid UTF-8" >&2; exit 1
fi
if ! iconv -f UTF-8 -t WINDOWS-1250 "$list" >/dev/null 2>&1; then
    fault "$list holds characters that Windows-1250 lacks"
fi

# --- the list ---------------------------------------------------------------------------------
mapfile -t lines < "$list"
if [[ -s $list && $(tail -c 1 "$list" | od -An -c | tr -d ' ') != '\n' ]]; then
    fault "$list: the last line has no line break"
fi
(( ${#lines[@]} == records )) || fault "$list: ${#lines[@]} lines, want exactly $records"

declare -A pic_line=() sound_line=() list_sound=() list_pic_word=()
declare -a words=() sound_of=()
for i in "${!lines[@]}"; do
    n=$((i + 1)) line=${lines[i]} at="$list:$n"
    if [[ $line == *$'\r'* || $line == *$'\t'* ]]; then
        fault "$at: tab or carriage return in a fixed-column line"
        line=${line//$'\r'/}
    fi
    (( ${#line} <= 48 )) || fault "$at: ${#line} characters, the record ends at column 48"
    for c in 21 42 43; do
        ch=${line:c-1:1}
        [[ -z $ch || $ch == ' ' ]] || fault "$at: column $c must be blank (separator), holds '$ch'"
    done
    [[ ${line:0:1} != ' ' ]] || fault "$at: the picture name must start in column 1"
    [[ ${line:21:1} != ' ' ]] || fault "$at: the word must start in column 22"
    [[ ${line:43:1} != ' ' ]] || fault "$at: the sound name must start in column 44"
    pic=$(trim "${line:0:20}") word=$(trim "${line:21:20}") snd=$(trim "${line:43:5}")
    words[i]=$word sound_of[i]=$snd

    # The word, and the letter group its line belongs to.
    g=$((i / per_letter))
    letter=${alphabet[g]:-?}
    if [[ -z $word ]]; then
        fault "$at: empty word"
    else
        [[ $word =~ ^[A-ZČŠŽ]+$ ]] || fault "$at: '$word' is not written in capital letters only"
        (( ${#word} <= max_word )) || fault "$at: '$word' has ${#word} letters, at most $max_word fit the label"
        [[ ${word:0:1} == "$letter" ]] ||
            fault "$at: '$word' is in the group of letter $letter (lines $((g * per_letter + 1))-$(((g + 1) * per_letter))) but begins with ${word:0:1}"
    fi

    # Picture name: the word's resource name, once in the list.
    want=$(resource_name "$word")
    [[ $pic == "$want" ]] || fault "$at: picture name '$pic', want the resource name '$want' of '$word'"
    if [[ -n $pic ]]; then
        [[ -z ${pic_line[$pic]:-} ]] || fault "$at: picture name '$pic' is already used on line ${pic_line[$pic]}"
        pic_line[$pic]=$n list_pic_word[$pic]=$word
    fi

    # Sound name: the resource name when it has at most five characters, else AB + line number.
    if (( ${#want} <= 5 )); then wsnd=$want; else printf -v wsnd 'AB%03d' "$n"; fi
    [[ $snd == "$wsnd" ]] || fault "$at: sound name '$snd', want '$wsnd'"
    [[ ${snd^^} =~ $fixed_sound ]] && fault "$at: sound name '$snd' is one of the program's fixed names"
    if [[ -n $snd ]]; then
        [[ -z ${sound_line[${snd^^}]:-} ]] || fault "$at: sound name '$snd' is already used on line ${sound_line[${snd^^}]}"
        sound_line[${snd^^}]=$n list_sound[${snd^^}]=$word
    fi
done

# Groups: 25 distinct first letters in alphabet order, five words each.
group_letters=() prev=
for word in "${words[@]}"; do
    first=${word:0:1}
    [[ -n $first && $first != "$prev" ]] && group_letters+=("$first")
    prev=$first
done
declare -A seen_letter=()
for l in "${group_letters[@]}"; do
    [[ -z ${seen_letter[$l]:-} ]] || fault "$list: the words of letter $l are not all together"
    seen_letter[$l]=1
done
[[ "${group_letters[*]}" == "${alphabet[*]}" ]] ||
    fault "$list: first letters run '${group_letters[*]}', want '${alphabet[*]}'"
for l in "${alphabet[@]}"; do
    count=0
    for word in "${words[@]}"; do [[ ${word:0:1} == "$l" ]] && count=$((count + 1)); done
    (( count == per_letter )) || fault "$list: $count words begin with $l, want $per_letter"
done

# A code must not be some word's resource name (it would speak that word under two names).
for i in "${!sound_of[@]}"; do
    snd=${sound_of[i]}
    [[ -n ${pic_line[${snd^^}]:-} && ${list_pic_word[${snd^^}]} != "${words[i]}" ]] &&
        fault "$list:$((i + 1)): sound name '$snd' is the resource name of '${list_pic_word[${snd^^}]}'"
done

# --- pictures -----------------------------------------------------------------------------------
installed_icons() {   # prints "set:name" for every icon and alias of one installed set
    local json=$content/node_modules/@iconify-json/$1/icons.json
    [[ -r $json ]] && command -v node >/dev/null || return 1
    node -e 'const j = JSON.parse(require("fs").readFileSync(process.argv[1], "utf8"));
             for (const k of [...Object.keys(j.icons), ...Object.keys(j.aliases || {})])
                 console.log(process.argv[2] + ":" + k);' "$json" "$1"
}
declare -A icon_known=() set_loaded=() table_pic=()
n=0
while IFS= read -r row || [[ -n $row ]]; do
    n=$((n + 1)) at="$pictures:$n"
    [[ -z ${row// /} || $row == \#* ]] && continue
    IFS=$'\t' read -r name source size extra <<< "$row"
    if [[ -z $size || -n ${extra:-} ]]; then
        fault "$at: want NAME<TAB>SOURCE<TAB>170x170"; continue
    fi
    [[ -z ${table_pic[$name]:-} ]] || fault "$at: picture '$name' is already listed on line ${table_pic[$name]}"
    table_pic[$name]=$n
    [[ -n ${pic_line[$name]:-} ]] || fault "$at: picture '$name' belongs to no word of the list"
    [[ $size == 170x170 ]] || fault "$at: size '$size', the activity shows pictures at 170x170"
    if [[ $source == svg:* ]]; then
        [[ -r $content/svg/${source#svg:} ]] || fault "$at: own picture $content/svg/${source#svg:} is missing"
    elif [[ $source =~ ^([a-z0-9-]+):([a-z0-9-]+)(#[0-9a-fA-F]{6})?$ ]]; then
        set=${BASH_REMATCH[1]}
        if [[ $icon_sets != *" $set "* ]]; then
            fault "$at: icon set '$set' is not one of$icon_sets"
        else
            if [[ -z ${set_loaded[$set]:-} ]]; then
                set_loaded[$set]=no
                while IFS= read -r icon; do icon_known[$icon]=1; set_loaded[$set]=yes; done < <(installed_icons "$set")
            fi
            ref=${source%%#*}
            [[ ${set_loaded[$set]} == no || -n ${icon_known[$ref]:-} ]] || fault "$at: no icon '$ref' in the installed set"
        fi
    else
        fault "$at: bad source '$source' (want set:icon[#rrggbb] or svg:abeceda/file.svg)"
    fi
done < "$pictures"
for pic in "${!pic_line[@]}"; do
    [[ -n ${table_pic[$pic]:-} ]] || fault "$list:${pic_line[$pic]}: picture '$pic' is missing from $pictures"
done

# --- sounds -------------------------------------------------------------------------------------
declare -A table_snd=()
n=0
while IFS= read -r row || [[ -n $row ]]; do
    n=$((n + 1)) at="$sounds:$n"
    [[ -z ${row// /} || $row == \#* ]] && continue
    IFS=$'\t' read -r name text extra <<< "$row"
    if [[ -z ${text:-} || -n ${extra:-} ]]; then
        fault "$at: want SOUNDNAME<TAB>text"; continue
    fi
    key=${name^^}
    [[ -z ${table_snd[$key]:-} ]] || fault "$at: sound '$name' is already listed on line ${table_snd[$key]}"
    table_snd[$key]=$n
    if [[ -z ${list_sound[$key]:-} ]]; then
        fault "$at: sound '$name' belongs to no word of the list"; continue
    fi
    # Plain text must be the word itself in lower case; [[phonemes]] stand for the whole word.
    word=${list_sound[$key]}
    if [[ $text == '[['*']]' ]]; then
        [[ $text != *']]'*'[['* ]] || fault "$at: phonemes for one word must be one [[...]] group"
    else
        [[ $text == "${word,,}" ]] || fault "$at: text '$text' is not the word '${word,,}'"
    fi
done < "$sounds"
for key in "${!list_sound[@]}"; do
    [[ -n ${table_snd[$key]:-} ]] || fault "$list:${sound_line[$key]}: sound '$key' is missing from $sounds"
done

if (( faults )); then
    echo "check-abeceda: $faults fault(s)" >&2
    exit 1
fi
echo "check-abeceda: $records words, ${#table_pic[@]} pictures, ${#table_snd[@]} sounds: all right"
