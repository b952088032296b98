// SPDX-License-Identifier: GPL-3.0-or-later
// The travel game's map of Slovenia and the town cards, drawn as SVG from the Natural Earth
// borders of the npm package world-atlas (public domain data, 1:10m).
//
// The map is 620 × 420 pixels, the size of the game's board. The projection is the affine fit
// of the game's town table to the towns' latitudes and longitudes (about 4 px RMS), so each town
// lies where the program puts its marker:
//   x = 173.95 · lon + 5.76 · lat − 2561.8,  y = 1.70 · lon − 256.72 · lat + 12031.5
//
// Sources for the picture tables: "gen:map" (the map) and "gen:card-<Resource>" (a town card).
import { readFileSync } from 'node:fs';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';

const contentDir = join(dirname(fileURLToPath(import.meta.url)), '..');

export const mapSize = { w: 620, h: 420 };

export const project = ([lon, lat]) => [173.95 * lon + 5.76 * lat - 2561.8,
                                         1.70 * lon - 256.72 * lat + 12031.5];

// ISO 3166 numeric codes of world-atlas.
const ids = { slovenia: '705', italy: '380', austria: '040', hungary: '348', croatia: '191' };

let atlas = null;
function loadAtlas() {
    if (atlas) return atlas;
    const file = join(contentDir, 'node_modules', 'world-atlas', 'countries-10m.json');
    let topo;
    try {
        topo = JSON.parse(readFileSync(file, 'utf8'));
    } catch (e) {
        throw new Error(`world-atlas is not installed (run scripts/setup or npm ci in content/): ${e.message}`);
    }
    // Arcs are delta-encoded in quantised units; decode every arc to longitudes and latitudes.
    const [sx, sy] = topo.transform.scale, [tx, ty] = topo.transform.translate;
    const arcs = topo.arcs.map((arc) => {
        let x = 0, y = 0;
        return arc.map(([dx, dy]) => { x += dx; y += dy; return [x * sx + tx, y * sy + ty]; });
    });
    const ring = (indices) => {
        const out = [];
        for (const i of indices) {
            const pts = i >= 0 ? arcs[i] : arcs[~i].slice().reverse();
            out.push(...(out.length ? pts.slice(1) : pts));
        }
        return out;
    };
    const polygons = (g) => (g.type === 'Polygon' ? [g.arcs] : g.type === 'MultiPolygon' ? g.arcs : [])
        .map((poly) => poly.map(ring));
    const countries = new Map();
    for (const g of topo.objects.countries.geometries) countries.set(g.id, polygons(g));
    atlas = { countries, land: topo.objects.land.geometries.flatMap(polygons) };
    return atlas;
}

// The 1:10m border cuts the Piran peninsula off short of the town: its coast from the Sečovlje
// salt pans round the tip to Strunjan, in map pixels, drawn a little generously (the tip about
// 1 km beyond the real one, as the town's place in the game's table lies past the real tip) so
// that the town and a margin round it lie on land. It replaces the border's points strictly
// between the two anchors, which are points of the 1:10m ring.
export const piranCoast = {
    from: [64.0, 373.6],
    points: [[65.0, 371.4], [64.0, 370.3], [61.4, 370.0], [58.6, 370.3], [55.6, 369.6], [53.8, 367.6],
             [53.9, 364.9], [55.6, 363.1], [58.4, 362.5], [61.2, 362.8], [63.2, 363.7]],
    to: [64.2, 364.5],
};

function spliceCoast(ring, coast) {
    const nearest = (p) => ring.reduce((best, q, i) =>
        (Math.hypot(q[0] - p[0], q[1] - p[1]) < Math.hypot(ring[best][0] - p[0], ring[best][1] - p[1]) ? i : best), 0);
    const a = nearest(coast.from), b = nearest(coast.to);
    const off = (i, p) => Math.hypot(ring[i][0] - p[0], ring[i][1] - p[1]);
    if (off(a, coast.from) > 0.5 || off(b, coast.to) > 0.5 || b <= a)
        throw new Error('the border data has changed near Piran: draw the peninsula anew');
    return [...ring.slice(0, a + 1), ...coast.points, ...ring.slice(b)];
}

// Projected polygons (lists of rings of [x, y]) of a country, or of all land.
export function country(name) {
    const polys = loadAtlas().countries.get(ids[name]);
    if (!polys) throw new Error(`world-atlas has no country ${name}`);
    const projected = polys.map((rings) => rings.map((r) => r.map(project)));
    if (name === 'slovenia') projected[0][0] = spliceCoast(projected[0][0], piranCoast);
    return projected;
}
function land() {
    return loadAtlas().land.map((rings) => rings.map((r) => r.map(project)));
}

// Only polygons that come near the view are drawn.
function nearView(poly, margin = 200) {
    return poly[0].some(([x, y]) => x > -margin && x < mapSize.w + margin && y > -margin && y < mapSize.h + margin);
}

const f1 = (v) => (Math.round(v * 10) / 10).toString();
// Points far outside the view are pulled onto a frame a little outside it: the borders are
// short segments, so what shows inside the view is unchanged and the SVG stays small.
function clampRing(r, m = 20) {
    const out = [];
    for (const [x, y] of r) {
        const p = `${f1(Math.min(Math.max(x, -m), mapSize.w + m))} ${f1(Math.min(Math.max(y, -m), mapSize.h + m))}`;
        if (out[out.length - 1] !== p) out.push(p);
    }
    return out;
}
function pathData(polys) {
    return polys.filter((p) => nearView(p)).map((rings) => rings.map((r) =>
        'M' + clampRing(r).join('L') + 'Z').join('')).join('');
}

// True when (x, y) lies inside the polygons (even-odd over all rings).
export function inside(polys, [x, y]) {
    let odd = false;
    for (const rings of polys) for (const r of rings) {
        for (let i = 0, j = r.length - 1; i < r.length; j = i++) {
            const [xi, yi] = r[i], [xj, yj] = r[j];
            if ((yi > y) !== (yj > y) && x < ((xj - xi) * (y - yi)) / (yj - yi) + xi) odd = !odd;
        }
    }
    return odd;
}

// Distance from (x, y) to the nearest border segment of the polygons.
export function distanceToBorder(polys, [x, y]) {
    let best = Infinity;
    for (const rings of polys) for (const r of rings) {
        for (let i = 1; i < r.length; ++i) {
            const [ax, ay] = r[i - 1], [bx, by] = r[i];
            const dx = bx - ax, dy = by - ay, len = dx * dx + dy * dy;
            const t = len ? Math.max(0, Math.min(1, ((x - ax) * dx + (y - ay) * dy) / len)) : 0;
            best = Math.min(best, Math.hypot(x - (ax + t * dx), y - (ay + t * dy)));
        }
    }
    return best;
}

// The game's town table: display name, x, y, resource name (the program holds the same table).
export function towns() {
    const text = readFileSync(join(contentDir, 'towns.tsv'), 'utf8');
    return text.split('\n').filter((l) => l.trim() && !l.startsWith('#')).map((l) => {
        const [display, x, y, resource] = l.split('\t');
        return { display, x: Number(x), y: Number(y), resource: resource.trim() };
    });
}

export const colours = {
    sea: '#8fd3f4',
    seaText: '#1d5d8c',
    slovenia: '#a8e07c',
    sloveniaBorder: '#2f7d32',
    neighbours: { italy: '#f6ead2', austria: '#f3e1e6', hungary: '#f4efcc', croatia: '#e9e4f3' },
    neighbourBorder: '#b9ab95',
    neighbourText: '#8a7a66',
};

// Where the neighbours' names stand (map pixels), chosen by eye on the drawn map.
const labels = [
    { text: 'AVSTRIJA', x: 250, y: 40 },
    { text: 'ITALIJA', x: 14, y: 216, anchor: 'start' },
    { text: 'MADŽARSKA', x: 548, y: 24 },
    { text: 'HRVAŠKA', x: 470, y: 380 },
];

function landLayers(scale = 1) {
    const sw = (w) => f1(w / scale);
    const parts = [];
    parts.push(`<rect x="0" y="0" width="${mapSize.w}" height="${mapSize.h}" fill="${colours.sea}"/>`);
    // Land outside the five countries (Switzerland, Slovakia, ...) in the neutral colour.
    parts.push(`<path d="${pathData(land())}" fill="#f1ecdf" stroke="none"/>`);
    for (const [name, fill] of Object.entries(colours.neighbours))
        parts.push(`<path d="${pathData(country(name))}" fill="${fill}" stroke="${colours.neighbourBorder}" stroke-width="${sw(1)}" stroke-linejoin="round"/>`);
    parts.push(`<path d="${pathData(country('slovenia'))}" fill="${colours.slovenia}" stroke="${colours.sloveniaBorder}" stroke-width="${sw(2.5)}" stroke-linejoin="round"/>`);
    return parts;
}

const font = 'font-family="Liberation Sans, Arial, sans-serif" font-weight="bold"';

// The game's map: Slovenia in soft green, the neighbours paler and named, the sea blue.
export function mapSvg() {
    const parts = landLayers();
    for (const l of labels)
        parts.push(`<text x="${l.x}" y="${l.y}" ${font} font-size="17" letter-spacing="2" fill="${colours.neighbourText}" text-anchor="${l.anchor || 'middle'}">${l.text}</text>`);
    parts.push(`<text ${font} font-size="13" font-style="italic" fill="${colours.seaText}"><tspan x="6" y="392">Jadransko</tspan><tspan x="6" y="408">morje</tspan></text>`);
    parts.push(triglav());
    parts.push(`<text x="300" y="285" ${font} font-size="26" letter-spacing="6" fill="#5d9c3c" fill-opacity="0.55" text-anchor="middle">SLOVENIJA</text>`);
    return svgDoc(mapSize.w, mapSize.h, parts.join('\n'));
}

function svgDoc(w, h, body) {
    return `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="${w}" height="${h}" viewBox="0 0 ${w} ${h}">\n${body}\n</svg>\n`;
}

const escapeXml = (s) => s.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');

// Advance widths of Liberation Sans Bold (the metrics of Arial Bold), in thousandths of the font
// size, of the letters of the towns' names; Č, Š, Ž as C, S, Z.
const boldWidths = {
    ' ': 278, A: 722, B: 722, C: 722, D: 722, G: 778, I: 278, J: 556, K: 722, L: 611, M: 833, N: 722,
    O: 778, P: 667, R: 722, S: 667, T: 611, V: 667, Z: 611,
    a: 556, b: 611, c: 556, d: 611, e: 556, g: 611, i: 278, j: 278, k: 556, l: 278, m: 889, n: 611,
    o: 611, p: 611, r: 389, s: 556, t: 333, u: 611, v: 556, z: 500, f: 333, h: 611,
};
export function boldTextWidth(text, size) {
    let units = 0;
    for (const ch of text.normalize('NFD').replace(/[\u0300-\u036f]/g, '')) {
        if (boldWidths[ch] === undefined) throw new Error(`no width for "${ch}" of "${text}"`);
        units += boldWidths[ch];
    }
    return (units * size) / 1000;
}

const card = { W: 511, H: 360, nameSize: 22, dotRadius: 9, dotStroke: 3, icon: { cx: 448, cy: 288, r: 60 } };
card.s = card.W / mapSize.w;
card.oy = Math.round((card.H - mapSize.h * card.s) / 2);

const overlaps = (a, b) => a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
const grow = (b, m) => ({ x0: b.x0 - m, y0: b.y0 - m, x1: b.x1 + m, y1: b.y1 + m });

// Where everything of a town card stands, in card pixels: the town's dot, the boxes of the map's
// signs (Triglav with its name, the picture's disc, the dot) and the box of the town's name,
// placed on the first side of the dot (above, below, right, left, then the corners) where it
// stays inside the map's frame and keeps 3 px from every sign.
export function cardLayout(resource) {
    const town = towns().find((t) => t.resource.toLowerCase() === resource.toLowerCase());
    if (!town) throw new Error(`no town with the resource name ${resource}`);
    const { s, oy, nameSize } = card;
    const dot = { x: town.x * s, y: oy + town.y * s };
    const r = card.dotRadius + card.dotStroke / 2;
    const [tx, ty] = triglavAt();
    const t = triglavBox;
    const signs = {
        triglav: { x0: tx * s + t.x0 * s, y0: oy + (ty + t.y0) * s, x1: tx * s + t.x1 * s, y1: oy + (ty + t.y1) * s },
        picture: { x0: card.icon.cx - card.icon.r - 2, y0: card.icon.cy - card.icon.r - 2,
                   x1: card.icon.cx + card.icon.r + 2, y1: card.icon.cy + card.icon.r + 2 },
        dot: { x0: dot.x - r, y0: dot.y - r, x1: dot.x + r, y1: dot.y + r },
    };
    const frame = { x0: 4, y0: oy + 4, x1: mapSize.w * s - 4, y1: oy + mapSize.h * s - 4 };
    const w = boldTextWidth(town.display, nameSize);
    // The text's box from its baseline: capitals and carons above, descenders (j, g, p) below,
    // and the white halo of 2.5 px round it.
    const up = nameSize * 0.93 + 2.5, down = nameSize * 0.21 + 2.5, half = w / 2 + 2.5;
    const gap = 5;
    const candidates = [
        [dot.x, signs.dot.y0 - gap - down], [dot.x, signs.dot.y1 + gap + up],
        [signs.dot.x1 + gap + half, dot.y + up / 2 - down / 2], [signs.dot.x0 - gap - half, dot.y + up / 2 - down / 2],
        [signs.dot.x1 + half - 6, signs.dot.y0 - gap - down + 4], [signs.dot.x0 - half + 6, signs.dot.y0 - gap - down + 4],
        [signs.dot.x1 + half - 6, signs.dot.y1 + gap + up - 4], [signs.dot.x0 - half + 6, signs.dot.y1 + gap + up - 4],
    ];
    const boxAt = ([cx, base]) => ({ x0: cx - half, y0: base - up, x1: cx + half, y1: base + down });
    const inFrame = (b) => b.x0 >= frame.x0 && b.x1 <= frame.x1 && b.y0 >= frame.y0 && b.y1 <= frame.y1;
    const free = (b) => inFrame(b) && Object.values(signs).every((sign) => !overlaps(grow(b, 3), sign));
    let place = candidates.find((c) => free(boxAt(c)));
    if (!place) {
        // Slide the name along above and below the dot, nearest first.
        for (let d = 4; d <= 200 && !place; d += 4)
            place = [[dot.x + d, candidates[0][1]], [dot.x - d, candidates[0][1]],
                     [dot.x + d, candidates[1][1]], [dot.x - d, candidates[1][1]]].find((c) => free(boxAt(c)));
    }
    if (!place) throw new Error(`no free place for the name of ${town.display} on its card`);
    return { town, dot, signs, frame, label: { x: place[0], y: place[1], box: boxAt(place), size: nameSize } };
}

// A town card, 511 × 360: Slovenia with the town's dot and name, and in the free corner over
// Croatia a picture of what the town is known for (an icon of the installed sets).
export function cardSvg(resource, icon) {
    const { town, dot, label } = cardLayout(resource);
    const { W, H, s, oy } = card, ox = 0;
    const parts = [`<rect width="${W}" height="${H}" fill="#ffffff"/>`];
    parts.push(`<svg x="${ox}" y="${oy}" width="${f1(mapSize.w * s)}" height="${f1(mapSize.h * s)}" viewBox="0 0 ${mapSize.w} ${mapSize.h}">`);
    parts.push(...landLayers(s), triglav());
    parts.push('</svg>');
    parts.push(`<rect x="${ox + 1}" y="${oy + 1}" width="${f1(mapSize.w * s - 2)}" height="${f1(mapSize.h * s - 2)}" fill="none" stroke="#1f3f7a" stroke-width="2"/>`);
    parts.push(`<circle cx="${f1(dot.x)}" cy="${f1(dot.y)}" r="${card.dotRadius}" fill="#e53935" stroke="#ffffff" stroke-width="${card.dotStroke}"/>`);
    parts.push(`<text x="${f1(label.x)}" y="${f1(label.y)}" ${font} font-size="${label.size}" text-anchor="middle" fill="#0d1f5c" stroke="#ffffff" stroke-width="5" stroke-linejoin="round" paint-order="stroke">${escapeXml(town.display)}</text>`);
    const { cx, cy, r } = card.icon;
    parts.push(`<circle cx="${cx}" cy="${cy}" r="${r}" fill="#fff4c9" stroke="#f2c94c" stroke-width="4"/>`);
    parts.push(`<icon src="${icon}" x="${cx - 48}" y="${cy - 48}" width="96" height="96"/>`);
    return svgDoc(W, H, parts.join('\n'));
}

// Triglav, the highest mountain, as a small snowy peak with its name; triglavBox holds the peak
// and the name, in map pixels from the summit's point.
const triglavAt = () => project([13.837, 46.378]);
const triglavBox = { x0: -22, y0: -13, x1: 22, y1: 22 };
function triglav() {
    const [x, y] = triglavAt();
    return `<g transform="translate(${f1(x)} ${f1(y)})"><path d="M-13 6L0 -12L13 6Z" fill="#8d7b68" stroke="#5b4b3b" stroke-width="1"/>` +
        `<path d="M-5 -5L0 -12L5 -5L2 -6L0 -4L-2 -6Z" fill="#ffffff"/>` +
        `<text x="0" y="19" ${font} font-size="11" text-anchor="middle" fill="#5b4b3b">Triglav</text></g>`;
}

// The SVG text of a "gen:" source of the picture tables.
export function generatedSvg(source) {
    const name = source.slice(4);
    if (name === 'map') return mapSvg();
    const m = /^card-([A-Za-z]+)=([a-z0-9-]+:[a-z0-9-]+)$/.exec(name);
    if (m) return cardSvg(m[1], m[2]);
    throw new Error(`unknown generated picture "${source}" (want gen:map or gen:card-Town=set:icon)`);
}
