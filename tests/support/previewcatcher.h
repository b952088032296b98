// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Catching the modal print previews a NATISNI opens: what each showed (its caption, whether the
// hourglass was on while it was open, a copy of its worksheet), each closed again at once.
#include "print/reportpreview.h"

#include <QApplication>
#include <QList>
#include <QTimer>
#include <functional>
#include <optional>

namespace tipsovo::test {

struct ShownPreview {
    QString title;
    bool busyCursor = false;
    std::optional<Report> report;
};

// Runs `press` `times` times; each modal preview it opens is recorded and closed.
inline QList<ShownPreview> catchPreviews(const std::function<void()> &press, int times = 1)
{
    QList<ShownPreview> shown;
    for (int i = 0; i < times; ++i) {
        QTimer::singleShot(0, [&] {
            auto *p = qobject_cast<ReportPreview *>(QApplication::activeModalWidget());
            if (!p)
                return;
            ShownPreview s;
            s.title = p->windowTitle();
            s.busyCursor = QApplication::overrideCursor() != nullptr
                           && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            s.report = p->report();
            shown.append(s);
            p->reject();
        });
        press();
        // A press that opened nothing leaves its answer pending: let it run now, finding no
        // preview, so it cannot catch the next press's.
        QCoreApplication::processEvents();
    }
    return shown;
}

} // namespace tipsovo::test
