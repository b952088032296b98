// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/letters/wordpanelsscreen.h"

#include <QString>
#include <QStringList>
#include <array>

namespace tipsovo {

// Compose syllables: four pictures, under each twelve letter places, beside each fifteen
// scattered syllables (the word's own mixed with distractors). The child clicks the word's
// syllables in reading order and each right one moves into the letter row. Four words make
// an exercise; twelve composed words end the set with "Bravo!".
class TfSestaviZloge : public WordPanelsScreen {
    Q_OBJECT
public:
    static constexpr int kWords = 20;
    static constexpr int kParts = 10;      // syllable and distractor places of a word
    static constexpr int kSetWords = 12;   // words composed in a set
    static constexpr int kExerciseWords = 4;

    // One word of the built-in table.
    struct BesedaZlogi {
        QString Beseda; // in capitals with Č, Š, Ž
        QString Ime;    // picture in "sl4" and sound in "snd"
        std::array<QString, kParts> Zlogi; // in reading order; empty after the last
        std::array<QString, kParts> Odvec; // distractors; empty after the last
        bool Uporabljena = false;
    };

    // A word slot of the exercise on screen.
    struct Naloga {
        BesedaZlogi word;
        QString display;                    // twelve characters, "_" where nothing is yet
        std::array<QString, kParts> Manjka; // the syllables still missing
        std::array<QString, kOffers> Ponudba;
        bool complete() const;
        QString next() const; // the syllable expected next; empty when complete
    };

    explicit TfSestaviZloge(AppHost &host, QWidget *parent = nullptr);

    static QList<BesedaZlogi> wordTable();
    static QString instruction();
    const QList<BesedaZlogi> &words() const { return m_words; }
    const Naloga &naloga(int j) const { return m_naloga[j - 1]; }
    int sestavljenih() const { return m_sestavljenih; }
    bool koncano() const { return m_koncano; }

public slots:
    void bNovaIgraClick();
    void bPomocClick();
    bool JeKonec();

protected:
    void newExercise() override { bNovaIgraClick(); }
    void clearUsed() override;
    void dealSlot(int j) override;
    void help() override { bPomocClick(); }
    void offerClicked(int j, int k) override;

private:
    void writeSyllable(Naloga &n, const QString &syllable);
    void wordComposed(int j);

    QList<BesedaZlogi> m_words;
    std::array<Naloga, kSlots> m_naloga;
    int m_sestavljenih = 0;
    bool m_koncano = false;
};

} // namespace tipsovo
