// SPDX-License-Identifier: GPL-3.0-or-later
// The where-is-the-letter screen played with clicks over word lists and picture packs of our own.
#include "activities/common/lettercells.h"
#include "activities/letters/tfkjejecrka.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "support/packbuilder.h"
#include "support/keyboardplay.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QLabel>
#include <QMouseEvent>
#include <QSet>
#include <QTimer>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

using Command = ActivityScreen::Command;

// Record i: a word of the letters A..H (so letters repeat), its name "N<i>".
QStringList wordList(int n, int length = 4)
{
    QStringList lines;
    for (int i = 0; i < n; ++i) {
        QString word;
        for (int k = 0, v = i; k < length; ++k, v /= 8)
            word += QChar(u'A' + (v + k) % 8);
        lines << dataLine(word, QStringLiteral("N%1").arg(i));
    }
    return lines;
}

QStringList namesOf(const QStringList &lines)
{
    QStringList names;
    for (const QString &l : lines)
        names << l.mid(21, 20).trimmed();
    return names;
}

enum class Pictures { Good, Missing, Malformed };

void writePacks(TestHost &host, const QStringList &lines, Pictures pictures = Pictures::Good)
{
    ResourcePackWriter dat;
    dat.add(ResourceKind::RcData, QStringLiteral("KJEJECRKA"), toCp1250(lines.join("\r\n")));
    QVERIFY(writePack(host.packDir(), QStringLiteral("Dat"), dat));
    const QStringList names = namesOf(lines);
    if (pictures == Pictures::Good) {
        ResourcePackWriter pack;
        for (int i = 0; i < names.size(); ++i)
            pack.add(ResourceKind::Bitmap, names.at(i),
                     solidDib({9, 9}, QColor::fromHsv((i * 37) % 360, 200, 200)));
        QVERIFY(writePack(host.packDir(), QStringLiteral("KjeJeCrka"), pack));
    } else if (pictures == Pictures::Malformed) {
        QFile f(QDir(host.packDir()).filePath(QStringLiteral("KjeJeCrka.ipo")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("MZ this is no pack at all"));
    }
    writeTestSoundPack(host.packDir(), QStringLiteral("snd"),
                       QStringList{"A39", "A9", "prav", "narobe"} + names, 200);
}

struct Screen {
    TestHost host;
    std::unique_ptr<TfKjeJeCrka> s;

    explicit Screen(const QStringList &lines = wordList(75), Pictures pictures = Pictures::Good)
    {
        writePacks(host, lines, pictures);
        s = std::make_unique<TfKjeJeCrka>(host);
        host.log->clear();
    }
    QWidget *button(Command c) { return s->commandButton(c); }
    void press(Command c) { choose(button(c)); }
    void click(QWidget *w) { choose(w); }
    LetterCell *rightSlot() { return s->slot(s->letterPosition()); }
    // A slot of the word other than the drawn one.
    LetterCell *wrongSlot()
    {
        return s->slot(s->letterPosition() == 1 ? s->word().size() : 1);
    }
    void solveWord()
    {
        click(rightSlot());
        click(s->rightWord());
    }
    QColor colour(QLabel *l) { return l->palette().color(QPalette::WindowText); }
    QStringList slotTexts()
    {
        QStringList texts;
        for (int k = 1; k <= TfKjeJeCrka::kSlots; ++k)
            texts << s->slot(k)->text();
        return texts;
    }
};

} // namespace

class TestKjeJeCrka : public QObject {
    Q_OBJECT
private slots:
    void wordOnScreen();
    void wrongSlotsCountEachClickRightSlotEndsTheLetter();
    void onlyTheDrawnSlotCountsWhenTheLetterRepeats();
    void rightWordBeforeItsSlotCountsOneWrongAnswer();
    void foundWordIsWrittenIntoTheSlotsWithTenPauses();
    void pomocTwiceOnAFreshWord();
    void fiveWordsEndInBravoAndPonoviStartsAgain_data();
    void fiveWordsEndInBravoAndPonoviStartsAgain();
    void pictureClickShowsAndSaysTheWord();
    void hoverSpeaksWordsAndInstructionButNeverSlots();
    void doubleClickOnAWordOrSlotIsOneClick();
    void rightWordLandsOnEveryPlace();
    void longWordsFillTheSlotsAndStayOnScreen();
    void spinIsBoundedAndEndsOnTheDrawnWord_data();
    void spinIsBoundedAndEndsOnTheDrawnWord();
    void emptyOrMissingListLeavesNothingToClick();
    void shortListKeepsWordsComing();
    void overlongListIsCutAndReported();
    void wordsOverTenLettersAreNeverUsed();
    void badPicturePackIsReportedAndTheWordStillPlays_data();
    void badPicturePackIsReportedAndTheWordStillPlays();
    void pictureMissingFromThePackIsSilentlyEmpty();
};

void TestKjeJeCrka::wordOnScreen()
{
    Screen t;
    const int r = t.s->targetRecord();
    QVERIFY(r >= 0 && r < TfKjeJeCrka::kRecords);
    const QString word = t.s->records().at(r).word;
    QCOMPARE(t.s->word(), word);
    const int q = t.s->letterPosition();
    QVERIFY(q >= 1 && q <= word.size());
    QCOMPARE(t.s->letterLabel()->text(), QString(word.at(q - 1)));
    for (int k = 1; k <= TfKjeJeCrka::kSlots; ++k) {
        LetterCell *c = t.s->slot(k);
        QCOMPARE(!c->isHidden(), k <= word.size());
        QCOMPARE(c->text(), QStringLiteral("_"));
        QCOMPARE(hintOf(c) == u"X", k == q);
        QCOMPARE(c->tag(), k);
    }
    QCOMPARE(t.s->rightWord()->text(), word);
    QCOMPARE(hintOf(t.s->rightWord()), t.s->records().at(r).name);
    QCOMPARE(hintOf(t.s->picture()), t.s->records().at(r).name);
    QVERIFY(!t.s->picture()->pixmap().isNull());
    QVERIFY(t.s->pictureWord()->isHidden());

    // Seven other words: distinct records, none of them the target, each with its own sound.
    QSet<QString> others;
    QSet<QPoint> at{t.s->rightWord()->pos()};
    for (int k = 1; k <= TfKjeJeCrka::kOtherWords; ++k) {
        QLabel *l = t.s->otherWord(k);
        QVERIFY(l->text() != word);
        const int n = hintOf(l).mid(1).toInt();
        QCOMPARE(l->text(), t.s->records().at(n).word);
        QVERIFY(t.s->records().at(n).taken);
        QVERIFY(ActivityScreen::isClickable(l));
        others.insert(l->text());
        at.insert(l->pos());
    }
    QCOMPARE(others.size(), TfKjeJeCrka::kOtherWords);
    QCOMPARE(at, QSet<QPoint>(t.s->wordPlaces().begin(), t.s->wordPlaces().end()));
    QVERIFY(t.s->wordOpen());
    QVERIFY(t.button(Command::Naprej)->isHidden());
    QVERIFY(t.s->instructionLine()->isHidden());

    // What a worksheet would print is what the screen shows.
    const TfKjeJeCrka::Sheet sheet = t.s->worksheet();
    QCOMPARE(sheet.letter, t.s->letterLabel()->text());
    QCOMPARE(sheet.word, word);
    QCOMPARE(sheet.otherWords.size(), TfKjeJeCrka::kOtherWords);
    QCOMPARE(sheet.otherWords.first(), t.s->otherWord(1)->text());
    QCOMPARE(sheet.picture, t.s->picture()->pixmap().toImage());
}

void TestKjeJeCrka::wrongSlotsCountEachClickRightSlotEndsTheLetter()
{
    Screen t;
    LetterCell *wrong = t.wrongSlot();
    t.click(wrong);
    t.click(wrong);
    QCOMPARE(wrong->text(), TfKjeJeCrka::frowningFace());
    QCOMPARE(wrong->font().family(), QStringLiteral("DejaVu Sans"));
    QVERIFY(wrong->isClickable());
    QCOMPARE(t.s->wrongCount(), 2);
    QCOMPARE(t.s->wrongLabel()->text(), QStringLiteral("2"));
    QVERIFY(!t.s->letterFound());

    t.click(t.rightSlot());
    QCOMPARE(t.rightSlot()->text(), TfKjeJeCrka::smilingFace());
    QVERIFY(t.s->letterFound());
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.host.log->requested(), (QStringList{"narobe", "narobe", "prav"}));
    for (int k = 1; k <= TfKjeJeCrka::kSlots; ++k)
        QVERIFY(!t.s->slot(k)->isClickable());

    // After the right slot no slot reacts.
    t.host.log->clear();
    t.click(wrong);
    t.click(t.rightSlot());
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->wrongCount(), 2);
    QVERIFY(t.host.log->requested().isEmpty());
    QCOMPARE(wrong->text(), TfKjeJeCrka::frowningFace());
}

void TestKjeJeCrka::onlyTheDrawnSlotCountsWhenTheLetterRepeats()
{
    Screen t({dataLine(QStringLiteral("BANANA"), QStringLiteral("BANANA"))});
    // Every letter but B stands more than once.
    for (int i = 0; i < 50 && t.s->letter() == u"B"; ++i)
        t.press(Command::Ponovi);
    const QString letter = t.s->letter();
    QVERIFY(letter == u"A" || letter == u"N");
    int others = 0;
    for (int k = 1; k <= 6; ++k) {
        if (k == t.s->letterPosition() || t.s->word().at(k - 1) != letter.at(0))
            continue;
        t.click(t.s->slot(k));
        QCOMPARE(t.s->slot(k)->text(), TfKjeJeCrka::frowningFace());
        ++others;
    }
    QVERIFY(others >= 1);
    QCOMPARE(t.s->wrongCount(), others);
    QVERIFY(!t.s->letterFound());
    t.click(t.rightSlot());
    QCOMPARE(t.s->rightCount(), 1);
    QVERIFY(t.s->letterFound());
}

void TestKjeJeCrka::rightWordBeforeItsSlotCountsOneWrongAnswer()
{
    Screen t;
    t.click(t.s->rightWord());
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.host.log->requested(), QStringList{"narobe"});
    QCOMPARE(t.colour(t.s->rightWord()), QColor(Qt::black));
    QVERIFY(t.s->wordOpen());
    QCOMPARE(t.slotTexts().first(), QStringLiteral("_"));
    QCOMPARE(t.s->solvedCount(), 0);

    // An other word counts wrong and stays as it is.
    const QString other = t.s->otherWord(3)->text();
    t.click(t.s->otherWord(3));
    QCOMPARE(t.s->wrongCount(), 2);
    QCOMPARE(t.s->otherWord(3)->text(), other);

    t.host.log->clear();
    t.solveWord();
    QCOMPARE(t.s->rightCount(), 2);
    QCOMPARE(t.s->wrongCount(), 2);
    QCOMPARE(t.colour(t.s->rightWord()), QColor(Qt::red));
    QCOMPARE(t.s->solvedCount(), 1);
    QVERIFY(!t.button(Command::Naprej)->isHidden());
    // "prav" for the slot, then the word itself.
    QCOMPARE(t.host.log->requested(), (QStringList{"prav", hintOf(t.s->rightWord())}));

    // A found word: nothing reacts any more.
    t.click(t.s->otherWord(3));
    t.click(t.s->rightWord());
    t.click(t.wrongSlot());
    QCOMPARE(t.s->rightCount(), 2);
    QCOMPARE(t.s->wrongCount(), 2);
    for (int k = 1; k <= TfKjeJeCrka::kOtherWords; ++k)
        QVERIFY(!ActivityScreen::isClickable(t.s->otherWord(k)));
    QVERIFY(!t.s->wordOpen());
}

void TestKjeJeCrka::foundWordIsWrittenIntoTheSlotsWithTenPauses()
{
    Screen t(wordList(75, 3));
    t.click(t.wrongSlot());
    t.click(t.rightSlot());
    t.host.clock.clearSleeps();
    t.click(t.s->rightWord());
    // One pause after every slot, the hidden ones too, through the program's clock.
    QCOMPARE(t.host.clock.sleeps(), QList<qint64>(TfKjeJeCrka::kSlots, 50));
    const QString word = t.s->word();
    QStringList want;
    for (int k = 0; k < TfKjeJeCrka::kSlots; ++k)
        want << (k < word.size() ? QString(word.at(k)) : QStringLiteral("_"));
    QCOMPARE(t.slotTexts(), want);
    QCOMPARE(t.s->slot(1)->font().family(), QStringLiteral("Courier New"));
}

void TestKjeJeCrka::pomocTwiceOnAFreshWord()
{
    Screen t;
    t.press(Command::Pomoc);
    QCOMPARE(t.rightSlot()->text(), TfKjeJeCrka::smilingFace());
    QVERIFY(t.s->letterFound());
    QVERIFY(t.host.log->requested().isEmpty());
    QVERIFY(t.s->wordOpen());
    // The letter is found: slot clicks no longer count.
    t.click(t.wrongSlot());
    QCOMPARE(t.s->wrongCount(), 0);

    t.press(Command::Pomoc);
    QCOMPARE(t.colour(t.s->rightWord()), QColor(Qt::red));
    QCOMPARE(t.slotTexts().first(), QString(t.s->word().at(0)));
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.s->solvedCount(), 1);
    QVERIFY(!t.button(Command::Naprej)->isHidden());

    t.host.log->clear();
    t.press(Command::Pomoc);
    QCOMPARE(t.s->solvedCount(), 1);
    QVERIFY(t.host.log->requested().isEmpty());
}

// Played with the mouse and by keyboard alone.
void TestKjeJeCrka::fiveWordsEndInBravoAndPonoviStartsAgain_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestKjeJeCrka::fiveWordsEndInBravoAndPonoviStartsAgain()
{
    QFETCH(bool, byKeyboard);
    const ByKeyboard mode(byKeyboard);
    Screen t;
    if (byKeyboard) {
        QVERIFY(showForKeyboard(t.s.get()));
        t.host.log->clear();
    }
    QSet<int> targets;
    for (int w = 1; w <= TfKjeJeCrka::kWordsPerSet; ++w) {
        if (w > 1)
            t.press(Command::Naprej);
        QVERIFY(t.button(Command::Naprej)->isHidden());
        targets.insert(t.s->targetRecord());
        t.solveWord();
    }
    QCOMPARE(targets.size(), TfKjeJeCrka::kWordsPerSet);
    QCOMPARE(t.s->rightCount(), 10);
    QVERIFY(t.button(Command::Naprej)->isHidden());
    QVERIFY(!t.s->instructionLine()->isHidden());
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("BRAVO!"));
    for (const char *name : {"Label18", "lblCrka", "Label19"})
        QVERIFY(t.s->findChild<QLabel *>(name)->isHidden());
    QCOMPARE(t.host.log->requested().last(), QStringLiteral("A9"));
    QVERIFY(t.host.log->entries().last().keepTrying);

    t.press(Command::Ponovi);
    QVERIFY(t.s->instructionLine()->isHidden());
    for (const char *name : {"Label18", "lblCrka", "Label19"})
        QVERIFY(!t.s->findChild<QLabel *>(name)->isHidden());
    QCOMPARE(t.s->rightLabel()->text(), QStringLiteral("0"));
    QCOMPARE(t.s->solvedCount(), 0);
    QVERIFY(t.s->wordOpen());
    int marked = 0;
    for (const auto &r : t.s->records())
        marked += r.target;
    QCOMPARE(marked, 1); // only the new word
}

void TestKjeJeCrka::pictureClickShowsAndSaysTheWord()
{
    Screen t;
    t.click(t.s->picture());
    QVERIFY(!t.s->pictureWord()->isHidden());
    QCOMPARE(t.s->pictureWord()->text(), t.s->word());
    QCOMPARE(t.host.log->requested(), QStringList{hintOf(t.s->rightWord())});
    QTimer *timer = t.s->wordTimer();
    QVERIFY(timer->isActive());
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 1000);
    QCOMPARE(t.s->rightCount() + t.s->wrongCount(), 0);
    t.s->tmrBesedaTimer();
    QVERIFY(t.s->pictureWord()->isHidden());
}

void TestKjeJeCrka::hoverSpeaksWordsAndInstructionButNeverSlots()
{
    Screen t;
    t.s->show();
    QTRY_COMPARE(t.host.log->requested(), QStringList{"A39"});
    QVERIFY(t.host.log->entries().first().keepTrying);
    t.host.log->clear();
    auto rest = [&](QWidget *w) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(w, &enter);
        t.s->hover().fireNow();
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(w, &leave);
    };
    rest(t.rightSlot()); // its Hint marks the right slot and must not give it away
    rest(t.s->picture());
    QVERIFY(t.host.log->requested().isEmpty());
    rest(t.s->findChild<QLabel *>("Label19"));
    rest(t.s->otherWord(2));
    rest(t.s->rightWord());
    QCOMPARE(t.host.log->requested(),
             (QStringList{"A39", hintOf(t.s->otherWord(2)), hintOf(t.s->rightWord())}));
}

void TestKjeJeCrka::doubleClickOnAWordOrSlotIsOneClick()
{
    Screen t;
    const QPointF p(3, 3);
    auto doubleClick = [&](QWidget *w) {
        auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
            QMouseEvent e(type, p, w->mapToGlobal(p), Qt::LeftButton, buttons, {});
            QCoreApplication::sendEvent(w, &e);
        };
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    };
    doubleClick(t.s->otherWord(1));
    QCOMPARE(t.s->wrongCount(), 1);
    doubleClick(t.wrongSlot());
    QCOMPARE(t.s->wrongCount(), 2);
}

void TestKjeJeCrka::rightWordLandsOnEveryPlace()
{
    Screen t;
    t.s->random().seed(7);
    QList<int> hits(TfKjeJeCrka::kPlaces, 0);
    const int rounds = 800;
    for (int i = 0; i < rounds; ++i) {
        t.press(Command::Ponovi);
        const int place = int(t.s->wordPlaces().indexOf(t.s->rightWord()->pos()));
        QVERIFY(place >= 0);
        ++hits[place];
    }
    // Each place about 100 times; a place never or twice as often as it should is a fault.
    for (int h : hits)
        QVERIFY2(h > 60 && h < 140, qPrintable(QString::number(h)));
}

void TestKjeJeCrka::longWordsFillTheSlotsAndStayOnScreen()
{
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines << dataLine(QString(10, QChar(u'M')).replace(i % 10, 1, QChar(u'A' + i)),
                          QStringLiteral("N%1").arg(i));
    Screen t(lines);
    for (int round = 0; round < 5; ++round) {
        t.press(Command::Ponovi);
        for (int k = 1; k <= TfKjeJeCrka::kSlots; ++k)
            QVERIFY(!t.s->slot(k)->isHidden());
        QList<QLabel *> words{t.s->rightWord()};
        for (int k = 1; k <= TfKjeJeCrka::kOtherWords; ++k)
            words << t.s->otherWord(k);
        for (QLabel *l : words) {
            QCOMPARE(l->text().size(), 10);
            QVERIFY2(l->geometry().right() < t.s->width(), qPrintable(l->objectName()));
        }
    }
}

void TestKjeJeCrka::spinIsBoundedAndEndsOnTheDrawnWord_data()
{
    QTest::addColumn<int>("s");
    for (int s : {0, 1, 2, 15, 16, 31, 74, 1000})
        QTest::addRow("record %d", s) << s;
}

void TestKjeJeCrka::spinIsBoundedAndEndsOnTheDrawnWord()
{
    QFETCH(int, s);
    const QList<int> shown = TfKjeJeCrka::spinSequence(s);
    QVERIFY(!shown.isEmpty());
    QVERIFY(shown.size() <= TfKjeJeCrka::kSpinFrames);
    QCOMPARE(shown.first(), 0);
    QCOMPARE(shown.last(), s);
    for (int i = 1; i < shown.size(); ++i)
        QVERIFY(shown.at(i) > shown.at(i - 1));
    // Near the top of the list every record shows.
    if (s < TfKjeJeCrka::kSpinFrames)
        QCOMPARE(shown.size(), s + 1);
    QCOMPARE(TfKjeJeCrka::spinSequence(s, 1), QList<int>{s});
}

void TestKjeJeCrka::emptyOrMissingListLeavesNothingToClick()
{
    for (bool missing : {false, true}) {
        TestHost host;
        if (!missing)
            writePacks(host, {});
        TfKjeJeCrka s(host);
        QVERIFY(s.records().isEmpty());
        QCOMPARE(s.targetRecord(), -1);
        // One message that there are no words; a missing pack is no data-pack error.
        QCOMPARE(host.errors.size(), 1);
        QVERIFY(!host.errors.first().startsWith(QStringLiteral("Ne morem")));
        QVERIFY(!s.wordOpen());
        for (int k = 1; k <= TfKjeJeCrka::kSlots; ++k)
            QVERIFY(s.slot(k)->isHidden());
        QTest::mouseClick(s.rightWord(), Qt::LeftButton);
        QTest::mouseClick(s.picture(), Qt::LeftButton);
        QTest::mouseClick(s.commandButton(Command::Pomoc), Qt::LeftButton);
        QCOMPARE(s.rightCount() + s.wrongCount() + s.solvedCount(), 0);
        QTest::mouseClick(s.commandButton(Command::Ponovi), Qt::LeftButton);
        QCOMPARE(host.errors.size(), 2);
    }
}

void TestKjeJeCrka::shortListKeepsWordsComing()
{
    Screen t(wordList(3));
    QCOMPARE(t.s->records().size(), 3);
    QVERIFY(t.host.errors.isEmpty());
    for (int w = 1; w <= TfKjeJeCrka::kWordsPerSet; ++w) {
        if (w > 1)
            t.press(Command::Naprej);
        QVERIFY(t.s->wordOpen());
        int shown = 0;
        for (int k = 1; k <= TfKjeJeCrka::kOtherWords; ++k)
            shown += !t.s->otherWord(k)->isHidden();
        QVERIFY(shown <= 2);
        t.solveWord();
    }
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("BRAVO!"));
}

void TestKjeJeCrka::overlongListIsCutAndReported()
{
    const QStringList lines = wordList(90);
    Screen t(lines);
    QCOMPARE(t.s->records().size(), TfKjeJeCrka::kRecords);
    QCOMPARE(t.s->records().last().name, QStringLiteral("N74"));
    QCOMPARE(t.host.errors.size(), 1);
    QVERIFY(t.host.errors.first().startsWith(QStringLiteral("Ne morem prebrati")));
    QVERIFY(t.s->wordOpen());
}

void TestKjeJeCrka::wordsOverTenLettersAreNeverUsed()
{
    QStringList lines = wordList(10, 11) + wordList(10, 5);
    lines << dataLine(QString(), QStringLiteral("PRAZNO")) << QStringLiteral("KRATKO");
    Screen t(lines);
    for (int i = 0; i < 40; ++i) {
        t.press(Command::Ponovi);
        QVERIFY(t.s->word().size() <= TfKjeJeCrka::kSlots);
        for (int k = 1; k <= TfKjeJeCrka::kOtherWords; ++k) {
            const QString w = t.s->otherWord(k)->text();
            QVERIFY(!w.isEmpty() && w.size() <= TfKjeJeCrka::kSlots);
        }
    }
}

void TestKjeJeCrka::badPicturePackIsReportedAndTheWordStillPlays_data()
{
    QTest::addColumn<Pictures>("pictures");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << Pictures::Missing << "The specified module could not be found.";
    QTest::newRow("malformed") << Pictures::Malformed << "KjeJeCrka.ipo is not a valid Win32 application.";
}

void TestKjeJeCrka::badPicturePackIsReportedAndTheWordStillPlays()
{
    QFETCH(Pictures, pictures);
    QFETCH(QString, message);
    Screen t(wordList(75), pictures);
    QCOMPARE(t.host.errors, QStringList{message});
    QVERIFY(t.s->picture()->pixmap().isNull());
    t.solveWord();
    QCOMPARE(t.s->rightCount(), 2);
    t.press(Command::Naprej);
    QCOMPARE(t.host.errors.size(), 2);
    QVERIFY(t.s->wordOpen());
}

void TestKjeJeCrka::pictureMissingFromThePackIsSilentlyEmpty()
{
    TestHost host;
    writePacks(host, wordList(75));
    // A pack that holds none of the list's pictures.
    ResourcePackWriter pack;
    pack.add(ResourceKind::Bitmap, QStringLiteral("DRUGO"), solidDib({9, 9}, Qt::blue));
    QVERIFY(writePack(host.packDir(), QStringLiteral("KjeJeCrka"), pack));
    TfKjeJeCrka s(host);
    QVERIFY(s.picture()->pixmap().isNull());
    QVERIFY(s.worksheet().picture.isNull());
    QVERIFY(host.errors.isEmpty());
    QVERIFY(s.wordOpen());
}

QTEST_MAIN(TestKjeJeCrka)
#include "test_kjejecrka.moc"
