// SPDX-License-Identifier: GPL-3.0-or-later
// The first-letter screen played with clicks over a word list of our own.
#include "activities/letters/tfprvacrka.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "support/packbuilder.h"
#include "support/testhost.h"
#include "widgets/controls.h"
#include "widgets/keyboardchoices.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QSet>
#include <QTimer>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

const QString kAlphabet = QStringLiteral("ABCČDEFGHIJKLMNOPRSŠTUVZŽ");

// `letters` groups of `perLetter` words; word i of letter L is L + "-" + i, its picture "Pn"
// and its sound "Sn".
QStringList wordList(const QString &letters, int perLetter)
{
    QStringList lines;
    int n = 0;
    for (QChar l : letters)
        for (int i = 0; i < perLetter; ++i, ++n)
            lines << dataLine(QStringLiteral("P%1").arg(n), QString(l) + QStringLiteral("-%1").arg(i),
                              QStringLiteral("S%1").arg(n));
    return lines;
}

void writePacks(TestHost &host, const QStringList &lines)
{
    ResourcePackWriter dat;
    dat.add(ResourceKind::RcData, QStringLiteral("ABECEDA"), toCp1250(lines.join("\r\n")));
    QVERIFY(writePack(host.packDir(), QStringLiteral("Dat"), dat));
    ResourcePackWriter pictures;
    for (int n = 0; n < lines.size(); ++n)
        pictures.add(ResourceKind::Bitmap, QStringLiteral("P%1").arg(n),
                     solidDib({17, 17}, QColor::fromHsv((n * 37) % 360, 200, 200)));
    QVERIFY(writePack(host.packDir(), QStringLiteral("abeceda"), pictures));
    writeTestSoundPack(host.packDir(), QStringLiteral("snd"),
                       {"A29", "A9", "prav", "narobe", "S0", "S1"}, 200);
}

struct Screen {
    TestHost host;
    std::unique_ptr<TfPrvaCrka> s;

    explicit Screen(const QStringList &lines = wordList(kAlphabet, 5))
    {
        writePacks(host, lines);
        s = std::make_unique<TfPrvaCrka>(host);
        host.log->clear();
    }
    QWidget *button(ActivityScreen::Command c) { return s->commandButton(c); }
    void click(int k) { QTest::mouseClick(s->wordLabel(k), Qt::LeftButton); }
    bool red(int k) { return s->wordLabel(k)->textColor() == QColor(Qt::red); }
    void solveStage()
    {
        for (int k = 1; k <= 5; ++k)
            click(k);
    }
};

} // namespace

class TestPrvaCrka : public QObject {
    Q_OBJECT
private slots:
    void stageHasFiveRightAndFiveWrongWords();
    void rightAndWrongClicksCount();
    void stageSolvedLocksWordsAndShowsNaprej();
    void fiveStagesEndInBravo();
    void pomocMarksOneWordWithoutCounting();
    void pomocOnSolvedStageDoesNothing();
    void ponoviResetsCountersAndKeepsNaprej();
    void twentyOneDifferentLettersBeforeHistoryEmpties();
    void fewLettersKeepStagesComingWithoutHanging();
    void listThatCannotFillAStageSaysSoAndStaysUsable();
    void overlongListIsCutAndReported();
    void instructionSpokenOnShowingAndOnHover();
    void wordsSpeakTheirSoundOnHover();
    void returningFromAMessageBoxKeepsTheStage();
    void playedToBravoByKeyboardAlone();
};

void TestPrvaCrka::stageHasFiveRightAndFiveWrongWords()
{
    Screen t;
    const QChar letter = t.s->letter();
    QVERIFY(kAlphabet.contains(letter));
    QCOMPARE(t.s->findChild<QLabel *>("LabelX")->text(), QString(letter));
    QVERIFY(!t.s->findChild<QLabel *>("Image1")->pixmap().isNull());
    QSet<QString> words;
    QSet<QPoint> places;
    for (int k = 1; k <= 10; ++k) {
        auto *l = t.s->wordLabel(k);
        QCOMPARE(l->text().at(0) == letter, k <= 5);
        QVERIFY(ActivityScreen::isClickable(l));
        QCOMPARE(l->textColor(), QColor(128, 0, 128));
        QCOMPARE(tagOf(l), 10);
        QVERIFY(!hintOf(l).isEmpty());
        words.insert(l->text());
        places.insert(l->pos());
    }
    QCOMPARE(words.size(), 10);
    QCOMPARE(places.size(), 10);
    QVERIFY(places.contains(QPoint(244, 117)) && places.contains(QPoint(469, 489)));
    QVERIFY(!t.button(ActivityScreen::Command::Natisni)->isVisibleTo(t.s.get()));
    QVERIFY(!t.button(ActivityScreen::Command::Natisni)->isEnabled());
}

void TestPrvaCrka::rightAndWrongClicksCount()
{
    Screen t;
    t.click(1);
    QVERIFY(t.red(1));
    QVERIFY(!ActivityScreen::isClickable(t.s->wordLabel(1)));
    t.click(1); // a red word ignores clicks
    QCOMPARE(t.s->rightCount(), 1);

    // A wrong word is struck out, stays purple and clickable, and counts on every click.
    for (int i = 0; i < 3; ++i)
        t.click(7);
    QVERIFY(t.s->wordLabel(7)->font().strikeOut());
    QCOMPARE(t.s->wordLabel(7)->textColor(), QColor(128, 0, 128));
    QVERIFY(ActivityScreen::isClickable(t.s->wordLabel(7)));
    QCOMPARE(t.s->wrongCount(), 3);
    QCOMPARE(t.s->findChild<QLabel *>("lblNepravilni")->text(), QStringLiteral("3"));
    QCOMPARE(t.host.log->requested(), (QStringList{"prav", "narobe", "narobe", "narobe"}));
}

void TestPrvaCrka::stageSolvedLocksWordsAndShowsNaprej()
{
    Screen t;
    t.click(6);
    t.solveStage();
    QCOMPARE(t.s->rightCount(), 5);
    QCOMPARE(t.s->solvedCount(), 1);
    QVERIFY(t.button(ActivityScreen::Command::Naprej)->isVisibleTo(t.s.get()));
    t.host.log->clear();
    t.click(8); // wrong words can no longer be clicked
    t.click(6);
    QCOMPARE(t.s->wrongCount(), 1);
    QVERIFY(t.host.log->requested().isEmpty());

    QTest::mouseClick(t.button(ActivityScreen::Command::Naprej), Qt::LeftButton);
    QVERIFY(!t.button(ActivityScreen::Command::Naprej)->isVisibleTo(t.s.get()));
    for (int k = 1; k <= 10; ++k) {
        QVERIFY(!t.red(k));
        QVERIFY(!t.s->wordLabel(k)->font().strikeOut());
        QVERIFY(ActivityScreen::isClickable(t.s->wordLabel(k)));
    }
    QCOMPARE(t.s->rightCount(), 5);
}

void TestPrvaCrka::fiveStagesEndInBravo()
{
    Screen t;
    auto *naprej = t.button(ActivityScreen::Command::Naprej);
    for (int stage = 1; stage <= 4; ++stage) {
        t.solveStage();
        QVERIFY2(naprej->isVisibleTo(t.s.get()), qPrintable(QString::number(stage)));
        QTest::mouseClick(naprej, Qt::LeftButton);
    }
    t.host.log->clear();
    t.solveStage();
    QVERIFY(!naprej->isVisibleTo(t.s.get()));
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("BRAVO!"));
    t.host.clock.runPending(); // the praise waits for the last sound
    QCOMPARE(t.host.log->requested().last(), QStringLiteral("A9"));
    QCOMPARE(t.host.log->entries().last().keepTrying, true);
    QCOMPARE(t.s->rightCount(), 25);
}

void TestPrvaCrka::pomocMarksOneWordWithoutCounting()
{
    Screen t;
    auto *pomoc = t.button(ActivityScreen::Command::Pomoc);
    QTest::mouseClick(pomoc, Qt::LeftButton);
    int reds = 0;
    for (int k = 1; k <= 5; ++k)
        reds += t.red(k);
    QCOMPARE(reds, 1);
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.host.log->requested(), QStringList{"prav"});
    QVERIFY(!t.s->helpFlag());
    // The child's own next right click counts.
    for (int k = 1; k <= 5; ++k) {
        if (!t.red(k)) {
            t.click(k);
            break;
        }
    }
    QCOMPARE(t.s->rightCount(), 1);
    // Help finishes the stage without counting.
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(pomoc, Qt::LeftButton);
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->solvedCount(), 1);
    QVERIFY(t.button(ActivityScreen::Command::Naprej)->isVisibleTo(t.s.get()));
}

void TestPrvaCrka::pomocOnSolvedStageDoesNothing()
{
    Screen t;
    t.solveStage();
    t.host.log->clear();
    QTest::mouseClick(t.button(ActivityScreen::Command::Pomoc), Qt::LeftButton);
    QVERIFY(t.host.log->requested().isEmpty());
    QVERIFY(!t.s->helpFlag());
    QTest::mouseClick(t.button(ActivityScreen::Command::Naprej), Qt::LeftButton);
    t.click(2);
    QCOMPARE(t.s->rightCount(), 6);
}

void TestPrvaCrka::ponoviResetsCountersAndKeepsNaprej()
{
    Screen t;
    t.click(9);
    t.solveStage();
    QVERIFY(t.button(ActivityScreen::Command::Naprej)->isVisibleTo(t.s.get()));
    const QString history = t.s->letterHistory();
    QTest::mouseClick(t.button(ActivityScreen::Command::Ponovi), Qt::LeftButton);
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.s->solvedCount(), 0);
    QCOMPARE(t.s->findChild<QLabel *>("lblPravilni")->text(), QStringLiteral("0"));
    QVERIFY(t.button(ActivityScreen::Command::Naprej)->isVisibleTo(t.s.get()));
    // The letter history survives PONOVI.
    QCOMPARE(t.s->letterHistory(), history + t.s->letter());
    QCOMPARE(t.s->instructionLine()->text(),
             QStringLiteral("OZNAČI VSE BESEDE, KI SE ZAČENJAJO Z IZBRANO ČRKO!"));
}

void TestPrvaCrka::twentyOneDifferentLettersBeforeHistoryEmpties()
{
    for (quint32 seed : {1u, 2u, 3u}) {
        Screen t;
        t.s->random().seed(seed);
        QString seen = t.s->letter(); // the stage the screen opened with
        for (int i = 1; i < 21; ++i) {
            t.s->Zmesaj();
            QVERIFY2(!seen.contains(t.s->letter()), qPrintable(seen + " / " + t.s->letter() + " / " + t.s->letterHistory()));
            seen += t.s->letter();
        }
        QVERIFY(t.s->letterHistory().isEmpty());
        t.s->Zmesaj(); // any letter may come again now
        QCOMPARE(t.s->letterHistory(), QString(t.s->letter()));
    }
}

void TestPrvaCrka::fewLettersKeepStagesComingWithoutHanging()
{
    // Three letters only: after three stages every letter is in the history.
    Screen t(wordList(QStringLiteral("ABC"), 5) + wordList(QStringLiteral("D"), 2));
    QVERIFY(t.s->stageOpen());
    for (int i = 0; i < 10; ++i) {
        t.s->Zmesaj();
        QVERIFY(t.s->stageOpen());
        QVERIFY(QStringLiteral("ABC").contains(t.s->letter())); // D cannot fill a stage
        for (int k = 6; k <= 10; ++k)
            QVERIFY(!t.s->wordLabel(k)->text().isEmpty());
    }
    QVERIFY(t.host.errors.isEmpty());
}

void TestPrvaCrka::listThatCannotFillAStageSaysSoAndStaysUsable()
{
    // Four words per letter (and some empty words): no stage can be filled.
    QStringList lines = wordList(QStringLiteral("ABCDEFG"), 4);
    lines << dataLine("P99", "") << QStringLiteral("KRATKO");
    Screen t(lines);
    QVERIFY(!t.s->stageOpen());
    QCOMPARE(t.host.errors.size(), 1);
    for (int k = 1; k <= 10; ++k)
        QVERIFY(!ActivityScreen::isClickable(t.s->wordLabel(k)));
    t.click(1);
    QTest::mouseClick(t.button(ActivityScreen::Command::Pomoc), Qt::LeftButton);
    QCOMPARE(t.s->rightCount(), 0);
    QTest::mouseClick(t.button(ActivityScreen::Command::Ponovi), Qt::LeftButton);
    QCOMPARE(t.host.errors.size(), 2);

    // No list at all: the same, and no data-pack message.
    TestHost bare;
    TfPrvaCrka empty(bare);
    QVERIFY(!empty.stageOpen());
    QCOMPARE(bare.errors.size(), 1);
}

void TestPrvaCrka::overlongListIsCutAndReported()
{
    Screen t(wordList(kAlphabet, 5) + wordList(QStringLiteral("AB"), 3));
    QCOMPARE(t.s->records().size(), TfPrvaCrka::kRecords);
    QCOMPARE(t.host.errors.size(), 1);
    QVERIFY(t.host.errors.first().startsWith(QStringLiteral("Ne morem prebrati")));
    QVERIFY(t.s->stageOpen());
}

void TestPrvaCrka::instructionSpokenOnShowingAndOnHover()
{
    Screen t;
    t.s->show();
    QTRY_COMPARE(t.host.log->requested(), QStringList{"A29"});
    QVERIFY(t.host.log->entries().first().keepTrying);
    auto *panel = t.s->findChild<QLabel *>("Panel1");
    QVERIFY(panel);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(panel, &enter);
    t.s->hover().fireNow();
    QCOMPARE(t.host.log->requested(), (QStringList{"A29", "A29"}));
}

void TestPrvaCrka::wordsSpeakTheirSoundOnHover()
{
    Screen t;
    auto *word = t.s->wordLabel(3);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(word, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(word, &leave);
    t.s->hover().fireNow();
    QVERIFY(t.host.log->requested().isEmpty()); // left before the delay
    QCoreApplication::sendEvent(word, &enter);
    t.s->hover().fireNow();
    QCOMPARE(t.host.log->requested(), QStringList{hintOf(word)});
}

void TestPrvaCrka::returningFromAMessageBoxKeepsTheStage()
{
    Screen t;
    t.s->show();
    QTRY_VERIFY(!t.host.log->requested().isEmpty());
    t.click(1);
    t.click(8);
    QStringList before;
    for (int k = 1; k <= 10; ++k)
        before << t.s->wordLabel(k)->text();
    QTimer::singleShot(0, t.s.get(), [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    QMessageBox::information(t.s.get(), QStringLiteral("Tipsovo"), QStringLiteral("..."));
    t.s->activateWindow();
    QCoreApplication::processEvents();
    QStringList after;
    for (int k = 1; k <= 10; ++k)
        after << t.s->wordLabel(k)->text();
    QCOMPARE(after, before);
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->wrongCount(), 1);
    QVERIFY(t.red(1));
}

// Tab goes to the next choice, Enter chooses it, Escape is KONEC: a child who cannot use the
// mouse plays a whole set and leaves, and the mark speaks each word as the pointer would.
void TestPrvaCrka::playedToBravoByKeyboardAlone()
{
    Screen t;
    t.s->show();
    QVERIFY(QTest::qWaitForWindowExposed(t.s.get()));
    auto *naprej = t.button(ActivityScreen::Command::Naprej);
    KeyboardChoices &keys = t.s->keys();
    bool heardAWord = false;
    int presses = 0;
    while (t.s->instructionLine()->text() != QStringLiteral("BRAVO!") && presses < 2000) {
        QTest::keyClick(t.s.get(), Qt::Key_Tab);
        ++presses;
        QWidget *at = keys.current();
        QVERIFY(at);
        QVERIFY(KeyboardChoices::isChoice(at));
        // What a screen reader says of it.
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(at);
        QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(at->objectName()));
        if (!hintOf(at).isEmpty() && t.s->hover().pending() == hintOf(at))
            heardAWord = true;
        auto *word = qobject_cast<QLabel *>(at);
        const bool rightWord = word && tagOf(word) == 10 && word->text().startsWith(t.s->letter());
        if (rightWord || at == naprej)
            QTest::keyClick(t.s.get(), Qt::Key_Return);
    }
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("BRAVO!"));
    QCOMPARE(t.s->rightCount(), 25);
    QCOMPARE(t.s->wrongCount(), 0);
    QVERIFY(heardAWord);

    QPointer<TfPrvaCrka> screen(t.s.release());
    QTest::keyClick(screen.data(), Qt::Key_Escape);
    QTRY_VERIFY(!screen || !screen->isVisible());
    delete screen.data();
}

QTEST_MAIN(TestPrvaCrka)
#include "test_prvacrka.moc"
