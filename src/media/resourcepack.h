// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class QFile;

namespace tipsovo {

// The three kinds of resource the program reads from a pack.
enum class ResourceKind {
    Wave,   // the named type "WAVE"
    Bitmap, // RT_BITMAP = 2
    RcData, // RT_RCDATA = 10
};

QString kindName(ResourceKind kind); // "WAVE", "BITMAP", "RCDATA"
std::optional<ResourceKind> kindFromName(const QString &name);

struct ResourceEntry {
    ResourceKind kind;
    QString name; // as stored in the pack
    qsizetype size = 0;
};

// A resource pack: a resource-only PE/COFF library (".ipo"). The reader walks the resource
// directory itself and checks every offset and size against the file before it trusts it;
// a pack that is malformed in any way is rejected as a whole by open(), exactly like a pack
// that cannot be opened. Packs made by the standard Windows resource tools (32 and 64 bit)
// are read as well as the ones our writer makes.
class ResourcePack {
public:
    ~ResourcePack();
    ResourcePack(const ResourcePack &) = delete;
    ResourcePack &operator=(const ResourcePack &) = delete;

    // Maps (or reads) the file once; nullptr when it cannot be opened or is malformed.
    static std::unique_ptr<ResourcePack> open(const QString &path);
    // Parses bytes held in memory (tests, the fuzz target); nullptr when malformed.
    static std::unique_ptr<ResourcePack> fromBytes(QByteArray bytes);

    // The resource's bytes, valid while the pack lives; nullopt when missing. Names compare
    // after upperCp1250(), so "žoga", "ŽOGA" and "Žoga" find the same resource.
    std::optional<QByteArrayView> find(ResourceKind kind, const QString &name) const;

    // Every resource of the three kinds, in directory order.
    QList<ResourceEntry> entries() const;

private:
    ResourcePack() = default;
    struct Impl;
    std::unique_ptr<Impl> d;
};

// A pack to be written: resources are added with their names (stored in capitals) and the
// whole is written as a valid resource-only PE32 DLL.
class ResourcePackWriter {
public:
    void add(ResourceKind kind, const QString &name, QByteArray data);
    QByteArray toBytes() const;
    bool write(const QString &path, QString *error = nullptr) const;

private:
    struct Item {
        ResourceKind kind;
        QString name;
        QByteArray data;
    };
    QList<Item> m_items;
};

// The file of pack `baseName` + ".ipo" in `dir`, matched without regard to letter case
// ("Dat" and "DAT" name one file). Empty when there is none.
QString findPackFile(const QString &dir, const QString &baseName);

} // namespace tipsovo
