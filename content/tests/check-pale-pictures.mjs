// SPDX-License-Identifier: GPL-3.0-or-later
// Checks that no picture of a built picture pack is pale on its card: a picture whose darkest
// pixel is light (grey level above 150 of 255) and that hardly differs from its background
// (98 % of its drawn pixels within a colour distance of 200 of the card) is what a child sees
// as an empty card: the white cloud, the white tooth, the grey spoon. Yellow suns and stars
// pass through their strong colour, outlined or dark pictures through their darkest pixel.
// The card is the colour of the picture's corner pixel (its bg= of the table).
//   node check-pale-pictures.mjs IPO_TOOL BUILD_DIR CONTENT_DIR
// Every pack of a picture table (pictures/<pack>.tsv) is checked, so new packs are too.
import { readFileSync, readdirSync, mkdtempSync, rmSync, existsSync } from 'node:fs';
import { join, basename } from 'node:path';
import { tmpdir } from 'node:os';
import { spawnSync } from 'node:child_process';

export const limits = { darkestGrey: 150, distance: 200, share: 0.98 };

// A 24-bit or 8-bit BMP as rows of RGB.
export function readBmp(buf) {
    const off = buf.readUInt32LE(10), w = buf.readInt32LE(18), hs = buf.readInt32LE(22), bpp = buf.readUInt16LE(28);
    const h = Math.abs(hs), stride = Math.ceil((w * bpp) / 32) * 4;
    if (bpp !== 24 && bpp !== 8) throw new Error(`${bpp}-bit bitmap`);
    const pal = bpp === 8 ? buf.subarray(14 + buf.readUInt32LE(14), off) : null;
    const px = new Uint8Array(w * h * 3);
    for (let y = 0; y < h; y++) {
        const row = off + (hs > 0 ? h - 1 - y : y) * stride;
        for (let x = 0; x < w; x++) {
            const i = bpp === 24 ? row + 3 * x : 4 * buf[row + x], src = bpp === 24 ? buf : pal;
            px[(y * w + x) * 3] = src[i + 2]; px[(y * w + x) * 3 + 1] = src[i + 1]; px[(y * w + x) * 3 + 2] = src[i];
        }
    }
    return { w, h, px };
}

export function paleness({ w, h, px }) {
    const bg = [px[0], px[1], px[2]];
    let darkest = 255;
    const far = [];
    for (let i = 0; i < w * h; i++) {
        const r = px[3 * i], g = px[3 * i + 1], b = px[3 * i + 2];
        darkest = Math.min(darkest, 0.299 * r + 0.587 * g + 0.114 * b);
        const d = Math.hypot(r - bg[0], g - bg[1], b - bg[2]);
        if (d > 8) far.push(d);
    }
    far.sort((a, b) => a - b);
    const spread = far.length ? far[Math.floor(far.length * limits.share)] : 0;
    return { darkest: Math.round(darkest), spread: Math.round(spread),
             pale: darkest > limits.darkestGrey && spread < limits.distance };
}

if (process.argv[1] && basename(process.argv[1]) === 'check-pale-pictures.mjs') {
    const [ipo, buildDir, contentDir] = process.argv.slice(2);
    if (!contentDir) { console.error('usage: check-pale-pictures.mjs IPO_TOOL BUILD_DIR CONTENT_DIR'); process.exit(2); }
    const packs = readdirSync(join(contentDir, 'pictures')).filter((f) => f.endsWith('.tsv')).map((f) => basename(f, '.tsv'));
    const work = mkdtempSync(join(tmpdir(), 'pale-'));
    const faults = [];
    let count = 0;
    try {
        for (const pack of packs) {
            const file = join(buildDir, `${pack}.ipo`);
            if (!existsSync(file)) { faults.push(`${file}: missing (build the target 'content' first)`); continue; }
            const list = spawnSync(ipo, ['list', file], { encoding: 'utf8' });
            for (const line of list.stdout.split('\n')) {
                const [kind, name] = line.split('\t');
                if (kind !== 'BITMAP') continue;
                const out = join(work, 'p.bmp');
                if (spawnSync(ipo, ['extract', file, 'BITMAP', name, out]).status !== 0) { faults.push(`${pack}/${name}: cannot extract`); continue; }
                const p = paleness(readBmp(readFileSync(out)));
                count++;
                if (p.pale) faults.push(`${pack}/${name}: pale on its card (darkest grey ${p.darkest}, colour spread ${p.spread}): give it a dark outline or a stronger card`);
            }
        }
    } finally { rmSync(work, { recursive: true, force: true }); }
    for (const f of faults) console.error(f);
    if (faults.length) process.exit(1);
    console.log(`check-pale-pictures: ${count} pictures of ${packs.length} packs stand out from their cards`);
}
