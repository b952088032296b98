// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "print/report.h"

#include <QCursor>
#include <QDialog>
#include <functional>

class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;

namespace tipsovo {

// Writes the report as a one-page PDF to `path`, all or nothing: the file appears only when it
// has been written completely. On failure `error` gets a message for the teacher.
bool saveReportPdf(const Report &report, const QString &path, QString *error = nullptr);

// A file name for the report's PDF made from its title ("TIPSOVO - Kje je črka?" gives
// "TIPSOVO - Kje je črka.pdf"), and where the save dialog offers it: the documents folder
// (the home folder when there is none).
QString pdfFileName(const QString &title);
QString suggestedPdfPath(const QString &title);

// A printer set up for the report: A4 portrait with its margins, the print job named by the
// report's title.
void preparePrinter(QPrinter &printer, const Report &report);

// The hourglass over the building of a worksheet (or, where a screen keeps it, over its
// preview too); the normal cursor returns when it goes, also when building fails.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// The print preview of a worksheet: modal, captioned with the document title, the page at a
// readable zoom; NATISNI prints through the platform's printer dialog, "Shrani kot PDF" writes
// the same page to a PDF file, so a worksheet can be used without a printer.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    explicit ReportPreview(Report report, QWidget *parent = nullptr);
    ~ReportPreview() override;

    const Report &report() const { return m_report; }

    // Page pixels per band pixel (1.0 = the page at its real size on a 96-dpi screen).
    qreal zoom() const { return m_zoom; }
    void setZoom(qreal zoom);
    QLabel *pageView() const { return m_page; }

    // How the preview asks for a file name and shows an error: the platform's dialogs unless
    // replaced (an empty name means the teacher cancelled).
    using FileAsker = std::function<QString(QWidget *parent, const QString &suggested)>;
    using ErrorShower = std::function<void(QWidget *parent, const QString &text)>;
    void setFileAsker(FileAsker asker) { m_askFile = std::move(asker); }
    void setErrorShower(ErrorShower shower) { m_showError = std::move(shower); }

public slots:
    // Asks for a file and writes the PDF; true when a file was written.
    bool shraniKotPdf();
    // The platform's printer dialog, then the page to the chosen printer.
    void natisni();

private:
    void showPage();

    Report m_report;
    qreal m_zoom = 1.0;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_page = nullptr;
    QLabel *m_zoomLabel = nullptr;
    FileAsker m_askFile;
    ErrorShower m_showError;
    QString m_savedDisplayName;
};

// Shows the worksheet in its modal preview; returns when the preview is closed, and the
// preview with its copy of the worksheet is gone.
void previewReport(const Report &report, QWidget *parent);

} // namespace tipsovo
