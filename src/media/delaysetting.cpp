// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/delaysetting.h"

#include <QSettings>
#include <QVariant>

namespace tipsovo::DelaySetting {

namespace {
const char kKey[] = "zamikZvoka";
} // namespace

int read()
{
    const QSettings settings(QStringLiteral("Brinvel"), QStringLiteral("Kolmar"));
    return readFrom(settings);
}

int readFrom(const QSettings &settings)
{
    const QVariant value = settings.value(QLatin1String(kKey));
    if (!value.isValid())
        return kDefault;
    // A present value that is no integer reads as 0 with ok = false: check both ourselves.
    bool ok = false;
    const int ms = value.toInt(&ok);
    if (!ok || ms < kMin || ms > kMax)
        return kDefault;
    return ms;
}

void write(int ms)
{
    QSettings settings(QStringLiteral("Brinvel"), QStringLiteral("Kolmar"));
    settings.setValue(QLatin1String(kKey), ms);
    settings.sync();
}

} // namespace tipsovo::DelaySetting

namespace tipsovo::FitSetting {

namespace {
const char kKey[] = "celZaslon";
} // namespace

bool read()
{
    const QSettings settings(QStringLiteral("Brinvel"), QStringLiteral("Kolmar"));
    return readFrom(settings);
}

bool readFrom(const QSettings &settings)
{
    bool ok = false;
    const int on = settings.value(QLatin1String(kKey)).toInt(&ok);
    return ok && on == 1;
}

void write(bool on)
{
    QSettings settings(QStringLiteral("Brinvel"), QStringLiteral("Kolmar"));
    settings.setValue(QLatin1String(kKey), on ? 1 : 0);
    settings.sync();
}

} // namespace tipsovo::FitSetting
