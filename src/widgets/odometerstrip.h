// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/odometermodel.h"

#include <QImage>
#include <QString>

namespace tipsovo {

// The odometer's digit strip and the drawing of its cells, apart from the widget.

// The strip as the counter uses it (RGB32): `given`, or the picture at `fallbackPath` when
// `given` is null; a picture too small to hold 17 cells gives a dark strip of 15 × 20 cells,
// so the counter keeps its size.
QImage odometerStrip(const QImage &given, const QString &fallbackPath = {});

// Draws what the model's cells show in the current frame into `output` (digitCount strip
// widths wide, one glyph high).
void drawOdometerCells(QImage &output, const OdometerModel &model, const QImage &strip);

} // namespace tipsovo
