// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

namespace tipsovo {

// "The whole picture on a big screen": the program is drawn larger, by the largest factor at
// which its 800 × 600 picture still fits the screen, with the layout and every coordinate as
// they are. Qt scales the whole program (every window, text drawn at the larger size, mouse
// positions mapped back); the factor has to be known before the application object exists,
// so it is measured on a short-lived one first.
namespace FitScreen {

// (Whether to is stored as FitSetting, media/delaysetting.h, and given on the command line.)

// The factor that fits 800 × 600 into a screen of this size, rounded down to thousandths so
// that the scaled screen never comes out a pixel short; 1 when the picture does not grow.
double factorFor(QSize screen);

// Measures the primary screen on an application object of its own and, when the picture can
// grow, sets the scale for the application created afterwards. Returns the factor applied
// (1 when none). Command-line arguments are left untouched for the real application.
double prepare(int argc, char *argv[]);
// prepare() keeps a connection to the display open past its measuring, so that a display
// server whose only client that was does not reset before the program connects again; this
// lets it go, once the program's application object is connected.
void releaseDisplay();

} // namespace FitScreen

} // namespace tipsovo
