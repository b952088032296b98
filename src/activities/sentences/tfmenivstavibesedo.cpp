// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/sentences/tfmenivstavibesedo.h"

#include "activities/common/controls.h"
#include "media/hint.h"

#include <QLabel>

namespace tipsovo {

TfMeniVstaviBesedo::TfMeniVstaviBesedo(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfMeniVstaviBesedo"));
    setFixedSize(346, 374);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto *title = new QLabel(QStringLiteral("Izberi igro"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setFont(arial(24, true));
    title->setStyleSheet(QStringLiteral("color: navy"));
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, 12, 346, 36);
    setHint(title, QStringLiteral("A40"));

    auto *close = closeButton(this, QStringLiteral("BitBtn4"), {228, 312, 92, 37});
    connect(close, &FlatButton::clicked, this, &QDialog::reject);
}

} // namespace tipsovo
