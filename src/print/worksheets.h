// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/report.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>

namespace tipsovo {

// The worksheets of the activity screens. Each takes what it prints as plain values copied
// from the screen (pictures, texts, cell numbers and places), so a worksheet never reaches
// back into the screen that asked for it, and the screen stays exactly as it was.

// One text cell of a screen as a worksheet copies it: its number (Tag), text, colour, pixel
// size and where it stands on the screen (the screen's own coordinates).
struct WorksheetCell {
    int tag = 0;
    QString text;
    QColor colour = Qt::black;
    int pixelSize = 19;
    QPoint pos;
};

// The picture-card worksheet (four cards: a picture, the letter row under it, the choices
// beside it) of the words, syllables, letters, compose-syllables and swap-letters screens.
struct PictureCardSheet {
    enum class Kind { Words, Syllables, Letters, ComposeSyllables, SwapLetters };
    Kind kind = Kind::Words;
    QString instruction;              // empty: the kind's own
    std::array<QImage, 4> pictures;   // Image1 … Image4
    QList<WorksheetCell> cells;       // every cell with a positive Tag, in creation order
};
QString pictureCardTitle(PictureCardSheet::Kind kind);
QString pictureCardInstruction(PictureCardSheet::Kind kind);
Report TqrBesede(const PictureCardSheet &sheet);

// Guess the word: the picture, the slots as the word began and the letter tiles.
struct GuessWordSheet {
    QImage picture;
    QString patternText; // the slots' texts joined
    QString tileText;    // the tiles' texts joined
    struct Label {
        QString name; // "l1" … "l10", "d1" … "d10"
        int tag = 0;
        QPoint pos;
        int pixelSize = 37;
    };
    QList<Label> labels;
};
Report TqrUganiBesedo(const GuessWordSheet &sheet);

// Insert the missing word: the theme's scene and its ten sentences with their four words.
struct InsertWordSheet {
    QImage scene;
    struct Sentence {
        QString besedilo;
        QStringList izbire; // the right word first
    };
    QList<Sentence> sentences;
};
Report TqrVstaviBesedo(const InsertWordSheet &sheet);

// Where is the letter: the picture, the letter, the picture's word and seven others.
struct WhereIsTheLetterSheet {
    QImage picture;
    QString letter;
    QString word;
    QStringList otherWords; // seven
    int swapPlace = 0;      // 0 … 5: where the picture's word goes among the first six places
};
QString writingLine(const QString &word);
Report TqrKjeJeCrka(const WhereIsTheLetterSheet &sheet);

// Mark correct sentences: a fixed sheet of twenty groups of four sentences.
Report TqrOznaciPovedi();
// The sentences, group by group (left column then right, row by row).
QList<QStringList> oznaciPovediGroups();
// The pixel size the sentences print at: the largest whose lines stay apart and whose
// sentences stay within their column.
int oznaciPovediPixelSize();

// The town worksheet: the town's name, its text and its picture.
struct TownSheet {
    QString title;
    QStringList text;
    QImage picture;
};
Report TqrKaca(const TownSheet &sheet);

} // namespace tipsovo
