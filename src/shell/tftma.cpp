// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tftma.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace tipsovo {

TfTma::TfTma(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("TfTma"));
    setWindowTitle(QStringLiteral("Tipsovo"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    setEnabled(false);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void TfTma::showBehind()
{
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    // Full screen rather than maximised, so it covers the desktop's panels too. It is the head
    // of the program's windows (see WindowFamily): they stay above it, it above the panels.
    // (Shown without showFullScreen(), which would ask to activate a window that takes no focus.)
    setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized))
                   | Qt::WindowFullScreen);
    show();
    lower();
}

} // namespace tipsovo
