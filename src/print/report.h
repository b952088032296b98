// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace tipsovo {

// A worksheet as the program prints it: one page, A4 portrait with 10 mm margins, and one band
// over the printable area on which text fields, memos, pictures and rectangles lie at positions
// in pixels of 96 per inch, measured from the band's top-left corner. Items are painted in the
// order they were added (the last one on top). The title names the document (the preview's
// caption, the print job, the PDF's title); it is never printed.
//
// A report holds copies of what it prints (pictures are implicitly shared images), never
// references to the screen that built it.
class Report {
public:
    // How a picture fills its box.
    enum class PictureMode {
        AtSize,     // at its own size from the box's top-left corner, cut off at the box
        Stretch,    // stretched to the box
        Center,     // at its own size, centred in the box, cut off at the box
        ScaleToFit, // scaled into the box keeping its proportions, centred
    };

    struct Text {
        QString name;
        int tag = 0;
        QRectF rect; // the starting size; see autoSize
        QString text;
        QFont font;
        QColor colour = Qt::black;
        Qt::Alignment alignment = Qt::AlignLeft;
        // Grows (never shrinks) to fit its text: wider for one line; a word-wrapped field that
        // would reach past the band's right edge wraps there and grows downwards instead.
        bool autoSize = false;
        bool wordWrap = false;
        bool transparent = true;
        QColor ground = Qt::white; // when not transparent
        bool frame = false;
    };

    struct Memo {
        QString name;
        QRectF rect;
        QStringList lines;
        QFont font;
        QColor colour = Qt::black;
        Qt::Alignment alignment = Qt::AlignLeft;
        bool wordWrap = true;
    };

    struct Picture {
        QString name;
        QRectF rect;
        QImage image;
        PictureMode mode = PictureMode::AtSize;
    };

    struct Rectangle {
        QString name;
        QRectF rect;
        QColor fill = Qt::white;
        QColor outline = Qt::black;
    };

    using Item = std::variant<Text, Memo, Picture, Rectangle>;

    // The printable area of A4 with 10 mm margins at 96 px per inch.
    static QSizeF printableSize();
    static QPageLayout pageLayout();
    static constexpr qreal kDpi = 96.0;

    explicit Report(const QString &title = {}, QSizeF band = printableSize());

    QString title() const { return m_title; }
    void setTitle(const QString &t) { m_title = t; }
    QSizeF bandSize() const { return m_band; }
    void setBandSize(QSizeF s) { m_band = s; }
    QColor bandColour() const { return m_bandColour; }
    void setBandColour(const QColor &c) { m_bandColour = c; }
    // The font a new text field or memo starts with.
    QFont defaultFont() const { return m_defaultFont; }
    void setDefaultFont(const QFont &f) { m_defaultFont = f; }

    // Adding returns the new item; the reference lasts until the next item is added.
    Text &addText(const QRectF &rect, const QString &text = {});
    Memo &addMemo(const QRectF &rect, const QStringList &lines = {});
    Picture &addPicture(const QRectF &rect, const QImage &image = {},
                        PictureMode mode = PictureMode::AtSize);
    Rectangle &addRectangle(const QRectF &rect, const QColor &fill = Qt::white,
                            const QColor &outline = Qt::black);

    const std::vector<Item> &items() const { return m_items; }
    // The first item of that kind with that name (nullptr when there is none).
    Text *text(const QString &name);
    const Text *text(const QString &name) const;
    Text *textWithTag(int tag);
    Memo *memo(const QString &name);
    Picture *picture(const QString &name);
    Rectangle *rectangle(const QString &name);
    QList<const Text *> texts() const;

    // Where a text field stands once it has grown to its text.
    QRectF textRect(const Text &t) const;

    // Paints the band in band pixels; the painter's transform places and scales it.
    void paintBand(QPainter &p) const;
    // Renders the one page onto a printer or a PDF writer (its page layout is set to the
    // report's). False when the device cannot be painted on.
    bool render(QPagedPaintDevice &device) const;
    // The whole page (margins included) as a picture, `scale` device pixels per band pixel.
    QImage pageImage(qreal scale) const;

private:
    template <typename T> T *find(const QString &name);

    QString m_title;
    QSizeF m_band;
    QColor m_bandColour = Qt::white;
    QFont m_defaultFont;
    std::vector<Item> m_items;
};

// A font for worksheets, sized in pixels of the 96-dpi band.
QFont reportFont(const QString &family, int pixelSize, bool bold = false);

} // namespace tipsovo
