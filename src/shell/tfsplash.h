// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tipsovo {

// The start-up picture, 640 × 480, centred on the display while the opening sound plays.
class TfSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfSplash(QWidget *parent = nullptr);
    // Shows the splash and paints it at once, before the event loop runs.
    void showNow();
};

} // namespace tipsovo
