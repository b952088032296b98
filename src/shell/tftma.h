// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace tipsovo {

// The black backdrop behind the menu: the desktop around the 800-pixel menu stays black, its
// panels included. It takes no input and keeps below the program's other windows.
class TfTma : public QWidget {
    Q_OBJECT
public:
    explicit TfTma(QWidget *parent = nullptr);
    void showBehind();
};

} // namespace tipsovo
