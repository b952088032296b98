// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/displayrules.h"

namespace tipsovo {

MenuPlacement placeMenu(QSize display)
{
    MenuPlacement p;
    const int w = display.width();
    const int h = display.height();
    if (w < 800 || h < 600) {
        p.tooSmall = true;
    } else if (w == 800 && h == 600) {
        p.exactMinimum = true;
        p.geometry = QRect(0, 0, 800, 600);
    } else if (w > 800 && h > 600) {
        // Integer division rounds toward zero, as the layout wants.
        p.geometry = QRect((w - 800) / 2, (h - 573) / 2, 800, 573);
    } else {
        // One side at its minimum, the other larger.
        p.geometry = QRect(0, 0, 800, 573);
    }
    return p;
}

MenuPlacement placeFittedMenu(QSize display)
{
    if (display.width() < 799 || display.height() < 599)
        return placeMenu(display);
    MenuPlacement p;
    p.geometry = QRect(qMax(0, (display.width() - 800) / 2), qMax(0, (display.height() - 600) / 2),
                       800, 600);
    return p;
}

} // namespace tipsovo
