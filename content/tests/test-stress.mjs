// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of tools/stress.mjs: reading espeak's stress off its phonemes onto the written word,
// pairing a sentence's words with espeak's, and the review check on small content folders
// spoken by the real espeak-ng.
//   node --test test-stress.mjs
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, mkdirSync, writeFileSync, rmSync } from 'node:fs';
import { join } from 'node:path';
import { tmpdir } from 'node:os';
import { markStress, pairWords, stressedSyllable, checkReview } from '../tools/stress.mjs';

test('the stressed vowel is marked as the dictionary marks it', () => {
    const cases = [
        ['pobirajo', "pObiR'a:jO", 'pobirájo'],
        ['lovi', "l'O:vi", 'lôvi'],                 // long open o
        ['nebo', "nEb'o:", 'nebó'],                 // long closed o
        ['dim', "d'im", 'dìm'],                     // short
        ['črka', "tS'@RkE", 'čŕka'],                // syllabic r
        ['rdeč', "@Rd'EtS", 'rdèč'],                // syllabic r unstressed, then a short e
        ['mleko', "m@-l'e:kO", 'mléko'],            // espeak's glide between m and l is no syllable
        ['črv', "tS'@Ru", 'čŕv'],                   // final v sounded [u]
        ['Vstavi', "ust'a:vi", 'vstávi'],           // initial v sounded [u]
        ['iguana', "igw'a:na", 'iguána'],           // u sounded [w]
        ['avion', "'a:vjOn", 'ávion'],              // i sounded [j]
        ['jé', "j'e:", 'jé'],                       // a word written with its accent
        ['na', 'na', 'na'],                         // unstressed
    ];
    for (const [word, phonemes, mark] of cases)
        assert.deepEqual(markStress(word, phonemes), { mark }, `${word} [${phonemes}]`);
    assert.match(markStress('banana', "b'a:na").error, /banana/);
    assert.equal(stressedSyllable('pobírajo'), 1);
    assert.equal(stressedSyllable('čŕka'), 0);
    assert.equal(stressedSyllable('na'), -1);
    assert.equal(stressedSyllable('bêre'), stressedSyllable('bére'));
});

test("a sentence's words pair with espeak's, one-letter prepositions joined or apart", () => {
    assert.deepEqual(pairWords('V hlevu je krava.', ["uxl'e:vu", 'jE', "kR'a:va"]), [
        { word: 'V', phonemes: 'u' }, { word: 'hlevu', phonemes: "xl'e:vu" },
        { word: 'je', phonemes: 'jE' }, { word: 'krava', phonemes: "kR'a:va" }]);
    assert.deepEqual(pairWords('s travo', ['s', "tR'a:vO"]),
        [{ word: 's', phonemes: 's' }, { word: 'travo', phonemes: "tR'a:vO" }]);
    assert.match(pairWords('Muca pije mleko.', ["m'u:tsa", "p'i:jE"]).error, /too few/);
    assert.match(pairWords('Muca pije.', ["m'u:tsa", "p'i:jE", "ml'e:kO"]).error, /too many/);
    assert.match(pairWords('k hiši', ["x'i:Si"]).error, /cannot find "k"/);
});

// A content folder speaking "Deček lovi deklico." with lovi fixed and the rest reviewed; each
// case changes one table and expects one complaint.
const review = [
    'deček\tdéček\tdéček\tfine',
    'lovi\tlóvi\tlôvi\tfixed',
    'deklico\tdeklíco\tdéklico\tfixed',
];
const pron = ["lovi\tl'O:vi", "deklico\td'e:klitsO"];
function folder(t, { sentence = 'Deček lovi deklico.', rows = review, lines = pron } = {}) {
    const dir = mkdtempSync(join(tmpdir(), 'stress-'));
    t.after(() => rmSync(dir, { recursive: true, force: true }));
    mkdirSync(join(dir, 'sounds'));
    writeFileSync(join(dir, 'sounds', 'a.tsv'), `C57\t${sentence}\n`);
    writeFileSync(join(dir, 'pronunciation.tsv'), lines.join('\n') + '\n');
    writeFileSync(join(dir, 'stress-review.tsv'), '# test\n' + rows.join('\n') + '\n');
    return checkReview(dir).problems;
}

test('the review check passes a reviewed folder and finds each kind of fault', (t) => {
    assert.deepEqual(folder(t), []);
    const replace = (i, row) => review.map((r, k) => (k === i ? row : r));
    const faults = [
        ['a new word', { sentence: 'Deček lovi deklico in psa.' }, /"psa" is not reviewed; espeak says "psá"/],
        ['a word nobody speaks', { rows: [...review, 'mačka\tmáčka\tmáčka\tfine'] }, /"mačka" is reviewed but no sound table/],
        ['espeak says a fine word otherwise', { rows: replace(0, 'deček\tdečék\tdéček\tfine') }, /espeak now says "deček" as "déček"/],
        ['a fine word stressed wrongly', { rows: replace(0, 'deček\tdéček\tdečék\tfine') }, /not stressed as "dečék"/],
        ['a fixed word without its line', { lines: [pron[0]] }, /"deklico" is reviewed fixed but has no line/],
        ['a line giving other stress', { lines: [pron[0], "deklico\tdEkl'i:tsO"] }, /spoken as "deklíco" through pronunciation.tsv/],
        ['a fine word with a line', { lines: [...pron, "deček\td'e:tSEk"] }, /"deček" has a line in pronunciation.tsv/],
        ['a correct form of another word', { rows: replace(1, 'lovi\tlóvi\tlôva\tfixed') }, /"lôva" is not "lovi"/],
    ];
    for (const [name, opts, expect] of faults) {
        const problems = folder(t, opts);
        assert.ok(problems.some((p) => expect.test(p)), `${name}: ${problems.join('; ') || 'no complaint'}`);
    }
    // A word of the pronunciation table need not be reviewed.
    assert.deepEqual(folder(t, { rows: review.slice(0, 2) }), []);
});
