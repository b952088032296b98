// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheets the NATISNI buttons show, built from real screens (or from the values a screen
// passes), written to PDF and read back: texts and where they stand, red underlined letters,
// card heights, how pictures fill their boxes; and the screens as they were afterwards.
#include "activities/common/activityscreen.h"
#include "activities/common/lettercells.h"
#include "activities/letters/matchingscreen.h"
#include "activities/letters/tfbesede.h"
#include "activities/letters/tfcrke.h"
#include "activities/letters/tfkjejecrka.h"
#include "activities/letters/tfsestavizloge.h"
#include "activities/letters/tfvislice.h"
#include "activities/letters/tfzamenjajcrke.h"
#include "media/hint.h"
#include "media/slovenian.h"
#include "print/reportpreview.h"
#include "print/worksheets.h"
#include "support/packbuilder.h"
#include "support/pdfpage.h"
#include "support/previewcatcher.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QApplication>
#include <QSet>
#include <QLabel>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <optional>

using namespace tipsovo;
using namespace tipsovo::test;

using Command = ActivityScreen::Command;
using Kind = PictureCardSheet::Kind;

namespace {

using Shown = ShownPreview;

// Presses NATISNI `times` times and answers each preview that opens: records it and closes it.
QList<Shown> pressNatisni(ActivityScreen &screen, int times = 1)
{
    return catchPreviews([&] { screen.commandButton(Command::Natisni)->click(); }, times);
}

QString pdfOf(const Report &r, const QTemporaryDir &dir, const QString &name = "sheet.pdf")
{
    const QString path = dir.filePath(name);
    if (!saveReportPdf(r, path))
        qWarning("could not write %s", qPrintable(path));
    // TIPSOVO_KEEP_SHEETS=folder keeps a copy of every worksheet, to look at.
    if (const QString keep = qEnvironmentVariable("TIPSOVO_KEEP_SHEETS"); !keep.isEmpty())
        QFile::copy(path, QDir(keep).filePath(QString::fromLatin1(QTest::currentTestFunction())
                                              + QLatin1Char('-')
                                              + QString::fromLatin1(QTest::currentDataTag())
                                              + name));
    return path;
}

// Everything a child sees of a screen's cells and counters, to compare before and after.
QStringList screenState(const ActivityScreen &s)
{
    QStringList out;
    for (const QLabel *l : s.findChildren<QLabel *>())
        out << QStringLiteral("%1|%2|%3|%4|%5|%6")
                   .arg(l->objectName(), l->text())
                   .arg(l->palette().color(QPalette::WindowText).name())
                   .arg(l->isVisibleTo(&s))
                   .arg(l->cursor().shape())
                   .arg(l->pixmap().cacheKey());
    out << QString::number(s.rightCount()) << QString::number(s.wrongCount())
        << QString::number(s.commandButton(Command::Naprej)->isVisibleTo(&s));
    return out;
}

bool isRed(const QColor &c) { return c.red() > 160 && c.green() < 110 && c.blue() < 110; }

// Whether some pixel row of the band box is red across most of its width (an underline).
bool hasRedRow(const QImage &page, const QRectF &box)
{
    for (int y = int(box.top()); y <= int(box.bottom()); ++y) {
        int red = 0, all = 0;
        for (int x = int(box.left()); x <= int(box.right()); ++x, ++all)
            red += isRed(bandPixel(page, x, y));
        if (all > 0 && red * 10 >= all * 8)
            return true;
    }
    return false;
}

// A screen over packs of its own with every target picture, seeded and started.
template <typename Screen> struct Opened {
    TestHost host;
    std::unique_ptr<Screen> s;
    explicit Opened(const QString &pack, quint32 seed = 3)
    {
        writeTestSoundPack(host.packDir(), QStringLiteral("snd"), {"A26", "A28", "prav"}, 200);
        ResourcePackWriter pictures;
        int n = 0;
        for (const auto &g : Screen::groups())
            pictures.add(ResourceKind::Bitmap, wordResourceName(g.target),
                         solidDib({120, 120}, QColor::fromHsv((n++ * 41) % 360, 220, 220)));
        writePack(host.packDir(), pack, pictures);
        s = std::make_unique<Screen>(host);
        s->random().seed(seed);
        s->startFirstSet();
    }
};

// A four-panel screen over packs of its own. Every word's picture is `size` pixels square, red
// with a blue lower-right corner past 120 × 120, so a picture cut off at 120 shows no blue.
template <typename Screen> struct OpenedPanels {
    TestHost host;
    std::unique_ptr<Screen> s;
    OpenedPanels(const QString &pack, int size, bool start = true)
    {
        writeTestSoundPack(host.packDir(), QStringLiteral("snd"),
                           {"A35", "A36", "A9", "prav", "narobe"}, 200);
        QImage pic(size, size, QImage::Format_RGB32);
        pic.fill(Qt::red);
        QPainter(&pic).fillRect(120, 120, size - 120, size - 120, Qt::blue);
        ResourcePackWriter pictures;
        for (const auto &w : Screen::wordTable())
            pictures.add(ResourceKind::Bitmap, w.Ime, dibOf(pic));
        writePack(host.packDir(), pack, pictures);
        s = std::make_unique<Screen>(host);
        s->random().seed(7);
        if (start)
            s->startFirstSet();
    }
};

constexpr int kCardTop[4] = {105, 334, 564, 793};

// The word of the PDF whose text is `text` and whose top-left corner lies near `at` (the
// place of a grown field, a glyph's top a few pixels below it).
bool printedNear(const QList<PdfWord> &words, const QString &text, QPointF at)
{
    for (const PdfWord &w : wordsNamed(words, text))
        if (std::abs(w.box.left() - at.x()) < 3.5 && w.box.top() >= at.y() - 6
            && w.box.top() < at.y() + 10)
            return true;
    return false;
}

// Whether any pixel of the band box is clearly red.
bool anyRed(const QImage &page, const QRectF &box)
{
    for (int y = int(box.top()); y <= int(box.bottom()); ++y)
        for (int x = int(box.left()); x <= int(box.right()); ++x)
            if (isRed(bandPixel(page, x, y)))
                return true;
    return false;
}

// The dark stretches of the band row y between x0 and x1, as [start, end) pairs.
QList<QPair<int, int>> darkRuns(const QImage &page, int y, int x0, int x1)
{
    QList<QPair<int, int>> runs;
    int start = -1;
    for (int x = x0; x <= x1 + 1; ++x) {
        const bool dark = x <= x1 && bandPixel(page, x, y).lightness() < 160;
        if (dark && start < 0)
            start = x;
        if (!dark && start >= 0) {
            runs.append({start, x});
            start = -1;
        }
    }
    return runs;
}

// The letter row under card q's picture as the child sees it: the pixel row between the
// picture's bottom and the card's with the most dark stretches, split into them.
QList<QPair<int, int>> letterRowRuns(const QImage &page, int cardTop)
{
    QList<QPair<int, int>> best;
    for (int y = cardTop + 150; y < cardTop + 178; ++y) {
        const QList<QPair<int, int>> runs = darkRuns(page, y, 176, 330);
        if (runs.size() > best.size())
            best = runs;
    }
    return best;
}

// Whether nothing but the outline is drawn near card q's edge right of its picture: a band
// of 3 px inside the outline at the top, bottom and right, and 5 px outside above the card.
bool offersClearOfTheEdge(const QImage &page, int top, int height, QString *where)
{
    auto clear = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (bandPixel(page, x, y).lightness() < 200) {
                    *where = QStringLiteral("%1,%2").arg(x).arg(y - top);
                    return false;
                }
        return true;
    };
    const int right = 165 + 387 - 1;
    return clear(305, right - 2, top - 5, top - 1) && clear(305, right - 2, top + 2, top + 4)
        && clear(305, right - 2, top + height - 5, top + height - 3)
        && clear(right - 4, right - 2, top + 2, top + height - 3);
}

// The offers of card q keep the screen's arrangement on the sheet: the same distances across,
// the distances down drawn together by one factor at most, none moved past another.
void checkOfferArrangement(Report &r, const WordPanelsScreen &s, int q)
{
    struct Place {
        QPointF screen, sheet;
    };
    QList<Place> places;
    for (int k = 1; k <= WordPanelsScreen::kOffers; ++k) {
        const LetterCell *c = s.offerCell(q, k);
        if (c->text().isEmpty())
            continue;
        const Report::Text *t = r.textWithTag(q * 1000 + 100 + k);
        QVERIFY(t);
        QCOMPARE(t->text, c->text());
        places.append({QPointF(c->mapTo(&s, QPoint())), t->rect.topLeft()});
    }
    QVERIFY(places.size() >= 2);
    auto byScreenY = [](const Place &a, const Place &b) { return a.screen.y() < b.screen.y(); };
    const Place top = *std::min_element(places.begin(), places.end(), byScreenY);
    const Place low = *std::max_element(places.begin(), places.end(), byScreenY);
    QVERIFY(low.screen.y() > top.screen.y());
    const qreal factor = (low.sheet.y() - top.sheet.y()) / (low.screen.y() - top.screen.y());
    QVERIFY2(factor > 0.85 && factor < 1.0001, qPrintable(QString::number(factor)));
    for (const Place &p : places) {
        const QPointF screen = p.screen - top.screen, sheet = p.sheet - top.sheet;
        QVERIFY(std::abs(sheet.x() - screen.x()) < 0.01);
        QVERIFY(std::abs(sheet.y() - factor * screen.y()) < 0.01);
    }
}

} // namespace

class TestWorksheets : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Words: the preview shows the words worksheet; the target of each task prints under its
    // picture from x 179 with the screen's spacing, the choice rows right of the picture; the
    // screen is as it was, and a second NATISNI gives a second worksheet.
    void wordsSheetCopiesTheScreen()
    {
        Opened<TfBesede> o(QStringLiteral("sl1A"));
        MatchingScreen &s = *o.s;
        const QStringList before = screenState(s);
        const QList<Shown> shown = pressNatisni(s, 2);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(screenState(s), before);
        QCOMPARE(shown[0].title, QStringLiteral("TIPSOVO - Besede"));
        QVERIFY(!shown[0].busyCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);

        QTemporaryDir dir;
        const QString pdf = pdfOf(*shown[1].report, dir);
        QCOMPARE(pdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("1"));
        const QList<PdfWord> words = pdfWords(pdf);
        const QList<PdfWord> heading = wordsNamed(words, QStringLiteral("POIŠČI"));
        QCOMPARE(heading.size(), 1);
        QVERIFY(heading[0].box.top() >= 15 && heading[0].box.bottom() <= 42);

        const int pictureTops[4] = {120, 349, 579, 808};
        for (int t = 1; t <= 4; ++t) {
            const QString target = s.task(t).target.text;
            const QList<PdfWord> found = wordsNamed(words, target);
            QVERIFY2(!found.isEmpty(), qPrintable(target));
            // The first one in reading order of this card: the reference row or a choice row.
            bool underPicture = false, inRow = false;
            for (const PdfWord &w : found) {
                if (std::abs(w.box.top() - (pictureTops[t - 1] + 130)) < 8) {
                    underPicture = true;
                    QVERIFY2(w.box.left() >= 179 && w.box.left() < 183, qPrintable(target));
                    // Its letters keep the screen's spacing (about 11.6 px a letter).
                    const qreal perLetter = w.box.width() / target.size();
                    QVERIFY(perLetter > 10.5 && perLetter < 12.5);
                }
                const int row = s.task(t).targetRow;
                const qreal rowTop = pictureTops[t - 1] + 20 + 40 * (row - 1);
                if (std::abs(w.box.top() - rowTop) < 10 && w.box.left() > 349 + 16 - 2
                    && w.box.left() < 349 + 16 + 4)
                    inRow = true;
            }
            QVERIFY2(underPicture, qPrintable(target));
            QVERIFY2(inRow, qPrintable(target));
        }
        // The screen's pictures in their cards.
        const QImage page = pdfPageImage(pdf);
        const QColor onScreen = s.picture(1)->pixmap().toImage().pixelColor(60, 60);
        QVERIFY(std::abs(bandPixel(page, 239, 180).hue() - onScreen.hue()) < 12);
    }

    // Letters: the marked letter of the reference row prints red and underlined; the other
    // letters of the word print black without a line.
    void lettersSheetUnderlinesTheRedLetter()
    {
        Opened<TfCrke> o(QStringLiteral("sl1C"));
        MatchingScreen &s = *o.s;
        const QList<Shown> shown = pressNatisni(s);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("TIPSOVO - Črke"));
        QTemporaryDir dir;
        const QString pdf = pdfOf(*shown[0].report, dir);
        const QImage page = pdfPageImage(pdf);
        // On a black-and-white printer the red is a grey; the underline still marks it.
        const QImage grey = pdfPageImage(pdf, true);

        const int t = 1;
        const int first = s.task(t).target.position;
        const int len = int(s.task(t).target.part.size());
        const QPoint origin = s.cell(t, 0, 1)->mapTo(&s, QPoint());
        int checkedRed = 0, checkedBlack = 0;
        for (int place = 1; place <= s.task(t).target.text.size(); ++place) {
            LetterCell *c = s.cell(t, 0, place);
            const qreal x = 179 + c->mapTo(&s, QPoint()).x() - origin.x();
            // The glyph (Courier, 19 px: 11.4 wide, centred in a 15 px field), its lower part.
            const QRectF below(x + 3, 250 + 17, 8, 9);
            const bool marked = place >= first && place < first + len;
            QCOMPARE(c->textColor() == QColor(Qt::red), marked);
            bool greyLine = false;
            for (int y = int(below.top()); y <= int(below.bottom()); ++y) {
                const QList<QPair<int, int>> runs = darkRuns(grey, y, int(below.left()),
                                                             int(below.right()));
                greyLine |= runs.size() == 1 && runs[0].second - runs[0].first >= 7;
            }
            QCOMPARE(greyLine, marked);
            if (marked) {
                QVERIFY2(hasRedRow(page, below), qPrintable(QString::number(place)));
                ++checkedRed;
            } else {
                QVERIFY2(!hasRedRow(page, below), qPrintable(QString::number(place)));
                ++checkedBlack;
            }
        }
        QVERIFY(checkedRed >= 1);
        QVERIFY(checkedBlack >= 1);
    }

    // The layout itself, from the values a screen passes: compose syllables prints "_" in every
    // letter-row cell and taller cards; swap letters and compose syllables bring a larger
    // picture into the box (the compose-syllables screen shows its pictures whole), the words
    // screen cuts it off at 120 × 120.
    void cardHeightsAndPictureFit_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("scaled");
        QTest::newRow("words") << int(Kind::Words) << 192 << false;
        QTest::newRow("compose syllables") << int(Kind::ComposeSyllables) << 202 << true;
        QTest::newRow("swap letters") << int(Kind::SwapLetters) << 202 << true;
    }
    void cardHeightsAndPictureFit()
    {
        QFETCH(int, kind);
        QFETCH(int, height);
        QFETCH(bool, scaled);
        PictureCardSheet sheet;
        sheet.kind = Kind(kind);
        // 240 × 240: red above, blue below; cut off at 120 only red shows.
        QImage pic(240, 240, QImage::Format_RGB32);
        pic.fill(Qt::red);
        QPainter(&pic).fillRect(0, 120, 240, 120, Qt::blue);
        sheet.pictures.fill(pic);
        for (int k = 1; k <= 5; ++k)
            sheet.cells.append({1000 + k, QStringLiteral("M"), Qt::red, 19, {100 + 12 * k, 300}});
        sheet.cells.append({1101, QStringLiteral("MA"), Qt::black, 27, {400, 200}});
        sheet.cells.append({1103, QStringLiteral("ŠA"), Qt::black, 27, {440, 190}});
        QTemporaryDir dir;
        const QString pdf = pdfOf(TqrBesede(sheet), dir);
        const QImage page = pdfPageImage(pdf);

        // Card 1's outline on the left edge column: top at 105, bottom at 105 + height - 1.
        QVERIFY(bandPixel(page, 170, 105).lightness() < 100);
        QVERIFY(bandPixel(page, 170, 105 + height - 1).lightness() < 100);
        QVERIFY(bandPixel(page, 170, 105 + height - 5).lightness() > 240);
        QVERIFY(bandPixel(page, 176, 105 + height + 2).lightness() < 230); // the shadow
        QVERIFY(bandPixel(page, 176, 105 + height + 9).lightness() > 240);
        // Card 4 (the lowest) too.
        QVERIFY(bandPixel(page, 170, 793 + height - 1).lightness() < 100);

        const QColor lowerPicture = bandPixel(page, 239, 120 + 100);
        QCOMPARE(lowerPicture.blue() > 200 && lowerPicture.red() < 60, scaled);

        const QList<PdfWord> words = pdfWords(pdf);
        if (Kind(kind) == Kind::ComposeSyllables) {
            // A blank of its own for each of the five letter places, apart from the next.
            QVERIFY(wordsNamed(words, QStringLiteral("_____")).isEmpty());
            const QList<QPair<int, int>> blanks = letterRowRuns(page, 105);
            QCOMPARE(blanks.size(), 5);
            QVERIFY(blanks[0].first >= 179);
            for (int i = 0; i < blanks.size(); ++i) {
                QVERIFY(blanks[i].second - blanks[i].first >= 6);
                if (i > 0)
                    QVERIFY(blanks[i].first - blanks[i - 1].second >= 2);
            }
        } else {
            const QList<PdfWord> row = wordsNamed(words, QStringLiteral("MMMMM"));
            QCOMPARE(row.size(), 1);
            QVERIFY(std::abs(row[0].box.left() - (179 + 1.8)) < 2.5);
        }
        // The choice cells of the words screen stand 20 below the picture's top; the offers
        // of compose syllables and swap letters, measured from the card's top, are brought
        // inside the card, clear of its edge, keeping their distances.
        const QList<PdfWord> ma = wordsNamed(words, QStringLiteral("MA"));
        const QList<PdfWord> sa = wordsNamed(words, QStringLiteral("ŠA"));
        QCOMPARE(ma.size(), 1);
        QCOMPARE(sa.size(), 1);
        QVERIFY(std::abs(ma[0].box.left() - 349) < 3);
        QVERIFY(std::abs(sa[0].box.left() - 389) < 3);
        QVERIFY(std::abs(ma[0].box.top() - sa[0].box.top() - 10) < 1);
        if (Kind(kind) == Kind::Words) {
            QVERIFY2(ma[0].box.top() >= 138 && ma[0].box.top() < 148,
                     qPrintable(QString::number(ma[0].box.top())));
        } else {
            QVERIFY2(sa[0].box.top() >= 108 && sa[0].box.top() < 116,
                     qPrintable(QString::number(sa[0].box.top())));
            QString where;
            QVERIFY2(offersClearOfTheEdge(page, 105, height, &where), qPrintable(where));
        }
    }

    // Compose syllables: the worksheet of the words on screen, in play. Every letter place
    // prints a blank of its own whatever the screen shows; the offered syllables stand beside
    // their picture as the screen arranges them, inside the card and clear of its edge; the
    // heading is the screen's own instruction line. The screen is as it was, and two presses
    // give two worksheets.
    void composeSyllablesSheetCopiesTheScreen()
    {
        OpenedPanels<TfSestaviZloge> o(QStringLiteral("sl4"), 144);
        TfSestaviZloge &s = *o.s;
        // One right syllable into slot 1 (its place hides), one wrong click in slot 2.
        for (int k = 1; k <= WordPanelsScreen::kOffers; ++k)
            if (s.offerCell(1, k)->text() == s.naloga(1).next()) {
                QTest::mouseClick(s.offerCell(1, k), Qt::LeftButton);
                break;
            }
        for (int k = 1; k <= WordPanelsScreen::kOffers; ++k) {
            const QString t = s.offerCell(2, k)->text();
            const auto &zlogi = s.naloga(2).word.Zlogi;
            if (!t.isEmpty() && std::find(zlogi.begin(), zlogi.end(), t) == zlogi.end()) {
                QTest::mouseClick(s.offerCell(2, k), Qt::LeftButton);
                break;
            }
        }
        QCOMPARE(s.wrongCount(), 1);
        QVERIFY(s.letterCell(1, 1)->text() != QStringLiteral("_"));

        const QStringList before = screenState(s);
        const QList<Shown> shown = pressNatisni(s, 2);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(screenState(s), before);
        QCOMPARE(shown[0].title, QStringLiteral("TIPSOVO - Sestavi zloge"));
        QVERIFY(!shown[0].busyCursor);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(shown[1].report->text(QStringLiteral("QRLabel1"))->text,
                 s.instructionLine()->text());

        QTemporaryDir dir;
        const QString pdf = pdfOf(*shown[1].report, dir);
        const QImage page = pdfPageImage(pdf);
        Report report = *shown[1].report;
        for (int q = 0; q < 4; ++q) {
            // Twelve blanks a card, one for each letter place, each apart from the next.
            const QList<QPair<int, int>> blanks = letterRowRuns(page, kCardTop[q]);
            QCOMPARE(blanks.size(), WordPanelsScreen::kLetters);
            QVERIFY(blanks.first().first >= 179 && blanks.first().first < 184);
            for (int i = 1; i < blanks.size(); ++i)
                QVERIFY(blanks[i].first - blanks[i - 1].second >= 2);
            // Every offered syllable, the one already used included (the screen only hid it),
            // inside its card as the screen arranges them.
            checkOfferArrangement(report, s, q + 1);
            QString where;
            QVERIFY2(offersClearOfTheEdge(page, kCardTop[q], 202, &where),
                     qPrintable(QStringLiteral("card %1: %2").arg(q + 1).arg(where)));
        }
        const QList<PdfWord> words = pdfWords(pdf);
        for (int q = 1; q <= 4; ++q)
            for (int k = 1; k <= WordPanelsScreen::kOffers; ++k)
                if (const QString t = s.offerCell(q, k)->text(); !t.isEmpty())
                    QVERIFY2(!wordsNamed(words, t).isEmpty(), qPrintable(t));
        // The 144 × 144 pictures whole in their boxes: the blue corner shows.
        for (int q = 0; q < 4; ++q) {
            const QColor corner = bandPixel(page, 179 + 112, kCardTop[q] + 15 + 112);
            QVERIFY(corner.blue() > 200 && corner.red() < 60);
        }
    }

    // A set that ended in "Bravo!" still prints the instruction as the heading.
    void composeSyllablesSheetAfterTheSetKeepsTheInstruction()
    {
        OpenedPanels<TfSestaviZloge> o(QStringLiteral("sl4"), 144);
        TfSestaviZloge &s = *o.s;
        for (int i = 0; i < 200 && !s.setFinished(); ++i) {
            if (s.commandButton(Command::Naprej)->isVisibleTo(&s))
                s.commandButton(Command::Naprej)->click();
            else
                s.commandButton(Command::Pomoc)->click();
        }
        QVERIFY(s.setFinished());
        QCOMPARE(s.instructionLine()->text(), QStringLiteral("Bravo!"));
        const QList<Shown> shown = pressNatisni(s);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].report->text(QStringLiteral("QRLabel1"))->text,
                 TfSestaviZloge::instruction());
        QCOMPARE(s.instructionLine()->text(), QStringLiteral("Bravo!"));
    }

    // Swap letters: the letter rows as the screen shows them (a gap the child opened prints
    // a blank), black even where the screen shows a finished word in red; the offered letters
    // as the screen arranges them, inside the card and clear of its edge; the pictures, larger
    // than the box, scaled into it.
    void swapLettersSheetCopiesTheScreen()
    {
        OpenedPanels<TfZamenjajCrke> o(QStringLiteral("sl5"), 165);
        TfZamenjajCrke &s = *o.s;
        // Word 1 put right by help (red on the screen); a gap opened in word 2.
        for (int i = 0; i < 3 && !s.naloga(1).done(); ++i)
            s.commandButton(Command::Pomoc)->click();
        QVERIFY(s.naloga(1).done());
        QCOMPARE(s.letterCell(1, 1)->textColor(), QColor(Qt::red));
        QTest::mouseClick(s.letterCell(2, s.naloga(2).Mesto1), Qt::LeftButton);
        QCOMPARE(s.letterCell(2, s.naloga(2).Mesto1)->text(), QStringLiteral("_"));

        const QStringList before = screenState(s);
        const QList<Shown> shown = pressNatisni(s, 2);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(screenState(s), before);
        QCOMPARE(shown[0].title, QStringLiteral("TIPSOVO - Zamenjaj napačne črke"));
        QVERIFY(!shown[1].busyCursor);
        QTemporaryDir dir;
        const QString pdf = pdfOf(*shown[1].report, dir);
        const QList<PdfWord> words = pdfWords(pdf);
        QVERIFY(!wordsNamed(words, QStringLiteral("ČRKE!")).isEmpty());

        // The letters as the screen shows them; the gap the child opened is a blank between
        // them, where its place is.
        const QImage page = pdfPageImage(pdf);
        for (int q = 1; q <= 4; ++q) {
            const QPoint first = s.letterCell(q, 1)->mapTo(&s, QPoint());
            QString piece;
            int start = 1;
            for (int k = 1; k <= WordPanelsScreen::kLetters + 1; ++k) {
                const QString t = k <= WordPanelsScreen::kLetters ? s.letterCell(q, k)->text()
                                                                 : QString();
                if (t == QStringLiteral("_") || t.isEmpty()) {
                    if (!piece.isEmpty()) {
                        const qreal x = 181 + s.letterCell(q, start)->mapTo(&s, QPoint()).x()
                                        - first.x();
                        QVERIFY2(printedNear(words, piece, QPointF(x, kCardTop[q - 1] + 145)),
                                 qPrintable(piece));
                    }
                    piece.clear();
                    start = k + 1;
                    if (t.isEmpty())
                        break;
                    const qreal x = 179 + s.letterCell(q, k)->mapTo(&s, QPoint()).x() - first.x();
                    bool blank = false;
                    for (int y = kCardTop[q - 1] + 150; y < kCardTop[q - 1] + 178; ++y)
                        for (const auto &run : darkRuns(page, y, int(x), int(x) + 15))
                            blank |= run.second - run.first >= 6;
                    QVERIFY2(blank, qPrintable(QString::number(k)));
                } else {
                    piece += t;
                }
            }
        }
        QVERIFY(s.letterCell(2, s.naloga(2).Mesto1)->text() == QStringLiteral("_"));
        QVERIFY(!anyRed(page, QRectF(179, kCardTop[0] + 147, 140, 24)));

        Report report = *shown[1].report;
        for (int q = 1; q <= 4; ++q) {
            checkOfferArrangement(report, s, q);
            QString where;
            QVERIFY2(offersClearOfTheEdge(page, kCardTop[q - 1], 202, &where),
                     qPrintable(QStringLiteral("card %1: %2").arg(q).arg(where)));
        }
        // Each 165 × 165 picture scaled into its 120 × 120 box: the blue corner shows.
        for (int q = 0; q < 4; ++q) {
            const QColor corner = bandPixel(page, 179 + 112, kCardTop[q] + 15 + 112);
            QVERIFY(corner.blue() > 200 && corner.red() < 60);
            QVERIFY(isRed(bandPixel(page, 179 + 60, kCardTop[q] + 15 + 60)));
        }
    }

    // Before a set has been dealt (or whenever no word is on screen) NATISNI prints nothing.
    void panelsWithNothingOnScreenPrintNothing()
    {
        OpenedPanels<TfSestaviZloge> compose(QStringLiteral("sl4"), 144, false);
        QVERIFY(pressNatisni(*compose.s).isEmpty());
        OpenedPanels<TfZamenjajCrke> swap(QStringLiteral("sl5"), 165, false);
        QVERIFY(pressNatisni(*swap.s).isEmpty());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // Where is the letter: the writing line has one "_" per letter, the letter stands after
    // the heading, and the picture's word lands on one of the six middle places, never the
    // first of column one nor the last of column two.
    void whereIsTheLetterSheet()
    {
        TestHost host;
        QStringList lines, names;
        const char *words[] = {"MIZAR", "KOLO", "NOGA", "ROKA", "LIPA", "VAZA", "RIBA", "SOVA",
                               "TORBA", "PERO"};
        for (int i = 0; i < 10; ++i) {
            lines << dataLine(QString::fromLatin1(words[i]), QStringLiteral("N%1").arg(i));
            names << QStringLiteral("N%1").arg(i);
        }
        ResourcePackWriter dat;
        dat.add(ResourceKind::RcData, QStringLiteral("KJEJECRKA"), toCp1250(lines.join("\r\n")));
        QVERIFY(writePack(host.packDir(), QStringLiteral("Dat"), dat));
        ResourcePackWriter pack;
        for (const QString &n : names)
            pack.add(ResourceKind::Bitmap, n, solidDib({300, 300}, Qt::darkCyan));
        QVERIFY(writePack(host.packDir(), QStringLiteral("KjeJeCrka"), pack));
        writeTestSoundPack(host.packDir(), QStringLiteral("snd"),
                           QStringList{"A39", "A9", "prav"} + names, 200);
        TfKjeJeCrka s(host);
        s.random().seed(5);
        s.startFirstSet();
        const QString word = s.word();
        QVERIFY(!word.isEmpty());

        const QStringList before = screenState(s);
        const QList<Shown> shown = pressNatisni(s, 24);
        QCOMPARE(shown.size(), 24);
        QCOMPARE(screenState(s), before);
        QSet<QString> places;
        for (const Shown &sh : shown) {
            QCOMPARE(sh.title, QStringLiteral("TIPSOVO - Kje je črka?"));
            QVERIFY(!sh.busyCursor);
            Report r = *sh.report;
            QCOMPARE(r.text(QStringLiteral("qrlblCrte"))->text, writingLine(word));
            QCOMPARE(r.text(QStringLiteral("qrlblCrka"))->text, s.letterLabel()->text());
            QCOMPARE(r.text(QStringLiteral("QRLabelX"))->text == word, false);
            QCOMPARE(r.text(QStringLiteral("QRLabel12"))->text == word, false);
            QStringList printed;
            for (const Report::Text *t : r.texts())
                if (t->name.startsWith(QStringLiteral("QRLabel")) && t->name != "QRLabel1"
                    && t->name != "QRLabel3" && t->name != "QRLabel4") {
                    printed << t->text;
                    if (t->text == word)
                        places << t->name;
                }
            QStringList expected{word};
            for (int k = 1; k <= TfKjeJeCrka::kOtherWords; ++k)
                expected << s.otherWord(k)->text();
            std::sort(printed.begin(), printed.end());
            std::sort(expected.begin(), expected.end());
            QCOMPARE(printed, expected);
        }
        QVERIFY(places.size() >= 3); // the place is drawn, not fixed

        QTemporaryDir dir;
        const QString pdf = pdfOf(*shown[0].report, dir);
        const QList<PdfWord> pw = pdfWords(pdf);
        QCOMPARE(wordsNamed(pw, QStringLiteral("_")).size(), word.size());
        const QList<PdfWord> letter = wordsNamed(pw, s.letterLabel()->text());
        QVERIFY(!letter.isEmpty());
        bool besideHeading = false;
        for (const PdfWord &w : letter)
            besideHeading |= w.box.left() > 488 && w.box.right() < 526 && w.box.top() > 38
                && w.box.bottom() < 80;
        QVERIFY(besideHeading);
    }

    // Mark correct sentences: the same eighty sentences every time, group by group in two
    // columns of ten rows, 20 px apart within a group and 90 px from group to group; the
    // heading centred above them.
    void markSentencesSheetIsFixed()
    {
        const Report r = TqrOznaciPovedi();
        QCOMPARE(r.title(), QStringLiteral("TIPSOVO - Označi povedi"));
        QCOMPARE(r.bandSize(), QSizeF(718, 1045));
        QTemporaryDir dir;
        const QString pdf = pdfOf(r, dir);
        const QList<PdfWord> words = pdfWords(pdf);
        auto at = [&](const QString &first, qreal x, qreal y) {
            for (const PdfWord &w : words)
                if (w.text == first && std::abs(w.box.left() - x) < 2.5
                    && w.box.top() >= y - 2 && w.box.top() < y + 6)
                    return true;
            return false;
        };
        const QList<PdfWord> heading = wordsNamed(words, QStringLiteral("OZNAČI"));
        QCOMPARE(heading.size(), 1);
        const QList<PdfWord> mark = wordsNamed(words, QStringLiteral("POVEDI!"));
        QCOMPARE(mark.size(), 1);
        QVERIFY(std::abs((heading[0].box.left() + mark[0].box.right()) / 2 - 359) < 3);
        QVERIFY(heading[0].box.top() >= 20 && heading[0].box.bottom() < 50);
        QVERIFY(at(QStringLiteral("V"), 116, 121));          // row 1, left, sentence 1
        QVERIFY(at(QStringLiteral("Na"), 454, 121 + 60));    // row 1, right, sentence 4
        QVERIFY(at(QStringLiteral("Kmet"), 454, 121 + 810 + 60)); // row 10, right, sentence 4
        QCOMPARE(wordsNamed(words, QStringLiteral("vrtu.")).size(), 1);
        QCOMPARE(wordsNamed(words, QStringLiteral("Krompir")).size(), 4);
        int sentences = 0;
        for (const Report::Text *t : r.texts())
            sentences += t->name.isEmpty();
        QCOMPARE(sentences, 80);
        // Every group shares its beginning.
        for (const QStringList &g : oznaciPovediGroups()) {
            QCOMPARE(g.size(), 4);
            const QString start = g[0].section(QLatin1Char(' '), 0, 1);
            for (const QString &s : g)
                QVERIFY2(s.startsWith(start), qPrintable(s));
        }

        // Large enough for a beginning reader (well above the old 13 px), yet every sentence
        // stays in its column and a white line parts it from the next.
        QVERIFY(oznaciPovediPixelSize() >= 16);
        const QList<PdfWord> v = wordsNamed(words, QStringLiteral("V"));
        QVERIFY(!v.isEmpty());
        QVERIFY2(v[0].box.height() >= 16 * 1.1, qPrintable(QString::number(v[0].box.height())));
        for (const PdfWord &w : words) {
            if (w.box.top() < 100)
                continue;
            if (w.box.left() < 454 - 1)
                QVERIFY2(w.box.right() < 454 - 10, qPrintable(w.text));
            else
                QVERIFY2(w.box.right() <= 718, qPrintable(w.text));
        }
        const QImage page = pdfPageImage(pdf);
        for (int row = 0; row < 10; ++row)
            for (int k = 1; k < 4; ++k)
                for (const int x : {116, 454}) {
                    const int boundary = 121 + 90 * row + 20 * k;
                    bool white = false;
                    for (int y = boundary - 4; y <= boundary + 2 && !white; ++y) {
                        white = true;
                        for (int px = x; px < x + 250 && white; ++px)
                            white = bandPixel(page, px, y).lightness() > 200;
                    }
                    QVERIFY2(white, qPrintable(QStringLiteral("%1/%2/%3").arg(row).arg(k).arg(x)));
                }
    }

    // Insert the missing word: the scene stretched over its box, the ten sentences 35 px apart
    // from y 515, their words in the record's order at x 340, 440, 540 and 640.
    void insertWordSheetPrintsTenRows()
    {
        InsertWordSheet sheet;
        sheet.scene = QImage(351, 201, QImage::Format_RGB32);
        sheet.scene.fill(Qt::darkBlue);
        for (int i = 1; i <= 10; ++i)
            sheet.sentences.append({QStringLiteral("Stavek%1 ima ______ .").arg(i),
                                    {QStringLiteral("prava%1").arg(i), QStringLiteral("druga"),
                                     QStringLiteral("tretja"), QStringLiteral("četrta")}});
        const Report r = TqrVstaviBesedo(sheet);
        QCOMPARE(r.title(), QStringLiteral("TIPSOVO - Vstavi besedo"));
        QTemporaryDir dir;
        const QString pdf = pdfOf(r, dir);
        const QList<PdfWord> words = pdfWords(pdf);
        for (int i = 1; i <= 10; ++i) {
            const qreal y = 480 + 35 * i;
            const QList<PdfWord> s = wordsNamed(words, QStringLiteral("Stavek%1").arg(i));
            QCOMPARE(s.size(), 1);
            QVERIFY(std::abs(s[0].box.left() - 8) < 2.5);
            QVERIFY(s[0].box.top() >= y - 2 && s[0].box.top() < y + 5);
            const QList<PdfWord> right = wordsNamed(words, QStringLiteral("prava%1").arg(i));
            QCOMPARE(right.size(), 1);
            QVERIFY(std::abs(right[0].box.left() - 340) < 2.5);
            QVERIFY(std::abs(right[0].box.top() - s[0].box.top()) < 1);
        }
        const QList<PdfWord> last = wordsNamed(words, QStringLiteral("četrta"));
        QCOMPARE(last.size(), 10);
        QVERIFY(std::abs(last[0].box.left() - 640) < 2.5);
        const QImage page = pdfPageImage(pdf);
        QVERIFY(bandPixel(page, 12, 60).blue() > 100);   // stretched to the box's corners
        QVERIFY(bandPixel(page, 705, 453).blue() > 100);
        QVERIFY(bandPixel(page, 4, 60).lightness() > 240);
    }

    // The town worksheet: the name centred at the top, the text wrapped in its memo, the
    // picture centred in its box without scaling; an empty text and picture print nothing.
    void townSheetPrintsTitleTextAndPicture()
    {
        TownSheet sheet;
        sheet.title = QStringLiteral("Ljubljana");
        sheet.text = {QStringLiteral("Ljubljana je glavno mesto Slovenije. Skozi mesto teče reka "
                                     "Ljubljanica, nad njim stoji grad."),
                      QStringLiteral("V mestu je veliko mostov.")};
        sheet.picture = QImage(200, 100, QImage::Format_RGB32);
        sheet.picture.fill(Qt::darkRed);
        const Report r = TqrKaca(sheet);
        QCOMPARE(r.title(), QStringLiteral("TIPSOVO - Kam potujemo?"));
        QTemporaryDir dir;
        const QString pdf = pdfOf(r, dir);
        const QList<PdfWord> words = pdfWords(pdf);
        const QList<PdfWord> title = wordsNamed(words, QStringLiteral("Ljubljana"));
        QVERIFY(!title.isEmpty());
        QVERIFY(std::abs(title[0].box.center().x() - (15 + 689 / 2.0)) < 3);
        QVERIFY(title[0].box.top() >= 30 && title[0].box.bottom() < 70);
        for (const PdfWord &w : words.mid(1)) {
            QVERIFY2(w.box.left() >= 73 && w.box.right() <= 645, qPrintable(w.text));
            QVERIFY2(w.box.top() >= 95 && w.box.bottom() <= 266, qPrintable(w.text));
        }
        QCOMPARE(wordsNamed(words, QStringLiteral("mostov.")).size(), 1);
        const QImage page = pdfPageImage(pdf);
        // 200 × 100 in the middle of 570 × 380 at (74, 280): centre (359, 470).
        QVERIFY(bandPixel(page, 359, 470).red() > 100 && bandPixel(page, 359, 470).green() < 40);
        QVERIFY(bandPixel(page, 262, 470).red() > 100);
        QVERIFY(bandPixel(page, 255, 470).lightness() > 240);
        QVERIFY(bandPixel(page, 359, 418).lightness() > 240);

        const QList<PdfWord> empty = pdfWords(pdfOf(TqrKaca({QStringLiteral("Kranj"), {}, {}}),
                                                    dir, QStringLiteral("prazno.pdf")));
        QCOMPARE(empty.size(), 1);
        QCOMPARE(empty[0].text, QStringLiteral("Kranj"));
    }

    // Guess the word: the slots as the word began 150 right and 80 below their places on the
    // screen, slots past the word empty, tiles 200 left and 500 below, the picture centred.
    void guessWordSheetPrintsSlotsAndTiles()
    {
        TestHost host;
        writeTestSoundPack(host.packDir(), QStringLiteral("snd"), {"A18", "prav"}, 200);
        ResourcePackWriter pictures;
        auto s = std::make_unique<TfVislice>(host);
        for (const TfVislice::WordEntry &w : s->words())
            pictures.add(ResourceKind::Bitmap, w.picture, solidDib({200, 100}, Qt::darkGreen));
        writePack(host.packDir(), QStringLiteral("UganiBesedo"), pictures);
        s->random().seed(11);
        s->setChooserRun([](TfAaliB &d) {
            d.setCapitals(true);
            return TfAaliB::Choice::Easier;
        });
        s->startFirstSet();
        const QString word = s->word();
        QVERIFY(word.size() >= 3 && word.size() < 10);

        const QStringList before = screenState(*s);
        const QList<Shown> shown = pressNatisni(*s);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(screenState(*s), before);
        QCOMPARE(shown[0].title, QStringLiteral("TIPSOVO - Ugani besedo"));
        QVERIFY(!shown[0].busyCursor);
        Report r = *shown[0].report;
        QCOMPARE(r.text(QStringLiteral("qrlblNaslov"))->text, QStringLiteral("UGANI BESEDO"));
        for (int i = 1; i <= TfVislice::kSlots; ++i) {
            const Report::Text *f = r.text(QStringLiteral("l%1").arg(i));
            QVERIFY(f);
            QCOMPARE(f->rect.topLeft(), QPointF(s->slot(i)->pos() + QPoint(150, 80)));
            QCOMPARE(f->text, i <= word.size() ? s->patternText().mid(i - 1, 1) : QString());
            QCOMPARE(f->font.pixelSize(), 37);
        }
        // The easier variant: the first and last letters stand, the others are to be written.
        QCOMPARE(r.text(QStringLiteral("l1"))->text, word.left(1));
        QCOMPARE(r.text(QStringLiteral("l2"))->text, QStringLiteral("_"));
        // Tiles left empty on the screen add nothing: the letters take the first tile places.
        const QString tiles = s->tileText();
        QCOMPARE(tiles.size(), word.size() - 2);
        for (int j = 1; j <= TfVislice::kSlots; ++j) {
            const Report::Text *f = r.text(QStringLiteral("d%1").arg(j));
            QVERIFY(f);
            QCOMPARE(f->rect.topLeft(), QPointF(s->tile(j)->pos() + QPoint(-200, 500)));
            QCOMPARE(f->text, tiles.mid(j - 1, 1));
        }

        QTemporaryDir dir;
        const QString pdf = pdfOf(r, dir);
        const QList<PdfWord> words = pdfWords(pdf);
        QCOMPARE(wordsNamed(words, QStringLiteral("UGANI")).size(), 1);
        const QImage page = pdfPageImage(pdf);
        // 200 × 100 centred in 702 × 402 at (8, 56): green in the middle, white at the corner.
        QVERIFY(bandPixel(page, 359, 257).green() > 80 && bandPixel(page, 359, 257).red() < 40);
        QVERIFY(bandPixel(page, 30, 70).lightness() > 240);
    }
};

QTEST_MAIN(TestWorksheets)
#include "test_worksheets.moc"
