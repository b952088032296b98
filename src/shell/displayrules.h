// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

namespace tipsovo {

// Where the main menu goes on a display of the given size.
struct MenuPlacement {
    bool tooSmall = false;     // under 800 × 600: the program says so and ends
    bool exactMinimum = false; // exactly 800 × 600: the menu fills the whole display
    QRect geometry;            // the menu's bounds (empty when too small)
};

MenuPlacement placeMenu(QSize display);
// The same on a screen that the whole program has been scaled to (the picture drawn larger):
// the whole 800 × 600 picture, centred. A screen that rounds to a pixel short of it still takes
// the whole picture at its edge.
MenuPlacement placeFittedMenu(QSize display);

} // namespace tipsovo
