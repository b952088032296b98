// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

namespace tipsovo {

// The colour of visible light of the given wavelength in nanometres (380..780, dimmer towards
// both ends); black outside that range.
QColor WavelengthToColor(double nanometres);

} // namespace tipsovo
