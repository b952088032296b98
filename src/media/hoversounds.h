// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace tipsovo {

class MediaService;

// Hover sounds of one screen. It watches enter, leave and move on the screen and on every
// descendant widget (also ones added later): entering anything starts tmrZvok afresh, leaving
// stops it and clears the pending sound, moving over (or entering) a control with a Hint makes
// that Hint the pending sound; when the timer fires, the pending sound plays once through
// PredvajajZvok(hint, "snd", false) and is cleared. So a control speaks once, after the delay,
// and again only after the pointer has left it and come back.
class HoverSounds : public QObject {
    Q_OBJECT
public:
    // A child of `screen`; follows later changes of the media service's hover delay.
    HoverSounds(QWidget *screen, MediaService &media, int delayMs);

    void setDelay(int ms);
    int delay() const;
    QTimer &timer() { return m_timer; }                // tmrZvok
    QString pending() const { return m_cakajociZvok; } // cakajociZvok
    void setPending(const QString &hint) { m_cakajociZvok = hint; }
    // The keyboard's mark has come to `control`: as if the pointer had entered it.
    void pointAt(QWidget *control);
    // What tmrZvok does when it fires; tests call it instead of waiting for the timer.
    void fireNow() { fire(); }

    // Controls whose Hint should not speak on hover (a screen that plays it on click instead)
    // are marked with the dynamic property "HoverSilent" = true.

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QObject *o);
    void fire();

    QPointer<QWidget> m_screen;
    MediaService &m_media;
    QTimer m_timer;
    QString m_cakajociZvok;
};

} // namespace tipsovo
