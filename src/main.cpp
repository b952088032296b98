// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point: splash and opening sound, the long-lived screens, the pause, the event loop.
#include "activities/letters/tfaalib.h"
#include "activities/sentences/tfmenivstavibesedo.h"
#include "media/clock.h"
#include "media/mediaservice.h"
#include "media/resourcepack.h"
#include "media/soundoutput.h"
#include "shell/tfglavno.h"
#include "shell/tfsplash.h"
#include "shell/tftma.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <memory>

using namespace tipsovo;

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Start-up timings for the benchmark script, when asked for.
    const bool timing = qEnvironmentVariableIsSet("TIPSOVO_STARTUP_TIMING");
    auto mark = [&](const char *what, qint64 ms) {
        if (timing)
            std::fprintf(stderr, "tipsovo-timing %s %lld\n", what, static_cast<long long>(ms));
    };

    QApplication app(argc, argv);

    auto splash = std::make_unique<TfSplash>();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    splash->showNow();
    mark("splash-shown", sinceStart.elapsed());

    const QString packDir = QCoreApplication::applicationDirPath();
    auto output = createSystemSoundOutput();
    QElapsedTimer phase;
    phase.start();
    playFromPackSync(findPackFile(packDir, QStringLiteral("snd")), QStringLiteral("A1"), *output);
    const qint64 openingSound = phase.elapsed();

    QApplication::setApplicationName(QStringLiteral("Tipsovo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tipsovo"));

    TfGlavno::Setup setup;
    setup.packDir = packDir;
    setup.output = std::move(output);
    auto menu = std::make_unique<TfGlavno>(std::move(setup));
    auto aAliB = std::make_unique<TfAaliB>(menu.get());
    auto tma = std::make_unique<TfTma>();
    auto meniVstaviBesedo = std::make_unique<TfMeniVstaviBesedo>(menu.get());
    menu->setBackdrop(tma.get());
    menu->setMeniVstaviBesedo(meniVstaviBesedo.get());
    QObject::connect(menu.get(), &TfGlavno::closed, &app, &QCoreApplication::quit);

    const qint64 beforePause = sinceStart.elapsed();
    systemClock().sleepMs(2000);
    phase.restart();

    splash.reset();
    QApplication::restoreOverrideCursor();
    menu->show();
    app.processEvents();
    const qint64 afterPause = phase.elapsed();
    mark("opening-sound", openingSound);
    mark("other-work", beforePause - openingSound + afterPause);
    mark("menu-shown", sinceStart.elapsed());

    const int result = app.exec();
    meniVstaviBesedo.reset();
    aAliB.reset();
    menu.reset();
    return result;
}
