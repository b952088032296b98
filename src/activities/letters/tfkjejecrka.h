// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"
#include "activities/common/randomsource.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QStringList>

class QLabel;
class QTimer;

namespace tipsovo {

class LetterCell;

// Where is the letter: a picture with one blank slot for every letter of its (unwritten) word,
// and a letter. The child first clicks the slot where that letter stands in the word (a smiling
// face for the right one, a frowning face for a wrong one), then picks the written word among
// eight word labels; the word is then written into the slots letter by letter. Five words make
// a set. The word list is the text list "KJEJECRKA" of the data pack "Dat"; the pictures come
// from the screen's own picture pack "KjeJeCrka", which it opens itself for every word.
class TfKjeJeCrka : public ActivityScreen {
    Q_OBJECT
public:
    static constexpr int kRecords = 75;       // the word table's size
    static constexpr int kSlots = 10;         // Label1 … Label10, so words of at most ten letters
    static constexpr int kOtherWords = 7;     // Label11 … Label17
    static constexpr int kPlaces = 8;         // word places, LabelX included
    static constexpr int kWordsPerSet = 5;
    static constexpr int kRevealPauseMs = 50; // after each slot of the reveal
    static constexpr int kWordShownMs = 1000; // the word under the picture after a click
    // The spin of an other word shows at most this many words before it stops on its own, so
    // seven spins repaint a label a bounded number of times however far down the list they go.
    static constexpr int kSpinFrames = 16;

    struct WordRecord {
        QString word; // in capitals, as written on the labels
        QString name; // picture in "KjeJeCrka" and spoken word in "snd"
        bool target = false; // has been the word to find since the last PONOVI
        bool taken = false;  // one of the seven other words of the word on screen
    };

    // What a worksheet of the word on screen prints, as the screen shows it: the picture, the
    // letter to find, the word that belongs to the picture and the seven other words (Label11
    // to Label17 in order; empty where the list had too few words).
    struct Sheet {
        QImage picture;
        QString letter;
        QString word;
        QStringList otherWords;
    };

    explicit TfKjeJeCrka(AppHost &host, QWidget *parent = nullptr);
    ~TfKjeJeCrka() override;

    RandomSource &random() { return m_random; }
    const QList<WordRecord> &records() const { return m_records; }
    int targetRecord() const { return m_target; } // -1 while there is no word on screen
    QString word() const { return m_word; }
    int letterPosition() const { return m_position; } // 1-based, 0 without a word
    QString letter() const;
    bool letterFound() const { return m_letterFound; }
    // The word can still be chosen (LabelX has the hand): the word on screen is not solved.
    bool wordOpen() const;

    LetterCell *slot(int k) const { return m_slots[k - 1]; }         // Label1 … Label10
    QLabel *otherWord(int k) const { return m_otherWords[k - 1]; }   // Label11 … Label17
    QLabel *rightWord() const { return m_labelX; }                   // LabelX
    QLabel *pictureWord() const { return m_labelY; }                 // LabelY
    QLabel *picture() const { return m_image; }                      // Image1
    QLabel *letterLabel() const { return m_lblCrka; }                // lblCrka
    QTimer *wordTimer() const { return m_tmrBeseda; }                // tmrBeseda
    // The eight word places as laid out: Label11 … Label17, then LabelX.
    const QList<QPoint> &wordPlaces() const { return m_places; }

    Sheet worksheet() const;

    // The records one spin of an other word shows, ending on the drawn record `s`: records 0,
    // 1, … s, thinned out evenly to at most `frames`.
    static QList<int> spinSequence(int s, int frames = kSpinFrames);
    static QString smilingFace(); // ☺
    static QString frowningFace(); // ☹

public slots:
    void Znova();
    void Label1Click(tipsovo::LetterCell *slot);
    void LabelXClick(bool fromHelp = false);
    void Label11Click(QLabel *label);
    void Image1Click();
    // NATISNI: the worksheet of the word on screen, in its preview.
    void SpeedButton3Click();
    void Pomoc();
    void tmrBesedaTimer();

protected:
    void newExercise() override { Znova(); }
    void clearUsed() override;
    void help() override { Pomoc(); }
    void print() override { SpeedButton3Click(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildInstruction();
    void ShraniKoordinateLabel();
    void NaloziBazoIzResourca();
    bool usable(const WordRecord &r) const;
    int drawTarget();
    int drawOtherWord();
    void loadPicture(const QString &name);
    void spin(QLabel *label, int s);
    void placeWords(const QList<int> &places);
    void showNoWord();

    RandomSource m_random;
    QList<WordRecord> m_records;
    QList<QPoint> m_places;
    LetterCell *m_slots[kSlots] = {};
    QLabel *m_otherWords[kOtherWords] = {};
    QLabel *m_labelX = nullptr;
    QLabel *m_labelY = nullptr;
    QLabel *m_image = nullptr;
    QLabel *m_label18 = nullptr;
    QLabel *m_lblCrka = nullptr;
    QLabel *m_label19 = nullptr;
    QTimer *m_tmrBeseda = nullptr;
    QImage m_picture;
    int m_target = -1;
    QString m_word;
    int m_position = 0;
    bool m_letterFound = false;
    QObject *m_pressed = nullptr; // the label a left press began on
};

} // namespace tipsovo
