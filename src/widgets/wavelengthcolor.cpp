// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/wavelengthcolor.h"

#include <cmath>

namespace tipsovo {

QColor WavelengthToColor(double w)
{
    if (!std::isfinite(w) || w < 0 || w > 100000)
        return QColor(0, 0, 0);
    const int n = int(w); // the bands are chosen by whole nanometres, the values use w
    double r = 0, g = 0, b = 0;
    if (n >= 380 && n < 440) {
        r = (440 - w) / 60;
        b = 1;
    } else if (n >= 440 && n < 490) {
        g = (w - 440) / 50;
        b = 1;
    } else if (n >= 490 && n < 510) {
        g = 1;
        b = (510 - w) / 20;
    } else if (n >= 510 && n < 580) {
        r = (w - 510) / 70;
        g = 1;
    } else if (n >= 580 && n <= 644) {
        r = 1;
        g = (645 - w) / 65;
    } else if (n >= 645 && n <= 780) {
        r = 1;
    }

    double f = 0;
    if (n >= 380 && n < 420)
        f = 0.3 + 0.7 * (w - 380) / 40;
    else if (n >= 420 && n <= 700)
        f = 1;
    else if (n > 700 && n <= 780)
        f = 0.3 + 0.7 * (780 - w) / 80;

    auto channel = [f](double v) {
        if (v == 0)
            return 0;
        return qBound(0, int(std::lround(255 * std::pow(qMax(0.0, v * f), 0.8))), 255);
    };
    return QColor(channel(r), channel(g), channel(b));
}

} // namespace tipsovo
