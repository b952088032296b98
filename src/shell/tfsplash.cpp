// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tfsplash.h"

#include "widgets/controls.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QResource>
#include <QScreen>
#include <QSysInfo>

#include <cstring>

namespace tipsovo {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// The splash is painted before anything else, and decoding a PNG of it would hold up the first
// picture the child sees; the build also embeds its raw pixels, which are only copied. The PNG
// is the fallback.
QPixmap splashPicture()
{
    const QResource raw(QStringLiteral(":/pictures/splash.bgra"));
    const QByteArray pixels = raw.isValid() ? raw.uncompressedData() : QByteArray();
    // The bytes are blue, green, red, alpha: a 32-bit pixel of Format_RGB32 on a little-endian
    // processor.
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian
        && pixels.size() == qsizetype(kWidth) * kHeight * 4) {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(image.scanLine(y), pixels.constData() + qsizetype(y) * kWidth * 4,
                        size_t(kWidth) * 4);
        return QPixmap::fromImage(std::move(image), Qt::NoFormatConversion);
    }
    return programPicture(QStringLiteral("splash"), {kWidth, kHeight});
}

} // namespace

TfSplash::TfSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfSplash"));
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(splashPicture());
    picture->setGeometry(0, 0, kWidth, kHeight);
    setFixedSize(kWidth, kHeight);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - kWidth) / 2, s.y() + (s.height() - kHeight) / 2);
    }
}

void TfSplash::showNow()
{
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tipsovo
