// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/textlist.h"

#include "media/slovenian.h"

namespace tipsovo {

QStringList splitListText(QByteArrayView bytes)
{
    // As the program's lists have always been read: CR, LF and CR LF each end a line; a
    // terminator at the very end adds no empty line; the text ends at a NUL (padding).
    QStringList lines;
    const qsizetype n = bytes.size();
    qsizetype end = 0;
    while (end < n && bytes[end] != '\0')
        ++end;
    qsizetype pos = 0;
    while (pos < end) {
        qsizetype stop = pos;
        while (stop < end && bytes[stop] != '\r' && bytes[stop] != '\n')
            ++stop;
        lines.append(fromCp1250(bytes.sliced(pos, stop - pos)));
        pos = stop;
        if (pos < end && bytes[pos] == '\r')
            ++pos;
        if (pos < end && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

} // namespace tipsovo
