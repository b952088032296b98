// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfaalib.h"

namespace tipsovo {

TfAaliB::TfAaliB(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfAaliB"));
}

} // namespace tipsovo
