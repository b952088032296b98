// SPDX-License-Identifier: GPL-3.0-or-later
// Insert the missing word: the sentence table, dealing, judging, help, the set of ten, and the
// theme menu that opens, restarts and closes the screen.
#include "activities/sentences/tfmenivstavibesedo.h"
#include "activities/sentences/tfvstavibesedo.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "sentences/sentencepacks.h"
#include "support/pdfpage.h"
#include "support/keyboardplay.h"
#include "support/previewcatcher.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

struct Screen {
    TestHost host;
    std::unique_ptr<TfVstaviBesedo> s;

    explicit Screen(int tema = 0, bool withScenes = true, quint32 seed = 7)
    {
        writeSentencePacks(host.packDir(), withScenes);
        s = std::make_unique<TfVstaviBesedo>(host);
        s->random().seed(seed);
        s->setTema(tema);
        s->restartSet();
        host.log->clear();
    }
    QWidget *button(ActivityScreen::Command c) { return s->commandButton(c); }
    bool naprejShown() { return button(ActivityScreen::Command::Naprej)->isVisibleTo(s.get()); }
    QLabel *labelWith(const QString &word)
    {
        for (int k = 1; k <= 4; ++k)
            if (s->choiceLabel(k)->text() == word)
                return s->choiceLabel(k);
        return nullptr;
    }
    QLabel *aWrongLabel()
    {
        for (int k = 1; k <= 4; ++k)
            if (!s->choiceLabel(k)->text().isEmpty() && s->choiceLabel(k)->text() != s->pravilna())
                return s->choiceLabel(k);
        return nullptr;
    }
    void click(QLabel *l) { choose(l); }
    void answer() { click(labelWith(s->pravilna())); }
    // Deals sentences until the one with sound `zvok` is on screen.
    bool dealUntil(const QString &zvok)
    {
        for (int i = 0; i < TfVstaviBesedo::kSentences; ++i) {
            if (s->trenutni().ZvokStavka == zvok)
                return true;
            s->Naprej();
        }
        return s->trenutni().ZvokStavka == zvok;
    }
};

QRgb sceneRgb(const TfVstaviBesedo *a) { return a->scene()->pixmap().toImage().pixel(5, 5); }

int letters(const QString &word) { return int(word.size()); }

} // namespace

class TestVstaviBesedo : public QObject {
    Q_OBJECT
private slots:
    void everyGapIsAsLongAsItsRightWord_data();
    void everyGapIsAsLongAsItsRightWord();
    void fillingTheGap_data();
    void fillingTheGap();
    void b40IsAnsweredOnlyByLuc();
    void wrongChoiceCountsOnEveryClickAndStaysClickable();
    void choicesIgnoredAfterTheRightOne();
    void helpAnswersOncePerSentenceWithoutCounting();
    void tenSentencesOfTheThemeEndInBravo_data();
    void tenSentencesOfTheThemeEndInBravo();
    void sentenceSpeaksWhenClickedNotOnHover();
    void missingScenePackLeavesTheSentencesWorking();
    void themeMenuOpensRestartsAndClosesTheActivity();
    void konecShowsTheThemeMenuOverTheActivity();
    void themeMenuIsFramedOnTheWhiteScreen();
    void natisniPrintsTheThemeAndLeavesTheScreen();
};

void TestVstaviBesedo::everyGapIsAsLongAsItsRightWord_data()
{
    QTest::addColumn<int>("tema");
    for (int t = 0; t < TfVstaviBesedo::kThemes; ++t)
        QTest::addRow("%s", qPrintable(TfVstaviBesedo::slikaTeme(t))) << t;
}

void TestVstaviBesedo::everyGapIsAsLongAsItsRightWord()
{
    QFETCH(int, tema);
    static const QRegularExpression gap(QStringLiteral("_+"));
    const auto &table = TfVstaviBesedo::vgrajeniStavki(tema);
    for (int i = 0; i < TfVstaviBesedo::kSentences; ++i) {
        const StavekIzbire &s = table[std::size_t(i)];
        const QString where = s.ZvokStavka + QLatin1Char(' ') + s.Besedilo;
        QCOMPARE(s.ZvokStavka, QStringLiteral("B%1").arg(tema * 10 + i + 1));
        // One gap, exactly as long as the right word has letters (č, š, ž count once).
        const auto matches = gap.globalMatch(s.Besedilo);
        QVERIFY2(matches.hasNext(), qPrintable(where));
        auto m = gap.match(s.Besedilo);
        QCOMPARE(m.capturedLength(), letters(s.Izbire[0]));
        QVERIFY2(s.Besedilo.count(QLatin1Char('_')) == m.capturedLength(), qPrintable(where));
        // Four different words, none empty, so the right one is the only one that fits.
        const QSet<QString> words(s.Izbire.begin(), s.Izbire.end());
        QVERIFY2(words.size() == 4 && !words.contains(QString()), qPrintable(where));
        QVERIFY(!s.Uporabljen);
    }
}

void TestVstaviBesedo::fillingTheGap_data()
{
    QTest::addColumn<QString>("besedilo");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("filled");
    QTest::newRow("B40, three letters") << "Na vrhu svetilnika je ___." << "luč"
                                        << "Na vrhu svetilnika je luč.";
    QTest::newRow("gap inside") << "Na semaforju gori ______ luč." << "zelena"
                                << "Na semaforju gori zelena luč.";
    QTest::newRow("š at the start") << "Na prehodu sta _______." << "šolarja"
                                    << "Na prehodu sta šolarja.";
    // A word shorter than the gap leaves the rest; a longer one stops at the gap's end.
    QTest::newRow("short word") << "A ____." << "ab" << "A ab__.";
    QTest::newRow("long word") << "A __." << "abcd" << "A ab.";
}

void TestVstaviBesedo::fillingTheGap()
{
    QFETCH(QString, besedilo);
    QFETCH(QString, word);
    QFETCH(QString, filled);
    QCOMPARE(TfVstaviBesedo::zapolniVrzel(besedilo, word), filled);
}

void TestVstaviBesedo::b40IsAnsweredOnlyByLuc()
{
    Screen t(3);
    QVERIFY(t.dealUntil(QStringLiteral("B40")));
    QSet<QString> offered;
    for (int k = 1; k <= 4; ++k)
        offered.insert(t.s->choiceLabel(k)->text());
    QCOMPARE(offered, (QSet<QString>{"luč", "ključ", "semafor", "dimnik"}));
    QCOMPARE(t.s->pravilna(), QStringLiteral("luč"));
    t.click(t.labelWith(QStringLiteral("ključ")));
    QCOMPARE(t.s->sentenceLabel()->text(), QStringLiteral("Na vrhu svetilnika je ___."));
    QVERIFY(!t.naprejShown());
    QLabel *luc = t.labelWith(QStringLiteral("luč"));
    t.click(luc);
    QCOMPARE(t.s->sentenceLabel()->text(), QStringLiteral("Na vrhu svetilnika je luč."));
    QVERIFY(luc->text().isEmpty());
    QVERIFY(t.naprejShown());
    QCOMPARE(t.s->rightCount(), 1);
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.host.log->requested(), (QStringList{"narobe", "B40"}));
}

void TestVstaviBesedo::wrongChoiceCountsOnEveryClickAndStaysClickable()
{
    Screen t(1);
    QLabel *wrong = t.aWrongLabel();
    QVERIFY(wrong);
    for (int i = 1; i <= 3; ++i) {
        t.click(wrong);
        QCOMPARE(t.s->wrongCount(), i);
        QCOMPARE(t.s->wrongLabel()->text(), QString::number(i));
    }
    QVERIFY(wrong->font().strikeOut());
    QVERIFY(ActivityScreen::isClickable(wrong));
    QCOMPARE(t.host.log->requested(), (QStringList{"narobe", "narobe", "narobe"}));
    // The next sentence takes the strike-out away again.
    t.answer();
    t.s->Naprej();
    for (int k = 1; k <= 4; ++k) {
        QVERIFY(!t.s->choiceLabel(k)->font().strikeOut());
        QVERIFY(t.s->choiceLabel(k)->font().bold());
    }
}

void TestVstaviBesedo::choicesIgnoredAfterTheRightOne()
{
    Screen t(2);
    QLabel *wrong = t.aWrongLabel();
    t.answer();
    QCOMPARE(t.s->rightCount(), 1);
    QVERIFY(t.s->odgovorjeno());
    QVERIFY(!t.button(ActivityScreen::Command::Pomoc)->isEnabled());
    const QString filled = t.s->sentenceLabel()->text();
    QVERIFY(!filled.contains(QLatin1Char('_')));
    t.click(wrong);
    t.click(wrong);
    QCOMPARE(t.s->wrongCount(), 0);
    QCOMPARE(t.s->rightCount(), 1);
    QVERIFY(!wrong->font().strikeOut());
    QCOMPARE(t.s->sentenceLabel()->text(), filled);
    QCOMPARE(t.host.log->requested(), QStringList{t.s->trenutni().ZvokStavka});
}

void TestVstaviBesedo::helpAnswersOncePerSentenceWithoutCounting()
{
    Screen t(0);
    t.click(t.aWrongLabel());
    t.host.log->clear();
    const QString right = t.s->pravilna();
    QTest::mouseClick(t.button(ActivityScreen::Command::Pomoc), Qt::LeftButton);
    QCOMPARE(t.s->sentenceLabel()->text(),
             TfVstaviBesedo::zapolniVrzel(t.s->trenutni().Besedilo, right));
    QVERIFY(!t.labelWith(right)); // taken out of the choices
    QVERIFY(t.naprejShown());
    QVERIFY(!t.button(ActivityScreen::Command::Pomoc)->isEnabled());
    QCOMPARE(t.s->rightCount(), 0);
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.s->solvedCount(), 1);
    QCOMPARE(t.host.log->requested(), QStringList{t.s->trenutni().ZvokStavka});
    // Asked again (the button is disabled, but the action may still be called): nothing more.
    t.s->bPomocClick();
    QCOMPARE(t.s->solvedCount(), 1);
    QCOMPARE(t.host.log->requested().size(), 1);
    // The next sentence may be helped again.
    t.s->Naprej();
    QVERIFY(t.button(ActivityScreen::Command::Pomoc)->isEnabled());
}

// Played with the mouse and by keyboard alone.
void TestVstaviBesedo::tenSentencesOfTheThemeEndInBravo_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestVstaviBesedo::tenSentencesOfTheThemeEndInBravo()
{
    QFETCH(bool, byKeyboard);
    const ByKeyboard mode(byKeyboard);
    Screen t(0);
    if (byKeyboard) {
        QVERIFY(showForKeyboard(t.s.get()));
        t.host.log->clear();
    }
    QStringList dealt;
    for (int i = 0; i < TfVstaviBesedo::kSentences; ++i) {
        if (i > 0) {
            QVERIFY(t.naprejShown());
            choose(t.button(ActivityScreen::Command::Naprej));
        }
        QVERIFY(!t.naprejShown());
        dealt << t.s->trenutni().ZvokStavka;
        t.answer();
    }
    QStringList expected;
    for (int i = 1; i <= 10; ++i)
        expected << QStringLiteral("B%1").arg(i);
    QStringList sorted = dealt;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return a.mid(1).toInt() < b.mid(1).toInt();
    });
    QCOMPARE(sorted, expected); // every sentence of the theme exactly once
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("Bravo!"));
    QVERIFY(!t.naprejShown());
    QCOMPARE(t.s->rightCount(), 10);
    t.host.clock.runPending();
    const auto &last = t.host.log->entries().last();
    QCOMPARE(last.name, QStringLiteral("A9"));
    QVERIFY(last.keepTrying);

    // With NAPREJ gone the words left on screen answer again, as wrong words; the place the
    // right word was taken from is no choice.
    t.click(t.aWrongLabel());
    QCOMPARE(t.s->wrongCount(), 1);
    // The mouse may still press the empty place; the keyboard never comes to it.
    g_byKeyboard = false;
    for (int k = 1; k <= 4; ++k)
        if (t.s->choiceLabel(k)->text().isEmpty()) {
            QVERIFY(!KeyboardChoices::isChoice(t.s->choiceLabel(k)));
            t.click(t.s->choiceLabel(k));
        }
    QCOMPARE(t.s->wrongCount(), 1);
    QCOMPARE(t.s->rightCount(), 10);

    // PONOVI: the same theme again, from the start.
    QTest::mouseClick(t.button(ActivityScreen::Command::Ponovi), Qt::LeftButton);
    QCOMPARE(t.s->instructionLine()->text(), QStringLiteral("IZBERI MANJKAJOČO BESEDO!"));
    QCOMPARE(t.s->rightLabel()->text(), QStringLiteral("0"));
    QCOMPARE(t.s->wrongLabel()->text(), QStringLiteral("0"));
    QVERIFY(expected.contains(t.s->trenutni().ZvokStavka));
    int used = 0;
    for (const StavekIzbire &s : t.s->stavki())
        used += s.Uporabljen ? 1 : 0;
    QCOMPARE(used, 1);
}

void TestVstaviBesedo::sentenceSpeaksWhenClickedNotOnHover()
{
    Screen t(1);
    const QString zvok = t.s->trenutni().ZvokStavka;
    QCOMPARE(hintOf(t.s->sentenceLabel()), zvok);
    // Resting on the sentence says nothing; resting on the instruction line speaks it.
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, {});
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(t.s->sentenceLabel(), &enter);
    QCoreApplication::sendEvent(t.s->sentenceLabel(), &move);
    t.s->hover().fireNow();
    QCOMPARE(t.host.log->requested(), QStringList());
    QCoreApplication::sendEvent(t.s->instructionLine(), &enter);
    QCoreApplication::sendEvent(t.s->instructionLine(), &move);
    t.s->hover().fireNow();
    QCOMPARE(t.host.log->requested(), QStringList{"A41"});
    t.host.clock.advance(5000);
    t.click(t.s->sentenceLabel());
    QCOMPARE(t.host.log->requested(), (QStringList{"A41", zvok}));
    QCOMPARE(t.s->rightCount() + t.s->wrongCount(), 0);
}

void TestVstaviBesedo::missingScenePackLeavesTheSentencesWorking()
{
    Screen t(2, /*withScenes=*/false);
    QVERIFY(t.s->scene()->pixmap().isNull());
    QVERIFY(t.host.errors.isEmpty());
    QVERIFY(t.s->sentenceLabel()->text().contains(QLatin1Char('_')));
    t.answer();
    QCOMPARE(t.s->rightCount(), 1);
    QVERIFY(t.naprejShown());
}

void TestVstaviBesedo::themeMenuOpensRestartsAndClosesTheActivity()
{
    TestHost host;
    writeSentencePacks(host.packDir());
    TfMeniVstaviBesedo menu(host);
    QVERIFY(!menu.activity());
    QCOMPARE(hintOf(menu.findChild<QLabel *>(QStringLiteral("Label1"))), QStringLiteral("A40"));

    menu.BitBtn1Click(2); // park
    QPointer<TfVstaviBesedo> a = menu.activity();
    QVERIFY(a);
    QVERIFY(a->isVisible());
    QCOMPARE(a->windowTitle(), QStringLiteral("Deseta igra"));
    QCOMPARE(a->Tema(), 1);
    QCOMPARE(a->stavki()[0].ZvokStavka, QStringLiteral("B11"));
    QCOMPARE(sceneRgb(a), sceneColour(1).rgb());
    QVERIFY(a->trenutni().ZvokStavka.startsWith(QLatin1Char('B')));

    // Play a little, then choose the seaside over the open activity.
    for (int k = 1; k <= 4; ++k)
        if (a->choiceLabel(k)->text() != a->pravilna())
            QTest::mouseClick(a->choiceLabel(k), Qt::LeftButton);
    for (int k = 1; k <= 4; ++k)
        if (a->choiceLabel(k)->text() == a->pravilna())
            QTest::mouseClick(a->choiceLabel(k), Qt::LeftButton);
    QCOMPARE(a->wrongCount(), 3);
    QCOMPARE(a->solvedCount(), 1);
    menu.BitBtn1Click(4);
    QCOMPARE(menu.activity(), a.data()); // the same screen, restarted
    QCOMPARE(a->Tema(), 3);
    QCOMPARE(a->rightLabel()->text(), QStringLiteral("0"));
    QCOMPARE(a->wrongLabel()->text(), QStringLiteral("0"));
    QCOMPARE(a->solvedCount(), 0);
    QCOMPARE(sceneRgb(a), sceneColour(3).rgb());
    QCOMPARE(a->stavki()[9].ZvokStavka, QStringLiteral("B40"));
    int used = 0;
    for (const StavekIzbire &s : a->stavki())
        used += s.Uporabljen ? 1 : 0;
    QCOMPARE(used, 1);

    // "Zapri" leaves no activity behind.
    QTest::mouseClick(menu.button(5), Qt::LeftButton);
    QVERIFY(!menu.activity());
    QVERIFY(!a || !a->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(a.isNull());
    // Without an open activity "Zapri" just closes the menu.
    menu.BitBtn4Click();
    QVERIFY(!menu.activity());
}

void TestVstaviBesedo::konecShowsTheThemeMenuOverTheActivity()
{
    TestHost host;
    writeSentencePacks(host.packDir());
    TfMeniVstaviBesedo menu(host);
    menu.BitBtn1Click(1);
    QPointer<TfVstaviBesedo> a = menu.activity();
    QVERIFY(a);
    QWidget *konec = a->commandButton(ActivityScreen::Command::Konec);

    // KONEC, then the street: the menu was shown modally and the activity restarts with it.
    bool menuWasShown = false;
    QTimer::singleShot(0, &menu, [&] {
        menuWasShown = menu.isVisible() && QApplication::activeModalWidget() == &menu;
        QTest::mouseClick(menu.button(3), Qt::LeftButton);
    });
    QTest::mouseClick(konec, Qt::LeftButton);
    QVERIFY(menuWasShown);
    QVERIFY(!menu.isVisible());
    QVERIFY(a && a->isVisible());
    QCOMPARE(a->Tema(), 2);
    QCOMPARE(sceneRgb(a), sceneColour(2).rgb());

    // KONEC, then Escape: nothing chosen, the activity goes on as it was.
    const QString before = a->trenutni().ZvokStavka;
    QTimer::singleShot(0, &menu, [&] { menu.reject(); });
    QTest::mouseClick(konec, Qt::LeftButton);
    QVERIFY(a && a->isVisible());
    QCOMPARE(a->trenutni().ZvokStavka, before);

    // KONEC, then "Zapri": the activity is gone once the click is done.
    QTimer::singleShot(0, &menu, [&] { QTest::mouseClick(menu.button(5), Qt::LeftButton); });
    QTest::mouseClick(konec, Qt::LeftButton);
    QVERIFY(!menu.activity());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(a.isNull());
}

// The white menu over the white activity: a navy frame all round its edge, white inside it,
// and the frame never covers the title or a button.
void TestVstaviBesedo::themeMenuIsFramedOnTheWhiteScreen()
{
    TestHost host;
    writeSentencePacks(host.packDir());
    TfMeniVstaviBesedo menu(host);
    const QImage shot = menu.grab().toImage();
    QCOMPARE(shot.size(), QSize(346, 374));
    const QRgb navy = qRgb(0, 0, 128), white = qRgb(255, 255, 255);
    const int w = shot.width(), h = shot.height();
    for (const QPoint &edge : {QPoint(0, 0), QPoint(w / 2, 0), QPoint(w - 1, h / 2), QPoint(w / 2, h - 1),
                               QPoint(0, h / 2), QPoint(w - 1, h - 1), QPoint(2, h / 3), QPoint(w / 3, h - 3)})
        QCOMPARE(shot.pixel(edge), navy);
    for (const QPoint &inside : {QPoint(5, 5), QPoint(w - 6, h / 2), QPoint(w / 2, h - 6), QPoint(6, h - 6)})
        QCOMPARE(shot.pixel(inside), white);
    const QRect free = shot.rect().adjusted(4, 4, -4, -4);
    for (QWidget *c : menu.findChildren<QWidget *>())
        QVERIFY2(free.contains(c->geometry()), qPrintable(c->objectName()));
}

// NATISNI: the worksheet of the theme on screen: its scene over the top, its ten sentences in
// table order from y 515, 35 apart, each with its right word first at x 340, whichever
// sentence the screen shows and however it shuffled the words. The hourglass stays while the
// preview is open; the screen is as it was; each press gives a worksheet; no theme, no sheet.
void TestVstaviBesedo::natisniPrintsTheThemeAndLeavesTheScreen()
{
    Screen t(0);
    t.click(t.aWrongLabel());
    auto state = [&] {
        QStringList out{t.s->sentenceLabel()->text(), QString::number(t.s->rightCount()),
                        QString::number(t.s->wrongCount()),
                        QString::number(t.s->scene()->pixmap().cacheKey())};
        for (int k = 1; k <= 4; ++k)
            out << t.s->choiceLabel(k)->text()
                << QString::number(t.s->choiceLabel(k)->font().strikeOut())
                << QString::number(t.s->choiceLabel(k)->cursor().shape());
        return out;
    };
    const QStringList before = state();
    auto natisni = [&] {
        qobject_cast<QAbstractButton *>(t.button(ActivityScreen::Command::Natisni))->click();
    };
    const QList<ShownPreview> shown = catchPreviews(natisni, 2);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(state(), before);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(shown[0].title, QStringLiteral("TIPSOVO - Vstavi besedo"));
    QVERIFY(shown[0].busyCursor);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("vstavi.pdf"));
    QVERIFY(saveReportPdf(*shown[1].report, pdf));
    const QList<PdfWord> words = pdfWords(pdf);
    const auto &table = TfVstaviBesedo::vgrajeniStavki(0);
    for (int i = 1; i <= TfVstaviBesedo::kSentences; ++i) {
        const qreal y = 480 + 35 * i;
        const QString first = table[std::size_t(i - 1)].Besedilo.section(QLatin1Char(' '), 0, 0);
        const QString right = table[std::size_t(i - 1)].Izbire[0].section(QLatin1Char(' '), 0, 0);
        bool sentence = false, rightWord = false;
        for (const PdfWord &w : words) {
            const bool inRow = w.box.top() >= y - 2 && w.box.top() < y + 8;
            sentence |= inRow && w.text == first && std::abs(w.box.left() - 8) < 2.5;
            rightWord |= inRow && w.text == right && std::abs(w.box.left() - 340) < 2.5;
        }
        QVERIFY2(sentence, qPrintable(first));
        QVERIFY2(rightWord, qPrintable(right));
    }
    const QColor scene = bandPixel(pdfPageImage(pdf), 359, 257);
    QVERIFY(std::abs(scene.hue() - sceneColour(0).hue()) < 10);

    Screen none(TfVstaviBesedo::kNoTheme);
    QVERIFY(catchPreviews([&] {
                qobject_cast<QAbstractButton *>(none.button(ActivityScreen::Command::Natisni))
                    ->click();
            }).isEmpty());
}

QTEST_MAIN(TestVstaviBesedo)
#include "test_vstavibesedo.moc"
