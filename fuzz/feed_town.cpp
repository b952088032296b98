// SPDX-License-Identifier: GPL-3.0-or-later
// A town's text and picture from the pack "MESTA" as the town card reads them, and the town
// worksheet printed from them: the memo keeps every line as read, the page is drawn.
// The input: a length-prefixed text list, then the picture's bitmap resource.
#include "feeds.h"

#include "media/bitmap.h"
#include "media/textlist.h"
#include "print/worksheets.h"

namespace tipsovo::fuzz {

QString feedTown(QByteArrayView input)
{
    const TwoParts parts = splitTwo(input);
    const QByteArrayView text = parts.first, picture = parts.rest;
    TownSheet town;
    town.title = QStringLiteral("Ljubljana");
    town.text = splitListText(text);
    decodeBitmapResource(picture, &town.picture);

    Report sheet = TqrKaca(town);
    const Report::Memo *memo = sheet.memo(QStringLiteral("qrmmoMesto"));
    if (!memo || memo->lines != town.text)
        return QStringLiteral("the worksheet's memo does not hold the town's text");
    const QImage page = sheet.pageImage(0.25);
    if (page.isNull())
        return QStringLiteral("no page");
    return {};
}

} // namespace tipsovo::fuzz
