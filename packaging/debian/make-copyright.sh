#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# make-copyright.sh TEMPLATE CONTENT_DIR OUT
# Writes the Debian copyright file: TEMPLATE with each line "@licenses/FILE@" replaced by
# CONTENT_DIR/licenses/FILE as the text of a licence paragraph (every line indented by one
# space, empty lines as " .", trailing blanks dropped).
set -euo pipefail
template=$1 content=$2 out=$3
tmp=$out.tmp
while IFS= read -r line || [ -n "$line" ]; do
    if [[ $line =~ ^@(licenses/[A-Za-z0-9._-]+)@$ ]]; then
        file=$content/${BASH_REMATCH[1]}
        [ -f "$file" ] || { echo "make-copyright: $template names $file, which does not exist" >&2; exit 1; }
        awk '{ sub(/[[:space:]]+$/, ""); lines[NR] = $0 }
             END {
                 first = 1; last = NR
                 while (first <= last && lines[first] == "") first++
                 while (last >= first && lines[last] == "") last--
                 for (i = first; i <= last; i++) print (lines[i] == "" ? " ." : " " lines[i])
             }' "$file"
    else
        printf '%s\n' "$line"
    fi
done <"$template" >"$tmp"
mv "$tmp" "$out"
