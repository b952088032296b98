// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/soundoutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tipsovo {

namespace {

// What the user-interface side and the worker share, under one mutex: whether a sound plays,
// which one (every start carries a generation number, so a late report about an old sound
// cannot end a newer one), when it will have been heard as far as the worker knows, and the
// time past which nothing counts as playing even if the worker never reports again.
struct PlaybackState {
    mutable std::mutex mutex;
    std::condition_variable ended;
    bool playing = false;
    quint64 generation = 0;
    qint64 expectedEndMs = 0;
    qint64 limitMs = 0;
};

// How often the worker looks at what the server has played and how much of the end it may
// miss. A sound that makes no progress at all for kStallMs is given up (the watchdog: a server
// that has stopped answering); a server may stall for well over a second mid-sound (a sink
// that has rendered far ahead while idle, and a suspended sink, look the same from here, and
// the first plays the sound in the end), so this is long. A sound whose processed time never
// moves at all counts as played once its length, and at least kNeverStartedMs, has passed.
constexpr int kPollMs = 5;
constexpr qint64 kEndToleranceUs = 2000;
// How far the processed time may run ahead of the clock before it counts as a leap.
constexpr qint64 kLeapMs = 20;
constexpr qint64 kStallMs = 3000;
constexpr qint64 kNeverStartedMs = 1000;
// Beyond the stall allowance, how long the user-interface side trusts a silent worker.
constexpr qint64 kLimitMarginMs = 500;
// How long a stopped sink is kept before it is deleted, and at the least when the output ends.
constexpr qint64 kRetireMs = 2000;
constexpr qint64 kRetireLeastMs = 250;

// Lives on the output's own thread and owns the QAudioSink there. The end of a sound is the
// moment the server has played its last sample. The server says so by draining the stream
// (the sink goes idle once everything written has been rendered); the sink's processed time,
// polled, is the second witness, taken only once the sound's length has also passed since it
// really began (the processed time is interpolated and may run ahead). Neither a quiet spell of
// the server nor a slow timing update ends a sound early or late. When the server goes away
// mid-sound, the rest of the sound's length stands in; when there is no device at all, a timer
// of the whole length does.
class SinkWorker : public QObject {
public:
    SinkWorker(PlaybackState &state, const QElapsedTimer &clock) : m_state(state), m_clock(clock)
    {
        m_timed.setSingleShot(true);
        m_timed.setTimerType(Qt::PreciseTimer);
        m_poll.setTimerType(Qt::PreciseTimer);
        m_poll.setInterval(kPollMs);
        connect(&m_timed, &QTimer::timeout, this, [this] { finish(); });
        connect(&m_poll, &QTimer::timeout, this, [this] { poll(); });
    }
    ~SinkWorker() override
    {
        teardown();
        // The stopped sinks still kept go with the worker (its children): the youngest has
        // been given the shortest safe time first.
        const qint64 wait = m_lastStopMs + kRetireLeastMs - m_clock.elapsed();
        if (m_lastStopMs >= 0 && wait > 0)
            QThread::msleep(static_cast<unsigned long>(wait));
    }

    // Connects to the sound server ahead of the first sound, so the opening sound does not
    // wait for it.
    void warmUp() { deviceAvailable(); }

    void start(const PcmSound &sound, quint64 generation)
    {
        teardown();
        m_generation = generation;
        m_active = true;
        const qint64 frames = sound.samples.size() / (sound.channels * (sound.bitsPerSample / 8));
        m_durationUs = frames * 1000000 / sound.sampleRate;
        m_processedUs = 0;
        m_startedAtMs = -1;
        m_requestedAtMs = m_clock.elapsed();
        m_lastProgressMs = m_requestedAtMs;
        if (startSink(sound)) {
            m_poll.start();
            publish(m_lastProgressMs + durationMs());
        } else {
            playTimed(durationMs());
        }
    }

    void stop()
    {
        m_active = false;
        teardown();
    }

private:
    qint64 durationMs() const { return (m_durationUs + 999) / 1000; }

    bool deviceAvailable()
    {
        if (!m_deviceChecked) {
            m_device = QMediaDevices::defaultAudioOutput();
            m_deviceChecked = true;
        }
        return !m_device.isNull();
    }

    // The sink has no working stream any more. A server that goes away is not always told to
    // the sink (that news goes through the event loop of whichever thread first asked for
    // devices, which may be blocked in a wait); the stream itself knows at once: it has no
    // room at all (the sink passes on the server's error value).
    static bool failed(const QAudioSink &sink)
    {
        const QAudio::Error e = sink.error();
        return sink.state() == QAudio::StoppedState
            || e == QAudio::OpenError || e == QAudio::IOError || e == QAudio::FatalError
            || sink.bytesFree() < 0;
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
        m_sink = new QAudioSink(m_device, format, this);
        // The samples are written by the worker itself as the server makes room (no reliance
        // on the sink's own feeding timer, which has been seen to stop), so what was written
        // is known exactly.
        m_io = m_sink->start();
        // Without a working server the sink is Stopped with an error at once.
        if (!m_io || failed(*m_sink)) {
            teardownSink();
            return false;
        }
        m_samples = sound.samples;
        m_written = 0;
        m_writtenSeen = 0;
        // The server starts a stream only once its start-up buffer is full: a sound shorter
        // than that is padded with silence (the end is still the sound's own).
        const qsizetype least = m_sink->bufferSize() + 4096;
        if (m_samples.size() < least)
            m_samples.append(least - m_samples.size(), sound.bitsPerSample == 8 ? '\x80' : '\0');
        m_frameBytes = sound.channels * (sound.bitsPerSample / 8);
        feed();
        return true;
    }

    void feed()
    {
        while (m_io && m_written < m_samples.size()) {
            qsizetype room = std::min<qsizetype>(m_sink->bytesFree(), m_samples.size() - m_written);
            room -= room % m_frameBytes;
            if (room <= 0)
                return;
            const qint64 n = m_io->write(m_samples.constData() + m_written, room);
            if (n <= 0)
                return;
            m_written += n;
        }
    }

    void poll()
    {
        if (!m_active || !m_sink)
            return;
        feed();
        const qint64 now = m_clock.elapsed();
        if (failed(*m_sink)) {
            // The server went away: what it has not played yet plays on as time, so the next
            // sound still waits for this one as the child would have heard it. The time is
            // counted from the start the progress showed, not from the last processed value:
            // until the sink notices the loss, that value runs on to what was written.
            teardownSink();
            const qint64 end = m_startedAtMs >= 0 ? m_startedAtMs + durationMs() : now + durationMs();
            playTimed(std::max<qint64>(0, end - now));
            return;
        }
        const qint64 processed = m_sink->processedUSecs();
        if (processed > m_processedUs || m_written > m_writtenSeen) {
            m_lastProgressMs = now;
            m_writtenSeen = m_written;
        }
        if (processed > m_processedUs) {
            m_processedUs = processed;
            // When playback really began. The processed time may leap ahead of what is heard
            // (the sink's latency estimate comes and goes); a start that seems earlier than
            // one already seen is such a leap and is not taken. A later one is a pause.
            const qint64 startedAt = now - processed / 1000;
            if (m_startedAtMs < 0 || startedAt > m_startedAtMs - kLeapMs)
                m_startedAtMs = std::max(m_startedAtMs, startedAt);
        }
        // The server drained the stream: all that was written has been rendered (not yet all
        // heard: the sink's own latency follows). The processed time says the same with that
        // latency taken off, but may lag far behind when the sink's latency estimate jumps.
        const bool drained = m_written >= m_samples.size() && m_sink->state() == QAudio::IdleState;
        const bool processedAll = m_processedUs + kEndToleranceUs >= m_durationUs;
        const bool lengthPassed = m_startedAtMs >= 0
            && now + kEndToleranceUs / 1000 >= m_startedAtMs + durationMs();
        const bool neverStarted = m_startedAtMs < 0
            && now - m_requestedAtMs >= std::max(durationMs(), kNeverStartedMs);
        if ((lengthPassed && (drained || processedAll)) || neverStarted
            || now - m_lastProgressMs > kStallMs) {
            finish();
            return;
        }
        publish(std::max(now + (m_durationUs - m_processedUs + 999) / 1000,
                         (m_startedAtMs >= 0 ? m_startedAtMs : m_requestedAtMs) + durationMs()));
    }

    void playTimed(qint64 ms)
    {
        m_poll.stop();
        m_timed.start(int(std::min<qint64>(ms, 24 * 3600 * 1000)));
        publish(m_clock.elapsed() + ms);
    }

    void publish(qint64 expectedEndMs)
    {
        std::lock_guard lock(m_state.mutex);
        if (m_state.generation != m_generation || !m_state.playing)
            return;
        m_state.expectedEndMs = expectedEndMs;
        m_state.limitMs = std::max(m_state.limitMs, expectedEndMs + kStallMs + kLimitMarginMs);
    }

    void finish()
    {
        if (!m_active)
            return;
        m_active = false;
        teardown();
        {
            std::lock_guard lock(m_state.mutex);
            if (m_state.generation != m_generation)
                return;
            m_state.playing = false;
        }
        m_state.ended.notify_all();
    }

    void teardownSink()
    {
        if (!m_sink)
            return;
        QAudioSink *sink = m_sink;
        m_sink = nullptr;
        m_io = nullptr; // the sink's own device, gone with the sink
        m_samples.clear();
        sink->disconnect(this);
        sink->stop();
        // A stopped PulseAudio sink may still be called back by the server: a drain it asked
        // for when its stream ran dry answers with the sink's address, and only the server's
        // reply to the disconnect cancels that. Deleted at once, such a late answer lands in
        // freed memory. So a stopped sink is kept for a while before it is deleted.
        m_lastStopMs = m_clock.elapsed();
        // Deleted later from the top of the event loop: the sink's destructor runs the loop
        // once, which there cannot re-enter a start or stop half-way through.
        QTimer::singleShot(kRetireMs, sink, [sink] { sink->deleteLater(); });
    }

    void teardown()
    {
        m_timed.stop();
        m_poll.stop();
        teardownSink();
    }

    PlaybackState &m_state;
    const QElapsedTimer &m_clock;
    // Children, so that they move to the worker's thread with it.
    QTimer m_timed{this};
    QTimer m_poll{this};
    QAudioSink *m_sink = nullptr;
    QIODevice *m_io = nullptr;
    qint64 m_lastStopMs = -1; // when the last sink was stopped
    QByteArray m_samples; // what is written to the sink, padded
    qsizetype m_written = 0;
    qsizetype m_writtenSeen = 0; // what had been written at the last progress
    int m_frameBytes = 1;
    QAudioDevice m_device;
    bool m_deviceChecked = false;
    bool m_active = false;
    quint64 m_generation = 0;
    qint64 m_durationUs = 0;
    qint64 m_processedUs = 0;
    qint64 m_lastProgressMs = 0;
    qint64 m_startedAtMs = -1; // when playback really began, as the progress shows
    qint64 m_requestedAtMs = 0;
};

// The user-interface side answers isPlaying/remainingMs from the shared state, so it never
// waits for the worker's event loop; only the worker touches Qt Multimedia.
class SystemSoundOutput final : public SoundOutput {
public:
    SystemSoundOutput()
    {
        m_clock.start();
        m_thread.setObjectName(QStringLiteral("tipsovo-sound"));
        m_worker = new SinkWorker(m_state, m_clock);
        m_worker->moveToThread(&m_thread);
        QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
        m_thread.start();
        QMetaObject::invokeMethod(m_worker, [w = m_worker] { w->warmUp(); }, Qt::QueuedConnection);
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
        std::unique_lock lock(m_state.mutex);
        // The limit moves on while the worker reports progress; it is read again each time.
        while (m_state.generation == generation && playingLocked()) {
            const qint64 left = m_state.limitMs - m_clock.elapsed();
            m_state.ended.wait_for(lock, std::chrono::milliseconds(std::clamp<qint64>(left, 1, 50)));
        }
        return true;
    }

    void stopAll() override
    {
        {
            std::lock_guard lock(m_state.mutex);
            m_state.playing = false;
            ++m_state.generation;
        }
        m_state.ended.notify_all();
        QMetaObject::invokeMethod(m_worker, [w = m_worker] { w->stop(); }, Qt::QueuedConnection);
    }

    bool isPlaying() const override
    {
        std::lock_guard lock(m_state.mutex);
        return playingLocked();
    }

    qint64 remainingMs() const override
    {
        std::lock_guard lock(m_state.mutex);
        if (!playingLocked())
            return 0;
        return std::max<qint64>(0, m_state.expectedEndMs - m_clock.elapsed());
    }

private:
    // The worker ends every sound itself; the limit only covers a worker that is stuck.
    bool playingLocked() const { return m_state.playing && m_clock.elapsed() < m_state.limitMs; }

    // Returns the new sound's generation, 0 when refused.
    quint64 begin(const PcmSound &sound)
    {
        if (sound.samples.isEmpty() || sound.sampleRate <= 0 || sound.channels <= 0
            || (sound.bitsPerSample != 8 && sound.bitsPerSample != 16)
            || sound.samples.size() < sound.channels * (sound.bitsPerSample / 8))
            return 0;
        quint64 generation;
        {
            std::lock_guard lock(m_state.mutex);
            if (playingLocked())
                return 0;
            const qint64 now = m_clock.elapsed();
            m_state.playing = true;
            m_state.expectedEndMs = now + sound.durationMs();
            m_state.limitMs = m_state.expectedEndMs + kStallMs + kLimitMarginMs;
            generation = ++m_state.generation;
        }
        QMetaObject::invokeMethod(
            m_worker, [w = m_worker, sound, generation] { w->start(sound, generation); },
            Qt::QueuedConnection);
        return generation;
    }

    PlaybackState m_state;
    QElapsedTimer m_clock;
    QThread m_thread;
    SinkWorker *m_worker = nullptr; // deleted on its own thread when the thread ends
};

} // namespace

std::unique_ptr<SoundOutput> createSystemSoundOutput()
{
    return std::make_unique<SystemSoundOutput>();
}

} // namespace tipsovo
