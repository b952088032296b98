// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>

class QRadioButton;

namespace tipsovo {

class AppHost;
class FlatButton;
class HoverSounds;

// The easier/harder chooser of the guess-the-word activity: LAŽJA or TEŽJA, capital or small
// letters, or "Zapri" to leave the activity. Created once at start-up and shown modally by the
// activity each time it opens; the letter-case option keeps its state for the whole run.
class TfAaliB : public QDialog {
    Q_OBJECT
public:
    // What a showing ended with.
    enum class Choice {
        None,   // closed without a choice (Escape)
        Easier, // LAŽJA, difficulty "A"
        Harder, // TEŽJA, difficulty "B"
        Close,  // "Zapri": the activity closes as well
    };
    Q_ENUM(Choice)

    // Hover sounds go through `host`'s media service (the main menu's when not given; none
    // when there is no host at all). The first chooser made becomes instance().
    explicit TfAaliB(QWidget *parent = nullptr, AppHost *host = nullptr);
    ~TfAaliB() override;

    // The one chooser of the run (created at start-up), or nullptr.
    static TfAaliB *instance();

    // Shows the chooser modally and returns what it ended with.
    Choice ask();
    Choice choice() const { return m_choice; }
    // "A" for LAŽJA, "B" for TEŽJA, empty otherwise.
    static QString difficultyCode(Choice c);

    // The "VELIKE ČRKE" option (RadioButton1).
    bool capitals() const;
    void setCapitals(bool on);

    HoverSounds *hover() const { return m_hover; }

protected:
    void showEvent(QShowEvent *e) override;

private:
    void choose(Choice c);
    FlatButton *bigButton(const char *name, const QString &caption, const QString &picture,
                          const QString &hint, int left);

    QRadioButton *m_capitals = nullptr; // RadioButton1
    QRadioButton *m_small = nullptr;    // RadioButton2
    HoverSounds *m_hover = nullptr;
    Choice m_choice = Choice::None;
};

} // namespace tipsovo
