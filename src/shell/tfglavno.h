// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/apphost.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;

namespace tipsovo {

class Clock;
class FlatButton;
class HoverSounds;
class KeyboardChoices;
class MediaService;
class SoundOutput;

// The main menu: a picture of 800 × 600 with ten buttons that open the activities, the about
// screen, the sound switch and "Izhod". It owns the media service, the hover delay and the two
// feedback marks every activity copies. There is one instance; closing it ends the program.
class TfGlavno : public QWidget, public AppHost {
    Q_OBJECT
public:
    struct Setup {
        QString packDir;                     // where the packs lie (beside the program)
        std::unique_ptr<SoundOutput> output; // where sounds go
        Clock *clock = nullptr;              // blocking waits; the system clock when null
        QSize displaySize;                   // the display rules' input; the screen's when empty
        bool fitted = false;                 // the program is drawn scaled to fill the screen
        // Message boxes (caption, text); a modal box when not set.
        std::function<void(const QString &, const QString &)> showMessage;
    };
    // Creates the activity of a menu button's Tag; the screen shows itself non-modally or, for
    // the choosers, runs modally. May throw; the cursor is reset in every case. The entry point
    // gives the activities' launcher; the menu itself opens only the about screen.
    using ScreenLauncher = std::function<void(int tag, TfGlavno &menu)>;

    explicit TfGlavno(Setup setup, QWidget *parent = nullptr);
    ~TfGlavno() override;

    // AppHost
    MediaService &media() override { return *m_media; }
    QRect menuBounds() const override { return geometry(); }
    QPixmap rightMark() const override;
    QPixmap wrongMark() const override;

    // Launches the screen of the clicked button (by its Tag): hourglass while it is created,
    // the normal pointer again in every case.
    void ZazeniIgrico(QObject *sender);
    void setScreenLauncher(ScreenLauncher launcher) { m_launch = std::move(launcher); }
    // The long-lived screens created after the menu: the backdrop and the insert-word menu.
    void setBackdrop(QWidget *backdrop) { m_backdrop = backdrop; }
    void setMeniVstaviBesedo(QWidget *menu) { m_meniVstaviBesedo = menu; }
    QWidget *meniVstaviBesedo() const { return m_meniVstaviBesedo; }

    bool displayTooSmall() const { return m_tooSmall; }
    HoverSounds &hover() { return *m_hover; }
    KeyboardChoices &keys() { return *m_keys; }
    int zamikZvoka() const;

    // The delay dialog at a screen position (the right button on btnZvok).
    void editDelay(QPoint globalPos);
    // Where the delay dialog runs; tests replace it. Returns true and the new delay on OK.
    using DelayEditor = std::function<bool(QWidget *parent, QPoint globalPos, int &delay)>;
    void setDelayEditor(DelayEditor editor) { m_editDelay = std::move(editor); }

signals:
    // The menu was closed ("Izhod"): the program ends.
    void closed();

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildButtons();

    std::unique_ptr<MediaService> m_media;
    HoverSounds *m_hover = nullptr;
    KeyboardChoices *m_keys = nullptr;
    QLabel *m_imgPrav = nullptr;
    QLabel *m_imgNarobe = nullptr;
    FlatButton *m_btnZvok = nullptr;
    QPointer<QWidget> m_backdrop;
    QPointer<QWidget> m_meniVstaviBesedo;
    ScreenLauncher m_launch;
    DelayEditor m_editDelay;
    bool m_tooSmall = false;
};

// The one main-menu instance of the program.
extern TfGlavno *fGlavno;

} // namespace tipsovo
