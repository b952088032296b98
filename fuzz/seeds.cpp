// SPDX-License-Identifier: GPL-3.0-or-later
// fuzz-seeds OUT PACKDIR [DIGITS]: writes a seed corpus for every fuzz target into OUT/<target>/,
// made from the resources of the packs in PACKDIR (the default packs of a build) and from the
// odometer's digit strip DIGITS. Pictures are shrunk and sounds cut short, so that each seed is
// a few kilobytes and the fuzzer runs fast, while headers and contents stay those of the packs.
// Without packs, a few inputs made here stand in.
#include "media/bitmap.h"
#include "media/resourcepack.h"
#include "media/wave.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QtEndian>

#include <cstdio>

using namespace tipsovo;

namespace {

QDir out;

void seed(const QString &target, const QByteArray &bytes)
{
    out.mkpath(target);
    const QString name = QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16));
    QFile file(out.filePath(target + u'/' + name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray le16(quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}

QByteArray le32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

// A bitmap resource: the BMP file Qt writes, without its 14-byte file header.
QByteArray dib(const QImage &image)
{
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return file.mid(14);
}

// The same picture as the packs could hold it: true colour, 256 colours, two colours.
QList<QByteArray> dibs(const QImage &picture, QSize size)
{
    const QImage small = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB32);
    return {dib(small), dib(small.convertToFormat(QImage::Format_Indexed8)),
            dib(small.convertToFormat(QImage::Format_Mono))};
}

QByteArray wave(int channels, int rate, int bits, const QByteArray &samples, bool extensible)
{
    QByteArray fmt = le16(extensible ? 0xFFFE : 1) + le16(quint16(channels)) + le32(quint32(rate))
        + le32(quint32(rate * channels * bits / 8)) + le16(quint16(channels * bits / 8))
        + le16(quint16(bits));
    if (extensible)
        fmt += le16(22) + le16(quint16(bits)) + le32(channels == 1 ? 4 : 3) + le16(1)
            + QByteArray("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    const QByteArray body = "WAVE" + QByteArray("fmt ") + le32(quint32(fmt.size())) + fmt
        + QByteArray("data") + le32(quint32(samples.size())) + samples;
    return "RIFF" + le32(quint32(body.size())) + body;
}

// A length-prefixed first part, then the rest (fuzz::splitTwo).
QByteArray twoParts(const QByteArray &first, const QByteArray &rest)
{
    const QByteArray head = first.left(0xFFFF);
    return le16(quint16(head.size())) + head + rest;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: fuzz-seeds OUT PACKDIR [DIGITS]\n");
        return 2;
    }
    out = QDir(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("."));
    const QDir packs(QString::fromLocal8Bit(argv[2]));
    const QString digits = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

    QList<QByteArray> waves, pictures, lists;
    QStringList towns;
    QList<QImage> sheets;
    for (const QString &file : packs.entryList({QStringLiteral("*.ipo")}, QDir::Files, QDir::Name)) {
        const QString path = packs.filePath(file);
        const auto pack = ResourcePack::open(path);
        if (!pack)
            continue;
        if (QFileInfo(path).size() <= 64 * 1024) {
            QFile whole(path);
            if (whole.open(QIODevice::ReadOnly))
                seed(QStringLiteral("pack"), whole.readAll());
        }
        const QList<ResourceEntry> entries = pack->entries();
        int takenPictures = 0;
        int n = 0;
        for (const ResourceEntry &e : entries) {
            const QByteArray bytes = pack->find(e.kind, e.name)->toByteArray();
            ++n;
            switch (e.kind) {
            case ResourceKind::Wave:
                // A spread over the pack: every 40th sound.
                if (n % 40 == 1)
                    waves.append(bytes);
                break;
            case ResourceKind::Bitmap: {
                const bool sheet = file.startsWith(QLatin1String("Grafomotorika"));
                if (takenPictures >= (sheet ? 4 : 2))
                    break;
                QImage image;
                if (!decodeBitmapResource(bytes, &image))
                    break;
                ++takenPictures;
                if (bytes.size() <= 16 * 1024)
                    pictures.append(bytes);
                else
                    pictures.append(dibs(image, QSize(16, 12)));
                if (sheet)
                    sheets.append(image);
                break;
            }
            case ResourceKind::RcData:
                lists.append(bytes.left(8 * 1024));
                if (file.compare(QLatin1String("MESTA.ipo"), Qt::CaseInsensitive) == 0)
                    towns.append(e.name);
                break;
            }
        }
    }

    // Made here when the packs are missing: a short sound, a picture, a list.
    if (waves.isEmpty())
        waves.append(wave(1, 8000, 16, QByteArray(64, '\x10'), false));
    if (pictures.isEmpty()) {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(QColor(200, 40, 40));
        pictures.append(dibs(image, image.size()));
    }
    if (lists.isEmpty())
        lists.append(QByteArray("ABECEDA             A                   A\r\n\xc8RKA\r\n\x8eOGA\r\n"));
    if (towns.isEmpty())
        towns = {QStringLiteral("LJUBLJANA"), QStringLiteral("MURSKASOBOTA")};

    for (const QByteArray &w : std::as_const(waves)) {
        seed(QStringLiteral("wave"), w.left(4096));
        PcmSound sound;
        if (!decodeWave(w, &sound))
            continue;
        const QByteArray cut = sound.samples.left(512);
        seed(QStringLiteral("wave"), wave(sound.channels, sound.sampleRate, sound.bitsPerSample, cut, false));
        seed(QStringLiteral("wave"), wave(2, sound.sampleRate, 16, cut, true));
        seed(QStringLiteral("wave"), wave(1, 11025, 8, cut.left(256), false));
    }
    for (const QByteArray &p : std::as_const(pictures)) {
        seed(QStringLiteral("bitmap"), p);
        seed(QStringLiteral("town"), twoParts(lists.value(0).left(512), p));
    }
    // A stroke across the sheet (the pen width, then points), before the sheet itself.
    QByteArray stroke(1, '\x01');
    for (const QPoint at : {QPoint(100, 100), QPoint(300, 120), QPoint(320, 300), QPoint(90, 390)})
        stroke += le16(quint16(at.x() + 50)) + le16(quint16(at.y() + 50));
    for (const QImage &s : std::as_const(sheets)) {
        for (const QByteArray &d : dibs(s, QSize(30, 20)))
            seed(QStringLiteral("tracing"), twoParts(stroke, d));
    }
    if (sheets.isEmpty()) {
        for (const QByteArray &p : std::as_const(pictures))
            seed(QStringLiteral("tracing"), twoParts(stroke, p));
    }
    for (const QByteArray &l : std::as_const(lists)) {
        seed(QStringLiteral("textlist"), l);
        seed(QStringLiteral("town"), twoParts(l, pictures.value(0)));
    }

    // Pack seeds: small packs of one resource of each kind, written as our writer does.
    for (qsizetype i = 0; i < std::min<qsizetype>(4, std::min(waves.size(), pictures.size())); ++i) {
        ResourcePackWriter writer;
        writer.add(ResourceKind::Wave, QStringLiteral("A1"), waves.at(i).left(256));
        writer.add(ResourceKind::Bitmap, QStringLiteral("slika"), pictures.at(i).left(512));
        writer.add(ResourceKind::RcData, QStringLiteral("žoga"), lists.value(i).left(128));
        seed(QStringLiteral("pack"), writer.toBytes());
    }
    ResourcePackWriter empty;
    empty.add(ResourceKind::RcData, QStringLiteral("prazno"), {});
    seed(QStringLiteral("pack"), empty.toBytes());

    // Captions as the travel game builds them from the towns' names.
    for (const QString &town : std::as_const(towns)) {
        for (qsizetype at = 0; at <= town.size(); at += std::max<qsizetype>(1, town.size() / 2)) {
            const QString caption = town.left(at) + QStringLiteral("\\clRed\\cl") + town.mid(at, 1)
                + QStringLiteral("\\clGreen\\cl") + town.mid(at + 1);
            seed(QStringLiteral("markup"), caption.toUtf8());
        }
        seed(QStringLiteral("markup"), (QStringLiteral("\\b ") + town + QStringLiteral("\\plain \\sub 2\\\\")).toUtf8());
    }

    // The digit strip, as the program embeds it and shrunk, with a few rolls before it.
    QImage strip(digits);
    if (strip.isNull()) {
        strip = QImage(15, 20 * 17, QImage::Format_RGB32);
        strip.fill(Qt::darkGray);
    }
    const QByteArray rolls("\x05\x01\x00\x00\x00\x04\x00\x00\x00\x01\x08\x08\x00\x00\x10", 15);
    for (const QSize size : {QSize(3, 34), QSize(5, 68), QSize(15, 340)}) {
        const QImage s = strip.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (const char *format : {"PNG", "BMP"}) {
            QByteArray file;
            QBuffer buffer(&file);
            buffer.open(QIODevice::WriteOnly);
            s.save(&buffer, format);
            seed(QStringLiteral("odometer"), twoParts(rolls, file));
        }
    }

    // The settings file as Qt writes it, and as hands might leave it.
    for (const char *text : {"[General]\nzamikZvoka=300\n", "[General]\r\nzamikZvoka=1\r\n",
                             "zamikZvoka=1000\n", "[General]\nzamikZvoka=abc\n",
                             "[General]\nzamikZvoka=@Variant(\\0\\0\\0\\x2\\0\\0\\x1,)\n",
                             "[%General]\nzamikZvoka=\"300\"\n"})
        seed(QStringLiteral("setting"), QByteArray(text));
    return 0;
}
