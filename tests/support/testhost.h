// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in for the main menu in screen tests: a media service over a recording output and a
// manual clock, packs in a temporary folder, error boxes recorded instead of shown.

#include "media/apphost.h"
#include "media/manualclock.h"
#include "media/mediaservice.h"
#include "media/recordingsoundoutput.h"

#include <QPainter>
#include <QTemporaryDir>
#include <memory>

namespace tipsovo::test {

class TestHost : public AppHost {
public:
    TestHost()
    {
        auto out = std::make_unique<RecordingSoundOutput>(clock);
        output = out.get();
        m_media = std::make_unique<MediaService>(dir.path(), std::move(out), clock);
        m_media->setErrorReporter([this](const QString &text) { errors.append(text); });
        log = std::make_unique<SoundLog>(*m_media);
        AppHost::setInstance(this);
    }
    ~TestHost() override
    {
        if (AppHost::instance() == this)
            AppHost::setInstance(nullptr);
    }

    MediaService &media() override { return *m_media; }
    QRect menuBounds() const override { return {112, 97, 800, 573}; }
    QPixmap rightMark() const override { return mark(Qt::green); }
    QPixmap wrongMark() const override { return mark(Qt::red); }

    QString packDir() const { return dir.path(); }

    QTemporaryDir dir;
    ManualClock clock;
    RecordingSoundOutput *output = nullptr;
    std::unique_ptr<SoundLog> log;
    QStringList errors;

private:
    static QPixmap mark(QColor c)
    {
        QPixmap pm(38, 30);
        pm.fill(c);
        return pm;
    }
    std::unique_ptr<MediaService> m_media;
};

} // namespace tipsovo::test
