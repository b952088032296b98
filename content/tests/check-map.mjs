// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the travel game's content against its town table (towns.tsv):
// - every town lies inside Slovenia's border as the map draws it, and on the built maps (the
//   true-colour "slo16M" and the 8-bit "slo256" of slX.ipo) the colour under the town's point is
//   Slovenia's land and no pixel within 2 px of it is sea;
// - on every town card the town's name stays inside the map's frame and off the map's signs
//   (Triglav, the picture's disc, the town's dot), and the name as rendered fits the box the
//   layout gave it;
// - every town has a card in pictures/MESTA.tsv and a text of three to six sentences in
//   lists/MESTA/, and a spoken name in sounds/mesta.tsv.
//   node check-map.mjs CONTENT_DIR IPO_TOOL BUILD_DIR
import { existsSync, readFileSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { tmpdir } from 'node:os';
import { spawnSync } from 'node:child_process';

const [contentArg, ipo, buildDir] = process.argv.slice(2);
if (!buildDir) { console.error('usage: check-map.mjs CONTENT_DIR IPO_TOOL BUILD_DIR'); process.exit(2); }
const contentDir = resolve(contentArg);
const { towns, country, inside, cardLayout, colours } = await import(join(contentDir, 'tools', 'slovenia-map.mjs'));
const { readBmp } = await import(join(contentDir, 'tests', 'check-pale-pictures.mjs'));
const problems = [];
const list = towns();
if (list.length !== 28) problems.push(`towns.tsv: ${list.length} towns, want 28`);
const slovenia = country('slovenia');
const cards = readFileSync(join(contentDir, 'pictures', 'MESTA.tsv'), 'utf8');
const sounds = readFileSync(join(contentDir, 'sounds', 'mesta.tsv'), 'utf8');
const work = mkdtempSync(join(tmpdir(), 'check-map-'));

// The map's colours, to tell which one a pixel of the (possibly palette-reduced) map shows.
const hex = (h) => [1, 3, 5].map((i) => parseInt(h.slice(i, i + 2), 16));
const named = [['sea', colours.sea], ['land', colours.slovenia], ['border', colours.sloveniaBorder],
               ...Object.entries(colours.neighbours)].map(([n, c]) => [n, hex(c)]);
const colourAt = ({ w, px }, x, y) => {
    const i = (y * w + x) * 3, p = [px[i], px[i + 1], px[i + 2]];
    return named.reduce((best, [n, c]) => {
        const d = Math.hypot(p[0] - c[0], p[1] - c[1], p[2] - c[2]);
        return d < best.d ? { n, d } : best;
    }, { n: null, d: Infinity }).n;
};

const maps = [];
const slx = join(buildDir, 'slX.ipo');
for (const name of ['slo16M', 'slo256']) {
    const out = join(work, `${name}.bmp`);
    if (!existsSync(slx) || spawnSync(ipo, ['extract', slx, 'BITMAP', name, out]).status !== 0) {
        problems.push(`${slx}: no map ${name} (build the target 'content' first)`);
        continue;
    }
    const bmp = readBmp(readFileSync(out));
    if (bmp.w !== 620 || bmp.h !== 420) problems.push(`${name}: ${bmp.w}x${bmp.h}, want 620x420`);
    else maps.push([name, bmp]);
}

// The rendered extent of a town's name (rsvg-convert, the cards' font), from its baseline.
function renderedName(text, size) {
    const svg = join(work, 'name.svg'), png = join(work, 'name.png');
    writeFileSync(svg, `<svg xmlns="http://www.w3.org/2000/svg" width="600" height="100"><text x="300" y="60" ` +
        `font-family="Liberation Sans, Arial, sans-serif" font-weight="bold" font-size="${size}" text-anchor="middle">${text}</text></svg>`);
    if (spawnSync('rsvg-convert', [svg, '-o', png]).status !== 0) return null;
    const r = spawnSync('convert', [png, '-format', '%@', 'info:'], { encoding: 'utf8' });
    const m = /^(\d+)x(\d+)\+(\d+)\+(\d+)/.exec(r.stdout || '');
    return m && { x0: +m[3] - 300, x1: +m[3] + +m[1] - 300, y0: +m[4] - 60, y1: +m[4] + +m[2] - 60 };
}
const overlaps = (a, b) => a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;

try {
    for (const t of list) {
        if (!inside(slovenia, [t.x, t.y])) problems.push(`${t.display} (${t.x}, ${t.y}) lies outside Slovenia's border`);
        for (const [name, bmp] of maps) {
            const under = colourAt(bmp, t.x, t.y);
            if (under !== 'land') problems.push(`${name}: under ${t.display} (${t.x}, ${t.y}) the map shows ${under}, not land`);
            for (let dy = -2; dy <= 2; dy++) for (let dx = -2; dx <= 2; dx++)
                if (colourAt(bmp, t.x + dx, t.y + dy) === 'sea')
                    problems.push(`${name}: sea at (${t.x + dx}, ${t.y + dy}), by ${t.display}`);
        }

        const { label, signs, frame } = cardLayout(t.resource);
        const b = label.box;
        if (b.x0 < frame.x0 || b.x1 > frame.x1 || b.y0 < frame.y0 || b.y1 > frame.y1)
            problems.push(`card ${t.resource}: the name sticks out of the map's frame`);
        for (const [sign, box] of Object.entries(signs))
            if (overlaps(b, box)) problems.push(`card ${t.resource}: the name covers ${sign}`);
        const r = renderedName(t.display, label.size);
        if (!r) problems.push(`card ${t.resource}: cannot render the name to measure it`);
        else if (label.x + r.x0 < b.x0 || label.x + r.x1 > b.x1 || label.y + r.y0 < b.y0 || label.y + r.y1 > b.y1)
            problems.push(`card ${t.resource}: the rendered name (${r.x1 - r.x0}x${r.y1 - r.y0}) overflows its box`);

        if (!new RegExp(`^${t.resource}\\tgen:card-${t.resource}=`, 'm').test(cards))
            problems.push(`pictures/MESTA.tsv: no card ${t.resource}`);
        if (!new RegExp(`^${t.resource}\\t`, 'm').test(sounds)) problems.push(`sounds/mesta.tsv: no name ${t.resource}`);
        const textFile = join(contentDir, 'lists', 'MESTA', `${t.resource}.txt`);
        if (!existsSync(textFile)) { problems.push(`${textFile}: missing`); continue; }
        const lines = readFileSync(textFile, 'utf8').split('\n').filter((l) => l.trim());
        if (lines.length < 3 || lines.length > 6) problems.push(`${textFile}: ${lines.length} sentences, want 3 to 6`);
        if (!lines.some((l) => l.includes(t.display.split(' ')[0].slice(0, 4))))
            problems.push(`${textFile}: the text never names ${t.display}`);
    }
} finally { rmSync(work, { recursive: true, force: true }); }
for (const p of problems) console.error(p);
if (problems.length) { console.error(`check-map: ${problems.length} problem(s)`); process.exit(1); }
console.log(`check-map: all ${list.length} towns on land on both maps (${maps.map(([n]) => n).join(', ')}), ` +
            'their names on the cards clear of the signs, each with its card, text and name');
