// SPDX-License-Identifier: GPL-3.0-or-later
// ipo: builds, lists and extracts the program's resource packs (".ipo").
//
//   tipsovo-ipo build OUT.ipo KIND:NAME=FILE...
//   tipsovo-ipo build OUT.ipo -m MANIFEST        (lines: KIND<TAB>NAME<TAB>FILE)
//   tipsovo-ipo list PACK
//   tipsovo-ipo extract PACK KIND NAME OUTFILE
//   tipsovo-ipo --help | --version
//
// KIND is WAVE, BITMAP, RCDATA or TEXT (a UTF-8 text stored as Windows-1250 raw data).

#include "media/resourcepack.h"
#include "media/slovenian.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QStringDecoder>
#include <QtEndian>

#include <cstdio>

using namespace tipsovo;

namespace {

constexpr int kBmpFileHeader = 14;

// Thrown for anything the user has to fix; main() prints it and exits with 1.
struct Failure {
    QString message;
};

[[noreturn]] void fail(const QString &message)
{
    throw Failure{message};
}

void printErr(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

const char kUsage[] =
    "Usage: tipsovo-ipo build OUT.ipo KIND:NAME=FILE...\n"
    "  or:  tipsovo-ipo build OUT.ipo -m MANIFEST\n"
    "  or:  tipsovo-ipo list PACK\n"
    "  or:  tipsovo-ipo extract PACK KIND NAME OUTFILE\n"
    "  or:  tipsovo-ipo --help | --version\n";

int usage()
{
    std::fputs(kUsage, stderr);
    std::fputs("KIND is WAVE, BITMAP, RCDATA or TEXT; MANIFEST has a KIND<TAB>NAME<TAB>FILE a line\n",
               stderr);
    return 2;
}

int help()
{
    std::fputs(kUsage, stdout);
    std::fputs(
        "\nBuilds, lists and extracts the resource packs (*.ipo) of Tipsovo: resource-only\n"
        "Windows libraries holding sounds, pictures and text lists.\n\n"
        "Commands:\n"
        "  build OUT.ipo KIND:NAME=FILE...  write a pack of the given files\n"
        "  build OUT.ipo -m MANIFEST        the same, one KIND<TAB>NAME<TAB>FILE a line\n"
        "  list PACK                        print KIND<TAB>NAME of every resource\n"
        "  extract PACK KIND NAME OUTFILE   write one resource to a file\n\n"
        "KIND is WAVE, BITMAP, RCDATA or TEXT (a UTF-8 text stored as Windows-1250 raw\n"
        "data).\n\n"
        "Options:\n"
        "  -h, --help     show this text and end\n"
        "  -v, --version  show the version and end\n",
        stdout);
    return 0;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
}

// What the user asked for: the pack's three kinds plus TEXT, which is stored as raw data.
struct Kind {
    ResourceKind stored;
    bool text = false;
};

std::optional<Kind> parseKind(const QString &name)
{
    if (name.compare(u"TEXT", Qt::CaseInsensitive) == 0)
        return Kind{ResourceKind::RcData, true};
    if (const auto kind = kindFromName(name))
        return Kind{*kind, false};
    return std::nullopt;
}

QByteArray waveData(const QString &path)
{
    QByteArray bytes = readFile(path);
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        fail(QStringLiteral("%1: not a RIFF/WAVE file").arg(path));
    return bytes;
}

// Bitmap resources hold a BMP file without its 14-byte file header. A .bmp is taken as it is;
// anything else Qt can read is converted to a 24-bit BMP first.
QByteArray bitmapData(const QString &path)
{
    QByteArray bytes = readFile(path);
    if (!bytes.startsWith("BM")) {
        QImage image;
        if (!image.loadFromData(bytes))
            fail(QStringLiteral("%1: not a picture that can be read").arg(path));
        image = image.convertToFormat(QImage::Format_RGB888);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "BMP"))
            fail(QStringLiteral("%1: cannot convert to a bitmap").arg(path));
        bytes = buffer.data();
    }
    if (bytes.size() < kBmpFileHeader + 12)
        fail(QStringLiteral("%1: bitmap too short").arg(path));
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes.constData() + kBmpFileHeader);
    if (infoSize < 12 || infoSize > quint32(bytes.size() - kBmpFileHeader))
        fail(QStringLiteral("%1: bitmap header damaged").arg(path));
    return bytes.mid(kBmpFileHeader);
}

// A UTF-8 text becomes Windows-1250; a character the code page lacks is refused by line.
QByteArray textData(const QString &path)
{
    const QByteArray bytes = readFile(path);
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        fail(QStringLiteral("%1: not valid UTF-8").arg(path));
    int line = 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\n')
            ++line;
        if (ch.unicode() < 0x80)
            continue;
        QString one(ch);
        if (ch.isHighSurrogate() && i + 1 < text.size())
            one += text.at(i + 1);
        if (toCp1250(one) == "?") {
            const char32_t code = one.size() > 1 ? QChar::surrogateToUcs4(one.at(0), one.at(1))
                                                 : char32_t(ch.unicode());
            fail(QStringLiteral("%1:%2: character %3 (U+%4) is not in Windows-1250")
                     .arg(path)
                     .arg(line)
                     .arg(one, QString::number(quint32(code), 16).toUpper().rightJustified(4, u'0')));
        }
    }
    return toCp1250(text);
}

QByteArray resourceData(const Kind &kind, const QString &path)
{
    if (kind.text)
        return textData(path);
    switch (kind.stored) {
    case ResourceKind::Wave:
        return waveData(path);
    case ResourceKind::Bitmap:
        return bitmapData(path);
    case ResourceKind::RcData:
        return readFile(path);
    }
    return {};
}

struct Request {
    Kind kind;
    QString name;
    QString file;
    QString origin; // where the request came from, for messages
};

Request parseRequest(const QString &kindText, const QString &name, const QString &file,
                     const QString &origin)
{
    const auto kind = parseKind(kindText);
    if (!kind)
        fail(QStringLiteral("%1: unknown kind \"%2\" (WAVE, BITMAP, RCDATA or TEXT)")
                 .arg(origin, kindText));
    if (name.isEmpty())
        fail(QStringLiteral("%1: empty resource name").arg(origin));
    if (name.size() > 255)
        fail(QStringLiteral("%1: resource name longer than 255 characters").arg(origin));
    if (file.isEmpty())
        fail(QStringLiteral("%1: no file given").arg(origin));
    return {*kind, name, file, origin};
}

QList<Request> readManifest(const QString &path)
{
    const QByteArray bytes = readFile(path);
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        fail(QStringLiteral("%1: not valid UTF-8").arg(path));
    const QDir folder = QFileInfo(path).absoluteDir();
    QList<Request> requests;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QString origin = QStringLiteral("%1:%2").arg(path).arg(i + 1);
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 3)
            fail(QStringLiteral("%1: expected KIND<TAB>NAME<TAB>FILE").arg(origin));
        requests.append(parseRequest(fields[0].trimmed(), fields[1], folder.filePath(fields[2]),
                                     origin));
    }
    return requests;
}

int build(const QStringList &args)
{
    if (args.size() < 2)
        return usage();
    const QString out = args[0];
    QList<Request> requests;
    if (args[1] == u"-m") {
        if (args.size() != 3)
            return usage();
        requests = readManifest(args[2]);
    } else {
        for (qsizetype i = 1; i < args.size(); ++i) {
            const QString &arg = args[i];
            const qsizetype colon = arg.indexOf(u':');
            const qsizetype equals = colon < 0 ? -1 : arg.indexOf(u'=', colon + 1);
            if (colon < 0 || equals < 0)
                fail(QStringLiteral("\"%1\": expected KIND:NAME=FILE").arg(arg));
            requests.append(parseRequest(arg.left(colon), arg.mid(colon + 1, equals - colon - 1),
                                         arg.mid(equals + 1), QStringLiteral("\"%1\"").arg(arg)));
        }
    }

    // Names are stored in capitals, so "žoga" and "ŽOGA" would be one resource: refuse that
    // rather than let one silently replace the other.
    QHash<QPair<int, QString>, QString> seen;
    ResourcePackWriter writer;
    for (const Request &r : requests) {
        const auto key = qMakePair(int(r.kind.stored), upperCp1250(r.name));
        if (seen.contains(key))
            fail(QStringLiteral("%1: %2 \"%3\" is already given by %4")
                     .arg(r.origin, kindName(r.kind.stored), key.second, seen.value(key)));
        seen.insert(key, r.origin);
        writer.add(r.kind.stored, r.name, resourceData(r.kind, r.file));
    }
    QString error;
    if (!writer.write(out, &error))
        fail(QStringLiteral("%1: %2").arg(out, error));
    return 0;
}

std::unique_ptr<ResourcePack> openPack(const QString &path)
{
    if (!QFileInfo(path).isFile())
        fail(QStringLiteral("%1: no such file").arg(path));
    auto pack = ResourcePack::open(path);
    if (!pack)
        fail(QStringLiteral("%1: cannot be opened as a resource pack (unreadable or malformed)")
                 .arg(path));
    return pack;
}

int list(const QStringList &args)
{
    if (args.size() != 1)
        return usage();
    const auto pack = openPack(args[0]);
    QByteArray out;
    for (const ResourceEntry &e : pack->entries())
        out += kindName(e.kind).toUtf8() + '\t' + e.name.toUtf8() + '\n';
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}

// A bitmap resource gets back the file header it lost: the pixels start after the info header,
// the colour masks and the colour table.
QByteArray bitmapFile(QByteArrayView dib)
{
    if (dib.size() < 12)
        fail(QStringLiteral("bitmap resource too short"));
    const auto *p = dib.constData();
    const quint32 infoSize = qFromLittleEndian<quint32>(p);
    quint64 table = 0;
    if (infoSize == 12) { // BITMAPCOREHEADER: three-byte colour entries
        const quint16 bits = qFromLittleEndian<quint16>(p + 10);
        table = bits <= 8 ? (quint64(1) << bits) * 3 : 0;
    } else if (infoSize >= 40 && dib.size() >= 40) {
        const quint16 bits = qFromLittleEndian<quint16>(p + 14);
        const quint32 compression = qFromLittleEndian<quint32>(p + 16);
        const quint32 used = qFromLittleEndian<quint32>(p + 32);
        const quint64 colours = used != 0 ? used : (bits <= 8 ? quint64(1) << bits : 0);
        table = colours * 4;
        if (infoSize == 40 && compression == 3) // BI_BITFIELDS: three masks after the header
            table += 12;
        else if (infoSize == 40 && compression == 6) // BI_ALPHABITFIELDS
            table += 16;
    } else {
        fail(QStringLiteral("bitmap resource has an unknown header"));
    }
    const quint64 pixels = kBmpFileHeader + quint64(infoSize) + table;
    const quint64 fileSize = kBmpFileHeader + quint64(dib.size());
    if (pixels > fileSize || fileSize > 0xFFFFFFFF)
        fail(QStringLiteral("bitmap resource damaged"));
    QByteArray header(kBmpFileHeader, '\0');
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileSize), header.data() + 2);
    qToLittleEndian<quint32>(quint32(pixels), header.data() + 10);
    return header + dib.toByteArray();
}

int extract(const QStringList &args)
{
    if (args.size() != 4)
        return usage();
    const auto kind = parseKind(args[1]);
    if (!kind)
        fail(QStringLiteral("unknown kind \"%1\" (WAVE, BITMAP, RCDATA or TEXT)").arg(args[1]));
    const auto pack = openPack(args[0]);
    const auto data = pack->find(kind->stored, args[2]);
    if (!data)
        fail(QStringLiteral("%1: no %2 resource \"%3\"")
                 .arg(args[0], kindName(kind->stored), args[2]));
    QByteArray out;
    if (kind->text)
        out = fromCp1250(*data).toUtf8();
    else if (kind->stored == ResourceKind::Bitmap)
        out = bitmapFile(*data);
    else
        out = data->toByteArray();
    writeFile(args[3], out);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == u"--version" || command == u"-v") {
        std::printf("tipsovo-ipo %s\n", TIPSOVO_VERSION);
        return 0;
    }
    if (command == u"--help" || command == u"-h")
        return help();
    try {
        if (command == u"build")
            return build(args);
        if (command == u"list")
            return list(args);
        if (command == u"extract")
            return extract(args);
    } catch (const Failure &f) {
        printErr(QStringLiteral("tipsovo-ipo: ") + f.message);
        return 1;
    }
    return usage();
}
