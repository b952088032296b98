// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>

namespace tipsovo {

// What the drawing area of the follow-lines screen holds: the sheet and the child's lines in
// one image. The pen is pure red and combines with what is there by bitwise AND, so white
// paper turns red and the black lines of the sheet stay black. Kept in an image, the drawing
// survives any repaint of the area (a window passing over it).
class TracingSheet {
public:
    explicit TracingSheet(QSize size, QColor ground);

    const QImage &image() const { return m_image; }
    // The sheet stretched over the whole area; anything drawn before is gone.
    void showSheet(const QImage &sheet);
    void setPenWidth(int px) { m_penWidth = px; }
    int penWidth() const { return m_penWidth; }
    void penDown(QPoint at) { m_pen = at; }
    void lineTo(QPoint to);
    QPoint penPosition() const { return m_pen; }

private:
    QImage m_image;
    QColor m_ground;
    int m_penWidth = 10;
    QPoint m_pen;
};

} // namespace tipsovo
