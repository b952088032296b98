// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the program's own pictures, program/pictures.tsv: FILE.png<TAB>SOURCE<TAB>WxH,
// SOURCE an own SVG of content/program/ ("svg:menu.svg") or an icon ("noto:door").
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { parseSize } from './tables.mjs';

export function readProgramTable(contentDir) {
    const file = join(contentDir, 'program', 'pictures.tsv');
    const entries = [], errors = [];
    const seen = new Set();
    readFileSync(file, 'utf8').split('\n').forEach((raw, i) => {
        const line = raw.replace(/\r$/, '');
        if (line.trim() === '' || line.startsWith('#')) return;
        const where = `${file}:${i + 1}`;
        const cols = line.split('\t').map((c) => c.trim());
        if (cols.length !== 3) { errors.push(`${where}: want FILE.png<TAB>SOURCE<TAB>WxH`); return; }
        const [name, source, sizeText] = cols;
        if (!/^[a-z0-9-]+\.png$/.test(name)) errors.push(`${where}: bad file name "${name}"`);
        if (seen.has(name)) errors.push(`${where}: duplicate ${name}`);
        seen.add(name);
        const size = parseSize(sizeText);
        if (!size) errors.push(`${where}: bad size "${sizeText}"`);
        if (!/^(svg:(?!.*\.\.)[\w./-]+\.svg|[a-z0-9-]+:[a-z0-9-]+(#[0-9a-fA-F]{3,6})?)$/.test(source))
            errors.push(`${where}: bad source "${source}"`);
        entries.push({ name, source, size, where });
    });
    return { entries, errors };
}
