// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QProxyStyle>

namespace tipsovo {

// Pictures drawn larger than their pixels (the program scaled to fill a big screen) are
// filtered rather than blown up pixel by pixel. At the pictures' own size nothing changes.
inline void smoothWhenScaled(QPainter &p)
{
    if (p.device() && p.device()->devicePixelRatioF() != 1.0)
        p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// The same for the pictures the style draws (labels showing a picture), for a program drawn
// scaled.
class SmoothPictureStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawItemPixmap(QPainter *painter, const QRect &rect, int alignment,
                        const QPixmap &pixmap) const override;
};

} // namespace tipsovo
