// SPDX-License-Identifier: GPL-3.0-or-later
// WAVE and bitmap decoding, list splitting, the media operations on a recording output and a
// manual clock, the real sound output without waiting for it, and the stored hover delay.

#include "testpacks.h"

#include "media/clock.h"
#include "media/delaysetting.h"
#include "media/manualclock.h"
#include "media/mediaservice.h"
#include "media/recordingsoundoutput.h"
#include "media/resourcepack.h"
#include "media/slovenian.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace tipsovo;
using namespace testdata;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ramp(int n)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char(i * 7 + 1));
    return b;
}

// A 2 x 2 24-bit bitmap, bottom-up: bottom row red, green; top row blue, white.
QByteArray dib24()
{
    QByteArray d = infoHeader(2, 2, 24);
    d.append("\x00\x00\xFF" "\x00\xFF\x00" "\x00\x00", 8); // bottom row + 2 pad bytes
    d.append("\xFF\x00\x00" "\xFF\xFF\xFF" "\x00\x00", 8); // top row
    return d;
}

// An output whose playing sound ends at `endMs` on the clock (never, by default) while it keeps
// saying that at most 100 ms are left: a server that falls behind, or one that is stuck.
class LaggingOutput final : public SoundOutput {
public:
    explicit LaggingOutput(const Clock &clock, qint64 endMs = std::numeric_limits<qint64>::max())
        : m_clock(clock), m_endMs(endMs) {}
    bool playAsync(const PcmSound &) override
    {
        ++asked;
        if (isPlaying())
            return false;
        acceptedAtMs = m_clock.nowMs();
        return true;
    }
    bool playSync(const PcmSound &) override { return false; }
    void stopAll() override {}
    bool isPlaying() const override { return m_clock.nowMs() < m_endMs && acceptedAtMs < 0; }
    qint64 remainingMs() const override
    {
        return isPlaying() ? std::min<qint64>(100, m_endMs - m_clock.nowMs()) : 0;
    }
    int asked = 0;
    qint64 acceptedAtMs = -1;

private:
    const Clock &m_clock;
    qint64 m_endMs;
};

} // namespace

class TestWave : public QObject {
    Q_OBJECT
private slots:
    void decodesPcmFormats_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<qint64>("duration");
        QTest::newRow("16-bit mono") << 1 << 8000 << 16 << 16000 << qint64(1000);
        QTest::newRow("8-bit stereo") << 2 << 22050 << 8 << 22050 << qint64(500);
        QTest::newRow("16-bit stereo") << 2 << 44100 << 16 << 17640 << qint64(100);
        QTest::newRow("8-bit mono") << 1 << 11025 << 8 << 11025 << qint64(1000);
    }
    void decodesPcmFormats()
    {
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(int, bits);
        QFETCH(int, bytes);
        QFETCH(qint64, duration);
        const QByteArray samples = ramp(bytes);
        PcmSound s;
        QVERIFY(decodeWave(wave(quint16(channels), quint32(rate), quint16(bits), samples), &s));
        QCOMPARE(s.channels, channels);
        QCOMPARE(s.sampleRate, rate);
        QCOMPARE(s.bitsPerSample, bits);
        QCOMPARE(s.samples, samples);
        QCOMPARE(s.durationMs(), duration);
    }

    // espeak-ng streaming to stdout leaves 0x7ffff000 in both the RIFF and the data size.
    void placeholderSizesAreClampedToTheBytesPresent()
    {
        const QByteArray samples = ramp(1000);
        const QByteArray w = riff(chunk("fmt ", fmtBody(1, 1, 22050, 16))
                                      + chunk("data", samples, 0x7ffff000u),
                                  0x7ffff000u);
        PcmSound s;
        QVERIFY(decodeWave(w, &s));
        QCOMPARE(s.samples, samples);
    }

    void riffSizeThatLiesIsIgnored()
    {
        const QByteArray samples = ramp(64);
        PcmSound s;
        QVERIFY(decodeWave(riff(chunk("fmt ", fmtBody(1, 1, 8000, 8)) + chunk("data", samples), 4), &s));
        QCOMPARE(s.samples, samples);
    }

    void dataSizeSmallerThanPresentTakesOnlyWhatItDeclares()
    {
        const QByteArray samples = ramp(64);
        PcmSound s;
        QVERIFY(decodeWave(riff(chunk("fmt ", fmtBody(1, 1, 8000, 8)) + chunk("data", samples, 10)), &s));
        QCOMPARE(s.samples, samples.first(10));
    }

    // An odd-sized chunk is followed by a pad byte; missing it would misread the next chunk.
    void oddChunksArePaddedAndUnknownChunksSkipped()
    {
        const QByteArray samples = ramp(40);
        const QByteArray w = riff(chunk("LIST", "abc") + chunk("fmt ", fmtBody(1, 1, 8000, 16))
                                  + chunk("fact", "x") + chunk("data", samples));
        PcmSound s;
        QVERIFY(decodeWave(w, &s));
        QCOMPARE(s.samples, samples);
    }

    void fmtWithExtensionBytesIsAccepted()
    {
        QByteArray fmt = fmtBody(1, 1, 8000, 16);
        put16(fmt, 0); // cbSize
        PcmSound s;
        QVERIFY(decodeWave(riff(chunk("fmt ", fmt) + chunk("data", ramp(8))), &s));
        QCOMPARE(s.bitsPerSample, 16);
    }

    void halfFrameAtTheEndIsDropped()
    {
        PcmSound s;
        QVERIFY(decodeWave(wave(2, 8000, 16, ramp(4 * 10 + 3)), &s));
        QCOMPARE(s.samples.size(), qsizetype(40));
    }

    void extensibleFormat_data()
    {
        QTest::addColumn<quint16>("subFormat");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("PCM") << quint16(1) << true;
        QTest::newRow("IEEE float") << quint16(3) << false;
    }
    void extensibleFormat()
    {
        QFETCH(quint16, subFormat);
        QFETCH(bool, accepted);
        QByteArray fmt = fmtBody(0xFFFE, 2, 44100, 16);
        put16(fmt, 22); // cbSize
        put16(fmt, 16); // valid bits
        put32(fmt, 3);  // channel mask
        put16(fmt, subFormat);
        fmt.append("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
        PcmSound s;
        QCOMPARE(decodeWave(riff(chunk("fmt ", fmt) + chunk("data", ramp(16))), &s), accepted);
        if (accepted)
            QCOMPARE(s.channels, 2);
    }

    void rejectsWhatCannotBePlayed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray data = chunk("data", ramp(32));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not RIFF") << QByteArray("RIFX") + wave(1, 8000, 16, ramp(8)).mid(4);
        QTest::newRow("not WAVE") << QByteArray("RIFF\x10\0\0\0AVI ", 12) + data;
        QTest::newRow("IEEE float") << riff(chunk("fmt ", fmtBody(3, 1, 8000, 32)) + data);
        QTest::newRow("IMA ADPCM") << riff(chunk("fmt ", fmtBody(0x11, 1, 8000, 4)) + data);
        QTest::newRow("24-bit") << riff(chunk("fmt ", fmtBody(1, 1, 8000, 24)) + data);
        QTest::newRow("three channels") << riff(chunk("fmt ", fmtBody(1, 3, 8000, 16)) + data);
        QTest::newRow("no channels") << riff(chunk("fmt ", fmtBody(1, 0, 8000, 16)) + data);
        QTest::newRow("rate 0") << riff(chunk("fmt ", fmtBody(1, 1, 0, 16)) + data);
        QTest::newRow("rate absurd") << riff(chunk("fmt ", fmtBody(1, 1, 0x7fffffff, 16)) + data);
        QTest::newRow("no fmt") << riff(data);
        QTest::newRow("no data") << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16)));
        QTest::newRow("fmt too short") << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16).first(10)) + data);
        QTest::newRow("fmt truncated by the end of file")
            << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16))).first(12 + 8 + 10);
        QByteArray badAlign = fmtBody(1, 2, 8000, 16);
        badAlign[12] = 1;
        QTest::newRow("block align wrong") << riff(chunk("fmt ", badAlign) + data);
        QTest::newRow("header only") << QByteArray("RIFF\0\0\0\0WAVE", 12);
    }
    void rejectsWhatCannotBePlayed()
    {
        QFETCH(QByteArray, bytes);
        PcmSound s;
        s.sampleRate = 1234;
        QVERIFY(!decodeWave(bytes, &s));
        QCOMPARE(s.sampleRate, 1234); // untouched on failure
    }
};

class TestBitmap : public QObject {
    Q_OBJECT
private slots:
    void decodes24BitBottomUp()
    {
        QImage img;
        QVERIFY(decodeBitmapResource(dib24(), &img));
        QCOMPARE(img.size(), QSize(2, 2));
        QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(img.pixel(1, 0), qRgb(255, 255, 255));
        QCOMPARE(img.pixel(0, 1), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(1, 1), qRgb(0, 255, 0));
    }

    void decodesTopDown()
    {
        QByteArray d = infoHeader(1, -2, 24);
        d.append("\x00\x00\xFF\x00", 4); // first row is the top: red
        d.append("\xFF\x00\x00\x00", 4);
        QImage img;
        QVERIFY(decodeBitmapResource(d, &img));
        QCOMPARE(img.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(img.pixel(0, 1), qRgb(0, 0, 255));
    }

    // With fewer colours used than the depth allows, the pixels start right after them.
    void decodes8BitWithAShortColourTable()
    {
        QByteArray d = infoHeader(3, 1, 8, 0, 3);
        putQuad(d, 10, 20, 30);
        putQuad(d, 200, 0, 0);
        putQuad(d, 0, 0, 200);
        d.append("\x02\x01\x00\x00", 4);
        QImage img;
        QVERIFY(decodeBitmapResource(d, &img));
        QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 200));
        QCOMPARE(img.pixel(1, 0), qRgb(200, 0, 0));
        QCOMPARE(img.pixel(2, 0), qRgb(10, 20, 30));
    }

    // Run-length 8-bit: a run of 200 pixels from two bytes still decodes; a header that claims
    // far more pixels than its runs can give is refused before any picture is made of it.
    void decodesRunLengthBitmapsWithinWhatTheirDataCanGive()
    {
        QByteArray d = infoHeader(200, 1, 8, 1, 2);
        putQuad(d, 0, 0, 0);
        putQuad(d, 0, 0, 200);
        d.append("\xC8\x01\x00\x01", 4); // 200 × colour 1, end of picture
        QImage img;
        QVERIFY(decodeBitmapResource(d, &img));
        QCOMPARE(img.size(), QSize(200, 1));
        QCOMPARE(img.pixel(199, 0), qRgb(0, 0, 200));

        QByteArray lying = infoHeader(8192, 1024, 8, 1, 2);
        putQuad(lying, 0, 0, 0);
        putQuad(lying, 0, 0, 200);
        lying.append("\xFF\x01\x00\x01", 4);
        QVERIFY(!decodeBitmapResource(lying, &img));
        QCOMPARE(img.size(), QSize(200, 1));
    }

    void decodes16BitWithBitfieldMasks()
    {
        QByteArray d = infoHeader(2, 1, 16, 3);
        put32(d, 0xF800); // 5-6-5
        put32(d, 0x07E0);
        put32(d, 0x001F);
        put16(d, 0xF800); // red
        put16(d, 0x001F); // blue
        QImage img;
        QVERIFY(decodeBitmapResource(d, &img));
        // Five bits widen to 0xF8 or 0xFF depending on the reader; either is full red.
        QVERIFY(qRed(img.pixel(0, 0)) >= 0xF8);
        QCOMPARE(qGreen(img.pixel(0, 0)), 0);
        QCOMPARE(qBlue(img.pixel(0, 0)), 0);
        QVERIFY(qBlue(img.pixel(1, 0)) >= 0xF8);
        QCOMPARE(qRed(img.pixel(1, 0)), 0);
    }

    void decodes32BitWithBitfieldMasks()
    {
        QByteArray d = infoHeader(1, 1, 32, 3);
        put32(d, 0x0000FF00); // red in the second byte
        put32(d, 0x00FF0000);
        put32(d, 0xFF000000);
        put32(d, 0x0000C000); // red = 0xC0
        QImage img;
        QVERIFY(decodeBitmapResource(d, &img));
        QCOMPARE(qRed(img.pixel(0, 0)), 0xC0);
        QCOMPARE(qGreen(img.pixel(0, 0)), 0);
        QCOMPARE(qBlue(img.pixel(0, 0)), 0);
    }

    // A true-colour bitmap may still carry a colour table; its pixels follow the table.
    void trueColourWithAnOptionalColourTable()
    {
        QByteArray d = infoHeader(1, 1, 24, 0, 2);
        putQuad(d, 1, 2, 3);
        putQuad(d, 4, 5, 6);
        d.append("\x00\xFF\x00\x00", 4);
        QImage img;
        QVERIFY(decodeBitmapResource(d, &img));
        QCOMPARE(img.pixel(0, 0), qRgb(0, 255, 0));
    }

    void rejectsBrokenBitmaps_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header cut") << infoHeader(2, 2, 24).first(30);
        QTest::newRow("pixels cut") << dib24().first(40 + 12);
        QTest::newRow("no pixels") << infoHeader(2, 2, 24);
        QByteArray shortTable = infoHeader(2, 1, 8);
        putQuad(shortTable, 1, 1, 1);
        QTest::newRow("colour table cut") << shortTable + QByteArray(4, '\0');
        QTest::newRow("more colours than the depth") << infoHeader(1, 1, 1, 0, 3) + QByteArray(16, '\0');
        QTest::newRow("garbage") << QByteArray("this is not a bitmap at all, not even close");
        QTest::newRow("header size absurd") << QByteArray("\xFF\xFF\xFF\x7F", 4) + QByteArray(60, 'x');
        QTest::newRow("width 0") << infoHeader(0, 2, 24) + QByteArray(16, '\0');
        QTest::newRow("height 0") << infoHeader(2, 0, 24) + QByteArray(16, '\0');
        QTest::newRow("huge") << infoHeader(100000, 100000, 24) + QByteArray(64, '\0');
        QTest::newRow("depth 7") << infoHeader(1, 1, 7) + QByteArray(600, '\0');
    }
    void rejectsBrokenBitmaps()
    {
        QFETCH(QByteArray, bytes);
        QImage img(3, 3, QImage::Format_RGB32);
        img.fill(Qt::magenta);
        QVERIFY(!decodeBitmapResource(bytes, &img));
        QCOMPARE(img.size(), QSize(3, 3));
        QCOMPARE(img.pixel(0, 0), QColor(Qt::magenta).rgb());
    }
};

class TestListText : public QObject {
    Q_OBJECT
private slots:
    void splitsLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QByteArray() << QStringList{};
        QTest::newRow("no terminator") << QByteArray("a") << QStringList{"a"};
        QTest::newRow("CR LF") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("LF") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("CR") << QByteArray("a\rb") << QStringList{"a", "b"};
        QTest::newRow("mixed") << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("trailing CR LF adds no line") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("trailing CR adds no line") << QByteArray("a\r") << QStringList{"a"};
        QTest::newRow("empty line inside") << QByteArray("a\r\n\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("two trailing terminators") << QByteArray("a\n\n") << QStringList{"a", ""};
        QTest::newRow("only a terminator") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("spaces kept") << QByteArray(" a \r\n b") << QStringList{" a ", " b"};
        QTest::newRow("text ends at NUL") << QByteArray("a\r\nb\0junk\r\nc", 13) << QStringList{"a", "b"};
        QTest::newRow("cp1250") << QByteArray("\xE8rka\r\n\x9Aola\r\n\x9Eoga\r\n\xC8\x8A\x8E")
                                << QStringList{u"črka"_qs, u"šola"_qs, u"žoga"_qs, u"ČŠŽ"_qs};
    }
    void splitsLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(splitListText(bytes), lines);
    }
};

// The media operations against packs in a temporary folder, a recording output and a manual
// clock: every wait is visible as the clock's sleeps.
class TestMediaService : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    ManualClock m_clock;
    RecordingSoundOutput *m_out = nullptr;
    std::unique_ptr<MediaService> m_media;
    std::unique_ptr<SoundLog> m_log;
    QStringList m_errors;

    QString path(const QString &file) const { return m_dir->filePath(file); }

    void writeSoundPack(const QString &base, const QList<QPair<QString, int>> &sounds)
    {
        ResourcePackWriter w;
        for (const auto &[name, ms] : sounds)
            w.add(ResourceKind::Wave, name, makeTestWave(ms));
        QVERIFY(w.write(path(base + ".ipo")));
    }

    qint64 lastDuration() const { return m_out->requests().constLast().durationMs; }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_clock = ManualClock(1000);
        auto out = std::make_unique<RecordingSoundOutput>(m_clock);
        m_out = out.get();
        m_media = std::make_unique<MediaService>(m_dir->path(), std::move(out), m_clock);
        m_errors.clear();
        m_media->setErrorReporter([this](const QString &t) { m_errors << t; });
        m_log = std::make_unique<SoundLog>(*m_media);
        writeSoundPack("snd", {{"A29", 700}, {u"ŽOGA"_qs, 320}, {"PRAV", 200}, {"A15", 400}});
    }
    void cleanup()
    {
        m_log.reset();
        m_media.reset();
        m_dir.reset();
    }

    void playsTheNamedSound()
    {
        m_media->PredvajajZvok("A29", "snd", false);
        QCOMPARE(m_out->requests().size(), qsizetype(1));
        QVERIFY(m_out->requests()[0].accepted);
        QVERIFY(!m_out->requests()[0].sync);
        QCOMPARE(lastDuration(), qint64(700));
        QCOMPARE(m_log->names(), QStringList{"A29"});
        QVERIFY(m_clock.sleeps().isEmpty());
    }

    void nameIsUpperCasedOverSlovenianLetters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("lower") << u"žoga"_qs;
        QTest::newRow("mixed") << u"Žoga"_qs;
        QTest::newRow("upper") << u"ŽOGA"_qs;
    }
    void nameIsUpperCasedOverSlovenianLetters()
    {
        QFETCH(QString, name);
        m_media->PredvajajZvok(name, "snd", false);
        QCOMPARE(m_out->accepted().size(), qsizetype(1));
        QCOMPARE(lastDuration(), qint64(320));
        QCOMPARE(m_log->names(), QStringList{name});
    }

    void packNameIgnoresLetterCase()
    {
        m_media->PredvajajZvok("prav", "SND", false);
        QCOMPARE(m_log->names(), QStringList{"prav"});
    }

    void switchOffSilencesEverything()
    {
        m_media->setSoundOn(false);
        m_media->PredvajajZvok("A29", "snd", false);
        m_media->PredvajajZvok("A29", "snd", true);
        QVERIFY(m_out->requests().isEmpty());
        QVERIFY(m_log->entries().isEmpty());
        m_media->setSoundOn(true);
        m_media->PredvajajZvok("A29", "snd", false);
        QCOMPARE(m_log->names(), QStringList{"A29"});
    }

    void emptyNameIsSilent()
    {
        m_media->PredvajajZvok(QString(), "snd", true);
        QVERIFY(m_out->requests().isEmpty());
        QVERIFY(m_log->entries().isEmpty());
    }

    // A hover sound asked for while another plays is dropped, not queued, not interrupting.
    void requestWhilePlayingIsRefusedAtOnce()
    {
        m_media->PredvajajZvok("A29", "snd", false);
        m_clock.advance(100);
        m_media->PredvajajZvok("A15", "snd", false);
        QCOMPARE(m_out->requests().size(), qsizetype(2));
        QVERIFY(!m_out->requests()[1].accepted);
        QCOMPARE(m_out->stopCount(), 0);
        QVERIFY(m_out->isPlaying());
        QCOMPARE(m_out->remainingMs(), qint64(600));
        QCOMPARE(m_log->names(), QStringList{"A29"});
        QCOMPARE(m_log->refused(), QStringList{"A15"});
        QVERIFY(m_clock.sleeps().isEmpty());
        m_clock.advance(600);
        m_media->PredvajajZvok("A15", "snd", false);
        QCOMPARE(m_log->names(), (QStringList{"A29", "A15"}));
    }

    // An instruction waits for the playing sound and starts the moment it ends, without
    // blocking the caller: the call returns at once and the start comes from the event loop.
    void keepTryingWaitsForThePlayingSoundThenPlays()
    {
        m_media->PredvajajZvok("A15", "snd", false); // 400 ms, ends at 1400
        m_clock.advance(150);
        m_media->PredvajajZvok("A29", "snd", true);
        QVERIFY(m_clock.sleeps().isEmpty());
        QCOMPARE(m_log->names(), QStringList{"A15"});
        QVERIFY(m_media->hasWaiting());
        m_clock.advance(240); // 10 ms before the end: still waiting
        QCOMPARE(m_log->names(), QStringList{"A15"});
        m_clock.advance(100);
        const auto accepted = m_out->accepted();
        QCOMPARE(accepted.size(), qsizetype(2));
        QCOMPARE(accepted[1].durationMs, qint64(700));
        QVERIFY(accepted[1].atMs >= 1400);
        QVERIFY(accepted[1].atMs <= 1400 + MediaService::kKeepTryingStepMs);
        QCOMPARE(m_log->names(), (QStringList{"A15", "A29"}));
        QVERIFY(m_log->refused().isEmpty());
        QVERIFY(!m_media->hasWaiting());
        QVERIFY(m_clock.sleeps().isEmpty());
    }

    // While an instruction waits, nothing else takes its turn: a hover sound is refused even
    // in the moment between the playing sound's end and the instruction's start; a second
    // instruction waits behind the first, as a blocking wait would have had it.
    void waitingInstructionKeepsItsTurnAndOrder()
    {
        m_media->PredvajajZvok("A15", "snd", false); // ends at 1400
        m_media->PredvajajZvok("A29", "snd", true);  // 700 ms
        m_media->PredvajajZvok("PRAV", "snd", true); // after A29
        m_clock.advance(399);
        m_out->stopAll(); // the hover sound is over just before the next try
        m_media->PredvajajZvok(u"ŽOGA"_qs, "snd", false);
        QCOMPARE(m_log->refused(), QStringList{u"ŽOGA"_qs});
        m_clock.runPending();
        QCOMPARE(m_log->names(), (QStringList{"A15", "A29", "PRAV"}));
        const auto accepted = m_out->accepted();
        QCOMPARE(accepted.size(), qsizetype(3));
        QVERIFY(accepted[2].atMs >= accepted[1].atMs + 700);
        QVERIFY(accepted[2].atMs <= accepted[1].atMs + 700 + MediaService::kKeepTryingStepMs);
    }

    // A waiting request of a screen that is gone, or that has forgotten it, is never played.
    void waitingRequestOfAGoneRequesterIsDropped()
    {
        auto screen = std::make_unique<QObject>();
        QObject other;
        m_media->PredvajajZvok("A15", "snd", false);
        m_media->PredvajajZvok("A29", "snd", true, screen.get());
        m_media->PredvajajZvok("PRAV", "snd", true, &other);
        screen.reset();
        m_clock.runPending();
        QCOMPARE(m_log->names(), (QStringList{"A15", "PRAV"}));
        m_media->PredvajajZvok("A29", "snd", true, &other);
        m_media->forgetWaiting(&other);
        m_clock.runPending();
        QCOMPARE(m_log->names(), (QStringList{"A15", "PRAV"}));
        QVERIFY(!m_media->hasWaiting());
        // Stopping all sounds drops what waits as well.
        m_clock.advance(1000);
        m_media->PredvajajZvok("A15", "snd", false);
        m_media->PredvajajZvok("A29", "snd", true);
        m_media->stopAll();
        m_clock.runPending();
        QCOMPARE(m_log->names(), (QStringList{"A15", "PRAV", "A15"}));
    }

    void keepTryingWithNothingPlayingDoesNotWait()
    {
        m_media->PredvajajZvok("A29", "snd", true);
        QCOMPARE(m_log->names(), QStringList{"A29"});
        QVERIFY(m_clock.sleeps().isEmpty());
        QCOMPARE(m_clock.pendingCalls(), qsizetype(0));
    }

    // The wait follows what the output says is left, but is bounded even when the output
    // never lets the sound start.
    void keepTryingGivesUpOnAStuckOutput()
    {
        auto stuck = std::make_unique<LaggingOutput>(m_clock);
        LaggingOutput *out = stuck.get();
        MediaService media(m_dir->path(), std::move(stuck), m_clock);
        SoundLog log(media);
        const qint64 asked = m_clock.nowMs();
        media.PredvajajZvok("A29", "snd", true);
        m_clock.runPending();
        QVERIFY(out->asked > 1);
        QCOMPARE(m_clock.nowMs() - asked, 100 + MediaService::kKeepTryingMarginMs
                                              + MediaService::kKeepTryingStretchMs);
        QCOMPARE(log.refused(), QStringList{"A29"});
        QVERIFY(!media.hasWaiting());
    }

    // A playing sound that lasts longer than the output first said (the server fell behind)
    // is still waited for, and the instruction starts when it really ends.
    void keepTryingFollowsASoundThatTurnsOutLonger()
    {
        auto lagging = std::make_unique<LaggingOutput>(m_clock, m_clock.nowMs() + 900);
        LaggingOutput *out = lagging.get();
        MediaService media(m_dir->path(), std::move(lagging), m_clock);
        SoundLog log(media);
        media.PredvajajZvok("A29", "snd", true);
        m_clock.runPending();
        QCOMPARE(log.names(), QStringList{"A29"});
        QVERIFY(out->acceptedAtMs >= 1900);
        QVERIFY(out->acceptedAtMs <= 1900 + MediaService::kKeepTryingStepMs);
    }

    void keepTryingNeverWaitsForASoundThatCannotStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pack");
        QTest::newRow("sound missing") << "A99" << "snd";
        QTest::newRow("pack missing") << "A29" << "nothere";
        QTest::newRow("pack malformed") << "A29" << "broken";
        QTest::newRow("pack truncated") << "A29" << "cut";
        QTest::newRow("sound undecodable") << "BAD" << "odd";
    }
    void keepTryingNeverWaitsForASoundThatCannotStart()
    {
        QFETCH(QString, name);
        QFETCH(QString, pack);
        QVERIFY(writeFile(path("broken.ipo"), QByteArray("MZ this is no pack").repeated(40)));
        ResourcePackWriter full;
        full.add(ResourceKind::Wave, "A29", makeTestWave(300));
        QVERIFY(writeFile(path("cut.ipo"), full.toBytes().first(full.toBytes().size() / 2)));
        ResourcePackWriter odd;
        odd.add(ResourceKind::Wave, "BAD", QByteArray("RIFF\0\0\0\0WAVEjunk", 16));
        QVERIFY(odd.write(path("odd.ipo")));

        m_out->startPlaying(5000);
        m_media->PredvajajZvok(name, pack, true);
        QVERIFY(m_clock.sleeps().isEmpty());
        QVERIFY(m_out->requests().isEmpty());
        QCOMPARE(m_log->missing(), QStringList{name});
        QVERIFY(m_log->names().isEmpty());
    }

    void keepTryingDoesNotWaitOnAnOutputThatCannotPlay()
    {
        m_out->setRefuseAll(true);
        m_media->PredvajajZvok("A29", "snd", true);
        QVERIFY(m_clock.sleeps().isEmpty());
        QCOMPARE(m_log->refused(), QStringList{"A29"});
    }

    // The sound pack is opened once and kept while the same pack is asked for.
    void soundPackStaysOpenBetweenPlays()
    {
        m_media->PredvajajZvok("A29", "snd", false);
        QVERIFY(QFile::remove(path("snd.ipo")));
        m_clock.advance(1000);
        m_media->PredvajajZvok("prav", "Snd", false);
        QCOMPARE(m_log->names(), (QStringList{"A29", "prav"}));

        // Another pack replaces it; coming back opens the file again, which is gone now.
        writeSoundPack("drugi", {{"A29", 50}});
        m_clock.advance(1000);
        m_media->PredvajajZvok("A29", "drugi", false);
        QCOMPARE(lastDuration(), qint64(50));
        m_clock.advance(1000);
        m_media->PredvajajZvok("A29", "snd", false);
        QCOMPARE(m_log->missing(), QStringList{"A29"});
    }

    void releasedSoundPackIsOpenedAgain()
    {
        m_media->PredvajajZvok("A29", "snd", false);
        m_media->releaseSoundPack();
        QVERIFY(QFile::remove(path("snd.ipo")));
        m_clock.advance(1000);
        m_media->PredvajajZvok("A29", "snd", false);
        QCOMPARE(m_log->missing(), QStringList{"A29"});
    }

    void stopAllEndsThePlayingSound()
    {
        m_media->PredvajajZvok("A29", "snd", false);
        m_media->stopAll();
        QCOMPARE(m_out->stopCount(), 1);
        QVERIFY(!m_out->isPlaying());
        m_media->PredvajajZvok("A15", "snd", false);
        QCOMPARE(m_log->names(), (QStringList{"A29", "A15"}));
    }

    void playFromPackSyncBlocksForTheSound()
    {
        playFromPackSync(path("snd.ipo"), "a29", *m_out);
        QCOMPARE(m_out->requests().size(), qsizetype(1));
        QVERIFY(m_out->requests()[0].sync);
        QCOMPARE(m_clock.sleeps(), QList<qint64>{700});
        QVERIFY(!m_out->isPlaying());
    }

    void playFromPackSyncIsSilentWhenAnythingIsMissing()
    {
        playFromPackSync(path("none.ipo"), "A29", *m_out);
        playFromPackSync(path("snd.ipo"), "A1", *m_out);
        playFromPackSync(QString(), "A1", *m_out);
        QVERIFY(m_out->requests().isEmpty());
        QVERIFY(m_clock.sleeps().isEmpty());
    }

    void loadsAPicture()
    {
        ResourcePackWriter w;
        w.add(ResourceKind::Bitmap, "HISA", dib24());
        QVERIFY(w.write(path("slike.ipo")));
        QImage img;
        m_media->NaloziSliko("slike", "Hisa", img);
        QCOMPARE(img.size(), QSize(2, 2));
        QCOMPARE(img.pixel(0, 0), qRgb(0, 0, 255));
        QVERIFY(m_errors.isEmpty());
    }

    void pictureFromAMissingOrMalformedPackLeavesThePictureSilently()
    {
        QVERIFY(writeFile(path("slike.ipo"), QByteArray(300, 'z')));
        QImage img(5, 5, QImage::Format_RGB32);
        const qint64 key = img.cacheKey();
        m_media->NaloziSliko("nothere", "HISA", img);
        m_media->NaloziSliko("slike", "HISA", img);
        QCOMPARE(img.cacheKey(), key);
        QVERIFY(m_errors.isEmpty());
    }

    void missingOrBrokenPictureReportsTheError()
    {
        ResourcePackWriter w;
        w.add(ResourceKind::Bitmap, "POKVARJENA", QByteArray("not a bitmap, truly not one"));
        w.add(ResourceKind::RcData, "HISA", dib24()); // the right name, the wrong kind
        QVERIFY(w.write(path("slike.ipo")));
        QImage img(5, 5, QImage::Format_RGB32);
        const qint64 key = img.cacheKey();
        m_media->NaloziSliko("slike", "HISA", img);
        m_media->NaloziSliko("slike", "pokvarjena", img);
        QCOMPARE(img.cacheKey(), key);
        QCOMPARE(m_errors, QStringList(2, resourceNotFoundText()));
        QCOMPARE(resourceNotFoundText(),
                 u"Navedenega imena vira ni mogoče najti v slikovni datoteki."_qs);
    }

    void loadsATextList()
    {
        ResourcePackWriter w;
        w.add(ResourceKind::RcData, "ABECEDA", QByteArray("A   ajda\r\n\xC8   \xE8rka\r\n"));
        QVERIFY(w.write(path("Dat.ipo")));
        QStringList lines{"old"};
        QVERIFY(m_media->NaloziSeznam("Dat", "abeceda", lines));
        QCOMPARE(lines, (QStringList{"A   ajda", u"Č   črka"_qs}));
    }

    void textListMissingGivesFalseAndKeepsTheLines()
    {
        ResourcePackWriter w;
        w.add(ResourceKind::Bitmap, "KJEJECRKA", dib24());
        QVERIFY(w.write(path("Dat.ipo")));
        QVERIFY(writeFile(path("pokvarjen.ipo"), QByteArray("MZ") + QByteArray(500, '\xFF')));
        QStringList lines{"old"};
        QVERIFY(!m_media->NaloziSeznam("Dat", "KJEJECRKA", lines));
        QVERIFY(!m_media->NaloziSeznam("Dat", "NIC", lines));
        QVERIFY(!m_media->NaloziSeznam("nothere", "ABECEDA", lines));
        QVERIFY(!m_media->NaloziSeznam("pokvarjen", "ABECEDA", lines));
        QCOMPARE(lines, QStringList{"old"});
        QVERIFY(m_errors.isEmpty());
    }

    void delayIsClampedAndAnnounced()
    {
        QSignalSpy spy(m_media.get(), &MediaService::zamikZvokaChanged);
        m_media->setZamikZvoka(0);
        QCOMPARE(m_media->zamikZvoka(), 1);
        m_media->setZamikZvoka(5000);
        QCOMPARE(m_media->zamikZvoka(), 1000);
        m_media->setZamikZvoka(1000);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy[0][0].toInt(), 1);
        QCOMPARE(spy[1][0].toInt(), 1000);
    }
};

// The real output, checked without waiting for a sound to end: with or without a device, the
// state the user-interface thread sees must be right at once.
class TestSystemOutput : public QObject {
    Q_OBJECT
private slots:
    void playingStateAndStopAll()
    {
        PcmSound sound;
        QVERIFY(decodeWave(makeTestWave(20000), &sound));
        auto out = createSystemSoundOutput();
        QVERIFY(!out->isPlaying());
        QCOMPARE(out->remainingMs(), qint64(0));
        QVERIFY(out->playAsync(sound));
        QVERIFY(out->isPlaying());
        QVERIFY(out->remainingMs() > 0 && out->remainingMs() <= 20000);
        QVERIFY(!out->playAsync(sound));
        QVERIFY(!out->playSync(sound)); // returns at once, refused
        out->stopAll();
        QVERIFY(!out->isPlaying());
        QCOMPARE(out->remainingMs(), qint64(0));
        QVERIFY(out->playAsync(sound));
        out->stopAll();
    }

    void soundThatCannotPlayIsRefused()
    {
        auto out = createSystemSoundOutput();
        QVERIFY(!out->playAsync(PcmSound{}));
        PcmSound odd;
        odd.sampleRate = 8000;
        odd.channels = 1;
        odd.bitsPerSample = 12;
        odd.samples = QByteArray(100, '\0');
        QVERIFY(!out->playAsync(odd));
        QVERIFY(!out->isPlaying());
    }

    void playSyncReturnsWhenTheSoundHasEnded()
    {
        PcmSound sound;
        QVERIFY(decodeWave(makeTestWave(30), &sound));
        auto out = createSystemSoundOutput();
        QVERIFY(out->playSync(sound));
        QVERIFY(!out->isPlaying());
        QVERIFY(out->playAsync(sound)); // free again
        out->stopAll();
    }
};

class TestDelaySetting : public QObject {
    Q_OBJECT
    static void store(const QVariant &v)
    {
        QSettings s("Brinvel", "Kolmar");
        s.setValue("zamikZvoka", v);
        s.sync();
    }
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QSettings s("Brinvel", "Kolmar");
        s.remove("zamikZvoka");
        s.sync();
    }

    void missingValueReads300() { QCOMPARE(DelaySetting::read(), 300); }

    void unusableValueReads300_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("garbage") << QVariant("kmalu");
        QTest::newRow("empty") << QVariant("");
        QTest::newRow("fraction") << QVariant("2.5");
        QTest::newRow("zero") << QVariant(0);
        QTest::newRow("negative") << QVariant(-5);
        QTest::newRow("above range") << QVariant(1001);
        QTest::newRow("list") << QVariant(QStringList{"1", "2"});
    }
    void unusableValueReads300()
    {
        QFETCH(QVariant, stored);
        store(stored);
        QCOMPARE(DelaySetting::read(), 300);
    }

    void valuesInRangeAreKept_data()
    {
        QTest::addColumn<int>("ms");
        QTest::newRow("min") << 1;
        QTest::newRow("max") << 1000;
        QTest::newRow("inside") << 457;
    }
    void valuesInRangeAreKept()
    {
        QFETCH(int, ms);
        DelaySetting::write(ms);
        QCOMPARE(DelaySetting::read(), ms);
    }

    void writtenValueIsWhatTheStoreHolds()
    {
        DelaySetting::write(300);
        QSettings s("Brinvel", "Kolmar");
        QCOMPARE(s.value("zamikZvoka").toInt(), 300);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int status = 0;
    auto run = [&](QObject &&test) { status |= QTest::qExec(&test, argc, argv); };
    run(TestWave());
    run(TestBitmap());
    run(TestListText());
    run(TestMediaService());
    run(TestSystemOutput());
    run(TestDelaySetting());
    return status;
}

#include "tst_media.moc"
