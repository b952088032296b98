// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/common/randomsource.h"

#include <QDateTime>

namespace tipsovo {

RandomSource::RandomSource()
    : m_gen(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch() ^ quintptr(this)))
{
}

int RandomSource::Random(int n)
{
    if (n < 1)
        return 0;
    return int(m_gen.bounded(quint32(n)));
}

QList<int> RandomSource::shuffledPlaces(int n)
{
    QList<int> order;
    QList<bool> taken(n + 1, false);
    while (order.size() < n) {
        const int k = Random(n) + 1;
        if (!taken[k]) {
            taken[k] = true;
            order.append(k);
        }
    }
    return order;
}

} // namespace tipsovo
