// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/drawing/tracingsheet.h"

#include <QWidget>
#include <functional>

namespace tipsovo {

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
