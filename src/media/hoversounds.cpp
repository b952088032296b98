// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/hoversounds.h"

#include "media/hint.h"
#include "media/mediaservice.h"

#include <QChildEvent>
#include <QDynamicPropertyChangeEvent>
#include <QEvent>
#include <QWidget>

namespace tipsovo {

namespace {

bool speaksOnHover(const QObject *o)
{
    return !hintOf(o).isEmpty() && !o->property("HoverSilent").toBool();
}

// Moves without a pressed button reach a widget only with mouse tracking on; only controls
// that speak get it, so drawing widgets keep the move events they expect.
void trackIfSpeaking(QObject *o)
{
    if (auto *w = qobject_cast<QWidget *>(o); w && speaksOnHover(w) && !w->hasMouseTracking())
        w->setMouseTracking(true);
}

} // namespace

HoverSounds::HoverSounds(QWidget *screen, MediaService &media, int delayMs)
    : QObject(screen), m_screen(screen), m_media(media)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &HoverSounds::fire);
    // The delay can change only from the main menu, but whoever listens follows at once.
    connect(&m_media, &MediaService::zamikZvokaChanged, this, &HoverSounds::setDelay);
    if (screen)
        watch(screen);
}

void HoverSounds::setDelay(int ms) { m_timer.setInterval(ms); }

int HoverSounds::delay() const { return m_timer.interval(); }

void HoverSounds::watch(QObject *o)
{
    if (!o->isWidgetType())
        return;
    o->removeEventFilter(this); // never twice
    o->installEventFilter(this);
    trackIfSpeaking(o);
    for (QObject *child : o->children())
        watch(child);
}

bool HoverSounds::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
        m_timer.start();
        trackIfSpeaking(watched);
        if (speaksOnHover(watched))
            m_cakajociZvok = hintOf(watched);
        break;
    case QEvent::Leave:
        m_timer.stop();
        m_cakajociZvok.clear();
        break;
    case QEvent::MouseMove:
        if (speaksOnHover(watched))
            m_cakajociZvok = hintOf(watched);
        break;
    case QEvent::ChildAdded:
        // A child arrives half-built (its Hint is set later, see DynamicPropertyChange); its
        // own children arrive through its own ChildAdded.
        watch(static_cast<QChildEvent *>(event)->child());
        break;
    case QEvent::DynamicPropertyChange:
        if (static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName() == "Hint")
            trackIfSpeaking(watched);
        break;
    default:
        break;
    }
    return false;
}

void HoverSounds::pointAt(QWidget *control)
{
    m_timer.start();
    if (speaksOnHover(control))
        m_cakajociZvok = hintOf(control);
    else
        m_cakajociZvok.clear();
}

void HoverSounds::fire()
{
    m_timer.stop();
    const QString sound = m_cakajociZvok;
    m_cakajociZvok.clear();
    if (!sound.isEmpty())
        m_media.PredvajajZvok(sound, QStringLiteral("snd"), false);
}

} // namespace tipsovo
