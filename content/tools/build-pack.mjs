// SPDX-License-Identifier: GPL-3.0-or-later
// Builds one resource pack from the content tables:
//   node build-pack.mjs --pack NAME --out OUT.ipo --ipo IPO_TOOL --cache DIR [--content DIR]
// Sounds (pack "snd") are spoken by speak-one.sh, pictures rendered by render-one.sh, both two
// at a time through xargs; every result is cached under DIR by a hash of its input and of the
// generator script, so an unchanged sound or picture is never made again. Lists go in as they
// are (the ipo tool converts them to Windows-1250). Then `ipo build OUT -m MANIFEST`.
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync, mkdirSync, existsSync, renameSync, rmSync } from 'node:fs';
import { join, dirname, relative, resolve } from 'node:path';
import { spawnSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { readPack } from './tables.mjs';
import { iconSvg, composeSvg } from './iconify.mjs';
import { generatedSvg } from './slovenia-map.mjs';
import { sheetSvg } from './tracing-sheets.mjs';

const toolsDir = dirname(fileURLToPath(import.meta.url));

function parseArgs(argv) {
    const args = { content: join(toolsDir, '..') };
    for (let i = 0; i < argv.length; i += 2) {
        const key = argv[i].replace(/^--/, '');
        if (!['pack', 'out', 'ipo', 'cache', 'content'].includes(key) || argv[i + 1] === undefined)
            throw new Error(`usage: build-pack.mjs --pack NAME --out OUT.ipo --ipo IPO --cache DIR [--content DIR]`);
        args[key] = argv[i + 1];
    }
    for (const k of ['pack', 'out', 'ipo', 'cache'])
        if (!args[k]) throw new Error(`build-pack: --${k} is required`);
    return args;
}

const sha1 = (...parts) => createHash('sha1').update(parts.join('\0')).digest('hex');
const scriptHash = (...names) => sha1(...names.map((n) => readFileSync(join(toolsDir, n), 'utf8')));

// Runs SCRIPT once per job (each job a list of arguments), two at a time.
function runJobs(script, jobs) {
    if (jobs.length === 0) return;
    const argc = jobs[0].length;
    const input = jobs.map((job) => job.map((a) => `${a}\0`).join('')).join('');
    const r = spawnSync('xargs', ['-0', '-n', String(argc), '-P', '2', join(toolsDir, script)],
                        { input, stdio: ['pipe', 'inherit', 'inherit'] });
    if (r.status !== 0) throw new Error(`${script} failed for some of ${jobs.length} items`);
}

// Makes the WAVE files of the sound entries that are not cached yet; returns name -> file.
function makeSounds(entries, cacheDir) {
    const dir = join(cacheDir, 'sounds');
    mkdirSync(dir, { recursive: true });
    const version = scriptHash('speak-one.sh', 'effects.sh');
    const files = new Map(), jobs = new Map();
    for (const e of entries) {
        const file = join(dir, `${sha1(version, e.text)}.wav`);
        files.set(e, file);
        if (!existsSync(file)) jobs.set(file, [file, e.text]);
    }
    if (jobs.size) console.log(`build-pack: speaking ${jobs.size} of ${entries.length} sounds`);
    runJobs('speak-one.sh', [...jobs.values()]);
    return files;
}

// The SVG text of a picture source: an icon of an installed set, an own SVG of content/svg/
// or a picture drawn by slovenia-map.mjs or tracing-sheets.mjs (gen:), with their <icon> placeholders inlined.
export function sourceSvg(source, contentDir) {
    if (source.startsWith('svg:')) return composeSvg(readFileSync(join(contentDir, 'svg', source.slice(4)), 'utf8'));
    if (source.startsWith('gen:sheet-')) return composeSvg(sheetSvg(source.slice(10)));
    if (source.startsWith('gen:')) return composeSvg(generatedSvg(source));
    return iconSvg(source);
}

// Renders the BMP files of the picture entries that are not cached yet; returns entry -> file.
function makePictures(entries, cacheDir, contentDir) {
    const dir = join(cacheDir, 'pictures');
    mkdirSync(dir, { recursive: true });
    const version = scriptHash('render-one.sh', 'iconify.mjs');
    const files = new Map(), jobs = new Map();
    for (const e of entries) {
        const svg = sourceSvg(e.source, contentDir);
        const key = sha1(version, svg, e.size.w, e.size.h, e.opts.bg, e.opts.margin);
        const file = join(dir, `${key}.bmp`);
        files.set(e, file);
        if (!existsSync(file) && !jobs.has(file)) {
            const svgFile = join(dir, `${key}.svg`);
            writeFileSync(svgFile, svg);
            jobs.set(file, [svgFile, e.size.w, e.size.h, e.opts.bg, e.opts.margin, file]);
        }
    }
    if (jobs.size) console.log(`build-pack: rendering ${jobs.size} of ${entries.length} pictures`);
    runJobs('render-one.sh', [...jobs.values()]);
    // Pictures for 256-colour displays: the rendered picture reduced to an 8-bit palette.
    for (const e of entries.filter((x) => x.opts.palette)) {
        const file = files.get(e), out = file.replace(/\.bmp$/, '-palette8u.bmp');
        if (!existsSync(out)) {
            const r = spawnSync('convert', [file, '-dither', 'None', '-colors', '256', '-type', 'Palette', '-compress', 'None',
                                            `BMP3:${out}.part`], { stdio: 'inherit' });
            if (r.status !== 0) throw new Error(`${e.where}: could not reduce ${file} to 256 colours`);
            renameSync(`${out}.part`, out);
        }
        files.set(e, out);
    }
    return files;
}

function main() {
    const args = parseArgs(process.argv.slice(2));
    const contentDir = resolve(args.content);
    const cacheDir = resolve(args.cache);
    const { entries, errors } = readPack(contentDir, args.pack);
    if (errors.length) {
        for (const e of errors) console.error(e);
        throw new Error(`pack ${args.pack}: ${errors.length} problem(s) in the tables`);
    }
    if (entries.length === 0) throw new Error(`pack ${args.pack}: nothing to put in it`);

    const sounds = makeSounds(entries.filter((e) => e.kind === 'WAVE'), cacheDir);
    const pictures = makePictures(entries.filter((e) => e.kind === 'BITMAP'), cacheDir, contentDir);

    const manifestDir = join(cacheDir, 'manifests');
    mkdirSync(manifestDir, { recursive: true });
    const manifest = join(manifestDir, `${args.pack}.manifest`);
    const lines = entries.map((e) => {
        const file = e.kind === 'WAVE' ? sounds.get(e) : e.kind === 'BITMAP' ? pictures.get(e) : e.file;
        if (!existsSync(file)) throw new Error(`${e.where}: ${file} was not made`);
        return `${e.kind}\t${e.name}\t${relative(manifestDir, file)}`;
    });
    writeFileSync(manifest, lines.join('\n') + '\n');

    const out = resolve(args.out);
    const partial = `${out}.part`;
    rmSync(partial, { force: true });
    const r = spawnSync(args.ipo, ['build', partial, '-m', manifest], { stdio: 'inherit' });
    if (r.status !== 0) {
        rmSync(partial, { force: true });
        throw new Error(`ipo build failed for ${args.pack} (manifest ${manifest})`);
    }
    renameSync(partial, out);
    console.log(`build-pack: ${out}: ${entries.length} resources`);
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    try {
        main();
    } catch (e) {
        console.error(`build-pack: ${e.message}`);
        process.exit(1);
    }
}
