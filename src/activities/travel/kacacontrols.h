// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <functional>

namespace tipsovo {

class KacaBoard;
class KacaModel;

// The travel game's own controls: the map the train runs on, the blinking town marker and the
// speed dial. The screen places them and reacts to their callbacks.
namespace kaca {

// The map with the train: shows the board's picture, which the screen updates cell by cell.
class PaintBox : public QWidget {
public:
    PaintBox(const KacaBoard &board, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    const KacaBoard &m_board;
};

// shpMesto: a circle, pen red, brush in the blink colour, hand cursor.
class Marker : public QWidget {
public:
    explicit Marker(QWidget *parent);
    void setFill(const QColor &c);
    QColor fill() const { return m_fill; }
    std::function<void()> pressed;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    QColor m_fill = QColor(0, 255, 0);
};

// pbHitrost: the speed dial; left button slower, right button faster.
class SpeedDial : public QWidget {
public:
    SpeedDial(KacaModel &model, QWidget *parent);
    std::function<void()> changed;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    KacaModel &m_model;
    QPixmap m_pictures[5];
};

} // namespace kaca
} // namespace tipsovo
