// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QStringList>

namespace tipsovo {

// Font for the layouts: sizes are in pixels, so nothing scales with the system font size.
QFont pixelFont(const QString &family, int pixelSize, bool bold = false);
QFont arial(int pixelSize, bool bold = false);

// A flat button as the program's screens use it: no frame of its own (it lies on the screen's
// picture), a caption of one or more lines, an optional picture above the caption (or beside
// it), the hand cursor. When checkable it latches: up, disabled, pressed and latched-down each
// may have a picture of their own.
class FlatButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Glyph { Above, Left, Right };

    explicit FlatButton(QWidget *parent = nullptr);

    void setCaptionLines(const QStringList &lines);
    QStringList captionLines() const { return m_lines; }
    void setTextColor(const QColor &c);
    QColor textColor() const { return m_color; }

    // The picture for each state; a missing state falls back to the up picture.
    void setGlyph(const QPixmap &up, Glyph where = Glyph::Above);
    void setStatePictures(const QPixmap &up, const QPixmap &disabled, const QPixmap &pressed,
                          const QPixmap &down);

    // A light rounded plate behind the caption while the pointer is over the button, so a
    // child sees what will be clicked.
    void setHoverPlate(bool on) { m_hoverPlate = on; update(); }
    // Marked by the keyboard: the same tint as under the pointer.
    void setMarked(bool on) { m_marked = on; update(); }
    bool isMarked() const { return m_marked; }
    // The warm tint of a choice under the pointer or the keyboard's mark.
    static QColor hoverTint() { return QColor(255, 200, 40, 60); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *) override;
    void enterEvent(QEnterEvent *) override;
    void leaveEvent(QEvent *) override;

private:
    QPixmap currentPicture() const;

    QStringList m_lines;
    QColor m_color = Qt::darkBlue;
    Glyph m_glyphPlace = Glyph::Above;
    QPixmap m_up, m_disabled, m_pressed, m_down;
    bool m_hoverPlate = true;
    bool m_hovered = false;
    bool m_marked = false;
};

// A label that draws its text a second time, offset, in a shadow colour first.
class ShadowLabel : public QLabel {
    Q_OBJECT
public:
    explicit ShadowLabel(QWidget *parent = nullptr);
    void setShadow(const QColor &color, QPoint offset);
    void setTextColor(const QColor &c);
    QColor textColor() const { return m_color; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor m_color = Qt::black;
    QColor m_shadow = Qt::white;
    QPoint m_offset{2, 2};
};

// A picture control that shows its picture in full colour also when it (or its panel) is
// disabled: a solved word's panel stops reacting but keeps its picture as it was. The picture
// is stretched over the control when scaledContents is set, centred otherwise. It reports
// presses of the left button while enabled (a disabled picture is mute); the second press of
// a double-click is not reported again.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    // Named "Slika" for screen readers until its screen names what it shows.
    explicit PictureBox(QWidget *parent = nullptr) : QLabel(parent)
    {
        setAccessibleName(QStringLiteral("Slika"));
    }

signals:
    void pressed();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
};

// The one kind of "Zapri" button of the program's small windows: a raised plate with the door
// picture and "Zapri" in navy (silent unless the window gives it a Hint). The plate lies behind the button in `geometry`.
FlatButton *closeButton(QWidget *parent, const QString &objectName, const QRect &geometry);

// Sets the colour `w` writes its text in (its palette's WindowText, in every colour group).
void setTextColour(QWidget *w, const QColor &c);

// The program's own pictures (embedded): ":/pictures/<name>.png". A missing picture is an
// empty pixmap of `fallback` size so layouts stay intact.
QPixmap programPicture(const QString &name, QSize fallback = {});

} // namespace tipsovo
