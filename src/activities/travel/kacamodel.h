// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/randomsource.h"

#include <QList>
#include <QPoint>
#include <QString>

namespace tipsovo {

// One town of the travel game: its name as shown, whether the draw may still pick it, where it
// lies on the 620 × 420 map, and the resource name of its sound ("snd") and of its text and
// picture ("MESTA").
struct Town {
    QString display;
    bool available = true;
    int x = 0;
    int y = 0;
    QString resource;
};

// A frog on the board: a disc with one letter of the town's name (none in the ordinary game).
// An eaten frog, or one for which no free cell was left, lies at (−1, −1).
struct Frog {
    QPoint cell{-1, -1};
    QString letter;
    bool onBoard() const { return cell.x() >= 0; }
};

// The rules of the travel game "Kam potujemo?", without any widget: the board of 31 × 21 cells
// with its wall, the train, the frogs, the towns and their draw, the three game types, one step
// of the train, crashes and the destination, pause, the step interval. The screen forwards keys
// and its timer to it and paints what it says; tests drive it step by step.
class KacaModel {
public:
    static constexpr int kColumns = 31;
    static constexpr int kRows = 21;
    static constexpr int kCell = 20;
    static constexpr int kTowns = 28;
    static constexpr int kPlayingCells = (kColumns - 2) * (kRows - 2); // 551
    // More than this many towns used up opens the whole table again: 23 differ before a repeat.
    static constexpr int kTownsBeforeRepeat = 23;
    static constexpr int kBlinkTicks = 52;

    enum GameType { Lahka = 0, Tezka = 1, Navadna = 2 };
    // 0 right (column + 1), 1 down (row + 1), 2 left (column − 1), 3 up (row − 1).
    enum Direction { Right = 0, Down = 1, Left = 2, Up = 3 };
    // The direction of a step from `from` to the neighbouring cell `to`.
    static Direction towards(QPoint from, QPoint to);
    // How a game ended (the codes of KonecIgre, and the ordinary game's full board).
    enum class Ending { None = -1, Wall = 0, Wagon = 1, Destination = 2, BoardFull = 3 };

    // What one step did, for the painter and the screen.
    struct Step {
        bool moved = false;     // a step was made at all
        bool grew = false;      // a frog was eaten and the train took the vacated cell
        bool wrongLetter = false; // the hard type met a frog with a letter not due yet
        Ending ending = Ending::None;
    };

    explicit KacaModel(RandomSource &random);

    // The town table in its order (NaloziMesta), every town available.
    static QList<Town> NaloziMesta();
    const QList<Town> &towns() const { return m_towns; }
    // The card's hidden chooser looks a town up by its display name.
    int townIndexByName(const QString &display) const;
    const Town &currentTown() const { return m_current; }

    // Draws the next destination: once more than 22 towns are used up the whole table opens
    // again; then random towns are drawn until an available one comes up.
    void ZrebajMesto();

    // A new game of `type`. Running, paused and waiting are left as they are, so a new game
    // started while the train runs moves off at once.
    void Inicializacija(GameType type);
    // Places the frog(s) of the next letter; false when the name is complete (types 0 and 1).
    bool NastaviZabo();
    // Hard type: one frog per letter of the name (spaces too), all placed at once.
    void NastaviZabe();
    // The name with "\clRed\cl" before letter n and "\clGreen\cl" after it (1-based n).
    static QString FormatirajLabelo(const QString &name, int n);

    // One step of the train, when it runs and is not paused.
    Step step();

    // Keys. An arrow starts a set-up game and turns the train unless it is the exact opposite
    // of the stored direction; after an end it does nothing until a new game is set up.
    void arrow(Direction d);
    // Space: a new game when none runs, else pause or resume.
    void space();
    void PavzirajIgro();
    void OdpavzirajIgro();

    // Step interval: one of 400, 300, 200, 100, 10 ms; faster and slower go one level.
    static constexpr int kIntervals[5] = {400, 300, 200, 100, 10};
    int interval() const { return m_interval; }
    void faster();
    void slower();
    // The dial picture of the interval: 0 for 400 ms … 4 for 10 ms.
    int dialPicture() const;

    // Marker blink: one tick of tmrMesto; returns the wavelength in nm to colour the marker.
    double blinkTick();
    int blinkCounter() const { return m_blink; }

    // State.
    GameType type() const { return m_type; }
    const QList<QPoint> &train() const { return m_train; }
    Direction direction() const { return m_direction; }
    const QList<Frog> &frogs() const { return m_frogs; }
    bool running() const { return m_running; }
    bool paused() const { return m_paused; }
    bool ready() const { return m_ready; }
    QPoint vacated() const { return m_vacated; }
    QString collected() const { return m_collected; }
    int letterIndex() const { return m_letterIndex; }
    bool redrawFrogs() const { return m_redrawFrogs; }
    bool wrongPending() const { return m_wrongPending; }
    QPoint wrongCell() const { return m_wrongCell; }
    int rightCount() const { return m_right; }
    int wrongCount() const { return m_wrong; }
    qint64 steps() const { return m_steps; }
    Ending ending() const { return m_ending; }
    // The screen's texts: lblNaslov, lblMesto (markup), lblResenoMesto.
    QString title() const { return m_title; }
    QString nameMarkup() const { return m_nameMarkup; }
    bool markerShown() const { return m_markerShown; }
    // The letter a wagon at train position i (1 … length − 2) carries; empty in the ordinary
    // game.
    QString wagonLetter(int i) const;
    // The letter a frog shows: the due letter in the easy type, its own in the hard type.
    QString frogLabel(const Frog &f) const;
    // k of the last wagon's picture 8 + k: 0 right of the wagon in front, 1 above, 2 left,
    // 3 below.
    int lastWagonPicture() const;

    static bool isWall(QPoint cell);
    bool onTrain(QPoint cell, int from = 0) const;

    // For tests and the benchmark: lay the train out (index 0 the locomotive) and the frogs,
    // and set the running state directly.
    void setTrain(const QList<QPoint> &cells, Direction d);
    void setFrogs(const QList<Frog> &frogs) { m_frogs = frogs; }
    void setRunning(bool running) { m_running = running; }
    void setInterval(int ms) { m_interval = ms; }
    void setCurrentTown(int index);

    static QString titleText() { return QStringLiteral("Kam potujemo?"); }
    static QString ordinaryTitleText() { return QStringLiteral("Vlaku priklopi čimveč vagonov!"); }
    static QString wallText() { return QStringLiteral("Zaletel si se v zid!"); }
    static QString wagonText() { return QStringLiteral("Zaletel si se v vagon!"); }
    static QString destinationText() { return QStringLiteral("Bravo! Prispel si na cilj!"); }
    static QString boardFullText() { return QStringLiteral("Bravo! Vlak je zasedel ves zemljevid!"); }

private:
    // A random playing cell free of the train; (−1, −1) when the train fills the board.
    QPoint freeCell();
    void finish();
    void KonecIgre(Ending how);
    QChar nameLetter(int i) const; // 1-based, of the current town's display name

    RandomSource &m_random;
    QList<Town> m_towns;
    Town m_current;
    GameType m_type = Lahka;
    QList<QPoint> m_train;
    Direction m_direction = Right;
    QList<Frog> m_frogs;
    bool m_running = false;
    bool m_paused = false;
    bool m_ready = false;
    QPoint m_vacated{-1, -1};
    QString m_collected;
    int m_letterIndex = 0;
    bool m_redrawFrogs = false;
    bool m_wrongPending = false;
    QPoint m_wrongCell{-1, -1};
    QString m_wrongLetter;
    int m_right = 0;
    int m_wrong = 0;
    qint64 m_steps = 0;
    int m_interval = 200;
    int m_blink = 0;
    Ending m_ending = Ending::None;
    QString m_title;
    QString m_nameMarkup;
    bool m_markerShown = false;
};

} // namespace tipsovo
