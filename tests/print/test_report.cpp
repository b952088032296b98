// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet model rendered to PDF and read back as a reader sees it: where the words stand,
// how pictures fill their boxes, what the preview saves and what it refuses.
#include "print/report.h"
#include "print/reportpreview.h"
#include "support/pdfpage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

QString writePdf(const Report &r, const QTemporaryDir &dir, const QString &name = "r.pdf")
{
    const QString path = dir.filePath(name);
    QString error;
    if (!saveReportPdf(r, path, &error))
        qWarning("%s", qPrintable(error));
    return path;
}

// A picture of four coloured quarters, so the part that shows tells how it was fitted.
QImage quarters(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, w / 2, h / 2, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h / 2, Qt::green);
    p.fillRect(0, h / 2, w / 2, h - h / 2, Qt::blue);
    p.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, Qt::yellow);
    return img;
}

bool near(const QColor &a, const QColor &b, int tol = 60)
{
    return std::abs(a.red() - b.red()) <= tol && std::abs(a.green() - b.green()) <= tol
        && std::abs(a.blue() - b.blue()) <= tol;
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // The band is the printable area of A4 with 10 mm margins, in 96-dpi pixels.
    void bandIsA4PrintableAreaAt96Dpi()
    {
        const QSizeF s = Report::printableSize();
        QCOMPARE(qRound(s.width() * 10), 7181);  // 190 mm
        QCOMPARE(qRound(s.height() * 10), 10469); // 277 mm
    }

    // Texts land where the band says, on a PDF writer of any resolution, and the page is one
    // A4 page titled with the document title.
    void textsStandAtTheirBandPositions_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::newRow("1200 dpi") << 1200;
        QTest::newRow("300 dpi") << 300;
        QTest::newRow("96 dpi") << 96;
    }
    void textsStandAtTheirBandPositions()
    {
        QFETCH(int, resolution);
        Report r(QStringLiteral("TIPSOVO - Preskus"));
        Report::Text &left = r.addText(QRectF(100, 200, 300, 30), QStringLiteral("LEVO"));
        left.font = reportFont(QStringLiteral("Arial"), 20);
        Report::Text &centred = r.addText(QRectF(0, 500, 718, 30), QStringLiteral("SREDINA"));
        centred.font = reportFont(QStringLiteral("Arial"), 20, true);
        centred.alignment = Qt::AlignHCenter;

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.pdf"));
        {
            QPdfWriter writer(path);
            writer.setResolution(resolution);
            writer.setTitle(r.title());
            QVERIFY(r.render(writer));
        }
        const QList<PdfWord> words = pdfWords(path);
        QCOMPARE(words.size(), 2);
        QCOMPARE(words[0].text, QStringLiteral("LEVO"));
        QVERIFY2(std::abs(words[0].box.left() - 100) < 2.5, qPrintable(QString::number(words[0].box.left())));
        QVERIFY(words[0].box.top() >= 199 && words[0].box.bottom() <= 231);
        QCOMPARE(words[1].text, QStringLiteral("SREDINA"));
        QVERIFY(std::abs(words[1].box.center().x() - 359) < 2.5);
        QCOMPARE(pdfInfo(path, QStringLiteral("Pages")), QStringLiteral("1"));
        QVERIFY(pdfInfo(path, QStringLiteral("Page size")).startsWith(QStringLiteral("595")));
        QCOMPARE(pdfInfo(path, QStringLiteral("Title")), QStringLiteral("TIPSOVO - Preskus"));
    }

    // A field that grows shows all of its text, from its left edge; one that does not is cut
    // at its box only where it wraps.
    void growingFieldsShowTheirWholeText()
    {
        Report r(QStringLiteral("t"));
        Report::Text &grow = r.addText(QRectF(50, 100, 15, 28), QStringLiteral("DOLGABESEDA"));
        grow.font = reportFont(QStringLiteral("Courier New"), 27, true);
        grow.autoSize = true;
        grow.alignment = Qt::AlignHCenter;
        const QRectF grown = r.textRect(grow);
        QCOMPARE(grown.topLeft(), QPointF(50, 100));
        QVERIFY(grown.width() > 11 * 16);
        QVERIFY(grown.height() >= 28);

        // A wrapping field stops at the band's edge and grows downwards instead.
        Report::Text &wrap = r.addText(QRectF(600, 300, 58, 17),
                                       QStringLiteral("ENA DVE TRI ŠTIRI PET ŠEST"));
        wrap.autoSize = true;
        wrap.wordWrap = true;
        const QRectF wrapped = r.textRect(wrap);
        QVERIFY(wrapped.right() <= r.bandSize().width() + 0.01);
        QVERIFY(wrapped.height() > 17);

        QTemporaryDir dir;
        const QList<PdfWord> words = pdfWords(writePdf(r, dir));
        const QList<PdfWord> big = wordsNamed(words, QStringLiteral("DOLGABESEDA"));
        QCOMPARE(big.size(), 1);
        QVERIFY(std::abs(big[0].box.left() - 50) < 3);
        for (const char *w : {"ENA", "DVE", "TRI", "ŠTIRI", "PET", "ŠEST"}) {
            const QList<PdfWord> found = wordsNamed(words, QString::fromUtf8(w));
            QCOMPARE(found.size(), 1);
            QVERIFY2(found[0].box.right() <= 719, qPrintable(w));
        }
    }

    // The four ways a picture fills its box, seen in the rendered page.
    void picturesFillTheirBoxesByMode()
    {
        Report r(QStringLiteral("t"));
        const QImage big = quarters(240, 240);
        r.addPicture(QRectF(20, 20, 120, 120), big, Report::PictureMode::AtSize);
        r.addPicture(QRectF(200, 20, 120, 120), big, Report::PictureMode::Stretch);
        r.addPicture(QRectF(380, 20, 120, 120), big, Report::PictureMode::Center);
        r.addPicture(QRectF(20, 300, 300, 150), quarters(100, 100), Report::PictureMode::ScaleToFit);
        QTemporaryDir dir;
        const QImage page = pdfPageImage(writePdf(r, dir));
        QVERIFY(!page.isNull());

        // At its size: only the red quarter fits the box; nothing spills out of it.
        QVERIFY(near(bandPixel(page, 30, 30), Qt::red));
        QVERIFY(near(bandPixel(page, 130, 130), Qt::red));
        QVERIFY(near(bandPixel(page, 150, 150), Qt::white));
        // Stretched: all four quarters inside 120 × 120.
        QVERIFY(near(bandPixel(page, 210, 30), Qt::red));
        QVERIFY(near(bandPixel(page, 310, 30), Qt::green));
        QVERIFY(near(bandPixel(page, 210, 130), Qt::blue));
        QVERIFY(near(bandPixel(page, 310, 130), Qt::yellow));
        QVERIFY(near(bandPixel(page, 330, 130), Qt::white));
        // Centred, not scaled: the middle of the picture, the four quarters meeting in the
        // box's centre, cut off at the box.
        QVERIFY(near(bandPixel(page, 430, 70), Qt::red));
        QVERIFY(near(bandPixel(page, 450, 70), Qt::green));
        QVERIFY(near(bandPixel(page, 430, 90), Qt::blue));
        QVERIFY(near(bandPixel(page, 450, 90), Qt::yellow));
        QVERIFY(near(bandPixel(page, 385, 25), Qt::red));
        QVERIFY(near(bandPixel(page, 375, 25), Qt::white));
        // Scaled into the box: a square of 150 in the middle of 300 × 150, whites beside it.
        QVERIFY(near(bandPixel(page, 100, 305), Qt::red));
        QVERIFY(near(bandPixel(page, 240, 445), Qt::yellow));
        QVERIFY(near(bandPixel(page, 90, 375), Qt::white));
        QVERIFY(near(bandPixel(page, 250, 375), Qt::white));
    }

    // Rectangles lie in the order added: a card over its shadow, its outline inside its box.
    void rectanglesStackInOrder()
    {
        Report r(QStringLiteral("t"));
        r.addRectangle(QRectF(108, 108, 100, 50), QColor(192, 192, 192), QColor(192, 192, 192));
        r.addRectangle(QRectF(100, 100, 100, 50), Qt::white, Qt::black);
        QTemporaryDir dir;
        const QImage page = pdfPageImage(writePdf(r, dir));
        QVERIFY(near(bandPixel(page, 150, 125), Qt::white, 10));    // card over shadow
        QVERIFY(near(bandPixel(page, 204, 155), QColor(192, 192, 192), 20)); // shadow shows
        QVERIFY(near(bandPixel(page, 150, 100), Qt::black, 90));    // top outline
        QVERIFY(near(bandPixel(page, 150, 149), Qt::black, 90));    // bottom outline
        QVERIFY(near(bandPixel(page, 150, 97), Qt::white, 10));     // nothing above
    }

    // A memo wraps its lines inside its box and is cut at its bottom.
    void memoWrapsInsideItsBox()
    {
        Report r(QStringLiteral("t"));
        QStringList lines;
        lines << QStringLiteral("Prva vrstica besedila o mestu, ki je dovolj dolga, da se prelomi "
                                "v drugo vrstico.")
              << QStringLiteral("Druga") << QStringLiteral("Tretja") << QStringLiteral("Četrta")
              << QStringLiteral("Peta") << QStringLiteral("Šesta") << QStringLiteral("Sedma");
        Report::Memo &m = r.addMemo(QRectF(74, 96, 300, 100), lines);
        m.font = reportFont(QStringLiteral("Arial"), 16);
        QTemporaryDir dir;
        const QList<PdfWord> words = pdfWords(writePdf(r, dir));
        QVERIFY(!words.isEmpty());
        for (const PdfWord &w : words) {
            QVERIFY2(w.box.left() >= 73 && w.box.right() <= 375, qPrintable(w.text));
            QVERIFY2(w.box.top() >= 95 && w.box.top() < 196, qPrintable(w.text));
        }
        QVERIFY(!wordsNamed(words, QStringLiteral("Druga")).isEmpty());
        QVERIFY(wordsNamed(words, QStringLiteral("Sedma")).isEmpty()); // below the box
    }

    // A printer is set up for the report: the job carries the title, the page is A4 portrait
    // with 10 mm margins, whatever paper it had before.
    void printerCarriesTheTitleAndTheA4Page()
    {
        Report r(QStringLiteral("TIPSOVO - Kje je črka?"));
        r.addText(QRectF(10, 10, 200, 30), QStringLiteral("NATISNJENO"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        preparePrinter(printer, r);
        QCOMPARE(printer.docName(), r.title());
        QVERIFY(r.render(printer));
        QCOMPARE(pdfInfo(path, QStringLiteral("Title")), r.title());
        QVERIFY(pdfInfo(path, QStringLiteral("Page size")).startsWith(QStringLiteral("595")));
        const QList<PdfWord> words = pdfWords(path);
        QCOMPARE(words.size(), 1);
        QVERIFY(std::abs(words[0].box.left() - 10) < 2.5);
    }

    void pdfNameComesFromTheTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "TIPSOVO - Besede" << "TIPSOVO - Besede.pdf";
        QTest::newRow("question mark") << "TIPSOVO - Kje je črka?" << "TIPSOVO - Kje je črka.pdf";
        QTest::newRow("slashes") << "A/B\\C: \"D\"" << "ABC D.pdf";
        QTest::newRow("nothing left") << "???" << "Tipsovo.pdf";
    }
    void pdfNameComesFromTheTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, file);
        QCOMPARE(pdfFileName(title), file);
        QCOMPARE(QFileInfo(suggestedPdfPath(title)).fileName(), file);
    }

    // Saving writes a whole one-page PDF; a folder that cannot be written gives a message and
    // leaves nothing behind, and an older file of that name untouched.
    void savingIsAllOrNothing()
    {
        Report r(QStringLiteral("TIPSOVO - Besede"));
        r.addText(QRectF(0, 16, 718, 25), QStringLiteral("POIŠČI"));
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("list.pdf"));
        QString error;
        QVERIFY(saveReportPdf(r, good, &error));
        QVERIFY(error.isEmpty());
        QCOMPARE(pdfInfo(good, QStringLiteral("Pages")), QStringLiteral("1"));
        QCOMPARE(wordsNamed(pdfWords(good), QStringLiteral("POIŠČI")).size(), 1);

        // A "folder" that is a file can be written by nobody, not even the administrator.
        const QString notFolder = dir.filePath(QStringLiteral("datoteka"));
        QFile plain(notFolder);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        error.clear();
        QVERIFY(!saveReportPdf(r, notFolder + QStringLiteral("/novo.pdf"), &error));
        QVERIFY(error.startsWith(QStringLiteral("Ne morem shraniti datoteke")));
        QVERIFY(error.contains(QStringLiteral("novo.pdf")));

        // A folder without write permission (meaningless for the administrator, who may write
        // anywhere): an older file of the name stays as it was, no temporary file is left.
        const QString locked = dir.filePath(QStringLiteral("zaklenjeno"));
        QVERIFY(QDir().mkdir(locked));
        QFile old(locked + QStringLiteral("/list.pdf"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("staro");
        old.close();
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(locked + QStringLiteral("/x"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("the administrator may write into any folder");
        }
        QVERIFY(!saveReportPdf(r, locked + QStringLiteral("/list.pdf"), &error));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden), QStringList{"list.pdf"});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("staro"));
    }

    // The preview is modal, captioned with the title, shows the page readably, and saves the
    // same page (or shows the error) through its button.
    void previewSavesThePageItShows()
    {
        Report r(QStringLiteral("TIPSOVO - Zlogi"));
        r.addText(QRectF(0, 16, 718, 25), QStringLiteral("ZLOG")).alignment = Qt::AlignHCenter;
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("izbrano.pdf"));
        QString suggested;
        QStringList errors;
        QString title;
        qreal zoom = 0;
        bool modal = false;
        int pageWidth = 0;

        QTimer::singleShot(0, [&] {
            auto *p = qobject_cast<ReportPreview *>(QApplication::activeModalWidget());
            QVERIFY(p);
            modal = p->isModal();
            title = p->windowTitle();
            zoom = p->zoom();
            pageWidth = p->pageView()->pixmap().deviceIndependentSize().toSize().width();
            p->setFileAsker([&](QWidget *, const QString &s) {
                suggested = s;
                return target;
            });
            p->setErrorShower([&](QWidget *, const QString &text) { errors << text; });
            p->findChild<QPushButton *>(QStringLiteral("btnShraniPdf"))->click();
            // A second save into a folder that is not there: a message, no file.
            p->setFileAsker([&](QWidget *, const QString &) {
                return dir.filePath(QStringLiteral("ni/take/mape.pdf"));
            });
            p->findChild<QPushButton *>(QStringLiteral("btnShraniPdf"))->click();
            p->findChild<QPushButton *>(QStringLiteral("btnZapri"))->click();
        });
        previewReport(r, nullptr);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(modal);
        QCOMPARE(title, QStringLiteral("TIPSOVO - Zlogi"));
        QVERIFY(zoom >= 0.75);
        QVERIFY(pageWidth >= 595);
        QCOMPARE(QFileInfo(suggested).fileName(), QStringLiteral("TIPSOVO - Zlogi.pdf"));
        QCOMPARE(pdfInfo(target, QStringLiteral("Pages")), QStringLiteral("1"));
        const QList<PdfWord> words = wordsNamed(pdfWords(target), QStringLiteral("ZLOG"));
        QCOMPARE(words.size(), 1);
        QVERIFY(std::abs(words[0].box.center().x() - 359) < 2.5);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains(QStringLiteral("mape.pdf")));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("ni"))));
    }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
