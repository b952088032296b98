// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"
#include "activities/common/lettercells.h"
#include "activities/common/randomsource.h"
#include "print/worksheets.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <array>

class QFrame;
class QLabel;

namespace tipsovo {

// Four word panels on a tiled wallpaper, each with a picture, a row of twelve letter cells
// under it and fifteen offer cells scattered beside it: the frame of the compose-syllables and
// the swap-letters screens. Letter cell k of slot j is numbered j·1000 + k, offer place k
// j·1000 + 100 + k; cells are found by that number alone. A click on a picture speaks its
// Hint (the word's name); a word whose panel is disabled is done and reacts to nothing.
class WordPanelsScreen : public ActivityScreen {
    Q_OBJECT
public:
    static constexpr int kSlots = 4;
    static constexpr int kLetters = 12;
    static constexpr int kOffers = 15;

    struct Layout {
        QString picturePack;  // "sl4", "sl5"
        QString wallpaper;    // the program picture tiled behind the panels
        QSize panelSize;      // each word panel
        QRect innerPanel;     // the white panel holding the picture and the letter row
        QRect picture;        // inside the inner panel
        int offerPixelSize = 24;
        bool lettersClickable = false;
        PictureCardSheet::Kind sheetKind = PictureCardSheet::Kind::ComposeSyllables;
        // Where offer place k of slot j lies in its word panel (left, top).
        std::array<std::array<QPoint, kOffers>, kSlots> offerPlaces{};
    };

    WordPanelsScreen(AppHost &host, const ActivityScreen::Setup &setup, const Layout &layout,
                     QWidget *parent = nullptr);

    RandomSource &random() { return m_random; }
    QString picturePack() const { return m_picturePack; }

    QFrame *panel(int j) const { return m_panels[j - 1]; }     // Panel1, Panel3, Panel5, Panel7
    QLabel *picture(int j) const { return m_pictures[j - 1]; } // Image1 … Image4
    LetterCell *letterCell(int j, int k) const { return m_cells.cell(cellTag(j, 0, k)); }
    LetterCell *offerCell(int j, int k) const { return m_cells.cell(cellTag(j, 1, k)); }
    const LetterCells &cells() const { return m_cells; }

    // What a worksheet of the exercise on screen is made of: the four pictures as shown, and
    // every numbered cell in the order the screen created them (letter rows and offers; each
    // cell's text, colour, font and place in its panel are read from the cell itself).
    struct Sheet {
        QString caption; // the instruction line as shown
        std::array<QImage, kSlots> pictures;
        QList<const LetterCell *> cells;
    };
    Sheet sheet() const;

    // NATISNI: the picture-card worksheet of the exercise on screen, in its modal preview. The
    // screen is left exactly as it was; with no word on screen nothing is printed.
    void Natisni();

    // Letter `place` (from 1) of a word as a one-letter string; empty past the end.
    static QString letterAt(const QString &word, int place);

    // Two offers of a card touch when the letters they show come closer than a space of their
    // font side by side (so "ŽNIK" and "PA" never read as one word) or kOfferGapY one above the
    // other. What counts is the ink of the letters (carons included), not the cells' boxes,
    // which hold blank above and below the capitals: the scattered places stack offers closer
    // than a box's height, and that reads well.
    static constexpr int kOfferGapX = 14;
    static constexpr int kOfferGapY = 4;
    // An offer as placed: its cell's box, and the ink of its letters (same coordinates).
    struct OfferBox {
        QRect box;
        QRect ink;
    };
    static OfferBox offerBox(const LetterCell *cell); // in its panel's coordinates
    // Whether the letters of ink b keep clear of the letters of ink a.
    static bool offersClear(const QRect &a, const QRect &b);
    // For each offer in order, the least shift that keeps its box inside `bounds` and its ink
    // clear of every offer before it (as already shifted): none for an offer that is clear and
    // inside, none either for one that fits nowhere.
    static QList<QPoint> keepOffersApart(const QList<OfferBox> &offers, const QRect &bounds);
    // Where the offers of slot j may lie: the word panel right of its inner panel.
    QRect offerBounds(int j) const;
    // The own place of offer place k of slot j (where it lies unless it has to keep clear).
    QPoint offerPlace(int j, int k) const { return m_offerPlaces[j - 1][k - 1]; }

    // What both screens set up alike: their command names, a set started at activation.
    static ActivityScreen::Setup panelsSetup(const QString &name, const QString &instruction,
                                             const QString &hint, int setLength);

protected:
    void print() override { Natisni(); }

    // A click on letter cell k (1..12) or offer place k (1..15) of slot j (1..4) whose panel
    // is still enabled.
    virtual void letterClicked(int j, int k) { Q_UNUSED(j) Q_UNUSED(k) }
    virtual void offerClicked(int j, int k) { Q_UNUSED(j) Q_UNUSED(k) }

    // New exercise: NAPREJ hidden, the panels cleared, then dealSlot for slots 1 … 4.
    void dealExercise();
    virtual void dealSlot(int j) { Q_UNUSED(j) }

    // A word of `words` not yet given in this set, drawn uniformly (what drawing again until a
    // free one comes up gives), marked given and copied to `out`; false when none is free.
    template<typename Word> bool takeFreeWord(QList<Word> &words, Word &out)
    {
        QList<bool> used;
        for (const Word &w : words)
            used.append(w.Uporabljena);
        const int r = drawFree(used);
        if (r < 0)
            return false;
        words[r].Uporabljena = true;
        out = words.at(r);
        return true;
    }
    template<typename Word> static void clearUsedFlags(QList<Word> &words)
    {
        for (Word &w : words)
            w.Uporabljena = false;
    }

    // Pictures and their Hints emptied, panels enabled, every numbered cell
    // emptied, shown, black and without strike-out.
    void clearPanels();
    // Loads picture `name` from the screen's pack into picture j and makes it its Hint; an
    // empty name leaves the picture empty.
    void showPicture(int j, const QString &name);
    // The letter row of slot j shows `text`, one character a cell, in `colour`; on a screen
    // whose letters are clicked, every cell with a character shows the hand.
    void showLetters(int j, const QString &text, const QColor &colour);
    // Offer place k of slot j: its caption, sized to it; hidden when empty, if `hideEmpty`.
    void setOffer(int j, int k, const QString &text, bool hideEmpty);
    // The shown offers of slot j back at their own places, then each one that would touch an
    // offer before it (or stick out of its panel) moved clear by the least distance.
    void arrangeOffers(int j);
    static void setStrikeOut(LetterCell *cell, bool on);
    // A uniformly drawn index whose used flag is clear; -1 when none is free.
    int drawFree(const QList<bool> &used);
    // The word is done: letters red, panel disabled, no hand over any of its cells.
    void finishSlot(int j);

private:
    void buildPanels(const Layout &layout);

    QString m_picturePack;
    bool m_lettersClickable = false;
    PictureCardSheet::Kind m_sheetKind;
    RandomSource m_random;
    std::array<std::array<QPoint, kOffers>, kSlots> m_offerPlaces{};
    QRect m_innerPanel;
    QFrame *m_panels[kSlots] = {};
    QLabel *m_pictures[kSlots] = {};
    LetterCells m_cells;
};

} // namespace tipsovo
