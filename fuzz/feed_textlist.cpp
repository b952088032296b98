// SPDX-License-Identifier: GPL-3.0-or-later
// A text list splits into lines without their line ends, every byte becomes one character of
// the code page (and goes back to itself), and every line cuts into fields that fit their
// columns.
#include "feeds.h"

#include "activities/common/datarecords.h"
#include "media/slovenian.h"
#include "media/textlist.h"

namespace tipsovo::fuzz {

QString feedTextList(QByteArrayView input)
{
    const QStringList lines = splitListText(input);
    qsizetype characters = 0;
    for (const QString &line : lines) {
        if (line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0)))
            return QStringLiteral("a line end or NUL inside a line");
        characters += line.size();
        const QByteArray back = toCp1250(line);
        if (back.size() != line.size())
            return QStringLiteral("a line changed length on the way back");
        const QString upper = upperCp1250(line);
        if (upper.size() != line.size() || upperCp1250(upper) != upper)
            return QStringLiteral("upper-casing not stable");
    }
    if (characters > input.size())
        return QStringLiteral("more characters than bytes");
    // The code page both ways: every byte comes back, but for the five it leaves undefined.
    QByteArray expected = input.toByteArray();
    for (char &c : expected) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0x81 || u == 0x83 || u == 0x88 || u == 0x90 || u == 0x98)
            c = '?';
    }
    if (toCp1250(fromCp1250(input)) != expected)
        return QStringLiteral("Windows-1250 does not come back to its bytes");
    // What the words screens keep of the list ("ABECEDA" holds 125 records).
    bool tooMany = false;
    const QList<DataRecord> records = dataRecordsFromLines(lines, 125, &tooMany);
    if (records.size() > 125 || (tooMany && records.size() != 125))
        return QStringLiteral("%1 records kept").arg(records.size());
    for (const DataRecord &r : records) {
        if (r.field1.size() > 20 || r.field2.size() > 20 || r.field3.size() > 5)
            return QStringLiteral("a field wider than its columns");
        if (r.field1 != r.field1.trimmed() || r.field2 != r.field2.trimmed()
            || r.field3 != r.field3.trimmed())
            return QStringLiteral("a field not trimmed");
    }
    return {};
}

} // namespace tipsovo::fuzz
