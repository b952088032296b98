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
    m_waiting.clear();
    if (m_output)
        m_output->stopAll();
    releaseSoundPack();
}

void MediaService::PredvajajZvok(const QString &name, const QString &pack, bool keepTrying,
                                 QObject *requester)
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

    // A waiting instruction goes first: nothing else may take its turn.
    if (!m_waiting.empty()) {
        if (!keepTrying)
            return report(SoundOutcome::Refused);
        m_waiting.push_back({name, pack, sound, requester, requester != nullptr});
        return;
    }
    if (m_output->playAsync(sound))
        return report(SoundOutcome::Played);
    if (!keepTrying)
        return report(SoundOutcome::Refused);
    // Refused with nothing playing: the output cannot play it at all (or the playing sound has
    // just ended: ask once more).
    if (!m_output->isPlaying()) {
        if (m_output->playAsync(sound))
            return report(SoundOutcome::Played);
        if (!m_output->isPlaying())
            return report(SoundOutcome::Refused);
    }
    m_waiting.push_back({name, pack, sound, requester, requester != nullptr});
    beginWait(m_waiting.front());
    scheduleTry();
}

void MediaService::forgetWaiting(const QObject *requester)
{
    if (!requester)
        return;
    for (Waiting &w : m_waiting)
        if (w.requester == requester)
            w.requester.clear(); // dropped when its turn comes, as if the requester were gone
    tryWaiting();
}

void MediaService::beginWait(Waiting &w)
{
    // Never longer than what is left of the playing sound plus a margin. What is left is asked
    // again on the way (a server that falls behind makes it longer), yet the wait never
    // stretches further than a fixed amount beyond the first answer, whatever the output says.
    w.deadlineMs = m_clock.nowMs() + m_output->remainingMs() + kKeepTryingMarginMs;
    w.capMs = w.deadlineMs + kKeepTryingStretchMs;
}

void MediaService::scheduleTry()
{
    if (m_tryScheduled || m_waiting.empty())
        return;
    m_tryScheduled = true;
    m_clock.callAfter(kKeepTryingStepMs, this, [this] {
        m_tryScheduled = false;
        tryWaiting();
    });
}

void MediaService::tryWaiting()
{
    while (!m_waiting.empty()) {
        Waiting &w = m_waiting.front();
        if (w.deadlineMs < 0)
            beginWait(w);
        const auto settle = [&](SoundOutcome outcome) {
            const Waiting done = std::move(m_waiting.front());
            m_waiting.pop_front();
            // A request whose screen has closed is dropped without a word.
            if (!done.hasRequester || done.requester)
                emit soundRequested(done.name, done.pack, true, outcome);
        };
        if (w.hasRequester && !w.requester) {
            settle(SoundOutcome::Refused);
            continue;
        }
        if (m_output->playAsync(w.sound)) {
            settle(SoundOutcome::Played);
            continue; // the next one now waits for this one
        }
        if (!m_output->isPlaying()) {
            if (m_output->playAsync(w.sound)) {
                settle(SoundOutcome::Played);
                continue;
            }
            if (!m_output->isPlaying()) {
                settle(SoundOutcome::Refused);
                continue;
            }
        }
        const qint64 now = m_clock.nowMs();
        w.deadlineMs = std::min(w.capMs, std::max(w.deadlineMs,
                                                  now + m_output->remainingMs() + kKeepTryingMarginMs));
        if (now >= w.deadlineMs) {
            settle(SoundOutcome::Refused);
            continue;
        }
        scheduleTry();
        return;
    }
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
    m_waiting.clear();
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
