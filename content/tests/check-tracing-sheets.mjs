// SPDX-License-Identifier: GPL-3.0-or-later
// The tracing sheets: every maze can be walked from the animal to its goal through the walls
// that are drawn, its outline is closed but for those two ways, mazes grow harder, the table
// of the pack lists the sheets in the screen's order, and every sheet draws inside its area.
//   node check-tracing-sheets.mjs CONTENT_DIR
import { readFileSync } from 'node:fs';
import { join } from 'node:path';

const contentDir = process.argv[2];
const { SHEETS, MAZES, sheetMaze, maze, solveMaze, borderOpenings, sheetSvg, WIDTH, HEIGHT } =
    await import(join(contentDir, 'tools', 'tracing-sheets.mjs'));
const { composeSvg } = await import(join(contentDir, 'tools', 'iconify.mjs'));
const problems = [];

// The solver must be able to say no, or "solvable" would mean nothing: a wall across the
// way out of a one-row maze cuts it.
const corridor = maze(3, 1, 1);
if (!solveMaze(corridor)) problems.push('a 3 × 1 maze has no way through');
if (solveMaze({ ...corridor, walls: [...corridor.walls, [2, 0, 2, 1]] }))
    problems.push('the solver walks through a wall');

let previous = { 5: 0, 10: 0 };
for (const s of SHEETS.filter((x) => MAZES[x.name])) {
    const m = sheetMaze(s.name);
    const way = solveMaze(m);
    if (!way) problems.push(`${s.name}: no way from the start to the goal`);
    const open = borderOpenings(m).sort();
    const want = [`left ${m.entry}`, `right ${m.exit}`].sort();
    if (JSON.stringify(open) !== JSON.stringify(want))
        problems.push(`${s.name}: the outline is open at ${open.join(', ')}, want only ${want.join(', ')}`);
    const cells = m.cols * m.rows;
    if (cells <= previous[s.pen]) problems.push(`${s.name}: not harder than the maze before it`);
    previous[s.pen] = cells;
    // The way for the pen: wide enough that the line fits between the walls.
    const cell = Math.min((WIDTH - 2 * 62) / m.cols, (HEIGHT - 32) / m.rows);
    if (cell < 3 * s.pen) problems.push(`${s.name}: ways of ${cell.toFixed(0)} px are too narrow for a ${s.pen} px pen`);
}

// The table of the pack names the sheets in the order of the thumbnails.
const table = readFileSync(join(contentDir, 'pictures', 'Grafomotorika.tsv'), 'utf8')
    .split('\n').filter((l) => l.trim() && !l.startsWith('#')).map((l) => l.split('\t'));
const tableNames = table.map(([name]) => name);
const want = SHEETS.map((s) => s.name);
if (JSON.stringify(tableNames) !== JSON.stringify(want))
    problems.push(`Grafomotorika.tsv lists ${tableNames.join(' ')}, want ${want.join(' ')}`);
for (const [name, source, size] of table)
    if (source !== `gen:sheet-${name}` || size !== `${WIDTH}x${HEIGHT}`)
        problems.push(`Grafomotorika.tsv: ${name} should be gen:sheet-${name} at ${WIDTH}x${HEIGHT}`);
if (SHEETS.length !== 29 || SHEETS.slice(19).some((s) => s.pen !== 5) || SHEETS.slice(0, 19).some((s) => s.pen !== 10))
    problems.push('want 29 sheets, the last ten for the 5-pixel pen');

// Every sheet draws (its icons exist) and keeps its numbers inside the area.
for (const s of SHEETS) {
    let svg;
    try {
        svg = sheetSvg(s.name);
        composeSvg(svg);
    } catch (e) {
        problems.push(`${s.name}: ${e.message}`);
        continue;
    }
    for (const m of svg.matchAll(/<icon [^>]*x="(-?[\d.]+)" y="(-?[\d.]+)" width="([\d.]+)" height="([\d.]+)"/g)) {
        const [x, y, w, h] = m.slice(1).map(Number);
        if (x < 0 || y < 0 || x + w > WIDTH || y + h > HEIGHT)
            problems.push(`${s.name}: a picture at ${x},${y} (${w}×${h}) leaves the sheet`);
    }
    for (const m of svg.matchAll(/ d="([^"]*)"/g))
        for (const pair of m[1].matchAll(/(-?[\d.]+) (-?[\d.]+)/g)) {
            const [x, y] = [Number(pair[1]), Number(pair[2])];
            if (x < 2 || y < 2 || x > WIDTH - 2 || y > HEIGHT - 2) {
                problems.push(`${s.name}: a line reaches ${x},${y}, off the sheet`);
                break;
            }
        }
}

for (const p of problems) console.error(p);
if (problems.length) process.exit(1);
console.log(`check-tracing-sheets: ${SHEETS.length} sheets, ${Object.keys(MAZES).length} mazes solvable`);
