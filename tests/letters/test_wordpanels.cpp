// SPDX-License-Identifier: GPL-3.0-or-later
// The four-word-panel screens: compose syllables (TfSestaviZloge).
#include "activities/common/controls.h"
#include "activities/common/lettercells.h"
#include "activities/letters/matchingscreen.h"
#include "activities/letters/tfsestavizloge.h"
#include "media/hint.h"
#include "support/packbuilder.h"
#include "support/testhost.h"

#include <QFile>
#include <QFrame>
#include <QLabel>
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
    void pomoc() const { QTest::mouseClick(button(ActivityScreen::Command::Pomoc), Qt::LeftButton); }
    void naprej() const { QTest::mouseClick(button(ActivityScreen::Command::Naprej), Qt::LeftButton); }
    void ponovi() const { QTest::mouseClick(button(ActivityScreen::Command::Ponovi), Qt::LeftButton); }
    void clickOffer(int j, int k) const { QTest::mouseClick(s->offerCell(j, k), Qt::LeftButton); }
    void clickLetter(int j, int k) const { QTest::mouseClick(s->letterCell(j, k), Qt::LeftButton); }
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

QStringList sestaviNames()
{
    QStringList names;
    for (const auto &w : TfSestaviZloge::wordTable())
        names.append(w.Ime);
    return names;
}

struct Sestavi : Panels<TfSestaviZloge> {
    explicit Sestavi(quint32 seed = 1, PictureState state = PictureState::Complete)
        : Panels(QStringLiteral("sl4"), sestaviNames(), seed, state)
    {
    }
    int find(const QString &ime)
    {
        return findSlot(ime, [this](int j) { return s->naloga(j).word.Ime; });
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
    void composeAll()
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
    void sestaviTwelveWordsEndInBravoAndPonoviStartsAgain();
    void sestaviSetFinishedByHelpPraisesWithoutWaiting();
    void sestaviPictureSpeaksItsWordUntilTheWordIsDone();
    void sestaviBadPicturePacks_data();
    void sestaviBadPicturePacks();
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
    t.composeAll();
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

void TestWordPanels::sestaviTwelveWordsEndInBravoAndPonoviStartsAgain()
{
    Sestavi t(8);
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

void TestWordPanels::sestaviBadPicturePacks_data()
{
    QTest::addColumn<PictureState>("state");
    QTest::addColumn<bool>("errorBox");
    QTest::newRow("pack missing") << PictureState::PackMissing << false;
    QTest::newRow("pack malformed") << PictureState::PackMalformed << false;
    QTest::newRow("one picture missing") << PictureState::OneMissing << true;
}

void TestWordPanels::sestaviBadPicturePacks()
{
    QFETCH(PictureState, state);
    QFETCH(bool, errorBox);
    Sestavi t(1, state);
    const QString missing = TfSestaviZloge::wordTable().first().Ime;
    if (state == PictureState::OneMissing) {
        // Deal a set that gives the word whose picture is missing, afresh.
        QVERIFY(t.find(missing));
        t.s->random().seed(t.foundSeed);
        t.host.errors.clear();
        t.s->Ponovi();
    }
    // Play three exercises through: every word but the missing picture shows; the rest goes on.
    int errors = 0;
    for (int e = 1; e <= 3; ++e) {
        for (int j = 1; j <= 4; ++j) {
            const QString ime = t.s->naloga(j).word.Ime;
            const bool has = state == PictureState::OneMissing && ime != missing;
            QCOMPARE(!t.s->picture(j)->pixmap().isNull(), has);
            QCOMPARE(hintOf(t.s->picture(j)), ime);
            errors += ime == missing ? 1 : 0;
            t.compose(j);
        }
        if (e < 3)
            t.naprej();
    }
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QCOMPARE(t.host.errors.size(), errorBox ? errors : 0);
    QVERIFY(!errorBox || errors == 1);
}

QTEST_MAIN(TestWordPanels)
#include "test_wordpanels.moc"
