// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/recordingsoundoutput.h"

#include "media/clock.h"
#include "media/resourcepack.h"

#include <QDir>
#include <QtEndian>

namespace tipsovo {

RecordingSoundOutput::RecordingSoundOutput(Clock &clock) : m_clock(clock) {}

bool RecordingSoundOutput::playAsync(const PcmSound &sound) { return request(sound, false); }

bool RecordingSoundOutput::playSync(const PcmSound &sound)
{
    if (!request(sound, true))
        return false;
    m_clock.sleepMs(sound.durationMs());
    return true;
}

bool RecordingSoundOutput::request(const PcmSound &sound, bool sync)
{
    Request r;
    r.sequence = int(m_requests.size());
    r.atMs = m_clock.nowMs();
    r.durationMs = sound.durationMs();
    r.samples = sound.samples;
    r.sync = sync;
    r.accepted = !m_refuseAll && !isPlaying();
    if (r.accepted) {
        m_playing = true;
        m_playingUntil = r.atMs + r.durationMs;
    }
    m_requests.append(r);
    return r.accepted;
}

void RecordingSoundOutput::stopAll()
{
    ++m_stops;
    m_playing = false;
}

bool RecordingSoundOutput::isPlaying() const
{
    return m_playing && m_clock.nowMs() < m_playingUntil;
}

qint64 RecordingSoundOutput::remainingMs() const
{
    return isPlaying() ? m_playingUntil - m_clock.nowMs() : 0;
}

void RecordingSoundOutput::startPlaying(qint64 durationMs)
{
    m_playing = true;
    m_playingUntil = m_clock.nowMs() + durationMs;
}

QList<RecordingSoundOutput::Request> RecordingSoundOutput::accepted() const
{
    QList<Request> result;
    for (const Request &r : m_requests)
        if (r.accepted)
            result.append(r);
    return result;
}

int RecordingSoundOutput::refusedCount() const
{
    return int(m_requests.size() - accepted().size());
}

void RecordingSoundOutput::clear() { m_requests.clear(); }

SoundLog::SoundLog(MediaService &media, QObject *parent) : QObject(parent)
{
    connect(&media, &MediaService::soundRequested, this,
            [this](const QString &name, const QString &pack, bool keepTrying,
                   MediaService::SoundOutcome outcome) {
                m_entries.append(Entry{name, pack, keepTrying, outcome});
            });
}

QStringList SoundLog::namesWith(MediaService::SoundOutcome outcome) const
{
    QStringList result;
    for (const Entry &e : m_entries)
        if (e.outcome == outcome)
            result.append(e.name);
    return result;
}

QStringList SoundLog::names() const { return namesWith(MediaService::SoundOutcome::Played); }
QStringList SoundLog::refused() const { return namesWith(MediaService::SoundOutcome::Refused); }
QStringList SoundLog::missing() const { return namesWith(MediaService::SoundOutcome::Missing); }

QStringList SoundLog::requested() const
{
    QStringList result;
    for (const Entry &e : m_entries)
        result.append(e.name);
    return result;
}

QByteArray monoWave(const QByteArray &samples, int sampleRate)
{
    const quint32 dataSize = quint32(samples.size());
    QByteArray wave;
    auto put32 = [&wave](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wave.append(b, 4);
    };
    auto put16 = [&wave](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wave.append(b, 2);
    };
    wave.append("RIFF");
    put32(36 + dataSize);
    wave.append("WAVEfmt ");
    put32(16);
    put16(1);                       // PCM
    put16(1);                       // mono
    put32(quint32(sampleRate));
    put32(quint32(sampleRate) * 2); // bytes per second
    put16(2);                       // block align
    put16(16);
    wave.append("data");
    put32(dataSize);
    wave.append(samples);
    return wave;
}

QByteArray makeTestWave(int durationMs, int sampleRate)
{
    const qsizetype dataSize = qsizetype(qint64(sampleRate) * durationMs / 1000) * 2;
    return monoWave(QByteArray(dataSize, '\0'), sampleRate);
}

bool writeTestSoundPack(const QString &dir, const QString &baseName, const QStringList &names,
                        int durationMs)
{
    ResourcePackWriter writer;
    for (const QString &name : names)
        writer.add(ResourceKind::Wave, name, makeTestWave(durationMs));
    return writer.write(QDir(dir).filePath(baseName + QStringLiteral(".ipo")));
}

} // namespace tipsovo
