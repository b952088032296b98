// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"
#include "activities/common/lettercells.h"
#include "activities/common/randomsource.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class QFrame;
class QLabel;

namespace tipsovo {

// The resource name of a word: its picture and sound name, the word with Č, Š, Ž written as
// C, S, Z.
QString wordResourceName(const QString &word);

// The sound name of a row word of the words screen: its resource name, except for a word whose
// C/S/Z name is another word the program speaks (KOŠ would say the blackbird KOS): such a word
// keeps its letter, as sound names may.
QString rowWordSoundName(const QString &word);

// Where `part` occurs in `word`, counted from 1, left to right, each search going on after the
// previous find. Letters are compared exactly ("C" is not "Č"); an empty part occurs nowhere.
QList<int> partOccurrences(const QString &word, const QString &part);

// The exercise engine of the words, syllables and letters screens. Four task panels, each with
// a picture, the target word under it (the reference row) and three choice rows; every letter
// cell carries its number cellTag(task, row, place) and is found by it alone.
//
// Words: the target word stands in one of the three rows among its two companions; one click
// on its row solves the task. Syllables and letters: the target's marked part is red in the
// reference row; the child clicks every occurrence of it in the three row words.
class MatchingScreen : public ActivityScreen {
    Q_OBJECT
public:
    enum class Kind { Words, Syllables, Letters };

    static constexpr int kTasks = 4;
    static constexpr int kRows = 3;
    static constexpr int kCells = 12;
    static constexpr int kSetLength = 3;

    // One built-in group: its target (with its marked part and where it starts on the syllable
    // and letter screens) and its companions, the other words of the group.
    struct Group {
        QString target;
        QString part;     // syllables and letters
        int position = 0; // from 1
        QStringList companions;
    };

    struct Setup {
        Kind kind = Kind::Words;
        QString objectName;
        QString instruction;
        QString instructionHint;
        QString picturePack;
        QList<Group> groups;
    };

    struct WordRecord {
        QString text; // as shown, in capitals with Č, Š, Ž
        QString name; // picture and sound name; empty for words that never are a target
        QString part;
        int position = 0;
        bool used = false;
    };

    struct Task {
        WordRecord target;
        std::array<WordRecord, kRows> rows; // copies: found parts are blanked in them
        int targetRow = 0;                  // words screen, 1..3
        bool solved = false;                // words screen
        int group = -1;                     // which group the task came from
    };

    MatchingScreen(AppHost &host, const Setup &setup, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    RandomSource &random() { return m_random; }
    const QList<WordRecord> &words() const { return m_words; }
    int groupSize() const { return m_groupSize; }
    int groupCount() const;
    const Task &task(int t) const { return m_tasks.at(t - 1); } // 1..4
    const LetterCells &cells() const { return m_cells; }
    LetterCell *cell(int task, int row, int place) const { return m_cells.cell(task, row, place); }
    QFrame *panel(int t) const { return m_panels[t - 1]; }   // Panel1, Panel3, Panel5, Panel7
    QLabel *picture(int t) const { return m_pictures[t - 1]; } // Image1 … Image4
    QString picturePack() const { return m_picturePack; }
    // Whether the exercise on screen has been solved (counted once).
    bool exerciseDone() const { return m_exerciseDone; }

public slots:
    void bNovaIgraClick();
    void Pomoc();
    // Colours places first..last of a task's row red (flag 'R') or black (any other flag).
    // Red also disables the task's panel on the words screen and takes the hand from the cells
    // on the other two.
    void Obarvaj(int task, int row, int first, int last, QChar flag);
    // The remaining-parts scan of the syllable and letter screens: every task whose rows no
    // longer hold the part is disabled. With `mark` the scan stops at the first row that still
    // holds it and marks its leftmost occurrence as found (no sound, no count). Returns whether
    // it marked one (with `mark`) or whether any occurrence is left (without).
    bool NajdiPozicije(bool mark);
    // NATISNI: the picture-card worksheet of the exercise on screen, in its preview.
    void Natisni();

protected:
    void newExercise() override { bNovaIgraClick(); }
    void clearUsed() override;
    void help() override { Pomoc(); }
    void print() override { Natisni(); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void fillRecords(const QList<Group> &groups);
    int drawGroup();
    void buildTask(int t);
    void fillRow(int t, int row, const WordRecord &word, int firstCell, const QString &hint);
    void choiceClicked(LetterCell *cell);
    void choiceRightPressed(LetterCell *cell);
    void checkWords(int t, int row, LetterCell *cell);
    void checkParts(int t, int row, int place);
    void markFound(int t, int row, int start);
    void afterParts(bool byHelp);
    void solveExercise(bool praise);
    bool allPanelsDisabled() const;

    Kind m_kind;
    QString m_picturePack;
    RandomSource m_random;
    QList<WordRecord> m_words;
    int m_groupSize = 3;
    std::array<Task, kTasks> m_tasks;
    QFrame *m_panels[kTasks] = {};
    QLabel *m_pictures[kTasks] = {};
    LetterCells m_cells;
    bool m_exerciseDone = false;
};

} // namespace tipsovo
