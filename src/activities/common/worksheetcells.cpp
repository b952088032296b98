// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/common/worksheetcells.h"

#include "activities/common/lettercells.h"
#include "media/hint.h"

#include <QFontInfo>
#include <QLabel>

namespace tipsovo {

WorksheetCell worksheetCell(const QLabel *label, const QWidget *screen)
{
    WorksheetCell c;
    c.tag = tagOf(label);
    c.text = label->text();
    if (const auto *cell = qobject_cast<const LetterCell *>(label))
        c.colour = cell->textColor();
    else
        c.colour = label->palette().color(QPalette::WindowText);
    const int px = label->font().pixelSize();
    c.pixelSize = px > 0 ? px : QFontInfo(label->font()).pixelSize();
    c.pos = label->mapTo(screen, QPoint(0, 0));
    return c;
}

QList<WorksheetCell> worksheetCells(const QWidget *screen)
{
    QList<WorksheetCell> out;
    for (const QLabel *label : screen->findChildren<QLabel *>()) {
        if (tagOf(label) > 0)
            out.append(worksheetCell(label, screen));
    }
    return out;
}

} // namespace tipsovo
