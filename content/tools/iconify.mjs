// SPDX-License-Identifier: GPL-3.0-or-later
// Icons from the iconify JSON sets installed by content/package.json: look an icon up (following
// aliases with their flips and rotations), wrap its body in a standalone SVG, recolour one-colour
// icons, and give every id a prefix so that several icons can share one picture.
import { readFileSync, existsSync } from 'node:fs';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';
import { composeFigures } from './figures.mjs';

const contentDir = join(dirname(fileURLToPath(import.meta.url)), '..');
const sets = new Map();

// The sets a table may name; each is an npm package under content/node_modules.
export const knownSets = ['noto', 'fluent-emoji-flat', 'game-icons', 'twemoji'];

export function loadSet(prefix) {
    if (sets.has(prefix)) return sets.get(prefix);
    if (!knownSets.includes(prefix)) throw new Error(`unknown icon set "${prefix}"`);
    const file = join(contentDir, 'node_modules', '@iconify-json', prefix, 'icons.json');
    if (!existsSync(file))
        throw new Error(`icon set "${prefix}" is not installed (run scripts/setup or npm ci in content/)`);
    const set = JSON.parse(readFileSync(file, 'utf8'));
    sets.set(prefix, set);
    return set;
}

// "noto:sun" or "game-icons:rake#8a5a2b" -> { set, name, colour }
export function parseIconRef(ref) {
    const m = /^([a-z0-9-]+):([a-z0-9-]+)(?:#([0-9a-fA-F]{6}|[0-9a-fA-F]{3}))?$/.exec(ref);
    if (!m) throw new Error(`bad icon reference "${ref}" (want set:name or set:name#rrggbb)`);
    return { set: m[1], name: m[2], colour: m[3] ? '#' + m[3].toLowerCase() : null };
}

// Resolves an icon with its aliases to { body, left, top, width, height, hFlip, vFlip, rotate }.
export function resolveIcon(setPrefix, name) {
    const set = loadSet(setPrefix);
    const chain = [];
    let current = name;
    for (let depth = 0; ; ++depth) {
        if (depth > 10) throw new Error(`alias loop at ${setPrefix}:${name}`);
        if (set.icons[current]) { chain.unshift(set.icons[current]); break; }
        const alias = set.aliases && set.aliases[current];
        if (!alias) throw new Error(`icon ${setPrefix}:${name} does not exist`);
        chain.unshift(alias);
        current = alias.parent;
    }
    const icon = { left: set.left ?? 0, top: set.top ?? 0, width: set.width ?? 16, height: set.height ?? 16,
                   hFlip: false, vFlip: false, rotate: 0, body: '' };
    for (const part of chain) {
        for (const key of ['left', 'top', 'width', 'height', 'body'])
            if (part[key] !== undefined) icon[key] = part[key];
        if (part.hFlip) icon.hFlip = !icon.hFlip;
        if (part.vFlip) icon.vFlip = !icon.vFlip;
        if (part.rotate) icon.rotate += part.rotate;
    }
    return icon;
}

export function iconExists(ref) {
    try {
        const { set, name } = parseIconRef(ref);
        resolveIcon(set, name);
        return true;
    } catch {
        return false;
    }
}

// The icon's body with its flips and rotation applied, and the box it then fills.
function transformed(icon) {
    const box = { left: icon.left, top: icon.top, width: icon.width, height: icon.height };
    const transforms = [];
    let rotation = icon.rotate;
    if (icon.hFlip && icon.vFlip) {
        rotation += 2;
    } else if (icon.hFlip) {
        transforms.push(`translate(${box.width + box.left} ${-box.top})`, 'scale(-1 1)');
        box.top = box.left = 0;
    } else if (icon.vFlip) {
        transforms.push(`translate(${-box.left} ${box.height + box.top})`, 'scale(1 -1)');
        box.top = box.left = 0;
    }
    rotation = ((rotation % 4) + 4) % 4;
    if (rotation === 1) {
        const c = box.height / 2 + box.top;
        transforms.unshift(`rotate(90 ${c} ${c})`);
    } else if (rotation === 2) {
        transforms.unshift(`rotate(180 ${box.width / 2 + box.left} ${box.height / 2 + box.top})`);
    } else if (rotation === 3) {
        const c = box.width / 2 + box.left;
        transforms.unshift(`rotate(-90 ${c} ${c})`);
    }
    if (rotation % 2 === 1) {
        [box.left, box.top] = [box.top, box.left];
        [box.width, box.height] = [box.height, box.width];
    }
    const body = transforms.length ? `<g transform="${transforms.join(' ')}">${icon.body}</g>` : icon.body;
    return { body, box };
}

// Gives every id in an SVG fragment the prefix, and rewrites the references to them.
export function prefixIds(svg, prefix) {
    const ids = new Set();
    for (const m of svg.matchAll(/\sid="([^"]+)"/g)) ids.add(m[1]);
    if (ids.size === 0) return svg;
    const esc = (s) => s.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
    const alt = [...ids].sort((a, b) => b.length - a.length).map(esc).join('|');
    return svg
        .replace(new RegExp(`(\\sid=")(${alt})"`, 'g'), `$1${prefix}$2"`)
        .replace(new RegExp(`url\\(#(${alt})\\)`, 'g'), `url(#${prefix}$1)`)
        .replace(new RegExp(`((?:xlink:)?href=")#(${alt})"`, 'g'), `$1#${prefix}$2"`);
}

function recolour(body, colour) {
    return colour ? body.replaceAll('currentColor', colour) : body;
}

// { body, viewBox: [l, t, w, h] } of an icon reference, ids prefixed when a prefix is given.
export function iconFragment(ref, idPrefix = '') {
    const { set, name, colour } = parseIconRef(ref);
    const { body, box } = transformed(resolveIcon(set, name));
    let out = recolour(body, colour);
    if (idPrefix) out = prefixIds(out, idPrefix);
    return { body: out, viewBox: [box.left, box.top, box.width, box.height] };
}

// A standalone SVG document of the icon.
export function iconSvg(ref) {
    const { body, viewBox } = iconFragment(ref);
    return `<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" ` +
        `viewBox="${viewBox.join(' ')}" width="${viewBox[2]}" height="${viewBox[3]}">${body}</svg>\n`;
}

// Own SVG files may place icons with <icon src="noto:sun" x=".." y=".." width=".." height=".."
// [transform=".."] [opacity=".."]/>, and people with <person .../> (figures.mjs); this draws the
// people and inlines each icon as a nested <svg> with its own id prefix.
export function composeSvg(text) {
    let counter = 0;
    return composeFigures(text).replace(/<icon\s([^>]*?)\/>/g, (whole, attrText) => {
        const attrs = {};
        for (const m of attrText.matchAll(/([a-zA-Z-]+)="([^"]*)"/g)) attrs[m[1]] = m[2];
        if (!attrs.src) throw new Error(`<icon> without src: ${whole}`);
        const { body, viewBox } = iconFragment(attrs.src, `i${++counter}-`);
        const place = ['x', 'y', 'width', 'height']
            .filter((k) => attrs[k] !== undefined).map((k) => `${k}="${attrs[k]}"`).join(' ');
        let svg = `<svg ${place} viewBox="${viewBox.join(' ')}" preserveAspectRatio="xMidYMid meet">${body}</svg>`;
        const wrap = [];
        if (attrs.transform) wrap.push(`transform="${attrs.transform}"`);
        if (attrs.opacity) wrap.push(`opacity="${attrs.opacity}"`);
        if (wrap.length) svg = `<g ${wrap.join(' ')}>${svg}</g>`;
        return svg;
    });
}

// Every icon reference an own SVG places, the heads of its people too.
export function iconRefsIn(text) {
    return [...text.matchAll(/<icon\s[^>]*?src="([^"]+)"[^>]*?\/>/g), ...text.matchAll(/<person\s[^>]*?head="([^"]+)"[^>]*?\/>/g)]
        .map((m) => m[1]);
}
