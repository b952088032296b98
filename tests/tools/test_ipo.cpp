// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the built ipo command as a user would and checks the packs it makes.
#include "packs/packfixtures.h"

#include "media/resourcepack.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tipsovo;
using namespace packtest;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestIpo : public QObject {
    Q_OBJECT

    QString m_ipo;
    QTemporaryDir m_dir;
    const QByteArray m_wave = waveFile(40);
    const QByteArray m_utf8 = QByteArray("ČRKA\r\nžoga\nšola – đak\n");

    QString path(const QString &name) const { return m_dir.filePath(name); }

    Run ipo(const QStringList &args, const QString &workingDir = {}) const
    {
        QProcess p;
        p.setWorkingDirectory(workingDir.isEmpty() ? m_dir.path() : workingDir);
        p.start(m_ipo, args);
        Run r;
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return r;
        r.exitCode = p.exitCode();
        r.out = p.readAllStandardOutput();
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

private slots:
    void initTestCase()
    {
        m_ipo = qEnvironmentVariable("TIPSOVO_BUILD_DIR") + QStringLiteral("/tipsovo-ipo");
        QVERIFY2(QFileInfo(m_ipo).isExecutable(), qPrintable(m_ipo));
        QVERIFY(m_dir.isValid());
        QVERIFY(writeFile(path("a.wav"), m_wave));
        QVERIFY(testImage().save(path("p.png")));
        QVERIFY(writeFile(path("p.bmp"), bmpFile(testImage(6, 2).convertToFormat(QImage::Format_Indexed8))));
        QVERIFY(writeFile(path("t.txt"), m_utf8));
        QVERIFY(writeFile(path("raw.bin"), QByteArray("\x00\xFF\x80raw", 6)));
        QVERIFY(writeFile(path("bad.txt"), "ok\nok\nna\xC3\xB1" "a\n")); // ñ on line 3
        QVERIFY(writeFile(path("garbage.ipo"), QByteArray(4096, 'M')));
    }

    void buildsFromEntriesAndLists()
    {
        const Run build = ipo({"build", "e.ipo", "WAVE:žoga=a.wav", "BITMAP:slika=p.png",
                               "RCDATA:surovo=raw.bin", "TEXT:abeceda=t.txt", "WAVE:A1=a.wav"});
        QVERIFY2(build.exitCode == 0, qPrintable(build.err));
        const Run list = ipo({"list", "e.ipo"});
        QCOMPARE(list.exitCode, 0);
        QCOMPARE(QString::fromUtf8(list.out),
                 QStringLiteral("WAVE\tA1\nWAVE\tŽOGA\nBITMAP\tSLIKA\nRCDATA\tABECEDA\nRCDATA\tSUROVO\n"));

        const auto pack = ResourcePack::open(path("e.ipo"));
        QVERIFY(pack);
        QCOMPARE(bytesOf(*pack, ResourceKind::Wave, "ŽOGA"), m_wave);
        QCOMPARE(bytesOf(*pack, ResourceKind::RcData, "surovo"), readFile(path("raw.bin")));
        // The text list is stored in Windows-1250.
        QCOMPARE(bytesOf(*pack, ResourceKind::RcData, "abeceda"),
                 QByteArray("\xC8RKA\r\n\x9Eoga\n\x9Aola \x96 \xF0" "ak\n"));
        // A bitmap resource is a BMP without its 14-byte file header.
        const QByteArray dib = bytesOf(*pack, ResourceKind::Bitmap, "slika");
        QCOMPARE(qFromLittleEndian<quint32>(dib.constData()), 40u);  // info header
        QCOMPARE(qFromLittleEndian<qint32>(dib.constData() + 4), 5);  // width
        QCOMPARE(qFromLittleEndian<qint32>(dib.constData() + 8), 3);  // height
        QCOMPARE(qFromLittleEndian<quint16>(dib.constData() + 14), 24); // PNG became 24-bit
    }

    // Files in a manifest are relative to the manifest, wherever ipo is run from.
    void buildsFromManifest()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("content/zvoki"));
        QVERIFY(writeFile(path("content/zvoki/b.wav"), m_wave));
        QVERIFY(writeFile(path("content/seznam.txt"), m_utf8));
        QVERIFY(writeFile(path("content/manifest"),
                          "# sounds\n"
                          "WAVE\tčebela\tzvoki/b.wav\n"
                          "\n"
                          "TEXT\tKjeJeCrka\tseznam.txt\r\n"
                          "BITMAP\tkmetija\t../p.png\n"));
        const Run build = ipo({"build", path("m.ipo"), "-m", path("content/manifest")}, QDir::tempPath());
        QVERIFY2(build.exitCode == 0, qPrintable(build.err));
        const Run list = ipo({"list", "m.ipo"});
        QCOMPARE(QString::fromUtf8(list.out),
                 QStringLiteral("WAVE\tČEBELA\nBITMAP\tKMETIJA\nRCDATA\tKJEJECRKA\n"));
    }

    void extractRoundTrip_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("input");
        QTest::newRow("WAVE") << "WAVE" << "a.wav";
        QTest::newRow("RCDATA") << "RCDATA" << "raw.bin";
        QTest::newRow("TEXT") << "TEXT" << "t.txt";
        // A BMP with a colour table comes back byte for byte: the pixel offset is recomputed.
        QTest::newRow("BITMAP from BMP") << "BITMAP" << "p.bmp";
        QTest::newRow("BITMAP from PNG") << "BITMAP" << "p.png";
    }
    void extractRoundTrip()
    {
        QFETCH(QString, kind);
        QFETCH(QString, input);
        const Run build = ipo({"build", "x.ipo", kind + QStringLiteral(":Čaša=") + input});
        QVERIFY2(build.exitCode == 0, qPrintable(build.err));
        const Run extract = ipo({"extract", "x.ipo", kind, "čaša", "out.bin"});
        QVERIFY2(extract.exitCode == 0, qPrintable(extract.err));
        const QByteArray out = readFile(path("out.bin"));
        if (input.endsWith(u".png")) {
            QImage image;
            QVERIFY(image.loadFromData(out, "BMP"));
            QCOMPARE(image.convertToFormat(QImage::Format_RGB32), testImage());
        } else {
            QCOMPARE(out, readFile(path(input)));
        }
    }

    void errorsAreReported_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QStringList{"build", "f.ipo", "WAVE:a=none.wav"} << "none.wav";
        QTest::newRow("unknown kind") << QStringList{"build", "f.ipo", "SOUND:a=a.wav"} << "SOUND";
        QTest::newRow("no name") << QStringList{"build", "f.ipo", "WAVE:=a.wav"} << "empty";
        QTest::newRow("not an entry") << QStringList{"build", "f.ipo", "a.wav"} << "KIND:NAME=FILE";
        QTest::newRow("not a WAVE") << QStringList{"build", "f.ipo", "WAVE:a=t.txt"} << "RIFF";
        QTest::newRow("not a picture") << QStringList{"build", "f.ipo", "BITMAP:a=t.txt"} << "picture";
        QTest::newRow("text outside code page") << QStringList{"build", "f.ipo", "TEXT:a=bad.txt"}
                                                << "bad.txt:3";
        QTest::newRow("same name twice") << QStringList{"build", "f.ipo", "WAVE:žoga=a.wav", "WAVE:ŽOGA=a.wav"}
                                         << "ŽOGA";
        QTest::newRow("missing manifest") << QStringList{"build", "f.ipo", "-m", "none.txt"} << "none.txt";
        QTest::newRow("list missing pack") << QStringList{"list", "none.ipo"} << "none.ipo";
        QTest::newRow("list malformed pack") << QStringList{"list", "garbage.ipo"} << "malformed";
        QTest::newRow("extract missing name") << QStringList{"extract", "e.ipo", "WAVE", "nič", "o.wav"}
                                              << "NIČ";
        QTest::newRow("usage") << QStringList{"pack"} << "usage";
    }
    void errorsAreReported()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QFile::remove(path("f.ipo"));
        QVERIFY(ipo({"build", "e.ipo", "WAVE:a=a.wav"}).exitCode == 0);
        const Run r = ipo(args);
        QVERIFY(r.exitCode > 0);
        QVERIFY2(r.err.contains(message, Qt::CaseInsensitive), qPrintable(r.err));
        QVERIFY(!QFile::exists(path("f.ipo")));
    }

    void badManifestLineIsNamed()
    {
        QVERIFY(writeFile(path("bad.manifest"), "WAVE\ta\ta.wav\nWAVE a a.wav\n"));
        const Run r = ipo({"build", "f.ipo", "-m", "bad.manifest"});
        QVERIFY(r.exitCode > 0);
        QVERIFY2(r.err.contains("bad.manifest:2"), qPrintable(r.err));
    }

    // What ipo writes is a PE image the binutils take for a 32-bit resource DLL.
    void writesAValidPe()
    {
        const QString objdump = QStandardPaths::findExecutable("objdump");
        if (objdump.isEmpty())
            QSKIP("objdump not installed");
        QVERIFY(ipo({"build", "pe.ipo", "WAVE:A1=a.wav", "BITMAP:slika=p.png", "TEXT:abeceda=t.txt"})
                    .exitCode == 0);
        QProcess p;
        p.start(objdump, {"-p", path("pe.ipo")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        QVERIFY2(out.contains("file format pei-i386"), qPrintable(out));
        QVERIFY2(out.contains("The .rsrc Resource Directory section"), qPrintable(out));
        QVERIFY2(out.contains("WAVE") && out.contains("SLIKA") && out.contains("ABECEDA"), qPrintable(out));
        QVERIFY(out.contains("DLL"));
        QVERIFY(p.readAllStandardError().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIpo)
#include "test_ipo.moc"
