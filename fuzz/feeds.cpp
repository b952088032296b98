// SPDX-License-Identifier: GPL-3.0-or-later
#include "feeds.h"

#include <algorithm>

namespace tipsovo::fuzz {

TwoParts splitTwo(QByteArrayView input)
{
    if (input.size() < 2)
        return {{}, input};
    const qsizetype length = qsizetype(quint8(input[0])) | qsizetype(quint8(input[1])) << 8;
    const QByteArrayView body = input.sliced(2);
    const qsizetype n = std::min(length, body.size());
    return {body.first(n), body.sliced(n)};
}

} // namespace tipsovo::fuzz
