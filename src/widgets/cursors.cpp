// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cursors.h"

#include "widgets/controls.h"

#include <QHash>

namespace tipsovo {

namespace {
QHash<int, QCursor> &registry()
{
    static QHash<int, QCursor> cursors;
    return cursors;
}
} // namespace

void registerProgramCursors()
{
    struct Entry {
        int id;
        const char *picture;
        QPoint hotSpot;
    };
    static const Entry entries[] = {
        {crPinel2, "cursor-pinel2", {5, 29}},
        {crMis, "cursor-mis", {16, 3}},
    };
    for (const Entry &e : entries) {
        const QPixmap pm = programPicture(QString::fromLatin1(e.picture));
        registry().insert(e.id, pm.isNull() ? QCursor(Qt::ArrowCursor)
                                             : QCursor(pm, e.hotSpot.x(), e.hotSpot.y()));
    }
}

bool programCursorsRegistered() { return registry().contains(crPinel2) && registry().contains(crMis); }

QCursor programCursor(int id) { return registry().value(id, QCursor(Qt::ArrowCursor)); }

} // namespace tipsovo
