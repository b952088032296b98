// SPDX-License-Identifier: GPL-3.0-or-later
// Mark correct sentences: the sets and their sound names, the shuffle, judging, help, reading
// aloud with the right button, the exercise of ten sets; and that the built sound pack speaks
// every sentence of both sentence screens.
#include "activities/sentences/tfoznacipovedi.h"
#include "media/hint.h"
#include "media/resourcepack.h"
#include "print/worksheets.h"
#include "sentences/sentencepacks.h"
#include "support/previewcatcher.h"
#include "support/keyboardplay.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QLabel>
#include <QSet>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

struct Screen {
    TestHost host;
    std::unique_ptr<TfOznaciPovedi> s;

    explicit Screen(quint32 seed = 11)
    {
        writeSentencePacks(host.packDir(), false);
        s = std::make_unique<TfOznaciPovedi>(host);
        s->random().seed(seed);
        s->Ponovi();
        host.log->clear();
    }
    QWidget *button(ActivityScreen::Command c) { return s->commandButton(c); }
    bool naprejShown() { return button(ActivityScreen::Command::Naprej)->isVisibleTo(s.get()); }
    int rightPlace()
    {
        for (int k = 1; k <= 4; ++k)
            if (s->sentenceLabel(k)->text() == s->pravilna())
                return k;
        return 0;
    }
    int wrongPlace() { return rightPlace() == 1 ? 2 : 1; }
    void click(int k) { choose(s->sentenceLabel(k)); }
    void rightClick(int k) { QTest::mousePress(s->sentenceLabel(k), Qt::RightButton); }
    QColor colour(int k) { return s->sentenceLabel(k)->palette().color(QPalette::WindowText); }
    bool marked(int k) { return !s->markOf(k)->pixmap().isNull(); }
    QColor markColour(int k) { return s->markOf(k)->pixmap().toImage().pixelColor(15, 15); }
};

const QColor kNavy(0, 0, 128);

} // namespace

class TestOznaciPovedi : public QObject {
    Q_OBJECT
private slots:
    void setsShareTheirBeginningAndCarryTheirSounds();
    void rightSentenceLandsOnEveryPlace();
    void wrongSentenceCountsOnEveryClick();
    void rightSentenceSolvesTheSet();
    void helpMarksTheRightSentenceWithoutCounting();
    void rightButtonReadsWhateverTheState();
    void tenSetsEndTheExercise_data();
    void tenSetsEndTheExercise();
    void builtSoundPackSpeaksEverySentence();
    void natisniShowsTheFixedSheetAndLeavesTheScreen();
};

void TestOznaciPovedi::setsShareTheirBeginningAndCarryTheirSounds()
{
    const auto &sets = TfOznaciPovedi::vgrajeneSkupine();
    QSet<QString> sounds;
    for (const auto &set : sets) {
        const QString first = set[0].besedilo.section(QLatin1Char(' '), 0, 1);
        for (const auto &p : set) {
            QVERIFY2(p.besedilo.startsWith(first), qPrintable(p.besedilo));
            QVERIFY(p.besedilo.endsWith(QLatin1Char('.')));
            QVERIFY(p.zvok.startsWith(QLatin1Char('C')));
            sounds.insert(p.zvok);
        }
    }
    // C1 … C81 once each, without C77.
    QSet<QString> expected;
    for (int n = 1; n <= 81; ++n)
        if (n != 77)
            expected.insert(QStringLiteral("C%1").arg(n));
    QCOMPARE(sounds, expected);
    // The right sentences whose sounds are out of order.
    QCOMPARE(sets[16][0].besedilo, QStringLiteral("Lastovka si spleta gnezdo."));
    QCOMPARE(sets[16][0].zvok, QStringLiteral("C66"));
    QCOMPARE(sets[17][0].besedilo, QStringLiteral("Ovca se hrani s travo."));
    QCOMPARE(sets[17][0].zvok, QStringLiteral("C72"));
    QCOMPARE(sets[19][0].besedilo, QStringLiteral("Kmet dela na kmetiji."));
    QCOMPARE(sets[19][0].zvok, QStringLiteral("C80"));
    QCOMPARE(sets[19][3].zvok, QStringLiteral("C81"));
}

void TestOznaciPovedi::rightSentenceLandsOnEveryPlace()
{
    Screen t(3);
    int onPlace[5] = {};
    const auto &sets = TfOznaciPovedi::vgrajeneSkupine();
    for (int draw = 0; draw < 400; ++draw) {
        if (draw % TfOznaciPovedi::kPerExercise == 0)
            t.s->Ponovi();
        else
            t.s->Naprej();
        ++onPlace[t.rightPlace()];
        // All four sentences of one set, each with its own sound.
        const auto *set = std::find_if(sets.begin(), sets.end(), [&](const auto &g) {
            return g[0].besedilo == t.s->pravilna();
        });
        QVERIFY(set != sets.end());
        QSet<QString> shown;
        for (int k = 1; k <= 4; ++k) {
            QLabel *l = t.s->sentenceLabel(k);
            shown.insert(l->text());
            const auto *p = std::find_if(set->begin(), set->end(),
                                         [&](const auto &q) { return q.besedilo == l->text(); });
            QVERIFY(p != set->end());
            QCOMPARE(hintOf(l), p->zvok);
        }
        QCOMPARE(shown.size(), 4);
    }
    QCOMPARE(onPlace[0], 0);
    for (int k = 1; k <= 4; ++k)
        QVERIFY2(onPlace[k] > 60, qPrintable(QStringLiteral("place %1: %2").arg(k).arg(onPlace[k])));
}

void TestOznaciPovedi::wrongSentenceCountsOnEveryClick()
{
    Screen t;
    const int w = t.wrongPlace();
    for (int i = 1; i <= 3; ++i)
        t.click(w);
    QCOMPARE(t.s->wrongCount(), 3);
    QCOMPARE(t.s->wrongLabel()->text(), QStringLiteral("3"));
    QCOMPARE(t.s->rightCount(), 0);
    QVERIFY(t.s->sentenceLabel(w)->font().strikeOut());
    QVERIFY(t.marked(w));
    QCOMPARE(t.markColour(w), QColor(Qt::red)); // the test host's wrong mark
    QVERIFY(ActivityScreen::isClickable(t.s->sentenceLabel(w)));
    QVERIFY(!t.s->solved());
    QVERIFY(!t.naprejShown());
    QCOMPARE(t.host.log->requested(), (QStringList{"narobe", "narobe", "narobe"}));
}

void TestOznaciPovedi::rightSentenceSolvesTheSet()
{
    Screen t;
    const int r = t.rightPlace();
    const int w = t.wrongPlace();
    t.click(r);
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.colour(r), QColor(Qt::red));
    QCOMPARE(t.markColour(r), QColor(Qt::green));
    QVERIFY(t.naprejShown());
    for (int k = 1; k <= 4; ++k)
        QVERIFY(!ActivityScreen::isClickable(t.s->sentenceLabel(k)));
    QCOMPARE(t.host.log->requested(), QStringList{hintOf(t.s->sentenceLabel(r))});
    // A solved set judges nothing more.
    t.click(w);
    t.click(r);
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->solvedCount(), 1);
    QVERIFY(!t.marked(w));
    // NAPREJ: a fresh set, marks and colours cleared.
    QTest::mouseClick(t.button(ActivityScreen::Command::Naprej), Qt::LeftButton);
    QVERIFY(!t.naprejShown());
    for (int k = 1; k <= 4; ++k) {
        QVERIFY(!t.marked(k));
        QCOMPARE(t.colour(k), kNavy);
        QVERIFY(!t.s->sentenceLabel(k)->font().strikeOut());
        QVERIFY(ActivityScreen::isClickable(t.s->sentenceLabel(k)));
    }
}

void TestOznaciPovedi::helpMarksTheRightSentenceWithoutCounting()
{
    Screen t;
    t.click(t.wrongPlace());
    t.host.log->clear();
    const int r = t.rightPlace();
    QTest::mouseClick(t.button(ActivityScreen::Command::Pomoc), Qt::LeftButton);
    QVERIFY(t.s->solved());
    QCOMPARE(t.colour(r), QColor(Qt::red));
    QVERIFY(t.marked(r));
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.s->solvedCount(), 1);
    QVERIFY(t.naprejShown());
    QCOMPARE(t.host.log->requested(), QStringList{hintOf(t.s->sentenceLabel(r))});
    // Help on a solved set does nothing.
    t.s->bPomocClick();
    QCOMPARE(t.s->solvedCount(), 1);
    QCOMPARE(t.host.log->requested().size(), 1);
}

void TestOznaciPovedi::rightButtonReadsWhateverTheState()
{
    Screen t;
    const int w = t.wrongPlace();
    t.rightClick(w);
    QCOMPARE(t.host.log->requested(), QStringList{hintOf(t.s->sentenceLabel(w))});
    QCOMPARE(t.s->wrongCount(), 0); // read, not judged
    QVERIFY(!t.marked(w));
    t.click(t.rightPlace());
    t.host.log->clear();
    t.host.clock.advance(5000);
    t.rightClick(w);
    QCOMPARE(t.host.log->requested(), QStringList{hintOf(t.s->sentenceLabel(w))});
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.s->rightCount(), 1);
}

// Played with the mouse and by keyboard alone.
void TestOznaciPovedi::tenSetsEndTheExercise_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestOznaciPovedi::tenSetsEndTheExercise()
{
    QFETCH(bool, byKeyboard);
    const ByKeyboard mode(byKeyboard);
    Screen t;
    if (byKeyboard) {
        QVERIFY(showForKeyboard(t.s.get()));
        t.host.log->clear();
    }
    QSet<QString> rightOnes;
    for (int i = 0; i < TfOznaciPovedi::kPerExercise; ++i) {
        if (i > 0)
            choose(t.button(ActivityScreen::Command::Naprej));
        rightOnes.insert(t.s->pravilna());
        t.click(t.rightPlace());
    }
    QCOMPARE(rightOnes.size(), 10); // no set twice in one exercise
    QCOMPARE(int(std::count(t.s->used().begin(), t.s->used().end(), true)), 10);
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QVERIFY(!t.naprejShown());
    t.host.clock.runPending();
    QCOMPARE(t.host.log->entries().last().name, QStringLiteral("A9"));
    QVERIFY(t.host.log->entries().last().keepTrying);
    // Clicks are ignored (by keyboard a solved sentence is no choice at all); a right click
    // still reads.
    QVERIFY(!KeyboardChoices::isChoice(t.s->sentenceLabel(t.wrongPlace())));
    g_byKeyboard = false;
    t.click(t.wrongPlace());
    QCOMPARE(t.s->wrongCount(), 0);
    t.host.clock.advance(10000);
    t.host.log->clear();
    t.rightClick(t.wrongPlace());
    QCOMPARE(t.host.log->requested().size(), 1);
    // PONOVI starts again from nothing.
    QTest::mouseClick(t.button(ActivityScreen::Command::Ponovi), Qt::LeftButton);
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("OZNAČI PRAVILNE POVEDI!"));
    QCOMPARE(t.s->rightLabel()->text(), QStringLiteral("0"));
    QCOMPARE(int(std::count(t.s->used().begin(), t.s->used().end(), true)), 1);
    QVERIFY(!t.s->solved());
}

void TestOznaciPovedi::builtSoundPackSpeaksEverySentence()
{
    const QString path = qEnvironmentVariable("TIPSOVO_BUILD_DIR") + QStringLiteral("/snd.ipo");
    const auto pack = ResourcePack::open(path);
    QVERIFY2(pack, qPrintable(path + QStringLiteral(" is not built")));
    QStringList missing;
    for (const QString &name : sentenceSoundNames() + QStringList{"A40", "A41", "A42", "A9", "narobe"})
        if (!pack->find(ResourceKind::Wave, name))
            missing << name;
    QCOMPARE(missing, QStringList());
}

// NATISNI: the same fixed sheet of eighty sentences whatever the screen shows, without the
// hourglass; the screen is as it was, and each press gives a worksheet of its own.
void TestOznaciPovedi::natisniShowsTheFixedSheetAndLeavesTheScreen()
{
    Screen t;
    t.click(t.wrongPlace());
    auto state = [&] {
        QStringList out{QString::number(t.s->rightCount()), QString::number(t.s->wrongCount())};
        for (int k = 1; k <= 4; ++k)
            out << t.s->sentenceLabel(k)->text() << t.colour(k).name()
                << QString::number(t.marked(k));
        return out;
    };
    const QStringList before = state();
    const QList<ShownPreview> shown = catchPreviews(
        [&] { qobject_cast<QAbstractButton *>(t.button(ActivityScreen::Command::Natisni))->click(); },
        2);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(state(), before);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    const Report fixed = TqrOznaciPovedi();
    auto texts = [](const Report &r) {
        QStringList out;
        for (const Report::Text *x : r.texts())
            out << x->text;
        return out;
    };
    for (const ShownPreview &p : shown) {
        QCOMPARE(p.title, QStringLiteral("TIPSOVO - Označi povedi"));
        QVERIFY(!p.busyCursor);
        QCOMPARE(texts(*p.report), texts(fixed));
    }
    QVERIFY(texts(fixed).contains(QStringLiteral("Kmet dela v živalskem vrtu.")));
}

QTEST_MAIN(TestOznaciPovedi)
#include "test_oznacipovedi.moc"
