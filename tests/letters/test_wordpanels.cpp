// SPDX-License-Identifier: GPL-3.0-or-later
// The four-word-panel screens: compose syllables (TfSestaviZloge) and swap wrong letters
// (TfZamenjajCrke).
#include "activities/common/lettercells.h"
#include "activities/letters/matchingscreen.h"
#include "activities/letters/tfsestavizloge.h"
#include "activities/letters/tfzamenjajcrke.h"
#include "media/hint.h"
#include "support/packbuilder.h"
#include "support/keyboardplay.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QSet>
#include <QtTest>
#include <algorithm>

using namespace tipsovo;
using namespace tipsovo::test;

enum class PictureState { Complete, OneMissing, PackMissing, PackMalformed };
Q_DECLARE_METATYPE(PictureState)

namespace {

const QColor kRed(Qt::red);
const QColor kBlack(Qt::black);

// Lines of a content list of the source tree (comments and blanks left out).
QStringList contentList(const QString &relative)
{
    QFile f(qEnvironmentVariable("TIPSOVO_SOURCE_DIR") + QStringLiteral("/content/") + relative);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString &l : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const QString t = l.trimmed();
        if (!t.isEmpty() && !t.startsWith(QLatin1Char('#')))
            lines.append(t.toUpper());
    }
    return lines;
}

// A screen over packs of its own: a picture for every name (as `state` says), the fixed
// sounds and every word sound. Seeded, first set started, sound log cleared.
template<typename S> struct Panels {
    TestHost host;
    std::unique_ptr<S> s;

    Panels(const QString &pack, const QStringList &names, quint32 seed = 1,
           PictureState state = PictureState::Complete)
    {
        QStringList sounds{"A35", "A36", "A9", "prav", "narobe"};
        sounds += names;
        writeTestSoundPack(host.packDir(), QStringLiteral("snd"), sounds, 200);
        if (state == PictureState::PackMalformed) {
            QFile f(host.packDir() + QLatin1Char('/') + pack + QStringLiteral(".ipo"));
            if (f.open(QIODevice::WriteOnly))
                f.write(QByteArray("MZ\x90\0garbage, not a resource library", 36));
        } else if (state != PictureState::PackMissing) {
            ResourcePackWriter pictures;
            for (int i = 0; i < names.size(); ++i)
                if (state != PictureState::OneMissing || i != 0)
                    pictures.add(ResourceKind::Bitmap, names.at(i),
                                 solidDib({24, 24}, QColor::fromHsv(i * 17 % 360, 200, 200)));
            writePack(host.packDir(), pack, pictures);
        }
        s = std::make_unique<S>(host);
        s->random().seed(seed);
        s->startFirstSet();
        host.log->clear();
    }

    QWidget *button(ActivityScreen::Command c) const { return s->commandButton(c); }
    bool naprejShown() const { return button(ActivityScreen::Command::Naprej)->isVisibleTo(s.get()); }
    void pomoc() const { choose(button(ActivityScreen::Command::Pomoc)); }
    void naprej() const { choose(button(ActivityScreen::Command::Naprej)); }
    void ponovi() const { choose(button(ActivityScreen::Command::Ponovi)); }
    void clickOffer(int j, int k) const { choose(s->offerCell(j, k)); }
    void clickLetter(int j, int k) const { choose(s->letterCell(j, k)); }
    bool shown(QWidget *w) const { return w->isVisibleTo(s.get()); }

    // The offer places of slot j that show `text`, in place order.
    QList<int> offersOf(int j, const QString &text) const
    {
        QList<int> at;
        for (int k = 1; k <= WordPanelsScreen::kOffers; ++k)
            if (shown(s->offerCell(j, k)) && s->offerCell(j, k)->text() == text)
                at.append(k);
        return at;
    }
    QStringList visibleOffers(int j) const
    {
        QStringList texts;
        for (int k = 1; k <= WordPanelsScreen::kOffers; ++k)
            if (shown(s->offerCell(j, k)))
                texts.append(s->offerCell(j, k)->text());
        return texts;
    }
    QString letters(int j) const
    {
        QString text;
        for (int k = 1; k <= WordPanelsScreen::kLetters; ++k)
            text += s->letterCell(j, k)->text().isEmpty() ? QStringLiteral("?")
                                                          : s->letterCell(j, k)->text();
        return text;
    }
    // Starts sets with new seeds until a slot holds the word `ime`; that slot, 0 if none.
    // The seed that dealt it stays in `foundSeed`.
    template<typename Ime> int findSlot(const QString &word, Ime imeOf)
    {
        for (quint32 seed = 1; seed < 500; ++seed) {
            s->random().seed(seed);
            s->Ponovi();
            for (int j = 1; j <= WordPanelsScreen::kSlots; ++j)
                if (imeOf(j) == word) {
                    host.log->clear();
                    foundSeed = seed;
                    return j;
                }
        }
        return 0;
    }
    quint32 foundSeed = 0;
};

// What a double-click brings: press, release, then Qt's double-click event for the second
// press, and its release.
void doubleClick(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton);
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, w->mapToGlobal(at), Qt::LeftButton,
                       Qt::LeftButton, {});
    QCoreApplication::sendEvent(w, &second);
    QTest::mouseRelease(w, Qt::LeftButton);
}

QStringList sestaviNames()
{
    QStringList names;
    for (const auto &w : TfSestaviZloge::wordTable())
        names.append(w.Ime);
    return names;
}

struct Sestavi : Panels<TfSestaviZloge> {
    using Screen = TfSestaviZloge;
    explicit Sestavi(quint32 seed = 1, PictureState state = PictureState::Complete)
        : Panels(QStringLiteral("sl4"), sestaviNames(), seed, state)
    {
    }
    QString ime(int j) const { return s->naloga(j).word.Ime; }
    int find(const QString &ime)
    {
        return findSlot(ime, [this](int j) { return this->ime(j); });
    }
    // Clicks the next syllable of slot j (the first place offering it).
    void clickNext(int j)
    {
        const QList<int> at = offersOf(j, s->naloga(j).next());
        QVERIFY2(!at.isEmpty(), qPrintable(s->naloga(j).next()));
        clickOffer(j, at.first());
    }
    void compose(int j)
    {
        while (!s->naloga(j).complete() && !QTest::currentTestFailed())
            clickNext(j);
    }
    void solveAll()
    {
        for (int j = 1; j <= WordPanelsScreen::kSlots; ++j)
            compose(j);
    }
    // A distractor of slot j that no syllable of the word equals; 0 if none.
    int distractorPlace(int j) const
    {
        const auto &z = s->naloga(j).word.Zlogi;
        for (int k = 1; k <= WordPanelsScreen::kOffers; ++k) {
            const QString t = s->offerCell(j, k)->text();
            if (shown(s->offerCell(j, k)) && !t.isEmpty() && std::find(z.begin(), z.end(), t) == z.end())
                return k;
        }
        return 0;
    }
};

QStringList nonEmpty(const std::array<QString, TfSestaviZloge::kParts> &parts)
{
    QStringList out;
    for (const QString &p : parts)
        if (!p.isEmpty())
            out.append(p);
    return out;
}

QStringList zamenjajNames()
{
    QStringList names;
    for (const auto &w : TfZamenjajCrke::wordTable())
        names.append(w.Ime);
    return names;
}

struct Zamenjaj : Panels<TfZamenjajCrke> {
    using Screen = TfZamenjajCrke;
    explicit Zamenjaj(quint32 seed = 1, PictureState state = PictureState::Complete)
        : Panels(QStringLiteral("sl5"), zamenjajNames(), seed, state)
    {
    }
    QString ime(int j) const { return s->naloga(j).Ime; }
    int find(const QString &ime)
    {
        return findSlot(ime, [this](int j) { return this->ime(j); });
    }
    // Marks place p of slot j and clicks the first place offering `letter`.
    void put(int j, int p, const QString &letter)
    {
        clickLetter(j, p);
        const QList<int> at = offersOf(j, letter);
        QVERIFY2(!at.isEmpty(), qPrintable(letter));
        clickOffer(j, at.first());
    }
    void solve(int j)
    {
        if (s->naloga(j).Mesto1)
            put(j, s->naloga(j).Mesto1, s->naloga(j).Crka1);
        if (s->naloga(j).Mesto2)
            put(j, s->naloga(j).Mesto2, s->naloga(j).Crka2);
    }
    void solveAll()
    {
        for (int j = 1; j <= WordPanelsScreen::kSlots; ++j)
            solve(j);
    }
    QString shown(int j) const { return letters(j).remove(QLatin1Char('?')); }
    using Panels::shown;
};

// Both screens with a picture pack that is missing, malformed, or lacks one picture: three
// exercises play through to "Bravo!", the pictures that exist show, every missing picture
// is one error box (none for a missing or malformed pack).
template<typename T> void playThroughBadPictures(PictureState state, bool errorBox)
{
    T t(1, state);
    const QString missing = T::Screen::wordTable().first().Ime;
    if (state == PictureState::OneMissing) {
        // Deal a set that gives the word whose picture is missing, afresh.
        QVERIFY(t.find(missing));
        t.s->random().seed(t.foundSeed);
        t.host.errors.clear();
        t.s->Ponovi();
    }
    int errors = 0;
    for (int e = 1; e <= 3; ++e) {
        for (int j = 1; j <= 4; ++j) {
            const QString ime = t.ime(j);
            const bool has = state == PictureState::OneMissing && ime != missing;
            QCOMPARE(!t.s->picture(j)->pixmap().isNull(), has);
            QCOMPARE(hintOf(t.s->picture(j)), ime);
            errors += ime == missing ? 1 : 0;
        }
        t.solveAll();
        if (e < 3)
            t.naprej();
    }
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QCOMPARE(t.host.errors.size(), errorBox ? errors : 0);
    QVERIFY(!errorBox || errors == 1);
}

void addBadPictureRows()
{
    QTest::addColumn<PictureState>("state");
    QTest::addColumn<bool>("errorBox");
    QTest::newRow("pack missing") << PictureState::PackMissing << false;
    QTest::newRow("pack malformed") << PictureState::PackMalformed << false;
    QTest::newRow("one picture missing") << PictureState::OneMissing << true;
}

} // namespace

class TestWordPanels : public QObject {
    Q_OBJECT
private slots:
    void sestaviTableSpellsEveryWordAndMatchesTheContentLists();
    void sestaviLayoutNumbersEveryCell();
    void sestaviExerciseOffersEachSyllableAndDistractorOnce_data();
    void sestaviExerciseOffersEachSyllableAndDistractorOnce();
    void sestaviBananaTakesEitherNaForBothPlaces();
    void sestaviSingleSyllableWordIsDoneInOneClick_data();
    void sestaviSingleSyllableWordIsDoneInOneClick();
    void sestaviPikapolonicaFillsAllTwelvePlaces();
    void sestaviLaterSyllableIsRedUncountedDistractorCountsEveryClick();
    void sestaviHelpRevealsWithoutCountingAndEndsTheExercise();
    void sestaviTwelveWordsEndInBravoAndPonoviStartsAgain_data();
    void sestaviTwelveWordsEndInBravoAndPonoviStartsAgain();
    void sestaviSetFinishedByHelpPraisesWithoutWaiting();
    void sestaviPictureSpeaksItsWordUntilTheWordIsDone();
    void doubleClickCountsOnce();
    void sestaviFastHelpRevealsASyllableForEveryPress();
    void offersKeepApartByTheLeastShift_data();
    void offersKeepApartByTheLeastShift();
    void everyCardOfBothTablesKeepsItsOffersApart();
    void sestaviBadPicturePacks_data();
    void sestaviBadPicturePacks();

    void zamenjajTableCorrectsToTheRightWordsAndMatchesTheContentLists();
    void zamenjajLayoutAndCommandRow();
    void zamenjajOfferHoldsEachRightLetterOncePerPlace_data();
    void zamenjajOfferHoldsEachRightLetterOncePerPlace();
    void zamenjajGrtaceaEitherKFillsTheMarkedPlace();
    void zamenjajWordClicksAndWrongOffersCount();
    void zamenjajHelpFillsTheFirstWrongPlaceUnmarked();
    void zamenjajThreeExercisesEndInBravoAndPonoviStartsAgain_data();
    void zamenjajThreeExercisesEndInBravoAndPonoviStartsAgain();
    void zamenjajBadPicturePacks_data();
    void zamenjajBadPicturePacks();
};

void TestWordPanels::sestaviTableSpellsEveryWordAndMatchesTheContentLists()
{
    const auto table = TfSestaviZloge::wordTable();
    QCOMPARE(table.size(), TfSestaviZloge::kWords);
    QSet<QString> names;
    for (const auto &w : table) {
        QCOMPARE(w.Ime, wordResourceName(w.Beseda));
        QCOMPARE(nonEmpty(w.Zlogi).join(QString()), w.Beseda); // the syllables spell the word
        QVERIFY2(w.Beseda.size() <= WordPanelsScreen::kLetters, qPrintable(w.Beseda));
        QVERIFY2(nonEmpty(w.Zlogi).size() + nonEmpty(w.Odvec).size() <= TfSestaviZloge::kParts,
                 qPrintable(w.Beseda));
        QVERIFY(!w.Uporabljena);
        names.insert(w.Ime);
    }
    QCOMPARE(names.size(), table.size());
    // The pack and sound checks of the content build look for exactly these names.
    const QStringList pictures = contentList(QStringLiteral("required-pictures/sl4.txt"));
    QCOMPARE(QSet<QString>(pictures.begin(), pictures.end()), names);
    const QStringList sounds = contentList(QStringLiteral("required-word-sounds.txt"));
    for (const QString &n : names)
        QVERIFY2(sounds.contains(n), qPrintable(n));
}

void TestWordPanels::sestaviLayoutNumbersEveryCell()
{
    Sestavi t;
    QCOMPARE(t.s->objectName(), QStringLiteral("TfSestaviZloge"));
    QCOMPARE(t.s->windowTitle(), QStringLiteral("Šesta igra"));
    QCOMPARE(hintOf(t.s->instructionLine()), QStringLiteral("A35"));
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("IZ ZLOGOV SESTAVI BESEDE !"));
    QCOMPARE(t.s->instructionLine()->geometry(), QRect(14, 14, 800 - 28, 41));
    QVERIFY(!t.s->wallpaper().isNull());

    LetterCells cells(t.s.get()); // a fresh index: the numbering itself is under test
    QCOMPARE(cells.count(), 4 * (12 + 15));
    const QPoint panels[4] = {{36, 66}, {408, 66}, {36, 298}, {408, 298}};
    for (int j = 1; j <= 4; ++j) {
        QCOMPARE(t.s->panel(j)->geometry(), QRect(panels[j - 1], QSize(350, 217)));
        QCOMPARE(t.s->picture(j)->geometry(), QRect(4, 15, 144, 144));
        for (int k = 1; k <= 12; ++k) {
            LetterCell *c = cells.cell(j * 1000 + k);
            QVERIFY(c);
            QCOMPARE(c->parentWidget(), t.s->picture(j)->parentWidget());
            QCOMPARE(c->y(), 176);
            QCOMPARE(c->font().pixelSize(), 19);
            QVERIFY(!c->isClickable());
        }
        for (int k = 1; k <= 15; ++k) {
            LetterCell *c = cells.cell(j * 1000 + 100 + k);
            QVERIFY(c);
            QCOMPARE(c->parentWidget(), t.s->panel(j));
            QCOMPARE(c->font().pixelSize(), 24);
            QVERIFY(c->isClickable());
            // Inside the panel, right of the picture, whatever its syllable.
            QVERIFY(c->x() >= 151 && c->geometry().right() < 350 && c->geometry().bottom() < 217);
        }
    }
    QCOMPARE(cells.cell(1101)->pos(), QPoint(162, 2));
    QCOMPARE(cells.cell(4115)->pos(), QPoint(246, 103));
    // A worksheet finds the same cells, in the order they were made, and the four pictures.
    const auto sheet = t.s->sheet();
    QCOMPARE(sheet.cells.size(), 108);
    QCOMPARE(sheet.cells.first()->tag(), 1001);
    QCOMPARE(sheet.cells.at(12)->tag(), 1101);
    QCOMPARE(sheet.cells.last()->tag(), 4115);
    QCOMPARE(sheet.caption, t.s->instructionLine()->text());
    for (const QImage &p : sheet.pictures)
        QVERIFY(!p.isNull());
}

void TestWordPanels::sestaviExerciseOffersEachSyllableAndDistractorOnce_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 99u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestWordPanels::sestaviExerciseOffersEachSyllableAndDistractorOnce()
{
    QFETCH(quint32, seed);
    Sestavi t(seed);
    QSet<QString> words;
    for (int j = 1; j <= 4; ++j) {
        const auto &n = t.s->naloga(j);
        words.insert(n.word.Ime);
        QStringList expected = nonEmpty(n.word.Zlogi) + nonEmpty(n.word.Odvec);
        QStringList offered = t.visibleOffers(j);
        std::sort(expected.begin(), expected.end());
        std::sort(offered.begin(), offered.end());
        QCOMPARE(offered, expected);
        QCOMPARE(t.letters(j), QString(12, QLatin1Char('_')));
        QCOMPARE(hintOf(t.s->picture(j)), n.word.Ime);
        QVERIFY(!t.s->picture(j)->pixmap().isNull());
        QVERIFY(t.s->panel(j)->isEnabled());
    }
    QCOMPARE(words.size(), 4);
    QVERIFY(t.host.errors.isEmpty());
}

void TestWordPanels::sestaviBananaTakesEitherNaForBothPlaces()
{
    Sestavi t;
    const int j = t.find(QStringLiteral("BANANA"));
    QVERIFY(j);
    const QList<int> na = t.offersOf(j, QStringLiteral("NA"));
    QCOMPARE(na.size(), 2);
    // NA before BA: a syllable of the word, not yet its turn.
    t.clickOffer(j, na.last());
    QCOMPARE(t.s->offerCell(j, na.last())->textColor(), kRed);
    QCOMPARE(t.s->wrongCount(), 0);
    t.clickOffer(j, t.offersOf(j, QStringLiteral("BA")).first());
    // The red one is now right, and then the other one for the last place.
    t.clickOffer(j, na.last());
    QCOMPARE(t.letters(j), QStringLiteral("BANA________"));
    QVERIFY(!t.shown(t.s->offerCell(j, na.last())));
    t.clickOffer(j, na.first());
    QVERIFY(t.s->naloga(j).complete());
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.host.log->requested(), (QStringList{"narobe", "BANANA"}));
    // Complete: blanks after the word, red letters, a panel that no longer reacts.
    QCOMPARE(t.s->naloga(j).display, QStringLiteral("BANANA      "));
    QCOMPARE(t.s->letterCell(j, 6)->textColor(), kRed);
    QVERIFY(!t.s->panel(j)->isEnabled());
    const int d = t.distractorPlace(j);
    t.clickOffer(j, d);
    QCOMPARE(t.s->wrongCount(), 0);
}

void TestWordPanels::sestaviSingleSyllableWordIsDoneInOneClick_data()
{
    QTest::addColumn<QString>("ime");
    QTest::addColumn<QString>("word");
    QTest::newRow("KOS") << "KOS" << "KOS";
    QTest::newRow("DEŽ") << "DEZ" << "DEŽ";
}

void TestWordPanels::sestaviSingleSyllableWordIsDoneInOneClick()
{
    QFETCH(QString, ime);
    QFETCH(QString, word);
    Sestavi t;
    const int j = t.find(ime);
    QVERIFY(j);
    QCOMPARE(t.visibleOffers(j).size(), 10); // the syllable and nine distractors
    t.clickOffer(j, t.offersOf(j, word).first());
    QVERIFY(t.s->naloga(j).complete());
    QCOMPARE(t.s->naloga(j).display, word + QString(12 - word.size(), QLatin1Char(' ')));
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->sestavljenih(), 1);
    QCOMPARE(t.host.log->requested(), QStringList{ime});
    QVERIFY(!t.naprejShown());
}

void TestWordPanels::sestaviPikapolonicaFillsAllTwelvePlaces()
{
    Sestavi t;
    const int j = t.find(QStringLiteral("PIKAPOLONICA"));
    QVERIFY(j);
    t.compose(j);
    QCOMPARE(t.letters(j), QStringLiteral("PIKAPOLONICA"));
    for (int k = 1; k <= 12; ++k)
        QCOMPARE(t.s->letterCell(j, k)->textColor(), kRed);
    // Its six syllables are gone; the four distractors remain.
    QCOMPARE(t.visibleOffers(j).size(), 4);
}

void TestWordPanels::sestaviLaterSyllableIsRedUncountedDistractorCountsEveryClick()
{
    Sestavi t(5);
    const int j = 2;
    const auto &n = t.s->naloga(j);
    const QStringList zlogi = nonEmpty(n.word.Zlogi);
    if (zlogi.size() >= 2) {
        const int later = t.offersOf(j, zlogi.last()).first();
        t.clickOffer(j, later);
        QCOMPARE(t.s->offerCell(j, later)->textColor(), kRed);
        QVERIFY(!t.s->offerCell(j, later)->font().strikeOut());
        QCOMPARE(t.s->wrongCount(), 0);
    }
    const int d = t.distractorPlace(j);
    QVERIFY(d);
    for (int i = 1; i <= 3; ++i)
        t.clickOffer(j, d);
    QVERIFY(t.s->offerCell(j, d)->font().strikeOut());
    QCOMPARE(t.s->offerCell(j, d)->textColor(), kBlack);
    QCOMPARE(t.s->wrongCount(), 3);
    QCOMPARE(t.s->wrongLabel()->text(), QStringLiteral("3"));
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.letters(j), QString(12, QLatin1Char('_')));
    QCOMPARE(t.host.log->requested().count(QStringLiteral("narobe")),
             zlogi.size() >= 2 ? 4 : 3);
    // The next exercise starts clean: no strike-out, no red, every place black.
    t.solveAll();
    t.naprej();
    for (int k = 1; k <= 15; ++k) {
        QVERIFY(!t.s->offerCell(j, k)->font().strikeOut());
        QCOMPARE(t.s->offerCell(j, k)->textColor(), kBlack);
    }
    QCOMPARE(t.s->wrongCount(), 3); // the counters run over the set
}

void TestWordPanels::sestaviHelpRevealsWithoutCountingAndEndsTheExercise()
{
    Sestavi t(4);
    const auto first = t.s->naloga(1);
    const QStringList zlogi = nonEmpty(first.word.Zlogi);
    const QStringList before = t.visibleOffers(1);
    t.pomoc();
    QCOMPARE(t.s->naloga(1).display.left(zlogi.first().size()), zlogi.first());
    QCOMPARE(t.visibleOffers(1), before); // the offered label stays
    QCOMPARE(t.s->rightCount() + t.s->wrongCount(), 0);
    // Help goes on with the next syllable of the first open word, then the next word.
    for (int i = 1; i < zlogi.size(); ++i)
        t.pomoc();
    QVERIFY(t.s->naloga(1).complete());
    QCOMPARE(t.letters(1).left(first.word.Beseda.size()), first.word.Beseda);
    QCOMPARE(t.s->letterCell(1, 1)->textColor(), kRed);
    QVERIFY(!t.s->panel(1)->isEnabled());
    QCOMPARE(t.s->sestavljenih(), 1);
    QVERIFY(t.s->panel(2)->isEnabled());
    // The child composes word 2; help then goes on with word 3, the first open one.
    t.compose(2);
    QCOMPARE(t.s->rightCount(), 1);
    t.pomoc();
    QVERIFY(!t.s->naloga(3).display.startsWith(QLatin1Char('_')));
    QVERIFY(t.s->naloga(4).display.startsWith(QLatin1Char('_')));
    while (!t.s->koncano())
        t.pomoc();
    QCOMPARE(t.s->sestavljenih(), 4);
    QVERIFY(t.naprejShown());
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.host.log->requested(), QStringList{t.s->naloga(2).word.Ime}); // help is silent
    // Nothing is left to help with.
    const QString shown = t.letters(4);
    t.pomoc();
    QCOMPARE(t.letters(4), shown);
    QCOMPARE(t.s->sestavljenih(), 4);
}

// Played with the mouse and by keyboard alone.
void TestWordPanels::sestaviTwelveWordsEndInBravoAndPonoviStartsAgain_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestWordPanels::sestaviTwelveWordsEndInBravoAndPonoviStartsAgain()
{
    QFETCH(bool, byKeyboard);
    const ByKeyboard mode(byKeyboard);
    Sestavi t(8);
    if (byKeyboard) {
        QVERIFY(showForKeyboard(t.s.get()));
        t.host.log->clear();
    }
    QSet<QString> given;
    for (int e = 1; e <= 3; ++e) {
        for (int j = 1; j <= 4; ++j) {
            given.insert(t.s->naloga(j).word.Ime);
            QVERIFY(!t.naprejShown());
            t.compose(j);
        }
        if (e < 3) {
            QVERIFY(t.naprejShown());
            QCOMPARE(t.s->sestavljenih(), 4 * e);
            t.naprej();
            QVERIFY(!t.naprejShown());
        }
    }
    QCOMPARE(given.size(), 12); // no word twice in a set
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QVERIFY(!t.naprejShown());
    QCOMPARE(t.s->sestavljenih(), 0);
    QCOMPARE(t.s->rightCount(), 12);
    t.host.clock.runPending();
    // The praise waits for the last word's sound.
    const auto &log = t.host.log->entries();
    QCOMPARE(log.last().name, QStringLiteral("A9"));
    QVERIFY(log.last().keepTrying);
    QCOMPARE(log.at(log.size() - 2).name, t.s->naloga(4).word.Ime);

    t.ponovi();
    QCOMPARE(t.s->instructionLine()->text(), TfSestaviZloge::instruction());
    QCOMPARE(t.s->rightLabel()->text(), QStringLiteral("0"));
    QCOMPARE(t.s->wrongLabel()->text(), QStringLiteral("0"));
    int used = 0;
    for (const auto &w : t.s->words())
        used += w.Uporabljena ? 1 : 0;
    QCOMPARE(used, 4); // all twenty free again, four dealt
    QCOMPARE(t.letters(1), QString(12, QLatin1Char('_')));
}

void TestWordPanels::sestaviSetFinishedByHelpPraisesWithoutWaiting()
{
    Sestavi t(6);
    for (int e = 1; e <= 3; ++e) {
        while (!t.s->koncano())
            t.pomoc();
        if (e < 3)
            t.naprej();
    }
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.host.log->entries().size(), 1);
    QCOMPARE(t.host.log->entries().first().name, QStringLiteral("A9"));
    QVERIFY(!t.host.log->entries().first().keepTrying);
    QVERIFY(!t.naprejShown());
}

void TestWordPanels::sestaviPictureSpeaksItsWordUntilTheWordIsDone()
{
    Sestavi t(3);
    const QString ime = t.s->naloga(3).word.Ime;
    QTest::mousePress(t.s->picture(3), Qt::LeftButton);
    QTest::mousePress(t.s->picture(3), Qt::RightButton);
    QCOMPARE(t.host.log->requested(), QStringList{ime});
    QVERIFY(t.s->picture(3)->property("HoverSilent").toBool());
    t.compose(3);
    t.host.log->clear();
    QTest::mousePress(t.s->picture(3), Qt::LeftButton);
    QVERIFY(t.host.log->requested().isEmpty());
}

void TestWordPanels::doubleClickCountsOnce()
{
    // A distractor double-clicked is one wrong answer, a right letter of the word too.
    Sestavi t(2);
    const int d = t.distractorPlace(1);
    QVERIFY(d);
    doubleClick(t.s->offerCell(1, d));
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.host.log->requested(), QStringList{"narobe"});
    // A picture double-clicked asks for its word once.
    t.host.log->clear();
    doubleClick(t.s->picture(2));
    QCOMPARE(t.host.log->requested(), QStringList{t.ime(2)});

    Zamenjaj z(2);
    const auto &n = z.s->naloga(1);
    doubleClick(z.s->letterCell(1, n.Mesto1 == 1 ? 2 : 1));
    QCOMPARE(z.s->wrongCount(), 1);
}

void TestWordPanels::sestaviFastHelpRevealsASyllableForEveryPress()
{
    Sestavi t;
    int syllables = 0;
    for (int j = 1; j <= 4; ++j)
        syllables += int(nonEmpty(t.s->naloga(j).word.Zlogi).size());
    auto revealed = [&] {
        int n = 0;
        for (int j = 1; j <= 4; ++j)
            n += int(nonEmpty(t.s->naloga(j).word.Zlogi).size() - nonEmpty(t.s->naloga(j).Manjka).size());
        return n;
    };
    // 22 presses a quarter of a second apart (every second one is Qt's double-click), or as
    // many as the exercise has syllables.
    QWidget *pomoc = t.button(ActivityScreen::Command::Pomoc);
    const int presses = 2 * qMin(11, syllables / 2);
    for (int i = 0; i < presses / 2; ++i)
        doubleClick(pomoc);
    QCOMPARE(revealed(), presses);
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.s->wrongCount(), 0);
}

// An offer of width w at (x, y) whose letters leave 2 pixels blank left and right, 3 above
// and 7 below, as capitals do in their cell.
WordPanelsScreen::OfferBox offerAt(int x, int y, int w)
{
    const QRect box(x, y, w, 28);
    return {box, box.adjusted(2, 3, -2, -7)};
}

void TestWordPanels::offersKeepApartByTheLeastShift_data()
{
    using Offers = QList<WordPanelsScreen::OfferBox>;
    using Shifts = QList<QPoint>;
    QTest::addColumn<Offers>("offers");
    QTest::addColumn<Shifts>("shifts");
    const auto znik = offerAt(169, 47, 62), pa = offerAt(227, 37, 34);
    QTest::newRow("apart offers stay") << Offers{znik, offerAt(260, 100, 34)} << Shifts{{}, {}};
    // The later one moves: PA up by 12 (right would be 14, left leaves the card).
    QTest::newRow("ŽNIK then PA") << Offers{znik, pa} << Shifts{{}, {0, -12}};
    QTest::newRow("PA then ŽNIK") << Offers{pa, znik} << Shifts{{}, {0, 12}};
    // One above the other the boxes may overlap while the letters keep 4 pixels apart.
    QTest::newRow("stacked") << Offers{znik, offerAt(169, 69, 62)} << Shifts{{}, {}};
    QTest::newRow("stacked a pixel closer") << Offers{znik, offerAt(169, 68, 62)} << Shifts{{}, {0, 1}};
    // Side by side the letters keep a space apart.
    QTest::newRow("side by side") << Offers{znik, offerAt(236, 47, 62)} << Shifts{{}, {5, 0}};
    // Out of the card on the right: back in, also the first one.
    QTest::newRow("sticking out") << Offers{offerAt(300, 10, 62)} << Shifts{{-12, 0}};
    // Clear of the first it would land on the second: it goes where it clears both.
    QTest::newRow("clears every earlier offer")
        << Offers{offerAt(200, 100, 40), offerAt(252, 100, 40), offerAt(205, 105, 40)}
        << Shifts{{}, {}, {0, 17}};
}

void TestWordPanels::offersKeepApartByTheLeastShift()
{
    QFETCH(QList<WordPanelsScreen::OfferBox>, offers);
    QFETCH(QList<QPoint>, shifts);
    QCOMPARE(WordPanelsScreen::keepOffersApart(offers, QRect(155, 0, 195, 217)), shifts);
}

// Every word of both tables in every slot, dealt with many shuffles: the shown offers of a
// card never touch, stay inside their panel beside the picture, and an offer whose own place
// is free lies there.
template<typename T> void checkEveryCard(T &t)
{
    QSet<QString> cards;
    int moved = 0;
    for (quint32 seed = 1; seed <= 150 && !QTest::currentTestFailed(); ++seed) {
        t.s->random().seed(seed);
        t.s->Ponovi();
        for (int j = 1; j <= WordPanelsScreen::kSlots; ++j) {
            cards.insert(QStringLiteral("%1 %2").arg(j).arg(t.ime(j)));
            const QRect bounds = t.s->offerBounds(j);
            QList<LetterCell *> before;
            for (int k = 1; k <= WordPanelsScreen::kOffers; ++k) {
                LetterCell *c = t.s->offerCell(j, k);
                if (!t.shown(c) || c->text().isEmpty())
                    continue;
                const QString at = QStringLiteral("seed %1 slot %2 place %3 '%4'")
                                       .arg(seed).arg(j).arg(k).arg(c->text());
                QVERIFY2(bounds.contains(c->geometry()), qPrintable(at));
                const WordPanelsScreen::OfferBox mine = WordPanelsScreen::offerBox(c);
                QVERIFY2(c->geometry().contains(mine.ink), qPrintable(at));
                const QPoint shift = c->pos() - t.s->offerPlace(j, k);
                bool ownFree = bounds.contains(mine.box.translated(-shift));
                for (LetterCell *b : before) {
                    const QRect other = WordPanelsScreen::offerBox(b).ink;
                    QVERIFY2(WordPanelsScreen::offersClear(other, mine.ink),
                             qPrintable(at + QStringLiteral(" touches '") + b->text() + "'"));
                    ownFree = ownFree && WordPanelsScreen::offersClear(other, mine.ink.translated(-shift));
                }
                if (ownFree)
                    QVERIFY2(shift.isNull(), qPrintable(at));
                moved += !shift.isNull();
                before.append(c);
            }
        }
    }
    QCOMPARE(cards.size(), WordPanelsScreen::kSlots * int(T::Screen::wordTable().size()));
    qInfo("%d offers moved clear", moved);
}

void TestWordPanels::everyCardOfBothTablesKeepsItsOffersApart()
{
    Sestavi sestavi;
    checkEveryCard(sestavi);
    Zamenjaj zamenjaj;
    checkEveryCard(zamenjaj);
}

void TestWordPanels::sestaviBadPicturePacks_data() { addBadPictureRows(); }

void TestWordPanels::sestaviBadPicturePacks()
{
    QFETCH(PictureState, state);
    QFETCH(bool, errorBox);
    playThroughBadPictures<Sestavi>(state, errorBox);
}


void TestWordPanels::zamenjajTableCorrectsToTheRightWordsAndMatchesTheContentLists()
{
    const auto table = TfZamenjajCrke::wordTable();
    QCOMPARE(table.size(), TfZamenjajCrke::kWords);
    const QString abc = TfZamenjajCrke::CrkeAbecede();
    QCOMPARE(abc.size(), 25);
    QSet<QString> names;
    for (const auto &w : table) {
        const QString why = w.Napacna;
        QVERIFY2(w.Napacna.size() <= WordPanelsScreen::kLetters, qPrintable(why));
        QCOMPARE(wordResourceName(w.corrected()), w.Ime);
        // Every marked place really is wrong, and the letters to put there are the alphabet's.
        QVERIFY2(w.Mesto1 >= 1 && w.Mesto1 <= w.Napacna.size(), qPrintable(why));
        QVERIFY2(w.Napacna.mid(w.Mesto1 - 1, 1) != w.Crka1, qPrintable(why));
        QVERIFY2(abc.contains(w.Crka1) && w.Crka1.size() == 1, qPrintable(why));
        QCOMPARE(w.Crka2.isEmpty(), w.Mesto2 == 0);
        if (w.Mesto2) {
            QVERIFY2(w.Mesto2 > w.Mesto1 && w.Mesto2 <= w.Napacna.size(), qPrintable(why));
            QVERIFY2(w.Napacna.mid(w.Mesto2 - 1, 1) != w.Crka2, qPrintable(why));
            QVERIFY2(abc.contains(w.Crka2) && w.Crka2.size() == 1, qPrintable(why));
        }
        names.insert(w.Ime);
    }
    QCOMPARE(names.size(), table.size());
    QCOMPARE(table.at(5).corrected(), QStringLiteral("KRTAČKA"));
    const QStringList pictures = contentList(QStringLiteral("required-pictures/sl5.txt"));
    QCOMPARE(QSet<QString>(pictures.begin(), pictures.end()), names);
    const QStringList sounds = contentList(QStringLiteral("required-word-sounds.txt"));
    for (const QString &n : names)
        QVERIFY2(sounds.contains(n), qPrintable(n));
}

void TestWordPanels::zamenjajLayoutAndCommandRow()
{
    Zamenjaj t;
    QCOMPARE(t.s->objectName(), QStringLiteral("TfZamenjajCrke"));
    QCOMPARE(t.s->windowTitle(), QStringLiteral("Sedma igra"));
    QCOMPARE(hintOf(t.s->instructionLine()), QStringLiteral("A36"));
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("V BESEDAH ZAMENJAJ NAPAČNE ČRKE !"));
    QVERIFY(!t.s->wallpaper().isNull());
    QCOMPARE(t.s->commandButton(ActivityScreen::Command::Pomoc)->geometry(), QRect(329, 527, 100, 33));
    QCOMPARE(t.s->commandButton(ActivityScreen::Command::Konec)->geometry(), QRect(663, 527, 100, 33));
    QCOMPARE(t.s->commandButton(ActivityScreen::Command::Pomoc)->objectName(), QStringLiteral("bPomoc"));
    LetterCells cells(t.s.get());
    QCOMPARE(cells.count(), 108);
    for (int j = 1; j <= 4; ++j) {
        QCOMPARE(t.s->panel(j)->size(), QSize(356, 217));
        QCOMPARE(t.s->picture(j)->geometry(), QRect(4, 4, 165, 165));
        const QString word = t.s->naloga(j).Napacna;
        QCOMPARE(t.shown(j), word);
        // The hand over every letter of the word, none over the empty places after it.
        for (int k = 1; k <= 12; ++k)
            QCOMPARE(t.s->letterCell(j, k)->isClickable(), k <= word.size());
        for (int k = 1; k <= 15; ++k) {
            LetterCell *c = cells.cell(j * 1000 + 100 + k);
            QCOMPARE(c->font().pixelSize(), 27);
            QVERIFY(c->isClickable());
            QVERIFY(c->geometry().right() < 356 && c->geometry().bottom() < 217);
        }
    }
    QCOMPARE(cells.cell(2101)->pos(), QPoint(194, 127));
    QCOMPARE(t.s->sheet().cells.size(), 108);
    // A click on an empty place after the word is nothing.
    t.clickLetter(1, 12);
    QCOMPARE(t.s->wrongCount(), 0);
    QVERIFY(t.host.log->requested().isEmpty());
}

void TestWordPanels::zamenjajOfferHoldsEachRightLetterOncePerPlace_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 2u, 3u, 77u})
        QTest::addRow("seed %u", seed) << seed;
}

void TestWordPanels::zamenjajOfferHoldsEachRightLetterOncePerPlace()
{
    QFETCH(quint32, seed);
    Zamenjaj t(seed);
    QSet<QString> words;
    for (int j = 1; j <= 4; ++j) {
        const auto &n = t.s->naloga(j);
        words.insert(n.Ime);
        const QStringList offered = t.visibleOffers(j);
        QCOMPARE(offered.size(), 15);
        for (const QString &c : offered)
            QVERIFY(TfZamenjajCrke::CrkeAbecede().contains(c) && c.size() == 1);
        const int wanted1 = n.Crka2 == n.Crka1 ? 2 : 1;
        QCOMPARE(int(offered.count(n.Crka1)), wanted1);
        if (!n.Crka2.isEmpty())
            QCOMPARE(int(offered.count(n.Crka2)), n.Crka2 == n.Crka1 ? 2 : 1);
        QCOMPARE(hintOf(t.s->picture(j)), n.Ime);
    }
    QCOMPARE(words.size(), 4);
}

void TestWordPanels::zamenjajGrtaceaEitherKFillsTheMarkedPlace()
{
    Zamenjaj t;
    const int j = t.find(QStringLiteral("KRTACKA"));
    QVERIFY(j);
    const QList<int> ks = t.offersOf(j, QStringLiteral("K"));
    QCOMPARE(ks.size(), 2);
    t.clickLetter(j, 6);
    QCOMPARE(t.shown(j), QStringLiteral("GRTAČ_A"));
    QCOMPARE(t.host.log->requested(), QStringList{"prav"});
    t.clickOffer(j, ks.last()); // either K fills the one marked place
    QCOMPARE(t.shown(j), QStringLiteral("GRTAČKA"));
    QCOMPARE(t.s->rightCount(), 1);
    QVERIFY(!t.Panels::shown(t.s->offerCell(j, ks.last())));
    // The other K before its place is marked: red, "narobe", one wrong answer.
    t.clickOffer(j, ks.first());
    QCOMPARE(t.s->offerCell(j, ks.first())->textColor(), kRed);
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.host.log->requested().last(), QStringLiteral("narobe"));
    // Marked, the same red label places it and the word is done.
    t.clickLetter(j, 1);
    t.host.log->clear();
    t.clickOffer(j, ks.first());
    QCOMPARE(t.shown(j), QStringLiteral("KRTAČKA"));
    QCOMPARE(t.s->rightCount(), 2);
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.host.log->requested(), QStringList{"KRTACKA"});
    QCOMPARE(t.s->letterCell(j, 1)->textColor(), kRed);
    QVERIFY(!t.s->panel(j)->isEnabled());
    QVERIFY(!t.s->letterCell(j, 2)->isClickable());
}

void TestWordPanels::zamenjajWordClicksAndWrongOffersCount()
{
    Zamenjaj t;
    const int j = t.find(QStringLiteral("SONCE"));
    QVERIFY(j);
    QCOMPARE(t.shown(j), QStringLiteral("SORCE"));
    t.clickLetter(j, 1); // a right letter: wrong answer
    QCOMPARE(t.s->wrongCount(), 1);
    t.clickLetter(j, 3);
    t.clickLetter(j, 3); // the gap again: "prav", nothing changes
    QCOMPARE(t.shown(j), QStringLiteral("SO_CE"));
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.host.log->requested(), (QStringList{"narobe", "prav", "prav"}));
    // A letter that is not the right one: struck out, counted on every click.
    int wrong = 0;
    for (int k = 1; k <= 15 && !wrong; ++k)
        if (t.s->offerCell(j, k)->text() != QStringLiteral("N"))
            wrong = k;
    t.clickOffer(j, wrong);
    t.clickOffer(j, wrong);
    QVERIFY(t.s->offerCell(j, wrong)->font().strikeOut());
    QCOMPARE(t.s->offerCell(j, wrong)->textColor(), kBlack);
    QCOMPARE(t.s->wrongCount(), 3);
    QCOMPARE(t.shown(j), QStringLiteral("SO_CE"));
    // One placement finishes a word with one wrong letter.
    t.clickOffer(j, t.offersOf(j, QStringLiteral("N")).first());
    QCOMPARE(t.shown(j), QStringLiteral("SONCE"));
    QVERIFY(!t.s->panel(j)->isEnabled());
    QCOMPARE(t.s->rightCount(), 1);
    // A letter the child has placed counts as wrong when clicked; here the panel is done,
    // so use another word for it.
    const int other = j % 4 + 1;
    const auto n = t.s->naloga(other);
    t.put(other, n.Mesto1, n.Crka1);
    const int before = t.s->wrongCount();
    t.clickLetter(other, n.Mesto1);
    QCOMPARE(t.s->wrongCount(), before + (n.Mesto2 ? 1 : 0));
}

void TestWordPanels::zamenjajHelpFillsTheFirstWrongPlaceUnmarked()
{
    Zamenjaj t;
    const int j = t.find(QStringLiteral("TULIPAN"));
    QVERIFY(j);
    for (int i = 1; i < j; ++i)
        t.solve(i);
    const int right = t.s->rightCount();
    t.host.log->clear();
    t.pomoc();
    QCOMPARE(t.shown(j), QStringLiteral("TULIPAM"));
    QCOMPARE(t.offersOf(j, QStringLiteral("P")).size(), 1); // its offered P stays
    QCOMPARE(t.s->letterCell(j, 5)->textColor(), kBlack);
    QVERIFY(t.host.log->requested().isEmpty());
    QCOMPARE(t.s->rightCount(), right);
    // The child finishes the word; every letter shown stays right.
    t.put(j, 7, QStringLiteral("N"));
    QCOMPARE(t.shown(j), QStringLiteral("TULIPAN"));
    QCOMPARE(t.s->rightCount(), right + 1);
    QVERIFY(!t.s->panel(j)->isEnabled());
    // Help solves the rest, then has nothing left to do.
    while (!t.s->koncano())
        t.pomoc();
    QVERIFY(t.naprejShown());
    QCOMPARE(t.s->resenih(), 1);
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(wordResourceName(t.shown(i)), t.s->naloga(i).Ime);
        QVERIFY(!t.s->panel(i)->isEnabled());
    }
    t.pomoc();
    QCOMPARE(t.s->resenih(), 1);
}

// Played with the mouse and by keyboard alone.
void TestWordPanels::zamenjajThreeExercisesEndInBravoAndPonoviStartsAgain_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestWordPanels::zamenjajThreeExercisesEndInBravoAndPonoviStartsAgain()
{
    QFETCH(bool, byKeyboard);
    const ByKeyboard mode(byKeyboard);
    Zamenjaj t(12);
    if (byKeyboard) {
        QVERIFY(showForKeyboard(t.s.get()));
        t.host.log->clear();
    }
    QSet<QString> given;
    int letters = 0;
    for (int e = 1; e <= 3; ++e) {
        for (int j = 1; j <= 4; ++j) {
            given.insert(t.s->naloga(j).Ime);
            letters += t.s->naloga(j).Mesto2 ? 2 : 1;
        }
        QVERIFY(!t.naprejShown());
        t.solveAll();
        if (e < 3) {
            QVERIFY(t.naprejShown());
            t.naprej();
        }
    }
    QCOMPARE(given.size(), 12);
    QCOMPARE(t.s->rightCount(), letters);
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QVERIFY(!t.naprejShown());
    QCOMPARE(t.s->resenih(), 0);
    t.host.clock.runPending();
    const auto &log = t.host.log->entries();
    QCOMPARE(log.last().name, QStringLiteral("A9"));
    QVERIFY(log.last().keepTrying);
    QCOMPARE(log.at(log.size() - 2).name, t.s->naloga(4).Ime);

    t.ponovi();
    QCOMPARE(t.s->instructionLine()->text(), TfZamenjajCrke::instruction());
    QCOMPARE(t.s->rightLabel()->text(), QStringLiteral("0"));
    int used = 0;
    for (const auto &w : t.s->words())
        used += w.Uporabljena ? 1 : 0;
    QCOMPARE(used, 4);
    QVERIFY(t.s->panel(1)->isEnabled());
}

void TestWordPanels::zamenjajBadPicturePacks_data() { addBadPictureRows(); }

void TestWordPanels::zamenjajBadPicturePacks()
{
    QFETCH(PictureState, state);
    QFETCH(bool, errorBox);
    playThroughBadPictures<Zamenjaj>(state, errorBox);
}

QTEST_MAIN(TestWordPanels)
#include "test_wordpanels.moc"
