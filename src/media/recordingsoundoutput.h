// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/mediaservice.h"
#include "media/soundoutput.h"

#include <QList>
#include <QObject>
#include <QStringList>

namespace tipsovo {

class Clock;

// A sound output for tests. It plays nothing; it records every request (the sound's bytes and
// length, sync or async, accepted or refused, in order) and lets a sound "play" on a Clock: an
// accepted sound plays from the clock time of its start until start + its duration. With a
// ManualClock a test makes a sound playing and moves time on at will.
class RecordingSoundOutput final : public SoundOutput {
public:
    struct Request {
        int sequence = 0;    // 0, 1, 2 ... in the order of the requests
        qint64 atMs = 0;     // clock time of the request
        qint64 durationMs = 0;
        QByteArray samples;
        bool sync = false;
        bool accepted = false;
    };

    explicit RecordingSoundOutput(Clock &clock);

    bool playAsync(const PcmSound &sound) override;
    // Accepted: the clock sleeps for the sound's duration, as a real synchronous play blocks.
    bool playSync(const PcmSound &sound) override;
    void stopAll() override;
    bool isPlaying() const override;
    qint64 remainingMs() const override;

    // A sound of `durationMs` starts now, as if someone else had started it (not recorded).
    void startPlaying(qint64 durationMs);
    // A broken output: every request is refused and nothing ever plays.
    void setRefuseAll(bool refuse) { m_refuseAll = refuse; }

    const QList<Request> &requests() const { return m_requests; }
    QList<Request> accepted() const;
    int refusedCount() const;
    int stopCount() const { return m_stops; }
    void clear();

private:
    bool request(const PcmSound &sound, bool sync);

    Clock &m_clock;
    QList<Request> m_requests;
    qint64 m_playingUntil = 0;
    bool m_playing = false;
    bool m_refuseAll = false;
    int m_stops = 0;
};

// What the media service did with each sound request, by sound name (as the caller gave it):
// connect it to the service before the screen runs, then assert e.g.
// QCOMPARE(log.names(), QStringList{"A29"}).
class SoundLog : public QObject {
public:
    struct Entry {
        QString name;
        QString pack;
        bool keepTrying = false;
        MediaService::SoundOutcome outcome = MediaService::SoundOutcome::Missing;
    };

    explicit SoundLog(MediaService &media, QObject *parent = nullptr);

    QStringList names() const;     // the sounds that started playing, in order
    QStringList refused() const;   // refused because another sound was playing
    QStringList missing() const;   // could not start: pack or sound missing, bad data
    QStringList requested() const; // every request that got past the sound switch
    const QList<Entry> &entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

private:
    QStringList namesWith(MediaService::SoundOutcome outcome) const;
    QList<Entry> m_entries;
};

// A mono 16-bit PCM WAVE file of `samples` (little-endian) at `sampleRate`.
QByteArray monoWave(const QByteArray &samples, int sampleRate);

// A mono 16-bit PCM WAVE file of `durationMs` of silence at `sampleRate`, for test packs.
QByteArray makeTestWave(int durationMs, int sampleRate = 8000);

// Writes pack `baseName`.ipo into `dir` holding a WAVE of `durationMs` for each name.
bool writeTestSoundPack(const QString &dir, const QString &baseName, const QStringList &names,
                        int durationMs = 500);

} // namespace tipsovo
