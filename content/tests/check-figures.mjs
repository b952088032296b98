// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the people of the scenes (tools/figures.mjs):
// - hands placed with hands= land on their points with the arm's two parts at their lengths and
//   the elbow bent outwards (downwards for a sideways reach); a point out of reach, an unknown
//   attribute or a malformed value is an error, not a silently odd picture;
// - facing="left" is the mirror of facing="right";
// - composing draws the body and inlines the head, and the content check sees the head's icon;
// - every person of the insert-the-word scenes lies wholly inside its 745 × 425 picture.
//   node check-figures.mjs CONTENT_DIR
import { readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';

const contentDir = resolve(process.argv[2] || '.');
const { figureJoints, parseAttrs } = await import(join(contentDir, 'tools', 'figures.mjs'));
const { composeSvg, iconRefsIn } = await import(join(contentDir, 'tools', 'iconify.mjs'));
const problems = [];
const near = (a, b, eps = 0.05) => Math.abs(a - b) <= eps;
const dist = (p, q) => Math.hypot(p[0] - q[0], p[1] - q[1]);
const throws = (what, f) => { try { f(); problems.push(`${what}: no error`); } catch { /* wanted */ } };

// Hands on their points, for targets all round the shoulders.
const base = { head: 'noto:girl', x: '100', y: '100', size: '50' };
const free = figureJoints(base);
const arms = free.arms.map(([s, e, h]) => ({ s, upper: dist(s, e), fore: dist(e, h) }));
for (let deg = 0; deg < 360; deg += 30) {
    for (const reachShare of [0.5, 0.8, 0.98]) {
        const targets = arms.map(({ s, upper, fore }) => [s[0] + Math.sin(deg * Math.PI / 180) * (upper + fore) * reachShare,
                                                        s[1] + Math.cos(deg * Math.PI / 180) * (upper + fore) * reachShare]);
        const j = figureJoints({ ...base, hands: targets.map((t) => t.join(',')).join(' ') });
        j.arms.forEach(([s, e, h], i) => {
            const where = `arm ${i} towards ${deg}° at ${reachShare}`;
            if (!near(h[0], targets[i][0]) || !near(h[1], targets[i][1])) problems.push(`${where}: the hand is at (${h}), not (${targets[i]})`);
            if (!near(dist(s, e), arms[i].upper, 0.05) || !near(dist(e, h), arms[i].fore, 0.05))
                problems.push(`${where}: the arm's parts are ${dist(s, e).toFixed(2)} and ${dist(e, h).toFixed(2)} long`);
            // The elbow's side of the line from shoulder to hand.
            const mid = [(s[0] + h[0]) / 2, (s[1] + h[1]) / 2];
            const sideways = Math.abs(Math.cos(deg * Math.PI / 180)) < 0.3;
            if (reachShare < 0.9 && (sideways ? e[1] < mid[1] - 0.5 : (i === 0 ? e[0] > mid[0] + 0.5 : e[0] < mid[0] - 0.5)))
                problems.push(`${where}: the elbow bends inwards or upwards (${e.map((v) => v.toFixed(1))})`);
        });
    }
}
// A dash leaves the hand to the pose.
const half = figureJoints({ ...base, hands: `- ${free.arms[1][0][0] + 10},${free.arms[1][0][1] + 10}` });
if (dist(half.arms[0][2], free.arms[0][2]) > 1e-9) problems.push('hands="- X,Y" moved the left hand');

throws('a point out of reach', () => figureJoints({ ...base, hands: '- 400,400' }));
throws('an unknown attribute', () => figureJoints({ ...base, hand: '10,10' }));
throws('no size', () => figureJoints({ head: 'noto:girl', x: '1', y: '1' }));
throws('hands with one number', () => figureJoints({ ...base, hands: '10 20,30' }));
throws('arms with three angles', () => figureJoints({ ...base, arms: '10,20,30 1,2' }));
throws('an unknown pose', () => figureJoints({ ...base, pose: 'fly' }));

// Facing left mirrors facing right about the figure's middle.
for (const pose of ['stand', 'walk', 'sit']) {
    const r = figureJoints({ ...base, pose, facing: 'right' }), l = figureJoints({ ...base, pose, facing: 'left' });
    for (const part of ['arms', 'legs'])
        for (let i = 0; i < 2; i++) for (let k = 0; k < 3; k++) {
            const a = r[part][i][k], b = l[part][1 - i][k];
            if (!near(a[0], 200 - b[0], 1e-6) || !near(a[1], b[1], 1e-6))
                problems.push(`pose ${part} ${pose}: facing left is not the mirror of facing right`);
        }
}

// Composing: no <person> left, the body drawn, the head inlined; the head counts as an icon.
const scene = '<svg><person head="noto:boy" x="50" y="10" size="40" shirt="#123456"/></svg>';
const composed = composeSvg(scene);
if (/<person|<icon/.test(composed)) problems.push('composing left a <person> or <icon> placeholder');
if (!composed.includes('#123456')) problems.push('composing drew no shirt');
if (!/<svg x="30" y="10" width="40" height="40" viewBox=/.test(composed)) problems.push('composing put the head elsewhere');
if (iconRefsIn(scene).join() !== 'noto:boy') problems.push(`the heads seen as icons: ${iconRefsIn(scene)}`);

// Every person of the scenes inside its picture: head box, hands and shoes.
let people = 0;
for (const name of ['kmetija', 'park', 'ulica', 'obala']) {
    const text = readFileSync(join(contentDir, 'svg', 'VstaviBesedo', `${name}.svg`), 'utf8');
    const before = people;
    // A person inside a translated group moves with it.
    for (const m of text.matchAll(/<g id="(B\d+)"(?: transform="translate\(([-\d.]+) ([-\d.]+)\)")?>([\s\S]*?)\n  <\/g>/g)) {
        const [dx, dy] = [Number(m[2] || 0), Number(m[3] || 0)];
        for (const p of m[4].matchAll(/<person\s([^>]*?)\/>/g)) {
            people++;
            let j;
            try { j = figureJoints(parseAttrs(p[1])); } catch (e) { problems.push(`${name} ${m[1]}: ${e.message}`); continue; }
            const pts = [[j.x - j.size / 2, j.y], [j.x + j.size / 2, j.y + j.size],
                         ...j.arms.map((a) => a[2]), ...j.legs.map((l) => [l[2][0], l[2][1] + 0.1 * j.size])];
            for (const [px, py] of pts)
                if (px + dx < 0 || px + dx > 745 || py + dy < 0 || py + dy > 425)
                    problems.push(`${name} ${m[1]}: a person reaches out of the picture at (${(px + dx).toFixed(0)}, ${(py + dy).toFixed(0)})`);
        }
    }
    const all = (text.match(/<person\s/g) || []).length;
    if (all === 0) problems.push(`${name}.svg has no people`);
    if (people - before !== all) problems.push(`${name}.svg: ${all - (people - before)} people outside a sentence's element`);
}

for (const p of problems) console.error(p);
if (problems.length) { console.error(`check-figures: ${problems.length} problem(s)`); process.exit(1); }
console.log(`check-figures: hands reach their points, poses mirror, ${people} people inside their scenes`);
