// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace tipsovo {

// The easier/harder chooser of the guess-the-word activity. Created once at start-up and
// shown by that activity each time it opens.
class TfAaliB : public QDialog {
    Q_OBJECT
public:
    explicit TfAaliB(QWidget *parent = nullptr);
};

} // namespace tipsovo
