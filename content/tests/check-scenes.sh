#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the scenes of the insert-the-word screen: check-scenes.sh CONTENT_DIR
# - every sentence sound B1 … B40 of sounds/sentences.tsv has a row in svg/VstaviBesedo/scenes.tsv;
# - every row names a scene of pictures/VstaviBesedo.tsv, and that scene's SVG has a <g> with the
#   sound name as its id (the element that shows what the sentence says).
set -uo pipefail
content=$1
table=$content/svg/VstaviBesedo/scenes.tsv
failures=0
fail() { failures=$((failures + 1)); echo "FAIL - $1" >&2; }
sounds=$(awk -F'\t' '$1 ~ /^B[0-9]+$/ { print $1 }' "$content/sounds/sentences.tsv")
[ -n "$sounds" ] || fail "no sentence sounds B1 … in sounds/sentences.tsv"
for s in $sounds; do
    grep -qP "^[a-z]+\t$s\t" "$table" || fail "$s has no element in $table"
done
while IFS=$'\t' read -r scene sound what; do
    [[ -z $scene || $scene == \#* ]] && continue
    grep -qP "^$scene\tsvg:VstaviBesedo/$scene.svg\t745x425" "$content/pictures/VstaviBesedo.tsv" \
        || fail "$scene is not a 745x425 scene of pictures/VstaviBesedo.tsv"
    grep -q "<g id=\"$sound\"" "$content/svg/VstaviBesedo/$scene.svg" \
        || fail "$scene.svg has no element $sound ($what)"
done <"$table"
echo "check-scenes: $failures problem(s)"
((failures == 0))
