// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the travel game's content against its town table (towns.tsv):
// - every town lies on Slovenia's land of the map, or at most a few pixels off its border (the
//   1:10m border simplifies the tip of Piran's peninsula);
// - every town has a card in pictures/MESTA.tsv and a text of three to six sentences in
//   lists/MESTA/, and a spoken name in sounds/mesta.tsv.
//   node check-map.mjs [CONTENT_DIR]
import { existsSync, readFileSync } from 'node:fs';
import { join, resolve, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';

const contentDir = resolve(process.argv[2] || join(dirname(fileURLToPath(import.meta.url)), '..'));
const { towns, country, inside, distanceToBorder } = await import(join(contentDir, 'tools', 'slovenia-map.mjs'));
const maxOff = 4;
const problems = [];
const list = towns();
if (list.length !== 28) problems.push(`towns.tsv: ${list.length} towns, want 28`);
const slovenia = country('slovenia');
const cards = readFileSync(join(contentDir, 'pictures', 'MESTA.tsv'), 'utf8');
const sounds = readFileSync(join(contentDir, 'sounds', 'mesta.tsv'), 'utf8');
for (const t of list) {
    const off = inside(slovenia, [t.x, t.y]) ? 0 : distanceToBorder(slovenia, [t.x, t.y]);
    if (off > maxOff) problems.push(`${t.display} (${t.x}, ${t.y}) lies ${off.toFixed(1)} px outside Slovenia`);
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
for (const p of problems) console.error(p);
if (problems.length) { console.error(`check-map: ${problems.length} problem(s)`); process.exit(1); }
console.log(`check-map: ${list.length} towns on the map, each with its card, text and name`);
