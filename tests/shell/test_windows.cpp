// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows on the screen: the picture fitted to a big screen, one running copy per
// session, and one family of windows headed by the backdrop.
#include "media/delaysetting.h"
#include "media/manualclock.h"
#include "media/recordingsoundoutput.h"
#include "shell/displayrules.h"
#include "shell/fitscreen.h"
#include "shell/quitsignals.h"
#include "shell/singleinstance.h"
#include "shell/tfglavno.h"
#include "shell/windowfamily.h"

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>
#include <QtTest>
#include <cstdio>
#include <cstring>

using namespace tipsovo;

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QSettings(QStringLiteral("Brinvel"), QStringLiteral("Kolmar")).clear(); }

    void fitFactorIsTheLargestThatFits_data();
    void fitFactorIsTheLargestThatFits();
    void fittedMenuIsTheWholePictureCentred_data();
    void fittedMenuIsTheWholePictureCentred();
    void fittedMenuTakesItsPlaceAndActivitiesTakeItsBounds();
    void fitSettingIsOnOnlyForOne_data();
    void fitSettingIsOnOnlyForOne();

    void laterStartRaisesTheRunningCopyAndEndsUntilItIsGone();
    void copyInAnotherProcessIsRaisedAndItsCrashDoesNotBlockAStart();
    void laterStartWaitsForACopyThatIsNotListeningYet();
    void copyThatCannotListenOrLockRunsWithoutTheGuard();

    void windowsBelongToTheBackdropMenuOrTheWindowTheyWereOpenedOver();
    void bringingToFrontActivatesTheTopmostWindow();
};

void TestWindows::fitFactorIsTheLargestThatFits_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<double>("factor");
    QTest::newRow("3840x2160") << QSize(3840, 2160) << 3.6;
    QTest::newRow("1920x1080") << QSize(1920, 1080) << 1.8;
    QTest::newRow("2560x1440") << QSize(2560, 1440) << 2.4;
    QTest::newRow("1280x1024 (width decides)") << QSize(1280, 1024) << 1.6;
    QTest::newRow("1366x768") << QSize(1366, 768) << 1.28;
    QTest::newRow("1000x700 (rounded down)") << QSize(1000, 700) << 1.166;
    QTest::newRow("800x600") << QSize(800, 600) << 1.0;
    QTest::newRow("1024x600") << QSize(1024, 600) << 1.0;
    QTest::newRow("640x480") << QSize(640, 480) << 1.0;
}

void TestWindows::fitFactorIsTheLargestThatFits()
{
    QFETCH(QSize, screen);
    QFETCH(double, factor);
    const double f = FitScreen::factorFor(screen);
    QVERIFY2(qAbs(f - factor) < 1e-9, qPrintable(QString::number(f, 'g', 10)));
    // Scaled, the picture never comes out larger than the screen.
    if (f > 1.0) {
        QVERIFY(800 * f <= screen.width() + 1e-9);
        QVERIFY(600 * f <= screen.height() + 1e-9);
    }
}

void TestWindows::fittedMenuIsTheWholePictureCentred_data()
{
    QTest::addColumn<QSize>("display"); // the screen as the scaled program sees it
    QTest::addColumn<bool>("tooSmall");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("3840x2160 at 3.6") << QSize(1067, 600) << false << QRect(133, 0, 800, 600);
    QTest::newRow("1280x1024 at 1.6") << QSize(800, 640) << false << QRect(0, 20, 800, 600);
    QTest::newRow("a pixel short by rounding") << QSize(1066, 599) << false << QRect(133, 0, 800, 600);
    QTest::newRow("not scaled, 800x600") << QSize(800, 600) << false << QRect(0, 0, 800, 600);
    QTest::newRow("too small") << QSize(640, 480) << true << QRect();
}

void TestWindows::fittedMenuIsTheWholePictureCentred()
{
    QFETCH(QSize, display);
    QFETCH(bool, tooSmall);
    QFETCH(QRect, geometry);
    const MenuPlacement p = placeFittedMenu(display);
    QCOMPARE(p.tooSmall, tooSmall);
    if (!tooSmall)
        QCOMPARE(p.geometry, geometry);
}

void TestWindows::fittedMenuTakesItsPlaceAndActivitiesTakeItsBounds()
{
    QTemporaryDir dir;
    ManualClock clock;
    for (bool fitted : {false, true}) {
        TfGlavno::Setup setup;
        setup.packDir = dir.path();
        setup.output = std::make_unique<RecordingSoundOutput>(clock);
        setup.clock = &clock;
        setup.displaySize = QSize(1067, 600);
        setup.fitted = fitted;
        setup.showMessage = [](const QString &, const QString &) {};
        TfGlavno menu(std::move(setup));
        // Unscaled, a screen 600 high is "one side at its minimum": 800 × 573 at the origin.
        const QRect expected = fitted ? QRect(133, 0, 800, 600) : QRect(0, 0, 800, 573);
        QCOMPARE(menu.geometry(), expected);
        QCOMPARE(menu.menuBounds(), expected);
    }
}

void TestWindows::fitSettingIsOnOnlyForOne_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("on");
    QTest::newRow("missing") << QVariant() << false;
    QTest::newRow("1") << QVariant(1) << true;
    QTest::newRow("0") << QVariant(0) << false;
    QTest::newRow("2") << QVariant(2) << false;
    QTest::newRow("-1") << QVariant(-1) << false;
    QTest::newRow("text 1") << QVariant(QStringLiteral("1")) << true;
    QTest::newRow("text ja") << QVariant(QStringLiteral("ja")) << false;
    QTest::newRow("text true") << QVariant(QStringLiteral("true")) << false;
}

void TestWindows::fitSettingIsOnOnlyForOne()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, on);
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    if (stored.isValid())
        settings.setValue(QStringLiteral("celZaslon"), stored);
    settings.sync();
    // Read back from the file, as a later start would.
    const QSettings reread(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    QCOMPARE(FitSetting::readFrom(reread), on);
}

void TestWindows::laterStartRaisesTheRunningCopyAndEndsUntilItIsGone()
{
    QTemporaryDir dir;
    {
        SingleInstance first(dir.path());
        QCOMPARE(first.claim(), SingleInstance::Claim::First);
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        for (int i = 1; i <= 2; ++i) {
            SingleInstance later(dir.path());
            QCOMPARE(later.claim(), SingleInstance::Claim::RaisedOther);
            QTRY_COMPARE(raised.count(), i);
        }
    }
    // The first copy has ended: the next start is the running copy.
    SingleInstance next(dir.path());
    QCOMPARE(next.claim(), SingleInstance::Claim::First);
}

// Starts this test program as a running copy in `mode` (see main) over `folder`; true once it
// has said `firstLine`.
static bool startHolder(QProcess &holder, const char *mode, const QString &folder,
                        const QByteArray &firstLine)
{
    holder.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(mode), folder});
    return holder.waitForStarted() && holder.waitForReadyRead(20000)
        && holder.readLine().trimmed() == firstLine;
}

void TestWindows::copyInAnotherProcessIsRaisedAndItsCrashDoesNotBlockAStart()
{
    QTemporaryDir dir;
    QProcess holder;
    QVERIFY(startHolder(holder, "--hold", dir.path(), "first"));

    {
        SingleInstance later(dir.path());
        QCOMPARE(later.claim(), SingleInstance::Claim::RaisedOther);
    }
    QVERIFY(holder.waitForReadyRead(20000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("raised"));

    // A crash leaves the lock file and the socket file behind.
    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    SingleInstance probe(dir.path());
    QVERIFY(QFile::exists(probe.lockPath()));
    QVERIFY(QFile::exists(probe.socketPath()));
    QCOMPARE(probe.claim(), SingleInstance::Claim::First);
    // And this copy is reached over its own socket.
    QSignalSpy raised(&probe, &SingleInstance::raiseRequested);
    SingleInstance later(dir.path());
    QCOMPARE(later.claim(), SingleInstance::Claim::RaisedOther);
    QTRY_COMPARE(raised.count(), 1);
}

void TestWindows::laterStartWaitsForACopyThatIsNotListeningYet()
{
    QTemporaryDir dir;
    QProcess holder;
    QVERIFY(startHolder(holder, "--hold-late", dir.path(), "locked"));
    // The lock is held but nobody listens for a second: the later start does not run a
    // second copy, it waits and reaches the first once its socket is open.
    {
        SingleInstance later(dir.path());
        QCOMPARE(later.claim(), SingleInstance::Claim::RaisedOther);
    }
    QByteArray said;
    while (!said.contains("raised") && holder.waitForReadyRead(10000))
        said += holder.readAll();
    QVERIFY2(said.contains("first\nraised"), said.constData());

    // Ended by the session, it puts its lock and socket away like a copy that was closed.
    SingleInstance paths(dir.path());
    QVERIFY(QFile::exists(paths.lockPath()));
    holder.terminate();
    QVERIFY(holder.waitForFinished(10000));
    QCOMPARE(holder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(holder.exitCode(), 0);
    QVERIFY(!QFile::exists(paths.lockPath()));
    QVERIFY(!QFile::exists(paths.socketPath()));
}

void TestWindows::copyThatCannotListenOrLockRunsWithoutTheGuard()
{
    QTemporaryDir dir;
    // A socket's path is limited (108 bytes on Linux): this folder's is longer.
    const QString deep = dir.filePath(QString(120, QLatin1Char('d')));
    QVERIFY(QDir().mkpath(deep));
    {
        SingleInstance copy(deep);
        QCOMPARE(copy.claim(), SingleInstance::Claim::Unguarded);
        // It holds no lock that would send later starts to a copy they cannot reach.
        QVERIFY(!QFile::exists(copy.lockPath()));
        SingleInstance later(deep);
        QCOMPARE(later.claim(), SingleInstance::Claim::Unguarded);
    }
    // A folder that cannot be made.
    QFile file(dir.filePath(QStringLiteral("plain-file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    SingleInstance copy(dir.filePath(QStringLiteral("plain-file/run")));
    QCOMPARE(copy.claim(), SingleInstance::Claim::Unguarded);
}

void TestWindows::windowsBelongToTheBackdropMenuOrTheWindowTheyWereOpenedOver()
{
    QWidget backdrop(nullptr, Qt::Window | Qt::FramelessWindowHint);
    QWidget menu(nullptr, Qt::Window | Qt::FramelessWindowHint);
    WindowFamily family(&backdrop, &menu);
    backdrop.show();
    QVERIFY(!backdrop.windowHandle()->transientParent());
    menu.show();
    QCOMPARE(menu.windowHandle()->transientParent(), backdrop.windowHandle());
    menu.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &menu);

    // An activity screen has no parent: it belongs to the menu it was opened from.
    QWidget screen(nullptr, Qt::Window | Qt::FramelessWindowHint);
    screen.show();
    QCOMPARE(screen.windowHandle()->transientParent(), menu.windowHandle());
    screen.activateWindow();
    // (A transient counts as active while its owner is: wait for the screen itself.)
    QTRY_COMPARE(QApplication::activeWindow(), &screen);

    // A window without a parent belongs to the active screen, a dialog with a parent to its
    // parent's window.
    QDialog message;
    message.show();
    QCOMPARE(message.windowHandle()->transientParent(), screen.windowHandle());
    message.hide();
    QDialog chooser(&menu);
    chooser.show();
    QCOMPARE(chooser.windowHandle()->transientParent(), menu.windowHandle());
}

void TestWindows::bringingToFrontActivatesTheTopmostWindow()
{
    QWidget backdrop(nullptr, Qt::Window | Qt::FramelessWindowHint);
    QWidget menu(nullptr, Qt::Window | Qt::FramelessWindowHint);
    WindowFamily family(&backdrop, &menu);
    // Before the menu shows (start-up) there is nothing to bring forward.
    family.bringToFront();
    QVERIFY(!menu.isVisible());

    backdrop.show();
    menu.show();
    QWidget first(nullptr, Qt::Window | Qt::FramelessWindowHint);
    QWidget second(nullptr, Qt::Window | Qt::FramelessWindowHint);
    first.show();
    second.show();
    first.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &first);
    family.bringToFront();
    QTRY_COMPARE(QApplication::activeWindow(), &second);

    // A minimised screen comes back.
    second.showMinimized();
    family.bringToFront();
    QTRY_VERIFY(!(second.windowState() & Qt::WindowMinimized));
    QTRY_COMPARE(QApplication::activeWindow(), &second);

    // A screen closed since is skipped: the one under it is the top.
    second.close();
    family.bringToFront();
    QTRY_COMPARE(QApplication::activeWindow(), &first);
}

// With "--hold FOLDER" the test program is a running copy in a process of its own: it says
// "first" once it holds the folder and "raised" on every request, until it is killed.
int main(int argc, char *argv[])
{
    // A running copy in a process of its own: --hold claims at once, --hold-late takes the
    // lock and opens its socket only a second later, as the program does around its splash.
    // Both end on SIGTERM the way the program does.
    if (argc == 3 && (std::strcmp(argv[1], "--hold") == 0 || std::strcmp(argv[1], "--hold-late") == 0)) {
        QCoreApplication app(argc, argv);
        QuitOnSignals ending;
        QObject::connect(&ending, &QuitOnSignals::quitRequested, &app, &QCoreApplication::quit);
        SingleInstance copy(QString::fromLocal8Bit(argv[2]));
        QObject::connect(&copy, &SingleInstance::raiseRequested, [] {
            std::puts("raised");
            std::fflush(stdout);
        });
        if (std::strcmp(argv[1], "--hold") == 0) {
            if (copy.claim() != SingleInstance::Claim::First)
                return 1;
        } else {
            if (copy.claimLock() != SingleInstance::Claim::First)
                return 1;
            std::puts("locked");
            std::fflush(stdout);
            QThread::msleep(1000);
            if (!copy.listen())
                return 1;
        }
        std::puts("first");
        std::fflush(stdout);
        return app.exec();
    }
    QApplication app(argc, argv);
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_windows.moc"
