// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tfsplash.h"

#include "widgets/controls.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace tipsovo {

TfSplash::TfSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfSplash"));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(programPicture(QStringLiteral("splash"), {640, 480}));
    picture->setGeometry(0, 0, 640, 480);
    setFixedSize(640, 480);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - 640) / 2, s.y() + (s.height() - 480) / 2);
    }
}

void TfSplash::showNow()
{
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tipsovo
