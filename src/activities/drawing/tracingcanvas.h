// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <functional>
#include <QPoint>
#include <QWidget>

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

// The drawing area: shows the sheet image, draws while the left button is held. The first
// sheet is drawn at the first paint (`NarisiPrvo`), from whatever `firstSheet` gives then.
class TracingCanvas : public QWidget {
    Q_OBJECT
public:
    TracingCanvas(QSize size, QColor ground, QWidget *parent = nullptr);

    TracingSheet &sheet() { return m_sheet; }
    const TracingSheet &sheet() const { return m_sheet; }
    bool firstSheetPending() const { return m_narisiPrvo; }
    // A sheet chosen before the first paint is not painted over by the first one.
    void firstSheetDone() { m_narisiPrvo = false; }
    void setFirstSheet(std::function<QImage()> firstSheet) { m_firstSheet = std::move(firstSheet); }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;

private:
    TracingSheet m_sheet;
    std::function<QImage()> m_firstSheet;
    bool m_narisiPrvo = true;
    bool m_drawing = false;
};

} // namespace tipsovo
