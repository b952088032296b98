// SPDX-License-Identifier: GPL-3.0-or-later
#include "packs/packfixtures.h"

#include "media/resourcepack.h"
#include "media/slovenian.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace tipsovo;
using namespace packtest;

using Damage = std::function<void(QByteArray &, const PackMap &)>;
Q_DECLARE_METATYPE(Damage)

namespace {

// Three kinds, in the order the pack's directory will hold them.
QByteArray threeKindPack()
{
    ResourcePackWriter w;
    w.add(ResourceKind::RcData, QStringLiteral("abeceda"), QByteArray("A\r\nB\r\n"));
    w.add(ResourceKind::Wave, QStringLiteral("zvok"), waveFile(50));
    w.add(ResourceKind::Bitmap, QStringLiteral("slika"), bmpFile(testImage()).mid(14));
    return w.toBytes();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestPacks : public QObject {
    Q_OBJECT

private slots:
    void upperCasesTheCodePageLettersOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("upper");
        QTest::newRow("ascii") << "abc xyz 09_-" << "ABC XYZ 09_-";
        QTest::newRow("slovenian") << "čšž ČŠŽ" << "ČŠŽ ČŠŽ";
        QTest::newRow("croatian") << "ćđ" << "ĆĐ";
        QTest::newRow("central european") << "łśźżąęőűůřťďľĺŕňăâîşţ" << "ŁŚŹŻĄĘŐŰŮŘŤĎĽĹŔŇĂÂÎŞŢ";
        QTest::newRow("word") << "žoga" << "ŽOGA";
        // Their capitals are not in the code page, so they stay as they are.
        QTest::newRow("sharp s, micro") << "ß µ" << "ß µ";
        // Letters outside the code page are left alone.
        QTest::newRow("outside") << "ñ ж ÿ α" << "ñ ж ÿ α";
    }
    void upperCasesTheCodePageLettersOnly()
    {
        QFETCH(QString, text);
        QFETCH(QString, upper);
        QCOMPARE(upperCp1250(text), upper);
    }

    void cp1250KnownBytes_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("character");
        QTest::newRow("Č") << 0xC8 << "Č";
        QTest::newRow("č") << 0xE8 << "č";
        QTest::newRow("Š") << 0x8A << "Š";
        QTest::newRow("š") << 0x9A << "š";
        QTest::newRow("Ž") << 0x8E << "Ž";
        QTest::newRow("ž") << 0x9E << "ž";
        QTest::newRow("€") << 0x80 << "€";
        QTest::newRow("đ") << 0xF0 << "đ";
        QTest::newRow("˙") << 0xFF << "˙";
        QTest::newRow("undefined 0x81") << 0x81 << "?";
        QTest::newRow("undefined 0x98") << 0x98 << "?";
    }
    void cp1250KnownBytes()
    {
        QFETCH(int, byte);
        QFETCH(QString, character);
        QCOMPARE(fromCp1250(QByteArray(1, char(byte))), character);
        if (character != u"?")
            QCOMPARE(toCp1250(character), QByteArray(1, char(byte)));
    }

    // Every defined byte decodes to its own character and encodes back to itself.
    void cp1250RoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            if (b != 0x81 && b != 0x83 && b != 0x88 && b != 0x90 && b != 0x98)
                all.append(char(b));
        }
        const QString text = fromCp1250(all);
        QCOMPARE(text.size(), all.size());
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), all.size());
        QCOMPARE(toCp1250(text), all);
    }

    void cp1250MissingCharactersBecomeQuestionMarks()
    {
        QCOMPARE(toCp1250(QStringLiteral("añb")), QByteArray("a?b"));
        QCOMPARE(toCp1250(QStringLiteral("x😀y")), QByteArray("x?y")); // one mark per character
        QCOMPARE(toCp1250(QStringLiteral("Čaš")), QByteArray("\xC8" "a\x9A"));
    }

    void writerRoundTripAllKinds()
    {
        const QByteArray wave = waveFile(100);
        const QByteArray dib = bmpFile(testImage()).mid(14);
        const QByteArray text("ŽOGA\r\n", 6);
        ResourcePackWriter w;
        w.add(ResourceKind::Wave, QStringLiteral("A15"), wave);
        w.add(ResourceKind::Bitmap, QStringLiteral("kmetija"), dib);
        w.add(ResourceKind::RcData, QStringLiteral("KjeJeCrka"), text);
        // The same name in another kind is another resource.
        w.add(ResourceKind::RcData, QStringLiteral("a15"), QByteArray("other"));
        const auto pack = ResourcePack::fromBytes(w.toBytes());
        QVERIFY(pack);
        QCOMPARE(bytesOf(*pack, ResourceKind::Wave, QStringLiteral("a15")), wave);
        QCOMPARE(bytesOf(*pack, ResourceKind::Bitmap, QStringLiteral("KMETIJA")), dib);
        QCOMPARE(bytesOf(*pack, ResourceKind::RcData, QStringLiteral("kjejecrka")), text);
        QCOMPARE(bytesOf(*pack, ResourceKind::RcData, QStringLiteral("A15")), "other");
        QVERIFY(!pack->find(ResourceKind::Bitmap, QStringLiteral("A15")));
        QVERIFY(!pack->find(ResourceKind::Wave, QStringLiteral("A1")));

        const QList<ResourceEntry> entries = pack->entries();
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries[0].kind, ResourceKind::Wave);
        QCOMPARE(entries[0].name, u"A15");
        QCOMPARE(entries[0].size, wave.size());
        QCOMPARE(entries[1].kind, ResourceKind::Bitmap);
        QCOMPARE(entries[2].name, u"A15"); // names sorted within a kind
        QCOMPARE(entries[3].name, u"KJEJECRKA");
    }

    void slovenianNamesFoundInAnyCase_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("asked");
        QTest::newRow("lower, asked upper") << "žoga" << "ŽOGA";
        QTest::newRow("upper, asked lower") << "ČEBELA" << "čebela";
        QTest::newRow("mixed") << "šola" << "ŠoLa";
        QTest::newRow("all three") << "čšž" << "ČšŽ";
    }
    void slovenianNamesFoundInAnyCase()
    {
        QFETCH(QString, stored);
        QFETCH(QString, asked);
        ResourcePackWriter w;
        w.add(ResourceKind::Wave, stored, QByteArray("x"));
        w.add(ResourceKind::Wave, QStringLiteral("zoga"), QByteArray("plain"));
        const auto pack = ResourcePack::fromBytes(w.toBytes());
        QVERIFY(pack);
        QCOMPARE(bytesOf(*pack, ResourceKind::Wave, asked), "x");
        QStringList names;
        for (const ResourceEntry &e : pack->entries())
            names << e.name;
        // Stored in capitals, sorted by code unit: "ZOGA" comes before the Slovenian capitals.
        QCOMPARE(names, QStringList({"ZOGA", upperCp1250(stored)}));
    }

    // A sound pack holds about a thousand sounds; every one must be found, by the hash index.
    void manyEntries()
    {
        ResourcePackWriter w;
        for (int i = 0; i < 1000; ++i)
            w.add(ResourceKind::Wave, QStringLiteral("zvok%1").arg(i), QByteArray::number(i));
        for (int i = 0; i < 200; ++i)
            w.add(ResourceKind::Bitmap, QStringLiteral("slika%1").arg(i), QByteArray(i, 'b'));
        const auto pack = ResourcePack::fromBytes(w.toBytes());
        QVERIFY(pack);
        QCOMPARE(pack->entries().size(), 1200);
        for (int i = 0; i < 1000; ++i)
            QCOMPARE(bytesOf(*pack, ResourceKind::Wave, QStringLiteral("ZVOK%1").arg(i)),
                     QByteArray::number(i));
        for (int i = 0; i < 200; ++i)
            QCOMPARE(bytesOf(*pack, ResourceKind::Bitmap, QStringLiteral("Slika%1").arg(i)),
                     QByteArray(i, 'b'));
        QVERIFY(!pack->find(ResourceKind::Wave, QStringLiteral("zvok1000")));
    }

    void emptyResourceAndEmptyPack()
    {
        ResourcePackWriter w;
        w.add(ResourceKind::RcData, QStringLiteral("prazno"), QByteArray());
        w.add(ResourceKind::RcData, QStringLiteral("polno"), QByteArray("data"));
        auto pack = ResourcePack::fromBytes(w.toBytes());
        QVERIFY(pack);
        const auto empty = pack->find(ResourceKind::RcData, QStringLiteral("prazno"));
        QVERIFY(empty);
        QCOMPARE(empty->size(), 0);
        QCOMPARE(bytesOf(*pack, ResourceKind::RcData, QStringLiteral("polno")), "data");

        pack = ResourcePack::fromBytes(ResourcePackWriter().toBytes());
        QVERIFY(pack);
        QVERIFY(pack->entries().isEmpty());
    }

    void laterResourceOfTheSameNameReplacesEarlier()
    {
        ResourcePackWriter w;
        w.add(ResourceKind::Wave, QStringLiteral("žoga"), QByteArray("first"));
        w.add(ResourceKind::Wave, QStringLiteral("ŽOGA"), QByteArray("second"));
        const auto pack = ResourcePack::fromBytes(w.toBytes());
        QVERIFY(pack);
        QCOMPARE(pack->entries().size(), 1);
        QCOMPARE(bytesOf(*pack, ResourceKind::Wave, QStringLiteral("Žoga")), "second");
    }

    void openReadsFilesAndRefusesOthers()
    {
        QTemporaryDir dir;
        ResourcePackWriter w;
        w.add(ResourceKind::Wave, QStringLiteral("A1"), waveFile(10));
        const QString path = dir.filePath(QStringLiteral("snd.ipo"));
        QString error;
        QVERIFY2(w.write(path, &error), qPrintable(error));
        const auto pack = ResourcePack::open(path);
        QVERIFY(pack);
        QCOMPARE(bytesOf(*pack, ResourceKind::Wave, QStringLiteral("a1")), waveFile(10));

        QVERIFY(!ResourcePack::open(dir.filePath(QStringLiteral("missing.ipo"))));
        QVERIFY(writeFile(dir.filePath(QStringLiteral("empty.ipo")), {}));
        QVERIFY(!ResourcePack::open(dir.filePath(QStringLiteral("empty.ipo"))));
        QVERIFY(!ResourcePack::open(dir.path())); // a folder
    }

    // Every pack the writer makes ends with its section, so any shorter prefix is truncated.
    void truncatedPackIsRefused()
    {
        const QByteArray full = threeKindPack();
        QVERIFY(ResourcePack::fromBytes(full));
        for (qsizetype n = 0; n < full.size(); ++n) {
            if (ResourcePack::fromBytes(full.left(n)))
                QFAIL(qPrintable(QStringLiteral("prefix of %1 bytes accepted").arg(n)));
        }
    }

    void malformedPackIsRefused_data()
    {
        QTest::addColumn<Damage>("damage");
        const quint32 dir = 0x80000000;
        QTest::newRow("MZ signature") << Damage([](QByteArray &b, const PackMap &) { b[1] = 'Y'; });
        QTest::newRow("PE signature")
            << Damage([](QByteArray &b, const PackMap &m) { b[m.pe + 1] = 'X'; });
        QTest::newRow("PE header past end")
            << Damage([](QByteArray &b, const PackMap &) { set32(b, 0x3C, quint32(b.size() - 8)); });
        QTest::newRow("PE header offset wraps")
            << Damage([](QByteArray &b, const PackMap &) { set32(b, 0x3C, 0xFFFFFFF0); });
        QTest::newRow("optional header magic")
            << Damage([](QByteArray &b, const PackMap &m) { set16(b, m.opt, 0x10C); });
        QTest::newRow("optional header too short")
            << Damage([](QByteArray &b, const PackMap &m) { set16(b, m.pe + 20, 40); });
        QTest::newRow("absurd section count")
            << Damage([](QByteArray &b, const PackMap &m) { set16(b, m.pe + 6, 0xFFFF); });
        QTest::newRow("section data past end")
            << Damage([](QByteArray &b, const PackMap &m) { set32(b, m.section + 20, quint32(b.size())); });
        QTest::newRow("absurd section size")
            << Damage([](QByteArray &b, const PackMap &m) { set32(b, m.section + 16, 0xFFFFFFFF); });
        QTest::newRow("resource RVA outside sections")
            << Damage([](QByteArray &b, const PackMap &m) { set32(b, m.dataDirectory(2), 0x8000); });
        QTest::newRow("absurd type count")
            << Damage([](QByteArray &b, const PackMap &m) { set16(b, m.root + 14, 0xFFFF); });
        QTest::newRow("absurd name count")
            << Damage([](QByteArray &b, const PackMap &m) { set16(b, m.nameDir(1) + 12, 0xFFFF); });
        QTest::newRow("type directory past section") << Damage([dir](QByteArray &b, const PackMap &m) {
            set32(b, m.typeEntry(1) + 4, dir | 0x00FFFFF0);
        });
        QTest::newRow("name string past section") << Damage([dir](QByteArray &b, const PackMap &m) {
            set32(b, m.nameEntry(0, 0), dir | 0x7FFFFFF0);
        });
        QTest::newRow("absurd name length")
            << Damage([](QByteArray &b, const PackMap &m) { set16(b, m.nameString(0, 0), 0xFFFF); });
        QTest::newRow("type points to its own directory")
            << Damage([dir](QByteArray &b, const PackMap &m) { set32(b, m.typeEntry(0) + 4, dir); });
        QTest::newRow("name points back to the root")
            << Damage([dir](QByteArray &b, const PackMap &m) { set32(b, m.nameEntry(1, 0) + 4, dir); });
        QTest::newRow("language points to its parent") << Damage([dir](QByteArray &b, const PackMap &m) {
            set32(b, m.langDir(1, 0) + 20, dir | m.nameDirRel(1));
        });
        QTest::newRow("two types share a directory") << Damage([](QByteArray &b, const PackMap &m) {
            set32(b, m.typeEntry(2) + 4, get32(b, m.typeEntry(1) + 4));
        });
        QTest::newRow("name leads straight to data") << Damage([](QByteArray &b, const PackMap &m) {
            set32(b, m.nameEntry(0, 0) + 4, get32(b, m.langDir(0, 0) + 20));
        });
        QTest::newRow("data entry past section")
            << Damage([](QByteArray &b, const PackMap &m) { set32(b, m.langDir(2, 0) + 20, 0x00FFFFF0); });
        QTest::newRow("data RVA outside sections")
            << Damage([](QByteArray &b, const PackMap &m) { set32(b, m.dataEntry(0, 0), 0x9000); });
        QTest::newRow("absurd data size")
            << Damage([](QByteArray &b, const PackMap &m) { set32(b, m.dataEntry(1, 0) + 4, 0xFFFFFFF0); });
        QTest::newRow("data runs past section end") << Damage([](QByteArray &b, const PackMap &m) {
            set32(b, m.dataEntry(2, 0) + 4, get32(b, m.section + 8));
        });
    }
    void malformedPackIsRefused()
    {
        QFETCH(Damage, damage);
        QByteArray bytes = threeKindPack();
        const PackMap map(bytes);
        // The map must describe the pack: the first type is the named "WAVE".
        QCOMPARE(get32(bytes, map.typeEntry(1)), 2u);
        damage(bytes, map);
        QVERIFY(!ResourcePack::fromBytes(bytes));
    }

    void packWithoutResourceDirectoryIsEmpty()
    {
        QByteArray bytes = threeKindPack();
        const PackMap map(bytes);
        set32(bytes, map.dataDirectory(2), 0);
        set32(bytes, map.dataDirectory(2) + 4, 0);
        const auto pack = ResourcePack::fromBytes(bytes);
        QVERIFY(pack);
        QVERIFY(pack->entries().isEmpty());
    }

    // Random damage anywhere in the headers and the tree: refused or consistent, never a crash
    // (the sanitizers catch a read outside the buffer).
    void randomlyDamagedPackIsRefusedOrConsistent()
    {
        const QByteArray original = threeKindPack();
        const qsizetype treeEnd = PackMap(original).root + 0x180;
        QRandomGenerator random(1250);
        int accepted = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = original;
            const int flips = 1 + random.bounded(3);
            for (int i = 0; i < flips; ++i)
                bytes[random.bounded(treeEnd)] = char(random.bounded(256));
            const auto pack = ResourcePack::fromBytes(bytes);
            if (pack) {
                ++accepted;
                QVERIFY2(consistent(*pack, bytes), qPrintable(QString::number(round)));
            }
        }
        // Most single bytes are padding or fields the reader does not need.
        QVERIFY(accepted > 0);
    }

    // Packs made with the standard resource compiler and linker, 32 and 64 bit.
    void readsPacksOfTheStandardTools_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::newRow("PE32") << "i686-w64-mingw32-";
        QTest::newRow("PE32+") << "x86_64-w64-mingw32-";
    }
    void readsPacksOfTheStandardTools()
    {
        QFETCH(QString, prefix);
        const QString windres = QStandardPaths::findExecutable(prefix + QStringLiteral("windres"));
        const QString ld = QStandardPaths::findExecutable(prefix + QStringLiteral("ld"));
        if (windres.isEmpty() || ld.isEmpty() || QStandardPaths::findExecutable("cpp").isEmpty())
            QSKIP("mingw-w64 binutils or cpp not installed");

        QTemporaryDir dir;
        const QByteArray wave = waveFile(64);
        const QByteArray bmp = bmpFile(testImage(7, 4));
        const QByteArray text = QByteArray("ABECEDA\r\n\xC8RKA\r\n");
        QVERIFY(writeFile(dir.filePath("a.wav"), wave));
        QVERIFY(writeFile(dir.filePath("b.bmp"), bmp));
        QVERIFY(writeFile(dir.filePath("t.txt"), text));
        // The Slovenian name is written in Windows-1250, as the resource compiler reads it.
        QVERIFY(writeFile(dir.filePath("r.rc"),
                          "#pragma code_page(1250)\n"
                          "\"\xC8" "EBELA\" WAVE \"a.wav\"\n"
                          "ZVOK WAVE \"a.wav\"\n"
                          "SLIKA BITMAP \"b.bmp\"\n"
                          "ABECEDA RCDATA \"t.txt\"\n"
                          "7 RCDATA \"t.txt\"\n"
                          "STRINGTABLE { 1, \"ignored\" }\n"));
        auto run = [&](const QString &program, const QStringList &args) {
            QProcess p;
            p.setWorkingDirectory(dir.path());
            p.start(program, args);
            if (p.waitForFinished(60000) && p.exitCode() == 0)
                return QString();
            return QString::fromLocal8Bit(p.readAllStandardError());
        };
        QString error = run(windres, {"--preprocessor=cpp", "-i", "r.rc", "-o", "r.o"});
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = run(ld, {"--dll", "-e", "0", "-o", "r.dll", "r.o"});
        QVERIFY2(error.isEmpty(), qPrintable(error));

        const auto pack = ResourcePack::open(dir.filePath("r.dll"));
        QVERIFY(pack);
        QCOMPARE(bytesOf(*pack, ResourceKind::Wave, "čebela"), wave);
        QCOMPARE(bytesOf(*pack, ResourceKind::Wave, "Zvok"), wave);
        QCOMPARE(bytesOf(*pack, ResourceKind::Bitmap, "slika"), bmp.mid(14));
        QCOMPARE(bytesOf(*pack, ResourceKind::RcData, "abeceda"), text);
        QCOMPARE(bytesOf(*pack, ResourceKind::RcData, "7"), text); // an ID as name
        QStringList names;
        for (const ResourceEntry &e : pack->entries())
            names << kindName(e.kind) + u':' + e.name;
        // Directory order: named entries by code unit ("Z" before "Č"), then IDs.
        QCOMPARE(names, QStringList({"WAVE:ZVOK", "WAVE:ČEBELA", "BITMAP:SLIKA", "RCDATA:ABECEDA",
                                     "RCDATA:7"}));
    }

    void findsPackFileWithoutRegardToCase_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact") << QStringList{"Dat.ipo"} << "Dat" << "Dat.ipo";
        QTest::newRow("capitals") << QStringList{"DAT.ipo"} << "Dat" << "DAT.ipo";
        QTest::newRow("extension in capitals") << QStringList{"dat.IPO"} << "Dat" << "dat.IPO";
        QTest::newRow("slovenian") << QStringList{"ČEBELA.ipo"} << "čebela" << "ČEBELA.ipo";
        QTest::newRow("exact preferred") << QStringList{"DAT.ipo", "Dat.ipo", "dat.ipo"} << "Dat"
                                         << "Dat.ipo";
        QTest::newRow("other names") << QStringList{"Dat.txt", "Data.ipo", "Dat.ipo.bak"} << "Dat"
                                     << "";
        QTest::newRow("folder is no pack") << QStringList{"snd.ipo/"} << "snd" << "";
    }
    void findsPackFileWithoutRegardToCase()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, base);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        for (const QString &f : files) {
            if (f.endsWith(u'/'))
                QVERIFY(QDir(dir.path()).mkdir(f.chopped(1)));
            else
                QVERIFY(writeFile(dir.filePath(f), "x"));
        }
        const QString found = findPackFile(dir.path(), base);
        QCOMPARE(found.isEmpty() ? QString() : QFileInfo(found).fileName(), expected);
        if (!found.isEmpty())
            QCOMPARE(QFileInfo(found).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    }
};

QTEST_GUILESS_MAIN(TestPacks)
#include "test_packs.moc"
