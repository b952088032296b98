// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the content tables before anything is generated from them:
//   node check-content.mjs [--content DIR] [--copyright FILE]
// - every table line parses (names, sizes, options, sources);
// - names are unique within a pack (sounds: across all sound tables, since all go to "snd");
// - every icon a table or an own SVG names exists in its installed set, every svg: file exists,
//   every effect: is one effects.sh makes;
// - every name of required-sounds.txt has a sound;
// - CREDITS names every icon set in use and no other, every licence file it names exists, and
//   its lines are short enough for the about screen;
// - the Debian copyright file, when given, has a Files paragraph for every icon set in use and
//   none for another, and every licence text it takes from licenses/ exists.
// Prints every problem found and exits 1 when there is any.
import { readFileSync, readdirSync, existsSync } from 'node:fs';
import { join, dirname, resolve } from 'node:path';
import { spawnSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { packNames, readPack, resourceName } from './tables.mjs';
import { readProgramTable } from './program-table.mjs';
import { iconExists, iconRefsIn, parseIconRef } from './iconify.mjs';

const toolsDir = dirname(fileURLToPath(import.meta.url));

// What CREDITS must mention when a set is used.
const setCredits = {
    'noto': 'Noto Emoji',
    'fluent-emoji-flat': 'Fluent Emoji',
    'game-icons': 'Game Icons',
    'twemoji': 'Twemoji',
};
const creditsLineLimit = 40;

function readNames(file) {
    return readFileSync(file, 'utf8').split('\n').map((l) => l.trim())
        .filter((l) => l !== '' && !l.startsWith('#'));
}

export function checkContent(contentDir, copyrightFile) {
    const problems = [];
    const usedSets = new Set();
    const checkIcon = (ref, where) => {
        if (!iconExists(ref)) { problems.push(`${where}: icon ${ref} not found in the installed sets`); return; }
        usedSets.add(parseIconRef(ref).set);
    };
    const checkOwnSvg = (file, where) => {
        if (!existsSync(file)) { problems.push(`${where}: ${file} does not exist`); return; }
        for (const ref of iconRefsIn(readFileSync(file, 'utf8'))) checkIcon(ref, file);
    };
    const effects = spawnSync(join(toolsDir, 'effects.sh'), ['--list'], { encoding: 'utf8' })
        .stdout.split('\n').filter(Boolean);

    let soundNames = new Set();
    for (const pack of packNames(contentDir)) {
        const { entries, errors } = readPack(contentDir, pack);
        problems.push(...errors);
        for (const e of entries) {
            if (e.kind === 'WAVE') {
                soundNames.add(e.name);
                if (e.text.startsWith('effect:') && !effects.includes(e.text.slice(7)))
                    problems.push(`${e.where}: unknown effect "${e.text.slice(7)}" (known: ${effects.join(', ')})`);
            } else if (e.kind === 'BITMAP') {
                if (e.source.startsWith('svg:')) checkOwnSvg(join(contentDir, 'svg', e.source.slice(4)), e.where);
                else if (e.source.startsWith('gen:card-')) checkIcon(e.source.split('=')[1], e.where);
                else if (!e.source.startsWith('gen:')) checkIcon(e.source, e.where);
            }
        }
    }

    const required = join(contentDir, 'required-sounds.txt');
    if (existsSync(required)) {
        for (const name of readNames(required))
            if (!soundNames.has(resourceName(name)))
                problems.push(`${required}: no sound table gives "${name}"`);
    }

    if (existsSync(join(contentDir, 'program', 'pictures.tsv'))) {
        const { entries, errors } = readProgramTable(contentDir);
        problems.push(...errors);
        for (const e of entries) {
            if (e.source.startsWith('svg:')) checkOwnSvg(join(contentDir, 'program', e.source.slice(4)), e.where);
            else checkIcon(e.source, e.where);
            // Full-screen pictures: most displays show only the top 573 of the 600 rows, so no
            // placed picture may reach into the last 27 (the ground may continue there).
            const file = join(contentDir, 'program', e.source.slice(4));
            if (e.source.startsWith('svg:') && e.size?.w === 800 && e.size?.h === 600 && existsSync(file)) {
                for (const m of readFileSync(file, 'utf8').matchAll(/<icon\b[^>]*>/g)) {
                    const y = Number(/\by="([\d.]+)"/.exec(m[0])?.[1]), h = Number(/\bheight="([\d.]+)"/.exec(m[0])?.[1]);
                    if (y + h > 573)
                        problems.push(`${file}: ${m[0].slice(0, 60)}... reaches row ${y + h}, below the visible 573`);
                }
            }
        }
    }
    // Own SVGs that no table names yet are checked too: a broken one would fail only later.
    for (const sub of ['svg', 'program']) {
        const dir = join(contentDir, sub);
        if (!existsSync(dir)) continue;
        for (const f of readdirSync(dir, { recursive: true }).filter((n) => n.endsWith('.svg')))
            for (const ref of iconRefsIn(readFileSync(join(dir, f), 'utf8')))
                if (!iconExists(ref)) problems.push(`${join(dir, f)}: icon ${ref} not found`);
    }

    const creditsFile = join(contentDir, 'CREDITS');
    if (!existsSync(creditsFile)) {
        problems.push(`${creditsFile}: missing`);
    } else {
        const credits = readFileSync(creditsFile, 'utf8');
        for (const set of usedSets)
            if (!credits.includes(setCredits[set]))
                problems.push(`${creditsFile}: icons of ${set} are used but "${setCredits[set]}" is not credited`);
        // The list of sources follows the picture tables: a set no picture uses is not credited.
        for (const [set, title] of Object.entries(setCredits))
            if (!usedSets.has(set) && credits.includes(title))
                problems.push(`${creditsFile}: "${title}" is credited but no picture uses ${set}`);
        for (const m of credits.matchAll(/licenses\/[\w.-]+/g))
            if (!existsSync(join(contentDir, m[0])))
                problems.push(`${creditsFile}: names ${m[0]}, which does not exist`);
        credits.split('\n').forEach((line, i) => {
            if ([...line].length > creditsLineLimit)
                problems.push(`${creditsFile}:${i + 1}: longer than ${creditsLineLimit} characters`);
        });
    }
    if (copyrightFile) {
        if (!existsSync(copyrightFile)) {
            problems.push(`${copyrightFile}: missing`);
        } else {
            const copyright = readFileSync(copyrightFile, 'utf8');
            const files = (set) => `Files: content/node_modules/@iconify-json/${set}/*`;
            const paragraphs = new Set(copyright.split('\n').filter((l) => l.startsWith('Files:')));
            for (const set of usedSets)
                if (!paragraphs.has(files(set)))
                    problems.push(`${copyrightFile}: icons of ${set} are used but there is no "${files(set)}"`);
            for (const line of paragraphs) {
                const set = /^Files: content\/node_modules\/@iconify-json\/([\w-]+)\/\*$/.exec(line)?.[1];
                if (set && !usedSets.has(set))
                    problems.push(`${copyrightFile}: "${line}" names a set no picture uses`);
            }
            for (const m of copyright.matchAll(/^@(licenses\/[\w.-]+)@$/gm))
                if (!existsSync(join(contentDir, m[1])))
                    problems.push(`${copyrightFile}: takes ${m[1]}, which does not exist`);
        }
    }
    return [...new Set(problems)];
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    const argv = process.argv.slice(2);
    const option = (name) => { const i = argv.indexOf(name); return i >= 0 ? argv[i + 1] : undefined; };
    const contentDir = resolve(option('--content') ?? join(toolsDir, '..'));
    const copyright = option('--copyright');
    let problems;
    try {
        problems = checkContent(contentDir, copyright && resolve(copyright));
    } catch (e) {
        problems = [e.message];
    }
    for (const p of problems) console.error(p);
    if (problems.length) {
        console.error(`check-content: ${problems.length} problem(s)`);
        process.exit(1);
    }
    console.log(`check-content: ${contentDir}: tables are in order`);
}
