// SPDX-License-Identifier: GPL-3.0-or-later
// The real sound output against a real PulseAudio server with a null sink (started for these
// tests by tests/support/with-sound-server): what the sink played is recorded from its monitor
// and read by its energy, so "heard" here means heard, not "reported".

#include "media/clock.h"
#include "media/mediaservice.h"
#include "media/recordingsoundoutput.h"
#include "media/resourcepack.h"
#include "media/soundoutput.h"
#include "soundcapture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace tipsovo;
using namespace tipsovo::soundcheck;

namespace {

PcmSound tone(int ms, int amplitude, int hz)
{
    PcmSound sound;
    decodeWave(toneWave(ms, amplitude, hz), &sound);
    return sound;
}

// Polls the output until it says nothing plays; the ms that took (or -1 past `limitMs`).
qint64 msUntilQuiet(const SoundOutput &out, const QElapsedTimer &since, qint64 limitMs)
{
    while (out.isPlaying()) {
        if (since.elapsed() > limitMs)
            return -1;
        QThread::msleep(2);
    }
    return since.elapsed();
}

// A segment's length matches the sound's within the recording's resolution (5 ms windows and
// the transitions dropped at each end), so a sound cut short or stretched by a gap fails.
constexpr double kLengthTolerance = 25;
// The largest silence allowed between a sound's end and the next sound's start.
constexpr double kMaxGapMs = 100;
// How late the end of a sound may be known, and the largest gap when the next sound is started
// right then (the new stream's start included).
constexpr double kEndReportMs = 50;
constexpr double kMaxEndGapMs = 75;
// How far a recording with a 20 ms latency may stand behind the sound.
constexpr double kRecorderLagMs = 45;

} // namespace

class TestSoundServer : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_sink;

    bool record(MonitorRecorder &rec)
    {
        QString error;
        if (rec.start(m_sink, &error))
            return true;
        qWarning("%s", qPrintable(error));
        return false;
    }

    // What pactl prints for `args`; empty when it fails.
    static QByteArray pactl(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral("pactl"), args);
        if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return QByteArray();
        return p.readAllStandardOutput();
    }

    // The sink's state as the server lists it: RUNNING, IDLE or SUSPENDED.
    QByteArray sinkState() const
    {
        const QByteArray listed = pactl({QStringLiteral("list"), QStringLiteral("short"),
                                         QStringLiteral("sinks")});
        for (const QByteArray &line : listed.split('\n')) {
            const QList<QByteArray> f = line.split('\t');
            if (f.size() >= 5 && f[1] == m_sink.toUtf8())
                return f.last().trimmed();
        }
        return QByteArray();
    }

private slots:
    void initTestCase()
    {
        m_sink = qEnvironmentVariable("TIPSOVO_PULSE_SINK");
        QVERIFY2(!m_sink.isEmpty(), "run through tests/support/with-sound-server");
        QVERIFY(m_dir.isValid());
        ResourcePackWriter pack;
        pack.add(ResourceKind::Wave, QStringLiteral("HOVER"), toneWave(700, kQuiet, 440));
        pack.add(ResourceKind::Wave, QStringLiteral("A29"), toneWave(500, kLoud, 660));
        QVERIFY(pack.write(QDir(m_dir.path()).filePath(QStringLiteral("snd.ipo"))));
    }

    // A hover sound, then an instruction asked for while it still plays: the instruction
    // waits, then follows at once; both are heard whole and in order.
    void hoverSoundThenInstructionAreBothHeard_data()
    {
        QTest::addColumn<int>("askAtMs");
        QTest::newRow("early in the hover sound") << 150;
        QTest::newRow("near its end") << 620;
    }
    void hoverSoundThenInstructionAreBothHeard()
    {
        QFETCH(int, askAtMs);
        MediaService media(m_dir.path(), createSystemSoundOutput(), systemClock());
        SoundLog log(media);
        MonitorRecorder rec;
        QVERIFY(record(rec));
        media.PredvajajZvok(QStringLiteral("HOVER"), QStringLiteral("snd"), false);
        QThread::msleep(askAtMs);
        media.PredvajajZvok(QStringLiteral("A29"), QStringLiteral("snd"), true);
        // It waits on the event loop, as the program's screens do.
        QTRY_COMPARE_WITH_TIMEOUT(log.names(), (QStringList{"HOVER", "A29"}), 3000);
        QElapsedTimer t;
        t.start();
        QVERIFY(msUntilQuiet(media.output(), t, 3000) >= 0);
        const QList<Segment> heard = soundingSegments(rec.stop());
        const QByteArray what = describe(heard).toUtf8();
        QVERIFY2(heard.size() == 2, what);
        QVERIFY2(heard[0].level == Level::Quiet && heard[1].level == Level::Loud, what);
        QVERIFY2(qAbs(heard[0].lengthMs() - 700) <= kLengthTolerance, what);
        QVERIFY2(qAbs(heard[1].lengthMs() - 500) <= kLengthTolerance, what);
        QVERIFY2(heard[1].startMs - heard[0].endMs < kMaxGapMs, what);
    }

    // The opening sound's blocking wait lasts as long as the sound, and a sound asked for
    // right after it (a hover sound) is taken at once and follows without a gap.
    void synchronousSoundWaitsForItsEnd()
    {
        auto out = createSystemSoundOutput();
        const PcmSound opening = tone(1500, kQuiet, 440);
        const PcmSound next = tone(300, kLoud, 660);
        MonitorRecorder rec;
        QVERIFY(record(rec));
        QElapsedTimer t;
        t.start();
        QVERIFY(out->playSync(opening));
        const qint64 waited = t.elapsed();
        QVERIFY(!out->isPlaying());
        QVERIFY(out->playAsync(next));
        QVERIFY(msUntilQuiet(*out, t, 4000) >= 0);
        QVERIFY2(waited >= 1500 - 20 && waited <= 1500 + 100,
                 qPrintable(QStringLiteral("waited %1 ms").arg(waited)));
        const QList<Segment> heard = soundingSegments(rec.stop());
        const QByteArray what = describe(heard).toUtf8();
        QVERIFY2(heard.size() == 2 && heard[0].level == Level::Quiet, what);
        QVERIFY2(qAbs(heard[0].lengthMs() - 1500) <= kLengthTolerance, what);
        QVERIFY2(qAbs(heard[1].lengthMs() - 300) <= kLengthTolerance, what);
        QVERIFY2(heard[1].startMs - heard[0].endMs < kMaxGapMs, what);
    }

    // A long sound is heard whole and its end is known when its last sample has been played:
    // a sound asked for at that moment follows without a gap, and the recording (handed over
    // every 20 ms) has just reached the last sample. So on a sink recorded closely, on an idle
    // sink that nobody listens to (it renders far ahead and holds a new stream back: the wait
    // follows the server, not the length), and on a sink a desktop server suspended while
    // idle, which the sound wakes. A close recording keeps a sink awake and quick, so on the
    // idle and suspended sinks it starts only after the sound has been asked for. Recorded
    // loosely throughout, the end cannot be read that closely, but the next sound must not cut
    // the first.
    void longSoundEndsAtItsLastSample_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("recorded closely") << QStringLiteral("recorded");
        QTest::newRow("idle sink") << QStringLiteral("idle");
        QTest::newRow("sink suspended while idle") << QStringLiteral("suspended");
        QTest::newRow("recorded loosely") << QStringLiteral("loosely");
    }
    void longSoundEndsAtItsLastSample()
    {
        QFETCH(QString, state);
        QByteArray module;
        const auto unload = qScopeGuard([&] {
            if (!module.isEmpty())
                pactl({QStringLiteral("unload-module"), QString::fromLatin1(module)});
        });
        if (state == QLatin1String("suspended")) {
            module = pactl({QStringLiteral("load-module"), QStringLiteral("module-suspend-on-idle"),
                            QStringLiteral("timeout=1")}).trimmed();
            QVERIFY(!module.isEmpty());
            QTRY_COMPARE_WITH_TIMEOUT(sinkState(), QByteArray("SUSPENDED"), 10000);
        } else if (state == QLatin1String("idle")) {
            QTRY_COMPARE_WITH_TIMEOUT(sinkState(), QByteArray("IDLE"), 10000);
        }
        const bool recordedFirst = state == QLatin1String("recorded")
            || state == QLatin1String("loosely");
        const bool closely = state != QLatin1String("loosely");
        auto out = createSystemSoundOutput();
        MonitorRecorder rec;
        QString error;
        if (recordedFirst)
            QVERIFY2(rec.start(m_sink, &error, closely ? 20 : 0), qPrintable(error));
        QElapsedTimer t;
        t.start();
        QVERIFY(out->playAsync(tone(3000, kQuiet, 440)));
        if (!recordedFirst)
            QVERIFY2(rec.start(m_sink, &error, 20), qPrintable(error));
        QVERIFY(msUntilQuiet(*out, t, 15000) >= 0);
        const qint64 waited = t.elapsed();
        const double recordedAtEnd = rec.recordedMs();
        QVERIFY(out->playAsync(tone(300, kLoud, 660)));
        QVERIFY(msUntilQuiet(*out, t, 15000) >= 0);
        const QList<Segment> heard = soundingSegments(rec.stop());
        const QByteArray what = describe(heard).toUtf8()
            + QByteArray(" waited ") + QByteArray::number(waited) + " ms, recorded "
            + QByteArray::number(recordedAtEnd) + " ms at the end";
        QVERIFY2(heard.size() == 2 && heard[0].level == Level::Quiet
                     && heard[1].level == Level::Loud, what);
        // A recording that joins late may miss the start of the first sound, never its end.
        if (recordedFirst)
            QVERIFY2(qAbs(heard[0].lengthMs() - 3000) <= kLengthTolerance, what);
        else
            QVERIFY2(heard[0].lengthMs() <= 3000 + kLengthTolerance, what);
        QVERIFY2(qAbs(heard[1].lengthMs() - 300) <= kLengthTolerance, what);
        QVERIFY2(waited >= 3000 - 20, what);
        QVERIFY2(heard[1].startMs >= heard[0].endMs, what);
        if (closely) {
            QVERIFY2(heard[1].startMs - heard[0].endMs <= kMaxEndGapMs, what);
            // Where the recording stood when the end was reported, against the last sample.
            const double late = recordedAtEnd - heard[0].endMs;
            QVERIFY2(late >= -kRecorderLagMs && late <= kEndReportMs, what);
        }
        if (state == QLatin1String("recorded"))
            QVERIFY2(waited <= 3000 + 100, what);
        qInfo("%s", what.constData());
    }

    // While a sound plays, another is refused and the playing one goes on to its end; the
    // output says it plays, and how much is left, as it really is.
    void requestWhilePlayingIsRefusedAndCutsNothing()
    {
        auto out = createSystemSoundOutput();
        MonitorRecorder rec;
        QVERIFY(record(rec));
        QElapsedTimer t;
        t.start();
        QVERIFY(out->playAsync(tone(1200, kQuiet, 440)));
        QThread::msleep(400);
        QVERIFY(out->isPlaying());
        const qint64 left = out->remainingMs();
        QVERIFY(!out->playAsync(tone(300, kLoud, 660)));
        const qint64 ended = msUntilQuiet(*out, t, 4000);
        QVERIFY2(left >= 1200 - 400 - 100 && left <= 1200 - 400 + 150,
                 qPrintable(QStringLiteral("%1 ms left at 400 ms").arg(left)));
        QVERIFY2(ended >= 1200 - 20 && ended <= 1200 + 100,
                 qPrintable(QStringLiteral("playing for %1 ms").arg(ended)));
        const QList<Segment> heard = soundingSegments(rec.stop());
        const QByteArray what = describe(heard).toUtf8();
        QVERIFY2(heard.size() == 1 && heard[0].level == Level::Quiet, what);
        QVERIFY2(qAbs(heard[0].lengthMs() - 1200) <= kLengthTolerance, what);
    }
};

// Run last: it ends the server.
class TestSoundServerGone : public QObject {
    Q_OBJECT
private slots:
    // The server dies mid-sound: the sound still counts as playing for the rest of its
    // length, not shorter and not until a watchdog; later sounds wait their length too.
    void serverGoneMidSoundKeepsTheSoundsLength()
    {
        const qint64 pid = qEnvironmentVariableIntValue("TIPSOVO_PULSE_PID");
        QVERIFY2(pid > 0, "run through tests/support/with-sound-server");
        auto out = createSystemSoundOutput();
        QElapsedTimer t;
        t.start();
        QVERIFY(out->playAsync(tone(1500, kQuiet, 440)));
        QThread::msleep(500);
        QVERIFY(out->isPlaying());
        QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        const qint64 ended = msUntilQuiet(*out, t, 5000);
        // What the server had taken from the stream when it died counts as played: on a loaded
        // machine that is up to its buffer (about 150 ms) ahead of the clock.
        QVERIFY2(ended >= 1500 - 250 && ended <= 1500 + 150,
                 qPrintable(QStringLiteral("playing for %1 ms").arg(ended)));

        QElapsedTimer t2;
        t2.start();
        QVERIFY(out->playSync(tone(300, kLoud, 660)));
        const qint64 waited = t2.elapsed();
        QVERIFY2(waited >= 300 - 20 && waited <= 300 + 150,
                 qPrintable(QStringLiteral("waited %1 ms").arg(waited)));
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int status = 0;
    auto run = [&](QObject &&test) { status |= QTest::qExec(&test, argc, argv); };
    run(TestSoundServer());
    run(TestSoundServerGone());
    return status;
}

#include "tst_sound_server.moc"
