// SPDX-License-Identifier: GPL-3.0-or-later
// Where espeak-ng -v sl puts the stress in every word the program speaks. Every text of every
// sound table is spoken as the sound build speaks it (pronunciation.tsv applied, or, with
// --raw, as written) through `espeak-ng -v sl -x`, and each written word is matched with the
// phonemes espeak says for it in that sentence; the stressed vowel is then marked in the word as
// a dictionary marks it: á í ú é ó (long, e and o closed), ê ô (long, open), à è ì ò ù (short),
// ŕ (syllabic r). A word espeak leaves unstressed in its sentence is written bare.
//   node stress.mjs [--content DIR] [--raw]   prints WORD<TAB>STRESS<TAB>FIRST PLACE, sorted
// A word spoken with different stress in different texts shows each form, joined by " / ".
import { spawnSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { readSounds, readPronunciations } from './tables.mjs';

const toolsDir = dirname(fileURLToPath(import.meta.url));

// A word without its stress marks (´ ` ^); č, š, ž keep their caron.
const bare = (s) => s.normalize('NFD').replace(/[\u0300-\u0302]/gu, '').normalize('NFC');
const vowels = new Set(['a', 'e', 'i', 'o', 'u']);

// The syllable nuclei of a written word, as indices: its vowels, and an r that stands between
// consonants or at the word's edge next to a consonant (Brnik, Krško, rdeč, Črnomelj). Some
// letters may or may not make a syllable of espeak's, as they are sounded [u], [w] or [j]: a
// v next to no vowel (Vstavi, črv), and a u or i beside a vowel (iguana, avion). Returns every
// reading, the plain one first.
export function writtenNuclei(word) {
    const w = [...bare(word.toLowerCase())];
    const isVowel = (c) => c !== undefined && vowels.has(c);
    const sure = [], maybe = [];
    w.forEach((c, i) => {
        if ((c === 'u' || c === 'i') && (isVowel(w[i - 1]) || isVowel(w[i + 1]))) maybe.push(i);
        else if (isVowel(c)) sure.push(i);
        else if (c === 'r' && !isVowel(w[i - 1]) && !isVowel(w[i + 1]) && w.length > 1
                 && !(w[i + 1] === 'j' && i === 0)) sure.push(i);
        else if (c === 'v' && !isVowel(w[i - 1]) && !isVowel(w[i + 1])) maybe.push(i);
    });
    const readings = [];
    for (let set = 0; set < 1 << maybe.length; set++) {
        const extra = maybe.filter((_, b) => set & (1 << b) ? w[maybe[b]] === 'v' : w[maybe[b]] !== 'v');
        readings.push([...sure, ...extra].sort((a, b) => a - b));
    }
    return readings;
}

// The nuclei of one word's espeak phonemes: {vowel, long, stress: 0 none, 1 secondary, 2 primary}.
// A schwa followed by "-" is espeak's glide between two consonants (m@-l'e:kO), not a syllable;
// "@R" is a syllabic r.
export function phonemeNuclei(phonemes) {
    const out = [];
    let stress = 0;
    for (let i = 0; i < phonemes.length; i++) {
        const c = phonemes[i];
        if (c === "'") { stress = 2; continue; }
        if (c === ',') { stress = Math.max(stress, 1); continue; }
        if (c === '@' && phonemes[i + 1] === '-') { i++; continue; }
        if ('aeiouEO@'.includes(c)) {
            const syllabicR = c === '@' && phonemes[i + 1] === 'R';
            if (syllabicR) i++;
            const long = phonemes[i + 1] === ':';
            if (long) i++;
            out.push({ vowel: syllabicR ? 'R' : c, long, stress });
            stress = 0;
        }
    }
    return out;
}

// The word with espeak's primary stress marked on it, or {error} when the word's syllables and
// the phonemes' do not pair up.
export function markStress(word, phonemes) {
    const letters = [...bare(word.toLowerCase())];
    const spoken = phonemeNuclei(phonemes);
    const written = writtenNuclei(word).find((r) => r.length === spoken.length);
    if (written === undefined)
        return { error: `"${word}" does not pair with the ${spoken.length} syllables of espeak's [${phonemes}]` };
    const k = spoken.findIndex((n) => n.stress === 2);
    if (k < 0) return { mark: letters.join('') };
    const { vowel, long } = spoken[k];
    const at = written[k];
    let accent;
    if (letters[at] === 'r') accent = '\u0301';
    else if (!long) accent = '\u0300';
    else accent = vowel === 'E' || vowel === 'O' ? '\u0302' : '\u0301';
    letters[at] = (letters[at] + accent).normalize('NFC');
    return { mark: letters.join('') };
}

// Where the stress falls, as the index of the stressed syllable (-1 for none): two marks agree
// on the stress when they give the same index, whatever their vowel quality.
export function stressedSyllable(mark) {
    const letters = [...mark.normalize('NFC')];
    return writtenNuclei(mark)[0].findIndex((i) => bare(letters[i]) !== letters[i]);
}

// The one-letter prepositions v, k, s, z: espeak often joins them to the next word's phonemes
// (v hlevu -> uxl'e:vu) and then speaks them as one of these sounds.
const proclitic = /^[vksz]$/i;
const procliticSounds = { v: ['w', 'u', 'f', 'v'], k: ['k', 'g'], s: ['s', 'z'], z: ['z', 's'] };

// Pairs the written words of a text with espeak's words of it. Returns [{word, phonemes}] or
// {error}.
export function pairWords(text, tokens) {
    const words = text.match(/\p{L}+/gu) || [];
    const out = [];
    let j = 0;
    for (let i = 0; i < words.length; i++) {
        const w = words[i];
        if (proclitic.test(w)) {
            const t = tokens[j];
            if (procliticSounds[w.toLowerCase()].includes(t)) { out.push({ word: w, phonemes: t }); j++; continue; }
            const sound = procliticSounds[w.toLowerCase()].find((s) => t?.startsWith(s));
            if (t === undefined || sound === undefined)
                return { error: `"${text}": cannot find "${w}" in espeak's [${tokens.join(' ')}]` };
            tokens = [...tokens];
            tokens[j] = t.slice(sound.length);
            out.push({ word: w, phonemes: sound });
            continue;
        }
        if (j >= tokens.length) return { error: `"${text}": espeak's [${tokens.join(' ')}] has too few words` };
        out.push({ word: w, phonemes: tokens[j++] });
    }
    if (j !== tokens.length) return { error: `"${text}": espeak's [${tokens.join(' ')}] has too many words` };
    return out;
}

// A line between texts that no text can produce, so that one espeak run says them all.
const separator = 'kSkSkSk';

// espeak's phonemes of every text, one list of words per text, from a single espeak-ng run.
export function espeakWords(texts) {
    const input = texts.map((t) => `${t}\n[[${separator}]].\n`).join('');
    const r = spawnSync('espeak-ng', ['-v', 'sl', '-x', '-q', '--stdin'], { input, encoding: 'utf8', maxBuffer: 1 << 26 });
    if (r.error || r.status !== 0) throw new Error(`cannot run espeak-ng: ${r.error?.message ?? r.stderr}`);
    const blocks = [[]];
    for (const token of r.stdout.split(/\s+/).filter(Boolean)) {
        if (token === separator) blocks.push([]);
        else blocks[blocks.length - 1].push(token);
    }
    blocks.pop();
    if (blocks.length !== texts.length) throw new Error(`espeak-ng gave ${blocks.length} texts for ${texts.length}`);
    return blocks;
}

// Every spoken word (small letters) -> { marks: the stress espeak gives it, sorted; where: the
// first text that speaks it }. raw: speak the texts as written, without pronunciation.tsv.
export function spokenStress(contentDir, { raw = false } = {}) {
    const { entries, errors } = readSounds(contentDir);
    const speech = entries.filter((e) => !e.written.startsWith('effect:'));
    const tokens = espeakWords(speech.map((e) => (raw ? e.written : e.text)));
    const words = new Map();
    speech.forEach((e, n) => {
        // The spoken text has [[phonemes]] in place of table words: pair against the written one.
        const pairs = pairWords(e.written, tokens[n]);
        if (pairs.error) { errors.push(`${e.where}: ${pairs.error}`); return; }
        for (const { word, phonemes } of pairs) {
            const key = word.toLowerCase();
            const m = markStress(word, phonemes);
            if (m.error) { errors.push(`${e.where}: ${m.error}`); continue; }
            if (!words.has(key)) words.set(key, { marks: new Set(), where: e.where });
            words.get(key).marks.add(m.mark);
        }
    });
    for (const v of words.values()) v.marks = [...v.marks].sort();
    return { words, errors, table: readPronunciations(contentDir).words };
}

export const joinMarks = (marks) => marks.join(' / ');

// The reviewed stress table (stress-review.tsv): word -> { espeak, correct, status, where }.
export function readReview(file) {
    const rows = new Map(), errors = [];
    if (!existsSync(file)) return { rows, errors: [`${file}: missing`] };
    readFileSync(file, 'utf8').split('\n').forEach((raw, i) => {
        const line = raw.replace(/\r$/, '');
        if (line.trim() === '' || line.startsWith('#')) return;
        const where = `${file}:${i + 1}`;
        const cols = line.split('\t');
        if (cols.length !== 4) { errors.push(`${where}: want WORD<TAB>ESPEAK<TAB>CORRECT<TAB>fixed|fine, got ${cols.length} columns`); return; }
        const [word, espeak, correct, status] = cols.map((c) => c.trim());
        if (!/^\p{Ll}+$/u.test(word)) errors.push(`${where}: "${word}" is not one word in small letters`);
        if (status !== 'fixed' && status !== 'fine') errors.push(`${where}: status "${status}" is neither fixed nor fine`);
        if (correct.includes('/')) errors.push(`${where}: "${word}" can have only one correct stress`);
        else if (bare(correct) !== bare(word)) errors.push(`${where}: "${correct}" is not "${word}" with a stress mark`);
        if (rows.has(word)) errors.push(`${where}: "${word}" is already reviewed at ${rows.get(word).where}`);
        rows.set(word, { espeak, correct, status, where });
    });
    return { rows, errors };
}

// Checks the reviewed table against what the sound build speaks now. Every spoken word must be
// reviewed or have its line in pronunciation.tsv; a "fine" word must still sound as reviewed, on
// the right syllable and outside pronunciation.tsv; a "fixed" word must be spoken as CORRECT
// through its line there; a reviewed word nobody speaks any more is stale.
export function checkReview(contentDir) {
    const review = readReview(join(contentDir, 'stress-review.tsv'));
    const { words, errors, table } = spokenStress(contentDir);
    const problems = [...errors, ...review.errors];
    for (const [word, { marks, where }] of words) {
        const said = joinMarks(marks);
        const r = review.rows.get(word);
        if (r === undefined) {
            if (!table.has(word))
                problems.push(`${where}: "${word}" is not reviewed; espeak says "${said}": add\n${word}\t${said}\t?\tfixed|fine`);
            continue;
        }
        if (r.status === 'fine') {
            if (table.has(word)) problems.push(`${r.where}: "${word}" has a line in pronunciation.tsv: review it as fixed`);
            else if (said !== r.espeak)
                problems.push(`${r.where}: espeak now says "${word}" as "${said}", reviewed as "${r.espeak}": review it again`);
            else if (marks.some((m) => stressedSyllable(m) !== stressedSyllable(r.correct)))
                problems.push(`${r.where}: "${word}" is reviewed fine, but espeak's "${said}" is not stressed as "${r.correct}"`);
        } else if (!table.has(word)) {
            problems.push(`${r.where}: "${word}" is reviewed fixed but has no line in pronunciation.tsv`);
        } else if (said !== r.correct) {
            problems.push(`${r.where}: "${word}" is spoken as "${said}" through pronunciation.tsv, reviewed correct "${r.correct}"`);
        }
    }
    for (const [word, r] of review.rows)
        if (!words.has(word)) problems.push(`${r.where}: "${word}" is reviewed but no sound table speaks it`);
    return { problems, words: words.size };
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const args = process.argv.slice(2);
    const at = args.indexOf('--content');
    const contentDir = at >= 0 ? args[at + 1] : join(toolsDir, '..');
    const { words, errors } = spokenStress(contentDir, { raw: args.includes('--raw') });
    for (const [word, { marks, where }] of [...words].sort((a, b) => a[0].localeCompare(b[0], 'sl')))
        console.log(`${word}\t${joinMarks(marks)}\t${where.replace(/^.*\/content\//, '')}`);
    for (const e of errors) console.error(e);
    process.exit(errors.length ? 1 : 0);
}
