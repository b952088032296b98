#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders every picture of a picture table into one labelled contact sheet, to look at them:
#   contact-sheet.sh TABLE.tsv OUT.png [COLUMNS]
# Each picture is drawn exactly as the pack build draws it (same SVG, size, background, margin).
set -euo pipefail
table=$1 out=$2 cols=${3:-6}
here=$(cd "$(dirname "$0")" && pwd)
content=$(cd "$here/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
node --input-type=module -e '
import { readPictures } from "'"$here"'/tables.mjs";
import { sourceSvg } from "'"$here"'/build-pack.mjs";
import { writeFileSync } from "node:fs";
const [table, tmp, content] = process.argv.slice(1);
const { entries, errors } = readPictures(table);
if (errors.length) { console.error(errors.join("\n")); process.exit(1); }
const jobs = entries.map((e, i) => {
    const svg = `${tmp}/${String(i).padStart(3, "0")}.svg`;
    writeFileSync(svg, sourceSvg(e.source, content));
    return [svg, e.size.w, e.size.h, e.opts.bg, e.opts.margin,
            `${tmp}/${String(i).padStart(3, "0")}-${e.name}.bmp`].join("\t");
});
writeFileSync(`${tmp}/jobs`, jobs.join("\n") + "\n");
' "$table" "$tmp" "$content"
while IFS=$'\t' read -r svg w h bg margin bmp; do
    printf '%s\0%s\0%s\0%s\0%s\0%s\0' "$svg" "$w" "$h" "$bg" "$margin" "$bmp"
done <"$tmp/jobs" | xargs -0 -n 6 -P 2 "$here/render-one.sh"
args=()
for f in "$tmp"/*.bmp; do
    label=$(basename "$f" .bmp); label=${label#*-}
    args+=(-label "$label" "$f")
done
montage "${args[@]}" -tile "${cols}x" -geometry +6+6 -background '#d8d8d8' -font "${CONTACT_FONT:-/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf}" -pointsize 14 "$out"
echo "contact-sheet: $out ($(( ${#args[@]} / 3 )) pictures)"
