// SPDX-License-Identifier: GPL-3.0-or-later
// Any picture may stand in for the digit strip: the counter takes its size from it, rolls
// through a few changes, and when a roll has ended every cell shows exactly its digit's glyph.
// The input: a length-prefixed part of settings and steps, then the picture's file bytes.
#include "feeds.h"

#include "widgets/odometerstrip.h"

namespace tipsovo::fuzz {

QString feedOdometer(QByteArrayView input)
{
    const TwoParts parts = splitTwo(input);
    const QByteArrayView steps = parts.first, picture = parts.rest;
    const QImage strip = odometerStrip(QImage::fromData(picture));
    if (strip.isNull() || strip.height() < OdometerModel::GlyphCount)
        return QStringLiteral("no usable strip");
    OdometerModel model(strip.height() / OdometerModel::GlyphCount);
    const int h = model.glyphHeight();

    qsizetype at = 0;
    auto next = [&]() -> int { return at < steps.size() ? quint8(steps[at++]) : 0; };
    model.setDigitCount(next() % 40); // 0 and 33..39 are refused
    model.setBase(OdometerModel::Base(next() % 3));
    model.setIncTopToBottom(next() & 1);

    QImage output(strip.width() * model.digitCount(), h, QImage::Format_RGB32);
    if (output.isNull())
        return {}; // a strip too wide for the cells: nothing to draw into
    output.fill(Qt::black);
    for (int n = 0; n < 64 && at < steps.size(); ++n) {
        const int op = next();
        switch (op % 4) {
        case 0: model.increment(); break;
        case 1: model.decrement(); break;
        case 2: {
            quint32 v = 0;
            for (int k = 0; k < 4; ++k)
                v = v << 8 | quint32(next());
            model.setValueAtOnce(v);
            break;
        }
        default:
            for (int f = op / 4; f > 0 && model.advance(); --f) {
            }
        }
        if (model.value() > model.limit())
            return QStringLiteral("value %1 above the limit %2").arg(model.value()).arg(model.limit());
        drawOdometerCells(output, model, strip);
    }
    while (model.advance()) {
    }
    drawOdometerCells(output, model, strip);

    const QString digits = model.newDigits();
    if (digits != model.format(model.value()) || digits.size() != model.digitCount())
        return QStringLiteral("the cells hold %1 for %2").arg(digits).arg(model.value());
    for (int i = 0; i < model.digitCount(); ++i) {
        const int glyph = OdometerModel::glyphIndex(digits.at(i));
        const QImage cell = output.copy(i * strip.width(), 0, strip.width(), h);
        if (cell != strip.copy(0, glyph * h, strip.width(), h))
            return QStringLiteral("cell %1 does not show its digit %2").arg(i).arg(digits.at(i));
    }
    return {};
}

} // namespace tipsovo::fuzz
