#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that a built pack holds every name of a list:
#   check-pack-names.sh IPO_TOOL PACK.ipo KIND NAMES.txt
# NAMES.txt: one name a line, '#' comments; names compare upper-cased, as the program looks
# them up. Prints every missing name and fails when there is one.
set -euo pipefail
ipo=$1 pack=$2 kind=$3 names=$4
[ -f "$pack" ] || { echo "no pack $pack (build the target 'content' first)" >&2; exit 1; }
held=$("$ipo" list "$pack" | awk -F'\t' -v k="$kind" '$1 == k { print toupper($2) }' | sort -u)
missing=0
total=0
while IFS= read -r name; do
    name=${name%%#*}
    name=$(tr -d '[:space:]' <<<"$name")
    [ -n "$name" ] || continue
    total=$((total + 1))
    if ! grep -qxF "${name^^}" <<<"$held"; then
        echo "$pack: no $kind \"$name\"" >&2
        missing=$((missing + 1))
    fi
done <"$names"
if ((total == 0)); then echo "$names: no names to check" >&2; exit 1; fi
if ((missing)); then echo "$missing of $total names missing" >&2; exit 1; fi
echo "$pack: all $total $kind names of $(basename "$names") present"
