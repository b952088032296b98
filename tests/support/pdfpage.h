// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading back a PDF the way a reader sees it, through poppler's command-line tools: the words
// with their boxes (pdftotext -bbox), the page as a 96-dpi picture (pdftoppm), the page count
// and title (pdfinfo). Positions are converted to worksheet band pixels: 96 per inch from the
// corner inside the 10 mm margins.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

namespace tipsovo::test {

inline constexpr qreal kMarginPx = 10.0 / 25.4 * 96.0;

struct PdfWord {
    QString text;
    QRectF box; // band pixels
};

inline QString runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QString unescapeHtml(QString s)
{
    s.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    s.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    s.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    s.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    s.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return s;
}

inline QList<PdfWord> pdfWords(const QString &pdf)
{
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf,
                                                               QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> out;
    const qreal k = 96.0 / 72.0;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QPointF tl(m.captured(1).toDouble() * k - kMarginPx,
                         m.captured(2).toDouble() * k - kMarginPx);
        const QPointF br(m.captured(3).toDouble() * k - kMarginPx,
                         m.captured(4).toDouble() * k - kMarginPx);
        out.append({unescapeHtml(m.captured(5)), QRectF(tl, br)});
    }
    return out;
}

// The words whose text is exactly `text`, in reading order.
inline QList<PdfWord> wordsNamed(const QList<PdfWord> &words, const QString &text)
{
    QList<PdfWord> out;
    for (const PdfWord &w : words)
        if (w.text == text)
            out.append(w);
    return out;
}

// The page at 96 dpi; band point (x, y) is pixel (x + margin, y + margin). In grey, as a
// black-and-white printer would print it, when `grey` is set.
inline QImage pdfPageImage(const QString &pdf, bool grey = false)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    QStringList args{QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                     QStringLiteral("-singlefile")};
    if (grey)
        args << QStringLiteral("-gray");
    runTool(QStringLiteral("pdftoppm"), args << pdf << base);
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

inline QColor bandPixel(const QImage &page, qreal x, qreal y)
{
    return page.pixelColor(int(x + kMarginPx), int(y + kMarginPx));
}

inline QString pdfInfo(const QString &pdf, const QString &key)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(key),
                                  QRegularExpression::MultilineOption);
    return line.match(info).captured(1).trimmed();
}

} // namespace tipsovo::test
