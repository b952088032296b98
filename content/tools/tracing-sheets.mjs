// SPDX-License-Identifier: GPL-3.0-or-later
// The tracing sheets of the follow-lines screen (pack "Grafomotorika"), drawn as SVG for the
// 593 × 400 drawing area: black lines on white, so the red pen shows on the paper and the
// lines stay black under it. The first sheets are lines to trace from a picture to a picture
// (straight, slanted, wavy, zigzag, arches, loops, spirals, circles, steps, paths, shapes), then
// mazes from a seeded generator, each from an animal to what it is looking for. The last ten
// sheets are for the thin 5-pixel pen: finer lines and narrower mazes.
//   gen:sheet-NAME   in a picture table (NAME one of SHEETS below)

export const WIDTH = 593, HEIGHT = 400;

// The sheets in the order of the screen's thumbnails, with the pen width each is drawn for.
export const SHEETS = [
    ...['S1', 'S2', 'S20A', 'S20B', 'S21A'].map((name) => ({ name, pen: 10 })),
    ...['S3', 'S4', 'S5', 'S6', 'S7', 'S8', 'S9', 'S10', 'S11', 'S12', 'S13', 'S14', 'S15', 'S16']
        .map((name) => ({ name, pen: 10 })),
    ...['S17', 'S18', 'S19', 'S22', 'S23', 'S24', 'S25', 'S26', 'S27', 'S28'].map((name) => ({ name, pen: 5 })),
];

// Who goes where: an animal and what it looks for, one pair per row or maze.
const PAIRS = [
    ['mouse-face', 'cheese-wedge'], ['dog-face', 'bone'], ['honeybee', 'blossom'],
    ['rabbit-face', 'carrot'], ['bird', 'nest-with-eggs'], ['monkey-face', 'banana'],
    ['bear', 'honey-pot'], ['cat-face', 'fish'], ['hedgehog', 'red-apple'],
    ['chipmunk', 'chestnut'], ['frog', 'four-leaf-clover'], ['snail', 'leafy-green'],
    ['butterfly', 'sunflower'], ['baby-chick', 'egg'], ['turtle', 'water-wave'],
    ['automobile', 'house'], ['duck', 'droplet'],
];

// A small seeded generator (mulberry32), so every build draws the same sheets.
export function random(seed) {
    let a = seed >>> 0;
    return () => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = a;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
}

// A perfect maze of cols × rows cells, carved by a depth-first walk from a random cell, with
// the way in on the left of row `entry` and the way out on the right of row `exit`. Returns
// the wall segments to draw (grid coordinates), so a check can find its way through exactly
// what is drawn.
export function maze(cols, rows, seed) {
    const rnd = random(seed);
    const id = (c, r) => r * cols + c;
    // open[id] holds the directions carved from a cell: 'E' and 'S' are enough to draw.
    const east = new Array(cols * rows).fill(false), south = new Array(cols * rows).fill(false);
    const seen = new Array(cols * rows).fill(false);
    const stack = [[Math.floor(rnd() * cols), Math.floor(rnd() * rows)]];
    seen[id(...stack[0])] = true;
    while (stack.length) {
        const [c, r] = stack[stack.length - 1];
        const next = [[c + 1, r], [c - 1, r], [c, r + 1], [c, r - 1]]
            .filter(([x, y]) => x >= 0 && y >= 0 && x < cols && y < rows && !seen[id(x, y)]);
        if (!next.length) {
            stack.pop();
            continue;
        }
        const [x, y] = next[Math.floor(rnd() * next.length)];
        if (x > c) east[id(c, r)] = true;
        else if (x < c) east[id(x, y)] = true;
        else if (y > r) south[id(c, r)] = true;
        else south[id(x, y)] = true;
        seen[id(x, y)] = true;
        stack.push([x, y]);
    }
    const entry = Math.floor(rnd() * rows), exit = Math.floor(rnd() * rows);
    // Walls as unit segments [x1, y1, x2, y2] on the grid lines, then joined into runs.
    const units = [];
    for (let r = 0; r < rows; ++r)
        for (let c = 0; c < cols; ++c) {
            if (c === cols - 1 ? r !== exit : !east[id(c, r)]) units.push([c + 1, r, c + 1, r + 1]);
            if (r === rows - 1 || !south[id(c, r)]) units.push([c, r + 1, c + 1, r + 1]);
        }
    for (let c = 0; c < cols; ++c) units.push([c, 0, c + 1, 0]);
    for (let r = 0; r < rows; ++r) if (r !== entry) units.push([0, r, 0, r + 1]);
    return { cols, rows, entry, exit, walls: joinRuns(units) };
}

// Joins touching unit segments of one line into longer ones (fewer, cleaner strokes).
function joinRuns(units) {
    const horizontal = units.filter(([, y1, , y2]) => y1 === y2).sort((a, b) => a[1] - b[1] || a[0] - b[0]);
    const vertical = units.filter(([x1, , x2]) => x1 === x2).sort((a, b) => a[0] - b[0] || a[1] - b[1]);
    const runs = [];
    for (const s of horizontal) {
        const last = runs[runs.length - 1];
        if (last && last[1] === last[3] && last[1] === s[1] && last[2] === s[0]) last[2] = s[2];
        else runs.push([...s]);
    }
    for (const s of vertical) {
        const last = runs[runs.length - 1];
        if (last && last[0] === last[2] && last[0] === s[0] && last[3] === s[1]) last[3] = s[3];
        else runs.push([...s]);
    }
    return runs;
}

// The cells of the shortest way from the entry to the exit through the drawn walls, or null.
// A passage between two neighbouring cells is open unless a wall segment covers the edge
// between them.
export function solveMaze(m) {
    const blocked = (x1, y1, x2, y2) => m.walls.some(([a, b, c, d]) =>
        (x1 === x2 && a === c && a === x1 && Math.min(b, d) <= y1 && Math.max(b, d) >= y2) ||
        (y1 === y2 && b === d && b === y1 && Math.min(a, c) <= x1 && Math.max(a, c) >= x2));
    const key = (c, r) => `${c},${r}`;
    const from = new Map([[key(0, m.entry), null]]);
    const queue = [[0, m.entry]];
    while (queue.length) {
        const [c, r] = queue.shift();
        if (c === m.cols - 1 && r === m.exit) {
            const path = [];
            for (let k = key(c, r); k !== null; k = from.get(k)) path.unshift(k);
            return path;
        }
        const moves = [
            [c + 1, r, () => blocked(c + 1, r, c + 1, r + 1)], [c - 1, r, () => blocked(c, r, c, r + 1)],
            [c, r + 1, () => blocked(c, r + 1, c + 1, r + 1)], [c, r - 1, () => blocked(c, r, c + 1, r)],
        ];
        for (const [x, y, wall] of moves) {
            if (x < 0 || y < 0 || x >= m.cols || y >= m.rows || from.has(key(x, y)) || wall()) continue;
            from.set(key(x, y), key(c, r));
            queue.push([x, y]);
        }
    }
    return null;
}

// Whether the outline is closed but for the two ways in and out.
export function borderOpenings(m) {
    const covered = (x1, y1, x2, y2) => m.walls.some(([a, b, c, d]) =>
        (x1 === x2 && a === c && a === x1 && Math.min(b, d) <= y1 && Math.max(b, d) >= y2) ||
        (y1 === y2 && b === d && b === y1 && Math.min(a, c) <= x1 && Math.max(a, c) >= x2));
    const open = [];
    for (let r = 0; r < m.rows; ++r) {
        if (!covered(0, r, 0, r + 1)) open.push(`left ${r}`);
        if (!covered(m.cols, r, m.cols, r + 1)) open.push(`right ${r}`);
    }
    for (let c = 0; c < m.cols; ++c) {
        if (!covered(c, 0, c + 1, 0)) open.push(`top ${c}`);
        if (!covered(c, m.rows, c + 1, m.rows)) open.push(`bottom ${c}`);
    }
    return open;
}

// The mazes: ever more cells; the ones for the thin pen have narrower ways.
export const MAZES = {
    S12: [4, 3], S13: [5, 3], S14: [6, 4], S15: [7, 4], S16: [8, 5],
    S22: [8, 5], S23: [9, 6], S24: [10, 6], S25: [11, 7], S26: [12, 8], S27: [14, 9], S28: [16, 10],
};
const mazeSeed = (name) => [...name].reduce((h, ch) => (h * 31 + ch.charCodeAt(0)) >>> 0, 7);
export const sheetMaze = (name) => maze(...MAZES[name], mazeSeed(name));

const f = (v) => (Math.round(v * 10) / 10).toString();
const icon = (name, cx, cy, size) =>
    `<icon src="noto:${name}" x="${f(cx - size / 2)}" y="${f(cy - size / 2)}" width="${size}" height="${size}"/>`;

// A line to trace: dashed, so the child sees where to go and the pen fills the gaps.
const guide = (d, thin) => thin
    ? `<path d="${d}" fill="none" stroke="#000" stroke-width="3" stroke-dasharray="9 6" stroke-linecap="round" stroke-linejoin="round"/>`
    : `<path d="${d}" fill="none" stroke="#000" stroke-width="5" stroke-dasharray="16 9" stroke-linecap="round" stroke-linejoin="round"/>`;
const dotted = (d, thin) =>
    `<path d="${d}" fill="none" stroke="#000" stroke-width="${thin ? 5 : 8}" stroke-dasharray="0.1 ${thin ? 11 : 17}" stroke-linecap="round"/>`;

// A polyline of a function sampled along x.
function curve(x0, x1, fn, step = 2) {
    const pts = [];
    for (let x = x0; x <= x1 + 1e-9; x += step) pts.push([x, fn(x)]);
    return 'M' + pts.map(([x, y]) => `${f(x)} ${f(y)}`).join(' L');
}
function param(t0, t1, fn, steps = 400) {
    const pts = [];
    for (let i = 0; i <= steps; ++i) pts.push(fn(t0 + ((t1 - t0) * i) / steps));
    return 'M' + pts.map(([x, y]) => `${f(x)} ${f(y)}`).join(' L');
}

// Rows of one kind of line, each from an animal on the left to its goal on the right.
function rows(count, pairsFrom, lineFor, { thin = false, iconSize = 54, top = 30, bottom = HEIGHT - 30 } = {}) {
    const parts = [];
    const step = count > 1 ? (bottom - top) / (count - 1) : 0;
    const x0 = 20 + iconSize + 8, x1 = WIDTH - 20 - iconSize - 8;
    for (let i = 0; i < count; ++i) {
        const y = count > 1 ? top + i * step : HEIGHT / 2;
        const [a, b] = PAIRS[(pairsFrom + i) % PAIRS.length];
        parts.push(icon(a, 20 + iconSize / 2, y, iconSize), icon(b, WIDTH - 20 - iconSize / 2, y, iconSize));
        parts.push(lineFor(x0, x1, y, thin));
    }
    return parts;
}

const straight = (x0, x1, y, thin) => guide(`M${x0} ${y} L${x1} ${y}`, thin);
const wave = (amp, period) => (x0, x1, y, thin) =>
    guide(curve(x0, x1, (x) => y + amp * Math.sin(((x - x0) / period) * 2 * Math.PI)), thin);
function zigzag(amp, period) {
    return (x0, x1, y, thin) => {
        const pts = [];
        for (let i = 0, x = x0; x <= x1 + 1e-9; ++i, x += period / 2) pts.push(`${f(x)} ${f(y + (i % 2 ? -amp : amp))}`);
        return guide('M' + pts.join(' L'), thin);
    };
}
const arches = (height, width) => (x0, x1, y, thin) =>
    guide(curve(x0, x1, (x) => y + height / 2 - height * Math.abs(Math.sin(((x - x0) / width) * Math.PI)), 1.5), thin);
const garlands = (height, width) => (x0, x1, y, thin) =>
    guide(curve(x0, x1, (x) => y - height / 2 + height * Math.abs(Math.sin(((x - x0) / width) * Math.PI)), 1.5), thin);
function loops(size, count) {
    return (x0, x1, y, thin) => {
        // A prolate trochoid: the pen goes forward and turns a small loop at every step.
        const r = (x1 - x0 - 2 * size) / (2 * Math.PI * count), d = size;
        return guide(param(0, 2 * Math.PI * count, (t) => [x0 + size + r * t - d * Math.sin(t), y + d * Math.cos(t) - d / 2 + 4], 80 * count), thin);
    };
}
function steps(height, width) {
    return (x0, x1, y, thin) => {
        const pts = [`${x0} ${y + height / 2}`];
        let up = true;
        for (let x = x0; x + width <= x1 + 1e-9; x += width) {
            const yy = up ? y - height / 2 : y + height / 2;
            pts.push(`${f(x)} ${f(yy)}`, `${f(x + width)} ${f(yy)}`);
            up = !up;
        }
        return guide('M' + pts.join(' L'), thin);
    };
}

function spiral(cx, cy, turns, rMax, thin) {
    const tMax = 2 * Math.PI * turns;
    return guide(param(0, tMax, (t) => [cx + (8 + (rMax - 8) * t / tMax) * Math.cos(t), cy + (8 + (rMax - 8) * t / tMax) * Math.sin(t)], 600), thin);
}

function circles(thin) {
    const parts = [];
    for (let r = 0; r < 3; ++r)
        for (let c = 0; c < 5; ++c) {
            const cx = 90 + c * 103, cy = 72 + r * 128;
            parts.push(guide(param(0, 2 * Math.PI, (t) => [cx + 40 * Math.cos(t), cy + 40 * Math.sin(t)], 120), thin));
        }
    parts.push(icon('soccer-ball', 90, 72, 36), icon('red-apple', 296, 200, 36), icon('sun', 502, 328, 40));
    return parts;
}

function shapes(thin) {
    const star = [];
    for (let i = 0; i < 10; ++i) {
        const a = -Math.PI / 2 + (i * Math.PI) / 5, r = i % 2 ? 34 : 84;
        star.push(`${f(445 + r * Math.cos(a))} ${f(295 + r * Math.sin(a))}`);
    }
    const heart = param(0, 2 * Math.PI, (t) => [150 + 5.2 * 16 * Math.sin(t) ** 3,
        300 - 5.2 * (13 * Math.cos(t) - 5 * Math.cos(2 * t) - 2 * Math.cos(3 * t) - Math.cos(4 * t))], 200);
    return [
        guide('M40 170 L150 25 L260 170 Z', thin),                       // a roof
        guide('M340 30 L540 30 L540 160 L340 160 Z', thin),              // a window
        guide(heart, thin),
        guide(`M${star.join(' L')} Z`, thin),
        icon('house', 150, 120, 44), icon('sun', 445, 295, 40),
    ];
}

// A long winding path of dots from one picture to another.
function path(points, pair, thin) {
    const [a, b] = PAIRS[pair];
    const d = 'M' + points.map((p, i) => (i === 0 ? `${p[0]} ${p[1]}` : `C${p.join(' ')}`)).join(' ');
    const first = points[0], last = points[points.length - 1];
    return [dotted(d, thin), icon(a, first[0] - 34, first[1], 56), icon(b, last[last.length - 2] + 34, last[last.length - 1], 56)];
}

function road() {
    // A road between two edges with a dashed middle line: the car drives home along it.
    const mid = (x) => 200 + 110 * Math.sin(((x - 80) / 433) * 2 * Math.PI);
    const edge = (off) => param(80, 513, (x) => {
        const dy = 110 * Math.cos(((x - 80) / 433) * 2 * Math.PI) * 2 * Math.PI / 433;
        const n = Math.hypot(1, dy);
        return [x + (off * dy) / n, mid(x) - off / n];
    }, 200);
    return [
        `<path d="${edge(30)}" fill="none" stroke="#000" stroke-width="5"/>`,
        `<path d="${edge(-30)}" fill="none" stroke="#000" stroke-width="5"/>`,
        guide(curve(80, 513, mid, 2), false),
        icon('automobile', 44, 200, 60), icon('house', 553, 200, 60),
    ];
}

function mazeSheet(name, pairIndex) {
    const m = sheetMaze(name);
    const thin = SHEETS.find((s) => s.name === name).pen === 5;
    const iconSize = thin ? 48 : 62;
    const areaX0 = iconSize + 14, areaX1 = WIDTH - iconSize - 14, areaY0 = 16, areaY1 = HEIGHT - 16;
    const cell = Math.min((areaX1 - areaX0) / m.cols, (areaY1 - areaY0) / m.rows);
    const ox = (WIDTH - cell * m.cols) / 2, oy = (HEIGHT - cell * m.rows) / 2;
    const wall = thin ? 4 : 7;
    const d = m.walls.map(([x1, y1, x2, y2]) => `M${f(ox + x1 * cell)} ${f(oy + y1 * cell)} L${f(ox + x2 * cell)} ${f(oy + y2 * cell)}`).join(' ');
    const [a, b] = PAIRS[pairIndex % PAIRS.length];
    const size = Math.min(iconSize, Math.max(cell * 1.2, 40));
    return [
        `<path d="${d}" fill="none" stroke="#000" stroke-width="${wall}" stroke-linecap="square"/>`,
        icon(a, ox - size / 2 - 6, oy + (m.entry + 0.5) * cell, size),
        icon(b, ox + m.cols * cell + size / 2 + 6, oy + (m.exit + 0.5) * cell, size),
    ];
}

const DRAW = {
    S1: () => rows(4, 0, straight),
    S2: () => {
        const parts = [];
        for (let i = 0; i < 6; ++i) {
            const x = 62 + i * 94;
            parts.push(icon('cloud', x, 38, 56), icon('tulip', x, 362, 50), guide(`M${x} 74 L${x} 330`, false));
        }
        return parts;
    },
    S20A: () => {
        const parts = [];
        for (let i = 0; i < 5; ++i) {
            const x = 50 + i * 108;
            parts.push(icon('bird', x, 38, 52), icon('nest-with-eggs', x + 70, 362, 52), guide(`M${x + 6} 70 L${x + 64} 330`, false));
        }
        return parts;
    },
    S20B: () => rows(4, 4, wave(24, 96)),
    S21A: () => rows(4, 8, zigzag(26, 62)),
    S3: () => rows(4, 10, arches(56, 87)),
    S4: () => rows(4, 1, loops(22, 7), { top: 44, bottom: 360 }),
    S5: () => [spiral(150, 210, 3, 125, false), spiral(445, 210, 3, 125, false),
        icon('snail', 150 + 125 + 4, 210 - 40, 50), icon('leafy-green', 150, 210, 30),
        icon('honeybee', 445 + 125 + 0, 210 - 40, 44), icon('blossom', 445, 210, 30)],
    S6: () => circles(false),
    S7: () => rows(4, 12, steps(40, 48)),
    S8: () => path([[80, 70], [250, 10, 320, 180, 180, 210], [40, 240, 140, 370, 300, 330], [450, 290, 330, 120, 520, 110]], 1, false),
    S9: () => road(),
    S10: () => shapes(false),
    S11: () => rows(4, 13, garlands(48, 72)),
    S17: () => rows(6, 2, wave(11, 42), { thin: true, iconSize: 40 }),
    S18: () => [...rows(3, 5, loops(13, 12), { thin: true, iconSize: 42, top: 32, bottom: 182 }),
        ...rows(3, 8, zigzag(13, 30), { thin: true, iconSize: 42, top: 232, bottom: 368 })],
    S19: () => [spiral(150, 205, 5, 132, true), spiral(443, 205, 5, 132, true),
        icon('snail', 150 + 132 - 4, 205 - 46, 36), icon('leafy-green', 150, 205, 22),
        icon('butterfly', 443 + 132 - 4, 205 - 46, 36), icon('sunflower', 443, 205, 22)],
};
for (const [i, name] of Object.keys(MAZES).entries()) DRAW[name] = () => mazeSheet(name, i);

export function sheetSvg(name) {
    const draw = DRAW[name];
    if (!draw) throw new Error(`unknown tracing sheet "${name}" (want one of ${SHEETS.map((s) => s.name).join(', ')})`);
    return `<svg xmlns="http://www.w3.org/2000/svg" width="${WIDTH}" height="${HEIGHT}" viewBox="0 0 ${WIDTH} ${HEIGHT}">
<rect width="${WIDTH}" height="${HEIGHT}" fill="#fff"/>
${draw().join('\n')}
</svg>
`;
}
