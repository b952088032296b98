// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace tipsovo {

// Splits Windows-1250 text into lines at CR, LF and CR LF.
QStringList splitListText(QByteArrayView bytes);

} // namespace tipsovo
