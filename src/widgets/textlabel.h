// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/markup.h"

#include <QWidget>

namespace tipsovo {

// A text label whose caption carries inline markup (see markup.h), e.g. a town name in the
// font colour with one letter in red: "Lju\clRed\clb\clGreen\clljana" with a green font colour.
// With autoSize on (the default) the label sizes itself to the caption and keeps its anchor
// xPosition: the left edge, the right edge or the centre, by alignment. angle turns the text
// (tenths of a degree, counter-clockwise, stored modulo 3600). The font colour is the palette's
// WindowText; the background (when not transparent, the default) is color().
class TExtendedLabel : public QWidget {
    Q_OBJECT
public:
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

    explicit TExtendedLabel(QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

    QColor fontColor() const;
    void setFontColor(const QColor &color);

    int angle() const { return m_angle; }
    void setAngle(int tenthsOfDegree);

    Alignment alignment() const { return m_alignment; }
    void setAlignment(Alignment alignment);
    int xPosition() const { return m_xPosition; }
    void setXPosition(int x);

    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    bool transparent() const { return m_transparent; }
    void setTransparent(bool on);
    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // Moves and sizes the label; xPosition follows from the new edges.
    void setBounds(int left, int top, int width, int height);

    int textWidth() const { return m_textWidth; }
    int textHeight() const { return m_textHeight; }
    QPoint origin() const { return m_origin; }
    const QList<MarkupPiece> &pieces() const { return m_pieces; }

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *) override;
    void changeEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void measure();
    void applyXPosition();

    QString m_caption;
    QList<MarkupPiece> m_pieces;
    int m_angle = 0;
    Alignment m_alignment = AlignLeft;
    int m_xPosition = 0;
    bool m_autoSize = true;
    bool m_transparent = false;
    bool m_measuring = false;
    QColor m_color = Qt::white;
    int m_textWidth = 0;
    int m_textHeight = 0;
    QPoint m_origin;
};

} // namespace tipsovo
