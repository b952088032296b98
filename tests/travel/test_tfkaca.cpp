// SPDX-License-Identifier: GPL-3.0-or-later
// The travel game's screen and the town card with small packs of their own: keys, pacing,
// pause on leaving the program, the end of a game with its sounds and marker, the card's
// hidden chooser and missing packs.
#include "activities/travel/tfkaca.h"
#include "activities/travel/tfmesto.h"
#include "support/packbuilder.h"
#include "support/previewcatcher.h"
#include "support/testhost.h"
#include "widgets/controls.h"
#include "widgets/odometer.h"
#include "widgets/textlabel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

void writeSounds(TestHost &host)
{
    writeTestSoundPack(host.packDir(), QStringLiteral("snd"),
                       {"A25", "A9", "narobe", "prav", "Ptuj", "NovaGorica"}, 100);
}

// "MESTA" with texts of Ptuj and Novo mesto and the pictures of Ptuj, Novo mesto and Koper
// (Koper has no text).
void writeTowns(TestHost &host)
{
    ResourcePackWriter w;
    w.add(ResourceKind::RcData, QStringLiteral("PTUJ"),
          toCp1250(QStringLiteral("Ptuj je najstarejše mesto.\r\nLeži ob Dravi.")));
    w.add(ResourceKind::RcData, QStringLiteral("NOVOMESTO"),
          toCp1250(QStringLiteral("Novo mesto leži ob Krki.")));
    w.add(ResourceKind::Bitmap, QStringLiteral("PTUJ"), solidDib({511, 360}, Qt::red));
    w.add(ResourceKind::Bitmap, QStringLiteral("NOVOMESTO"), solidDib({511, 360}, Qt::blue));
    w.add(ResourceKind::Bitmap, QStringLiteral("KOPER"), solidDib({511, 360}, Qt::green));
    QVERIFY(writePack(host.packDir(), QStringLiteral("MESTA"), w));
}

void writeMap(TestHost &host, QColor colour)
{
    ResourcePackWriter w;
    w.add(ResourceKind::Bitmap, QStringLiteral("slo16M"), solidDib({310, 210}, colour));
    w.add(ResourceKind::Bitmap, QStringLiteral("slo256"), solidDib({310, 210}, colour));
    QVERIFY(writePack(host.packDir(), QStringLiteral("slX"), w));
}

void key(QWidget *w, int k, Qt::KeyboardModifiers mods = {}, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, mods, text);
    QCoreApplication::sendEvent(w, &press);
}

// A new game of the current type until the draw gives `town`.
void playTo(TfKaca &s, const QString &town)
{
    for (int i = 0; i < 1000 && s.model().currentTown().display != town; ++i)
        s.Inicializacija();
}

// The locomotive's next cell gets frog `i`, then one step.
void eatNext(TfKaca &s, int i)
{
    QList<Frog> frogs = s.model().frogs();
    static const QPoint d[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    frogs[i].cell = s.model().train().first() + d[s.model().direction()];
    s.model().setFrogs(frogs);
    s.GameLoop();
}

} // namespace

class TestTfKaca : public QObject {
    Q_OBJECT

private slots:
    void mapFromPackAndWithout()
    {
        TestHost host;
        writeMap(host, QColor(10, 200, 30));
        TfKaca s(host);
        // The map is stretched onto the whole board.
        QCOMPARE(s.board().background().size(), QSize(620, 420));
        QCOMPARE(s.board().background().pixelColor(600, 400), QColor(10, 200, 30));
        QVERIFY(host.errors.isEmpty());

        // Without "slX" the board keeps its plain colour and nothing is reported.
        TestHost bare;
        TfKaca t(bare);
        QCOMPARE(t.board().background().size(), QSize(620, 420));
        QVERIFY(bare.errors.isEmpty());
        QCOMPARE(t.instructionLine()->text(), KacaModel::titleText());
    }

    // The built map pack: both pictures at board size, the 8-bit one a palette picture that
    // the program's reader decodes to nearly the same colours.
    void defaultMapPack()
    {
        TestHost host;
        const QString built = qEnvironmentVariable("TIPSOVO_BUILD_DIR") + QStringLiteral("/slX.ipo");
        QVERIFY2(QFile::copy(built, QDir(host.packDir()).filePath(QStringLiteral("slX.ipo"))),
                 qPrintable(built));
        QImage full, palette;
        host.media().NaloziSliko(QStringLiteral("slX"), QStringLiteral("slo16M"), full);
        host.media().NaloziSliko(QStringLiteral("slX"), QStringLiteral("slo256"), palette);
        QVERIFY(host.errors.isEmpty());
        QCOMPARE(full.size(), QSize(620, 420));
        QCOMPARE(palette.size(), QSize(620, 420));
        QCOMPARE(palette.format(), QImage::Format_Indexed8);
        QVERIFY(palette.colorCount() <= 256);
        qint64 diff = 0;
        for (int y = 0; y < 420; y += 3) {
            for (int x = 0; x < 620; x += 3) {
                const QColor a = full.pixelColor(x, y), b = palette.pixelColor(x, y);
                diff += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
            }
        }
        QVERIFY2(diff / (140 * 207) < 12, qPrintable(QString::number(diff / (140 * 207))));
        // Slovenia's land, the sea and a neighbour differ.
        QVERIFY(full.pixelColor(300, 200) != full.pixelColor(20, 380));
        QVERIFY(full.pixelColor(300, 200) != full.pixelColor(300, 20));
    }

    void keysStartPauseAndSpeed()
    {
        TestHost host;
        TfKaca s(host);
        QVERIFY(!s.tmrPause().isActive());
        key(&s, Qt::Key_Down);
        QVERIFY(s.model().running());
        QVERIFY(s.tmrPause().isActive());
        key(&s, Qt::Key_Space);
        QVERIFY(s.model().paused());
        QVERIFY(!s.tmrPause().isActive());
        // Leaving the program keeps it paused; coming back resumes even a space-bar pause.
        s.ApplicationEvents1Deactivate();
        s.ApplicationEvents1Activate();
        QVERIFY(!s.model().paused());
        QVERIFY(s.tmrPause().isActive());
        s.ApplicationEvents1Deactivate();
        QVERIFY(s.model().paused());
        QVERIFY(!s.tmrPause().isActive());

        key(&s, Qt::Key_Plus);
        QCOMPARE(s.model().interval(), 100);
        key(&s, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(s.model().interval(), 100);
        key(&s, Qt::Key_Minus);
        key(&s, Qt::Key_Minus);
        QCOMPARE(s.model().interval(), 300);

        key(&s, Qt::Key_T);
        QCOMPARE(s.chosenType(), KacaModel::Tezka);
        QVERIFY(!s.lblMesto()->caption().isEmpty());
        key(&s, Qt::Key_L);
        QCOMPARE(s.chosenType(), KacaModel::Lahka);
        QVERIFY(s.lblMesto()->caption().isEmpty());
    }

    // Steps are due one interval after the due time of the step before, not after the timer
    // happened to fire.
    void stepsPacedFromTheirDueTime()
    {
        TestHost host;
        TfKaca s(host);
        s.model().setFrogs({Frog{{5, 15}, QStringLiteral("x")}});
        key(&s, Qt::Key_Down);
        const double first = s.nextDueMs();
        s.GameLoop();
        s.GameLoop();
        QCOMPARE(s.nextDueMs(), first + 2 * s.model().interval());
        QVERIFY(s.tmrPause().isActive());
        QVERIFY(s.tmrPause().remainingTime() > s.model().interval());
        QCOMPARE(s.odometer()->value(), 2u);
        QCOMPARE(s.model().train().first(), QPoint(15, 3));
    }

    void crashIntoTheWall()
    {
        TestHost host;
        writeSounds(host);
        TfKaca s(host);
        key(&s, Qt::Key_Up); // from row 1 straight into the wall
        host.log->clear();
        s.GameLoop();
        QVERIFY(!s.model().running());
        QCOMPARE(s.instructionLine()->text(), KacaModel::wallText());
        QCOMPARE(s.wrongLabel()->text(), QStringLiteral("1"));
        QVERIFY(!s.tmrPause().isActive());
        QCOMPARE(host.log->requested(), QStringList{QStringLiteral("narobe")});
        // Arrows do nothing until a new game.
        key(&s, Qt::Key_Down);
        QVERIFY(!s.model().running());
        key(&s, Qt::Key_Space);
        QCOMPARE(s.instructionLine()->text(), KacaModel::titleText());
        QCOMPARE(s.wrongLabel()->text(), QStringLiteral("1"));
    }

    // Easy type, "Ptuj": four letters, then the name and the praise, the marker centred on the
    // town, and a click on it opens the card of Ptuj.
    void destinationSpeaksAndOpensTheCard()
    {
        TestHost host;
        writeSounds(host);
        writeTowns(host);
        TfKaca s(host);
        s.show();
        playTo(s, QStringLiteral("Ptuj"));
        s.model().setTrain({{5, 10}, {4, 10}}, KacaModel::Right);
        key(&s, Qt::Key_Right);
        host.log->clear();
        for (int i = 0; i < 4; ++i)
            eatNext(s, 0);
        QCOMPARE(s.lblResenoMesto()->text(), QStringLiteral("Ptuj"));
        QCOMPARE(s.instructionLine()->text(), KacaModel::destinationText());
        QCOMPARE(s.rightLabel()->text(), QStringLiteral("1"));
        host.clock.runPending(); // the praise follows the name
        QCOMPARE(host.log->requested(), (QStringList{QStringLiteral("Ptuj"), QStringLiteral("A9")}));
        QVERIFY(s.marker()->isVisible());
        QCOMPARE(s.marker()->geometry().center(), QPoint(25 + 472, 120 + 140));
        QVERIFY(s.tmrMesto().isActive());
        s.tmrMestoTimer();

        QTest::mouseClick(s.marker(), Qt::LeftButton, {}, QPoint(7, 7));
        QVERIFY(s.card());
        QCOMPARE(s.card()->title()->text(), QStringLiteral("Ptuj"));
        QCOMPARE(s.card()->memo()->toPlainText(),
                 QStringLiteral("Ptuj je najstarejše mesto.\nLeži ob Dravi."));
        QCOMPARE(s.card()->picture().pixelColor(10, 10), QColor(Qt::red));

        // A new game hides the marker again.
        s.Ponovi();
        QVERIFY(!s.marker()->isVisible());
        QVERIFY(!s.tmrMesto().isActive());
        QCOMPARE(s.rightLabel()->text(), QStringLiteral("1"));
    }

    void hardTypeShowsTheNextLetterInRed()
    {
        TestHost host;
        writeSounds(host);
        TfKaca s(host);
        key(&s, Qt::Key_T);
        playTo(s, QStringLiteral("Ptuj"));
        QCOMPARE(s.lblMesto()->caption(), KacaModel::FormatirajLabelo(QStringLiteral("Ptuj"), 1));
        s.model().setTrain({{5, 10}, {4, 10}}, KacaModel::Right);
        key(&s, Qt::Key_Right);
        eatNext(s, 0);
        QCOMPARE(s.lblMesto()->caption(), KacaModel::FormatirajLabelo(QStringLiteral("Ptuj"), 2));
        // The red piece is the due letter.
        bool redT = false;
        for (const MarkupPiece &p : s.lblMesto()->pieces())
            redT = redT || (p.text == QStringLiteral("t") && p.color == QColor(Qt::red));
        QVERIFY(redT);

        // A frog of a later letter ("j" before "t"): the child hears "narobe", the red count
        // grows, the train stays as long and the name still waits for its "t".
        const int length = s.model().train().size();
        host.log->clear();
        eatNext(s, 3);
        QCOMPARE(host.log->requested(), QStringList{QStringLiteral("narobe")});
        QCOMPARE(s.wrongLabel()->text(), QStringLiteral("1"));
        QCOMPARE(s.model().train().size(), length);
        QCOMPARE(s.lblMesto()->caption(), KacaModel::FormatirajLabelo(QStringLiteral("Ptuj"), 2));
    }

    // Holding Ctrl and typing the code word opens the chooser, also after other Ctrl keys;
    // without Ctrl, or after Ctrl+Enter, the word must be typed again in full.
    void cardChooserCodeWord()
    {
        TestHost host;
        writeTowns(host);
        RandomSource r(1);
        KacaModel model(r);
        TfMesto card(host, model);
        auto type = [&](const char *keys, Qt::KeyboardModifiers mods) {
            for (const char *k = keys; *k; ++k)
                key(&card, Qt::Key_A + (*k - 'a'), mods, QString(QChar(*k)));
        };
        type("zrmb", {});
        QVERIFY(card.chooser()->isHidden());
        type("zr", Qt::ControlModifier);
        key(&card, Qt::Key_Return, Qt::ControlModifier);
        type("mb", Qt::ControlModifier);
        QVERIFY(card.chooser()->isHidden());
        type("qzrmb", Qt::ControlModifier);
        QVERIFY(!card.chooser()->isHidden());
        QVERIFY(!card.hideButton()->isHidden());
        QCOMPARE(card.chooser()->count(), 28);
        QCOMPARE(card.chooser()->itemText(14), QStringLiteral("Novo mesto"));

        card.btnSkrijClick();
        QVERIFY(card.chooser()->isHidden());
        QVERIFY(card.typedKeys().isEmpty());
    }

    void cardChoosingTowns()
    {
        TestHost host;
        writeTowns(host);
        RandomSource r(1);
        KacaModel model(r);
        TfMesto card(host, model);

        card.showTown(model.townIndexByName(QStringLiteral("Novo mesto")));
        QCOMPARE(card.title()->text(), QStringLiteral("Novo mesto"));
        QCOMPARE(card.memo()->toPlainText(), QStringLiteral("Novo mesto leži ob Krki."));
        QCOMPARE(card.picture().pixelColor(1, 1), QColor(Qt::blue));

        // Koper has a picture but no text: the text of Novo mesto stays.
        key(&card, Qt::Key_Control, Qt::ControlModifier);
        for (char c : {'z', 'r', 'm', 'b'})
            key(&card, Qt::Key_A + (c - 'a'), Qt::ControlModifier);
        card.chooser()->setCurrentIndex(6);
        card.comboMestaChange(6);
        QCOMPARE(card.title()->text(), QStringLiteral("Koper"));
        QCOMPARE(card.memo()->toPlainText(), QStringLiteral("Novo mesto leži ob Krki."));
        QCOMPARE(card.picture().pixelColor(1, 1), QColor(Qt::green));
        QVERIFY(host.errors.isEmpty());

        // A town without a picture in the open pack is reported, and the picture stays.
        card.showTown(model.townIndexByName(QStringLiteral("Bovec")));
        QCOMPARE(host.errors.size(), 1);
        QCOMPARE(card.picture().pixelColor(1, 1), QColor(Qt::green));
    }

    // NATISNI on the card: the town worksheet of the town shown, its text and picture read
    // from the pack again, under the hourglass while the preview is open; the card is as it
    // was, and each press gives a worksheet of its own.
    void cardNatisniPrintsTheShownTown()
    {
        TestHost host;
        writeTowns(host);
        RandomSource r(1);
        KacaModel model(r);
        TfMesto card(host, model);
        auto *button = card.findChild<FlatButton *>(QStringLiteral("SpeedButton1"));
        QVERIFY(button);
        auto natisni = [&] { button->click(); };

        // Nothing on the card yet: nothing to print.
        QVERIFY(catchPreviews(natisni).isEmpty());

        card.showTown(model.townIndexByName(QStringLiteral("Ptuj")));
        const QString memoBefore = card.memo()->toPlainText();
        const QList<ShownPreview> shown = catchPreviews(natisni, 2);
        QCOMPARE(shown.size(), 2);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        for (const ShownPreview &p : shown) {
            QCOMPARE(p.title, QStringLiteral("TIPSOVO - Kam potujemo?"));
            QVERIFY(p.busyCursor);
        }
        Report sheet = *shown[1].report;
        QCOMPARE(sheet.text(QStringLiteral("QRLabel1"))->text, QStringLiteral("Ptuj"));
        QCOMPARE(sheet.memo(QStringLiteral("qrmmoMesto"))->lines,
                 QStringList({QStringLiteral("Ptuj je najstarejše mesto."),
                              QStringLiteral("Leži ob Dravi.")}));
        QCOMPARE(sheet.picture(QStringLiteral("qrimgMesto"))->image.pixelColor(5, 5),
                 QColor(Qt::red));
        QCOMPARE(card.title()->text(), QStringLiteral("Ptuj"));
        QCOMPARE(card.memo()->toPlainText(), memoBefore);
        QCOMPARE(card.picture().pixelColor(1, 1), QColor(Qt::red));

        // Koper, chosen in the hidden chooser, has no text: the card keeps showing Ptuj's, the
        // worksheet prints Koper with an empty memo and Koper's picture.
        key(&card, Qt::Key_Control, Qt::ControlModifier);
        for (char c : {'z', 'r', 'm', 'b'})
            key(&card, Qt::Key_A + (c - 'a'), Qt::ControlModifier);
        card.comboMestaChange(card.chooser()->findText(QStringLiteral("Koper")));
        const QList<ShownPreview> koper = catchPreviews(natisni);
        QCOMPARE(koper.size(), 1);
        sheet = *koper[0].report;
        QCOMPARE(sheet.text(QStringLiteral("QRLabel1"))->text, QStringLiteral("Koper"));
        QVERIFY(sheet.memo(QStringLiteral("qrmmoMesto"))->lines.isEmpty());
        QCOMPARE(sheet.picture(QStringLiteral("qrimgMesto"))->image.pixelColor(5, 5),
                 QColor(Qt::green));
        QCOMPARE(card.memo()->toPlainText(), memoBefore);
        QVERIFY(host.errors.isEmpty());
    }

    void cardWithoutItsPack()
    {
        TestHost host;
        RandomSource r(1);
        KacaModel model(r);
        TfMesto card(host, model);
        card.showTown(model.townIndexByName(QStringLiteral("Ptuj")));
        QCOMPARE(card.title()->text(), QStringLiteral("Ptuj"));
        QVERIFY(card.memo()->toPlainText().isEmpty());
        QVERIFY(card.picture().isNull());
        QVERIFY(host.errors.isEmpty());
    }
};

QTEST_MAIN(TestTfKaca)
#include "test_tfkaca.moc"
