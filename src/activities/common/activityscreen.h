// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QLabel;

namespace tipsovo {

class AppHost;
class FlatButton;
class HoverSounds;
class KeyboardChoices;
class MediaService;

// The frame every activity screen shares: it covers the main menu exactly, carries the
// instruction line (spoken when the screen is shown and again on hover), the right and wrong
// marks with their counters, the command row NAPREJ, POMOČ, NATISNI, PONOVI, KONEC, the hover
// sounds, the background picture or tiled wallpaper, and the end-of-set praise.
//
// A screen derives from it, builds its own controls in its constructor and overrides the
// exercise hooks. Screens with a different bottom row (follow lines, the travel game) hide or
// move the command buttons they do not use; everything else stays shared.
//
// A set starts once, when the screen opens (at creation or at its first activation, as the
// screen chooses). Coming back to the screen from a window it opened itself (a message box,
// a print preview, a chooser) or from another program never starts a new set; a screen whose
// content changes while it is open (another theme chosen over it) restarts it explicitly.
class ActivityScreen : public QWidget {
    Q_OBJECT
public:
    enum class SetStart { AtCreation, OnFirstActivation };
    enum class Command { Naprej, Pomoc, Natisni, Ponovi, Konec };

    // The names of the command buttons differ between screens; their captions do not.
    struct CommandNames {
        QString naprej = QStringLiteral("SpeedButton5");
        QString pomoc = QStringLiteral("SpeedButton4");
        QString natisni = QStringLiteral("SpeedButton3");
        QString ponovi = QStringLiteral("SpeedButton2");
        QString konec = QStringLiteral("SpeedButton1");
    };

    struct Setup {
        QString objectName;                                // "TfPrvaCrka"
        QString instruction;                               // shown in capitals
        QString instructionHint;                           // its sound, e.g. "A29"
        QString instructionName = QStringLiteral("Panel9"); // the line's control name
        int setLength = 1;                                 // exercises in a set
        QString praiseCaption = QStringLiteral("Bravo!");  // the line at the end of a set
        SetStart setStart = SetStart::OnFirstActivation;
        bool ponoviHidesNaprej = true; // the first-letter screen leaves NAPREJ as it is
        CommandNames commandNames;
        QString rightCounterName = QStringLiteral("lblPravilni");
        QString wrongCounterName = QStringLiteral("lblNepravilni");
    };

    ActivityScreen(AppHost &host, const Setup &setup, QWidget *parent = nullptr);
    ~ActivityScreen() override;

    AppHost &host() { return m_host; }
    MediaService &media();
    HoverSounds &hover() { return *m_hover; }
    KeyboardChoices &keys() { return *m_keys; }

    // Instruction line.
    QLabel *instructionLine() const { return m_instruction; }
    QString instructionText() const { return m_instructionText; }
    void setInstructionText(const QString &text); // also what PONOVI restores

    FlatButton *commandButton(Command c) const;

    // Counters.
    int rightCount() const { return m_right; }
    int wrongCount() const { return m_wrong; }
    int solvedCount() const { return m_solved; }
    int setLength() const { return m_setLength; }
    QLabel *rightLabel() const { return m_lblPravilni; }
    QLabel *wrongLabel() const { return m_lblNepravilni; }
    void setCounts(int right, int wrong);

    // Answer feedback: "prav" (or the given sound) and +1 right; "narobe" and +1 wrong.
    void answerRight(const QString &sound = QStringLiteral("prav"), bool count = true);
    void answerWrong(const QString &sound = QStringLiteral("narobe"));
    // An exercise is solved: +1 solved; NAPREJ while the set goes on, the praise at its end
    // ("A9" with keep-trying and the praise caption), after which only PONOVI starts a new one.
    // A screen whose set can also be finished by help gives that ending its own sound.
    void exerciseSolved(const QString &praise = QStringLiteral("A9"), bool keepTrying = true);
    bool setFinished() const { return m_solved >= m_setLength; }

    // Plays a sound from "snd" through the media service.
    void say(const QString &sound, bool keepTrying = false);

    // Clickable items show the hand; solved or unusable items the normal pointer.
    static void setClickable(QWidget *w, bool clickable);
    static bool isClickable(const QWidget *w);
    // A double-click on an activity screen is one click (choices never count twice), except on
    // a control that counts every press, such as POMOČ: there each press of the two counts.
    static void setCountsEveryPress(QWidget *w, bool on = true);
    static bool countsEveryPress(const QObject *o);

    // Background: a full-screen picture, or a tile repeated over the whole screen.
    void setBackgroundPicture(const QPixmap &picture);
    void setWallpaper(const QPixmap &tile);
    QPixmap wallpaper() const { return m_wallpaper; }

    // Starts the set the screen opened with (AtCreation screens call this at the end of their
    // constructor, once their controls exist). Runs openingSet() once.
    void startFirstSet();
    bool setStarted() const { return m_setStarted; }
    // Starts a new set now, as opening the screen does, whether or not one was started before:
    // for a screen that stays open while what it plays changes. Called before the screen is
    // shown, the set is not started again when it is.
    void restartSet();

public slots:
    // PONOVI: counters and solved count to 0, the instruction text back, used items cleared,
    // NAPREJ hidden, a new exercise.
    virtual void Ponovi();
    // NAPREJ: hides itself, the next exercise; the counters keep their values.
    virtual void Naprej();

protected:
    // The exercise hooks a screen fills in.
    virtual void newExercise() {}
    virtual void clearUsed() {}
    virtual void help() {}
    virtual void print() {}
    // KONEC: closes the screen, unless the screen goes back somewhere first.
    virtual void konec() { close(); }
    // What opening the screen starts: PONOVI, unless the screen first asks something (the
    // guess-the-word chooser).
    virtual void openingSet() { Ponovi(); }

    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void buildFrame(const Setup &setup);
    void speakInstruction();

    AppHost &m_host;
    HoverSounds *m_hover = nullptr;
    KeyboardChoices *m_keys = nullptr;
    QLabel *m_instruction = nullptr;
    QString m_instructionText;
    QLabel *m_lblPravilni = nullptr;
    QLabel *m_lblNepravilni = nullptr;
    FlatButton *m_buttons[5] = {};
    QPixmap m_background;
    QPixmap m_wallpaper;
    QString m_praiseCaption;
    int m_setLength = 1;
    int m_right = 0;
    int m_wrong = 0;
    int m_solved = 0;
    SetStart m_setStart;
    bool m_ponoviHidesNaprej = true;
    bool m_setStarted = false;
    bool m_shownOnce = false;
};

// Paints `tile` over `size` in whole tiles from (0, 0), row by row; the edges are cut off.
// Returns the top-left corners used (for tests and the painter).
QList<QPoint> wallpaperTiles(QSize tile, QSize size);

} // namespace tipsovo
