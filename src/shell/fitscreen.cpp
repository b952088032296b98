// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/fitscreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <string>
#include <vector>

namespace tipsovo::FitScreen {

namespace {
const char kScaleVariable[] = "QT_SCALE_FACTOR";
} // namespace

double factorFor(QSize screen)
{
    if (screen.width() <= 800 || screen.height() <= 600)
        return 1.0;
    const double f = std::min(screen.width() / 800.0, screen.height() / 600.0);
    const double rounded = std::floor(f * 1000.0 + 1e-9) / 1000.0;
    return rounded > 1.0 ? rounded : 1.0;
}

double prepare(int argc, char *argv[])
{
    QSize screen;
    {
        // The probe takes Qt's own arguments (-platform, -display) out of what it is given:
        // it gets copies, so the real application sees them all again.
        std::vector<std::string> copies(argv, argv + argc);
        std::vector<char *> args;
        for (std::string &a : copies)
            args.push_back(a.data());
        args.push_back(nullptr);
        int count = argc;
        QGuiApplication probe(count, args.data());
        if (QScreen *s = QGuiApplication::primaryScreen())
            screen = s->geometry().size();
    }
    const double factor = factorFor(screen);
    if (factor <= 1.0)
        return 1.0;
    // A scale the user has already asked Qt for stays part of the whole.
    bool ok = false;
    double given = qEnvironmentVariable(kScaleVariable).toDouble(&ok);
    if (!ok || given <= 0)
        given = 1.0;
    qputenv(kScaleVariable, QByteArray::number(given * factor, 'g', 6));
    return factor;
}

} // namespace tipsovo::FitScreen
