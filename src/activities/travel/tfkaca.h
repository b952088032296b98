// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"
#include "activities/common/randomsource.h"
#include "activities/travel/kacaboard.h"
#include "activities/travel/kacamodel.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

class QLabel;
class QFrame;

namespace tipsovo {

class FlatButton;
class TExtendedLabel;
class TOdometer;
class TfMesto;

// "Kam potujemo?": the child steers a train over the map of Slovenia with the arrow keys and
// collects the letters of a town's name (easy: one frog at a time; hard: all at once, in order;
// ordinary: no letters, the longest train). The rules live in KacaModel; this screen paces the
// steps, forwards the keys, paints the board and shows the counters, the speed dial, the
// odometer of steps and the blinking marker that opens the town card.
//
// Steps are paced by a precise one-shot timer aimed at the next step's due time, counted from
// the due time of the step before, so a 10 ms interval does not drift; between steps the
// program is idle.
class TfKaca : public ActivityScreen {
    Q_OBJECT
public:
    explicit TfKaca(AppHost &host, QWidget *parent = nullptr);
    ~TfKaca() override;

    KacaModel &model() { return m_model; }
    KacaBoard &board() { return m_board; }
    RandomSource &random() { return m_random; }

    // The pressed game-type button's type.
    KacaModel::GameType chosenType() const;
    QTimer &tmrPause() { return m_tmrPause; }
    QTimer &tmrMesto() { return m_tmrMesto; }
    QWidget *marker() const { return m_shpMesto; }
    TExtendedLabel *lblMesto() const { return m_lblMesto; }
    QLabel *lblResenoMesto() const { return m_lblResenoMesto; }
    TOdometer *odometer() const { return m_odometer; }
    QWidget *paintBox() const { return m_paintBox; }
    TfMesto *card() const;

    // The due time of the next step and when the last one ran (ms since the screen was made).
    double nextDueMs() const { return m_nextDue; }

signals:
    // After every step; lateMs: how long after its due time the step ran.
    void stepped(double lateMs);

public slots:
    void Inicializacija();
    // One step, when the train runs, is not paused and the wait is over.
    void GameLoop();
    void PavzirajIgro();
    void OdpavzirajIgro();
    void ApplicationEvents1Deactivate();
    void ApplicationEvents1Activate();
    void ApplicationEvents1Restore();
    void tmrMestoTimer();
    void shpMestoMouseDown();
    void Ponovi() override { Inicializacija(); }

protected:
    void openingSet() override { Inicializacija(); }
    void keyPressEvent(QKeyEvent *e) override;
    void changeEvent(QEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void buildSidePanel();
    void chooseType(KacaModel::GameType type);
    void Risi(bool grew, bool full);
    void afterEnd();
    void showTexts();
    void scheduleNext(bool now);
    void speedChanged();

    RandomSource m_random;
    KacaModel m_model{m_random};
    KacaBoard m_board;
    QElapsedTimer m_elapsed;
    double m_nextDue = 0;
    QTimer m_tmrPause;
    QTimer m_tmrMesto;

    QFrame *m_panel1 = nullptr;
    TExtendedLabel *m_lblMesto = nullptr;
    QLabel *m_lblResenoMesto = nullptr;
    QWidget *m_paintBox = nullptr;
    QWidget *m_shpMesto = nullptr;
    QFrame *m_panel2 = nullptr;
    FlatButton *m_typeButtons[3] = {};
    QWidget *m_pbHitrost = nullptr;
    TOdometer *m_odometer = nullptr;
    QPointer<TfMesto> m_card;
};

} // namespace tipsovo
