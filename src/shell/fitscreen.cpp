// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/fitscreen.h"

#include <QGuiApplication>
#include <QScreen>
#ifdef TIPSOVO_WITH_XCB
#include <xcb/xcb.h>
#endif
#include <cmath>
#include <string>
#include <vector>

namespace tipsovo::FitScreen {

namespace {
const char kScaleVariable[] = "QT_SCALE_FACTOR";
#ifdef TIPSOVO_WITH_XCB
// An X server resets when its last client goes (Xvfb, a kiosk started by xinit): while it
// does, the program's own connection right after the measuring one is refused.
xcb_connection_t *g_heldDisplay = nullptr;
#endif
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
#ifdef TIPSOVO_WITH_XCB
        if (!g_heldDisplay && QGuiApplication::platformName() == QLatin1String("xcb")) {
            g_heldDisplay = xcb_connect(nullptr, nullptr);
            if (xcb_connection_has_error(g_heldDisplay)) {
                xcb_disconnect(g_heldDisplay);
                g_heldDisplay = nullptr;
            }
        }
#endif
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

void releaseDisplay()
{
#ifdef TIPSOVO_WITH_XCB
    if (g_heldDisplay) {
        xcb_disconnect(g_heldDisplay);
        g_heldDisplay = nullptr;
    }
#endif
}

} // namespace tipsovo::FitScreen
