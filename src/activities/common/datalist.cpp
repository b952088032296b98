// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/common/datarecords.h"

#include "media/mediaservice.h"

namespace tipsovo {

QList<DataRecord> readDataList(MediaService &media, const QString &listName, int capacity)
{
    QStringList lines;
    if (!media.NaloziSeznam(QStringLiteral("Dat"), listName, lines))
        return {};
    bool tooMany = false;
    QList<DataRecord> records = dataRecordsFromLines(std::move(lines), capacity, &tooMany);
    if (tooMany)
        media.reportError(dataPackErrorText());
    return records;
}

} // namespace tipsovo
