// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/randomsource.h"
#include "activities/travel/kacamodel.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QRegion>

namespace tipsovo {

// The travel game's picture of the board: the map as loaded (the background, never drawn on)
// and the map with the train and the frogs on it. A step redraws only cells: the last wagon,
// the wagons whose look changed, the vacated cell from the background, the frogs when one was
// eaten or uncovered, and the locomotive. Wagons are composed in a 20 × 20 scratch picture, so
// a cell never shows its background without its disc.
class KacaBoard {
public:
    KacaBoard();

    // The map, scaled to the 620 × 420 board; the drawn map starts over from it.
    void setBackground(const QImage &map);
    const QImage &background() const { return m_background; }
    const QImage &map() const { return m_map; }
    // Draws the whole background onto the map, erasing everything.
    void clear();

    // Risi: draws the train and frogs after a step (or everything of them, `full`), and returns
    // the cells it changed, in map pixels.
    QRegion Risi(const KacaModel &m, bool grew, bool full);
    // At the destination the locomotive is drawn once more on a clean piece of background.
    QRegion drawLocomotiveClean(const KacaModel &m);

    static QRect cellRect(QPoint cell);
    // The twelve 20 × 20 sprites: 0–3 the locomotive facing right, down, left, up; 4–7 the same
    // with the other smoke; 8–11 the last wagon (8 + k, k as KacaModel::lastWagonPicture).
    const QImage &sprite(int i) const { return m_sprites[i]; }
    RandomSource &random() { return m_random; }

private:
    QImage disc(const QColor &fill, const QString &letter);
    void putWagon(QPoint cell, const QString &letter, QRegion &dirty);
    void putSprite(QPoint cell, int index, bool onBackground, QRegion &dirty);
    void drawLocomotive(const KacaModel &m, QRegion &dirty);

    QImage m_background;
    QImage m_map;
    QImage m_scratch;
    QImage m_sprites[12];
    QFont m_letterFont;
    QHash<QString, QImage> m_discs;
    RandomSource m_random;
};

} // namespace tipsovo
