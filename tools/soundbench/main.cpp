// SPDX-License-Identifier: GPL-3.0-or-later
// tipsovo-soundbench [PAIRS]: plays PAIRS hover-sound-then-instruction pairs through the media
// service and the real sound output on a null sink (run it through
// tests/support/with-sound-server, as scripts/bench-sound does), records the sink's monitor and
// reports how many instructions were heard and the median and worst gap before them.

#include "soundcapture.h"

#include "media/clock.h"
#include "media/mediaservice.h"
#include "media/resourcepack.h"
#include "media/soundoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace tipsovo;
using namespace tipsovo::soundcheck;

namespace {

constexpr int kHoverMs = 700;
constexpr int kInstructionMs = 500;
constexpr double kLengthTolerance = 25;

bool lengthIs(const Segment &s, int ms) { return qAbs(s.lengthMs() - ms) <= kLengthTolerance; }

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int pairs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 50;
    const QString sink = qEnvironmentVariable("TIPSOVO_PULSE_SINK");
    if (sink.isEmpty()) {
        std::fprintf(stderr, "run through tests/support/with-sound-server (scripts/bench-sound)\n");
        return 2;
    }
    QTemporaryDir dir;
    ResourcePackWriter pack;
    pack.add(ResourceKind::Wave, QStringLiteral("HOVER"), toneWave(kHoverMs, kQuiet, 440));
    pack.add(ResourceKind::Wave, QStringLiteral("A29"), toneWave(kInstructionMs, kLoud, 660));
    if (!dir.isValid() || !pack.write(QDir(dir.path()).filePath(QStringLiteral("snd.ipo"))))
        return 2;

    MediaService media(dir.path(), createSystemSoundOutput(), systemClock());
    MonitorRecorder rec;
    QString error;
    if (!rec.start(sink, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    // The instruction waits on the event loop, as it does in the program.
    const auto runFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    };
    for (int i = 0; i < pairs; ++i) {
        media.PredvajajZvok(QStringLiteral("HOVER"), QStringLiteral("snd"), false);
        // The instruction is asked for at different points of the hover sound.
        runFor(50 + (i * 37) % (kHoverMs - 100));
        media.PredvajajZvok(QStringLiteral("A29"), QStringLiteral("snd"), true);
        QElapsedTimer t;
        t.start();
        while ((media.hasWaiting() || media.output().isPlaying()) && t.elapsed() < 5000)
            runFor(2);
        runFor(250);
    }
    const QList<Segment> heard = soundingSegments(rec.stop());

    int hovers = 0;
    QList<double> gaps;
    for (qsizetype i = 0; i < heard.size(); ++i) {
        if (heard[i].level != Level::Quiet || !lengthIs(heard[i], kHoverMs))
            continue;
        ++hovers;
        if (i + 1 < heard.size() && heard[i + 1].level == Level::Loud
            && lengthIs(heard[i + 1], kInstructionMs))
            gaps.append(heard[i + 1].startMs - heard[i].endMs);
    }
    std::sort(gaps.begin(), gaps.end());
    const double median = gaps.isEmpty() ? 0 : gaps[gaps.size() / 2];
    const double worst = gaps.isEmpty() ? 0 : gaps.last();
    std::printf("pairs                     %d\n", pairs);
    std::printf("hover sounds heard whole  %d of %d\n", hovers, pairs);
    std::printf("instructions heard whole  %d of %d   target %d of %d\n", int(gaps.size()),
                pairs, pairs, pairs);
    std::printf("gap before instruction    median %.0f ms, worst %.0f ms   target worst <= 100\n",
                median, worst);
    if (qEnvironmentVariableIsSet("TIPSOVO_BENCH_VERBOSE"))
        std::printf("%s\n", qPrintable(describe(heard)));
    int status = 0;
    if (gaps.size() != pairs) {
        std::printf("MISSED: %d of %d instructions heard whole after their hover sound\n",
                    int(gaps.size()), pairs);
        status = 1;
    }
    if (worst > 100) {
        std::printf("MISSED: worst gap before an instruction %.0f ms, target <= 100\n", worst);
        status = 1;
    }
    return status;
}
