// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

class QEventLoop;

namespace tipsovo {

class ActivityScreen;
class AppHost;
class FlatButton;
class HoverSounds;

// The chooser of the words, syllables and letters screens, opened modally from the main menu.
// Starting a screen hides the chooser and shows the screen; when the screen closes the chooser
// comes back. Only "Zapri" (or closing its window) ends it.
//
// The chooser runs its own event loop instead of QDialog::exec(), which would end the moment
// the chooser is hidden. While a screen is open the screen itself is application modal, so the
// main menu stays out of reach for the chooser's whole life.
class TfMeniBeZlCr : public QWidget {
    Q_OBJECT
public:
    explicit TfMeniBeZlCr(AppHost &host, QWidget *parent = nullptr);
    ~TfMeniBeZlCr() override;

    // Creates a chooser, runs it modally and frees it when it ends.
    static void Izberi(AppHost &host, QWidget *parent = nullptr);

    // Shows the chooser modally, centred on the screen, and returns when it is closed. The
    // normal pointer shows meanwhile, whatever override cursor the caller had set.
    void exec();
    bool isRunning() const { return m_loop != nullptr; }

    // The screen started from the chooser and still open, if any.
    ActivityScreen *screen() const { return m_screen; }
    HoverSounds &hover() { return *m_hover; }
    FlatButton *button(int tag) const; // 1..4

public slots:
    // 1 words, 2 syllables, 3 letters; 4 closes the chooser.
    void ZazeniPodigo(int tag);

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void screenClosed();

    AppHost &m_host;
    HoverSounds *m_hover = nullptr;
    FlatButton *m_buttons[4] = {};
    QPointer<ActivityScreen> m_screen;
    QEventLoop *m_loop = nullptr;
};

} // namespace tipsovo
