// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

class QPainter;

namespace tipsovo {

// Inline markup of a label caption. A backslash starts a code (letter case does not matter;
// one space after a code is eaten):
//   \plain  back to the label's font, colour and baseline     \symbol  face "Symbol"
//   \b \i \ul  bold, italic, underline                         \\       one backslash
//   \sub  smaller and lower      \super  smaller, riding high
//   \clNAME\cl  colour NAME (Red, Green, Navy, ... or $BBGGRR), e.g. "Lju\clRed\clb\clGreen\clljana"
// A backslash that starts no code is dropped and the letters after it are drawn; a colour
// switch without its closing "\cl" or with an unknown name starts no code, so no text is lost.

// One run of text in one font and colour; dy moves it below the baseline (sub > 0).
struct MarkupPiece {
    QString text;
    QFont font;
    QColor color;
    int dy = 0;
};

// Splits a caption into pieces, starting from the label's font and colour.
QList<MarkupPiece> parseMarkup(const QString &caption, const QFont &font, const QColor &color);

// A colour by its name without the "cl" prefix ("Red", "clRed" also), or "$BBGGRR" hex.
// Returns an invalid colour for anything else.
QColor markupColor(const QString &name);

struct MarkupSize {
    int width = 0;  // sum of the pieces' advances, each in its own font
    int height = 0; // height of the caption in the label's font
};

MarkupSize measureMarkup(const QList<MarkupPiece> &pieces, const QFont &font);

// Draws the pieces along the text direction from (0,0), the top-left of the first line;
// the caller has translated and rotated the painter.
void drawMarkup(QPainter &painter, const QList<MarkupPiece> &pieces, const QFont &font);

} // namespace tipsovo
