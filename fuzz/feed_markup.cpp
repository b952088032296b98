// SPDX-License-Identifier: GPL-3.0-or-later
// A caption parses into pieces whose letters all come from the caption in order (codes are
// dropped, nothing is invented), and "\plain" brings back the label's own font, colour and
// baseline whatever came before it. The pieces are measured and drawn as the label does.
#include "feeds.h"

#include "widgets/markup.h"

#include <QImage>
#include <QPainter>

namespace tipsovo::fuzz {

namespace {

bool inOrderWithin(const QString &part, const QString &whole)
{
    qsizetype at = 0;
    for (const QChar c : part) {
        at = whole.indexOf(c, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

} // namespace

QString feedMarkup(QByteArrayView input)
{
    // The travel game's label: Arial 19 pixels bold, green.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(19);
    font.setBold(true);
    const QColor green(0, 128, 0);
    const QString caption = QString::fromUtf8(input);

    const QList<MarkupPiece> pieces = parseMarkup(caption, font, green);
    QString letters;
    for (const MarkupPiece &p : pieces) {
        if (p.text.isEmpty())
            return QStringLiteral("an empty piece");
        if (!p.color.isValid())
            return QStringLiteral("a piece without a colour");
        letters += p.text;
    }
    if (!inOrderWithin(letters, caption))
        return QStringLiteral("letters that the caption does not have");

    // After "\plain" the label's own look, however the caption ends (an odd backslash at its
    // end would escape the one of "\plain").
    qsizetype trailing = 0;
    while (trailing < caption.size() && caption.at(caption.size() - 1 - trailing) == u'\\')
        ++trailing;
    if (trailing % 2 == 0) {
        const QList<MarkupPiece> after =
            parseMarkup(caption + QStringLiteral("\\plain Z"), font, green);
        if (after.isEmpty() || after.last().text != u"Z")
            return QStringLiteral("the text after \\plain lost");
        const MarkupPiece &z = after.last();
        if (z.dy != 0)
            return QStringLiteral("\\plain leaves the text %1 px off its baseline").arg(z.dy);
        if (z.color != green)
            return QStringLiteral("\\plain leaves another colour");
        if (z.font.family() != font.family() || z.font.pixelSize() != font.pixelSize()
            || z.font.italic() || z.font.underline())
            return QStringLiteral("\\plain leaves another font");
    }

    const MarkupSize size = measureMarkup(pieces, font);
    if (size.width < 0 || size.height <= 0)
        return QStringLiteral("measured %1 x %2").arg(size.width).arg(size.height);
    QImage canvas(64, 32, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    drawMarkup(painter, pieces, font);
    return {};
}

} // namespace tipsovo::fuzz
