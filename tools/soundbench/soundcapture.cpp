// SPDX-License-Identifier: GPL-3.0-or-later
#include "soundcapture.h"

#include "media/recordingsoundoutput.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace tipsovo::soundcheck {

QByteArray toneWave(int durationMs, int amplitude, int frequencyHz)
{
    const int frames = int(qint64(kRate) * durationMs / 1000);
    QByteArray samples;
    samples.reserve(qsizetype(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const double phase = 2 * std::numbers::pi * frequencyHz * i / kRate;
        char b[2];
        qToLittleEndian(qint16(std::lround(amplitude * std::sin(phase))), b);
        samples.append(b, 2);
    }
    return monoWave(samples, kRate);
}

namespace {

constexpr int kWindow = kRate / 200; // 5 ms
constexpr double kWindowMs = 1000.0 * kWindow / kRate;
constexpr int kShortestRun = 3;      // windows
// RMS thresholds between the levels, well inside the gaps of the two tones' RMS.
constexpr double kSilenceBelow = 1200;
constexpr double kQuietBelow = 7500;

struct Run {
    Level level;
    int first;
    int count;
};

} // namespace

QList<Segment> soundingSegments(const QByteArray &samples)
{
    const auto *s = reinterpret_cast<const uchar *>(samples.constData());
    const qsizetype frames = samples.size() / 2;
    QList<Run> runs;
    for (qsizetype w = 0; (w + 1) * kWindow <= frames; ++w) {
        double sum = 0;
        for (int i = 0; i < kWindow; ++i) {
            const double v = qFromLittleEndian<qint16>(s + 2 * (w * kWindow + i));
            sum += v * v;
        }
        const double rms = std::sqrt(sum / kWindow);
        const Level level = rms < kSilenceBelow ? Level::Silence
                            : rms < kQuietBelow ? Level::Quiet
                                                : Level::Loud;
        if (!runs.isEmpty() && runs.last().level == level)
            ++runs.last().count;
        else
            runs.append({level, int(w), 1});
    }
    // Drop the short transition runs, then join what became neighbours of one level.
    QList<Run> kept;
    for (const Run &r : runs) {
        if (r.count < kShortestRun)
            continue;
        if (!kept.isEmpty() && kept.last().level == r.level)
            kept.last().count = r.first + r.count - kept.last().first;
        else
            kept.append(r);
    }
    QList<Segment> result;
    for (const Run &r : kept) {
        if (r.level != Level::Silence)
            result.append({r.level, r.first * kWindowMs, (r.first + r.count) * kWindowMs});
    }
    return result;
}

QString describe(const QList<Segment> &segments)
{
    QStringList parts;
    for (const Segment &s : segments)
        parts << QStringLiteral("%1 %2-%3")
                     .arg(s.level == Level::Loud ? QStringLiteral("loud") : QStringLiteral("quiet"))
                     .arg(qRound(s.startMs))
                     .arg(qRound(s.endMs));
    return parts.isEmpty() ? QStringLiteral("(silence)") : parts.join(QStringLiteral(", "));
}

MonitorRecorder::~MonitorRecorder()
{
    if (m_parec.state() != QProcess::NotRunning) {
        m_parec.kill();
        m_parec.waitForFinished(2000);
    }
}

bool MonitorRecorder::start(const QString &sink, QString *error, int latencyMs)
{
    const QString path = m_dir.filePath(QStringLiteral("monitor.raw"));
    m_parec.setStandardOutputFile(path);
    m_parec.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{QStringLiteral("--device=%1.monitor").arg(sink), QStringLiteral("--raw"),
                     QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(kRate),
                     QStringLiteral("--channels=1")};
    if (latencyMs > 0)
        args << QStringLiteral("--latency-msec=%1").arg(latencyMs);
    m_parec.start(QStringLiteral("parec"), args);
    if (!m_parec.waitForStarted(5000)) {
        if (error)
            *error = QStringLiteral("parec did not start: ") + m_parec.errorString();
        return false;
    }
    // The monitor of a running null sink delivers silence all the time: recording has begun
    // once some of it has arrived.
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(path).size() < kRate / 10 * 2) {
        if (m_parec.state() == QProcess::NotRunning || waited.elapsed() > 10000) {
            if (error)
                *error = QStringLiteral("parec records nothing from %1.monitor").arg(sink);
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}

double MonitorRecorder::recordedMs() const
{
    return QFileInfo(m_dir.filePath(QStringLiteral("monitor.raw"))).size() / 2 * 1000.0 / kRate;
}

QByteArray MonitorRecorder::stop(int tailMs)
{
    QThread::msleep(tailMs);
    m_parec.terminate();
    if (!m_parec.waitForFinished(3000)) {
        m_parec.kill();
        m_parec.waitForFinished(2000);
    }
    QFile f(m_dir.filePath(QStringLiteral("monitor.raw")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace tipsovo::soundcheck
