// SPDX-License-Identifier: GPL-3.0-or-later
// The main menu, its display rules, the launching of screens, the backdrop and the about screen.
#include "activities/common/activityscreen.h"
#include "activities/launcher.h"
#include "activities/sentences/tfmenivstavibesedo.h"
#include "activities/sentences/tfvstavibesedo.h"
#include "media/delaysetting.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "media/manualclock.h"
#include "media/mediaservice.h"
#include "media/recordingsoundoutput.h"
#include "shell/displayrules.h"
#include "shell/tfglavno.h"
#include "shell/tfoprogramu.h"
#include "shell/tfsplash.h"
#include "widgets/controls.h"
#include "widgets/cursors.h"
#include "widgets/keyboardchoices.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tipsovo;

namespace {

struct Messages {
    QList<QPair<QString, QString>> shown;
};

// A main menu over a recording output, a manual clock and a sound pack of its own.
struct MenuFixture {
    QTemporaryDir dir;
    ManualClock clock;
    RecordingSoundOutput *output = nullptr;
    Messages messages;
    std::unique_ptr<TfGlavno> menu;

    explicit MenuFixture(QSize display = {1024, 768})
    {
        writeTestSoundPack(dir.path(), QStringLiteral("snd"),
                           {QStringLiteral("A15"), QStringLiteral("A16"), QStringLiteral("ZVOK"),
                            QStringLiteral("A2")});
        TfGlavno::Setup setup;
        setup.packDir = dir.path();
        auto out = std::make_unique<RecordingSoundOutput>(clock);
        output = out.get();
        setup.output = std::move(out);
        setup.clock = &clock;
        setup.displaySize = display;
        setup.showMessage = [this](const QString &caption, const QString &text) {
            messages.shown.append({caption, text});
        };
        menu = std::make_unique<TfGlavno>(std::move(setup));
        // As the entry point wires it.
        menu->setScreenLauncher([](int tag, TfGlavno &m) {
            launchActivity(tag, m, &m, m.meniVstaviBesedo());
        });
    }
    template<typename T = QWidget> T *find(const QString &name)
    {
        return menu->findChild<T *>(name);
    }
};

void sendEnter(QWidget *w)
{
    QEnterEvent e(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), w->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(w, &e);
}

void sendLeave(QWidget *w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void menuIsPlayedByKeyboard();
    void displayRules_data();
    void displayRules();
    void tooSmallDisplaySaysSoAndStillBuildsTheMenu();
    void menuButtonsAreAsTabled_data();
    void menuButtonsAreAsTabled();
    void marksAreCopyable();
    void splashShowsItsPicture();
    void programCursorsHaveTheirHotSpots();
    void menuButtonSpeaksOnceAfterTheDelay();
    void soundSwitchOnlyFlipsSound();
    void rightButtonOnSwitchEditsTheDelay();
    void delayIsReadAtCreationAndWrittenAtExit();
    void menuClickResetsCursorEvenWhenCreatingTheScreenThrows();
    void izhodClosesTheMenu();
    void unbuiltActivityCoversMenuAndClosesWithKonec();
    void activityButtonOpensItsScreen_data();
    void activityButtonOpensItsScreen();
    void insertWordThemeOpensTheActivityOverTheMenu();
    void insertWordMenuIsTheSameInstanceEachTime();
    void aboutScreenCoversMenuAndScrollsWithoutEnd();
};

void TestShell::initTestCase() { QStandardPaths::setTestModeEnabled(true); }

void TestShell::init()
{
    QSettings(QStringLiteral("Brinvel"), QStringLiteral("Kolmar")).clear();
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void TestShell::displayRules_data()
{
    QTest::addColumn<QSize>("display");
    QTest::addColumn<bool>("tooSmall");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("799x600") << QSize(799, 600) << true << QRect();
    QTest::newRow("800x599") << QSize(800, 599) << true << QRect();
    QTest::newRow("640x480") << QSize(640, 480) << true << QRect();
    QTest::newRow("800x600") << QSize(800, 600) << false << QRect(0, 0, 800, 600);
    QTest::newRow("801x601") << QSize(801, 601) << false << QRect(0, 14, 800, 573);
    QTest::newRow("1024x768") << QSize(1024, 768) << false << QRect(112, 97, 800, 573);
    QTest::newRow("1920x1080") << QSize(1920, 1080) << false << QRect(560, 253, 800, 573);
    QTest::newRow("800x768") << QSize(800, 768) << false << QRect(0, 0, 800, 573);
    QTest::newRow("1024x600") << QSize(1024, 600) << false << QRect(0, 0, 800, 573);
}

void TestShell::displayRules()
{
    QFETCH(QSize, display);
    QFETCH(bool, tooSmall);
    QFETCH(QRect, geometry);
    const MenuPlacement p = placeMenu(display);
    QCOMPARE(p.tooSmall, tooSmall);
    if (!tooSmall)
        QCOMPARE(p.geometry, geometry);
    QCOMPARE(p.exactMinimum, display == QSize(800, 600));

    MenuFixture f(display);
    QCOMPARE(f.menu->displayTooSmall(), tooSmall);
    QCOMPARE(f.messages.shown.size(), tooSmall ? 1 : 0);
    if (!tooSmall)
        QCOMPARE(f.menu->geometry(), geometry);
}

void TestShell::tooSmallDisplaySaysSoAndStillBuildsTheMenu()
{
    MenuFixture f({799, 600});
    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(f.messages.shown.first().first, QStringLiteral("Ops!"));
    QCOMPARE(f.messages.shown.first().second,
             QStringLiteral("Program \"Tipsovo\" zahteva za delovanje najmanjšo ločljivost 800 X "
                            "600.\nPopravi nastavitve in nato ponovno zaženi program!"));
    // The rest of start-up still ran: cursors and the delay.
    QVERIFY(programCursorsRegistered());
    QCOMPARE(f.menu->zamikZvoka(), 300);
}

void TestShell::menuButtonsAreAsTabled_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QStringList>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<int>("fontPx");
    auto row = [](const char *name, int tag, QStringList caption, const char *hint, QRect g,
                  int px) {
        QTest::newRow(name) << QString::fromLatin1(name) << tag << caption
                            << QString::fromLatin1(hint) << g << px;
    };
    row("btn1", 1, {"Besede,", "zlogi,", "črke"}, "A15", {359, 251, 105, 79}, 21);
    row("btn2", 2, {"Prva", "črka"}, "A16", {493, 250, 105, 79}, 21);
    row("btn3", 3, {"Ugani", "besedo"}, "A18", {628, 251, 105, 79}, 21);
    row("btn4", 4, {"Sestavi", "zloge"}, "A19", {18, 377, 105, 79}, 21);
    row("btn5", 5, {"Zamenjaj", "črke"}, "A20", {155, 376, 105, 79}, 21);
    row("btn6", 6, {"Kje", "je", "črka?"}, "A21", {290, 376, 105, 79}, 21);
    row("btn7", 7, {"Vstavi", "besedo"}, "A22", {424, 376, 105, 79}, 21);
    row("btn8", 8, {"Označi", "povedi"}, "A23", {171, 486, 105, 79}, 21);
    row("btn9", 9, {"Sledi", "črtam"}, "A24", {306, 486, 105, 79}, 21);
    row("btn10", 10, {"Kam", "potujemo?"}, "A25", {441, 486, 105, 79}, 20);
    row("btnOProgramu", -1, {"O", "programu"}, "A3", {577, 120, 81, 108}, 16);
    row("btnIzhod", 0, {"Izhod"}, "A2", {692, 120, 79, 108}, 16);
    row("btnZvok", -99, {"Zvok"}, "ZVOK", {462, 120, 79, 108}, 16);
}

void TestShell::menuButtonsAreAsTabled()
{
    QFETCH(QString, name);
    QFETCH(int, tag);
    QFETCH(QStringList, caption);
    QFETCH(QString, hint);
    QFETCH(QRect, geometry);
    QFETCH(int, fontPx);
    MenuFixture f;
    auto *b = f.find<FlatButton>(name);
    QVERIFY(b);
    QCOMPARE(tagOf(b), tag);
    QCOMPARE(b->captionLines(), caption);
    QCOMPARE(hintOf(b), hint);
    QCOMPARE(b->geometry(), geometry);
    QCOMPARE(b->font().pixelSize(), fontPx);
    QVERIFY(b->font().bold());
    QCOMPARE(b->textColor(), QColor(0, 0, 128));
    QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
}

void TestShell::marksAreCopyable()
{
    MenuFixture f;
    QCOMPARE(f.menu->rightMark().size(), QSize(38, 30));
    QCOMPARE(f.menu->wrongMark().size(), QSize(38, 30));
    QVERIFY(f.menu->rightMark().toImage() != f.menu->wrongMark().toImage());
    QVERIFY(!f.find<QLabel>(QStringLiteral("imgPrav"))->isVisibleTo(f.menu.get()));
}

// The splash is shown from raw pixels written at build time: they must be the picture itself,
// in the right byte order, not a stale or colour-swapped copy.
void TestShell::splashShowsItsPicture()
{
    TfSplash splash;
    auto *picture = splash.findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(picture);
    const QImage shown = picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage png = QImage(QStringLiteral(":/pictures/splash.png")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(png.size(), QSize(640, 480));
    QCOMPARE(shown.size(), png.size());
    QVERIFY(shown == png);
}

void TestShell::programCursorsHaveTheirHotSpots()
{
    MenuFixture f;
    const QCursor pencil = programCursor(crPinel2);
    const QCursor mouse = programCursor(crMis);
    QCOMPARE(pencil.shape(), Qt::BitmapCursor);
    QCOMPARE(pencil.hotSpot(), QPoint(5, 29));
    QCOMPARE(pencil.pixmap().size(), QSize(32, 32));
    QCOMPARE(mouse.hotSpot(), QPoint(16, 3));
    QCOMPARE(programCursor(99).shape(), Qt::ArrowCursor);
}

void TestShell::menuButtonSpeaksOnceAfterTheDelay()
{
    MenuFixture f;
    SoundLog log(f.menu->media());
    auto *btn1 = f.find(QStringLiteral("btn1"));
    auto *btn2 = f.find(QStringLiteral("btn2"));
    HoverSounds &hover = f.menu->hover();
    QCOMPARE(hover.timer().interval(), 300);

    // Leaving before the delay cancels it.
    sendEnter(btn1);
    QVERIFY(hover.timer().isActive());
    sendLeave(btn1);
    QVERIFY(!hover.timer().isActive());
    hover.fireNow();
    QVERIFY(log.requested().isEmpty());

    // Resting: the button speaks once.
    sendEnter(btn2);
    hover.fireNow();
    QCOMPARE(log.names(), QStringList{QStringLiteral("A16")});
    hover.fireNow();
    QCOMPARE(log.requested().size(), 1);
}

// Tab goes through the menu's buttons in reading order, the marked one speaks as on hover and
// Enter opens it; the marked button shows the hover tint.
void TestShell::menuIsPlayedByKeyboard()
{
    MenuFixture f;
    QList<int> launched;
    f.menu->setScreenLauncher([&](int tag, TfGlavno &) { launched << tag; });
    f.menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.menu.get()));
    QStringList order;
    for (QWidget *c : f.menu->keys().choices())
        order << c->objectName();
    QCOMPARE(order, (QStringList{"btnZvok", "btnOProgramu", "btnIzhod", "btn1", "btn2", "btn3",
                                 "btn4", "btn5", "btn6", "btn7", "btn8", "btn9", "btn10"}));
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(f.menu.get(), Qt::Key_Tab);
    auto *btn2 = f.find<FlatButton>(QStringLiteral("btn2"));
    QCOMPARE(f.menu->keys().current(), btn2);
    QVERIFY(btn2->isMarked());
    QCOMPARE(f.menu->hover().pending(), QStringLiteral("A16"));
    QVERIFY(f.menu->hover().timer().isActive());
    QTest::keyClick(f.menu.get(), Qt::Key_Return);
    QCOMPARE(launched, QList<int>{2});
    QTest::keyClick(f.menu.get(), Qt::Key_Down);
    QTest::keyClick(f.menu.get(), Qt::Key_Space);
    QCOMPARE(launched.size(), 2);
    QVERIFY(launched.last() >= 4 && launched.last() <= 7);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestShell::soundSwitchOnlyFlipsSound()
{
    MenuFixture f;
    SoundLog log(f.menu->media());
    int launched = 0;
    f.menu->setScreenLauncher([&](int, TfGlavno &) { ++launched; });
    auto *zvok = f.find<FlatButton>(QStringLiteral("btnZvok"));
    QVERIFY(zvok->isChecked());
    QVERIFY(f.menu->media().soundOn());
    QTest::mouseClick(zvok, Qt::LeftButton);
    QVERIFY(!zvok->isChecked());
    QVERIFY(!f.menu->media().soundOn());
    QCOMPARE(launched, 0);
    QVERIFY(!QGuiApplication::overrideCursor());

    // Switched off, nothing speaks, not even a hover sound.
    sendEnter(zvok);
    f.menu->hover().fireNow();
    QVERIFY(log.requested().isEmpty());

    QTest::mouseClick(zvok, Qt::LeftButton);
    QVERIFY(f.menu->media().soundOn());
}

void TestShell::rightButtonOnSwitchEditsTheDelay()
{
    MenuFixture f;
    QPoint askedAt;
    int offered = 0;
    bool confirm = true;
    f.menu->setDelayEditor([&](QWidget *, QPoint pos, int &delay) {
        askedAt = pos;
        offered = delay;
        delay = confirm ? 1 : 1000;
        return confirm;
    });
    auto *zvok = f.find<FlatButton>(QStringLiteral("btnZvok"));
    QTest::mousePress(zvok, Qt::RightButton, {}, QPoint(10, 20));
    QCOMPARE(offered, 300);
    QCOMPARE(askedAt, zvok->mapToGlobal(QPoint(10, 20)));
    QCOMPARE(f.menu->zamikZvoka(), 1);
    QCOMPARE(f.menu->hover().timer().interval(), 1);
    QVERIFY(zvok->isChecked()); // the right button does not flip the switch

    confirm = false;
    QTest::mousePress(zvok, Qt::RightButton, {}, QPoint(10, 20));
    QCOMPARE(offered, 1);
    QCOMPARE(f.menu->zamikZvoka(), 1);
}

void TestShell::delayIsReadAtCreationAndWrittenAtExit()
{
    {
        MenuFixture f;
        QCOMPARE(f.menu->zamikZvoka(), 300);
    }
    // Written at exit even unchanged.
    QCOMPARE(QSettings(QStringLiteral("Brinvel"), QStringLiteral("Kolmar"))
                 .value(QStringLiteral("zamikZvoka"))
                 .toInt(),
             300);
    DelaySetting::write(650);
    {
        MenuFixture f;
        QCOMPARE(f.menu->zamikZvoka(), 650);
        QCOMPARE(f.menu->hover().timer().interval(), 650);
        f.menu->media().setZamikZvoka(120);
    }
    QCOMPARE(DelaySetting::read(), 120);
}

void TestShell::menuClickResetsCursorEvenWhenCreatingTheScreenThrows()
{
    MenuFixture f;
    Qt::CursorShape during = Qt::ArrowCursor;
    f.menu->setScreenLauncher([&](int tag, TfGlavno &) {
        during = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape()
                                                   : Qt::ArrowCursor;
        if (tag == 2)
            throw std::runtime_error("no pictures");
    });
    QTest::mouseClick(f.find(QStringLiteral("btn2")), Qt::LeftButton);
    QCOMPARE(during, Qt::WaitCursor);
    QVERIFY(!QGuiApplication::overrideCursor());
    QTest::mouseClick(f.find(QStringLiteral("btn3")), Qt::LeftButton);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestShell::izhodClosesTheMenu()
{
    MenuFixture f;
    f.menu->show();
    QSignalSpy closed(f.menu.get(), &TfGlavno::closed);
    QTest::mouseClick(f.find(QStringLiteral("btnIzhod")), Qt::LeftButton);
    QCOMPARE(closed.size(), 1);
    QVERIFY(!f.menu->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestShell::unbuiltActivityCoversMenuAndClosesWithKonec()
{
    MenuFixture f;
    QTest::mouseClick(f.find(QStringLiteral("btn9")), Qt::LeftButton);
    QVERIFY(!QGuiApplication::overrideCursor());
    auto *screen = qobject_cast<ActivityScreen *>(QApplication::activeModalWidget());
    if (!screen) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *a = qobject_cast<ActivityScreen *>(w); a && a->isVisible())
                screen = a;
    }
    QVERIFY(screen);
    QCOMPARE(screen->geometry(), f.menu->geometry());
    QPointer<ActivityScreen> guard(screen);
    QTest::mouseClick(screen->findChild<QWidget *>(QStringLiteral("SpeedButton1")),
                      Qt::LeftButton);
    QTRY_VERIFY(guard.isNull()); // freed when closed
}

void TestShell::activityButtonOpensItsScreen_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("screen");
    QTest::newRow("first letter") << "btn2" << "TfPrvaCrka";
    QTest::newRow("compose syllables") << "btn4" << "TfSestaviZloge";
    QTest::newRow("swap wrong letters") << "btn5" << "TfZamenjajCrke";
    QTest::newRow("where is the letter") << "btn6" << "TfKjeJeCrka";
    QTest::newRow("mark correct sentences") << "btn8" << "TfOznaciPovedi";
    QTest::newRow("follow lines") << "btn9" << "TfGrafomotorika";
    QTest::newRow("travel") << "btn10" << "TfKaca";
}

void TestShell::activityButtonOpensItsScreen()
{
    QFETCH(QString, button);
    QFETCH(QString, screen);
    MenuFixture f;
    QTest::mouseClick(f.find(button), Qt::LeftButton);
    QPointer<QWidget> opened;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == screen && w->isVisible())
            opened = w;
    QVERIFY(opened);
    QCOMPARE(opened->geometry(), f.menu->geometry());
    // Its POMOČ (where it has one) counts both presses of a double-click: a child pressing
    // help quickly gets help for every press.
    auto *activity = qobject_cast<ActivityScreen *>(opened.data());
    QVERIFY(activity);
    FlatButton *pomoc = activity->commandButton(ActivityScreen::Command::Pomoc);
    if (pomoc->isVisibleTo(activity)) {
        QSignalSpy presses(pomoc, &QAbstractButton::clicked);
        QTest::mouseClick(pomoc, Qt::LeftButton);
        QTest::mouseDClick(pomoc, Qt::LeftButton);
        QTest::mouseRelease(pomoc, Qt::LeftButton);
        QCOMPARE(presses.size(), 2);
    }
    opened->close();
    QTRY_VERIFY(opened.isNull());
}

void TestShell::insertWordThemeOpensTheActivityOverTheMenu()
{
    MenuFixture f;
    // Button 7: the theme menu, modally; the farm opens the insert-word activity over the menu.
    TfMeniVstaviBesedo themes(*f.menu, f.menu.get());
    f.menu->setMeniVstaviBesedo(&themes);
    QTimer::singleShot(0, &themes, [&] {
        QTest::mouseClick(themes.findChild<QWidget *>(QStringLiteral("BitBtn1")), Qt::LeftButton);
    });
    QTest::mouseClick(f.find(QStringLiteral("btn7")), Qt::LeftButton);
    QVERIFY(!themes.isVisible());
    QPointer<TfVstaviBesedo> vstavi = themes.activity();
    QVERIFY(vstavi && vstavi->isVisible());
    QCOMPARE(vstavi->Tema(), 0);
    QCOMPARE(vstavi->geometry(), f.menu->geometry());
    QVERIFY(!QGuiApplication::overrideCursor());
    themes.BitBtn4Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(vstavi.isNull());
}

void TestShell::insertWordMenuIsTheSameInstanceEachTime()
{
    MenuFixture f;
    TfMeniVstaviBesedo themes(*f.menu, f.menu.get());
    f.menu->setMeniVstaviBesedo(&themes);
    int shown = 0;
    auto closeSoon = [&] {
        QTimer::singleShot(0, &themes, [&] {
            if (themes.isVisible()) {
                ++shown;
                themes.reject();
            }
        });
    };
    closeSoon();
    QTest::mouseClick(f.find(QStringLiteral("btn7")), Qt::LeftButton);
    closeSoon();
    QTest::mouseClick(f.find(QStringLiteral("btn7")), Qt::LeftButton);
    QCOMPARE(shown, 2);
    QCOMPARE(f.menu->findChildren<TfMeniVstaviBesedo *>().size(), 1);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestShell::aboutScreenCoversMenuAndScrollsWithoutEnd()
{
    MenuFixture f;
    TfOProgramu about(f.menu->geometry());
    QCOMPARE(about.geometry(), f.menu->geometry());
    auto *list = about.findChild<ScrollingList *>(QStringLiteral("Panel1"));
    QVERIFY(list);
    QCOMPARE(list->size(), QSize(250, 76));
    QCOMPARE(list->timer().interval(), 50);
    // Every content source and its licence are named.
    const QString all = list->lines().join(QLatin1Char('\n'));
    QVERIFY2(all.contains(QStringLiteral("Apache")), qPrintable(all));
    QVERIFY(all.contains(QStringLiteral("espeak"), Qt::CaseInsensitive));
    // It starts over after the last line has gone by.
    int steps = 0;
    list->step();
    while (list->offset() != 0 && steps < 100000) {
        list->step();
        ++steps;
    }
    QVERIFY(steps > list->lines().size());
    QCOMPARE(list->offset(), 0);
    QVERIFY(about.findChild<FlatButton *>(QStringLiteral("SpeedButton1")));
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
