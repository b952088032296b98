// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/soundoutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <condition_variable>
#include <functional>
#include <mutex>

namespace tipsovo {

qint64 PcmSound::durationMs() const
{
    const qint64 bytesPerSecond = qint64(sampleRate) * channels * (bitsPerSample / 8);
    if (bytesPerSecond <= 0)
        return 0;
    // Rounded up, so a sound of a few samples still counts as playing for a moment.
    return (qint64(samples.size()) * 1000 + bytesPerSecond - 1) / bytesPerSecond;
}

namespace {

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 192000;

quint32 le32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char *p) { return qFromLittleEndian<quint16>(p); }

} // namespace

bool decodeWave(QByteArrayView bytes, PcmSound *out)
{
    const qsizetype total = bytes.size();
    if (total < 12 || bytes.first(4) != "RIFF" || bytes.sliced(8, 4) != "WAVE")
        return false;
    // The RIFF size is not trusted at all (streaming writers leave a placeholder, others get it
    // wrong): the chunks are walked over the bytes present.
    const qsizetype riffEnd = total;

    bool haveFmt = false;
    PcmSound sound;
    QByteArrayView data;
    bool haveData = false;

    qsizetype pos = 12;
    while (pos + 8 <= riffEnd) {
        const QByteArrayView id = bytes.sliced(pos, 4);
        const qsizetype declared = qsizetype(le32(bytes.data() + pos + 4));
        const qsizetype body = pos + 8;
        const qsizetype size = std::min(declared, riffEnd - body);
        if (id == "fmt ") {
            if (size < 16)
                return false;
            const char *f = bytes.data() + body;
            quint16 format = le16(f);
            if (format == kFormatExtensible) {
                // WAVEFORMATEXTENSIBLE: cbSize >= 22 and the sub-format GUID begins with the
                // plain format code.
                if (size < 40 || le16(f + 16) < 22)
                    return false;
                format = le16(f + 24);
                static const char kGuidTail[] = "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71";
                if (QByteArrayView(f + 26, 14) != QByteArrayView(kGuidTail, 14))
                    return false;
            }
            if (format != kFormatPcm)
                return false;
            sound.channels = le16(f + 2);
            const quint32 rate = le32(f + 4);
            const quint16 blockAlign = le16(f + 12);
            sound.bitsPerSample = le16(f + 14);
            if (sound.channels < 1 || sound.channels > 2)
                return false;
            if (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
                return false;
            if (rate < quint32(kMinRate) || rate > quint32(kMaxRate))
                return false;
            sound.sampleRate = int(rate);
            if (blockAlign != sound.channels * sound.bitsPerSample / 8)
                return false;
            haveFmt = true;
        } else if (id == "data" && !haveData) {
            data = bytes.sliced(body, size);
            haveData = true;
        }
        // Chunks are padded to an even length.
        pos = body + size + (size & 1);
    }
    if (!haveFmt || !haveData)
        return false;
    const int frame = sound.channels * sound.bitsPerSample / 8;
    // A truncated last frame is dropped rather than played as noise.
    sound.samples = data.first(data.size() - data.size() % frame).toByteArray();
    if (out)
        *out = std::move(sound);
    return true;
}

namespace {

// Lives on the output's own thread and owns the QAudioSink there. Every start carries a
// generation number; "finished" reports it back so a late report of an old sound cannot end
// a newer one.
class SinkWorker : public QObject {
public:
    explicit SinkWorker(std::function<void(quint64)> onFinished)
        : m_onFinished(std::move(onFinished))
    {
        m_fallback.setSingleShot(true);
        m_watchdog.setSingleShot(true);
        connect(&m_fallback, &QTimer::timeout, this, [this] { finish(); });
        connect(&m_watchdog, &QTimer::timeout, this, [this] { finish(); });
    }
    ~SinkWorker() override { teardown(); }

    void start(const PcmSound &sound, quint64 generation)
    {
        teardown();
        m_generation = generation;
        m_active = true;
        const int duration = int(std::min<qint64>(sound.durationMs(), 24 * 3600 * 1000));
        // Whatever happens to the sink, "finished" comes.
        m_watchdog.start(duration + kWatchdogMarginMs);
        if (!startSink(sound))
            m_fallback.start(duration);
    }

    void stop()
    {
        m_active = false;
        teardown();
    }

    static constexpr int kWatchdogMarginMs = 1000;

private:
    bool deviceAvailable()
    {
        if (!m_deviceChecked) {
            m_device = QMediaDevices::defaultAudioOutput();
            m_deviceChecked = true;
        }
        return !m_device.isNull();
    }

    bool startSink(const PcmSound &sound)
    {
        if (!deviceAvailable())
            return false;
        QAudioFormat format;
        format.setSampleRate(sound.sampleRate);
        format.setChannelCount(sound.channels);
        format.setSampleFormat(sound.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
        if (!m_device.isFormatSupported(format))
            return false;
        m_buffer = new QBuffer(this);
        m_buffer->setData(sound.samples);
        m_buffer->open(QIODevice::ReadOnly);
        m_sink = new QAudioSink(m_device, format, this);
        connect(m_sink, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            if (!m_sink)
                return;
            if (state == QAudio::IdleState
                || (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError))
                finish();
        });
        m_sink->start(m_buffer);
        // Without a working device the sink is Stopped with an error at once and never signals.
        if (m_sink->state() == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
            teardownSink();
            return false;
        }
        return true;
    }

    void finish()
    {
        if (!m_active)
            return;
        m_active = false;
        const quint64 generation = m_generation;
        teardown();
        m_onFinished(generation);
    }

    void teardownSink()
    {
        if (m_sink) {
            QAudioSink *sink = m_sink;
            m_sink = nullptr;
            sink->disconnect(this);
            sink->stop();
            delete sink;
        }
        if (m_buffer) {
            delete m_buffer;
            m_buffer = nullptr;
        }
    }

    void teardown()
    {
        m_fallback.stop();
        m_watchdog.stop();
        teardownSink();
    }

    std::function<void(quint64)> m_onFinished;
    // Children, so that they move to the worker's thread with it.
    QTimer m_fallback{this};
    QTimer m_watchdog{this};
    QAudioSink *m_sink = nullptr;
    QBuffer *m_buffer = nullptr;
    QAudioDevice m_device;
    bool m_deviceChecked = false;
    bool m_active = false;
    quint64 m_generation = 0;
};

// The user-interface side answers isPlaying/remainingMs from its own state under a mutex, so
// it never waits for the worker's event loop; only the worker touches Qt Multimedia.
class SystemSoundOutput final : public SoundOutput {
public:
    SystemSoundOutput()
    {
        m_clock.start();
        m_thread.setObjectName(QStringLiteral("tipsovo-sound"));
        m_worker = new SinkWorker([this](quint64 generation) { onFinished(generation); });
        m_worker->moveToThread(&m_thread);
        QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
        m_thread.start();
    }

    ~SystemSoundOutput() override
    {
        stopAll();
        m_thread.quit();
        m_thread.wait();
    }

    bool playAsync(const PcmSound &sound) override { return begin(sound) != 0; }

    bool playSync(const PcmSound &sound) override
    {
        const quint64 generation = begin(sound);
        if (generation == 0)
            return false;
        std::unique_lock lock(m_mutex);
        const auto limit = std::chrono::milliseconds(sound.durationMs() + 2 * SinkWorker::kWatchdogMarginMs);
        m_ended.wait_for(lock, limit, [&] { return m_generation != generation || !m_playing; });
        return true;
    }

    void stopAll() override
    {
        {
            std::lock_guard lock(m_mutex);
            m_playing = false;
            ++m_generation;
        }
        m_ended.notify_all();
        QMetaObject::invokeMethod(m_worker, [w = m_worker] { w->stop(); }, Qt::QueuedConnection);
    }

    bool isPlaying() const override
    {
        std::lock_guard lock(m_mutex);
        return playingLocked();
    }

    qint64 remainingMs() const override
    {
        std::lock_guard lock(m_mutex);
        if (!playingLocked())
            return 0;
        return std::max<qint64>(0, m_startMs + m_durationMs - m_clock.elapsed());
    }

private:
    // The worker's watchdog ends every sound; this guard only covers a worker that is stuck.
    bool playingLocked() const
    {
        return m_playing
            && m_clock.elapsed() < m_startMs + m_durationMs + 2 * SinkWorker::kWatchdogMarginMs;
    }

    // Returns the new sound's generation, 0 when refused.
    quint64 begin(const PcmSound &sound)
    {
        if (sound.samples.isEmpty() || sound.sampleRate <= 0 || sound.channels <= 0
            || (sound.bitsPerSample != 8 && sound.bitsPerSample != 16))
            return 0;
        quint64 generation;
        {
            std::lock_guard lock(m_mutex);
            if (playingLocked())
                return 0;
            m_playing = true;
            m_startMs = m_clock.elapsed();
            m_durationMs = sound.durationMs();
            generation = ++m_generation;
        }
        QMetaObject::invokeMethod(
            m_worker, [w = m_worker, sound, generation] { w->start(sound, generation); },
            Qt::QueuedConnection);
        return generation;
    }

    void onFinished(quint64 generation)
    {
        {
            std::lock_guard lock(m_mutex);
            if (generation != m_generation)
                return;
            m_playing = false;
        }
        m_ended.notify_all();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_ended;
    QElapsedTimer m_clock;
    bool m_playing = false;
    qint64 m_startMs = 0;
    qint64 m_durationMs = 0;
    quint64 m_generation = 0;
    QThread m_thread;
    SinkWorker *m_worker = nullptr; // deleted on its own thread when the thread ends
};

} // namespace

std::unique_ptr<SoundOutput> createSystemSoundOutput()
{
    return std::make_unique<SystemSoundOutput>();
}

} // namespace tipsovo
