// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"
#include "activities/common/randomsource.h"
#include "print/worksheets.h"

#include <QDialog>
#include <QPointer>
#include <array>

class QLabel;

namespace tipsovo {

// One sentence of the insert-the-word activity: the sentence with its gap (a run of underscores
// as long as the right word has letters), its spoken reading with the right word in place, and
// the four words offered, the right one first.
struct StavekIzbire {
    QString Besedilo;
    QString ZvokStavka;
    std::array<QString, 4> Izbire;
    bool Uporabljen = false;
};

// Insert the missing word: a sentence with a gap above a scene picture, and four words beside
// it; the child picks the word that belongs in the gap. Ten sentences of one theme (farm, park,
// street, seaside) make a set. The theme menu chooses the theme and is shown again by KONEC.
class TfVstaviBesedo : public ActivityScreen {
    Q_OBJECT
public:
    static constexpr int kSentences = 10;
    static constexpr int kThemes = 4;
    static constexpr int kNoTheme = 4; // loads nothing

    explicit TfVstaviBesedo(AppHost &host, QWidget *parent = nullptr);

    // The built-in sentences of a theme, in table order (all empty for no theme).
    static const std::array<StavekIzbire, kSentences> &vgrajeniStavki(int tema);
    // The name of a theme's scene in the pack "VstaviBesedo" ("kmetija", "park", "ulica",
    // "obala"); empty for no theme.
    static QString slikaTeme(int tema);
    // The sentence with its gap filled: each underscore from the left takes the next letter of
    // `word` until the word's letters are used up.
    static QString zapolniVrzel(const QString &besedilo, const QString &word);

    int Tema() const { return m_tema; }
    void setTema(int tema);
    // The theme's ten sentences as loaded, with the words in table order (what a worksheet of
    // the theme prints).
    const std::array<StavekIzbire, kSentences> &stavki() const { return m_stavki; }
    // The sentence on screen, its words in their shuffled order.
    const StavekIzbire &trenutni() const { return m_trenutni; }
    QString pravilna() const { return m_pravilna; }
    bool odgovorjeno() const { return m_odgovorjeno; }

    // What the worksheet of the theme prints: its scene loaded from the pack again and its ten
    // sentences as loaded, each with its words in table order (the right one first).
    InsertWordSheet worksheet();

    // The theme menu KONEC shows over the screen; without one KONEC closes the screen.
    void setThemeMenu(QDialog *menu) { m_themeMenu = menu; }

    RandomSource &random() { return m_random; }
    QLabel *sentenceLabel() const { return m_stavek; }                // eStavek
    QLabel *choiceLabel(int k) const { return m_besede[k - 1]; }     // eBeseda1 … eBeseda4
    QLabel *scene() const { return m_slika; }                        // Image1

public slots:
    void eBesedaClick(QLabel *label);
    void bPomocClick();
    void eStavekClick();
    void Button1Click();
    // NATISNI: the worksheet of the theme, under the hourglass while its preview is open;
    // nothing without a theme.
    void SpeedButton3Click();

protected:
    void newExercise() override;
    void clearUsed() override;
    void help() override { bPomocClick(); }
    void print() override { SpeedButton3Click(); }
    void konec() override { Button1Click(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void NaloziStavke();
    void naloziSliko();
    void setStruck(QLabel *label, bool struck);

    RandomSource m_random;
    int m_tema = kNoTheme;
    std::array<StavekIzbire, kSentences> m_stavki;
    StavekIzbire m_trenutni;
    QString m_pravilna;
    bool m_odgovorjeno = false;
    QLabel *m_stavek = nullptr;
    QLabel *m_besede[4] = {};
    QLabel *m_slika = nullptr;
    QPointer<QDialog> m_themeMenu;
};

} // namespace tipsovo
