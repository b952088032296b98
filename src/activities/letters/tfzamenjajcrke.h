// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/letters/wordpanelsscreen.h"

#include <QString>
#include <array>

namespace tipsovo {

// Swap wrong letters: four pictures, each with its word misspelt in one or two letters under
// it and fifteen letters scattered beside it. The child clicks a wrong letter, which becomes a
// gap, then the right letter among the fifteen. Four words make an exercise; three exercises
// end the set with "Bravo!".
class TfZamenjajCrke : public WordPanelsScreen {
    Q_OBJECT
public:
    static constexpr int kWords = 20;
    static constexpr int kSetLength = 3;

    // One misspelt word of the built-in table. Places count letters from 1 (Č, Š, Ž are one).
    struct NapacnaBeseda {
        QString Napacna; // as shown
        QString Ime;     // the right word's picture in "sl5" and sound in "snd"
        QString Crka1;   // the right letter for place Mesto1
        int Mesto1 = 0;
        QString Crka2; // empty when only one letter is wrong
        int Mesto2 = 0;
        bool Uporabljena = false;
        // The word with both letters put right.
        QString corrected() const;
        // Every wrong letter replaced (in a slot's copy, where placed letters are cleared).
        bool done() const { return Crka1.isEmpty() && Crka2.isEmpty(); }
    };

    explicit TfZamenjajCrke(AppHost &host, QWidget *parent = nullptr);

    static QList<NapacnaBeseda> wordTable();
    static QString instruction();
    static QString CrkeAbecede(); // "ABCČDEFGHIJKLMNOPRSŠTUVZŽ"

    const QList<NapacnaBeseda> &words() const { return m_words; }
    // Slot j's copy of its word: Napacna is what the letter row shows ("_" at a found gap).
    const NapacnaBeseda &naloga(int j) const { return m_naloga[j - 1]; }
    const std::array<QString, kOffers> &ponudba(int j) const { return m_ponudba[j - 1]; }
    int resenih() const { return m_resenih; }
    bool koncano() const { return m_koncano; }

public slots:
    void bNovaIgraClick();
    void bPomocClick();
    bool VseReseno();

protected:
    void newExercise() override { bNovaIgraClick(); }
    void clearUsed() override;
    void dealSlot(int j) override;
    void help() override { bPomocClick(); }
    void letterClicked(int j, int p) override;
    void offerClicked(int j, int k) override;

private:
    void place(NapacnaBeseda &n, int which); // puts the right letter 1 or 2 into its place
    void refreshLetters(int j);

    QList<NapacnaBeseda> m_words;
    std::array<NapacnaBeseda, kSlots> m_naloga;
    std::array<std::array<QString, kOffers>, kSlots> m_ponudba;
    int m_resenih = 0;
    bool m_koncano = false;
};

} // namespace tipsovo
