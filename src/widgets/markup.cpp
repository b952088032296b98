// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/markup.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <cmath>

namespace tipsovo {

namespace {

// The standard colour names of the forms the captions come from.
const QHash<QString, QRgb> &namedColors()
{
    static const QHash<QString, QRgb> colors = {
        {QStringLiteral("black"), 0x000000},   {QStringLiteral("maroon"), 0x800000},
        {QStringLiteral("green"), 0x008000},   {QStringLiteral("olive"), 0x808000},
        {QStringLiteral("navy"), 0x000080},    {QStringLiteral("purple"), 0x800080},
        {QStringLiteral("teal"), 0x008080},    {QStringLiteral("gray"), 0x808080},
        {QStringLiteral("silver"), 0xc0c0c0},  {QStringLiteral("red"), 0xff0000},
        {QStringLiteral("lime"), 0x00ff00},    {QStringLiteral("yellow"), 0xffff00},
        {QStringLiteral("blue"), 0x0000ff},    {QStringLiteral("fuchsia"), 0xff00ff},
        {QStringLiteral("aqua"), 0x00ffff},    {QStringLiteral("white"), 0xffffff},
        {QStringLiteral("ltgray"), 0xc0c0c0},  {QStringLiteral("dkgray"), 0x808080},
        {QStringLiteral("moneygreen"), 0xc0dcc0}, {QStringLiteral("skyblue"), 0xa6caf0},
        {QStringLiteral("cream"), 0xfffbf0},   {QStringLiteral("medgray"), 0xa4a0a0},
    };
    return colors;
}

int pointOrPixelSize(const QFont &f) { return f.pointSize() > 0 ? f.pointSize() : f.pixelSize(); }

void setSize(QFont &f, int size, const QFont &like)
{
    if (like.pointSize() > 0)
        f.setPointSize(qMax(1, size));
    else
        f.setPixelSize(qMax(1, size));
}

} // namespace

QColor markupColor(const QString &nameIn)
{
    QString name = nameIn.trimmed();
    if (name.startsWith(QLatin1String("cl"), Qt::CaseInsensitive))
        name = name.mid(2);
    if (name.startsWith(QLatin1Char('$'))) {
        bool ok = false;
        const uint bgr = name.mid(1).toUInt(&ok, 16);
        if (!ok || name.size() < 2 || name.size() > 9)
            return {};
        return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
    }
    const auto it = namedColors().constFind(name.toLower());
    return it == namedColors().constEnd() ? QColor() : QColor(*it);
}

QList<MarkupPiece> parseMarkup(const QString &caption, const QFont &font, const QColor &color)
{
    QList<MarkupPiece> pieces;
    QFont work = font;
    QColor workColor = color;
    int dy = 0;
    bool subOpen = false;
    const int baseSize = pointOrPixelSize(font);
    const int subDrop = int(std::lround(0.6 * baseSize));

    auto output = [&](const QString &text) {
        if (!text.isEmpty())
            pieces.append({text, work, workColor, dy});
    };

    QString rest = caption;
    static const QStringList codes = {
        QStringLiteral("plain"), QStringLiteral("symbol"), QStringLiteral("b"),
        QStringLiteral("i"),     QStringLiteral("ul"),     QStringLiteral("sub"),
        QStringLiteral("super"), QStringLiteral("cl"),     QStringLiteral("\\")};
    for (;;) {
        const qsizetype slash = rest.indexOf(QLatin1Char('\\'));
        if (slash < 0) {
            output(rest);
            break;
        }
        output(rest.left(slash));
        rest.remove(0, slash + 1);

        QString code;
        for (const QString &c : codes) {
            if (rest.startsWith(c, Qt::CaseInsensitive)) {
                code = c;
                break;
            }
        }
        if (code.isEmpty())
            continue;
        QColor switchTo;
        qsizetype colourEnd = -1;
        if (code == QLatin1String("cl")) {
            // The colour name runs to the next "\cl"; without one, or with a name that is
            // no colour, this is no code and its letters stay text.
            colourEnd = rest.indexOf(QLatin1String("\\cl"), 2);
            if (colourEnd >= 0)
                switchTo = markupColor(rest.mid(2, colourEnd - 2).trimmed());
            if (!switchTo.isValid())
                continue;
        }
        if (code == QLatin1String("cl")) {
            rest.remove(0, colourEnd + 3);
            workColor = switchTo;
            continue;
        }
        rest.remove(0, code.size());
        if (code != QLatin1String("\\") && rest.startsWith(QLatin1Char(' ')))
            rest.remove(0, 1);

        if (code == QLatin1String("plain")) {
            // Back on the baseline, however many subscripts were opened.
            dy = 0;
            // The label's face and size, but no style: a bold label is plain after \plain.
            work = font;
            work.setBold(false);
            work.setItalic(false);
            work.setUnderline(false);
            work.setStrikeOut(false);
            workColor = color;
            subOpen = false;
        } else if (code == QLatin1String("symbol")) {
            work.setFamily(QStringLiteral("Symbol"));
        } else if (code == QLatin1String("b")) {
            work.setBold(true);
        } else if (code == QLatin1String("i")) {
            work.setItalic(true);
        } else if (code == QLatin1String("ul")) {
            work.setUnderline(true);
        } else if (code == QLatin1String("sub")) {
            // A second "\sub" keeps the subscript where it is, as it keeps its size.
            if (!subOpen)
                dy += subDrop;
            setSize(work, baseSize * 2 / 3, font);
            subOpen = true;
        } else if (code == QLatin1String("super")) {
            setSize(work, baseSize * 2 / 3, font);
        } else if (code == QLatin1String("\\")) {
            output(QStringLiteral("\\"));
        }
    }
    return pieces;
}

MarkupSize measureMarkup(const QList<MarkupPiece> &pieces, const QFont &font)
{
    MarkupSize size;
    size.height = QFontMetrics(font).height();
    for (const MarkupPiece &p : pieces)
        size.width += QFontMetrics(p.font).horizontalAdvance(p.text);
    return size;
}

void drawMarkup(QPainter &painter, const QList<MarkupPiece> &pieces, const QFont &font)
{
    const int baseline = QFontMetrics(font).ascent();
    int x = 0;
    for (const MarkupPiece &p : pieces) {
        painter.setFont(p.font);
        painter.setPen(p.color);
        painter.drawText(x, baseline + p.dy, p.text);
        x += QFontMetrics(p.font).horizontalAdvance(p.text);
    }
}

} // namespace tipsovo
