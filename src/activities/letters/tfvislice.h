// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"
#include "activities/common/randomsource.h"
#include "activities/letters/tfaalib.h"

#include <QList>
#include <QPointer>
#include <functional>
#include <memory>

class QLabel;

namespace tipsovo {

// Guess the word: a picture, one slot for every letter of its name, and the letters scattered
// as tiles at the right. The child picks a tile and clicks the slot where its letter belongs.
// In the easier variant ("A") the first and last letters stand in place already; in the harder
// one ("B") every letter must be placed and extra tiles with random letters fill the tile
// area. Three words make an exercise. Opening the screen asks the chooser TfAaliB for the
// variant and the letter case first.
class TfVislice : public ActivityScreen {
    Q_OBJECT
public:
    static constexpr int kSlots = 10;   // l1 … l10, and as many tiles d1 … d10
    static constexpr int kWords = 20;   // entries of the word table
    static constexpr int kSetLength = 3;

    struct WordEntry {
        QString picture; // picture in the pack "UganiBesedo" and the word's sound in "snd"
        QString display; // the word the child composes
        bool used = false;
    };

    // Tiles are filled in this order (tile numbers).
    static constexpr int kFillOrder[kSlots] = {8, 5, 10, 1, 2, 3, 7, 4, 9, 6};
    // The source of the extra tiles of the harder variant.
    static QString keyboardLetters(bool capitals);
    // What the title line says while no variant has been chosen.
    static QString noChoiceText();

    explicit TfVislice(AppHost &host, QWidget *parent = nullptr);
    ~TfVislice() override;

    // The chooser: the one of the run (TfAaliB::instance()) or, when there is none, one of
    // the screen's own.
    TfAaliB &chooser();
    // How the chooser is run; by default it is shown modally. Tests answer for the child.
    using ChooserRun = std::function<TfAaliB::Choice(TfAaliB &)>;
    void setChooserRun(ChooserRun run) { m_runChooser = std::move(run); }

    RandomSource &random() { return m_random; }
    const QList<WordEntry> &words() const { return m_words; }
    void setUsed(int entry, bool used) { m_words[entry - 1].used = used; } // entry 1 … 20

    QString difficulty() const { return m_difficulty; } // "A", "B" or empty
    bool capitals() const { return m_capitals; }
    QString word() const { return m_word; }             // in the chosen letter case
    QString pictureName() const { return m_picture; }
    int lettersToPlace() const { return m_toPlace; }
    int lettersPlaced() const { return m_placed; }
    bool wordOpen() const { return !m_word.isEmpty() && m_placed < m_toPlace; }
    QString selectedLetter() const { return m_selected; }
    QLabel *selectedTile() const { return m_selectedTile; }

    QLabel *slot(int i) const { return m_slots[i - 1]; } // l1 … l10
    QLabel *tile(int j) const { return m_tiles[j - 1]; } // d1 … d10
    QLabel *pickedLetter() const { return m_lIzbrana; }  // lIzbrana
    QLabel *picture() const { return m_iSlika; }         // iSlika

    // What the worksheet of the word prints besides the picture: the slots as the word began
    // (l1 … l10 joined) and the tiles (d1 … d10 joined).
    QString patternText() const { return m_patternText; }
    QString tileText() const { return m_tileText; }

    // Tile colours: red while picked, black otherwise.
    static QColor letterColour(const QLabel *l);

public slots:
    void NovaIgra();
    void d1Click(QLabel *tile);
    void l10Click(QLabel *slot);
    void Pomoc(); // POMOČ
    void CistiTipke();
    void BesedoNaSredino();
    void iSlikaClick();
    // PONOVI; before a variant has been chosen it shows the chooser again.
    void Ponovi() override;

protected:
    void newExercise() override { NovaIgra(); }
    void clearUsed() override { Resetiraj(); }
    void help() override { Pomoc(); }
    void print() override;
    void openingSet() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void askChooser();
    void Resetiraj();
    int drawWord();
    QChar PreveriLevo();
    void clearSelection();
    void setTileLetter(QLabel *tile, const QString &letter);
    void wordCompleted(bool byHelp);
    void updateCursors();

    RandomSource m_random;
    QList<WordEntry> m_words;
    TfAaliB *m_sharedChooser = nullptr;
    QPointer<TfAaliB> m_chooserOfRun;
    std::unique_ptr<TfAaliB> m_ownChooser;
    ChooserRun m_runChooser;

    QLabel *m_iSlika = nullptr;
    QLabel *m_lIzbrana = nullptr;
    QLabel *m_slots[kSlots] = {};
    QLabel *m_tiles[kSlots] = {};

    QString m_difficulty;
    bool m_capitals = true;
    QString m_word;
    QString m_picture;
    int m_toPlace = 0;
    int m_placed = 0;
    QString m_selected;
    QLabel *m_selectedTile = nullptr;
    QString m_patternText;
    QString m_tileText;
};

} // namespace tipsovo
