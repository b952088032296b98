// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCursor>

namespace tipsovo {

// The program's own cursors, registered at start-up under the identifiers the screens use.
enum ProgramCursor {
    crPinel2 = 5, // pencil pointing to the lower left, hot spot at its tip: drawing areas
    crMis = 7,    // computer mouse with its cable: the travel game's speed control
};

// Builds the cursors from the program's pictures; called once by the main menu.
void registerProgramCursors();
bool programCursorsRegistered();
// The registered cursor; the arrow when the identifier is unknown.
QCursor programCursor(int id);

} // namespace tipsovo
