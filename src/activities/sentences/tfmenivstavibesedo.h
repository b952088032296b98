// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace tipsovo {

// The theme menu of the insert-the-word activity: created once at start-up and shown modally
// from the main menu each time.
class TfMeniVstaviBesedo : public QDialog {
    Q_OBJECT
public:
    explicit TfMeniVstaviBesedo(QWidget *parent = nullptr);
};

} // namespace tipsovo
