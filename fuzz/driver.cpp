// SPDX-License-Identifier: GPL-3.0-or-later
// The libFuzzer entry of one target: TIPSOVO_FEED names its feed (feeds.h). A failed check
// aborts, so libFuzzer keeps the input as a crash. An input that keeps the reader busy for more
// than 50 ms of processor time (measured twice, so that a page fault or a first font lookup
// does not count) is written to $TIPSOVO_FUZZ_SLOW_DIR and reported on standard error: a
// finding as well, though the run goes on.
#include "feeds.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr double kSlowMs = 50.0;

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double timedFeed(QByteArrayView input)
{
    const double start = cpuMs();
    const QString why = tipsovo::fuzz::TIPSOVO_FEED(input);
    const double spent = cpuMs() - start;
    if (!why.isEmpty()) {
        std::fprintf(stderr, "==tipsovo-fuzz== check failed: %s\n", qPrintable(why));
        std::abort();
    }
    return spent;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Fonts and painting need an application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own globals may be gone before a static would be.
    new QGuiApplication(*argc, *argv);
    // The first call loads fonts and image plug-ins: not the reader's time.
    timedFeed(QByteArrayView());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    double spent = timedFeed(input);
    if (spent > kSlowMs)
        spent = std::min(spent, timedFeed(input));
    if (spent > kSlowMs) {
        const QByteArray bytes = input.toByteArray();
        const QString dir = qEnvironmentVariable("TIPSOVO_FUZZ_SLOW_DIR");
        const QString name = QStringLiteral("slow-")
            + QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            QFile file(QDir(dir).filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write(bytes);
        }
        std::fprintf(stderr, "==tipsovo-fuzz== slow input: %.0f ms, %zu bytes, %s\n", spent, size,
                     qPrintable(name));
    }
    return 0;
}
