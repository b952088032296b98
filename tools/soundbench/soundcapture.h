// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hearing what a sound server really played: the monitor of its null sink recorded with parec,
// cut into stretches of silence, quiet tone and loud tone by the energy of 5 ms windows. The
// real-server tests and the sound benchmark both use it.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace tipsovo::soundcheck {

constexpr int kRate = 22050;  // of the test tones and of the recording
constexpr int kQuiet = 5000;  // peak amplitude of a "quiet" tone (RMS about 3500)
constexpr int kLoud = 16000;  // peak amplitude of a "loud" tone (RMS about 11300)

// A mono 16-bit PCM WAVE file of a sine tone.
QByteArray toneWave(int durationMs, int amplitude, int frequencyHz);

enum class Level { Silence, Quiet, Loud };

// A stretch of the recording at one level, in ms from the start of the recording.
struct Segment {
    Level level = Level::Silence;
    double startMs = 0;
    double endMs = 0;
    double lengthMs() const { return endMs - startMs; }
};

// The sounding stretches (quiet or loud) of mono 16-bit samples at kRate, in order. Windows
// are classed by their RMS; runs shorter than 15 ms (the mixed windows where one level gives
// way to another) are dropped and neighbours of one level joined.
QList<Segment> soundingSegments(const QByteArray &samples);

// A readable list of segments for failure messages: "quiet 0-600, loud 640-1140".
QString describe(const QList<Segment> &segments);

// Records the monitor of sink `sink` with parec into a file (a pipe would fill while the test
// blocks in a wait, and parec would then drop audio).
class MonitorRecorder {
public:
    ~MonitorRecorder();
    // Starts parec and returns once the recording is running; false (and why) when it is not.
    // latencyMs: how often the monitor hands over what it has; 0 leaves it to the server, whose
    // sink then renders far ahead as when nobody listens.
    bool start(const QString &sink, QString *error, int latencyMs = 20);
    // How much has been recorded so far, in ms of sound: with a short latency, where the
    // recording stands now (up to that latency behind).
    double recordedMs() const;
    // Lets the last `tailMs` of sound through, ends parec and returns the recording.
    QByteArray stop(int tailMs = 300);

private:
    QTemporaryDir m_dir;
    QProcess m_parec;
};

} // namespace tipsovo::soundcheck
