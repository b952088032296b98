// SPDX-License-Identifier: GPL-3.0-or-later
// Whole people for the scenes: an emoji head of the icon sets on a drawn body with arms, hands,
// legs and shoes, posed by the angles of its limbs. Own SVG files place one with
//   <person head="noto:girl" x=".." y=".." size=".." [pose=".."] [arms=".."] [legs=".."]
//           [shirt=".."] [trousers=".."] [dress=".."] [shoes=".."] [sleeves="short"] [shorts="1"]
//           [adult="1"] [facing="left|right"]/>
// x is the middle of the head, y its top, size the head's width in pixels; the body hangs from
// the chin (chin="0.86": how far down the head's box the body starts), and everything else is
// measured in heads. arms="LU,LF RU,RF" and legs="LU,LF RU,RF"
// give the angles in degrees of the upper and lower part of the left and the right limb (left
// and right as the picture shows them): 0 hangs straight down, 90 points right, -90 left, 180
// up. pose= gives them in one word: stand, walk, sit (legs forward, on a seat at hip height), or
// sit-front (sitting facing us: thighs towards us, shins down); a preset pose faces right, and
// facing="left" mirrors it. hands="X,Y X,Y" puts the hands on points of the picture instead
// (holding a rope, a wheel, a leash), the elbows bent to fit; "-" leaves a hand to the pose.
// figureJoints gives the joints for the checks: where the hands and feet come to lie.

const poses = {
    stand: { arms: [[-14, -6], [14, 6]], legs: [[-4, -2], [4, 2]] },
    walk: { arms: [[-28, -10], [24, 40]], legs: [[-24, -34], [22, 8]] },
    sit: { arms: [[10, 50], [20, 60]], legs: [[84, 6], [78, -2]] },
    'sit-front': { arms: [[-12, 30], [12, -30]], legs: [[-6, -2], [6, 2]], thigh: 0.3 },
};

const skin = '#ffca28', skinLine = '#e59600';

function darken(hex, f = 0.62) {
    const m = /^#([0-9a-f]{6})$/i.exec(hex);
    if (!m) return '#333333';
    const v = parseInt(m[1], 16);
    const c = [v >> 16, (v >> 8) & 255, v & 255].map((x) => Math.round(x * f));
    return '#' + c.map((x) => x.toString(16).padStart(2, '0')).join('');
}

const rad = (deg) => (deg * Math.PI) / 180;
const step = ([x, y], deg, len) => [x + Math.sin(rad(deg)) * len, y + Math.cos(rad(deg)) * len];
const f2 = (v) => (Math.round(v * 100) / 100).toString();

function angles(text, fallback, what) {
    if (text === undefined) return fallback;
    const parts = text.trim().split(/\s+/).map((p) => p.split(',').map(Number));
    if (parts.length !== 2 || parts.some((p) => p.length !== 2 || p.some((n) => !Number.isFinite(n))))
        throw new Error(`<person> ${what}="${text}": want "LU,LF RU,RF" (four angles in degrees)`);
    return parts;
}

// The body's measurements in heads, and the joints of the figure in pixels.
const known = new Set(['head', 'x', 'y', 'size', 'pose', 'arms', 'legs', 'hands', 'chin', 'shirt', 'trousers',
                       'dress', 'shoes', 'sleeves', 'shorts', 'adult', 'facing']);

export function figureJoints(attrs) {
    for (const k of Object.keys(attrs)) if (!known.has(k)) throw new Error(`<person> has no attribute ${k}`);
    const num = (k, d) => {
        if (attrs[k] === undefined) return d;
        const v = Number(attrs[k]);
        if (!Number.isFinite(v)) throw new Error(`<person> ${k}="${attrs[k]}" is not a number`);
        return v;
    };
    const size = num('size', NaN), x = num('x', NaN), y = num('y', NaN);
    if (!(size > 0) || !Number.isFinite(x) || !Number.isFinite(y))
        throw new Error('<person> needs x, y and a size above 0');
    const pose = poses[attrs.pose || 'stand'];
    if (!pose) throw new Error(`<person> pose="${attrs.pose}": want ${Object.keys(poses).join(', ')}`);
    const adult = attrs.adult === '1';
    const m = adult
        ? { torso: 1.0, shoulder: 0.3, hip: 0.14, upperArm: 0.48, foreArm: 0.44, thigh: 0.56, shin: 0.56 }
        : { torso: 0.72, shoulder: 0.26, hip: 0.12, upperArm: 0.36, foreArm: 0.32, thigh: 0.4, shin: 0.4 };
    m.thigh *= pose.thigh ?? 1;
    const mirror = (pair) => (attrs.facing === 'left' ? [pair[1].map((a) => -a), pair[0].map((a) => -a)] : pair);
    const arms = angles(attrs.arms, mirror(pose.arms), 'arms'), legs = angles(attrs.legs, mirror(pose.legs), 'legs');
    const chin = num('chin', 0.86);
    const u = (dx, dy) => [x + dx * size, y + dy * size];
    const limb = (root, [a, b], l1, l2) => {
        const mid = step(root, a, l1 * size);
        return [root, mid, step(mid, b, l2 * size)];
    };
    const shoulders = [u(-m.shoulder + 0.06, chin + 0.1), u(m.shoulder - 0.06, chin + 0.1)];
    const hips = [u(-m.hip, chin + m.torso), u(m.hip, chin + m.torso)];
    const targets = attrs.hands === undefined ? [] : attrs.hands.trim().split(/\s+/).map((t) => {
        if (t === '-') return null;
        const p = t.split(',').map(Number);
        if (p.length !== 2 || p.some((n) => !Number.isFinite(n))) throw new Error(`<person> hands="${attrs.hands}": want "X,Y X,Y"`);
        return p;
    });
    const arm = (i) => targets[i]
        ? reach(shoulders[i], targets[i], m.upperArm * size, m.foreArm * size, i === 0 ? -1 : 1)
        : limb(shoulders[i], arms[i], m.upperArm, m.foreArm);
    return {
        size, x, y, adult, m, chin,
        arms: [arm(0), arm(1)],
        legs: [limb(hips[0], legs[0], m.thigh, m.shin), limb(hips[1], legs[1], m.thigh, m.shin)],
    };
}

// Shoulder, elbow and hand of an arm of lengths a and b whose hand lies on the target, the elbow
// bent to the side `out` (-1 left, 1 right). A target out of reach is a fault of the picture.
function reach(s, t, a, b, out) {
    const dx = t[0] - s[0], dy = t[1] - s[1], d = Math.hypot(dx, dy);
    if (d > (a + b) * 1.02) throw new Error(`<person> a hand cannot reach (${t}): ${d.toFixed(0)} px from the shoulder, the arm is ${(a + b).toFixed(0)}`);
    const dd = Math.min(Math.max(d, Math.abs(a - b) + 0.01), a + b - 0.01);
    const along = (a * a + dd * dd - b * b) / (2 * dd), side = Math.sqrt(Math.max(0, a * a - along * along));
    const ux = dx / d, uy = dy / d;
    // Of the two ways to bend, the elbow goes outwards; for a hand reaching sideways, downwards.
    let nx = -uy, ny = ux;
    if (Math.abs(nx) < 0.3 ? ny < 0 : Math.sign(nx) !== out) { nx = -nx; ny = -ny; }
    const elbow = [s[0] + ux * along + nx * side, s[1] + uy * along + ny * side];
    return [s, elbow, [s[0] + ux * Math.min(d, a + b), s[1] + uy * Math.min(d, a + b)]];
}

const pathOf = (pts) => 'M' + pts.map(([px, py]) => `${f2(px)} ${f2(py)}`).join('L');

// The SVG of one person: body parts, and the head as an <icon> for composeSvg to inline.
export function figureSvg(attrs) {
    if (!attrs.head) throw new Error('<person> without head');
    const j = figureJoints(attrs);
    const { size, x, y, m, chin } = j;
    const shirt = attrs.shirt || '#e53935', trousers = attrs.trousers || '#1e4f9c';
    const shoes = attrs.shoes || '#4e342e', dress = attrs.dress;
    const facing = attrs.facing === 'left' ? -1 : attrs.facing === 'right' ? 1 : 0;
    const w = (v) => f2(v * size);
    const out = [];
    const stroke = (pts, colour, width) =>
        `<path d="${pathOf(pts)}" fill="none" stroke="${colour}" stroke-width="${w(width)}" stroke-linecap="round" stroke-linejoin="round"/>`;
    // A limb: a darker rim under its colour, so it reads on any ground.
    const limb = (pts, colour, width) => stroke(pts, darken(colour), width + 0.05) + stroke(pts, colour, width);

    // Legs with their shoes; trousers cover them whole, shorts and skirts only the thighs.
    const legWidth = j.adult ? 0.17 : 0.16;
    j.legs.forEach((leg, i) => {
        const bare = dress || attrs.shorts === '1';
        out.push(limb(leg, bare ? skin : trousers, legWidth));
        if (attrs.shorts === '1') out.push(limb(leg.slice(0, 2), trousers, legWidth + 0.02));
        const [fx, fy] = leg[2];
        const dir = facing || (i === 0 ? -1 : 1);
        out.push(`<ellipse cx="${f2(fx + dir * 0.05 * size)}" cy="${f2(fy + 0.02 * size)}" rx="${w(0.13)}" ry="${w(0.075)}" fill="${shoes}" stroke="${darken(shoes, 0.6)}" stroke-width="${w(0.02)}"/>`);
    });

    // Torso: a rounded shirt from the shoulders to the hips, or a dress flaring below them.
    const top = y + chin * size, hipY = top + m.torso * size;
    const sw = (m.shoulder + 0.02) * size, hw = (m.hip + 0.1) * size;
    if (dress) {
        const hem = hipY + 0.3 * size, hemW = hw + 0.2 * size;
        out.push(`<path d="M${f2(x - sw)} ${f2(top + 0.12 * size)}Q${f2(x - sw)} ${f2(top)} ${f2(x)} ${f2(top)}Q${f2(x + sw)} ${f2(top)} ${f2(x + sw)} ${f2(top + 0.12 * size)}` +
            `L${f2(x + hemW)} ${f2(hem)}Q${f2(x)} ${f2(hem + 0.08 * size)} ${f2(x - hemW)} ${f2(hem)}Z" fill="${dress}" stroke="${darken(dress)}" stroke-width="${w(0.03)}" stroke-linejoin="round"/>`);
    } else {
        out.push(`<path d="M${f2(x - sw)} ${f2(top + 0.14 * size)}Q${f2(x - sw)} ${f2(top)} ${f2(x)} ${f2(top)}Q${f2(x + sw)} ${f2(top)} ${f2(x + sw)} ${f2(top + 0.14 * size)}` +
            `L${f2(x + hw)} ${f2(hipY)}Q${f2(x)} ${f2(hipY + 0.06 * size)} ${f2(x - hw)} ${f2(hipY)}Z" fill="${shirt}" stroke="${darken(shirt)}" stroke-width="${w(0.03)}" stroke-linejoin="round"/>`);
        // The trousers' waistband over the hips.
        out.push(`<path d="M${f2(x - hw)} ${f2(hipY - 0.1 * size)}L${f2(x + hw)} ${f2(hipY - 0.1 * size)}L${f2(x + hw)} ${f2(hipY)}Q${f2(x)} ${f2(hipY + 0.06 * size)} ${f2(x - hw)} ${f2(hipY)}Z" fill="${trousers}" stroke="${darken(trousers)}" stroke-width="${w(0.02)}"/>`);
    }

    // Arms: sleeves of the shirt (or dress), forearms bare with short sleeves, and the hands.
    const sleeve = dress || shirt, armWidth = 0.14;
    for (const arm of j.arms) {
        if (attrs.sleeves === 'short') {
            out.push(limb(arm, skin, armWidth - 0.02));
            const elbowward = [arm[0][0] + 0.6 * (arm[1][0] - arm[0][0]), arm[0][1] + 0.6 * (arm[1][1] - arm[0][1])];
            out.push(limb([arm[0], elbowward], sleeve, armWidth + 0.01));
        } else {
            out.push(limb(arm, sleeve, armWidth));
        }
        const [hx, hy] = arm[2];
        out.push(`<circle cx="${f2(hx)}" cy="${f2(hy)}" r="${w(0.085)}" fill="${skin}" stroke="${skinLine}" stroke-width="${w(0.025)}"/>`);
    }

    // The head last, over the neck.
    out.push(`<icon src="${attrs.head}" x="${f2(x - size / 2)}" y="${f2(y)}" width="${f2(size)}" height="${f2(size)}"/>`);
    return `<g class="person">${out.join('')}</g>`;
}

export function parseAttrs(attrText) {
    const attrs = {};
    for (const a of attrText.matchAll(/([a-zA-Z-]+)="([^"]*)"/g)) attrs[a[1]] = a[2];
    return attrs;
}

// Replaces every <person .../> of an own SVG by its drawing.
export function composeFigures(text) {
    return text.replace(/<person\s([^>]*?)\/>/g, (whole, attrText) => figureSvg(parseAttrs(attrText)));
}
