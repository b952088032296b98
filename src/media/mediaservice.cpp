// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/mediaservice.h"

#include "media/clock.h"
#include "media/slovenian.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QtEndian>

namespace tipsovo {

MediaService::MediaService(QString packDir, std::unique_ptr<SoundOutput> output, Clock &clock,
                           QObject *parent)
    : QObject(parent), m_packDir(std::move(packDir)), m_output(std::move(output)), m_clock(clock)
{
    m_reportError = [](const QString &text) {
        QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    };
}

MediaService::~MediaService()
{
    if (m_output)
        m_output->stopAll();
    releaseSoundPack();
}

void MediaService::PredvajajZvok(const QString &name, const QString &pack, bool keepTrying)
{
    if (name.isEmpty() || !m_soundOn)
        return;
    const auto report = [&](SoundOutcome outcome) {
        emit soundRequested(name, pack, keepTrying, outcome);
    };

    // A sound that cannot start is silence at once: nothing to wait for.
    ResourcePack *soundPackHandle = soundPack(pack);
    if (!soundPackHandle)
        return report(SoundOutcome::Missing);
    const auto data = soundPackHandle->find(ResourceKind::Wave, upperCp1250(name));
    PcmSound sound;
    if (!data || !decodeWave(*data, &sound) || sound.samples.isEmpty())
        return report(SoundOutcome::Missing);

    if (m_output->playAsync(sound))
        return report(SoundOutcome::Played);
    if (!keepTrying)
        return report(SoundOutcome::Refused);

    // Keep asking until the playing sound has ended, so this one starts right after it; but
    // never longer than what is left of it plus a margin. What is left is asked again on the
    // way (a server that falls behind makes it longer), yet the wait never stretches further
    // than a fixed amount beyond the first answer, whatever the output says.
    const qint64 firstDeadline = m_clock.nowMs() + m_output->remainingMs() + kKeepTryingMarginMs;
    const qint64 cap = firstDeadline + kKeepTryingStretchMs;
    qint64 deadline = firstDeadline;
    for (;;) {
        if (m_output->playAsync(sound))
            return report(SoundOutcome::Played);
        if (!m_output->isPlaying()) {
            // The playing sound may have ended between the two questions: ask once more. Refused
            // with nothing playing means the output cannot play it at all.
            if (m_output->playAsync(sound))
                return report(SoundOutcome::Played);
            if (!m_output->isPlaying())
                break;
        }
        const qint64 now = m_clock.nowMs();
        deadline = std::min(cap, std::max(deadline, now + m_output->remainingMs() + kKeepTryingMarginMs));
        const qint64 left = deadline - now;
        if (left <= 0)
            break;
        m_clock.sleepMs(std::min(left, kKeepTryingStepMs));
    }
    report(SoundOutcome::Refused);
}

void MediaService::NaloziSliko(const QString &pack, const QString &name, QImage &picture)
{
    const std::unique_ptr<ResourcePack> p = openPack(pack);
    if (!p)
        return;
    const auto data = p->find(ResourceKind::Bitmap, name);
    QImage decoded;
    if (!data || !decodeBitmapResource(*data, &decoded)) {
        reportError(resourceNotFoundText());
        return;
    }
    picture = decoded;
}

bool MediaService::NaloziSeznam(const QString &pack, const QString &name, QStringList &lines)
{
    const std::unique_ptr<ResourcePack> p = openPack(pack);
    if (!p)
        return false;
    const auto data = p->find(ResourceKind::RcData, upperCp1250(name));
    if (!data)
        return false;
    lines = splitListText(*data);
    return true;
}

bool MediaService::VecKot256Barv() const
{
    if (!qGuiApp)
        return false;
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen && screen->depth() > 8;
}

void MediaService::setZamikZvoka(int ms)
{
    ms = std::clamp(ms, 1, 1000);
    if (ms == m_zamikZvoka)
        return;
    m_zamikZvoka = ms;
    emit zamikZvokaChanged(ms);
}

void MediaService::stopAll()
{
    if (m_output)
        m_output->stopAll();
}

void MediaService::releaseSoundPack()
{
    m_soundPack.reset();
    m_soundPackName.clear();
}

void MediaService::reportError(const QString &text) const
{
    if (m_reportError)
        m_reportError(text);
}

std::unique_ptr<ResourcePack> MediaService::openPack(const QString &base) const
{
    const QString path = findPackFile(m_packDir, base);
    if (path.isEmpty())
        return nullptr;
    return ResourcePack::open(path);
}

ResourcePack *MediaService::soundPack(const QString &pack)
{
    // The sound pack stays open while the same pack is asked for; the samples are copied out
    // when decoded, so releasing it never pulls data from under a playing sound.
    if (m_soundPack && m_soundPackName.compare(pack, Qt::CaseInsensitive) == 0)
        return m_soundPack.get();
    releaseSoundPack();
    m_soundPack = openPack(pack);
    if (m_soundPack)
        m_soundPackName = pack;
    return m_soundPack.get();
}

namespace {

constexpr quint32 kBiRgb = 0;
constexpr quint32 kBiBitfields = 3;
constexpr quint32 kBiAlphaBitfields = 6;
constexpr qint64 kMaxSide = 16384;

} // namespace

bool decodeBitmapResource(QByteArrayView dib, QImage *out)
{
    const qsizetype size = dib.size();
    if (size < 12)
        return false;
    const char *d = dib.data();
    const quint32 headerSize = qFromLittleEndian<quint32>(d);
    if (headerSize > quint32(size))
        return false;

    qint64 width = 0;
    qint64 height = 0;
    int bitCount = 0;
    quint32 compression = kBiRgb;
    qint64 colours = 0;
    int entrySize = 4;
    qint64 masks = 0;
    if (headerSize == 12) { // BITMAPCOREHEADER
        width = qFromLittleEndian<quint16>(d + 4);
        height = qFromLittleEndian<quint16>(d + 6);
        bitCount = qFromLittleEndian<quint16>(d + 10);
        colours = bitCount <= 8 ? (qint64(1) << bitCount) : 0;
        entrySize = 3;
    } else if (headerSize >= 40) {
        width = qFromLittleEndian<qint32>(d + 4);
        height = qFromLittleEndian<qint32>(d + 8);
        bitCount = qFromLittleEndian<quint16>(d + 14);
        compression = qFromLittleEndian<quint32>(d + 16);
        const quint32 used = qFromLittleEndian<quint32>(d + 32);
        if (bitCount <= 8) {
            if (used > (quint32(1) << bitCount))
                return false;
            colours = used ? used : (qint64(1) << bitCount);
        } else {
            colours = used; // an optional table before the pixels
        }
        if (headerSize == 40 && compression == kBiBitfields)
            masks = 12;
        else if (headerSize == 40 && compression == kBiAlphaBitfields)
            masks = 16;
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || width > kMaxSide || std::abs(height) > kMaxSide)
        return false;
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32:
        break;
    default:
        return false;
    }

    const qint64 pixelStart = qint64(headerSize) + masks + colours * entrySize;
    if (pixelStart > size)
        return false;
    if (compression == kBiRgb || compression == kBiBitfields || compression == kBiAlphaBitfields) {
        const qint64 rowBytes = (width * bitCount + 31) / 32 * 4;
        if (rowBytes * std::abs(height) > size - pixelStart)
            return false; // truncated pixels
    }

    // The 14-byte file header a bitmap resource lacks; its sizes are filled in correctly.
    QByteArray file;
    file.reserve(14 + size);
    file.append("BM", 2);
    char field[4];
    qToLittleEndian<quint32>(quint32(14 + size), field);
    file.append(field, 4);
    file.append(4, '\0'); // reserved
    qToLittleEndian<quint32>(quint32(14 + pixelStart), field);
    file.append(field, 4);
    file.append(d, size);

    QImage image;
    if (!image.loadFromData(file, "BMP") || image.isNull())
        return false;
    if (out)
        *out = std::move(image);
    return true;
}

QStringList splitListText(QByteArrayView bytes)
{
    // As the program's lists have always been read: CR, LF and CR LF each end a line; a
    // terminator at the very end adds no empty line; the text ends at a NUL (padding).
    QStringList lines;
    const qsizetype n = bytes.size();
    qsizetype end = 0;
    while (end < n && bytes[end] != '\0')
        ++end;
    qsizetype pos = 0;
    while (pos < end) {
        qsizetype stop = pos;
        while (stop < end && bytes[stop] != '\r' && bytes[stop] != '\n')
            ++stop;
        lines.append(fromCp1250(bytes.sliced(pos, stop - pos)));
        pos = stop;
        if (pos < end && bytes[pos] == '\r')
            ++pos;
        if (pos < end && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

QString resourceNotFoundText()
{
    // The program speaks Slovenian only: the Slovenian system's wording of this error.
    return QStringLiteral("Navedenega imena vira ni mogoče najti v slikovni datoteki.");
}

QString packOpenErrorText(const QString &packDir, const QString &baseName)
{
    const QString path = findPackFile(packDir, baseName);
    if (path.isEmpty())
        return QStringLiteral("The specified module could not be found.");
    return QStringLiteral("%1 is not a valid Win32 application.").arg(QFileInfo(path).fileName());
}

void playFromPackSync(const QString &packPath, const QString &name, SoundOutput &output)
{
    if (packPath.isEmpty() || name.isEmpty())
        return;
    const std::unique_ptr<ResourcePack> pack = ResourcePack::open(packPath);
    if (!pack)
        return;
    const auto data = pack->find(ResourceKind::Wave, upperCp1250(name));
    PcmSound sound;
    if (!data || !decodeWave(*data, &sound) || sound.samples.isEmpty())
        return;
    output.playSync(sound);
}

} // namespace tipsovo
