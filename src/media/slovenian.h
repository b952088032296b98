// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace tipsovo {

// Upper-casing as the program has always done it: over the letters of the Windows-1250
// code page, so "č", "š", "ž" become "Č", "Š", "Ž" and letter case never matters for names.
QString upperCp1250(const QString &text);

// Windows-1250 conversions for the packs' text lists and names. Characters that the code
// page lacks become '?'.
QString fromCp1250(QByteArrayView bytes);
QByteArray toCp1250(const QString &text);

} // namespace tipsovo
