// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QSettings;

namespace tipsovo {

// The stored hover delay, "zamikZvoka", under organisation "Brinvel", application "Kolmar"
// (HKCU\Software\Brinvel\Kolmar on Windows). A missing value, one that is not an integer or
// one outside the dialog's range 1..1000 reads as 300.
namespace DelaySetting {
constexpr int kDefault = 300;
constexpr int kMin = 1;
constexpr int kMax = 1000;
int read();
// The same from any settings store (the file of another format, in tests).
int readFrom(const QSettings &settings);
void write(int ms);
} // namespace DelaySetting

// Beside it, "celZaslon": whether the program starts drawn as large as the screen allows
// (see shell/fitscreen.h). 1 on, 0 off; missing or anything else reads as off.
namespace FitSetting {
bool read();
bool readFrom(const QSettings &settings);
void write(bool on);
} // namespace FitSetting

} // namespace tipsovo
