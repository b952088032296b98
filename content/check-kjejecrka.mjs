// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the word list of the where-is-the-letter screen and what goes with it:
//   lists/Dat/KJEJECRKA.txt   75 fixed-column records: word in columns 1-20, name in 22-41
//   pictures/KjeJeCrka.tsv    one picture per record name (pack "KjeJeCrka")
//   sounds/*.tsv              one spoken word per record name (pack "snd")
// The screen keeps 75 records, writes a word into at most ten slots and finds picture and sound
// by the name, so a shifted column, an eleventh letter or a name that is not the word's resource
// name breaks it silently. A word that another pack pictures or the first-letter list speaks
// must look and sound the same here.
//
//   node check-kjejecrka.mjs [--content DIR] [--build DIR --ipo IPO_TOOL]
// With --build, the built packs Dat.ipo, KjeJeCrka.ipo and snd.ipo of DIR are checked too.
// Prints every fault found and exits 1 if there was any.
import { readFileSync, existsSync, readdirSync } from 'node:fs';
import { join, dirname, resolve } from 'node:path';
import { spawnSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { readPictures, readSounds, inWindows1250 } from './tools/tables.mjs';

const records = 75;
const maxLetters = 10;
const pictureSize = '300x300';
const here = dirname(fileURLToPath(import.meta.url));

const resourceName = (word) => word.replace(/Č/g, 'C').replace(/Š/g, 'S').replace(/Ž/g, 'Z');

// The records of a fixed-column list, by characters (the pack holds one byte a letter).
function readList(file, faults) {
    const text = readFileSync(file, 'utf8');
    if (text.includes('\uFFFD')) faults.push(`${file}: not valid UTF-8`);
    if ([...text].some((c) => !inWindows1250(c))) faults.push(`${file}: characters that Windows-1250 lacks`);
    if (text.length && !text.endsWith('\n')) faults.push(`${file}: the last line has no line break`);
    const lines = text.split('\n');
    if (lines.at(-1) === '') lines.pop();
    return lines.map((line, i) => ({ line: [...line], at: `${file}:${i + 1}` }));
}

function checkList(file, faults) {
    const rows = readList(file, faults);
    if (rows.length !== records) faults.push(`${file}: ${rows.length} lines, want exactly ${records}`);
    const byWord = new Map(), byName = new Map(), out = [];
    for (const { line, at } of rows) {
        if (line.includes('\t') || line.includes('\r')) faults.push(`${at}: tab or carriage return in a fixed-column line`);
        if (line.length > 41) faults.push(`${at}: ${line.length} characters, the record ends at column 41`);
        if ((line[20] ?? ' ') !== ' ') faults.push(`${at}: column 21 must be blank (separator), holds '${line[20]}'`);
        if (line[0] === ' ') faults.push(`${at}: the word must start in column 1`);
        if ((line[21] ?? ' ') === ' ') faults.push(`${at}: the name must start in column 22`);
        const word = line.slice(0, 20).join('').trim();
        const name = line.slice(21, 41).join('').trim();
        if (!/^[A-ZČŠŽ]+$/u.test(word)) faults.push(`${at}: '${word}' is not written in capital letters only`);
        if ([...word].length > maxLetters) faults.push(`${at}: '${word}' has ${[...word].length} letters, the screen has ${maxLetters} slots`);
        if (name !== resourceName(word)) faults.push(`${at}: name '${name}', want the resource name '${resourceName(word)}' of '${word}'`);
        if (byWord.has(word)) faults.push(`${at}: '${word}' is already on ${byWord.get(word)}`);
        if (byName.has(name)) faults.push(`${at}: name '${name}' is already used on ${byName.get(name)}`);
        byWord.set(word, at);
        byName.set(name, at);
        out.push({ word, name, at });
    }
    return out;
}

// Name -> source of every other picture pack (first one met; they agree with each other).
function otherPictures(contentDir) {
    const dir = join(contentDir, 'pictures');
    const sources = new Map();
    for (const f of readdirSync(dir).filter((n) => n.endsWith('.tsv') && n.toLowerCase() !== 'kjejecrka.tsv').sort())
        for (const e of readPictures(join(dir, f)).entries)
            if (!sources.has(e.name)) sources.set(e.name, { source: e.source, where: e.where });
    return sources;
}

// The first-letter list's sound code of each word ("BANANA" -> "AB006").
function firstLetterCodes(contentDir) {
    const file = join(contentDir, 'lists', 'Dat', 'ABECEDA.txt');
    const codes = new Map();
    if (!existsSync(file)) return codes;
    for (const line of readFileSync(file, 'utf8').split('\n').map((l) => [...l]))
        codes.set(line.slice(21, 41).join('').trim(), line.slice(43, 48).join('').trim().toUpperCase());
    return codes;
}

function checkTables(contentDir, list, faults) {
    const table = join(contentDir, 'pictures', 'KjeJeCrka.tsv');
    const names = new Set(list.map((r) => r.name));
    const { entries, errors } = readPictures(table);
    faults.push(...errors);
    const pictured = new Set();
    const elsewhere = otherPictures(contentDir);
    for (const e of entries) {
        if (pictured.has(e.name)) faults.push(`${e.where}: picture '${e.name}' is listed twice`);
        pictured.add(e.name);
        if (!names.has(e.name)) faults.push(`${e.where}: picture '${e.name}' belongs to no record of the list`);
        if (`${e.size?.w}x${e.size?.h}` !== pictureSize) faults.push(`${e.where}: size, the screen shows pictures at ${pictureSize}`);
        const other = elsewhere.get(e.name);
        if (other && other.source !== e.source)
            faults.push(`${e.where}: '${e.name}' is ${e.source} here but ${other.source} at ${other.where}: one word, one picture`);
    }
    for (const r of list)
        if (!pictured.has(r.name)) faults.push(`${r.at}: no picture '${r.name}' in ${table}`);

    const sounds = new Map(readSounds(contentDir).entries.map((e) => [e.name, e]));
    const codes = firstLetterCodes(contentDir);
    for (const r of list) {
        const own = sounds.get(r.name);
        if (!own) { faults.push(`${r.at}: no sound table speaks '${r.name}'`); continue; }
        const code = codes.get(r.word);
        const theirs = code && code !== r.name ? sounds.get(code) : null;
        if (theirs && theirs.text !== own.text)
            faults.push(`${own.where}: '${r.word}' is spoken "${own.text}" here but "${theirs.text}" at ${theirs.where}: one word, one pronunciation`);
    }
}

function checkBuilt(buildDir, ipo, list, faults) {
    const held = (pack, kind) => {
        const file = join(buildDir, `${pack}.ipo`);
        if (!existsSync(file)) { faults.push(`${file}: missing (build the target 'content' first)`); return new Set(); }
        const r = spawnSync(ipo, ['list', file], { encoding: 'utf8' });
        if (r.status !== 0) { faults.push(`${file}: ipo list failed`); return new Set(); }
        return new Set(r.stdout.split('\n').map((l) => l.split('\t'))
            .filter((c) => c[0] === kind).map((c) => c[1].toUpperCase()));
    };
    if (!held('Dat', 'RCDATA').has('KJEJECRKA')) faults.push(`${buildDir}/Dat.ipo: no list KJEJECRKA`);
    const pictures = held('KjeJeCrka', 'BITMAP');
    const sounds = held('snd', 'WAVE');
    for (const r of list) {
        if (!pictures.has(r.name)) faults.push(`${buildDir}/KjeJeCrka.ipo: no picture '${r.name}'`);
        if (!sounds.has(r.name)) faults.push(`${buildDir}/snd.ipo: no sound '${r.name}'`);
    }
}

const args = process.argv.slice(2);
const opt = (key) => { const i = args.indexOf(key); return i >= 0 ? args[i + 1] : undefined; };
const contentDir = resolve(opt('--content') ?? here);
const faults = [];
try {
    const list = checkList(join(contentDir, 'lists', 'Dat', 'KJEJECRKA.txt'), faults);
    checkTables(contentDir, list, faults);
    if (opt('--build')) checkBuilt(resolve(opt('--build')), opt('--ipo') ?? 'ipo', list, faults);
} catch (e) {
    faults.push(e.message);
}
for (const f of faults) console.error(`check-kjejecrka: ${f}`);
if (faults.length) {
    console.error(`check-kjejecrka: ${faults.length} fault(s)`);
    process.exit(1);
}
console.log(`check-kjejecrka: ${records} words with their pictures and sounds: all right`);
