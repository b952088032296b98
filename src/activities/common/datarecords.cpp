// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/common/datarecords.h"

namespace tipsovo {

namespace {
QString field(const QString &line, int firstColumn, int lastColumn)
{
    const int start = firstColumn - 1;
    if (line.size() <= start)
        return {};
    return line.mid(start, lastColumn - firstColumn + 1).trimmed();
}
} // namespace

DataRecord splitDataRecord(const QString &line)
{
    return {field(line, 1, 20), field(line, 22, 41), field(line, 44, 48)};
}

QString dataPackErrorText()
{
    return QStringLiteral("Ne morem prebrati podatkov iz datoteke \"Dat.ipo\".\n"
                          "Poskusi ponovno namestiti program.");
}

QList<DataRecord> dataRecordsFromLines(QStringList lines, int capacity, bool *tooMany)
{
    QList<DataRecord> records;
    if (tooMany)
        *tooMany = false;
    // An empty last line (a file ending in a line break twice) is not a record.
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    for (const QString &line : std::as_const(lines)) {
        if (records.size() >= capacity) {
            if (tooMany)
                *tooMany = true;
            break;
        }
        records.append(splitDataRecord(line));
    }
    return records;
}

} // namespace tipsovo
