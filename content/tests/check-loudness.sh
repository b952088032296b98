#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every sound of a built sound pack has one loudness: the RMS level of each sound,
# measured without its leading and trailing pauses, lies within TOLERANCE dB of the median of
# all of them, so no word is much louder or quieter than the rest.
#   check-loudness.sh IPO_TOOL SND.ipo [TOLERANCE]   (default 2 dB)
set -euo pipefail
ipo=$1 pack=$2 tolerance=${3:-2}
[ -f "$pack" ] || { echo "no pack $pack (build the target 'content' first)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mapfile -t names < <("$ipo" list "$pack" | awk -F'\t' '$1 == "WAVE" { print $2 }')
((${#names[@]})) || { echo "$pack holds no sounds" >&2; exit 1; }
: >"$work/levels"
for name in "${names[@]}"; do
    "$ipo" extract "$pack" WAVE "$name" "$work/s.wav"
    level=$(sox "$work/s.wav" -n silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse stats 2>&1 |
            awk '/^RMS lev dB/ { print $4 }')
    printf '%s\t%s\n' "${level:--inf}" "$name" >>"$work/levels"
done
sort -g -o "$work/levels" "$work/levels"
awk -F'\t' -v tol="$tolerance" -v pack="$pack" '
    { level[NR] = $1; name[NR] = $2 }
    END {
        median = NR % 2 ? level[(NR + 1) / 2] : (level[NR / 2] + level[NR / 2 + 1]) / 2
        bad = 0
        for (i = 1; i <= NR; i++) {
            d = level[i] - median
            if (level[i] == "-inf" || d > tol || d < -tol) {
                printf "%s: %s is %s dB RMS, %+.1f dB from the median %.1f\n", pack, name[i], level[i], d, median > "/dev/stderr"
                bad++
            }
        }
        if (bad) { printf "%d of %d sounds outside %s dB of the median\n", bad, NR, tol > "/dev/stderr"; exit 1 }
        printf "%s: all %d sounds within %s dB of the median %.1f dB RMS (%.1f .. %.1f)\n", pack, NR, tol, median, level[1], level[NR]
    }' "$work/levels"
