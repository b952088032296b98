// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tipsovo {

class MediaService;

// One line of a text list of the data pack "Dat", cut into its fixed columns (counted from 1):
// field 1 = 1–20, field 2 = 22–41, field 3 = 44–48; columns 21, 42 and 43 separate. Each
// field is trimmed; a line shorter than a field's start gives an empty field.
struct DataRecord {
    QString field1;
    QString field2;
    QString field3;
};

DataRecord splitDataRecord(const QString &line);

// The message shown when a data list cannot be read whole.
QString dataPackErrorText();

// The records of a list's lines, in order: trailing blank lines are dropped, and at most
// `capacity` records are kept; *tooMany tells that lines were left over.
QList<DataRecord> dataRecordsFromLines(QStringList lines, int capacity, bool *tooMany = nullptr);

// Reads list `listName` of the data pack "Dat" into at most `capacity` records, in order.
// A missing pack or list gives no records and no message. A list that does not fit the table
// (more lines than `capacity`) is reported with dataPackErrorText() through the media
// service's error box; the records read before that stay.
QList<DataRecord> readDataList(MediaService &media, const QString &listName, int capacity);

} // namespace tipsovo
