// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/resourcepack.h"

#include "media/peconstants.h"
#include "media/slovenian.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace tipsovo {

QString kindName(ResourceKind kind)
{
    switch (kind) {
    case ResourceKind::Wave:
        return QStringLiteral("WAVE");
    case ResourceKind::Bitmap:
        return QStringLiteral("BITMAP");
    case ResourceKind::RcData:
        return QStringLiteral("RCDATA");
    }
    return {};
}

std::optional<ResourceKind> kindFromName(const QString &name)
{
    const QString upper = name.toUpper();
    if (upper == u"WAVE")
        return ResourceKind::Wave;
    if (upper == u"BITMAP")
        return ResourceKind::Bitmap;
    if (upper == u"RCDATA")
        return ResourceKind::RcData;
    return std::nullopt;
}

namespace {

using pe::kHighBit;
using pe::kRtBitmap;
using pe::kRtRcData;
constexpr int kKindCount = 3;

int kindIndex(ResourceKind kind)
{
    return static_cast<int>(kind);
}

// Bounds-checked little-endian reads over the whole file. Every position is a quint64 made from
// 32-bit fields, so sums of two or three of them cannot overflow.
class Bytes {
public:
    Bytes(const uchar *data, qsizetype size) : m_data(data), m_size(quint64(size)) {}

    quint64 size() const { return m_size; }
    bool has(quint64 offset, quint64 length) const
    {
        return offset <= m_size && length <= m_size - offset;
    }
    quint16 u16(quint64 offset) const { return qFromLittleEndian<quint16>(m_data + offset); }
    quint32 u32(quint64 offset) const { return qFromLittleEndian<quint32>(m_data + offset); }
    const uchar *at(quint64 offset) const { return m_data + offset; }

private:
    const uchar *m_data;
    quint64 m_size;
};

struct Section {
    quint32 virtualAddress;
    quint32 extent; // bytes of the section that the file really holds
    quint32 fileOffset;
};

struct Found {
    ResourceKind kind;
    QString name;
    quint64 offset;
    quint32 size;
};

// Walks the headers and the resource tree of a PE image. Any inconsistency makes parse() fail;
// nothing is read before it has been checked against the file and the section that holds it.
class Parser {
public:
    explicit Parser(Bytes bytes) : b(bytes) {}

    bool parse(QList<Found> *out)
    {
        if (!b.has(0, 64) || b.u16(0) != 0x5A4D) // "MZ"
            return false;
        const quint64 pe = b.u32(0x3C);
        if (!b.has(pe, 24) || b.u32(pe) != 0x00004550) // "PE\0\0"
            return false;
        const quint32 sectionCount = b.u16(pe + 6);
        const quint32 optionalSize = b.u16(pe + 20);
        const quint64 opt = pe + 24;
        if (!b.has(opt, optionalSize) || optionalSize < 2)
            return false;

        quint64 dirCountAt = 0;
        switch (b.u16(opt)) {
        case 0x10b: dirCountAt = 92; break;  // PE32
        case 0x20b: dirCountAt = 108; break; // PE32+
        default: return false;
        }
        if (optionalSize < dirCountAt + 4)
            return false;
        const quint32 dirCount = b.u32(opt + dirCountAt);
        const quint64 dirs = opt + dirCountAt + 4;
        if (dirCount > 16 || quint64(dirCount) * 8 > optionalSize - (dirCountAt + 4))
            return false;

        // Windows itself refuses more than 96 sections.
        if (sectionCount > 96)
            return false;
        const quint64 table = opt + optionalSize;
        if (!b.has(table, quint64(sectionCount) * 40))
            return false;
        for (quint32 i = 0; i < sectionCount; ++i) {
            const quint64 s = table + quint64(i) * 40;
            const quint32 virtualSize = b.u32(s + 8);
            const quint32 rawSize = b.u32(s + 16);
            const quint32 rawOffset = b.u32(s + 20);
            if (rawSize != 0 && !b.has(rawOffset, rawSize))
                return false; // truncated file
            // Past VirtualSize the file's bytes are not part of the loaded image.
            const quint32 extent = virtualSize != 0 ? std::min(virtualSize, rawSize) : rawSize;
            m_sections.append({b.u32(s + 12), extent, rawOffset});
        }

        if (dirCount <= 2)
            return true; // no resource directory: an empty pack
        const quint32 rootRva = b.u32(dirs + 16);
        const quint32 rootSize = b.u32(dirs + 20);
        if (rootRva == 0 && rootSize == 0)
            return true;
        const Section *home = sectionOf(rootRva, 16);
        if (!home)
            return false;
        m_root = home->fileOffset + quint64(rootRva - home->virtualAddress);
        m_limit = home->fileOffset + quint64(home->extent);
        // In a well-formed tree every entry has its own eight bytes and every name its own
        // characters; overlapping or shared structures beyond that only serve to make the
        // walk take quadratic time, so they are refused.
        m_entryBudget = (m_limit - m_root) / 8 + 16;
        m_nameBudget = (m_limit - m_root) / 2 + 16;
        return walkTypes(out);
    }

private:
    const Section *sectionOf(quint32 rva, quint32 length) const
    {
        for (const Section &s : m_sections) {
            if (rva >= s.virtualAddress && quint64(rva - s.virtualAddress) + length <= s.extent)
                return &s;
        }
        return nullptr;
    }

    // A position inside the resource section, given relative to its root.
    bool inTree(quint32 relative, quint64 length, quint64 *offset) const
    {
        const quint64 at = m_root + relative;
        if (at > m_limit || length > m_limit - at)
            return false;
        *offset = at;
        return true;
    }

    // Opens the directory at `relative`; each directory is visited once, which breaks loops.
    bool directory(quint32 relative, quint64 *first, quint32 *count)
    {
        quint64 at = 0;
        if (!inTree(relative, 16, &at) || m_visited.contains(relative))
            return false;
        m_visited.insert(relative);
        *count = quint32(b.u16(at + 12)) + b.u16(at + 14);
        if (*count > m_entryBudget)
            return false;
        m_entryBudget -= *count;
        *first = at + 16;
        return inTree(relative + 16, quint64(*count) * 8, &at);
    }

    bool name(quint32 field, QString *result)
    {
        if (!(field & kHighBit)) {
            *result = QString::number(field);
            return true;
        }
        quint64 at = 0;
        if (!inTree(field & ~kHighBit, 2, &at))
            return false;
        const quint32 length = b.u16(at);
        if (length > m_nameBudget)
            return false;
        m_nameBudget -= length;
        if (!inTree((field & ~kHighBit) + 2, quint64(length) * 2, &at))
            return false;
        QString text(length, Qt::Uninitialized);
        for (quint32 i = 0; i < length; ++i)
            text[i] = QChar(b.u16(at + quint64(i) * 2));
        *result = text;
        return true;
    }

    bool walkTypes(QList<Found> *out)
    {
        quint64 first = 0;
        quint32 count = 0;
        if (!directory(0, &first, &count))
            return false;
        for (quint32 i = 0; i < count; ++i) {
            const quint32 nameField = b.u32(first + quint64(i) * 8);
            const quint32 target = b.u32(first + quint64(i) * 8 + 4);
            if (!(target & kHighBit))
                return false; // a type must lead to a directory of names
            QString typeName;
            if (!name(nameField, &typeName))
                return false;
            std::optional<ResourceKind> kind;
            if (nameField & kHighBit) {
                if (upperCp1250(typeName) == u"WAVE")
                    kind = ResourceKind::Wave;
            } else if (nameField == kRtBitmap) {
                kind = ResourceKind::Bitmap;
            } else if (nameField == kRtRcData) {
                kind = ResourceKind::RcData;
            }
            // Other types (icons, version information) are checked as well but not kept.
            if (!walkNames(target & ~kHighBit, kind, out))
                return false;
        }
        return true;
    }

    bool walkNames(quint32 relative, std::optional<ResourceKind> kind, QList<Found> *out)
    {
        quint64 first = 0;
        quint32 count = 0;
        if (!directory(relative, &first, &count))
            return false;
        for (quint32 i = 0; i < count; ++i) {
            const quint32 nameField = b.u32(first + quint64(i) * 8);
            const quint32 target = b.u32(first + quint64(i) * 8 + 4);
            if (!(target & kHighBit))
                return false; // a name must lead to a directory of languages
            QString resourceName;
            if (!name(nameField, &resourceName))
                return false;
            quint64 data = 0;
            quint32 size = 0;
            bool present = false;
            if (!walkLanguages(target & ~kHighBit, &data, &size, &present))
                return false;
            if (kind && present)
                out->append({*kind, resourceName, data, size});
        }
        return true;
    }

    // The third and last level: every entry is a data entry; the first language is the one used.
    bool walkLanguages(quint32 relative, quint64 *data, quint32 *size, bool *present)
    {
        quint64 first = 0;
        quint32 count = 0;
        if (!directory(relative, &first, &count))
            return false;
        for (quint32 i = 0; i < count; ++i) {
            const quint32 target = b.u32(first + quint64(i) * 8 + 4);
            quint64 entry = 0;
            if ((target & kHighBit) || !inTree(target, 16, &entry))
                return false;
            const quint32 rva = b.u32(entry);
            const quint32 length = b.u32(entry + 4);
            const Section *s = sectionOf(rva, length);
            if (!s)
                return false;
            if (i == 0) {
                *data = s->fileOffset + quint64(rva - s->virtualAddress);
                *size = length;
                *present = true;
            }
        }
        return true;
    }

    Bytes b;
    QList<Section> m_sections;
    quint64 m_root = 0;
    quint64 m_limit = 0;
    QSet<quint32> m_visited;
    quint64 m_entryBudget = 0;
    quint64 m_nameBudget = 0;
};

} // namespace

struct ResourcePack::Impl {
    std::unique_ptr<QFile> file; // holds the mapping, when the file could be mapped
    QByteArray bytes;            // otherwise the file's contents, or the bytes given
    const uchar *data = nullptr;
    qsizetype size = 0;
    QList<Found> resources;
    std::array<QHash<QString, qsizetype>, kKindCount> index; // upper-cased name -> resource

    bool build()
    {
        Parser parser(Bytes(data, size));
        if (!parser.parse(&resources))
            return false;
        for (qsizetype i = 0; i < resources.size(); ++i) {
            auto &names = index[kindIndex(resources[i].kind)];
            const QString key = upperCp1250(resources[i].name);
            // With two resources of one name the first in the directory is the one found.
            if (!names.contains(key))
                names.insert(key, i);
        }
        return true;
    }
};

ResourcePack::~ResourcePack() = default;

std::unique_ptr<ResourcePack> ResourcePack::open(const QString &path)
{
    auto impl = std::make_unique<Impl>();
    impl->file = std::make_unique<QFile>(path);
    if (!impl->file->open(QIODevice::ReadOnly))
        return nullptr;
    const qint64 fileSize = impl->file->size();
    uchar *mapped = fileSize > 0 ? impl->file->map(0, fileSize) : nullptr;
    if (mapped) {
        impl->data = mapped;
        impl->size = qsizetype(fileSize);
    } else {
        impl->bytes = impl->file->readAll();
        impl->file.reset();
        impl->data = reinterpret_cast<const uchar *>(impl->bytes.constData());
        impl->size = impl->bytes.size();
    }
    if (!impl->build())
        return nullptr;
    std::unique_ptr<ResourcePack> pack(new ResourcePack);
    pack->d = std::move(impl);
    return pack;
}

std::unique_ptr<ResourcePack> ResourcePack::fromBytes(QByteArray bytes)
{
    auto impl = std::make_unique<Impl>();
    impl->bytes = std::move(bytes);
    impl->data = reinterpret_cast<const uchar *>(impl->bytes.constData());
    impl->size = impl->bytes.size();
    if (!impl->build())
        return nullptr;
    std::unique_ptr<ResourcePack> pack(new ResourcePack);
    pack->d = std::move(impl);
    return pack;
}

std::optional<QByteArrayView> ResourcePack::find(ResourceKind kind, const QString &name) const
{
    const auto &names = d->index[kindIndex(kind)];
    const auto it = names.constFind(upperCp1250(name));
    if (it == names.constEnd())
        return std::nullopt;
    const Found &r = d->resources[*it];
    return QByteArrayView(d->data + r.offset, qsizetype(r.size));
}

QList<ResourceEntry> ResourcePack::entries() const
{
    QList<ResourceEntry> result;
    result.reserve(d->resources.size());
    for (const Found &r : d->resources)
        result.append({r.kind, r.name, qsizetype(r.size)});
    return result;
}

QString findPackFile(const QString &dir, const QString &baseName)
{
    const QString wanted = baseName + QStringLiteral(".ipo");
    const QDir folder(dir);
    if (QFileInfo(folder.filePath(wanted)).isFile())
        return folder.filePath(wanted);
    const QString key = upperCp1250(wanted);
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &file : files) {
        if (upperCp1250(file) == key)
            return folder.filePath(file);
    }
    return {};
}

} // namespace tipsovo
