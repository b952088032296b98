// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the content tables: sound tables (sounds/*.tsv), picture tables (pictures/<pack>.tsv)
// and text lists (lists/<pack>/<NAME>.txt). Every reader reports problems as
// "file:line: message" strings instead of throwing, so the check can list them all at once.
import { readFileSync, readdirSync, existsSync, statSync } from 'node:fs';
import { join, basename } from 'node:path';

// Resource names are stored upper-cased; JavaScript's upper-casing agrees with Windows-1250's
// for every letter that code page has (č -> Č, š -> Š, ž -> Ž).
export const resourceName = (name) => name.toUpperCase();

// A name the packs can hold: letters, digits and a few separators, at most 64 characters.
const nameRule = /^[0-9A-Za-zČŠŽčšžĆĐćđ_.-]{1,64}$/u;

function tableLines(file) {
    const text = readFileSync(file, 'utf8');
    const out = [];
    text.split('\n').forEach((raw, i) => {
        const line = raw.replace(/\r$/, '');
        if (line.trim() === '' || line.startsWith('#')) return;
        out.push({ line, where: `${file}:${i + 1}` });
    });
    return out;
}

const listDir = (dir, filter) =>
    existsSync(dir) ? readdirSync(dir).filter(filter).sort() : [];

// The pronunciation table (pronunciation.tsv): WORD<TAB>PHONEMES, espeak phonemes for the words
// whose stress espeak-ng gets wrong. Returns the lower-cased word -> phonemes.
export function readPronunciations(contentDir) {
    const file = join(contentDir, 'pronunciation.tsv');
    const words = new Map(), errors = [];
    if (!existsSync(file)) return { words, errors, file };
    for (const { line, where } of tableLines(file)) {
        const cols = line.split('\t').map((c) => c.trim());
        if (cols.length !== 2) { errors.push(`${where}: want WORD<TAB>PHONEMES, got ${cols.length} columns`); continue; }
        const [word, phonemes] = cols;
        if (!/^\p{Ll}+$/u.test(word)) errors.push(`${where}: "${word}" is not one word in small letters`);
        if (phonemes === '' || /[\[\]]/.test(phonemes)) errors.push(`${where}: bad phonemes "${phonemes}" (write them without [[ ]])`);
        if (words.has(word)) errors.push(`${where}: "${word}" is already listed`);
        words.set(word, phonemes);
    }
    return { words, errors, file };
}

// What espeak-ng is given for a sound text: every word of the pronunciation table as its
// [[phonemes]], everything else as written. Effects are not speech and stay as they are.
export function spokenText(text, words) {
    if (text.startsWith('effect:') || words.size === 0) return text;
    return text.replace(/\p{L}+/gu, (w) => {
        const p = words.get(w.toLowerCase());
        return p === undefined ? w : `[[${p}]]`;
    });
}

// Sound tables: every sounds/*.tsv goes into the pack "snd". TEXT is plain Slovenian; entries
// carry the written text and the text espeak is given (spoken).
export function readSounds(contentDir) {
    const dir = join(contentDir, 'sounds');
    const pron = readPronunciations(contentDir);
    const entries = [], errors = [...pron.errors];
    for (const f of listDir(dir, (n) => n.endsWith('.tsv'))) {
        for (const { line, where } of tableLines(join(dir, f))) {
            const cols = line.split('\t');
            if (cols.length !== 2) { errors.push(`${where}: want NAME<TAB>TEXT, got ${cols.length} columns`); continue; }
            const [name, text] = cols.map((c) => c.trim());
            if (!nameRule.test(name)) errors.push(`${where}: bad sound name "${name}"`);
            if (text === '') errors.push(`${where}: empty text for ${name}`);
            if (text.includes('[[') || text.includes(']]'))
                errors.push(`${where}: [[phonemes]] in ${name}: give the word its line in pronunciation.tsv instead`);
            entries.push({ kind: 'WAVE', name: resourceName(name), text: spokenText(text, pron.words), written: text, where });
        }
    }
    // A line nobody speaks is a typo or a word that left the tables.
    const used = new Set(entries.flatMap((e) => (e.written.match(/\p{L}+/gu) || []).map((w) => w.toLowerCase())));
    for (const word of pron.words.keys())
        if (!used.has(word)) errors.push(`${pron.file}: "${word}" is spoken by no sound table`);
    return { entries, errors };
}

export function parseSize(s) {
    const m = /^(\d{1,4})x(\d{1,4})$/.exec(s);
    if (!m) return null;
    const w = Number(m[1]), h = Number(m[2]);
    return w >= 1 && h >= 1 && w <= 4096 && h <= 4096 ? { w, h } : null;
}

// Options of a picture line: "bg=#rrggbb" (background, white by default), "margin=N"
// (blank pixels kept free on every side) and "palette" (an 8-bit bitmap of at most 256
// colours), separated by blanks or commas.
export function parseOptions(s) {
    const opts = { bg: '#ffffff', margin: 0, palette: false };
    for (const part of (s || '').split(/[\s,]+/).filter(Boolean)) {
        const [key, value] = part.split('=');
        if (key === 'palette' && value === undefined) opts.palette = true;
        else if (key === 'bg' && /^#[0-9a-fA-F]{6}$/.test(value ?? '')) opts.bg = value.toLowerCase();
        else if (key === 'margin' && /^\d{1,3}$/.test(value ?? '')) opts.margin = Number(value);
        else throw new Error(`unknown option "${part}" (want bg=#rrggbb, margin=N or palette)`);
    }
    return opts;
}

// Picture table of one pack: NAME<TAB>SOURCE<TAB>WIDTHxHEIGHT[<TAB>options].
export function readPictures(file) {
    const entries = [], errors = [];
    for (const { line, where } of tableLines(file)) {
        const cols = line.split('\t').map((c) => c.trim());
        if (cols.length < 3 || cols.length > 4) {
            errors.push(`${where}: want NAME<TAB>SOURCE<TAB>WxH[<TAB>options], got ${cols.length} columns`);
            continue;
        }
        const [name, source, sizeText, optText] = cols;
        if (!nameRule.test(name)) errors.push(`${where}: bad picture name "${name}"`);
        const size = parseSize(sizeText);
        if (!size) errors.push(`${where}: bad size "${sizeText}" (want WIDTHxHEIGHT)`);
        let opts = null;
        try { opts = parseOptions(optText); } catch (e) { errors.push(`${where}: ${e.message}`); }
        if (!/^(svg:(?!.*\.\.)[\w./-]+\.svg|gen:map|gen:sheet-[A-Z0-9]+|gen:card-[A-Za-z]+=[a-z0-9-]+:[a-z0-9-]+|[a-z0-9-]+:[a-z0-9-]+(#[0-9a-fA-F]{3,6})?)$/.test(source))
            errors.push(`${where}: bad source "${source}" (want set:icon[#rrggbb], svg:file.svg, gen:map, gen:sheet-NAME or gen:card-Town=set:icon)`);
        if (opts && size && 2 * opts.margin >= Math.min(size.w, size.h))
            errors.push(`${where}: margin ${opts.margin} leaves no room in ${sizeText}`);
        entries.push({ kind: 'BITMAP', name: resourceName(name), source, size, opts, where });
    }
    return { entries, errors };
}

// Text lists of one pack: lists/<pack>/<NAME>.txt, UTF-8.
export function readLists(dir) {
    const entries = [], errors = [];
    for (const f of listDir(dir, (n) => n.endsWith('.txt'))) {
        const file = join(dir, f);
        const name = basename(f, '.txt');
        if (!nameRule.test(name)) errors.push(`${file}: bad list name "${name}"`);
        const bytes = readFileSync(file);
        const text = new TextDecoder('utf-8', { fatal: false }).decode(bytes);
        if (text.includes('\uFFFD')) errors.push(`${file}: not valid UTF-8`);
        const outside = [...new Set([...text].filter((c) => !inWindows1250(c)))];
        if (outside.length) errors.push(`${file}: characters that Windows-1250 lacks: ${outside.join(' ')}`);
        entries.push({ kind: 'TEXT', name: resourceName(name), file, where: file });
    }
    return { entries, errors };
}

// The characters of Windows-1250: ASCII and the code page's upper half (the C1 controls that
// the decoder gives for its five unused codes do not count).
const cp1250High = new Set(
    [...new TextDecoder('windows-1250').decode(Uint8Array.from({ length: 128 }, (_, i) => 0x80 + i))]
        .filter((c) => c.codePointAt(0) > 0x9f));
export const inWindows1250 = (c) => c.codePointAt(0) < 0x80 || cp1250High.has(c);

// The packs the content folder describes: "snd" when there are sound tables, one pack per picture
// table and one per list folder (a picture table and a list folder of one name make one pack).
export function packNames(contentDir) {
    const names = new Map();
    const add = (n) => { if (!names.has(n.toLowerCase())) names.set(n.toLowerCase(), n); };
    if (listDir(join(contentDir, 'sounds'), (n) => n.endsWith('.tsv')).length) add('snd');
    for (const f of listDir(join(contentDir, 'pictures'), (n) => n.endsWith('.tsv'))) add(basename(f, '.tsv'));
    const lists = join(contentDir, 'lists');
    for (const d of listDir(lists, (n) => statSync(join(lists, n)).isDirectory())) add(d);
    return [...names.values()].sort();
}

// Everything one pack holds, with the problems found while reading it.
export function readPack(contentDir, pack) {
    const entries = [], errors = [];
    const take = (r) => { entries.push(...r.entries); errors.push(...r.errors); };
    if (pack.toLowerCase() === 'snd') take(readSounds(contentDir));
    const pictures = listDir(join(contentDir, 'pictures'), (n) => n.toLowerCase() === `${pack.toLowerCase()}.tsv`);
    for (const f of pictures) take(readPictures(join(contentDir, 'pictures', f)));
    const lists = listDir(join(contentDir, 'lists'), (n) => n.toLowerCase() === pack.toLowerCase());
    for (const d of lists) take(readLists(join(contentDir, 'lists', d)));
    errors.push(...duplicateErrors(entries));
    return { entries, errors };
}

// Two resources of one kind may not share a name within a pack (names compare upper-cased).
export function duplicateErrors(entries) {
    const seen = new Map(), errors = [];
    for (const e of entries) {
        const key = `${e.kind}:${e.name}`;
        if (seen.has(key)) errors.push(`${e.where}: duplicate name ${e.name} (first at ${seen.get(key)})`);
        else seen.set(key, e.where);
    }
    return errors;
}
