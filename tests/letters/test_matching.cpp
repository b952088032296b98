// SPDX-License-Identifier: GPL-3.0-or-later
// The words, syllables and letters screens, their numbered letter cells and their chooser.
#include "activities/common/lettercells.h"
#include "activities/letters/matchingscreen.h"
#include "activities/letters/tfbesede.h"
#include "activities/letters/tfcrke.h"
#include "activities/letters/tfmenibezlcr.h"
#include "activities/letters/tfzlogi.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "support/packbuilder.h"
#include "support/keyboardplay.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QFrame>
#include <QLabel>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

using Kind = MatchingScreen::Kind;
Q_DECLARE_METATYPE(MatchingScreen::Kind)

namespace {

const QColor kRed(Qt::red);
const QColor kBlack(Qt::black);

QList<MatchingScreen::Group> groupsOf(Kind kind)
{
    switch (kind) {
    case Kind::Words:
        return TfBesede::groups();
    case Kind::Syllables:
        return TfZlogi::groups();
    case Kind::Letters:
        return TfCrke::groups();
    }
    return {};
}

QString packOf(Kind kind)
{
    return kind == Kind::Words ? QStringLiteral("sl1A")
           : kind == Kind::Syllables ? QStringLiteral("sl1B")
                                     : QStringLiteral("sl1C");
}

// A screen of `kind` over packs of its own: every target's picture (but `missingPicture`) and
// the fixed sounds. The random source is seeded and the first set started.
struct Screen {
    TestHost host;
    std::unique_ptr<MatchingScreen> s;

    explicit Screen(Kind kind, quint32 seed = 1, const QString &missingPicture = {})
    {
        writeTestSoundPack(host.packDir(), QStringLiteral("snd"),
                           {"A26", "A27", "A28", "A9", "prav", "narobe"}, 200);
        ResourcePackWriter pictures;
        int n = 0;
        for (const auto &g : groupsOf(kind)) {
            const QString name = wordResourceName(g.target);
            if (name != missingPicture)
                pictures.add(ResourceKind::Bitmap, name,
                             solidDib({30, 30}, QColor::fromHsv((n++ * 41) % 360, 200, 200)));
        }
        writePack(host.packDir(), packOf(kind), pictures);
        switch (kind) {
        case Kind::Words:
            s = std::make_unique<TfBesede>(host);
            break;
        case Kind::Syllables:
            s = std::make_unique<TfZlogi>(host);
            break;
        case Kind::Letters:
            s = std::make_unique<TfCrke>(host);
            break;
        }
        s->random().seed(seed);
        s->startFirstSet();
        host.log->clear();
    }

    LetterCell *cell(int t, int r, int c) const { return s->cell(t, r, c); }
    QWidget *button(ActivityScreen::Command c) const { return s->commandButton(c); }
    bool naprejShown() const { return button(ActivityScreen::Command::Naprej)->isVisibleTo(s.get()); }
    void click(int t, int r, int c) const { choose(cell(t, r, c)); }
    void pomoc() const { choose(button(ActivityScreen::Command::Pomoc)); }
    void naprej() const { choose(button(ActivityScreen::Command::Naprej)); }

    // Starts sets with new seeds until a task has `target`; its task number, 0 if none came.
    int findTask(const QString &target)
    {
        for (quint32 seed = 1; seed < 400; ++seed) {
            s->random().seed(seed);
            s->Ponovi();
            for (int t = 1; t <= MatchingScreen::kTasks; ++t)
                if (s->task(t).target.text == target) {
                    host.log->clear();
                    return t;
                }
        }
        return 0;
    }
    int rowOf(int t, const QString &word) const
    {
        for (int r = 1; r <= MatchingScreen::kRows; ++r)
            if (s->task(t).rows[r - 1].text == word)
                return r;
        return 0;
    }
    QString rowText(int t, int r) const
    {
        QString text;
        for (int c = 1; c <= MatchingScreen::kCells; ++c)
            if (cell(t, r, c)->isVisibleTo(s.get()))
                text += cell(t, r, c)->text().isEmpty() ? QStringLiteral("_") : cell(t, r, c)->text();
        return text;
    }
    // Clicks every occurrence of every task's part, as a child who finds them all.
    void solvePartsByClicks()
    {
        for (int t = 1; t <= MatchingScreen::kTasks; ++t)
            for (int r = 1; r <= MatchingScreen::kRows; ++r)
                for (int p : partOccurrences(s->task(t).rows[r - 1].text, s->task(t).target.part))
                    click(t, r, p);
    }
    void solveWordsByClicks()
    {
        for (int t = 1; t <= MatchingScreen::kTasks; ++t)
            click(t, s->task(t).targetRow, 2);
    }
    void solveByClicks()
    {
        if (s->kind() == Kind::Words)
            solveWordsByClicks();
        else
            solvePartsByClicks();
    }
};

void sendEnter(QWidget *w)
{
    QEnterEvent e(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
    QCoreApplication::sendEvent(w, &e);
}

void addKindRows()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("words") << Kind::Words;
    QTest::newRow("syllables") << Kind::Syllables;
    QTest::newRow("letters") << Kind::Letters;
}

TfMeniBeZlCr *visibleChooser()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *c = qobject_cast<TfMeniBeZlCr *>(w); c && c->isVisible())
            return c;
    return nullptr;
}

} // namespace

class TestMatching : public QObject {
    Q_OBJECT
private slots:
    void letterCellsAreFoundByTagAlone();
    void colouringStaysInsideTheRow();
    void disabledCellReportsNoClicks();
    void partOccurrencesLeftToRight_data();
    void partOccurrencesLeftToRight();
    void builtInTablesAreConsistent_data();
    void builtInTablesAreConsistent();
    void layoutHas192NumberedCells_data();
    void layoutHas192NumberedCells();
    void exerciseFillsRowsAndPictures_data();
    void exerciseFillsRowsAndPictures();
    void wordsBlankFirstCellOfTargetRowIsRight();
    void wordsWrongClickKeepsTaskOpenAndCount();
    void wordsRightButtonSpeaksTheRowWord();
    void pictureAndReferenceRowSpeakTheTarget_data();
    void pictureAndReferenceRowSpeakTheTarget();
    void syllablesNaIsTwiceInBananaOnceInAna();
    void lettersSotorHoldsNoS();
    void panelIsDisabledWhenNoPartIsLeft();
    void wordsHelpSolvesFirstOpenTaskAndEndsSetWithoutPraise();
    void partsHelpMarksLeftmostAndEndsSetWithoutPraise();
    void setOfThreeEndsInBravoAndPonoviStartsAgain_data();
    void setOfThreeEndsInBravoAndPonoviStartsAgain();
    void noGroupTwiceInASetAndDrawingNeverRunsOut_data();
    void noGroupTwiceInASetAndDrawingNeverRunsOut();
    void missingPictureIsReportedAndTaskStillWorks();
    void onlyTheInstructionLineSpeaksOnHover();
    void chooserStartsScreensAndComesBack();
};

void TestMatching::letterCellsAreFoundByTagAlone()
{
    QWidget root;
    auto *inner = new QWidget(&root);
    auto *a = new LetterCell(1101, 27, inner);
    auto *b = new LetterCell(1102, 27, &root);
    auto *dup = new LetterCell(1102, 27, &root);
    new LetterCell(0, 27, &root);
    a->setObjectName(QStringLiteral("Label1102")); // a misleading name does not matter
    LetterCells cells(&root);
    QCOMPARE(cells.cell(1, 1, 1), a);
    QCOMPARE(cells.cell(1102), b);
    QCOMPARE(cells.count(), 2);
    QCOMPARE(cells.cell(1103), nullptr);
    QCOMPARE(cells.cell(0), nullptr);
    QCOMPARE(a->font().pixelSize(), 27);
    QVERIFY(a->font().bold());
    QCOMPARE(a->alignment(), Qt::AlignCenter);

    // The index is built once; a cell added later is found after rebuild().
    auto *late = new LetterCell(2305, 19, inner);
    QCOMPARE(cells.cell(2305), nullptr);
    cells.rebuild();
    QCOMPARE(cells.cell(2, 3, 5), late);
    // A deleted cell is not handed out.
    delete b;
    QCOMPARE(cells.cell(1102), nullptr);
    Q_UNUSED(dup);
}

void TestMatching::colouringStaysInsideTheRow()
{
    QWidget root;
    for (int tag : {1101, 1102, 1103, 1112, 1201, 2101})
        new LetterCell(tag, 27, &root);
    LetterCells cells(&root);
    const QList<LetterCell *> red = cells.colour(1, 1, 2, 250, kRed);
    QCOMPARE(red.size(), 3);
    QCOMPARE(red.first()->tag(), 1102);
    QCOMPARE(red.last()->tag(), 1112);
    QCOMPARE(cells.cell(1101)->textColor(), kBlack);
    QCOMPARE(cells.cell(1201)->textColor(), kBlack); // the next row keeps its colour
    QCOMPARE(cells.cell(2101)->textColor(), kBlack);
    // The colour holds in every colour group: a disabled panel still shows red.
    root.setEnabled(false);
    QCOMPARE(cells.cell(1102)->palette().color(QPalette::Disabled, QPalette::WindowText), kRed);
    QCOMPARE(cells.colour(1, 1, 3, 1, kBlack).size(), 0);
    QCOMPARE(cells.colour(1, 1, -5, 1, kBlack).size(), 1);
}

void TestMatching::disabledCellReportsNoClicks()
{
    QWidget panel;
    auto *cell = new LetterCell(1101, 27, &panel);
    cell->resize(16, 31);
    QSignalSpy clicked(cell, &LetterCell::clicked);
    QSignalSpy pressed(cell, &LetterCell::pressed);
    QTest::mouseClick(cell, Qt::LeftButton);
    QTest::mousePress(cell, Qt::RightButton);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(pressed.size(), 2);
    QCOMPARE(pressed.last().first().value<Qt::MouseButton>(), Qt::RightButton);
    // A release outside the cell is no click.
    QTest::mousePress(cell, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(cell, Qt::LeftButton, {}, QPoint(40, 5));
    QCOMPARE(clicked.size(), 1);
    panel.setEnabled(false);
    QTest::mouseClick(cell, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(pressed.size(), 3);
}

void TestMatching::partOccurrencesLeftToRight_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QList<int>>("at");
    QTest::newRow("NA twice in BANANA") << "BANANA" << "NA" << QList<int>{3, 5};
    QTest::newRow("NA once in ANA") << "ANA" << "NA" << QList<int>{2};
    QTest::newRow("blanked one is gone") << "BA  NA" << "NA" << QList<int>{5};
    QTest::newRow("S not in ŠOTOR") << "ŠOTOR" << "S" << QList<int>{};
    QTest::newRow("C not in PTIČKA") << "PTIČKA" << "C" << QList<int>{};
    QTest::newRow("Č in PTIČKA") << "PTIČKA" << "Č" << QList<int>{4};
    QTest::newRow("A three times") << "BANANA" << "A" << QList<int>{2, 4, 6};
    QTest::newRow("whole word") << "KROG" << "KROG" << QList<int>{1};
    QTest::newRow("longer than word") << "GOL" << "GOLA" << QList<int>{};
    QTest::newRow("empty part") << "GOL" << "" << QList<int>{};
    QTest::newRow("after previous find") << "AAAA" << "AA" << QList<int>{1, 3};
}

void TestMatching::partOccurrencesLeftToRight()
{
    QFETCH(QString, word);
    QFETCH(QString, part);
    QFETCH(QList<int>, at);
    QCOMPARE(tipsovo::partOccurrences(word, part), at);
}

void TestMatching::builtInTablesAreConsistent_data() { addKindRows(); }

void TestMatching::builtInTablesAreConsistent()
{
    QFETCH(Kind, kind);
    Screen t(kind);
    const auto groups = groupsOf(kind);
    const int size = kind == Kind::Words ? 3 : 4;
    QCOMPARE(groups.size(), kind == Kind::Words ? 17 : 16);
    QCOMPARE(t.s->groupCount(), int(groups.size()));
    QCOMPARE(t.s->words().size(), groups.size() * size);
    for (int g = 0; g < groups.size(); ++g) {
        const auto &group = groups.at(g);
        const auto &target = t.s->words().at(g * size);
        QCOMPARE(target.text, group.target);
        QVERIFY(!target.name.contains(QChar(0x010C)) && !target.name.contains(QChar(0x0160))
                && !target.name.contains(QChar(0x017D)));
        QCOMPARE(target.name.size(), target.text.size());
        QCOMPARE(group.companions.size(), size - 1);
        for (const QString &w : group.companions)
            QVERIFY2(w.size() <= MatchingScreen::kCells - (kind == Kind::Words ? 1 : 0), qPrintable(w));
        if (kind == Kind::Words)
            continue;
        // The marked part is where the table says, and some row holds it.
        QVERIFY2(group.target.mid(group.position - 1, group.part.size()) == group.part,
                 qPrintable(group.target));
        int found = 0;
        for (const QString &w : group.companions)
            found += int(tipsovo::partOccurrences(w, group.part).size());
        QVERIFY2(found > 0, qPrintable(group.target));
        QVERIFY(t.s->words().at(g * size + 1).name.isEmpty());
    }
    if (kind == Kind::Words) // names: Č, Š, Ž as C, S, Z
        QCOMPARE(t.s->words().at(7).name + t.s->words().at(9).name + t.s->words().at(15).name
                     + t.s->words().at(18).name,
                 QStringLiteral("ZAJCEKKOSARAZOGACOKOLADA"));
    if (kind == Kind::Words) { // ... but the basket KOŠ is not the blackbird KOS
        QCOMPARE(t.s->words().at(10).text, QStringLiteral("KOŠ"));
        QCOMPARE(t.s->words().at(10).name, QStringLiteral("KOŠ"));
        QCOMPARE(t.s->words().at(11).name, QStringLiteral("KOSARICA"));
    }
    if (kind == Kind::Syllables) {
        const auto &ten = groups.at(9);
        QCOMPARE(ten.part.size(), 4);
        QCOMPARE(ten.position, 2);
    }
    if (kind == Kind::Letters)
        for (const auto &g : groups)
            QCOMPARE(g.part.size(), 1);
}

void TestMatching::layoutHas192NumberedCells_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("panelHeight");
    QTest::addColumn<int>("pictureX");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::newRow("words") << Kind::Words << 161 << 12 << "TfBesede" << "A26";
    QTest::newRow("syllables") << Kind::Syllables << 164 << 14 << "TfZlogi" << "A27";
    QTest::newRow("letters") << Kind::Letters << 164 << 14 << "TfCrke" << "A28";
}

void TestMatching::layoutHas192NumberedCells()
{
    QFETCH(Kind, kind);
    QFETCH(int, panelHeight);
    QFETCH(int, pictureX);
    QFETCH(QString, name);
    QFETCH(QString, hint);
    Screen t(kind);
    QCOMPARE(t.s->objectName(), name);
    QCOMPARE(hintOf(t.s->instructionLine()), hint);
    QCOMPARE(t.s->instructionLine()->geometry(), QRect(14, 14, 800 - 28, 41));
    QCOMPARE(t.s->palette().color(QPalette::Window), QColor(255, 255, 170));

    // A fresh index over the screen, so the lookup itself is what is tested.
    LetterCells cells(t.s.get());
    QCOMPARE(cells.count(), 192);
    QCOMPARE(t.s->findChildren<LetterCell *>().size(), 192);
    const int refX[12] = {4, 16, 27, 39, 51, 62, 74, 85, 97, 109, 120, 132};
    const QPoint panels[4] = {{34, 85}, {406, 85}, {34, 259}, {406, 259}};
    for (int task = 1; task <= 4; ++task) {
        QFrame *panel = t.s->panel(task);
        QCOMPARE(panel->objectName(), QStringLiteral("Panel%1").arg(2 * task - 1));
        QCOMPARE(panel->geometry(), QRect(panels[task - 1], QSize(361, panelHeight)));
        QCOMPARE(t.s->picture(task)->objectName(), QStringLiteral("Image%1").arg(task));
        QCOMPARE(t.s->picture(task)->geometry(), QRect(pictureX, 4, 120, 120));
        QCOMPARE(t.s->picture(task)->parentWidget()->geometry().topLeft(), QPoint(4, 4));
        QCOMPARE(t.s->picture(task)->parentWidget()->width(), 149);
        for (int row = 0; row <= 3; ++row) {
            for (int c = 1; c <= 12; ++c) {
                LetterCell *cell = cells.cell(task, row, c);
                QVERIFY(cell);
                QCOMPARE(tagOf(cell), task * 1000 + row * 100 + c);
                QCOMPARE(cell->font().family(), QStringLiteral("Courier New"));
                QVERIFY(cell->font().bold());
                QVERIFY(cell->property("HoverSilent").toBool());
                if (row == 0) {
                    QCOMPARE(cell->parentWidget(), t.s->picture(task)->parentWidget());
                    QCOMPARE(cell->geometry(), QRect(refX[c - 1], 128, 11, 22));
                    QCOMPARE(cell->font().pixelSize(), 19);
                } else {
                    QCOMPARE(cell->parentWidget(), panel);
                    QCOMPARE(cell->geometry(),
                             QRect(160 + 16 * (c - 1), 28 + 40 * (row - 1), 16, 31));
                    QCOMPARE(cell->font().pixelSize(), 27);
                }
            }
        }
    }
}

void TestMatching::exerciseFillsRowsAndPictures_data() { addKindRows(); }

void TestMatching::exerciseFillsRowsAndPictures()
{
    QFETCH(Kind, kind);
    Screen t(kind, 7);
    const bool words = kind == Kind::Words;
    const QList<MatchingScreen::Group> table = groupsOf(kind);
    QSet<int> groups;
    for (int task = 1; task <= 4; ++task) {
        const auto &tk = t.s->task(task);
        groups.insert(tk.group);
        const auto &group = table.at(tk.group);
        QCOMPARE(tk.target.text, group.target);
        QVERIFY(t.s->panel(task)->isEnabled());
        QVERIFY(!t.s->picture(task)->pixmap().isNull());
        QCOMPARE(hintOf(t.s->picture(task)), wordResourceName(group.target));
        QVERIFY(t.s->picture(task)->property("HoverSilent").toBool());

        // The reference row: the target from cell 1, its name as Hint.
        QCOMPARE(t.rowText(task, 0), group.target);
        QCOMPARE(hintOf(t.cell(task, 0, 1)), wordResourceName(group.target));
        for (int c = 1; c <= group.target.size(); ++c) {
            const bool marked = !words && c >= group.position
                                && c < group.position + group.part.size();
            QCOMPARE(t.cell(task, 0, c)->textColor(), marked ? kRed : kBlack);
            if (!words)
                QCOMPARE(t.cell(task, 0, c)->isClickable(), !marked);
        }

        // The rows: the group's other words (and on the words screen the target), once each.
        QStringList shown;
        for (int r = 1; r <= 3; ++r) {
            const QString word = tk.rows[r - 1].text;
            shown << word;
            QCOMPARE(t.rowText(task, r),
                     words ? QStringLiteral("_") + word : word);
            for (int c = 1; c <= 12; ++c) {
                QCOMPARE(hintOf(t.cell(task, r, c)), words ? rowWordSoundName(word) : QString());
                QVERIFY(t.cell(task, r, c)->isClickable());
                QCOMPARE(t.cell(task, r, c)->textColor(), kBlack);
            }
        }
        QStringList expected = group.companions;
        if (words) {
            expected << group.target;
            QCOMPARE(tk.rows[tk.targetRow - 1].text, group.target);
        }
        std::sort(shown.begin(), shown.end());
        std::sort(expected.begin(), expected.end());
        QCOMPARE(shown, expected);
    }
    QCOMPARE(groups.size(), 4);
    QVERIFY(t.host.errors.isEmpty());
}

void TestMatching::wordsBlankFirstCellOfTargetRowIsRight()
{
    Screen t(Kind::Words, 3);
    const auto &tk = t.s->task(2);
    QVERIFY(t.cell(2, tk.targetRow, 1)->text().isEmpty());
    QVERIFY(t.cell(2, tk.targetRow, 1)->isVisibleTo(t.s.get()));
    t.click(2, tk.targetRow, 1);
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->wrongCount(), 0);
    QVERIFY(t.s->task(2).solved);
    QVERIFY(!t.s->panel(2)->isEnabled());
    // The solved task's picture keeps its colours in the disabled panel: grey reads as broken.
    const QImage shown = t.s->picture(2)->grab().toImage();
    const QImage picture = t.s->picture(2)->pixmap().toImage();
    QCOMPARE(shown.pixelColor(60, 60), picture.pixelColor(60, 60));
    QVERIFY(picture.pixelColor(60, 60).saturation() > 100);
    for (int c = 1; c <= 12; ++c)
        QCOMPARE(t.cell(2, tk.targetRow, c)->textColor(), kRed);
    QCOMPARE(t.host.log->requested(), QStringList{tk.target.name}); // the word, not "prav"
    // The solved task no longer reacts.
    const int other = tk.targetRow % 3 + 1;
    t.click(2, other, 2);
    QCOMPARE(t.s->wrongCount(), 0);
    QVERIFY(!t.naprejShown());
}

void TestMatching::wordsWrongClickKeepsTaskOpenAndCount()
{
    Screen t(Kind::Words, 5);
    const int target = t.s->task(1).targetRow;
    const int wrong = target % 3 + 1;
    t.click(1, wrong, 3);
    QCOMPARE(t.s->wrongCount(), 1);
    QVERIFY(t.s->panel(1)->isEnabled());
    QVERIFY(!t.s->task(1).solved);
    QCOMPARE(t.cell(1, wrong, 3)->textColor(), kBlack);
    QCOMPARE(t.s->wrongLabel()->text(), QStringLiteral("1"));
    // A double-click on a wrong word is one more wrong answer, not two.
    QTest::mouseClick(t.cell(1, wrong, 3), Qt::LeftButton);
    QTest::mouseDClick(t.cell(1, wrong, 3), Qt::LeftButton);
    QTest::mouseRelease(t.cell(1, wrong, 3), Qt::LeftButton);
    QCOMPARE(t.s->wrongCount(), 2);
    t.click(1, target, 4);
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->wrongCount(), 2);
    QVERIFY(!t.s->panel(1)->isEnabled());
    QCOMPARE(t.host.log->requested().size(), 3);
    QCOMPARE(t.host.log->requested().first().toUpper(), QStringLiteral("NAROBE"));
}

void TestMatching::wordsRightButtonSpeaksTheRowWord()
{
    Screen t(Kind::Words, 11);
    const int task = 2;
    const int row = t.s->task(task).targetRow % 3 + 1; // a companion's row
    const QString word = t.s->task(task).rows[row - 1].text;
    QTest::mousePress(t.cell(task, row, 3), Qt::RightButton);
    QTest::mouseRelease(t.cell(task, row, 3), Qt::RightButton);
    QCOMPARE(t.host.log->requested(), QStringList{rowWordSoundName(word)});
    QCOMPARE(t.s->rightCount() + t.s->wrongCount(), 0);
    QVERIFY(t.s->panel(task)->isEnabled());

    // The syllable screen's choice cells say nothing on the right button.
    Screen z(Kind::Syllables);
    QTest::mousePress(z.cell(1, 1, 1), Qt::RightButton);
    QVERIFY(z.host.log->requested().isEmpty());
}

void TestMatching::pictureAndReferenceRowSpeakTheTarget_data() { addKindRows(); }

void TestMatching::pictureAndReferenceRowSpeakTheTarget()
{
    QFETCH(Kind, kind);
    Screen t(kind, 9);
    const QString name = t.s->task(3).target.name;
    QTest::mousePress(t.s->picture(3), Qt::LeftButton);
    QTest::mousePress(t.cell(3, 0, 2), Qt::LeftButton);
    QTest::mousePress(t.s->picture(3), Qt::RightButton);
    QCOMPARE(t.host.log->requested(), (QStringList{name, name}));
    QCOMPARE(t.s->rightCount() + t.s->wrongCount(), 0);

    // A task that is done is mute.
    t.s->Pomoc();
    while (t.s->panel(3)->isEnabled() && !t.s->exerciseDone())
        t.s->Pomoc();
    QVERIFY(!t.s->panel(3)->isEnabled());
    t.host.log->clear();
    QTest::mousePress(t.s->picture(3), Qt::LeftButton);
    QTest::mousePress(t.cell(3, 0, 1), Qt::LeftButton);
    QVERIFY(t.host.log->requested().isEmpty());
}

void TestMatching::syllablesNaIsTwiceInBananaOnceInAna()
{
    Screen t(Kind::Syllables);
    const int task = t.findTask(QStringLiteral("ANANAS"));
    QVERIFY(task);
    const int banana = t.rowOf(task, QStringLiteral("BANANA"));
    const int ana = t.rowOf(task, QStringLiteral("ANA"));
    QVERIFY(banana && ana);

    // The "A" of the second "NA": only cells 5 and 6 turn red.
    t.click(task, banana, 6);
    QCOMPARE(t.s->rightCount(), 1);
    for (int c = 1; c <= 6; ++c)
        QCOMPARE(t.cell(task, banana, c)->textColor(), c >= 5 ? kRed : kBlack);
    QVERIFY(!t.cell(task, banana, 5)->isClickable());
    QVERIFY(t.cell(task, banana, 3)->isClickable());
    // Red cells ignore clicks: no sound, no count.
    t.click(task, banana, 5);
    t.click(task, banana, 6);
    QCOMPARE(t.host.log->requested(), QStringList{"prav"});
    // The "N" of the first one.
    t.click(task, banana, 3);
    QCOMPARE(t.s->rightCount(), 2);
    QCOMPARE(t.cell(task, banana, 4)->textColor(), kRed);
    // "B" is no part of any "NA".
    t.click(task, banana, 1);
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.host.log->requested().last(), QStringLiteral("narobe"));

    // "ANA" holds one: its first "A" is wrong, its "A" at the end is right.
    t.click(task, ana, 1);
    QCOMPARE(t.s->wrongCount(), 2);
    t.click(task, ana, 3);
    QCOMPARE(t.s->rightCount(), 3);
    QCOMPARE(t.cell(task, ana, 2)->textColor(), kRed);
    QCOMPARE(t.cell(task, ana, 1)->textColor(), kBlack);
    t.click(task, ana, 2);
    QCOMPARE(t.s->rightCount(), 3);
}

void TestMatching::lettersSotorHoldsNoS()
{
    Screen t(Kind::Letters);
    const int task = t.findTask(QStringLiteral("PAS"));
    QVERIFY(task);
    const int sotor = t.rowOf(task, QStringLiteral("ŠOTOR"));
    const int pes = t.rowOf(task, QStringLiteral("PES"));
    QVERIFY(sotor && pes);
    QCOMPARE(t.cell(task, 0, 3)->textColor(), kRed); // the marked S of PAS
    QCOMPARE(t.cell(task, 0, 1)->textColor(), kBlack);
    t.click(task, sotor, 1);
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.cell(task, sotor, 1)->textColor(), kBlack);
    t.click(task, pes, 3);
    QCOMPARE(t.s->rightCount(), 1);
    // On the letter screen only the letter's own cell is right.
    t.click(task, pes, 2);
    QCOMPARE(t.s->wrongCount(), 2);
}

void TestMatching::panelIsDisabledWhenNoPartIsLeft()
{
    Screen t(Kind::Syllables, 4);
    // The task "OMARA" ("OMA" once in "OMAKA"): its last occurrence disables the panel.
    const int task = t.findTask(QStringLiteral("OMARA"));
    QVERIFY(task);
    const int omaka = t.rowOf(task, QStringLiteral("OMAKA"));
    const int odeja = t.rowOf(task, QStringLiteral("ODEJA"));
    t.click(task, odeja, 1); // wrong; the panel stays
    QVERIFY(t.s->panel(task)->isEnabled());
    t.click(task, omaka, 2);
    QVERIFY(!t.s->panel(task)->isEnabled());
    for (int other = 1; other <= 4; ++other)
        if (other != task)
            QVERIFY(t.s->panel(other)->isEnabled());
    // Its cells no longer react, not even the black ones.
    t.click(task, odeja, 2);
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.s->rightCount(), 1);
    QVERIFY(!t.naprejShown());
}

void TestMatching::wordsHelpSolvesFirstOpenTaskAndEndsSetWithoutPraise()
{
    Screen t(Kind::Words, 21);
    for (int exercise = 1; exercise <= 3; ++exercise) {
        t.host.log->clear();
        t.click(4, t.s->task(4).targetRow, 5);
        t.pomoc();
        QVERIFY(t.s->task(1).solved);
        QVERIFY(!t.s->task(2).solved);
        QVERIFY(!t.s->panel(1)->isEnabled());
        QCOMPARE(t.cell(1, t.s->task(1).targetRow, 2)->textColor(), kRed);
        t.pomoc();
        QVERIFY(!t.naprejShown());
        t.pomoc();
        QVERIFY(t.s->exerciseDone());
        QCOMPARE(t.s->rightCount(), exercise);
        QCOMPARE(t.s->wrongCount(), 0);
        QCOMPARE(t.s->solvedCount(), exercise);
        // Only the clicked word was spoken.
        QCOMPARE(t.host.log->requested(), QStringList{t.s->task(4).target.name});
        t.pomoc(); // nothing left: nothing changes
        QCOMPARE(t.s->solvedCount(), exercise);
        if (exercise < 3) {
            QVERIFY(t.naprejShown());
            t.naprej();
            QVERIFY(!t.naprejShown());
        }
    }
    QVERIFY(!t.naprejShown());
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QVERIFY(!t.host.log->requested().contains(QStringLiteral("A9")));
    QVERIFY(t.host.media().soundOn()); // the switch is as it was
}

void TestMatching::partsHelpMarksLeftmostAndEndsSetWithoutPraise()
{
    Screen t(Kind::Letters, 2);
    // Help marks the leftmost "A" of the first row that still holds one, in the first task
    // that still holds one.
    int firstTask = 1, firstRow = 1, at = 0;
    for (; firstTask <= 4 && !at; ++firstTask)
        for (firstRow = 1; firstRow <= 3 && !at; ++firstRow) {
            const auto occ = partOccurrences(t.s->task(firstTask).rows[firstRow - 1].text,
                                             t.s->task(firstTask).target.part);
            if (!occ.isEmpty())
                at = occ.first();
        }
    --firstTask;
    --firstRow;
    t.pomoc();
    QCOMPARE(t.cell(firstTask, firstRow, at)->textColor(), kRed);
    QVERIFY(!t.cell(firstTask, firstRow, at)->isClickable());
    QCOMPARE(t.s->rightCount(), 0);
    QVERIFY(t.host.log->requested().isEmpty());

    for (int exercise = 1; exercise <= 3; ++exercise) {
        int guard = 0;
        while (!t.s->exerciseDone() && guard++ < 100)
            t.pomoc();
        QVERIFY(t.s->exerciseDone());
        for (int tk = 1; tk <= 4; ++tk)
            QVERIFY(!t.s->panel(tk)->isEnabled());
        QCOMPARE(t.s->solvedCount(), exercise);
        QCOMPARE(t.s->rightCount(), 0);
        if (exercise < 3) {
            QVERIFY(t.naprejShown());
            QVERIFY(!t.button(ActivityScreen::Command::Pomoc)->isEnabled());
            t.naprej();
            QVERIFY(t.button(ActivityScreen::Command::Pomoc)->isEnabled());
        }
    }
    QVERIFY(!t.naprejShown());
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QVERIFY(t.host.log->requested().isEmpty()); // no praise sound
    t.pomoc(); // still enabled at the end of the set, but the exercise counts once
    QCOMPARE(t.s->solvedCount(), 3);
}

// Each kind played with the mouse and by keyboard alone.
void TestMatching::setOfThreeEndsInBravoAndPonoviStartsAgain_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("byKeyboard");
    for (bool keys : {false, true}) {
        const char *how = keys ? "keyboard" : "mouse";
        QTest::addRow("words, %s", how) << Kind::Words << keys;
        QTest::addRow("syllables, %s", how) << Kind::Syllables << keys;
        QTest::addRow("letters, %s", how) << Kind::Letters << keys;
    }
}

void TestMatching::setOfThreeEndsInBravoAndPonoviStartsAgain()
{
    QFETCH(Kind, kind);
    QFETCH(bool, byKeyboard);
    const ByKeyboard mode(byKeyboard);
    Screen t(kind, 13);
    if (byKeyboard) {
        QVERIFY(showForKeyboard(t.s.get()));
        t.host.log->clear();
    }
    int right = 0;
    for (int exercise = 1; exercise <= 3; ++exercise) {
        t.host.log->clear();
        t.solveByClicks();
        t.host.clock.runPending();
        // One sound per right answer, then the praise at the end of the set.
        right += int(t.host.log->requested().size()) - (exercise == 3 ? 1 : 0);
        QCOMPARE(t.s->rightCount(), right);
        QCOMPARE(t.s->solvedCount(), exercise);
        QCOMPARE(t.naprejShown(), exercise < 3);
        if (exercise < 3) {
            QVERIFY(!t.host.log->requested().contains(QStringLiteral("A9")));
            t.naprej();
        }
    }
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QCOMPARE(t.host.log->requested().last(), QStringLiteral("A9"));
    QVERIFY(t.host.log->entries().last().keepTrying);
    QCOMPARE(t.s->wrongCount(), 0);

    QTest::mouseClick(t.button(ActivityScreen::Command::Ponovi), Qt::LeftButton);
    QCOMPARE(t.s->instructionLine()->text(), t.s->instructionText());
    QCOMPARE(t.s->rightLabel()->text(), QStringLiteral("0"));
    QCOMPARE(t.s->solvedCount(), 0);
    for (int tk = 1; tk <= 4; ++tk)
        QVERIFY(t.s->panel(tk)->isEnabled());
}

void TestMatching::noGroupTwiceInASetAndDrawingNeverRunsOut_data() { addKindRows(); }

void TestMatching::noGroupTwiceInASetAndDrawingNeverRunsOut()
{
    QFETCH(Kind, kind);
    Screen t(kind);
    for (quint32 seed = 1; seed <= 25; ++seed) {
        t.s->random().seed(seed);
        t.s->Ponovi();
        QSet<int> given;
        for (int exercise = 1; exercise <= 3; ++exercise) {
            for (int tk = 1; tk <= 4; ++tk)
                given.insert(t.s->task(tk).group);
            int guard = 0;
            while (!t.s->exerciseDone() && guard++ < 100)
                t.pomoc();
            if (exercise < 3)
                t.naprej();
        }
        QCOMPARE(given.size(), 12);
        QVERIFY(!given.contains(-1));
    }
    // More exercises than a set has: the groups come round again instead of the drawing
    // going on for ever.
    for (int extra = 0; extra < 8; ++extra) {
        t.s->bNovaIgraClick();
        for (int tk = 1; tk <= 4; ++tk)
            QVERIFY(t.s->task(tk).group >= 0);
    }
}

void TestMatching::missingPictureIsReportedAndTaskStillWorks()
{
    Screen probe(Kind::Words, 17);
    const QString missing = probe.s->task(1).target.name;
    Screen t(Kind::Words, 17, missing);
    QCOMPARE(t.s->task(1).target.name, missing);
    QCOMPARE(t.host.errors.size(), 1);
    QVERIFY(t.s->picture(1)->pixmap().isNull());
    QVERIFY(!t.s->picture(2)->pixmap().isNull());
    t.click(1, t.s->task(1).targetRow, 2);
    QVERIFY(t.s->task(1).solved);
    QCOMPARE(t.s->rightCount(), 1);
}

void TestMatching::onlyTheInstructionLineSpeaksOnHover()
{
    Screen t(Kind::Syllables);
    for (QWidget *w : {static_cast<QWidget *>(t.cell(1, 1, 1)), static_cast<QWidget *>(t.cell(2, 0, 1)),
                       static_cast<QWidget *>(t.s->picture(3))}) {
        sendEnter(w);
        t.s->hover().fireNow();
    }
    QVERIFY(t.host.log->requested().isEmpty());
    sendEnter(t.s->instructionLine());
    t.s->hover().fireNow();
    QCOMPARE(t.host.log->requested(), QStringList{"A27"});
}

void TestMatching::chooserStartsScreensAndComesBack()
{
    TestHost host;
    writeTestSoundPack(host.packDir(), QStringLiteral("snd"), {"A11", "A12", "A27"}, 200);

    QPointer<TfMeniBeZlCr> chooser;
    QPointer<ActivityScreen> screen;
    QStringList steps;
    QTimer::singleShot(0, [&] {
        chooser = visibleChooser();
        if (!chooser)
            return;
        steps << QStringLiteral("shown");
        if (chooser->size() == QSize(419, 206) && chooser->isRunning()
            && chooser->windowModality() == Qt::ApplicationModal
            && chooser->palette().color(QPalette::Window) == QColor(255, 255, 170))
            steps << QStringLiteral("modal");
        // The picture buttons speak on hover, "Zapri" does not.
        sendEnter(chooser->button(1));
        chooser->hover().fireNow();
        sendEnter(chooser->button(4));
        chooser->hover().fireNow();
        if (host.log->requested() == QStringList{"A11"})
            steps << QStringLiteral("hover");
        // No override cursor hides the hand of the buttons.
        if (!QGuiApplication::overrideCursor())
            steps << QStringLiteral("pointer");

        host.clock.advance(5000); // the hover sound has ended: the instruction is not kept waiting
        QTest::mouseClick(chooser->button(2), Qt::LeftButton);
        screen = chooser->screen();
        if (screen && screen->objectName() == QStringLiteral("TfZlogi") && screen->isVisible()
            && !chooser->isVisible() && chooser->isRunning()
            && screen->windowModality() == Qt::ApplicationModal)
            steps << QStringLiteral("screen");
        QTimer::singleShot(0, [&] {
            if (!chooser || !screen)
                return;
            QTest::mouseClick(screen->commandButton(ActivityScreen::Command::Konec),
                              Qt::LeftButton);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (screen.isNull() && chooser->isVisible() && chooser->isRunning())
                steps << QStringLiteral("back");
            QTest::mouseClick(chooser->button(4), Qt::LeftButton);
        });
    });
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    TfMeniBeZlCr::Izberi(host);
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
    QVERIFY(!QGuiApplication::overrideCursor());

    QCOMPARE(steps, (QStringList{"shown", "modal", "hover", "pointer", "screen", "back"}));
    QVERIFY(chooser.isNull());
    QVERIFY(screen.isNull());
    for (QWidget *w : QApplication::allWidgets())
        QVERIFY(!qobject_cast<TfMeniBeZlCr *>(w));

    // The screen spoke its instruction when it opened.
    QVERIFY(host.log->requested().contains(QStringLiteral("A27")));
}

QTEST_MAIN(TestMatching)
#include "test_matching.moc"
