// SPDX-License-Identifier: GPL-3.0-or-later
// Follow lines: the sheets from the pack, the red AND pen and its widths, the selection frame,
// a drawing that survives repaints and goes with a new choice, a missing pack or sheet.
#include "activities/drawing/tfgrafomotorika.h"
#include "activities/drawing/tracingcanvas.h"
#include "media/hint.h"
#include "support/packbuilder.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QFrame>
#include <QScrollArea>
#include <QtTest>
#include <memory>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

const QColor kNavy(0, 0, 128);

// Sheet i: white paper with a black band whose place tells the sheets apart.
QImage sheetPicture(int i)
{
    QImage img(120, 80, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int y = 0; y < 80; ++y)
        for (int x = 2 * i; x < 2 * i + 4; ++x)
            img.setPixel(x, y, qRgb(0, 0, 0));
    return img;
}

void writeSheets(TestHost &host, const QStringList &leaveOut = {})
{
    ResourcePackWriter w;
    for (int i = 0; i < TfGrafomotorika::sheets().size(); ++i) {
        const QString name = QString::fromLatin1(TfGrafomotorika::sheets().at(i).name);
        if (!leaveOut.contains(name))
            w.add(ResourceKind::Bitmap, name, dibOf(sheetPicture(i)));
    }
    QVERIFY(writePack(host.packDir(), QStringLiteral("Grafomotorika"), w));
}

QImage stretched(const QImage &sheet, QColor ground = kNavy)
{
    TracingSheet s(TfGrafomotorika::kAreaSize, ground);
    s.showSheet(sheet);
    return s.image();
}

void press(QWidget *w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(at), w->mapToGlobal(QPointF(at)), button, button, {});
    QCoreApplication::sendEvent(w, &e);
}

void dragTo(QWidget *w, QPoint at, Qt::MouseButtons held = Qt::LeftButton)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::NoButton, held, {});
    QCoreApplication::sendEvent(w, &e);
}

// The screen on a pack with every sheet, shown, with a red line drawn across row 200 of the
// first sheet.
struct DrawnOn {
    TestHost host;
    std::unique_ptr<TfGrafomotorika> s;
    TracingCanvas *area = nullptr;
    bool exposed = false;

    DrawnOn()
    {
        writeSheets(host);
        s = std::make_unique<TfGrafomotorika>(host);
        s->show();
        exposed = QTest::qWaitForWindowExposed(s.get());
        area = s->drawingArea();
        press(area, {100, 200});
        dragTo(area, {500, 200});
    }
};

// How many pixels of row y are pure red.
int redRun(const QImage &img, int y)
{
    int n = 0;
    for (int x = 0; x < img.width(); ++x)
        n += img.pixel(x, y) == qRgb(255, 0, 0);
    return n;
}

} // namespace

class TestGrafomotorika : public QObject {
    Q_OBJECT
private slots:
    void thumbnailsCarryTheirSheetsHintsAndPens();
    void penCombinesByAnd_data();
    void penCombinesByAnd();
    void thinPenForTheLastTenSheets();
    void firstPaintShowsTheFirstSheet();
    void repaintKeepsTheDrawing();
    void choosingASheetClearsTheDrawing();
    void frameFollowsEveryClick();
    void onlyTheLeftButtonDraws();
    void missingPack();
    void missingSheet();
    void onlyKonecInTheCommandRow();
};

void TestGrafomotorika::thumbnailsCarryTheirSheetsHintsAndPens()
{
    TestHost host;
    writeSheets(host);
    TfGrafomotorika s(host);
    QVERIFY(host.errors.isEmpty());
    QCOMPARE(TfGrafomotorika::sheets().size(), 29);
    for (int i = 0; i < 29; ++i) {
        PictureBox *t = s.thumbnail(i);
        QCOMPARE(t->objectName(), QStringLiteral("Image%1").arg(i + 1));
        QCOMPARE(t->size(), QSize(100, 66));
        QCOMPARE(tagOf(t), i < 19 ? 10 : 5);
        // The thumbnail holds the whole sheet of its own name.
        QCOMPARE(s.sheetPicture(i), sheetPicture(i));
        QVERIFY(!t->pixmap().isNull());
    }
    QCOMPARE(hintOf(s.thumbnail(2)), QStringLiteral("S20A"));
    QCOMPARE(hintOf(s.thumbnail(19)), QStringLiteral("S17"));
    QCOMPARE(hintOf(s.thumbnail(28)), QStringLiteral("S28"));
    // The column scrolls down to the last thumbnail.
    QVERIFY(s.scrollBox()->widget()->height() >= s.thumbnail(28)->geometry().bottom());
}

void TestGrafomotorika::penCombinesByAnd_data()
{
    QTest::addColumn<QColor>("paper");
    QTest::addColumn<QColor>("after");
    QTest::newRow("white turns red") << QColor(Qt::white) << QColor(255, 0, 0);
    QTest::newRow("black stays black") << QColor(Qt::black) << QColor(0, 0, 0);
    QTest::newRow("grey keeps its red") << QColor(200, 100, 50) << QColor(200, 0, 0);
    QTest::newRow("navy ground goes black") << kNavy << QColor(0, 0, 0);
}

void TestGrafomotorika::penCombinesByAnd()
{
    QFETCH(QColor, paper);
    QFETCH(QColor, after);
    TracingSheet s({100, 50}, paper);
    s.penDown({10, 25});
    s.lineTo({90, 25});
    s.lineTo({90, 40});
    QCOMPARE(s.image().pixelColor(50, 25), after);
    QCOMPARE(s.image().pixelColor(90, 35), after);
    // Drawing twice over the same place changes nothing more.
    s.penDown({10, 25});
    s.lineTo({90, 25});
    QCOMPARE(s.image().pixelColor(50, 25), after);
    QCOMPARE(s.image().pixelColor(50, 5), paper);
}

void TestGrafomotorika::thinPenForTheLastTenSheets()
{
    TestHost host;
    writeSheets(host);
    TfGrafomotorika s(host);
    TracingCanvas *area = s.drawingArea();
    // How many pixels across a vertical stroke changes.
    auto widthDrawn = [&] {
        const QImage before = area->sheet().image();
        press(area, {300, 100});
        dragTo(area, {300, 300});
        int changed = 0;
        for (int x = 0; x < before.width(); ++x)
            changed += area->sheet().image().pixel(x, 200) != before.pixel(x, 200);
        return changed;
    };
    QCOMPARE(widthDrawn(), 10); // at creation
    s.chooseSheet(19); // S17
    QCOMPARE(widthDrawn(), 5);
    s.chooseSheet(28);
    QCOMPARE(widthDrawn(), 5);
    s.chooseSheet(0); // S1 again
    QCOMPARE(widthDrawn(), 10);
}

void TestGrafomotorika::firstPaintShowsTheFirstSheet()
{
    TestHost host;
    writeSheets(host);
    TfGrafomotorika s(host);
    QVERIFY(s.drawingArea()->firstSheetPending());
    QCOMPARE(s.drawingArea()->sheet().image().pixelColor(300, 200), kNavy);
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    QCoreApplication::processEvents();
    QVERIFY(!s.drawingArea()->firstSheetPending());
    QCOMPARE(s.drawingArea()->sheet().image(), stretched(sheetPicture(0)));
    QCOMPARE(s.selectionFrame()->y(), 8 - 3);
    // The instruction is spoken when the screen shows, and keeps trying.
    QTRY_VERIFY(!host.log->entries().isEmpty());
    QCOMPARE(host.log->entries().first().name, QStringLiteral("A43"));
    QVERIFY(host.log->entries().first().keepTrying);
}

void TestGrafomotorika::repaintKeepsTheDrawing()
{
    DrawnOn d;
    QVERIFY(d.exposed);
    TracingCanvas *area = d.area;
    // Whatever covers the area and goes away, it paints the sheet with the child's line again.
    const QImage shown = area->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.pixelColor(300, 200), QColor(255, 0, 0));
    QCOMPARE(shown.pixelColor(300, 100), QColor(Qt::white));
    area->hide();
    area->show();
    area->repaint();
    QCOMPARE(area->grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
}

void TestGrafomotorika::choosingASheetClearsTheDrawing()
{
    DrawnOn d;
    QVERIFY(d.exposed);
    TracingCanvas *area = d.area;
    QVERIFY(redRun(area->sheet().image(), 200) > 300);
    // A click on the thumbnail of the sheet already shown starts afresh.
    press(d.s->thumbnail(0), {50, 33});
    QCOMPARE(area->sheet().image(), stretched(sheetPicture(0)));
    press(d.s->thumbnail(7), {50, 33});
    QCOMPARE(area->sheet().image(), stretched(sheetPicture(7)));
}

void TestGrafomotorika::frameFollowsEveryClick()
{
    TestHost host;
    writeSheets(host);
    TfGrafomotorika s(host);
    QFrame *frame = s.selectionFrame();
    QCOMPARE(frame->geometry(), QRect(5, 5, 106, 72));
    for (int i : {3, 28, 12, 12, 0}) {
        press(s.thumbnail(i), {10, 10});
        QCOMPARE(frame->y(), TfGrafomotorika::sheets().at(i).top - 3);
        QCOMPARE(frame->x(), 5);
        // Behind the thumbnails, so it frames the picture without covering it.
        const QObjectList order = frame->parent()->children();
        QVERIFY(order.indexOf(frame) < order.indexOf(s.thumbnail(i)));
    }
}

void TestGrafomotorika::onlyTheLeftButtonDraws()
{
    TestHost host;
    writeSheets(host);
    TfGrafomotorika s(host);
    s.chooseSheet(1);
    TracingCanvas *area = s.drawingArea();
    const QImage before = area->sheet().image();
    press(area, {100, 200}, Qt::RightButton);
    dragTo(area, {500, 200}, Qt::RightButton);
    dragTo(area, {500, 300}, Qt::NoButton);
    QCOMPARE(area->sheet().image(), before);
}

void TestGrafomotorika::missingPack()
{
    TestHost host;
    TfGrafomotorika s(host);
    // The system's text in one message box; the screen opens with empty thumbnails.
    QCOMPARE(host.errors.size(), 1);
    QVERIFY(!host.errors.first().isEmpty());
    for (int i = 0; i < 29; ++i)
        QVERIFY(s.thumbnail(i)->pixmap().isNull());
    s.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    TracingCanvas *area = s.drawingArea();
    QCOMPARE(area->sheet().image(), stretched(QImage()));
    // Drawing still works on the bare navy ground.
    press(area, {100, 200});
    dragTo(area, {500, 200});
    QCOMPARE(area->sheet().image().pixelColor(300, 200), QColor(0, 0, 0));
}

void TestGrafomotorika::missingSheet()
{
    TestHost host;
    writeSheets(host, {QStringLiteral("S5")});
    TfGrafomotorika s(host);
    QVERIFY(host.errors.isEmpty());
    QVERIFY(s.thumbnail(7)->pixmap().isNull());
    QVERIFY(!s.thumbnail(8)->pixmap().isNull());
    s.chooseSheet(3);
    s.chooseSheet(7);
    QCOMPARE(s.drawingArea()->sheet().image(), stretched(QImage()));
    QCOMPARE(tagOf(s.thumbnail(7)), 10);
}

// No worksheet belongs to this screen: NATISNI, like the exercise commands, is hidden and
// cannot be pressed; KONEC is the one command.
void TestGrafomotorika::onlyKonecInTheCommandRow()
{
    TestHost host;
    writeSheets(host);
    TfGrafomotorika s(host);
    s.show();
    using Command = ActivityScreen::Command;
    for (Command c : {Command::Naprej, Command::Pomoc, Command::Natisni, Command::Ponovi}) {
        QVERIFY(!s.commandButton(c)->isVisible());
        QVERIFY(!s.commandButton(c)->isEnabled());
    }
    QVERIFY(s.commandButton(Command::Konec)->isVisible());
    QVERIFY(s.commandButton(Command::Konec)->isEnabled());
}

QTEST_MAIN(TestGrafomotorika)
#include "test_grafomotorika.moc"
