// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the spelling of every word the program shows or speaks from its content: the texts of
// every sound table and every text list (lists/<pack>/*.txt), with the Slovenian dictionary of
// hunspell. Words the dictionary lacks but that are right go on spelling-allow.txt, one a line
// with the reason. Fields of a list that hold digits (sound codes such as AB037) and names that
// are another word of the same line written with C, S, Z for Č, Š, Ž are resource names, not
// words, and are not checked.
//   node check-spelling.mjs CONTENT_DIR
// Prints every unknown word with where it stands and exits 1 if there is one.
import { readFileSync, readdirSync, existsSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { spawnSync } from 'node:child_process';
import { readSounds } from '../tools/tables.mjs';

const contentDir = process.argv[2];
if (!contentDir) { console.error('usage: check-spelling.mjs CONTENT_DIR'); process.exit(2); }

const plain = (w) => w.replace(/Č/g, 'C').replace(/Š/g, 'S').replace(/Ž/g, 'Z')
                      .replace(/č/g, 'c').replace(/š/g, 's').replace(/ž/g, 'z');
const where = new Map(); // word -> first place it stands
const add = (word, at) => { if (!where.has(word)) where.set(word, at); };

for (const e of readSounds(contentDir).entries) {
    if (e.written.startsWith('effect:')) continue;
    for (const w of e.written.match(/\p{L}+/gu) || []) add(w, e.where);
}
const lists = join(contentDir, 'lists');
for (const pack of existsSync(lists) ? readdirSync(lists) : []) {
    const dir = join(lists, pack);
    if (!statSync(dir).isDirectory()) continue;
    for (const f of readdirSync(dir).filter((n) => n.endsWith('.txt'))) {
        readFileSync(join(dir, f), 'utf8').split('\n').forEach((line, i) => {
            const fields = line.split(/\s+/).filter(Boolean);
            const words = new Set(fields.flatMap((x) => x.match(/\p{L}+/gu) || []));
            for (const field of fields) {
                if (/\d/.test(field)) continue;
                for (const w of field.match(/\p{L}+/gu) || []) {
                    const isName = [...words].some((o) => o !== w && plain(o) === w);
                    if (!isName) add(w, `${join(dir, f)}:${i + 1}`);
                }
            }
        });
    }
}

const allowFile = join(contentDir, 'spelling-allow.txt');
const allowed = new Set(existsSync(allowFile)
    ? readFileSync(allowFile, 'utf8').split('\n').map((l) => l.replace(/#.*/, '').trim()).filter(Boolean)
          .map((w) => w.toLowerCase())
    : []);

const r = spawnSync('hunspell', ['-d', 'sl_SI', '-l'], { input: [...where.keys()].join('\n') + '\n', encoding: 'utf8' });
if (r.error || r.status !== 0) {
    console.error(`check-spelling: cannot run hunspell with the Slovenian dictionary: ${r.error?.message ?? r.stderr}`);
    process.exit(1);
}
const unknown = [...new Set(r.stdout.split('\n').filter(Boolean))].filter((w) => !allowed.has(w.toLowerCase()));
for (const w of unknown) console.error(`${where.get(w)}: "${w}" is not in the Slovenian dictionary (fix it or add it to spelling-allow.txt)`);
const used = new Set([...where.keys()].map((w) => w.toLowerCase()));
const stale = [...allowed].filter((w) => !used.has(w));
for (const w of stale) console.error(`${allowFile}: "${w}" is allowed but no table or list uses it`);
if (unknown.length || stale.length) process.exit(1);
console.log(`check-spelling: ${where.size} words, all spelt right`);
