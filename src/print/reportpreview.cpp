// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/reportpreview.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace tipsovo {

namespace {

constexpr qreal kMinZoom = 0.5;
constexpr qreal kMaxZoom = 2.0;
constexpr qreal kZoomStep = 0.25;

QString cannotSave(const QString &path)
{
    return QStringLiteral("Ne morem shraniti datoteke \"%1\".\nV to mapo ni mogoče pisati ali pa "
                          "je disk poln. Izberi drugo mapo.")
        .arg(QDir::toNativeSeparators(path));
}

QPushButton *commandButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setCursor(Qt::PointingHandCursor);
    QFont f = b->font();
    f.setPixelSize(15);
    f.setBold(true);
    b->setFont(f);
    b->setMinimumHeight(33);
    return b;
}

} // namespace

bool saveReportPdf(const Report &report, const QString &path, QString *error)
{
    // QSaveFile writes beside the target and renames only once everything is written, so a
    // failure leaves no half-written file (and an older file of that name untouched).
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = cannotSave(path);
        return false;
    }
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.title());
        writer.setCreator(QStringLiteral("Tipsovo"));
        painted = report.render(writer);
    }
    // The written PDF may still lie in the file's buffer: a disk that is full takes the
    // last of it only now, and QSaveFile would still put the cut-off file in place of the
    // older one, so the flush is checked before the file is committed.
    if (!painted || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        if (error)
            *error = cannotSave(path);
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = cannotSave(path);
        return false;
    }
    return true;
}

QString pdfFileName(const QString &title)
{
    QString name;
    for (QChar c : title) {
        // Characters that some file systems refuse in a name are left out.
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            continue;
        name += c;
    }
    name = name.simplified();
    if (name.isEmpty())
        name = QStringLiteral("Tipsovo");
    return name + QStringLiteral(".pdf");
}

QString suggestedPdfPath(const QString &title)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir(folder).filePath(pdfFileName(title));
}

void preparePrinter(QPrinter &printer, const Report &report)
{
    printer.setDocName(report.title());
    printer.setCreator(QStringLiteral("Tipsovo"));
    printer.setPageLayout(Report::pageLayout());
    printer.setFromTo(1, 1);
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

ReportPreview::ReportPreview(Report report, QWidget *parent)
    : QDialog(parent), m_report(std::move(report))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setModal(true);
    // The caption is the document title as it is, without the program's name added.
    m_savedDisplayName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QString());
    setWindowTitle(m_report.title());

    m_askFile = [](QWidget *p, const QString &suggested) {
        return QFileDialog::getSaveFileName(p, QStringLiteral("Shrani kot PDF"), suggested,
                                            QStringLiteral("Dokument PDF (*.pdf)"));
    };
    m_showError = [](QWidget *p, const QString &text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Tipsovo"), text, QMessageBox::Ok, p);
        box.exec();
    };

    auto *column = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    column->addLayout(row);

    QPushButton *print = commandButton(this, QStringLiteral("btnNatisni"), QStringLiteral("NATISNI"));
    QPushButton *pdf = commandButton(this, QStringLiteral("btnShraniPdf"),
                                     QStringLiteral("Shrani kot PDF"));
    QPushButton *smaller = commandButton(this, QStringLiteral("btnPomanjsaj"), QStringLiteral("−"));
    QPushButton *larger = commandButton(this, QStringLiteral("btnPovecaj"), QStringLiteral("+"));
    QPushButton *close = commandButton(this, QStringLiteral("btnZapri"), QStringLiteral("ZAPRI"));
    smaller->setToolTip(QStringLiteral("Pomanjšaj"));
    larger->setToolTip(QStringLiteral("Povečaj"));
    m_zoomLabel = new QLabel(this);
    m_zoomLabel->setObjectName(QStringLiteral("lblPovecava"));
    m_zoomLabel->setMinimumWidth(60);
    m_zoomLabel->setAlignment(Qt::AlignCenter);
    row->addWidget(print);
    row->addWidget(pdf);
    row->addSpacing(24);
    row->addWidget(smaller);
    row->addWidget(m_zoomLabel);
    row->addWidget(larger);
    row->addStretch();
    row->addWidget(close);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrStran"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_page = new QLabel;
    m_page->setObjectName(QStringLiteral("imgStran"));
    m_scroll->setWidget(m_page);
    column->addWidget(m_scroll, 1);

    connect(print, &QPushButton::clicked, this, &ReportPreview::natisni);
    connect(pdf, &QPushButton::clicked, this, &ReportPreview::shraniKotPdf);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(smaller, &QPushButton::clicked, this, [this] { setZoom(m_zoom - kZoomStep); });
    connect(larger, &QPushButton::clicked, this, [this] { setZoom(m_zoom + kZoomStep); });

    // The page at its real size where the screen has room for its width, and never so small
    // that its letters cannot be read.
    const QRect avail = (parent ? parent->screen() : QGuiApplication::primaryScreen())
                            ->availableGeometry();
    const QSizeF page = QPageSize(QPageSize::A4).sizePixels(int(Report::kDpi));
    const qreal fitWidth = (avail.width() - 80) / page.width();
    m_zoom = std::clamp(std::min(1.0, fitWidth), 0.75, 1.0);
    showPage();
    const int width = std::min(avail.width(), int(page.width() * m_zoom) + 60);
    resize(width, std::max(400, avail.height() - 60));
}

ReportPreview::~ReportPreview() { QGuiApplication::setApplicationDisplayName(m_savedDisplayName); }

void ReportPreview::setZoom(qreal zoom)
{
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (qFuzzyCompare(zoom, m_zoom) && m_page->pixmap().isNull() == false)
        return;
    m_zoom = zoom;
    showPage();
}

void ReportPreview::showPage()
{
    const qreal dpr = devicePixelRatioF();
    QImage image = m_report.pageImage(m_zoom * dpr);
    image.setDevicePixelRatio(dpr);
    m_page->setPixmap(QPixmap::fromImage(image));
    m_page->resize(m_page->sizeHint());
    m_zoomLabel->setText(QStringLiteral("%1 %").arg(qRound(m_zoom * 100)));
}

bool ReportPreview::shraniKotPdf()
{
    const QString path = m_askFile(this, suggestedPdfPath(m_report.title()));
    if (path.isEmpty())
        return false;
    QString error;
    if (!saveReportPdf(m_report, path, &error)) {
        m_showError(this, error);
        return false;
    }
    return true;
}

void ReportPreview::natisni()
{
    // With no printer at all (none installed, or no print service running) the platform's
    // dialog would offer only printing into a file somewhere: say so, and show the way that
    // works without a printer.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        m_showError(this, QStringLiteral("Ni nameščenega tiskalnika.\nDelovni list lahko "
                                         "shraniš z gumbom »Shrani kot PDF« in ga natisneš "
                                         "drugje."));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, m_report);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Natisni"));
    dialog.setMinMax(1, 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The dialog may have changed the paper; the page stays A4 with its margins.
    printer.setDocName(m_report.title());
    if (!m_report.render(printer))
        m_showError(this, QStringLiteral("Ne morem natisniti delovnega lista.\nPreveri, ali je "
                                         "tiskalnik vklopljen in pravilno nameščen."));
}

void previewReport(const Report &report, QWidget *parent)
{
    ReportPreview preview(report, parent);
    preview.exec();
}

} // namespace tipsovo
