// SPDX-License-Identifier: GPL-3.0-or-later
// The preview's NATISNI through a real print server: a private CUPS with a CUPS-PDF queue
// (started by tests/support/with-print-server), whose printed PDF must hold the words of the
// saved one; NATISNI with no queue and with no server at all; and "Shrani kot PDF" onto a full
// and onto a read-only file system, small tmpfs mounts in the test's own mount namespace.
#include "print/reportpreview.h"
#include "print/worksheets.h"
#include "support/pdfpage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>

using namespace tipsovo;
using namespace tipsovo::test;

namespace {

// Why there is no print server of the test's own, or nothing when there is one.
QString serverMissing()
{
    if (qEnvironmentVariableIsSet("TIPSOVO_PRINT_SERVER_MISSING"))
        return qEnvironmentVariable("TIPSOVO_PRINT_SERVER_MISSING");
    if (qEnvironmentVariable("TIPSOVO_PRINTER").isEmpty())
        return QStringLiteral("no print server of the test's own: run the test under "
                              "tests/support/with-print-server");
    return {};
}

// Runs a command (the print server's tools, mount); whether it succeeded, with what it wrote.
bool run(const QString &program, const QStringList &args, QString *output = nullptr,
         QString *errors = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool finished = p.waitForFinished(20000);
    if (output)
        *output = QString::fromUtf8(p.readAllStandardOutput());
    if (errors)
        *errors = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    return finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The words of a PDF in reading order, as a reader copies them out.
QStringList pdfText(const QString &pdf)
{
    return runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")})
        .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// What the preview did while `act` ran with it open: the messages it showed, and whether a
// printer dialog came up (which the test accepts, or turns away when `acceptDialog` is off).
struct PreviewRun {
    QStringList messages;
    int printDialogs = 0;
};

PreviewRun withPreview(const Report &report, const std::function<void(ReportPreview &)> &act,
                       bool acceptDialog)
{
    PreviewRun seen;
    ReportPreview preview(report);
    preview.setErrorShower([&](QWidget *, const QString &text) { seen.messages << text; });
    preview.setFileAsker([](QWidget *, const QString &) { return QString(); });
    // The printer dialog, whenever one is open: accepted as a teacher would, with the default
    // printer, or turned away.
    QTimer dialogWatch;
    dialogWatch.setInterval(20);
    QObject::connect(&dialogWatch, &QTimer::timeout, [&] {
        if (auto *d = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
            ++seen.printDialogs;
            acceptDialog ? d->accept() : d->reject();
        }
    });
    dialogWatch.start();
    QTimer::singleShot(0, &preview, [&] {
        act(preview);
        preview.accept();
    });
    preview.exec();
    return seen;
}

void clickNatisni(ReportPreview &p)
{
    p.findChild<QPushButton *>(QStringLiteral("btnNatisni"))->click();
}

// A small tmpfs mounted for one test and unmounted again, however the test ends.
class SmallDisk {
public:
    explicit SmallDisk(const QString &options)
    {
        if (qEnvironmentVariable("TIPSOVO_PRIVATE_MOUNTS") != QStringLiteral("1")) {
            m_why = QStringLiteral("mounts are made only in a mount namespace of the test's own "
                                   "(run under tests/support/with-print-server)");
            return;
        }
        QString errors;
        if (!run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                           QStringLiteral("-o"), options,
                                           QStringLiteral("tipsovo-test"), m_dir.path()},
                 nullptr, &errors))
            m_why = QStringLiteral("this machine does not allow mounting a tmpfs: ") + errors;
        else
            m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            run(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir.path()});
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    QString whyNot() const { return m_why; }
    QString path(const QString &name = {}) const { return m_dir.filePath(name); }
    bool remountReadOnly()
    {
        return run(QStringLiteral("mount"),
                   {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_dir.path()});
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.flush();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Saves through the preview's "Shrani kot PDF" into `path`; the messages it showed.
QStringList saveThroughPreview(const Report &report, const QString &path)
{
    QStringList messages;
    ReportPreview preview(report);
    preview.setErrorShower([&](QWidget *, const QString &text) { messages << text; });
    preview.setFileAsker([&](QWidget *, const QString &) { return path; });
    preview.findChild<QPushButton *>(QStringLiteral("btnShraniPdf"))->click();
    return messages;
}

} // namespace

class TestPrintQueue : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Without a server of the test's own, one that is surely not there: the machine's own
        // printers must not answer.
        if (!serverMissing().isEmpty()) {
            m_noServer = std::make_unique<QTemporaryDir>();
            qputenv("CUPS_SERVER", QFile::encodeName(m_noServer->filePath("cups.sock")));
        }
    }

    // NATISNI in the preview, the printer dialog accepted: the worksheet goes through the
    // print server to the CUPS-PDF queue, and what comes out holds the same words, in the same
    // order, as the PDF the preview saves; the job carries the worksheet's title.
    void natisniPrintsThroughTheQueue()
    {
        if (!serverMissing().isEmpty())
            QSKIP(qPrintable(serverMissing()));
        const QString queue = qEnvironmentVariable("TIPSOVO_PRINTER");
        QVERIFY(QPrinterInfo::availablePrinterNames().contains(queue));
        const QDir out(qEnvironmentVariable("TIPSOVO_PRINT_OUT"));
        QVERIFY(out.exists());
        QVERIFY(out.entryList({QStringLiteral("*.pdf")}, QDir::Files).isEmpty());

        const Report sheet = TqrOznaciPovedi();
        const PreviewRun seen = withPreview(sheet, clickNatisni, true);
        QCOMPARE(seen.printDialogs, 1);
        QCOMPARE(seen.messages, QStringList());

        // The job is done when the server has no job left to do and the queue's PDF is there.
        QString pdf;
        const bool printed = QTest::qWaitFor(
            [&] {
                const QStringList found = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
                QString pending;
                if (found.size() == 1 && run(QStringLiteral("lpstat"), {QStringLiteral("-o")}, &pending)
                    && pending.trimmed().isEmpty())
                    pdf = out.filePath(found.first());
                return !pdf.isEmpty();
            },
            45000);
        if (!printed)
            qWarning("%s", readFile(qEnvironmentVariable("TIPSOVO_CUPS_LOG")).constData());
        QVERIFY2(printed, "the queue's PDF did not appear");
        QString jobs;
        QVERIFY(run(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("completed"),
                                               QStringLiteral("-o"), queue},
                    &jobs));
        QVERIFY2(jobs.contains(queue + QStringLiteral("-")), qPrintable(jobs));

        QTemporaryDir dir;
        const QString saved = dir.filePath(QStringLiteral("shranjeno.pdf"));
        QVERIFY(saveReportPdf(sheet, saved));
        // The queue's PostScript round trip (Ghostscript to PostScript, cups-pdf's Ghostscript
        // back to PDF) leaves the letters as Type 3 glyphs with codes of its own, so the words
        // are compared by where they stand and how wide they are: every sentence word of the
        // saved sheet is on the printed page, in its place, and nothing else is.
        QVERIFY(pdfText(saved).contains(QStringLiteral("živalskem")));
        auto body = [](const QList<PdfWord> &words) {
            QList<PdfWord> out;
            for (const PdfWord &w : words)
                if (w.box.top() > 80)
                    out.append(w);
            return out;
        };
        const QList<PdfWord> printedWords = body(pdfWords(pdf)), savedWords = body(pdfWords(saved));
        QVERIFY(savedWords.size() > 300);
        QCOMPARE(printedWords.size(), savedWords.size());
        for (const PdfWord &w : savedWords) {
            const bool found = std::any_of(printedWords.begin(), printedWords.end(), [&](const PdfWord &p) {
                return std::abs(p.box.left() - w.box.left()) < 1.5
                    && std::abs(p.box.right() - w.box.right()) < 2
                    && std::abs(p.box.center().y() - w.box.center().y()) < 6;
            });
            QVERIFY2(found, qPrintable(w.text));
        }
        QCOMPARE(pdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("1"));
        QVERIFY(pdfInfo(pdf, QStringLiteral("Page size")).startsWith(QStringLiteral("595")));
    }

    // A print server without a single queue: NATISNI says in Slovenian that there is no
    // printer and shows no printer dialog, and the preview goes on.
    void natisniWithNoQueueSaysSo()
    {
        if (!serverMissing().isEmpty())
            QSKIP(qPrintable(serverMissing()));
        QString errors;
        QVERIFY2(run(QStringLiteral("lpadmin"),
                     {QStringLiteral("-x"), qEnvironmentVariable("TIPSOVO_PRINTER")}, nullptr,
                     &errors),
                 qPrintable(errors));
        QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty());
        const PreviewRun seen = withPreview(TqrOznaciPovedi(), clickNatisni, false);
        QCOMPARE(seen.printDialogs, 0);
        QCOMPARE(seen.messages.size(), 1);
        QVERIFY2(seen.messages[0].startsWith(QStringLiteral("Ni nameščenega tiskalnika")),
                 qPrintable(seen.messages[0]));
    }

    // No print server at all (the test's own ended, or none ever there): the same message,
    // and NATISNI returns at once instead of waiting on a server that never answers. Pressed
    // twice, it says so twice.
    void natisniWithNoPrintServerSaysSo()
    {
        if (serverMissing().isEmpty()) {
            const qint64 pid = qEnvironmentVariableIntValue("TIPSOVO_CUPS_PID");
            QVERIFY(pid > 0);
            QVERIFY(::kill(pid_t(pid), SIGTERM) == 0);
            QVERIFY(QTest::qWaitFor([&] { return ::kill(pid_t(pid), 0) != 0; }, 10000));
        }
        const PreviewRun seen = withPreview(
            TqrOznaciPovedi(),
            [](ReportPreview &p) {
                clickNatisni(p);
                clickNatisni(p);
            },
            false);
        QCOMPARE(seen.printDialogs, 0);
        QCOMPARE(seen.messages.size(), 2);
        QVERIFY(seen.messages[1].startsWith(QStringLiteral("Ni nameščenega tiskalnika")));
        QVERIFY(seen.messages[1].contains(QStringLiteral("Shrani kot PDF")));
    }

    // "Shrani kot PDF" onto a full disk: the teacher is told, no half-written file is left,
    // and the older file of that name stays whole.
    void savingOntoAFullDiskKeepsTheOlderFile()
    {
        SmallDisk disk(QStringLiteral("size=256k,mode=0755"));
        if (!disk.mounted())
            QSKIP(qPrintable(disk.whyNot()));
        const QByteArray older = QByteArray("%PDF-1.4 starejši list ") + QByteArray(3000, 'x');
        QVERIFY(writeFile(disk.path(QStringLiteral("list.pdf")), older));
        // Fill the disk, then free a little: room for the start of the new PDF, not for all.
        QFile filler(disk.path(QStringLiteral("polnilo")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
        QCOMPARE(QStorageInfo(disk.path()).bytesAvailable(), 0);
        QVERIFY(filler.resize(filler.size() - 4096));
        QVERIFY(QStorageInfo(disk.path()).bytesAvailable() <= 8192);
        const QStringList before = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);

        const Report sheet = TqrOznaciPovedi();
        QTemporaryDir elsewhere;
        QVERIFY(saveReportPdf(sheet, elsewhere.filePath(QStringLiteral("x.pdf"))));
        QVERIFY(QFileInfo(elsewhere.filePath(QStringLiteral("x.pdf"))).size() > 4096 * 2);

        const QStringList messages = saveThroughPreview(sheet, disk.path(QStringLiteral("list.pdf")));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(QStringLiteral("Ne morem shraniti datoteke")));
        QVERIFY(messages[0].contains(QStringLiteral("list.pdf")));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), before);
        QCOMPARE(readFile(disk.path(QStringLiteral("list.pdf"))), older);
        // A new name on the full disk leaves nothing either.
        QCOMPARE(saveThroughPreview(sheet, disk.path(QStringLiteral("nov.pdf"))).size(), 1);
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    // Into a folder nobody may write, not even the administrator (a read-only file system):
    // the message, nothing new in the folder, the older file whole.
    void savingIntoAReadOnlyFolderKeepsTheOlderFile()
    {
        SmallDisk disk(QStringLiteral("size=64k,mode=0755"));
        if (!disk.mounted())
            QSKIP(qPrintable(disk.whyNot()));
        const QByteArray older("%PDF-1.4 starejši list");
        QVERIFY(writeFile(disk.path(QStringLiteral("list.pdf")), older));
        QVERIFY(disk.remountReadOnly());
        const QStringList messages =
            saveThroughPreview(TqrOznaciPovedi(), disk.path(QStringLiteral("list.pdf")));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(QStringLiteral("Ne morem shraniti datoteke")));
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("list.pdf")});
        QCOMPARE(readFile(disk.path(QStringLiteral("list.pdf"))), older);
    }

private:
    std::unique_ptr<QTemporaryDir> m_noServer;
};

QTEST_MAIN(TestPrintQueue)
#include "test_printqueue.moc"
