// SPDX-License-Identifier: GPL-3.0-or-later
// tipsovo-bench-bare: the yardstick of the start-up benchmark. A bare Qt window of the
// splash's size and kind, shown and painted at once the way the program shows its splash, and
// nothing else: no resources, no pictures, no program library. Prints
// "bare-window-shown MS", the milliseconds from the start of main to the painted window, the
// same span as the program's "splash-shown", and "bare-window-shown-epoch MS", that moment on
// the wall clock.
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, QColor(40, 90, 160));
    window.setPalette(pal);
    window.setAutoFillBackground(true);
    window.setFixedSize(640, 480);
    window.show();
    window.raise();
    window.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    std::fprintf(stderr, "bare-window-shown %lld\nbare-window-shown-epoch %lld\n",
                 static_cast<long long>(sinceStart.elapsed()),
                 static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    // Stays a moment, as the splash does, so that the script reads a settled process; with
    // --stay until it is closed (the display tools' tests drive it).
    if (argc < 2 || QByteArray(argv[1]) != "--stay")
        QTimer::singleShot(300, &app, &QCoreApplication::quit);
    return app.exec();
}
