// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever the settings file holds, the hover delay read from it is one the dialog can show
// (1 to 1000 ms), and the full-screen choice reads without fault. Each input is written to a file of its own, so the settings cache never
// answers from an earlier one.
#include "feeds.h"

#include "media/delaysetting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

namespace tipsovo::fuzz {

QString feedSetting(QByteArrayView input)
{
    static int serial = 0;
    const QString path = QDir::temp().filePath(
        QStringLiteral("tipsovo-fuzz-%1-%2.conf").arg(QCoreApplication::applicationPid()).arg(++serial));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(input.data(), input.size()) != input.size())
            return {}; // no room for the file: nothing to read
    }
    int ms = 0;
    {
        const QSettings settings(path, QSettings::IniFormat);
        ms = DelaySetting::readFrom(settings);
        // The full-screen choice beside it is read from the same file without harm.
        static_cast<void>(FitSetting::readFrom(settings));
    }
    QFile::remove(path);
    if (ms < DelaySetting::kMin || ms > DelaySetting::kMax)
        return QStringLiteral("delay %1 ms").arg(ms);
    return {};
}

} // namespace tipsovo::fuzz
