// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace tipsovo {

class AppHost;

// Opens the activity of a main-menu button by its Tag: the words chooser (1) and the insert-word
// theme menu (7, the long-lived `themeMenu`) modally, the activities 2–6 and 8–10 non-modally
// over the menu. `menuWindow` is the main menu's window, the choosers' parent. Only this file
// knows the activities' classes; the entry point hands it to the menu, so the menu knows none.
void launchActivity(int tag, AppHost &host, QWidget *menuWindow, QWidget *themeMenu);

} // namespace tipsovo
