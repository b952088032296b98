// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"
#include "activities/common/randomsource.h"

#include <array>

class QLabel;

namespace tipsovo {

// Mark correct sentences: four sentences that begin alike, one of which makes sense; the child
// clicks it. A right click reads a sentence aloud. Ten such sets of the twenty built in make an
// exercise.
class TfOznaciPovedi : public ActivityScreen {
    Q_OBJECT
public:
    static constexpr int kSets = 20;
    static constexpr int kPerExercise = 10;

    struct Poved {
        QString besedilo;
        QString zvok; // its reading in "snd"
    };
    // The right sentence first.
    using Skupina = std::array<Poved, 4>;
    static const std::array<Skupina, kSets> &vgrajeneSkupine();

    explicit TfOznaciPovedi(AppHost &host, QWidget *parent = nullptr);

    RandomSource &random() { return m_random; }
    QLabel *sentenceLabel(int k) const { return m_povedi[k - 1]; } // eBeseda1 … eBeseda4
    QLabel *markOf(int k) const { return m_marks[k - 1]; }         // Image2 … Image5
    // The set on screen, in its shown order, and its right sentence.
    const Skupina &shown() const { return m_shown; }
    QString pravilna() const { return m_pravilna; }
    bool solved() const { return m_resena; }
    // Which built-in sets (0-based) this exercise has used.
    const std::array<bool, kSets> &used() const { return m_used; }

public slots:
    void eBeseda1Click(QLabel *label);
    void Zvok(QLabel *label);
    void bPomocClick();
    // NATISNI: the fixed worksheet of twenty sets, whatever the screen shows.
    void Natisni();

protected:
    void newExercise() override;
    void clearUsed() override;
    void help() override { bPomocClick(); }
    void print() override { Natisni(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void markRight(QLabel *label);
    void setMark(int k, const QPixmap &mark);

    RandomSource m_random;
    std::array<bool, kSets> m_used{};
    Skupina m_shown;
    QString m_pravilna;
    bool m_resena = false;
    QLabel *m_povedi[4] = {};
    QLabel *m_marks[4] = {};
    QPixmap m_rightMark;
    QPixmap m_wrongMark;
};

} // namespace tipsovo
