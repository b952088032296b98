// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/controls.h"
#include "widgets/smoothpictures.h"

#include <QEnterEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace tipsovo {

QFont pixelFont(const QString &family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont arial(int pixelSize, bool bold) { return pixelFont(QStringLiteral("Arial"), pixelSize, bold); }

FlatButton::FlatButton(QWidget *parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void FlatButton::setCaptionLines(const QStringList &lines)
{
    m_lines = lines;
    setText(lines.join(QLatin1Char(' ')));
    update();
}

void FlatButton::setTextColor(const QColor &c)
{
    m_color = c;
    update();
}

void FlatButton::setGlyph(const QPixmap &up, Glyph where)
{
    m_up = up;
    m_glyphPlace = where;
    update();
}

void FlatButton::setStatePictures(const QPixmap &up, const QPixmap &disabled,
                                  const QPixmap &pressed, const QPixmap &down)
{
    m_up = up;
    m_disabled = disabled;
    m_pressed = pressed;
    m_down = down;
    m_glyphPlace = Glyph::Above;
    update();
}

QPixmap FlatButton::currentPicture() const
{
    if (!isEnabled() && !m_disabled.isNull())
        return m_disabled;
    if (isDown() && !m_pressed.isNull())
        return m_pressed;
    if (isChecked() && !m_down.isNull())
        return m_down;
    return m_up;
}

QSize FlatButton::sizeHint() const
{
    const QFontMetrics fm(font());
    int w = 0;
    for (const QString &l : m_lines)
        w = qMax(w, fm.horizontalAdvance(l));
    int h = fm.height() * int(m_lines.size());
    const QPixmap pic = currentPicture();
    if (!pic.isNull()) {
        const QSize ps = pic.deviceIndependentSize().toSize();
        if (m_glyphPlace == Glyph::Above) {
            w = qMax(w, ps.width());
            h += ps.height() + 2;
        } else {
            w += ps.width() + 6;
            h = qMax(h, ps.height());
        }
    }
    return {w + 12, h + 8};
}

void FlatButton::enterEvent(QEnterEvent *e)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(e);
}

void FlatButton::leaveEvent(QEvent *e)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    smoothWhenScaled(p);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect r = rect();
    const bool latched = isCheckable() && isChecked();
    if ((((m_hovered && m_hoverPlate) || m_marked) && isEnabled()) || isDown()) {
        // An even warm tint under the pointer, stronger while pressed. No outline: a thin line
        // inside a menu card reads as a keyboard-focus frame, and the pointer rests on a card
        // from the first moment (it starts in the middle of the screen).
        QPainterPath path;
        path.addRoundedRect(QRectF(r), 8, 8);
        p.fillPath(path, isDown() ? QColor(255, 200, 40, 110) : hoverTint());
    }
    const QPixmap pic = currentPicture();
    const QSize ps = pic.isNull() ? QSize() : pic.deviceIndependentSize().toSize();
    const QFontMetrics fm(font());
    const int lineH = fm.height();
    const int textH = lineH * int(m_lines.size());
    const int shift = (isDown() || latched) ? 1 : 0;

    QRect textArea = r;
    if (!pic.isNull()) {
        if (m_glyphPlace == Glyph::Above) {
            const int total = ps.height() + 2 + textH;
            const int top = (r.height() - total) / 2;
            p.drawPixmap(QPoint((r.width() - ps.width()) / 2 + shift, top + shift), pic);
            textArea = QRect(0, top + ps.height() + 2, r.width(), textH);
        } else {
            int textW = 0;
            for (const QString &l : m_lines)
                textW = qMax(textW, fm.horizontalAdvance(l));
            const int total = ps.width() + 6 + textW;
            const int left = (r.width() - total) / 2;
            const int picX = m_glyphPlace == Glyph::Left ? left : left + textW + 6;
            const int textX = m_glyphPlace == Glyph::Left ? left + ps.width() + 6 : left;
            p.drawPixmap(QPoint(picX + shift, (r.height() - ps.height()) / 2 + shift), pic);
            textArea = QRect(textX, (r.height() - textH) / 2, textW, textH);
        }
    } else {
        textArea = QRect(0, (r.height() - textH) / 2, r.width(), textH);
    }
    p.setFont(font());
    p.setPen(isEnabled() ? m_color : QColor(128, 128, 128));
    for (int i = 0; i < m_lines.size(); ++i) {
        const QRect lineRect(textArea.left() + shift, textArea.top() + i * lineH + shift,
                             textArea.width(), lineH);
        p.drawText(lineRect, Qt::AlignCenter, m_lines.at(i));
    }
}

ShadowLabel::ShadowLabel(QWidget *parent) : QLabel(parent) {}

void ShadowLabel::setShadow(const QColor &color, QPoint offset)
{
    m_shadow = color;
    m_offset = offset;
    update();
}

void ShadowLabel::setTextColor(const QColor &c)
{
    m_color = c;
    update();
}

QSize ShadowLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    QSize s = fm.size(0, text());
    return s + QSize(qAbs(m_offset.x()) + 2, qAbs(m_offset.y()));
}

void ShadowLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    smoothWhenScaled(p);
    p.setFont(font());
    const QRect r = contentsRect();
    p.setPen(m_shadow);
    p.drawText(r.translated(m_offset), int(alignment()), text());
    p.setPen(m_color);
    p.drawText(r, int(alignment()), text());
}

void PictureBox::paintEvent(QPaintEvent *)
{
    const QPixmap pm = pixmap();
    if (pm.isNull())
        return;
    QPainter p(this);
    smoothWhenScaled(p);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (hasScaledContents()) {
        p.drawPixmap(rect(), pm);
        return;
    }
    const QSize size = pm.deviceIndependentSize().toSize();
    p.drawPixmap(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), pm);
}

void PictureBox::mousePressEvent(QMouseEvent *e)
{
    QLabel::mousePressEvent(e);
    if (e->button() == Qt::LeftButton)
        emit pressed();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *e) { e->accept(); }

void setTextColour(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

FlatButton *closeButton(QWidget *parent, const QString &objectName, const QRect &geometry)
{
    auto *plate = new QFrame(parent);
    plate->setFrameStyle(QFrame::Panel | QFrame::Raised);
    plate->setLineWidth(2);
    plate->setGeometry(geometry);
    auto *close = new FlatButton(parent);
    close->setObjectName(objectName);
    close->setCaptionLines({QStringLiteral("Zapri")});
    close->setFont(arial(15, true));
    close->setTextColor(QColor(0, 0, 128));
    close->setGlyph(programPicture(QStringLiteral("cmd-konec")), FlatButton::Glyph::Left);
    close->setGeometry(geometry);
    return close;
}

QPixmap programPicture(const QString &name, QSize fallback)
{
    QPixmap pm(QStringLiteral(":/pictures/%1.png").arg(name));
    if (pm.isNull() && fallback.isValid()) {
        pm = QPixmap(fallback);
        pm.fill(Qt::transparent);
    }
    return pm;
}

} // namespace tipsovo
