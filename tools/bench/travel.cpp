// SPDX-License-Identifier: GPL-3.0-or-later
// tipsovo-bench-travel: times the travel game with a train of 500 wagons that runs round a
// closed path of the board (the ordinary game, one frog off the path):
//   step     CPU time of one step (rules and drawing of the board) over 10,000 steps;
//   late     how long after its due time each step ran, at 10 ms steps for 10 s, on a shown
//            screen (run it under Xvfb);
//   machine  the same lateness of a bare 10 ms timer that does nothing, for 10 s: what the
//            machine itself allows (a busy or virtual machine wakes a process late now and
//            then, whatever it does);
//   paused   CPU share of the program while the game is paused, over 5 s.
// Prints "step|late|machine median MS p99 MS max MS" and "paused cpu PERCENT".
#include "activities/travel/kacaboard.h"
#include "activities/travel/kacamodel.h"
#include "activities/travel/tfkaca.h"
#include "support/testhost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>
#include <sys/resource.h>

using namespace tipsovo;

namespace {

// A closed path over columns 1..28 and rows 1..19: along row 1, then down and up the columns
// 28..2 of rows 2..19, and back up column 1.
QList<QPoint> cycle()
{
    QList<QPoint> c;
    for (int x = 1; x <= 28; ++x)
        c.append({x, 1});
    for (int x = 28; x >= 2; --x) {
        const bool down = (28 - x) % 2 == 0;
        for (int i = 0; i < 18; ++i)
            c.append({x, down ? 2 + i : 19 - i});
    }
    for (int y = 19; y >= 2; --y)
        c.append({1, y});
    return c;
}

// Lays a train of `wagons` cells on the path (the locomotive at path[wagons − 1]).
void layTrain(KacaModel &m, const QList<QPoint> &path, int wagons)
{
    QList<QPoint> train = path.mid(0, wagons);
    std::reverse(train.begin(), train.end());
    m.setTrain(train, KacaModel::towards(train.first(), path.at(wagons % path.size())));
    m.setFrogs({Frog{{29, 10}, {}}});
}

void steer(KacaModel &m, const QList<QPoint> &path)
{
    const int at = int(path.indexOf(m.train().first()));
    m.arrow(KacaModel::towards(path.at(at), path.at((at + 1) % path.size())));
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double processCpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

void print(const char *what, QList<double> ms)
{
    if (ms.isEmpty()) {
        std::printf("%s none\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    // The 99th percentile beside the worst: one late step in a thousand is the machine, many
    // are the program.
    std::printf("%s median %.3f p99 %.3f max %.3f\n", what, ms.at(ms.size() / 2),
                ms.at(ms.size() * 99 / 100), ms.last());
}

// Lateness of an empty step paced like the game's: a precise timer set a millisecond short of
// the due time, the rest slept out.
QList<double> bareTimerLateness(int steps, int intervalMs)
{
    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    QList<double> late;
    double due = intervalMs;
    const auto schedule = [&] {
        const double wait = due - clock.nsecsElapsed() / 1e6;
        timer.start(std::max(0, int(std::floor(wait)) - 1));
    };
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const double early = due - clock.nsecsElapsed() / 1e6;
        if (early > 0)
            std::this_thread::sleep_for(
                std::chrono::microseconds(std::lround(std::min(early, 2.0) * 1000)));
        late.append(clock.nsecsElapsed() / 1e6 - due);
        due += intervalMs;
        if (late.size() == steps)
            loop.quit();
        else
            schedule();
    });
    schedule();
    loop.exec();
    return late;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QList<QPoint> path = cycle();
    const int wagons = 500;

    {
        RandomSource random(1);
        KacaModel m(random);
        KacaBoard board;
        m.Inicializacija(KacaModel::Navadna);
        layTrain(m, path, wagons);
        m.setRunning(true);
        board.Risi(m, false, true);
        QList<double> cpu;
        for (int i = 0; i < 10000; ++i) {
            steer(m, path);
            const double t = threadCpuMs();
            const KacaModel::Step s = m.step();
            board.Risi(m, s.grew, false);
            cpu.append(threadCpuMs() - t);
            if (s.ending != KacaModel::Ending::None) {
                std::fprintf(stderr, "the train crashed at step %d\n", i);
                return 1;
            }
        }
        print("step", cpu);
    }

    test::TestHost host;
    TfKaca s(host);
    s.show();
    QCoreApplication::processEvents();
    layTrain(s.model(), path, wagons);
    s.board().clear();
    s.ApplicationEvents1Restore();
    s.model().setInterval(10);
    QList<double> late;
    QObject::connect(&s, &TfKaca::stepped, [&](double ms) {
        late.append(ms);
        steer(s.model(), path);
    });
    // The first arrow starts the game; its direction is the path's.
    const int keys[4] = {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up};
    QKeyEvent arrow(QEvent::KeyPress, keys[s.model().direction()], {});
    QCoreApplication::sendEvent(&s, &arrow);
    // A loop of its own: quitting the application would close the screen.
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    if (!s.model().running()) {
        std::fprintf(stderr, "the train stopped: %s\n", qPrintable(s.model().title()));
        return 1;
    }
    print("late", late);
    std::printf("steps %lld in 10 s\n", static_cast<long long>(late.size()));

    s.PavzirajIgro();
    const double before = processCpuMs();
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    std::printf("paused cpu %.2f\n", (processCpuMs() - before) / 5000.0 * 100.0);
    print("machine", bareTimerLateness(1000, 10));
    return 0;
}
