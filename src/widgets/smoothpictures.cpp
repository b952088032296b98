// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/smoothpictures.h"

namespace tipsovo {

void SmoothPictureStyle::drawItemPixmap(QPainter *painter, const QRect &rect, int alignment,
                                        const QPixmap &pixmap) const
{
    const bool was = painter->testRenderHint(QPainter::SmoothPixmapTransform);
    smoothWhenScaled(*painter);
    QProxyStyle::drawItemPixmap(painter, rect, alignment, pixmap);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, was);
}

} // namespace tipsovo
