// SPDX-License-Identifier: GPL-3.0-or-later
// The entry point: splash and opening sound, the long-lived screens, the pause, the event loop.
#include "activities/launcher.h"
#include "activities/letters/tfaalib.h"
#include "activities/sentences/tfmenivstavibesedo.h"
#include "media/clock.h"
#include "media/delaysetting.h"
#include "media/mediaservice.h"
#include "media/resourcepack.h"
#include "media/soundoutput.h"
#include "shell/fitscreen.h"
#include "shell/quitsignals.h"
#include "shell/singleinstance.h"
#include "shell/tfglavno.h"
#include "shell/tfsplash.h"
#include "shell/tftma.h"
#include "shell/windowfamily.h"
#include "widgets/smoothpictures.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QIcon>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace tipsovo;

namespace {

// Qt's own options, which QApplication takes out of the arguments later (with one dash or
// two); those that carry a value take the next argument, or "=value", with them.
struct QtOption {
    const char *name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},  {"platformpluginpath", true}, {"platformtheme", true},
    {"plugin", true},    {"qwindowgeometry", true},    {"geometry", true},
    {"qwindowtitle", true}, {"title", true},           {"qwindowicon", true},
    {"icon", true},      {"display", true},            {"name", true},
    {"session", true},   {"style", true},              {"stylesheet", true},
    {"qmljsdebugger", true}, {"reverse", false},       {"widgetcount", false},
    {"sync", false},     {"nograb", false},            {"dograb", false},
    {"testability", false},
};

// How many arguments from argv[i] on are one Qt option with its value; 0 when it is none.
int qtOptionLength(int argc, char *argv[], int i)
{
    const char *arg = argv[i];
    if (arg[0] != '-')
        return 0;
    arg += arg[1] == '-' ? 2 : 1;
    for (const QtOption &option : kQtOptions) {
        const std::size_t length = std::strlen(option.name);
        if (std::strncmp(arg, option.name, length) != 0)
            continue;
        if (arg[length] == '\0')
            return option.takesValue && i + 1 < argc ? 2 : 1;
        if (arg[length] == '=' && option.takesValue)
            return 1;
    }
    return 0;
}

// --version and --help answer on the terminal and end before any window or sound, so they
// work with no display at all. --fit-screen and --no-fit-screen are the program's own, Qt's
// options are left to Qt (-platform and the like); anything else ends the program with a short
// message and status 2.
int answerCommandLine(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("tipsovo %s\n", TIPSOVO_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf("Uporaba: tipsovo [--fit-screen | --no-fit-screen] [--version] [--help]\n"
                        "Usage:   tipsovo [--fit-screen | --no-fit-screen] [--version] [--help]\n\n"
                        "Tipsovo: igre za otroke, ki se učijo brati in pisati slovensko.\n"
                        "A learning program for children learning to read and write Slovenian.\n"
                        "Started without arguments it opens the main menu; its resource packs\n"
                        "(*.ipo) lie beside the program file.\n\n"
                        "  --fit-screen     draw the whole 800 x 600 picture as large as the screen\n"
                        "                   allows (the stored choice celZaslon=1 does the same)\n"
                        "  --no-fit-screen  keep the picture at its own size this time\n"
                        "  -h, --help       show this text and end\n"
                        "  -v, --version    show the version and end\n\n"
                        "Qt's own options (-platform, -style, -reverse and the others) are\n"
                        "passed on to Qt.\n");
            return 0;
        }
        // The program's own options, read again by fitScreenOption.
        if (std::strcmp(argv[i], "--fit-screen") == 0 || std::strcmp(argv[i], "--no-fit-screen") == 0)
            continue;
        if (const int qt = qtOptionLength(argc, argv, i); qt > 0) {
            i += qt - 1;
            continue;
        }
        std::fprintf(stderr,
                     "tipsovo: %s '%s' (%s)\nTry 'tipsovo --help'.\n",
                     argv[i][0] == '-' ? "unknown option" : "unexpected argument", argv[i],
                     argv[i][0] == '-' ? "neznana možnost" : "nepričakovan argument");
        return 2;
    }
    return -1;
}

// --fit-screen / --no-fit-screen for this start: 1 or 0; -1 when neither is given, and the
// stored choice decides.
int fitScreenOption(int argc, char *argv[])
{
    int choice = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fit-screen") == 0)
            choice = 1;
        else if (std::strcmp(argv[i], "--no-fit-screen") == 0)
            choice = 0;
    }
    return choice;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int answered = answerCommandLine(argc, argv); answered >= 0)
        return answered;

    QElapsedTimer sinceStart;
    sinceStart.start();
    // Start-up timings for the benchmark script, when asked for.
    const bool timing = qEnvironmentVariableIsSet("TIPSOVO_STARTUP_TIMING");
    auto mark = [&](const char *what, qint64 ms) {
        if (timing)
            std::fprintf(stderr, "tipsovo-timing %s %lld\n", what, static_cast<long long>(ms));
    };

    const int fitChoice = fitScreenOption(argc, argv);
    const bool fit = fitChoice >= 0 ? fitChoice == 1 : FitSetting::read();
    const double scale = fit ? FitScreen::prepare(argc, argv) : 1.0;

    QApplication app(argc, argv);
    FitScreen::releaseDisplay();
    QuitOnSignals endingSignals;
    QObject::connect(&endingSignals, &QuitOnSignals::quitRequested, &app, &QCoreApplication::quit);
    // One copy per user session: a second start brings the running one to the front. The
    // lock is taken before any window shows; the socket that later starts reach is opened
    // once the splash is up.
    SingleInstance runningCopy;
    const SingleInstance::Claim claimed = runningCopy.claimLock();
    if (claimed == SingleInstance::Claim::RaisedOther)
        return 0;
    if (scale > 1.0)
        QApplication::setStyle(new SmoothPictureStyle);

    auto splash = std::make_unique<TfSplash>();
    splash->showNow();
    mark("splash-shown", sinceStart.elapsed());
    // The hourglass comes right after the first paint: loading the cursor theme takes a few
    // milliseconds that would otherwise hold up the splash.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The icon is for the windows that come after the splash: decoding it and handing every
    // size of it to the window system before the first paint only delays the splash.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral(TIPSOVO_APP_ID));
    // The same moment on the wall clock, for a benchmark that counts from the program's start.
    mark("splash-shown-epoch", QDateTime::currentMSecsSinceEpoch());
    if (claimed == SingleInstance::Claim::First)
        runningCopy.listen();

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
    setup.fitted = scale > 1.0;
    auto menu = std::make_unique<TfGlavno>(std::move(setup));
    auto aAliB = std::make_unique<TfAaliB>(menu.get());
    auto tma = std::make_unique<TfTma>();
    auto meniVstaviBesedo = std::make_unique<TfMeniVstaviBesedo>(*menu, menu.get());
    menu->setBackdrop(tma.get());
    WindowFamily family(tma.get(), menu.get());
    QObject::connect(&runningCopy, &SingleInstance::raiseRequested, &family,
                     &WindowFamily::bringToFront);
    menu->setMeniVstaviBesedo(meniVstaviBesedo.get());
    menu->setScreenLauncher([](int tag, TfGlavno &m) {
        launchActivity(tag, m, &m, m.meniVstaviBesedo());
    });
    QObject::connect(menu.get(), &TfGlavno::closed, &app, &QCoreApplication::quit);

    const qint64 beforePause = sinceStart.elapsed();
    systemClock().sleepMs(2000);
    phase.restart();

    splash.reset();
    QApplication::restoreOverrideCursor();
    // Ended during the opening (the session is closing): no menu for a moment.
    if (endingSignals.received())
        return 0;
    if (menu->displayTooSmall()) {
        // The display is too small and the message has been shown: the menu never appears,
        // and the quit is queued as the last thing before the loop, so that the loop's first
        // turn ends the program.
        QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
        return app.exec();
    }
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
