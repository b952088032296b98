// SPDX-License-Identifier: GPL-3.0-or-later
// Guess the word and its chooser, played with clicks; the chooser answers through the screen's
// chooser hook or, where the dialog itself is under test, by clicks while it runs modally.
#include "activities/letters/tfaalib.h"
#include "activities/letters/tfvislice.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "media/slovenian.h"
#include "support/packbuilder.h"
#include "support/keyboardplay.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QSet>
#include <QTimer>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

using Choice = TfAaliB::Choice;
using Command = ActivityScreen::Command;

namespace {

const QString kPraise = QStringLiteral("BRAVO, PRAVILNO SI SESTAVIL BESEDE!");

void writeSounds(TestHost &host)
{
    writeTestSoundPack(host.packDir(), QStringLiteral("snd"),
                       {"A18", "A9", "konec", "prav", "narobe", "Krt", "Mak", "A30", "A31", "A32",
                        "A33", "A14"},
                       200);
}

// A screen opened with the chooser answered by `answer`, with the given letter case.
struct Screen {
    TestHost host;
    std::unique_ptr<TfVislice> owner;
    TfVislice *s = nullptr;
    Choice answer;
    bool capitals;
    int asked = 0;

    explicit Screen(Choice a = Choice::Easier, bool caps = true) : answer(a), capitals(caps)
    {
        writeSounds(host);
        owner = std::make_unique<TfVislice>(host);
        s = owner.get();
        s->random().seed(7);
        s->setChooserRun([this](TfAaliB &dialog) {
            ++asked;
            dialog.setCapitals(capitals);
            return answer;
        });
        s->startFirstSet();
        host.log->clear();
    }

    // The next word is the entry with this picture name: every other entry counts as used.
    void play(const QString &picture)
    {
        for (int k = 1; k <= TfVislice::kWords; ++k)
            s->setUsed(k, s->words().at(k - 1).picture != picture);
        s->NovaIgra();
        QCOMPARE(s->pictureName(), picture);
    }
    QLabel *inOrder(int j) const { return s->tile(TfVislice::kFillOrder[j - 1]); }
    QLabel *tileWith(const QString &letter) const
    {
        for (int j = 1; j <= TfVislice::kSlots; ++j)
            if (s->tile(j)->text() == letter)
                return s->tile(j);
        return nullptr;
    }
    QLabel *anyLetterTile() const
    {
        for (int j = 1; j <= TfVislice::kSlots; ++j)
            if (!s->tile(j)->text().isEmpty())
                return s->tile(j);
        return nullptr;
    }
    int firstEmptySlot() const
    {
        for (int i = 1; i <= TfVislice::kSlots; ++i)
            if (s->slot(i)->text() == QStringLiteral("_"))
                return i;
        return 0;
    }
    void click(QWidget *w) { choose(w); }
    void command(Command c) { click(s->commandButton(c)); }
    bool naprejShown() const { return s->commandButton(Command::Naprej)->isVisibleTo(s); }
    // Places the next letter as a child would: the right tile onto the leftmost empty slot.
    void placeNext()
    {
        const int i = firstEmptySlot();
        QVERIFY(i > 0);
        QLabel *d = tileWith(QString(s->word().at(i - 1)));
        QVERIFY(d);
        click(d);
        click(s->slot(i));
    }
    void solveByHand()
    {
        for (int guard = 0; s->wordOpen() && guard < TfVislice::kSlots; ++guard)
            placeNext();
        QVERIFY(!s->wordOpen());
    }
    void solveByHelp()
    {
        for (int guard = 0; s->wordOpen() && guard < TfVislice::kSlots; ++guard)
            command(Command::Pomoc);
        QVERIFY(!s->wordOpen());
    }
    QString tilesInOrder(int from, int to) const
    {
        QString text;
        for (int j = from; j <= to; ++j)
            text += inOrder(j)->text();
        return text;
    }
};

QString sorted(QString s)
{
    std::sort(s.begin(), s.end());
    return s;
}

bool red(const QLabel *l) { return TfVislice::letterColour(l) == QColor(Qt::red); }

// Clicks `button` of the chooser as soon as it runs modally (or presses Escape for "").
void answerChooserWhenShown(const char *button)
{
    const QString name = QString::fromLatin1(button);
    QTimer::singleShot(0, qApp, [name] {
        auto *dialog = qobject_cast<TfAaliB *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (name.isEmpty())
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(dialog->findChild<QWidget *>(name), Qt::LeftButton);
    });
}

} // namespace

class TestVislice : public QObject {
    Q_OBJECT
private slots:
    void chooserLayout();
    void chooserAnswers_data();
    void chooserAnswers();
    void chooserAsksAfreshButKeepsLetterCase();

    void wordTableMatchesItsResourceNames();
    void screenLayout();
    void easierKrt_data();
    void easierKrt();
    void harderFillsTheTilesInOrder_data();
    void harderFillsTheTilesInOrder();
    void extraTileWithALetterOfTheWordFits();
    void pickingATileAndCursorFeedback();
    void wrongSlotKeepsTheLetterAndCountsEachTry();
    void filledSlotOrNothingPickedDoesNothing();
    void pomocFillsLeftmostSlotWithoutCounting();
    void pomocTakingThePickedTileDropsTheSelection();
    void setEnding_data();
    void setEnding();
    void ponoviKeepsNaprejAndStartsWithNothingPicked();
    void noWordTwiceInASet();
    void slotsCentredUnderThePicture_data();
    void slotsCentredUnderThePicture();
    void onlyTheTitleSpeaksOnHoverAndThePictureOnClick();

    void openingSpeaksTitleThenAsksOnce();
    void zapriInTheChooserClosesTheScreen();
    void chooserClosedWithoutAChoiceLeavesAUsableScreen();
};

// ---- the chooser ---------------------------------------------------------------------------

void TestVislice::chooserLayout()
{
    TestHost host;
    writeSounds(host);
    host.media().setZamikZvoka(450);
    {
        TfAaliB dialog;
        TfAaliB second; // the first one made stays the one of the run
        QCOMPARE(TfAaliB::instance(), &dialog);
        QCOMPARE(dialog.size(), QSize(349, 313));
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(255, 255, 170));
        QCOMPARE(dialog.hover()->delay(), 450);
        auto *r1 = dialog.findChild<QRadioButton *>("RadioButton1");
        auto *r2 = dialog.findChild<QRadioButton *>("RadioButton2");
        QVERIFY(r1->isChecked() && !r2->isChecked() && dialog.capitals());
        QCOMPARE(r1->mapTo(&dialog, QPoint(0, 0)), QPoint(29, 59));
        QCOMPARE(r2->mapTo(&dialog, QPoint(0, 0)), QPoint(181, 59));
        const std::pair<const char *, QRect> buttons[] = {{"BitBtn1", {28, 82, 141, 139}},
                                                          {"BitBtn2", {181, 82, 141, 139}},
                                                          {"BitBtn4", {231, 240, 91, 37}}};
        for (const auto &[name, geometry] : buttons)
            QCOMPARE(dialog.findChild<FlatButton *>(QString::fromLatin1(name))->geometry(),
                     geometry);
        // Its own hover sounds: TEŽJA speaks, the heading does not.
        QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        QCoreApplication::sendEvent(dialog.findChild<QWidget *>("BitBtn2"), &enter);
        dialog.hover()->fireNow();
        QCoreApplication::sendEvent(dialog.findChild<QWidget *>("Label1"), &enter);
        dialog.hover()->fireNow();
        QCOMPARE(host.log->requested(), QStringList{"A31"});
    }
    QCOMPARE(TfAaliB::instance(), nullptr);
}

void TestVislice::chooserAnswers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<Choice>("choice");
    QTest::addColumn<QString>("difficulty");
    QTest::newRow("LAŽJA") << "BitBtn1" << Choice::Easier << "A";
    QTest::newRow("TEŽJA") << "BitBtn2" << Choice::Harder << "B";
    QTest::newRow("Zapri") << "BitBtn4" << Choice::Close << "";
    QTest::newRow("Escape") << "" << Choice::None << "";
}

void TestVislice::chooserAnswers()
{
    QFETCH(QString, button);
    QFETCH(Choice, choice);
    TestHost host;
    TfAaliB dialog;
    answerChooserWhenShown(button.toLatin1().constData());
    QCOMPARE(dialog.ask(), choice);
    QVERIFY(!dialog.isVisible());
    QTEST(TfAaliB::difficultyCode(dialog.choice()), "difficulty");
}

void TestVislice::chooserAsksAfreshButKeepsLetterCase()
{
    TestHost host;
    TfAaliB dialog;
    answerChooserWhenShown("BitBtn2");
    QCOMPARE(dialog.ask(), Choice::Harder);
    // The option is the child's, for the whole run.
    QTest::mouseClick(dialog.findChild<QRadioButton *>("RadioButton2"), Qt::LeftButton);
    QVERIFY(!dialog.capitals());
    // A showing closed without a choice does not repeat the last one.
    answerChooserWhenShown("");
    QCOMPARE(dialog.ask(), Choice::None);
    QVERIFY(!dialog.capitals());
    QVERIFY(dialog.findChild<QRadioButton *>("RadioButton2")->isChecked());
}

// ---- the screen ----------------------------------------------------------------------------

void TestVislice::wordTableMatchesItsResourceNames()
{
    TestHost host;
    TfVislice s(host);
    QCOMPARE(s.words().size(), TfVislice::kWords);
    QSet<QString> pictures;
    for (const TfVislice::WordEntry &w : s.words()) {
        // Three to ten letters: the slots and tiles hold every word.
        QVERIFY2(w.display.size() >= 3 && w.display.size() <= TfVislice::kSlots,
                 qPrintable(w.display));
        // The picture and sound name is the word without its diacritics.
        QString plain = w.display;
        plain.replace(QStringLiteral("č"), QStringLiteral("c"))
            .replace(QStringLiteral("š"), QStringLiteral("s"))
            .replace(QStringLiteral("ž"), QStringLiteral("z"))
            .replace(QStringLiteral("Č"), QStringLiteral("C"));
        QCOMPARE(w.picture, plain);
        pictures.insert(w.picture);
    }
    QCOMPARE(pictures.size(), TfVislice::kWords);
}

void TestVislice::screenLayout()
{
    TestHost host;
    TfVislice s(host);
    QCOMPARE(s.instructionLine()->objectName(), QStringLiteral("lNaslov"));
    QCOMPARE(s.instructionLine()->text(), QStringLiteral("UGANI BESEDO"));
    QCOMPARE(s.picture()->geometry(), QRect(65, 62, 300, 300));
    QCOMPARE(s.commandButton(Command::Pomoc)->objectName(), QStringLiteral("SpeedButton3"));
    QCOMPARE(s.commandButton(Command::Natisni)->objectName(), QStringLiteral("SpeedButton4"));
    QVERIFY(s.commandButton(Command::Natisni)->isVisibleTo(&s));
    const QPoint tiles[] = {{478, 119}, {447, 237}, {456, 337}, {546, 307}, {608, 251},
                            {604, 95},  {542, 167}, {670, 345}, {684, 227}, {686, 127}};
    for (int j = 1; j <= TfVislice::kSlots; ++j) {
        QCOMPARE(s.tile(j)->pos(), tiles[j - 1]);
        QCOMPARE(s.slot(j)->y(), 362);
        for (int k = 1; k < j; ++k) // no tile covers another
            QVERIFY(!s.tile(j)->geometry().intersects(s.tile(k)->geometry()));
    }
}

void TestVislice::easierKrt_data()
{
    QTest::addColumn<bool>("capitals");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("letter");
    QTest::newRow("capitals") << true << "K_T" << "R";
    QTest::newRow("small letters") << false << "k_t" << "r";
}

void TestVislice::easierKrt()
{
    QFETCH(bool, capitals);
    QFETCH(QString, pattern);
    QFETCH(QString, letter);
    Screen t(Choice::Easier, capitals);
    ResourcePackWriter pictures;
    pictures.add(ResourceKind::Bitmap, QStringLiteral("KRT"), solidDib({9, 9}, Qt::darkGreen));
    QVERIFY(writePack(t.host.packDir(), QStringLiteral("UganiBesedo"), pictures));
    t.play(QStringLiteral("Krt"));

    QCOMPARE(t.s->difficulty(), QStringLiteral("A"));
    QCOMPARE(t.s->lettersToPlace(), 1);
    for (int i = 1; i <= TfVislice::kSlots; ++i) {
        QCOMPARE(t.s->slot(i)->text(), i <= 3 ? QString(pattern.at(i - 1)) : QString());
        QCOMPARE(t.s->slot(i)->isVisibleTo(t.s), i <= 3);
    }
    for (int j = 1; j <= TfVislice::kSlots; ++j)
        QCOMPARE(t.s->tile(j)->text(), j == 8 ? letter : QString());
    QCOMPARE(t.s->patternText(), pattern);
    QCOMPARE(t.s->tileText(), letter);
    QCOMPARE(hintOf(t.s->picture()), QStringLiteral("Krt"));
    QVERIFY(!t.s->picture()->pixmap().isNull());
    QVERIFY(t.host.errors.isEmpty());

    // One right placement completes the word; its own name is said after "prav".
    t.click(t.s->tile(8));
    t.click(t.s->slot(2));
    QCOMPARE(t.s->slot(2)->text(), letter);
    QVERIFY(t.s->tile(8)->text().isEmpty());
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->findChild<QLabel *>("lPravilno")->text(), QStringLiteral("1"));
    t.host.clock.runPending(); // the word waits for "prav"
    QCOMPARE(t.host.log->requested(), (QStringList{"prav", "Krt"}));
    QVERIFY(t.host.log->entries().last().keepTrying);
    QCOMPARE(t.host.log->names(), (QStringList{"prav", "Krt"})); // waited, not lost
    QCOMPARE(t.s->solvedCount(), 1);
    QVERIFY(t.naprejShown());
    QVERIFY(!t.s->wordOpen());
}

void TestVislice::harderFillsTheTilesInOrder_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("capitals");
    QTest::newRow("Trobentica") << "Trobentica" << "TROBENTICA" << true;
    QTest::newRow("Paradižnik") << "Paradiznik" << "paradižnik" << false;
    QTest::newRow("Mak") << "Mak" << "MAK" << true;
    QTest::newRow("mak") << "Mak" << "mak" << false;
}

void TestVislice::harderFillsTheTilesInOrder()
{
    QFETCH(QString, picture);
    QFETCH(QString, word);
    QFETCH(bool, capitals);
    Screen t(Choice::Harder, capitals);
    const QString keys = TfVislice::keyboardLetters(capitals);
    QCOMPARE(keys.size(), 22);
    QSet<QString> orders;
    for (quint32 seed = 1; seed <= 12; ++seed) {
        t.s->random().seed(seed);
        t.play(picture);
        const int n = int(word.size());
        QCOMPARE(t.s->word(), word);
        QCOMPARE(t.s->lettersToPlace(), n);
        QCOMPARE(t.s->patternText(), QString(n, QLatin1Char('_')));
        // The word's letters, scrambled, on the first n tiles of the filling order …
        const QString first = t.tilesInOrder(1, n);
        QCOMPARE(sorted(first), sorted(word));
        orders.insert(first);
        // … and a keyboard letter on every other tile.
        for (int j = n + 1; j <= TfVislice::kSlots; ++j) {
            QCOMPARE(t.inOrder(j)->text().size(), 1);
            QVERIFY(keys.contains(t.inOrder(j)->text()));
        }
        QCOMPARE(t.s->tileText().size(), TfVislice::kSlots);
        for (int j = 1; j <= TfVislice::kSlots; ++j)
            QVERIFY(ActivityScreen::isClickable(t.s->tile(j)));
    }
    QVERIFY2(orders.size() > 1, "the letters are scrambled");
}

void TestVislice::extraTileWithALetterOfTheWordFits()
{
    Screen t(Choice::Harder);
    // Find a draw in which an extra tile carries a letter of "MAK".
    QLabel *extra = nullptr;
    for (quint32 seed = 1; seed <= 200 && !extra; ++seed) {
        t.s->random().seed(seed);
        t.play(QStringLiteral("Mak"));
        for (int j = 4; j <= TfVislice::kSlots && !extra; ++j)
            if (QStringLiteral("MAK").contains(t.inOrder(j)->text()))
                extra = t.inOrder(j);
    }
    QVERIFY(extra);
    const QString letter = extra->text();
    const int slot = int(QStringLiteral("MAK").indexOf(letter)) + 1;
    t.host.log->clear();
    t.click(extra);
    t.click(t.s->slot(slot));
    QCOMPARE(t.s->slot(slot)->text(), letter);
    QVERIFY(extra->text().isEmpty());
    QCOMPARE(t.s->rightCount(), 1);
    // The word's own tile of that letter is still there.
    QCOMPARE(t.tilesInOrder(1, 3).count(letter), 1);
}

void TestVislice::pickingATileAndCursorFeedback()
{
    Screen t(Choice::Harder);
    t.play(QStringLiteral("Muha"));
    auto slotsClickable = [&t] {
        int n = 0;
        for (int i = 1; i <= TfVislice::kSlots; ++i)
            n += ActivityScreen::isClickable(t.s->slot(i));
        return n;
    };
    QCOMPARE(slotsClickable(), 0); // nothing picked
    QLabel *h = t.tileWith(QStringLiteral("H"));
    QLabel *u = t.tileWith(QStringLiteral("U"));
    t.click(h);
    QCOMPARE(t.s->selectedLetter(), QStringLiteral("H"));
    QCOMPARE(t.s->pickedLetter()->text(), QStringLiteral("H"));
    QVERIFY(red(h));
    QCOMPARE(slotsClickable(), 4);
    t.click(u); // another tile takes over
    QVERIFY(red(u) && !red(h));
    QCOMPARE(t.s->pickedLetter()->text(), QStringLiteral("U"));
    t.click(t.s->slot(2));
    QCOMPARE(t.s->slot(2)->text(), QStringLiteral("U"));
    // The placed tile is empty and no longer a hand; the filled slot neither.
    QVERIFY(u->text().isEmpty());
    QVERIFY(!ActivityScreen::isClickable(u));
    QVERIFY(t.s->selectedLetter().isEmpty());
    QVERIFY(t.s->pickedLetter()->text().isEmpty());
    QCOMPARE(slotsClickable(), 0);
    t.click(h);
    QCOMPARE(slotsClickable(), 3);
    QVERIFY(!ActivityScreen::isClickable(t.s->slot(2)));
    // A click on an empty tile drops the letter.
    t.click(u);
    QVERIFY(t.s->selectedLetter().isEmpty());
    QVERIFY(t.s->pickedLetter()->text().isEmpty());
    QVERIFY(!red(h));
    QCOMPARE(slotsClickable(), 0);
    QCOMPARE(t.host.log->requested(), QStringList{"prav"});
}

void TestVislice::wrongSlotKeepsTheLetterAndCountsEachTry()
{
    Screen t(Choice::Harder);
    t.play(QStringLiteral("Krt"));
    QLabel *r = t.tileWith(QStringLiteral("R"));
    t.click(r);
    t.click(t.s->slot(1));
    t.click(t.s->slot(3));
    t.click(t.s->slot(1));
    QCOMPARE(t.s->wrongCount(), 3);
    QCOMPARE(t.s->findChild<QLabel *>("lNepravilno")->text(), QStringLiteral("3"));
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.s->selectedLetter(), QStringLiteral("R"));
    QCOMPARE(t.s->pickedLetter()->text(), QStringLiteral("R"));
    QVERIFY(red(r));
    QCOMPARE(t.s->slot(1)->text(), QStringLiteral("_"));
    t.click(t.s->slot(2));
    QCOMPARE(t.s->slot(2)->text(), QStringLiteral("R"));
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.host.log->requested(), (QStringList{"narobe", "narobe", "narobe", "prav"}));
}

void TestVislice::filledSlotOrNothingPickedDoesNothing()
{
    Screen t(Choice::Easier);
    t.play(QStringLiteral("Krt"));
    t.click(t.s->slot(2)); // nothing picked
    t.click(t.s->tile(8));
    t.click(t.s->slot(1)); // "K" stands there already
    t.click(t.s->slot(3));
    QCOMPARE(t.s->slot(1)->text(), QStringLiteral("K"));
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.s->wrongCount(), 0);
    QVERIFY(t.host.log->requested().isEmpty());
    QCOMPARE(t.s->selectedLetter(), QStringLiteral("R"));
    QVERIFY(!ActivityScreen::isClickable(t.s->slot(1)));
}

void TestVislice::pomocFillsLeftmostSlotWithoutCounting()
{
    Screen t(Choice::Harder);
    t.play(QStringLiteral("Kokos"));
    QCOMPARE(t.s->word(), QStringLiteral("KOKOŠ"));
    t.click(t.tileWith(QStringLiteral("O")));
    t.click(t.s->slot(4)); // the child places one O
    t.host.log->clear();
    const int right = t.s->rightCount();

    auto count = [&t](const QString &letter) {
        int n = 0;
        for (int j = 1; j <= TfVislice::kSlots; ++j)
            n += t.s->tile(j)->text() == letter;
        return n;
    };
    const int ks = count(QStringLiteral("K"));
    // The first tile (d1 … d10) with the letter goes.
    QLabel *firstK = t.tileWith(QStringLiteral("K"));
    t.command(Command::Pomoc);
    QCOMPARE(t.s->slot(1)->text(), QStringLiteral("K"));
    QVERIFY(firstK->text().isEmpty());
    QCOMPARE(count(QStringLiteral("K")), ks - 1);
    t.command(Command::Pomoc);
    QCOMPARE(t.s->slot(2)->text(), QStringLiteral("O"));
    t.command(Command::Pomoc);
    QCOMPARE(t.s->slot(3)->text(), QStringLiteral("K"));
    t.command(Command::Pomoc); // slot 4 is filled: slot 5 is next
    QCOMPARE(t.s->slot(5)->text(), QStringLiteral("Š"));
    QVERIFY(!t.s->wordOpen());
    QCOMPARE(t.s->lettersPlaced(), 5);
    QCOMPARE(t.s->rightCount(), right);
    QCOMPARE(t.s->wrongCount(), 0);
    QVERIFY(t.host.log->requested().isEmpty()); // no sound for help, nor for its last letter
    QVERIFY(t.naprejShown());
    QCOMPARE(t.s->solvedCount(), 1);

    // On a complete word help does nothing.
    const QString tiles = t.tilesInOrder(1, TfVislice::kSlots);
    QCOMPARE(tiles.size(), TfVislice::kSlots - 5); // one tile went for each letter
    t.command(Command::Pomoc);
    QCOMPARE(t.s->solvedCount(), 1);
    QCOMPARE(t.s->lettersPlaced(), 5);
    QCOMPARE(t.tilesInOrder(1, TfVislice::kSlots), tiles);
    QVERIFY(t.host.log->requested().isEmpty());
}

void TestVislice::pomocTakingThePickedTileDropsTheSelection()
{
    Screen t(Choice::Easier);
    t.play(QStringLiteral("Krt"));
    t.click(t.s->tile(8));
    QCOMPARE(t.s->selectedLetter(), QStringLiteral("R"));
    t.command(Command::Pomoc);
    QCOMPARE(t.s->slot(2)->text(), QStringLiteral("R"));
    QVERIFY(t.s->tile(8)->text().isEmpty());
    // The child no longer holds a letter whose tile is gone.
    QVERIFY(t.s->selectedLetter().isEmpty());
    QVERIFY(t.s->pickedLetter()->text().isEmpty());
    QVERIFY(!red(t.s->tile(8)));
}

void TestVislice::setEnding_data()
{
    QTest::addColumn<bool>("byHelp");
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("lastWaits");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("the child finishes") << false << "A9" << true << false;
    QTest::newRow("help finishes") << true << "konec" << false << false;
    QTest::newRow("the child finishes by keyboard alone") << false << "A9" << true << true;
}

void TestVislice::setEnding()
{
    QFETCH(bool, byHelp);
    QFETCH(bool, byKeyboard);
    const ByKeyboard mode(byKeyboard);
    Screen t(Choice::Harder);
    if (byKeyboard) {
        QVERIFY(showForKeyboard(t.s));
        t.host.log->clear();
    }
    for (int w = 1; w <= 2; ++w) {
        t.solveByHand();
        QVERIFY(t.naprejShown());
        QVERIFY(t.s->instructionLine()->text() != kPraise);
        t.command(Command::Naprej);
        QVERIFY(!t.naprejShown());
    }
    const QString word = t.s->pictureName();
    t.host.log->clear();
    if (byHelp)
        t.solveByHelp();
    else
        t.solveByHand();
    QCOMPARE(t.s->solvedCount(), 3);
    QVERIFY(t.s->setFinished());
    QVERIFY(!t.naprejShown());
    QCOMPARE(t.s->instructionLine()->text(), kPraise);
    QCOMPARE(kPraise, upperCp1250(QStringLiteral("Bravo, pravilno si sestavil besede!")));
    t.host.clock.runPending();
    const QStringList heard = t.host.log->requested();
    QTEST(heard.last(), "last");
    QTEST(t.host.log->entries().last().keepTrying, "lastWaits");
    QCOMPARE(heard.contains(word), !byHelp); // the word is said only when the child placed it
    QCOMPARE(heard.count(QStringLiteral("A9")) + heard.count(QStringLiteral("konec")), 1);
}

void TestVislice::ponoviKeepsNaprejAndStartsWithNothingPicked()
{
    Screen t(Choice::Harder);
    t.play(QStringLiteral("Mak"));
    t.click(t.tileWith(QStringLiteral("M")));
    t.click(t.s->slot(2)); // wrong
    t.solveByHand();
    QVERIFY(t.naprejShown());
    t.click(t.anyLetterTile()); // an extra tile still carries a letter: pick it
    QVERIFY(!t.s->selectedLetter().isEmpty());
    QCOMPARE(t.s->rightCount(), 3);
    QCOMPARE(t.s->wrongCount(), 1);

    t.command(Command::Ponovi);
    QVERIFY(t.naprejShown()); // left as it was
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.s->findChild<QLabel *>("lPravilno")->text(), QStringLiteral("0"));
    QCOMPARE(t.s->solvedCount(), 0);
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("UGANI BESEDO"));
    QVERIFY(t.s->selectedLetter().isEmpty());
    QVERIFY(t.s->pickedLetter()->text().isEmpty());
    for (int j = 1; j <= TfVislice::kSlots; ++j)
        QVERIFY(!red(t.s->tile(j)));
    QVERIFY(t.s->wordOpen());
    QCOMPARE(t.s->difficulty(), QStringLiteral("B")); // the chooser's answer is kept
    QCOMPARE(t.asked, 1);

    // NAPREJ too starts a word with nothing picked, and keeps the counts.
    t.click(t.tileWith(QString(t.s->word().at(0))));
    t.click(t.s->slot(1));
    t.click(t.anyLetterTile());
    t.command(Command::Naprej);
    QVERIFY(!t.naprejShown());
    QVERIFY(t.s->selectedLetter().isEmpty() && t.s->pickedLetter()->text().isEmpty());
    for (int j = 1; j <= TfVislice::kSlots; ++j)
        QVERIFY(!red(t.s->tile(j)));
    QCOMPARE(t.s->lettersPlaced(), 0);
    QCOMPARE(t.s->rightCount(), 1);
}

void TestVislice::noWordTwiceInASet()
{
    Screen t(Choice::Easier);
    for (quint32 seed = 1; seed <= 25; ++seed) {
        t.s->random().seed(seed);
        t.command(Command::Ponovi);
        QSet<QString> seen{t.s->pictureName()};
        for (int w = 2; w <= TfVislice::kSetLength; ++w) {
            t.solveByHelp();
            t.command(Command::Naprej);
            seen.insert(t.s->pictureName());
        }
        QCOMPARE(seen.size(), TfVislice::kSetLength);
    }
    // With every word used the flags start over instead of drawing for ever.
    for (int k = 1; k <= TfVislice::kWords; ++k)
        t.s->setUsed(k, true);
    t.s->NovaIgra();
    QVERIFY(t.s->wordOpen());
    QCOMPARE(std::count_if(t.s->words().begin(), t.s->words().end(),
                           [](const TfVislice::WordEntry &w) { return w.used; }),
             1);
}

void TestVislice::slotsCentredUnderThePicture_data()
{
    QTest::addColumn<QString>("picture");
    QTest::newRow("3 letters") << "Krt";
    QTest::newRow("4 letters") << "Muha";
    QTest::newRow("9 letters") << "Kresnicka";
    QTest::newRow("10 letters") << "Trobentica";
}

void TestVislice::slotsCentredUnderThePicture()
{
    QFETCH(QString, picture);
    Screen t(Choice::Easier);
    t.play(QStringLiteral("Paradiznik"));
    t.play(picture);
    const int n = int(t.s->word().size());
    const int width = t.s->slot(1)->width();
    int gap = -1;
    for (int i = 1; i <= n; ++i) {
        QLabel *l = t.s->slot(i);
        QVERIFY(l->isVisibleTo(t.s));
        if (i > 1) {
            const int g = l->x() - t.s->slot(i - 1)->x() - width;
            QVERIFY(g >= 0);
            QVERIFY(gap < 0 || g == gap); // evenly spaced
            gap = g;
        }
    }
    for (int i = n + 1; i <= TfVislice::kSlots; ++i)
        QVERIFY(!t.s->slot(i)->isVisibleTo(t.s));
    // The row's middle is the middle of the band from 35 to 400 (under the picture), to the
    // pixel the truncating division allows.
    const int left = t.s->slot(1)->x();
    const int right = t.s->slot(n)->geometry().right() + 1;
    QVERIFY2(qAbs((left + right) - (35 + 400)) <= 1,
             qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
    QVERIFY(left >= 0 && right <= t.s->picture()->geometry().right() + 40);
}

void TestVislice::onlyTheTitleSpeaksOnHoverAndThePictureOnClick()
{
    Screen t(Choice::Easier);
    t.play(QStringLiteral("Mak"));
    auto hoverOver = [&t](QWidget *w) {
        QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        QCoreApplication::sendEvent(w, &enter);
        t.s->hover().fireNow();
    };
    hoverOver(t.s->picture());
    hoverOver(t.s->tile(8));
    hoverOver(t.s->slot(1));
    QVERIFY(t.host.log->requested().isEmpty());
    hoverOver(t.s->instructionLine());
    QCOMPARE(t.host.log->requested(), QStringList{"A18"});
    t.host.log->clear();
    t.host.clock.advance(1000);
    t.click(t.s->picture());
    QCOMPARE(t.host.log->requested(), QStringList{"Mak"});
    QVERIFY(ActivityScreen::isClickable(t.s->picture()));
}

// ---- opening and the chooser's answers -----------------------------------------------------

void TestVislice::openingSpeaksTitleThenAsksOnce()
{
    TestHost host;
    writeSounds(host);
    auto *s = new TfVislice(host);
    QStringList heardWhenAsked;
    int asked = 0;
    s->setChooserRun([&](TfAaliB &) {
        ++asked;
        heardWhenAsked = host.log->requested();
        return Choice::Harder;
    });
    s->show();
    QTRY_VERIFY(s->wordOpen());
    QCOMPARE(heardWhenAsked, QStringList{"A18"});
    QVERIFY(host.log->entries().first().keepTrying);
    QCOMPARE(s->difficulty(), QStringLiteral("B"));
    // Coming back to the screen never asks again.
    s->hide();
    s->show();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(s, &activate);
    QCoreApplication::processEvents();
    QCOMPARE(asked, 1);
    delete s;
}

void TestVislice::zapriInTheChooserClosesTheScreen()
{
    TestHost host;
    writeSounds(host);
    TfAaliB chooserOfTheRun; // as made at start-up
    chooserOfTheRun.setCapitals(false);
    QPointer<TfVislice> s = new TfVislice(host);
    QCOMPARE(&s->chooser(), &chooserOfTheRun);
    s->show();
    // The screen's first turn of the loop runs the chooser modally; Zapri is clicked there.
    answerChooserWhenShown("BitBtn4");
    QTRY_VERIFY(s.isNull());
    QVERIFY(!chooserOfTheRun.isVisible());
    QVERIFY(!chooserOfTheRun.capitals()); // the run's option is untouched
}

void TestVislice::chooserClosedWithoutAChoiceLeavesAUsableScreen()
{
    Screen t(Choice::None);
    QCOMPARE(t.asked, 1);
    QVERIFY(t.s->difficulty().isEmpty());
    QCOMPARE(t.s->instructionLine()->text(), TfVislice::noChoiceText());
    // Nothing to do, and nothing breaks.
    for (int j = 1; j <= TfVislice::kSlots; ++j) {
        QVERIFY(t.s->tile(j)->text().isEmpty());
        QVERIFY(!t.s->slot(j)->isVisibleTo(t.s));
        t.click(t.s->tile(j));
    }
    t.command(Command::Pomoc);
    t.command(Command::Natisni);
    t.click(t.s->picture());
    t.s->NovaIgra(); // no variant: no word
    QVERIFY(!t.s->wordOpen());
    QVERIFY(!t.naprejShown());
    QVERIFY(t.host.log->requested().isEmpty());
    QCOMPARE(t.s->rightCount() + t.s->wrongCount(), 0);

    // PONOVI asks again; a choice starts the exercise.
    t.answer = Choice::Easier;
    t.command(Command::Ponovi);
    QCOMPARE(t.asked, 2);
    QCOMPARE(t.s->difficulty(), QStringLiteral("A"));
    QVERIFY(t.s->wordOpen());
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("UGANI BESEDO"));
    // From now on PONOVI starts a new exercise without asking.
    t.command(Command::Ponovi);
    QCOMPARE(t.asked, 2);
}

QTEST_MAIN(TestVislice)
#include "test_vislice.moc"
