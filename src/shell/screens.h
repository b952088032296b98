// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tipsovo {

class TfGlavno;

// Opens the screen of a main-menu button by its Tag: the words chooser (1) and the insert-word
// theme menu (7) modally, the activities (2–6, 8–10) and the about screen (-1) non-modally.
// Only the shell knows the screens' classes.
void launchScreen(int tag, TfGlavno &menu);

} // namespace tipsovo
