// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the reviewed stress of the spoken words (stress-review.tsv) against what espeak-ng says
// in the texts of the sound tables now, with pronunciation.tsv applied: a new word, a word
// espeak now says differently, or a line of pronunciation.tsv that no longer gives the reviewed
// stress is a fault (see checkReview in tools/stress.mjs).
//   node check-stress.mjs CONTENT_DIR
// Prints every fault and exits 1 if there is one.
import { checkReview } from '../tools/stress.mjs';

const contentDir = process.argv[2];
if (!contentDir) { console.error('usage: check-stress.mjs CONTENT_DIR'); process.exit(2); }
const { problems, words } = checkReview(contentDir);
for (const p of problems) console.error(p);
if (problems.length) process.exit(1);
console.log(`check-stress: ${words} spoken words, each reviewed or in pronunciation.tsv, all as reviewed`);
