// SPDX-License-Identifier: GPL-3.0-or-later
// The frame every activity shares: records of the data pack, the instruction and its sound,
// counters, the end of a set, starting a set once, wallpaper tiling.
#include "activities/common/activityscreen.h"
#include "activities/common/datarecords.h"
#include "activities/common/lettercells.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "support/packbuilder.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

// A screen with exercises that count how often they were built.
class CountingScreen : public ActivityScreen {
public:
    CountingScreen(AppHost &host, SetStart start, int length = 3)
        : ActivityScreen(host, setupFor(start, length))
    {
    }
    int exercises = 0;
    int clears = 0;
    int helps = 0;

protected:
    void newExercise() override { ++exercises; }
    void clearUsed() override { ++clears; }
    void help() override { ++helps; }

private:
    static Setup setupFor(SetStart start, int length)
    {
        Setup s;
        s.objectName = QStringLiteral("TfTest");
        s.instruction = QStringLiteral("POIŠČI!");
        s.instructionHint = QStringLiteral("A26");
        s.setLength = length;
        s.setStart = start;
        return s;
    }
};

void writeSounds(TestHost &host)
{
    writeTestSoundPack(host.packDir(), QStringLiteral("snd"),
                       {"A26", "A9", "prav", "narobe"}, 400);
}

} // namespace

class TestFrame : public QObject {
    Q_OBJECT
private slots:
    void recordColumns_data();
    void recordColumns();
    void readingAListKeepsOrderAndReportsOverflow();
    void missingListGivesNoRecordsAndNoMessage();
    void screenCoversMenuWithMarksAndRow();
    void instructionSpokenOnceOnShowingAfterAPlayingSound();
    void instructionOfAClosedScreenIsDropped();
    void instructionRepeatsOnHover();
    void soundSwitchOffSilencesInstructionButKeepsText();
    void answersCountAndSetEndsWithPraise();
    void ponoviAfterBravoRestoresEverything();
    void setStartsOnceAndNotAgainAfterAModalWindow();
    void setStartedAtCreationIsNotRestartedOnShowing();
    void restartStartsANewSetAndShowingDoesNotAddOne();
    void wallpaperCoversTheScreenWithWholeTiles();
    void doubleClickCountsOnceOnEveryKindOfControl();
    void helpCountsEveryPressHoweverFastTheyCome();
    void hoverTintsTheButtonEvenlyWithoutAFrameLine();
};

void TestFrame::recordColumns_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("f1");
    QTest::addColumn<QString>("f2");
    QTest::addColumn<QString>("f3");
    QTest::newRow("full") << dataLine("ZOGA", "ŽOGA", "ZOGA") << "ZOGA" << "ŽOGA" << "ZOGA";
    QTest::newRow("no third field") << dataLine("ZOGA", "ŽOGA") << "ZOGA" << "ŽOGA" << "";
    QTest::newRow("shorter than 22") << QStringLiteral("KROG") << "KROG" << "" << "";
    QTest::newRow("exactly 21") << QStringLiteral("KROG                 ") << "KROG" << "" << "";
    QTest::newRow("empty") << QString() << "" << "" << "";
    QTest::newRow("padded fields are trimmed")
        << QStringLiteral("  A B               X  MED                 P001 ") << "A B" << "MED"
        << "P001";
    // Separator columns are never part of a field, even when they hold text.
    QTest::newRow("separators ignored")
        << QStringLiteral("ABCDEFGHIJKLMNOPQRST#abcdefghijklmnopqrst##12345") << "ABCDEFGHIJKLMNOPQRST"
        << "abcdefghijklmnopqrst" << "12345";
    QTest::newRow("third field cut at 48")
        << (dataLine("A", "B") + QStringLiteral("  123456789")) << "A" << "B" << "12345";
}

void TestFrame::recordColumns()
{
    QFETCH(QString, line);
    const DataRecord r = splitDataRecord(line);
    QTEST(r.field1, "f1");
    QTEST(r.field2, "f2");
    QTEST(r.field3, "f3");
}

void TestFrame::readingAListKeepsOrderAndReportsOverflow()
{
    TestHost host;
    QStringList lines;
    for (int i = 0; i < 7; ++i)
        lines << dataLine(QStringLiteral("P%1").arg(i), QStringLiteral("ČRKA%1").arg(i), "S");
    ResourcePackWriter w;
    w.add(ResourceKind::RcData, QStringLiteral("SEZNAM"), toCp1250(lines.join("\r\n") + "\r\n"));
    QVERIFY(writePack(host.packDir(), QStringLiteral("Dat"), w));

    const QList<DataRecord> all = readDataList(host.media(), QStringLiteral("seznam"), 10);
    QCOMPARE(all.size(), 7);
    QCOMPARE(all.at(3).field2, QStringLiteral("ČRKA3"));
    QVERIFY(host.errors.isEmpty());

    // More lines than the table holds: the message, and the records that fit stay.
    const QList<DataRecord> cut = readDataList(host.media(), QStringLiteral("SEZNAM"), 5);
    QCOMPARE(cut.size(), 5);
    QCOMPARE(cut.last().field1, QStringLiteral("P4"));
    QCOMPARE(host.errors, QStringList{dataPackErrorText()});
    QVERIFY(dataPackErrorText().contains(QStringLiteral("\"Dat.ipo\".\nPoskusi")));
}

void TestFrame::missingListGivesNoRecordsAndNoMessage()
{
    TestHost host;
    QVERIFY(readDataList(host.media(), QStringLiteral("ABECEDA"), 125).isEmpty());
    ResourcePackWriter w;
    w.add(ResourceKind::RcData, QStringLiteral("DRUGO"), QByteArray("x"));
    QVERIFY(writePack(host.packDir(), QStringLiteral("DAT"), w));
    QVERIFY(readDataList(host.media(), QStringLiteral("ABECEDA"), 125).isEmpty());
    QVERIFY(host.errors.isEmpty());
}

void TestFrame::screenCoversMenuWithMarksAndRow()
{
    TestHost host;
    CountingScreen s(host, ActivityScreen::SetStart::OnFirstActivation);
    QCOMPARE(s.geometry(), host.menuBounds());
    QCOMPARE(s.findChild<QLabel *>("imgPrav")->pixmap().toImage(),
             host.rightMark().toImage());
    QCOMPARE(s.findChild<QLabel *>("imgNarobe")->pixmap().toImage(),
             host.wrongMark().toImage());
    QCOMPARE(s.instructionLine()->objectName(), QStringLiteral("Panel9"));
    QCOMPARE(s.instructionLine()->geometry(), QRect(14, 14, 800 - 28, 41));
    QCOMPARE(hintOf(s.instructionLine()), QStringLiteral("A26"));
    // The command row, left to right, NAPREJ hidden at first.
    const char *names[] = {"SpeedButton5", "SpeedButton4", "SpeedButton3", "SpeedButton2",
                           "SpeedButton1"};
    const char *captions[] = {"NAPREJ", "POMOČ", "NATISNI", "PONOVI", "KONEC"};
    int lastLeft = 200;
    for (int i = 0; i < 5; ++i) {
        auto *b = s.findChild<FlatButton *>(QString::fromLatin1(names[i]));
        QVERIFY(b);
        QCOMPARE(b->captionLines(), QStringList{QString::fromUtf8(captions[i])});
        QVERIFY(b->x() > lastLeft);
        lastLeft = b->x();
        QCOMPARE(b->size(), QSize(100, 33));
    }
    QVERIFY(!s.commandButton(ActivityScreen::Command::Naprej)->isVisibleTo(&s));
    QCOMPARE(s.commandButton(ActivityScreen::Command::Naprej)->textColor(), QColor(Qt::red));
    QCOMPARE(s.hover().timer().interval(), host.media().zamikZvoka());
}

void TestFrame::instructionSpokenOnceOnShowingAfterAPlayingSound()
{
    TestHost host;
    writeSounds(host);
    host.output->startPlaying(700); // the menu button's hover sound still playing
    auto *s = new CountingScreen(host, ActivityScreen::SetStart::OnFirstActivation);
    s->show();
    // The screen is up and its first exercise built while the instruction waits: nothing
    // blocks the event loop.
    QTRY_COMPARE(s->exercises, 1);
    QVERIFY(host.clock.sleeps().isEmpty());
    QVERIFY(host.log->names().isEmpty());
    const qint64 shownAt = host.clock.nowMs();
    host.clock.advance(700 + MediaService::kKeepTryingStepMs);
    QCOMPARE(host.log->names(), QStringList{"A26"});
    QVERIFY(host.output->accepted().constLast().atMs >= shownAt + 700);
    s->hide();
    s->show();
    QCoreApplication::processEvents();
    host.clock.runPending();
    QCOMPARE(host.log->requested().size(), 1);
    delete s;
}

// A screen closed while its instruction still waits for a hover sound never speaks it.
void TestFrame::instructionOfAClosedScreenIsDropped()
{
    TestHost host;
    writeSounds(host);
    host.output->startPlaying(700);
    auto *s = new CountingScreen(host, ActivityScreen::SetStart::OnFirstActivation);
    s->show();
    QTRY_COMPARE(s->exercises, 1);
    QVERIFY(host.media().hasWaiting());
    s->close(); // KONEC
    host.clock.advance(2000);
    QVERIFY(host.log->names().isEmpty());
    QVERIFY(!host.media().hasWaiting());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestFrame::instructionRepeatsOnHover()
{
    TestHost host;
    writeSounds(host);
    CountingScreen s(host, ActivityScreen::SetStart::OnFirstActivation);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(s.instructionLine(), &enter);
    s.hover().fireNow();
    QCOMPARE(host.log->names(), QStringList{"A26"});
    s.hover().fireNow(); // once per resting
    QCOMPARE(host.log->requested().size(), 1);
}

void TestFrame::soundSwitchOffSilencesInstructionButKeepsText()
{
    TestHost host;
    writeSounds(host);
    host.media().setSoundOn(false);
    CountingScreen s(host, ActivityScreen::SetStart::OnFirstActivation);
    s.show();
    QTRY_COMPARE(s.exercises, 1);
    QVERIFY(host.output->requests().isEmpty());
    QCOMPARE(s.instructionLine()->text(), QStringLiteral("POIŠČI!"));
}

void TestFrame::answersCountAndSetEndsWithPraise()
{
    TestHost host;
    writeSounds(host);
    CountingScreen s(host, ActivityScreen::SetStart::AtCreation, 2);
    s.startFirstSet();
    auto *naprej = s.commandButton(ActivityScreen::Command::Naprej);
    s.answerRight();
    s.answerWrong();
    s.answerWrong();
    s.answerRight(QStringLiteral("prav"), false); // help: sound without a count
    QCOMPARE(s.rightLabel()->text(), QStringLiteral("1"));
    QCOMPARE(s.wrongLabel()->text(), QStringLiteral("2"));
    QCOMPARE(host.log->requested(), (QStringList{"prav", "narobe", "narobe", "prav"}));

    s.exerciseSolved();
    QVERIFY(naprej->isVisibleTo(&s));
    QTest::mouseClick(naprej, Qt::LeftButton);
    QVERIFY(!naprej->isVisibleTo(&s));
    QCOMPARE(s.exercises, 2);
    QCOMPARE(s.rightCount(), 1); // NAPREJ keeps the counts

    host.log->clear();
    host.output->startPlaying(300);
    s.exerciseSolved();
    QVERIFY(!naprej->isVisibleTo(&s));
    QCOMPARE(s.instructionLine()->text(), QStringLiteral("Bravo!"));
    host.clock.advance(300 + MediaService::kKeepTryingStepMs);
    QCOMPARE(host.log->names(), QStringList{"A9"}); // waited, never lost
    QVERIFY(s.setFinished());
}

void TestFrame::ponoviAfterBravoRestoresEverything()
{
    TestHost host;
    CountingScreen s(host, ActivityScreen::SetStart::AtCreation, 1);
    s.startFirstSet();
    s.answerRight();
    s.answerWrong();
    s.exerciseSolved();
    QCOMPARE(s.instructionLine()->text(), QStringLiteral("Bravo!"));
    const int clears = s.clears;
    QTest::mouseClick(s.commandButton(ActivityScreen::Command::Ponovi), Qt::LeftButton);
    QCOMPARE(s.instructionLine()->text(), QStringLiteral("POIŠČI!"));
    QCOMPARE(s.rightLabel()->text(), QStringLiteral("0"));
    QCOMPARE(s.wrongLabel()->text(), QStringLiteral("0"));
    QCOMPARE(s.solvedCount(), 0);
    QCOMPARE(s.clears, clears + 1);
    QCOMPARE(s.exercises, 2);
    QVERIFY(!s.setFinished());
}

void TestFrame::setStartsOnceAndNotAgainAfterAModalWindow()
{
    TestHost host;
    auto *s = new CountingScreen(host, ActivityScreen::SetStart::OnFirstActivation);
    s->show();
    QTRY_COMPARE(s->exercises, 1);
    s->answerWrong();
    // A message box of the screen's own comes and goes; so does the window's activation.
    QTimer::singleShot(0, s, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    QMessageBox::information(s, QStringLiteral("x"), QStringLiteral("y"));
    s->activateWindow();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(s, &activate);
    s->hide();
    s->show();
    QCoreApplication::processEvents();
    QCOMPARE(s->exercises, 1);
    QCOMPARE(s->wrongCount(), 1);
    delete s;
}

void TestFrame::setStartedAtCreationIsNotRestartedOnShowing()
{
    TestHost host;
    auto *s = new CountingScreen(host, ActivityScreen::SetStart::AtCreation);
    s->startFirstSet();
    QCOMPARE(s->exercises, 1);
    s->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(s->exercises, 1);
    delete s;
}

void TestFrame::restartStartsANewSetAndShowingDoesNotAddOne()
{
    TestHost host;
    auto *s = new CountingScreen(host, ActivityScreen::SetStart::OnFirstActivation, 2);
    // Restarted before it is shown (a theme chosen for a new screen): one set, not two.
    s->restartSet();
    QCOMPARE(s->exercises, 1);
    s->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(s->exercises, 1);
    // Restarted while open and played: counters and the finished set are gone.
    s->answerRight();
    s->answerWrong();
    s->exerciseSolved();
    s->exerciseSolved();
    QCOMPARE(s->instructionLine()->text(), QStringLiteral("Bravo!"));
    s->restartSet();
    QCOMPARE(s->exercises, 2);
    QCOMPARE(s->clears, 2);
    QCOMPARE(s->rightLabel()->text(), QStringLiteral("0"));
    QCOMPARE(s->wrongLabel()->text(), QStringLiteral("0"));
    QCOMPARE(s->instructionLine()->text(), QStringLiteral("POIŠČI!"));
    QVERIFY(!s->setFinished());
    delete s;
}

void TestFrame::wallpaperCoversTheScreenWithWholeTiles()
{
    const QSize tile(64, 50);
    const QSize screen(800, 573);
    const QList<QPoint> tiles = wallpaperTiles(tile, screen);
    QCOMPARE(tiles.first(), QPoint(0, 0));
    // Every pixel of the screen lies in some tile, and every tile starts on the grid.
    QImage covered(screen, QImage::Format_Mono);
    covered.fill(0);
    for (const QPoint &p : tiles) {
        QCOMPARE(p.x() % tile.width(), 0);
        QCOMPARE(p.y() % tile.height(), 0);
        for (int y = p.y(); y < qMin(p.y() + tile.height(), screen.height()); ++y)
            for (int x = p.x(); x < qMin(p.x() + tile.width(), screen.width()); ++x)
                covered.setPixel(x, y, 1);
    }
    for (int y = 0; y < screen.height(); y += 7)
        for (int x = 0; x < screen.width(); x += 7)
            QVERIFY2(covered.pixelIndex(x, y) == 1, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    QVERIFY(wallpaperTiles(QSize(0, 10), screen).isEmpty()); // no picture, no endless loop
}

namespace {

// Counts left-button releases of a watched label, as screens that handle plain labels do.
class ReleaseCounter : public QObject {
public:
    int releases = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonRelease)
            ++releases;
        return false;
    }
};

// A child's double-click: press, release, then the second press as a double-click, release.
void doubleClick(QWidget *w)
{
    QTest::mousePress(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
    QTest::mouseDClick(w, Qt::LeftButton);
    QTest::mouseRelease(w, Qt::LeftButton);
}

} // namespace

void TestFrame::doubleClickCountsOnceOnEveryKindOfControl()
{
    TestHost host;
    writeSounds(host);
    CountingScreen s(host, ActivityScreen::SetStart::AtCreation);
    auto *cell = new LetterCell(1, 20, &s);
    auto *button = new FlatButton(&s);
    auto *picture = new PictureBox(&s);
    picture->setPixmap(QPixmap(20, 20));
    // A label inside a panel, several levels below the screen.
    auto *panel = new QWidget(&s);
    auto *slot = new QLabel(QStringLiteral("_"), panel);
    ReleaseCounter slotReleases;
    slot->installEventFilter(&slotReleases);
    for (QWidget *w : std::initializer_list<QWidget *>{cell, button, picture, slot})
        w->resize(30, 30);

    QSignalSpy cellClicks(cell, &LetterCell::clicked);
    QSignalSpy cellPresses(cell, &LetterCell::pressed);
    QSignalSpy buttonClicks(button, &QAbstractButton::clicked);
    QSignalSpy picturePresses(picture, &PictureBox::pressed);
    doubleClick(cell);
    doubleClick(button);
    doubleClick(picture);
    doubleClick(slot);
    QCOMPARE(cellClicks.size(), 1);
    QCOMPARE(cellPresses.size(), 1);
    QCOMPARE(buttonClicks.size(), 1);
    QCOMPARE(picturePresses.size(), 1);
    QCOMPARE(slotReleases.releases, 1);

    // Later clicks count again, each once.
    QTest::mouseClick(cell, Qt::LeftButton);
    QTest::mouseClick(slot, Qt::LeftButton);
    QCOMPARE(cellClicks.size(), 2);
    QCOMPARE(slotReleases.releases, 2);

    // Outside an activity screen a double-click stays Qt's own (the button clicks twice).
    FlatButton outside;
    outside.resize(30, 30);
    QSignalSpy outsideClicks(&outside, &QAbstractButton::clicked);
    doubleClick(&outside);
    QCOMPARE(outsideClicks.size(), 2);
}

void TestFrame::helpCountsEveryPressHoweverFastTheyCome()
{
    TestHost host;
    writeSounds(host);
    CountingScreen s(host, ActivityScreen::SetStart::AtCreation);
    FlatButton *pomoc = s.commandButton(ActivityScreen::Command::Pomoc);
    QVERIFY(ActivityScreen::countsEveryPress(pomoc));
    // 22 presses a quarter of a second apart: Qt makes every second one a double-click.
    for (int i = 0; i < 11; ++i)
        doubleClick(pomoc);
    QCOMPARE(s.helps, 22);

    // The rest of the row keeps the rule of choices: PONOVI twice in a row starts one set.
    const int exercises = s.exercises;
    doubleClick(s.commandButton(ActivityScreen::Command::Ponovi));
    QCOMPARE(s.exercises, exercises + 1);
    // And a double-click on a choice next to it still counts once.
    auto *cell = new LetterCell(1, 20, &s);
    cell->resize(30, 30);
    QSignalSpy cellClicks(cell, &LetterCell::clicked);
    doubleClick(cell);
    QCOMPARE(cellClicks.size(), 1);
}

void TestFrame::hoverTintsTheButtonEvenlyWithoutAFrameLine()
{
    QWidget back;
    back.resize(100, 80);
    QPalette pal = back.palette();
    pal.setColor(QPalette::Window, Qt::white);
    back.setPalette(pal);
    back.setAutoFillBackground(true);
    auto *b = new FlatButton(&back);
    b->setGeometry(10, 10, 80, 60);
    const QImage idle = b->grab().toImage();
    QEnterEvent enter(QPointF(40, 30), QPointF(50, 40), QPointF(50, 40));
    QApplication::sendEvent(b, &enter);
    const QImage hovered = b->grab().toImage();
    const QColor middle = hovered.pixelColor(40, 30);
    QVERIFY(middle != idle.pixelColor(40, 30)); // the pointer is seen
    // Near the edges the same tint as in the middle: no thin line that reads as a focus frame.
    for (const QPoint p : {QPoint(1, 30), QPoint(2, 30), QPoint(40, 1), QPoint(40, 2),
                           QPoint(77, 30), QPoint(78, 30), QPoint(40, 57), QPoint(40, 58)})
        QCOMPARE(hovered.pixelColor(p), middle);
    QVERIFY(b->focusPolicy() == Qt::NoFocus);
}

QTEST_MAIN(TestFrame)
#include "test_frame.moc"
