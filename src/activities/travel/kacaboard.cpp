// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/travel/kacaboard.h"

#include "widgets/controls.h"

#include <QPainter>

namespace tipsovo {

namespace {

constexpr int kCell = KacaModel::kCell;
const QSize kMapSize(KacaModel::kColumns * kCell, KacaModel::kRows * kCell);

QImage loadSprite(const char *name, const QColor &fallback)
{
    QImage img = programPicture(QString::fromLatin1(name)).toImage();
    if (img.isNull()) {
        // Without the program's pictures the train is still seen.
        img = QImage(kCell, kCell, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setBrush(fallback);
        p.drawRect(2, 4, 15, 11);
    }
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied)
        .scaled(kCell, kCell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The pictures are drawn facing right, seen from the side: left is the mirror image (wheels
// stay below), down and up are quarter turns.
QImage facing(const QImage &right, int direction)
{
    switch (direction) {
    case KacaModel::Down: return right.transformed(QTransform().rotate(90));
    case KacaModel::Left: return right.mirrored(true, false);
    case KacaModel::Up: return right.transformed(QTransform().rotate(-90));
    default: return right;
    }
}

} // namespace

KacaBoard::KacaBoard()
    : m_map(kMapSize, QImage::Format_RGB32), m_scratch(kCell, kCell, QImage::Format_RGB32)
{
    m_background = QImage(kMapSize, QImage::Format_RGB32);
    m_background.fill(QColor(255, 255, 170));
    m_map = m_background;
    m_letterFont = QFont(QStringLiteral("Courier New"), 10, QFont::Bold);
    const QImage smoke1 = loadSprite("lok-a", Qt::red);
    const QImage smoke2 = loadSprite("lok-b", Qt::red);
    const QImage wagon = loadSprite("vagon-zadnji", QColor(255, 179, 0));
    // The last wagon's k: 0 right of the wagon in front (so it runs left), 1 above it (runs
    // down), 2 left of it (runs right), 3 below it (runs up).
    static const int wagonFacing[4] = {KacaModel::Left, KacaModel::Down, KacaModel::Right,
                                       KacaModel::Up};
    for (int d = 0; d < 4; ++d) {
        m_sprites[d] = facing(smoke1, d);
        m_sprites[4 + d] = facing(smoke2, d);
        m_sprites[8 + d] = facing(wagon, wagonFacing[d]);
    }
}

void KacaBoard::setBackground(const QImage &map)
{
    if (map.isNull())
        return;
    // The map is expected at 620 × 420; whatever it is, the copy is stretched to the board.
    m_background = map.convertToFormat(QImage::Format_RGB32)
                       .scaled(kMapSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    m_map = m_background;
}

void KacaBoard::clear() { m_map = m_background.copy(); }

QRect KacaBoard::cellRect(QPoint cell) { return {cell.x() * kCell, cell.y() * kCell, kCell, kCell}; }

QImage KacaBoard::disc(const QColor &fill, const QString &letter)
{
    const QString key = fill.name() + letter;
    auto it = m_discs.constFind(key);
    if (it != m_discs.constEnd())
        return *it;
    QImage img(kCell, kCell, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(0.5, 0.5, kCell - 1, kCell - 1));
    if (!letter.isEmpty()) {
        p.setFont(m_letterFont);
        p.setPen(Qt::black);
        const QFontMetrics fm(m_letterFont);
        const int x = (kCell - fm.horizontalAdvance(letter)) / 2;
        const int y = (kCell - fm.height()) / 2;
        p.drawText(QRect(x, y, fm.horizontalAdvance(letter), fm.height()), Qt::AlignCenter, letter);
    }
    p.end();
    m_discs.insert(key, img);
    return img;
}

void KacaBoard::putWagon(QPoint cell, const QString &letter, QRegion &dirty)
{
    const QRect r = cellRect(cell);
    {
        QPainter s(&m_scratch);
        s.drawImage(0, 0, m_background, r.x(), r.y(), kCell, kCell);
        s.drawImage(0, 0, disc(Qt::yellow, letter));
    }
    QPainter p(&m_map);
    p.drawImage(r.topLeft(), m_scratch);
    dirty += r;
}

void KacaBoard::putSprite(QPoint cell, int index, bool onBackground, QRegion &dirty)
{
    const QRect r = cellRect(cell);
    QPainter p(&m_map);
    if (onBackground) {
        QPainter s(&m_scratch);
        s.drawImage(0, 0, m_background, r.x(), r.y(), kCell, kCell);
        s.drawImage(0, 0, m_sprites[index]);
        s.end();
        p.drawImage(r.topLeft(), m_scratch);
    } else {
        p.drawImage(r.topLeft(), m_sprites[index]);
    }
    dirty += r;
}

void KacaBoard::drawLocomotive(const KacaModel &m, QRegion &dirty)
{
    // The smoke flickers: one of the two pictures at random each time.
    putSprite(m.train().first(), 4 * m_random.Random(2) + m.direction(), false, dirty);
}

QRegion KacaBoard::Risi(const KacaModel &m, bool grew, bool full)
{
    QRegion dirty;
    const QList<QPoint> &train = m.train();
    const int n = int(train.size());
    if (n >= 2)
        putSprite(train.last(), 8 + m.lastWagonPicture(), true, dirty);
    if (n >= 3) {
        if (full || m.type() != KacaModel::Navadna) {
            for (int i = 1; i <= n - 2; ++i)
                putWagon(train[i], m.wagonLetter(i), dirty);
        } else {
            // Unlettered wagons all look alike: only the cell the locomotive left and the one
            // the last wagon left behind it change.
            putWagon(train[1], {}, dirty);
            putWagon(train[n - 2], {}, dirty);
        }
    }
    if (!grew && !full && m.vacated().x() >= 0 && !m.onTrain(m.vacated(), 1)) {
        const QRect r = cellRect(m.vacated());
        QPainter p(&m_map);
        p.drawImage(r.topLeft(), m_background, r);
        dirty += r;
    }
    if (m.redrawFrogs() || full) {
        const QColor fill = m.type() == KacaModel::Navadna ? QColor(0, 255, 0) : QColor(Qt::yellow);
        QPainter p(&m_map);
        for (const Frog &f : m.frogs()) {
            // A frog under the train shows again when the last wagon leaves it.
            if (!f.onBoard() || m.onTrain(f.cell))
                continue;
            const QRect r = cellRect(f.cell);
            p.drawImage(r.topLeft(), disc(fill, m.frogLabel(f)));
            dirty += r;
        }
    }
    if (n >= 1)
        drawLocomotive(m, dirty);
    return dirty;
}

QRegion KacaBoard::drawLocomotiveClean(const KacaModel &m)
{
    QRegion dirty;
    putSprite(m.train().first(), 4 * m_random.Random(2) + m.direction(), true, dirty);
    return dirty;
}

} // namespace tipsovo
