#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Short friendly effects made with sox: effects.sh NAME OUT.wav, or effects.sh --list.
#   chime-up    two soft bell notes rising a fifth (a right answer)
#   boing-down  a soft gliding tone falling an octave, with a wobble (a wrong answer)
set -euo pipefail
names=(chime-up boing-down)
if [[ ${1:-} == --list ]]; then printf '%s\n' "${names[@]}"; exit 0; fi
name=$1
out=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
rate=(-r 16000 -c 1 -b 16)

# A bell-like note: a sine with a quieter octave above, a quick attack and a long soft fade.
note() { # FREQ SECONDS FILE
    local fade1 fade2 octave
    read -r fade1 fade2 octave < <(awk -v f="$1" -v s="$2" 'BEGIN { print s * 0.85, s * 0.9, f * 2 }')
    sox -n "${rate[@]}" "$tmp/a.wav" synth "$2" sine "$1" fade q 0.008 "$2" "$fade1"
    sox -n "${rate[@]}" "$tmp/b.wav" synth "$2" sine "$octave" fade q 0.004 "$2" "$fade2"
    sox -m -v 0.75 "$tmp/a.wav" -v 0.25 "$tmp/b.wav" "$3"
}

case $name in
chime-up)
    note 784 0.16 "$tmp/n1.wav"   # G5
    note 1175 0.42 "$tmp/n2.wav"  # D6
    sox "$tmp/n1.wav" "$tmp/n2.wav" "$tmp/dry.wav"
    sox "$tmp/dry.wav" "$out" pad 0 0.12 reverb 25 50 40
    ;;
boing-down)
    sox -n "${rate[@]}" "$tmp/glide.wav" synth 0.5 sine 440:220 tremolo 9 35 fade q 0.02 0.5 0.25
    sox "$tmp/glide.wav" "$out" lowpass 2000 pad 0 0.12 reverb 15 50 30
    ;;
*)
    echo "effects: unknown effect \"$name\" (known: ${names[*]})" >&2
    exit 1
    ;;
esac
