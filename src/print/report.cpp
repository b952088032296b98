// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPageSize>

namespace tipsovo {

namespace {

constexpr qreal kMarginMm = 10.0;

int textFlags(Qt::Alignment alignment, bool wordWrap)
{
    int flags = int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
    if (wordWrap)
        flags |= Qt::TextWordWrap;
    return flags;
}

QRectF fittedPicture(const Report::Picture &pic)
{
    const QSizeF own = pic.image.size();
    const QRectF box = pic.rect;
    switch (pic.mode) {
    case Report::PictureMode::AtSize:
        return {box.topLeft(), own};
    case Report::PictureMode::Stretch:
        return box;
    case Report::PictureMode::Center:
        return {box.center() - QPointF(own.width() / 2, own.height() / 2), own};
    case Report::PictureMode::ScaleToFit: {
        const QSizeF s = own.scaled(box.size(), Qt::KeepAspectRatio);
        return {box.center() - QPointF(s.width() / 2, s.height() / 2), s};
    }
    }
    return box;
}

} // namespace

QFont reportFont(const QString &family, int pixelSize, bool bold)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // Glyphs placed by the font's own design, so a page measures the same on screen, in the
    // PDF and on paper.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPageLayout Report::pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                       QPageLayout::Millimeter);
}

QSizeF Report::printableSize()
{
    const QRectF mm = pageLayout().paintRect(QPageLayout::Millimeter);
    return {mm.width() / 25.4 * kDpi, mm.height() / 25.4 * kDpi};
}

Report::Report(const QString &title, QSizeF band)
    : m_title(title), m_band(band), m_defaultFont(reportFont(QStringLiteral("Arial"), 13))
{
}

Report::Text &Report::addText(const QRectF &rect, const QString &text)
{
    Text t;
    t.rect = rect;
    t.text = text;
    t.font = m_defaultFont;
    return std::get<Text>(m_items.emplace_back(std::move(t)));
}

Report::Memo &Report::addMemo(const QRectF &rect, const QStringList &lines)
{
    Memo m;
    m.rect = rect;
    m.lines = lines;
    m.font = m_defaultFont;
    return std::get<Memo>(m_items.emplace_back(std::move(m)));
}

Report::Picture &Report::addPicture(const QRectF &rect, const QImage &image, PictureMode mode)
{
    return std::get<Picture>(m_items.emplace_back(Picture{{}, rect, image, mode}));
}

Report::Rectangle &Report::addRectangle(const QRectF &rect, const QColor &fill,
                                        const QColor &outline)
{
    return std::get<Rectangle>(m_items.emplace_back(Rectangle{{}, rect, fill, outline}));
}

template <typename T> T *Report::find(const QString &name)
{
    for (Item &item : m_items) {
        if (T *t = std::get_if<T>(&item); t && t->name == name)
            return t;
    }
    return nullptr;
}

Report::Text *Report::text(const QString &name) { return find<Text>(name); }
const Report::Text *Report::text(const QString &name) const
{
    return const_cast<Report *>(this)->find<Text>(name);
}
Report::Memo *Report::memo(const QString &name) { return find<Memo>(name); }
Report::Picture *Report::picture(const QString &name) { return find<Picture>(name); }
Report::Rectangle *Report::rectangle(const QString &name) { return find<Rectangle>(name); }

Report::Text *Report::textWithTag(int tag)
{
    for (Item &item : m_items) {
        if (Text *t = std::get_if<Text>(&item); t && t->tag == tag)
            return t;
    }
    return nullptr;
}

QList<const Report::Text *> Report::texts() const
{
    QList<const Text *> out;
    for (const Item &item : m_items) {
        if (const Text *t = std::get_if<Text>(&item))
            out.append(t);
    }
    return out;
}

QRectF Report::textRect(const Text &t) const
{
    if (!t.autoSize || t.text.isEmpty())
        return t.rect;
    const QFontMetricsF fm(t.font);
    QRectF r = t.rect;
    const QRectF line = fm.boundingRect(QRectF(0, 0, 1e6, 1e6), textFlags(t.alignment, false),
                                        t.text);
    qreal width = std::max(r.width(), std::ceil(line.width()));
    if (t.wordWrap && r.left() + width > m_band.width())
        width = std::max(r.width(), m_band.width() - r.left());
    r.setWidth(width);
    const QRectF laid = fm.boundingRect(QRectF(0, 0, width, 1e6),
                                        textFlags(t.alignment, t.wordWrap), t.text);
    r.setHeight(std::max(r.height(), std::ceil(laid.height())));
    return r;
}

void Report::paintBand(QPainter &p) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.fillRect(QRectF(QPointF(0, 0), m_band), m_bandColour);
    for (const Item &item : m_items) {
        if (const Rectangle *r = std::get_if<Rectangle>(&item)) {
            // The outline lies inside the box, one band pixel wide.
            p.fillRect(r->rect, r->fill);
            p.setPen(QPen(r->outline, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r->rect.adjusted(0.5, 0.5, -0.5, -0.5));
        } else if (const Picture *pic = std::get_if<Picture>(&item)) {
            if (pic->image.isNull())
                continue;
            p.save();
            p.setClipRect(pic->rect, Qt::IntersectClip);
            p.drawImage(fittedPicture(*pic), pic->image);
            p.restore();
        } else if (const Text *t = std::get_if<Text>(&item)) {
            const QRectF r = textRect(*t);
            if (!t->transparent)
                p.fillRect(r, t->ground);
            if (t->frame) {
                p.setPen(QPen(Qt::black, 1.0));
                p.setBrush(Qt::NoBrush);
                p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
            }
            if (t->text.isEmpty())
                continue;
            p.setFont(t->font);
            p.setPen(t->colour);
            p.drawText(r, textFlags(t->alignment, t->wordWrap), t->text);
        } else if (const Memo *m = std::get_if<Memo>(&item)) {
            p.save();
            p.setClipRect(m->rect, Qt::IntersectClip);
            p.setFont(m->font);
            p.setPen(m->colour);
            p.drawText(m->rect, textFlags(m->alignment, m->wordWrap),
                       m->lines.join(QLatin1Char('\n')));
            p.restore();
        }
    }
    p.restore();
}

bool Report::render(QPagedPaintDevice &device) const
{
    device.setPageLayout(pageLayout());
    QPainter p;
    if (!p.begin(&device))
        return false;
    // The painter starts at the printable area's corner; scale band pixels to the device's.
    const qreal sx = device.logicalDpiX() / kDpi;
    const qreal sy = device.logicalDpiY() / kDpi;
    p.scale(sx, sy);
    p.setClipRect(QRectF(QPointF(0, 0), printableSize()));
    paintBand(p);
    return p.end();
}

QImage Report::pageImage(qreal scale) const
{
    const QSizeF pageMm = pageLayout().fullRect(QPageLayout::Millimeter).size();
    const QSize size(qRound(pageMm.width() / 25.4 * kDpi * scale),
                     qRound(pageMm.height() / 25.4 * kDpi * scale));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal margin = kMarginMm / 25.4 * kDpi;
    p.scale(scale, scale);
    p.translate(margin, margin);
    p.setClipRect(QRectF(QPointF(0, 0), printableSize()));
    paintBand(p);
    return image;
}

} // namespace tipsovo
