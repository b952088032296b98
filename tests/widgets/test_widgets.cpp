// SPDX-License-Identifier: GPL-3.0-or-later
// The markup label, the odometer and the spectrum colour: parsing, measuring and rolling.
#include "media/manualclock.h"
#include "widgets/markup.h"
#include "widgets/odometer.h"
#include "widgets/wavelengthcolor.h"
#include "widgets/textlabel.h"

#include <QFontMetrics>
#include <QtTest>

using namespace tipsovo;

namespace {

QString joined(const QList<MarkupPiece> &pieces)
{
    QString s;
    for (const MarkupPiece &p : pieces)
        s += p.text;
    return s;
}

// A strip whose cells are plain colours, so a pixel tells which glyph a cell shows.
QColor glyphColor(int glyph) { return QColor(10 + glyph * 14, 200 - glyph * 10, 40); }

QImage colourStrip()
{
    QImage strip(15, 20 * OdometerModel::GlyphCount, QImage::Format_RGB32);
    for (int g = 0; g < OdometerModel::GlyphCount; ++g)
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 15; ++x)
                strip.setPixelColor(x, g * 20 + y, glyphColor(g));
    return strip;
}

// The glyphs the cells show, read from the middle row of each cell.
QList<int> shownGlyphs(const TOdometer &o, int row = 10)
{
    QList<int> glyphs;
    for (int i = 0; i < o.digitCount(); ++i) {
        const QColor c = o.output().pixelColor(i * 15 + 7, row);
        int found = -1;
        for (int g = 0; g < OdometerModel::GlyphCount; ++g)
            if (glyphColor(g) == c)
                found = g;
        glyphs.append(found);
    }
    return glyphs;
}

QList<int> glyphsOf(const QString &digits)
{
    QList<int> g;
    for (QChar c : digits)
        g.append(OdometerModel::glyphIndex(c));
    return g;
}

} // namespace

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    void markupKeepsEveryLetter_data();
    void markupKeepsEveryLetter();
    void markupStyles();
    void townNameShowsOneRedLetter();
    void xPositionAnchorsTheLabel_data();
    void xPositionAnchorsTheLabel();
    void angleIsStoredModuloAFullTurn();

    void limits_data();
    void limits();
    void digitStrings_data();
    void digitStrings();
    void rollsAcrossDigitBoundaries_data();
    void rollsAcrossDigitBoundaries();
    void incrementDuringARollStartsFromTheCurrentValue();
    void topToBottomRollsTheOtherWay();
    void ignoredDigitCountsAndValuesAboveTheLimit();

    void synchronousRollWaitsThroughTheClock();
    void asynchronousRollEndsOnTheNewValue();
    void settingValueRollsOnlyByOne();
    void builtInStripHasSeventeenDistinctCells();

    void wavelengths_data();
    void wavelengths();
};

void TestWidgets::markupKeepsEveryLetter_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::newRow("no markup") << "Maribor" << "Maribor";
    QTest::newRow("two backslashes draw one") << "a\\\\b" << "a\\b";
    QTest::newRow("an escaped backslash starts no code") << "\\\\clRed\\cl" << "\\clRedcl";
    QTest::newRow("unknown code drops the backslash") << "x\\qy" << "xqy";
    QTest::newRow("code eats one space") << "\\b  krepko" << " krepko";
    QTest::newRow("letter case does not matter") << "\\B\\UL\\PLAIN x" << "x";
    QTest::newRow("colour switch") << "Lju\\clRed\\clb\\clGreen\\clljana" << "Ljubljana";
    QTest::newRow("unclosed colour switch") << "Ko\\clRedper" << "KoclRedper";
    QTest::newRow("unknown colour name") << "a\\clRose\\clb" << "aclRoseclb";
    QTest::newRow("trailing backslash") << "konec\\" << "konec";
}

void TestWidgets::markupKeepsEveryLetter()
{
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QCOMPARE(joined(parseMarkup(caption, QFont(QStringLiteral("Arial"), 12), Qt::black)), text);
}

void TestWidgets::markupStyles()
{
    QFont font(QStringLiteral("Arial"), 12);
    font.setBold(true);
    const auto pieces = parseMarkup(QStringLiteral("a\\i b\\sub c\\super d\\plain e\\symbol f"),
                                    font, Qt::blue);
    QCOMPARE(pieces.size(), 6);
    QVERIFY(!pieces[0].font.italic() && pieces[0].font.bold());
    QVERIFY(pieces[1].font.italic());
    // A subscript is smaller and lower; a superscript as small on the baseline it left.
    QCOMPARE(pieces[2].font.pointSize(), 8);
    QCOMPARE(pieces[2].dy, 7); // 0.6 × 12 rounded
    QCOMPARE(pieces[3].font.pointSize(), 8);
    QCOMPARE(pieces[3].dy, 7);
    // \plain goes back to the label's face, size and colour, with no style and no offset.
    QCOMPARE(pieces[4].dy, 0);
    QCOMPARE(pieces[4].font.pointSize(), 12);
    QVERIFY(!pieces[4].font.bold() && !pieces[4].font.italic());
    QCOMPARE(pieces[4].color, QColor(Qt::blue));
    QCOMPARE(pieces[5].font.family(), QStringLiteral("Symbol"));

    // A second subscript stays where the first one is, and \plain comes back to the baseline
    // from there too.
    const auto twice = parseMarkup(QStringLiteral("a\\sub b\\sub c\\plain d"), font, Qt::blue);
    QCOMPARE(twice.size(), 4);
    QCOMPARE(twice[1].dy, 7);
    QCOMPARE(twice[2].dy, 7);
    QCOMPARE(twice[3].dy, 0);
}

void TestWidgets::townNameShowsOneRedLetter()
{
    TExtendedLabel label;
    QFont f(QStringLiteral("Arial"), 20);
    label.setFont(f);
    label.setFontColor(QColor(0, 128, 0));
    label.setCaption(QStringLiteral("Lju\\clRed\\clb\\clGreen\\clljana"));
    const auto &pieces = label.pieces();
    QCOMPARE(pieces.size(), 3);
    QCOMPARE(pieces[0].color, QColor(0, 128, 0));
    QCOMPARE(pieces[1].text, QStringLiteral("b"));
    QCOMPARE(pieces[1].color, QColor(Qt::red));
    QCOMPARE(pieces[2].color, QColor(0, 128, 0));
    const QFontMetrics fm(label.font());
    const int sum = fm.horizontalAdvance(QStringLiteral("Lju")) + fm.horizontalAdvance(QStringLiteral("b"))
                    + fm.horizontalAdvance(QStringLiteral("ljana"));
    QCOMPARE(label.textWidth(), sum);
    QCOMPARE(label.width(), sum);
    QCOMPARE(label.height(), fm.height());

    // A bold piece is measured in its own font.
    label.setCaption(QStringLiteral("Lju\\bbljana"));
    QFont bold = label.font();
    bold.setBold(true);
    QCOMPARE(label.textWidth(), fm.horizontalAdvance(QStringLiteral("Lju"))
                                    + QFontMetrics(bold).horizontalAdvance(QStringLiteral("bljana")));
}

void TestWidgets::xPositionAnchorsTheLabel_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("leftFromWidth"); // left = 200 - width × this / 2
    QTest::newRow("left") << int(TExtendedLabel::AlignLeft) << 0;
    QTest::newRow("right") << int(TExtendedLabel::AlignRight) << 2;
    QTest::newRow("centre") << int(TExtendedLabel::AlignCenter) << 1;
}

void TestWidgets::xPositionAnchorsTheLabel()
{
    QFETCH(int, alignment);
    QFETCH(int, leftFromWidth);
    TExtendedLabel label;
    label.setCaption(QStringLiteral("Ptuj"));
    label.setAlignment(TExtendedLabel::Alignment(alignment));
    label.setXPosition(200);
    const int w = label.width();
    QVERIFY(w > 0);
    QCOMPARE(label.x(), 200 - w * leftFromWidth / 2);
    // A longer caption keeps the anchor where it was.
    label.setCaption(QStringLiteral("Ptuj in Ormož"));
    QVERIFY(label.width() > w);
    QCOMPARE(label.x(), 200 - label.width() * leftFromWidth / 2);
    // Bounds set directly give the anchor back from the edges.
    label.setBounds(50, 0, 80, 20);
    QCOMPARE(label.xPosition(), 50 + 80 * leftFromWidth / 2);
}

void TestWidgets::angleIsStoredModuloAFullTurn()
{
    TExtendedLabel label;
    label.setCaption(QStringLiteral("Celje"));
    const QSize flat = label.size();
    label.setAngle(3600 + 900);
    QCOMPARE(label.angle(), 900);
    // A quarter turn stands the box on end, the text inside it.
    QVERIFY(qAbs(label.width() - flat.height()) <= 1);
    QVERIFY(qAbs(label.height() - flat.width()) <= 1);
    QVERIFY(label.origin().y() >= flat.width() - 1);
    label.setAngle(-900);
    QCOMPARE(label.angle(), 2700);
}

void TestWidgets::limits_data()
{
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("digits");
    QTest::addColumn<quint32>("limit");
    using B = OdometerModel::Base;
    QTest::newRow("binary 8") << int(B::Binary) << 8 << quint32(255);
    QTest::newRow("binary 31") << int(B::Binary) << 31 << quint32(2147483647);
    QTest::newRow("binary 32") << int(B::Binary) << 32 << quint32(2147483647);
    QTest::newRow("decimal 1") << int(B::Decimal) << 1 << quint32(9);
    QTest::newRow("decimal 5") << int(B::Decimal) << 5 << quint32(99999);
    QTest::newRow("decimal 9") << int(B::Decimal) << 9 << quint32(999999999);
    QTest::newRow("decimal 10") << int(B::Decimal) << 10 << quint32(2147483647);
    QTest::newRow("hex 2") << int(B::Hexadecimal) << 2 << quint32(255);
    QTest::newRow("hex 7") << int(B::Hexadecimal) << 7 << quint32(0x0fffffff);
    QTest::newRow("hex 8") << int(B::Hexadecimal) << 8 << quint32(2147483647);
}

void TestWidgets::limits()
{
    QFETCH(int, base);
    QFETCH(int, digits);
    QFETCH(quint32, limit);
    OdometerModel m;
    m.setBase(OdometerModel::Base(base));
    m.setDigitCount(digits);
    QCOMPARE(m.limit(), limit);
    // At the limit one more is 0, and one less than 0 is the limit again.
    m.setValueAtOnce(limit);
    m.increment();
    QCOMPARE(m.value(), 0u);
    m.decrement();
    QCOMPARE(m.value(), limit);
}

void TestWidgets::digitStrings_data()
{
    QTest::addColumn<int>("base");
    QTest::addColumn<int>("digits");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("shown");
    using B = OdometerModel::Base;
    QTest::newRow("decimal padded") << int(B::Decimal) << 5 << quint32(42) << "00042";
    QTest::newRow("hex upper case") << int(B::Hexadecimal) << 4 << quint32(0xbeef) << "BEEF";
    QTest::newRow("binary") << int(B::Binary) << 6 << quint32(5) << "000101";
    QTest::newRow("binary 32 bits") << int(B::Binary) << 32 << quint32(0x80000001)
                                    << "10000000000000000000000000000001";
}

void TestWidgets::digitStrings()
{
    QFETCH(int, base);
    QFETCH(int, digits);
    QFETCH(quint32, value);
    QFETCH(QString, shown);
    OdometerModel m;
    m.setBase(OdometerModel::Base(base));
    m.setDigitCount(digits);
    QCOMPARE(m.format(value), shown);
}

void TestWidgets::rollsAcrossDigitBoundaries_data()
{
    QTest::addColumn<quint32>("from");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("moves"); // per cell: w wrap, s slide, - still
    QTest::newRow("00009 + 1") << quint32(9) << true << "---sw";
    QTest::newRow("99999 + 1 wraps every cell") << quint32(99999) << true << "wwwww";
    QTest::newRow("00123 + 1") << quint32(123) << true << "----s";
    QTest::newRow("00010 - 1") << quint32(10) << false << "---sw";
    QTest::newRow("00000 - 1 wraps every cell") << quint32(0) << false << "wwwww";
    QTest::newRow("01999 + 1") << quint32(1999) << true << "-swww";
}

void TestWidgets::rollsAcrossDigitBoundaries()
{
    QFETCH(quint32, from);
    QFETCH(bool, up);
    QFETCH(QString, moves);
    OdometerModel m(20);
    m.setDigitCount(5);
    m.setValueAtOnce(from);
    const QString before = m.format(from);
    up ? m.increment() : m.decrement();
    const QString after = m.format(m.value());
    QCOMPARE(m.oldDigits(), before);

    for (int frame = 0; frame <= 20; ++frame) {
        const int d = 20 * (frame * 255 / 20) / 255; // the window's offset in this frame
        for (int i = 0; i < 5; ++i) {
            const int o = OdometerModel::glyphIndex(before[i]) * 20;
            const int n = OdometerModel::glyphIndex(after[i]) * 20;
            const auto copies = m.cellCopies(i);
            int rows = 0;
            for (const auto &c : copies)
                rows += c.height;
            QCOMPARE(rows, 20); // every frame fills the whole cell
            if (frame == 20 || moves[i] == QLatin1Char('-')) {
                QCOMPARE(copies, (QList<OdometerModel::Copy>{{n, 0, 20}}));
            } else if (moves[i] == QLatin1Char('s')) {
                // A neighbour slide is one window moving through the strip.
                QCOMPARE(copies, (QList<OdometerModel::Copy>{{o + (up ? d : -d), 0, 20}}));
            } else if (d == 0) {
                QCOMPARE(copies, (QList<OdometerModel::Copy>{{o, 0, 20}}));
            } else {
                // A wrap: the rest of the old glyph and the entering part of the new one.
                QCOMPARE(copies.size(), 2);
                const auto &oldPart = up ? copies[0] : copies[1];
                const auto &newPart = up ? copies[1] : copies[0];
                QCOMPARE(oldPart.height, 20 - d);
                QCOMPARE(oldPart.srcY, up ? o + d : o);
                QCOMPARE(newPart.srcY, up ? n : n + 20 - d);
                QCOMPARE(newPart.dstY, up ? 20 - d : 0);
            }
        }
        QCOMPARE(m.advance(), frame < 20);
    }
}

void TestWidgets::incrementDuringARollStartsFromTheCurrentValue()
{
    OdometerModel m(20);
    m.setDigitCount(3);
    m.setValueAtOnce(8);
    m.increment();
    for (int i = 0; i < 5; ++i)
        m.advance();
    m.increment();
    QCOMPARE(m.value(), 10u);
    QCOMPARE(m.oldDigits(), QStringLiteral("009"));
    QCOMPARE(m.frame(), 0);
    QVERIFY(m.rolling());
}

void TestWidgets::topToBottomRollsTheOtherWay()
{
    OdometerModel m(20);
    m.setDigitCount(1);
    m.setIncTopToBottom(true);
    m.setValueAtOnce(3);
    m.increment();
    for (int i = 0; i < 4; ++i)
        m.advance();
    // 3 → 4 moving down: 4 enters from above, 3 slides down out of the cell.
    QCOMPARE(m.cellCopies(0), (QList<OdometerModel::Copy>{{4 * 20 + 16, 0, 4}, {3 * 20, 4, 16}}));
}

void TestWidgets::ignoredDigitCountsAndValuesAboveTheLimit()
{
    TOdometer o(colourStrip());
    QCOMPARE(o.digitCount(), 8);
    o.setDigitCount(0);
    o.setDigitCount(33);
    QCOMPARE(o.digitCount(), 8);
    QCOMPARE(o.size(), QSize(8 * 15, 20));
    o.setAnimationType(TOdometer::atNone);
    o.setValue(123456);
    o.setDigitCount(3);
    QCOMPARE(o.size(), QSize(3 * 15, 20));
    QVERIFY(o.value() <= o.limit());
    QCOMPARE(o.value(), 456u); // the lowest digits stay, as on a smaller counter
    QCOMPARE(shownGlyphs(o), glyphsOf(QStringLiteral("456")));
    o.setBaseType(TOdometer::btBinary);
    QCOMPARE(o.limit(), 7u);
    QCOMPARE(shownGlyphs(o), glyphsOf(o.model().format(o.value())));
}

void TestWidgets::synchronousRollWaitsThroughTheClock()
{
    ManualClock clock;
    TOdometer o(colourStrip(), nullptr, &clock);
    o.setDigitCount(5);
    o.setValue(9);
    clock.clearSleeps();
    o.increment();
    // Returned only after the whole roll: 21 frames, each followed by one interval.
    QCOMPARE(clock.sleeps(), QList<qint64>(21, 30));
    QVERIFY(!o.rolling());
    QCOMPARE(shownGlyphs(o), glyphsOf(QStringLiteral("00010")));

    o.setFrameInterval(0);
    QCOMPARE(o.frameInterval(), 1);
    clock.clearSleeps();
    o.decrement();
    QCOMPARE(clock.totalSleptMs(), 21);
    QCOMPARE(shownGlyphs(o), glyphsOf(QStringLiteral("00009")));
}

void TestWidgets::asynchronousRollEndsOnTheNewValue()
{
    ManualClock clock;
    TOdometer o(colourStrip(), nullptr, &clock);
    o.setDigitCount(5);
    o.setAnimationType(TOdometer::atAsynchronous);
    o.setFrameInterval(1);
    o.setValue(99999);
    o.increment();
    QCOMPARE(o.value(), 0u);
    QVERIFY(o.rolling()); // returned at once
    QVERIFY(clock.sleeps().isEmpty());
    QTRY_VERIFY(!o.rolling());
    QTest::qWait(20);
    QCOMPARE(shownGlyphs(o), glyphsOf(QStringLiteral("00000")));
    QCOMPARE(shownGlyphs(o, 0), glyphsOf(QStringLiteral("00000")));
}

void TestWidgets::settingValueRollsOnlyByOne()
{
    TOdometer o(colourStrip());
    o.setAnimationType(TOdometer::atAsynchronous);
    o.setValue(41);
    QVERIFY(!o.rolling());
    QCOMPARE(shownGlyphs(o), glyphsOf(QStringLiteral("00000041")));
    o.setValue(42);
    QVERIFY(o.rolling());
    o.setValue(41);
    QVERIFY(o.rolling());
    QCOMPARE(o.model().oldDigits(), QStringLiteral("00000042"));
    o.setValue(7);
    QVERIFY(!o.rolling());
    QCOMPARE(shownGlyphs(o), glyphsOf(QStringLiteral("00000007")));
    o.setValue(0);
    o.setValue(quint32(-1)); // not "one less" than 0: shown at once, brought within the limit
    QVERIFY(!o.rolling());
    QVERIFY(o.value() <= o.limit());
}

void TestWidgets::builtInStripHasSeventeenDistinctCells()
{
    const QImage strip(TOdometer::digitsResource());
    QCOMPARE(strip.size(), QSize(15, 340));
    QList<QByteArray> cells;
    for (int g = 0; g < 17; ++g) {
        const QImage cell = strip.copy(0, g * 20, 15, 20).convertToFormat(QImage::Format_RGB32);
        cells.append(QByteArray(reinterpret_cast<const char *>(cell.constBits()), cell.sizeInBytes()));
    }
    QCOMPARE(QSet<QByteArray>(cells.begin(), cells.end()).size(), 17);
    // Light glyphs on a dark ground.
    QVERIFY(qGray(strip.pixel(0, 1)) < 80);
    int light = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 0; x < 15; ++x)
            light += qGray(strip.pixel(x, y)) > 180;
    QVERIFY(light > 15);
    TOdometer o;
    QCOMPARE(o.size(), QSize(8 * 15, 20));
}

void TestWidgets::wavelengths_data()
{
    QTest::addColumn<double>("nm");
    QTest::addColumn<QColor>("color");
    QTest::newRow("below the range") << 379.9 << QColor(0, 0, 0);
    QTest::newRow("violet edge, dim") << 380.0 << QColor(97, 0, 97);
    QTest::newRow("blue") << 440.0 << QColor(0, 0, 255);
    QTest::newRow("cyan-green") << 500.0 << QColor(0, 255, 146);
    QTest::newRow("green") << 510.0 << QColor(0, 255, 0);
    QTest::newRow("the orange band's last nanometre") << 644.5 << QColor(255, 5, 0);
    QTest::newRow("red") << 645.0 << QColor(255, 0, 0);
    QTest::newRow("700.5 counts as 700") << 700.5 << QColor(255, 0, 0);
    QTest::newRow("red edge, dim") << 780.0 << QColor(97, 0, 0);
    QTest::newRow("above the range") << 781.0 << QColor(0, 0, 0);
}

void TestWidgets::wavelengths()
{
    QFETCH(double, nm);
    QFETCH(QColor, color);
    QCOMPARE(WavelengthToColor(nm), color);
}

QTEST_MAIN(TestWidgets)
#include "test_widgets.moc"
