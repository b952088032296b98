// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"
#include "activities/common/randomsource.h"

#include <QList>
#include <QPoint>

class QLabel;

namespace tipsovo {

class ShadowLabel;

// First letter: a picture, its first letter, and ten words around it; the child marks the five
// that begin with the letter. Five stages make an exercise, then the screen praises.
class TfPrvaCrka : public ActivityScreen {
    Q_OBJECT
public:
    static constexpr int kRecords = 125; // the word table's size
    static constexpr int kStages = 5;
    static constexpr int kHistoryLimit = 20;

    struct WordRecord {
        QString picture; // picture name in the pack "abeceda"
        QString word;    // as shown
        QString sound;   // sound name in "snd"
        bool used = false;
    };

    explicit TfPrvaCrka(AppHost &host, QWidget *parent = nullptr);

    RandomSource &random() { return m_random; }
    const QList<WordRecord> &records() const { return m_records; }
    QString letterHistory() const { return m_history; }
    QChar letter() const { return m_letter; }
    ShadowLabel *wordLabel(int k) const { return m_words[k - 1]; } // Label1 … Label10
    bool helpFlag() const { return m_helpFlag; }
    // Whether the stage on screen could be filled (a list too short for any stage leaves it
    // empty after saying so).
    bool stageOpen() const { return m_stageOpen; }

public slots:
    void Znova() { Ponovi(); }
    void Zmesaj();
    void Prav(QLabel *label);
    void Narobe(QLabel *label);
    void Pomoc();

protected:
    void newExercise() override;
    void help() override { Pomoc(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShraniKoordinateLabel();
    void NapolniBazoIzResourca();
    bool letterCanFillStage(QChar letter) const;
    int drawRecord(const std::function<bool(const WordRecord &)> &accept);
    void clearWordLabels();

    RandomSource m_random;
    QList<WordRecord> m_records;
    QList<QPoint> m_places; // word places 1..10
    ShadowLabel *m_words[10] = {};
    QLabel *m_image = nullptr;
    ShadowLabel *m_letterLabel = nullptr;
    QString m_history;
    QChar m_letter;
    bool m_helpFlag = false;
    bool m_stageOpen = false;
};

} // namespace tipsovo
