// SPDX-License-Identifier: GPL-3.0-or-later
// The pack writer: lays out a resource-only PE image (headers, one .rsrc section, the resource
// tree, names and data) that the reader and the standard Windows tools accept.
#include "media/resourcepack.h"

#include "media/peconstants.h"
#include "media/slovenian.h"

#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace tipsovo {

void ResourcePackWriter::add(ResourceKind kind, const QString &name, QByteArray data)
{
    const QString upper = upperCp1250(name);
    // A second resource of the same kind and name replaces the first.
    for (Item &item : m_items) {
        if (item.kind == kind && item.name == upper) {
            item.data = std::move(data);
            return;
        }
    }
    m_items.append({kind, upper, std::move(data)});
}

namespace {

using pe::kHighBit;
using pe::kRtBitmap;
using pe::kRtRcData;

constexpr quint32 kFileAlignment = 0x200;
constexpr quint32 kSectionAlignment = 0x1000;
constexpr quint32 kSectionRva = 0x1000;
constexpr quint32 kLanguage = 0x0409;
constexpr quint32 kPeOffset = 0x40;
constexpr quint32 kOptionalSize = 96 + 16 * 8;

quint64 alignUp(quint64 value, quint64 alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

void put16(QByteArray &out, quint64 at, quint16 v)
{
    qToLittleEndian<quint16>(v, out.data() + at);
}

void put32(QByteArray &out, quint64 at, quint32 v)
{
    qToLittleEndian<quint32>(v, out.data() + at);
}

void putDirectory(QByteArray &out, quint64 at, quint16 named, quint16 ids)
{
    put16(out, at + 12, named);
    put16(out, at + 14, ids);
}

} // namespace

QByteArray ResourcePackWriter::toBytes() const
{
    // Types in the order Windows requires: the named type "WAVE" first, then IDs ascending.
    struct Type {
        ResourceKind kind;
        bool named;
        quint32 id;
        QList<const Item *> items;
    };
    QList<Type> types = {{ResourceKind::Wave, true, 0, {}},
                         {ResourceKind::Bitmap, false, kRtBitmap, {}},
                         {ResourceKind::RcData, false, kRtRcData, {}}};
    for (const Item &item : m_items) {
        for (Type &t : types) {
            if (t.kind == item.kind)
                t.items.append(&item);
        }
    }
    types.removeIf([](const Type &t) { return t.items.isEmpty(); });
    for (Type &t : types) {
        if (t.items.size() > 0xFFFF)
            return {}; // more than a directory can count
        // Named entries sorted by their UTF-16 code units, as the loader's binary search expects;
        // names are already in capitals, so this is the case-blind order it uses.
        std::stable_sort(t.items.begin(), t.items.end(), [](const Item *a, const Item *b) {
            return QStringView(a->name).compare(QStringView(b->name), Qt::CaseSensitive) < 0;
        });
    }

    // Layout of the section: directories, data entries, name strings, then the data itself.
    quint64 resourceCount = 0;
    quint64 size = 16 + 8 * quint64(types.size());
    for (const Type &t : types) {
        size += 16 + 8 * quint64(t.items.size());
        resourceCount += t.items.size();
    }
    const quint64 languageDirs = size;
    size += resourceCount * (16 + 8);
    const quint64 dataEntries = size;
    size += resourceCount * 16;
    const quint64 strings = size;
    auto nameLength = [](const QString &name) { return std::min<qsizetype>(name.size(), 0xFFFF); };
    for (const Type &t : types) {
        if (t.named)
            size += 2 + 2 * 4;
        for (const Item *item : t.items)
            size += 2 + 2 * quint64(nameLength(item->name));
    }
    size = alignUp(size, 8);
    const quint64 dataStart = size;
    for (const Type &t : types) {
        for (const Item *item : t.items)
            size = alignUp(size + quint64(item->data.size()), 8);
    }
    const quint64 sectionSize = size;
    const quint64 rawSize = alignUp(sectionSize, kFileAlignment);
    const quint64 headersSize = alignUp(kPeOffset + 24 + kOptionalSize + 40, kFileAlignment);
    if (headersSize + rawSize > 0x7FFFFFFF)
        return {};

    QByteArray out(qsizetype(headersSize + rawSize), '\0');

    // DOS header: only the signature and the offset of the PE header matter.
    put16(out, 0, 0x5A4D);
    put32(out, 0x3C, kPeOffset);
    // PE signature and COFF header.
    const quint64 coff = kPeOffset + 4;
    put32(out, kPeOffset, 0x00004550);
    put16(out, coff + 0, 0x014C); // i386
    put16(out, coff + 2, 1);      // one section
    put16(out, coff + 16, kOptionalSize);
    // EXECUTABLE_IMAGE | LINE_NUMS_STRIPPED | LOCAL_SYMS_STRIPPED | 32BIT_MACHINE | DLL
    put16(out, coff + 18, 0x0002 | 0x0004 | 0x0008 | 0x0100 | 0x2000);
    // Optional header, PE32.
    const quint64 opt = coff + 20;
    put16(out, opt + 0, 0x10B);
    out[qsizetype(opt + 2)] = 2; // linker version
    put32(out, opt + 8, quint32(rawSize));          // SizeOfInitializedData
    put32(out, opt + 20, kSectionRva);              // BaseOfCode
    put32(out, opt + 24, kSectionRva);              // BaseOfData
    put32(out, opt + 28, 0x10000000);               // ImageBase
    put32(out, opt + 32, kSectionAlignment);
    put32(out, opt + 36, kFileAlignment);
    put16(out, opt + 40, 4);                        // operating system version
    put16(out, opt + 48, 4);                        // subsystem version
    put32(out, opt + 56, quint32(kSectionRva + alignUp(sectionSize, kSectionAlignment)));
    put32(out, opt + 60, quint32(headersSize));
    put16(out, opt + 68, 2);                        // Windows GUI
    put32(out, opt + 72, 0x100000);                 // stack reserve
    put32(out, opt + 76, 0x1000);                   // stack commit
    put32(out, opt + 80, 0x100000);                 // heap reserve
    put32(out, opt + 84, 0x1000);                   // heap commit
    put32(out, opt + 92, 16);                       // data directories
    put32(out, opt + 96 + 2 * 8, kSectionRva);      // resource directory
    put32(out, opt + 96 + 2 * 8 + 4, quint32(sectionSize));
    // Section table: the one ".rsrc" section.
    const quint64 sec = opt + kOptionalSize;
    out.replace(qsizetype(sec), 8, QByteArray(".rsrc\0\0\0", 8));
    put32(out, sec + 8, quint32(sectionSize));
    put32(out, sec + 12, kSectionRva);
    put32(out, sec + 16, quint32(rawSize));
    put32(out, sec + 20, quint32(headersSize));
    put32(out, sec + 36, 0x40000040); // initialised data, readable

    // The resource tree. Positions below are relative to the section start.
    const quint64 base = headersSize;
    quint64 nameDir = 16 + 8 * quint64(types.size());
    quint64 langDir = languageDirs;
    quint64 dataEntry = dataEntries;
    quint64 string = strings;
    quint64 data = dataStart;
    auto putString = [&](const QString &text) {
        const quint32 at = quint32(string);
        const qsizetype length = nameLength(text);
        put16(out, base + string, quint16(length));
        for (qsizetype i = 0; i < length; ++i)
            put16(out, base + string + 2 + 2 * quint64(i), text.at(i).unicode());
        string += 2 + 2 * quint64(length);
        return at | kHighBit;
    };

    putDirectory(out, base, quint16(std::count_if(types.begin(), types.end(),
                                                  [](const Type &t) { return t.named; })),
                 quint16(std::count_if(types.begin(), types.end(),
                                       [](const Type &t) { return !t.named; })));
    for (qsizetype ti = 0; ti < types.size(); ++ti) {
        const Type &t = types[ti];
        const quint64 typeEntry = base + 16 + 8 * quint64(ti);
        put32(out, typeEntry, t.named ? putString(QStringLiteral("WAVE")) : t.id);
        put32(out, typeEntry + 4, quint32(nameDir) | kHighBit);
        // Every resource name is a string, so a name directory holds named entries only.
        putDirectory(out, base + nameDir, quint16(t.items.size()), 0);
        for (qsizetype ii = 0; ii < t.items.size(); ++ii) {
            const Item *item = t.items[ii];
            const quint64 nameEntry = base + nameDir + 16 + 8 * quint64(ii);
            put32(out, nameEntry, putString(item->name));
            put32(out, nameEntry + 4, quint32(langDir) | kHighBit);
            putDirectory(out, base + langDir, 0, 1);
            put32(out, base + langDir + 16, kLanguage);
            put32(out, base + langDir + 20, quint32(dataEntry));
            put32(out, base + dataEntry, quint32(kSectionRva + data));
            put32(out, base + dataEntry + 4, quint32(item->data.size()));
            if (!item->data.isEmpty())
                out.replace(qsizetype(base + data), item->data.size(), item->data);
            data = alignUp(data + quint64(item->data.size()), 8);
            langDir += 24;
            dataEntry += 16;
        }
        nameDir += 16 + 8 * quint64(t.items.size());
    }
    return out;
}

bool ResourcePackWriter::write(const QString &path, QString *error) const
{
    const QByteArray bytes = toBytes();
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("too many or too large resources for one pack");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace tipsovo
