// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the program's own pictures (program/pictures.tsv) to PNG with alpha, and copies
// CREDITS as credits.txt, into the folder the build embeds as Qt resources:
//   node program-pictures.mjs --out DIR [--content DIR]
import { readFileSync, writeFileSync, mkdirSync, copyFileSync, renameSync } from 'node:fs';
import { join, dirname, resolve } from 'node:path';
import { spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { readProgramTable } from './program-table.mjs';
import { iconSvg, composeSvg } from './iconify.mjs';

const toolsDir = dirname(fileURLToPath(import.meta.url));

function run(cmd, args) {
    return new Promise((ok, fail) => {
        const p = spawn(cmd, args, { stdio: ['ignore', 'inherit', 'inherit'] });
        p.on('error', fail);
        p.on('exit', (code) => (code === 0 ? ok() : fail(new Error(`${cmd} ${args.join(' ')} exited with ${code}`))));
    });
}

// Runs the tasks two at a time (the build machines have two cores).
async function pool(tasks, width = 2) {
    let next = 0;
    const worker = async () => { while (next < tasks.length) await tasks[next++](); };
    await Promise.all(Array.from({ length: width }, worker));
}

async function main() {
    const args = { content: join(toolsDir, '..') };
    const argv = process.argv.slice(2);
    for (let i = 0; i < argv.length; i += 2) args[argv[i].replace(/^--/, '')] = argv[i + 1];
    if (!args.out) throw new Error('usage: program-pictures.mjs --out DIR [--content DIR]');
    const contentDir = resolve(args.content), out = resolve(args.out);
    const svgDir = join(out, 'svg');
    mkdirSync(svgDir, { recursive: true });

    const { entries, errors } = readProgramTable(contentDir);
    if (errors.length) throw new Error(errors.join('\n'));
    await pool(entries.map((e) => async () => {
        const svg = e.source.startsWith('svg:')
            ? composeSvg(readFileSync(join(contentDir, 'program', e.source.slice(4)), 'utf8'))
            : iconSvg(e.source);
        const svgFile = join(svgDir, e.name.replace(/\.png$/, '.svg'));
        writeFileSync(svgFile, svg);
        // Exactly the size asked for: the SVGs are drawn for it, icons are square.
        const partial = join(out, `${e.name}.part`);
        await run('rsvg-convert', ['-w', String(e.size.w), '-h', String(e.size.h), svgFile, '-o', partial]);
        renameSync(partial, join(out, e.name));
    }));
    copyFileSync(join(contentDir, 'CREDITS'), join(out, 'credits.txt'));
}

main().catch((e) => {
    console.error(`program-pictures: ${e.message}`);
    process.exit(1);
});
