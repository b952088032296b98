// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/worksheets.h"

#include <QList>

class QLabel;
class QWidget;

namespace tipsovo {

// What a worksheet copies of a screen's text cells: every label with a positive Tag, in the
// order the screen created them, with its text, colour (a letter cell's own, otherwise the
// label's text colour), pixel size and place in the screen's coordinates. Hidden labels are
// copied like shown ones.
QList<WorksheetCell> worksheetCells(const QWidget *screen);
WorksheetCell worksheetCell(const QLabel *label, const QWidget *screen);

} // namespace tipsovo
