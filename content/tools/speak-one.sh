#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes one sound of the sound pack: speak-one.sh OUT.wav TEXT
# TEXT is Slovenian for espeak-ng (with [[phonemes]] where its stress is wrong), or
# "effect:NAME" for one of the short sounds of effects.sh. The result is 16 kHz, 16-bit mono PCM,
# with the silence at both ends trimmed to a short pause. Every sound, speech or effect, is
# brought to one loudness (RMS of the sound without its pauses, $target_rms dBFS, peaks held
# below full scale by sox's limiter), so "prav" is not louder than a word and "krt" not quieter.
set -euo pipefail
out=$1
text=$2
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Voice settings: a little slower than espeak's default, for children.
voice=(-v sl -s 145 -p 55)
target_rms=-19

if [[ $text == effect:* ]]; then
    "$here/effects.sh" "${text#effect:}" "$tmp/raw.wav"
    # Effects are designed at their final length: only convert and normalise.
    sox "$tmp/raw.wav" -r 16000 -b 16 -c 1 -e signed-integer "$tmp/cut.wav"
    pad=(pad 0 0)
else
    # Text on standard input, so that a text starting with "-" is never taken for an option.
    printf '%s\n' "$text" | espeak-ng "${voice[@]}" --stdin -w "$tmp/raw.wav"
    sox "$tmp/raw.wav" -r 16000 -b 16 -c 1 -e signed-integer "$tmp/cut.wav" \
        silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
    pad=(pad 0.04 0.08)
fi
rms=$(sox "$tmp/cut.wav" -n stats 2>&1 | awk '/^RMS lev dB/ { print $4 }')
if [[ ! $rms =~ ^-?[0-9.]+$ ]]; then
    echo "speak-one: \"$text\" gave no sound to measure" >&2
    exit 1
fi
gain=$(awk -v t="$target_rms" -v r="$rms" 'BEGIN { printf "%.2f", t - r }')
# The limiter only where the sound is made louder (sox's "gain -l" mishandles a cut).
limit=()
[[ $gain == -* ]] || limit=(-l)
sox "$tmp/cut.wav" "$tmp/out.wav" gain "${limit[@]}" "$gain" "${pad[@]}"
# A sound shorter than 0.1 s means the speech or effect failed.
samples=$(soxi -s "$tmp/out.wav")
if ((samples < 1600)); then
    echo "speak-one: \"$text\" gave only $samples samples" >&2
    exit 1
fi
mv "$tmp/out.wav" "$out"
