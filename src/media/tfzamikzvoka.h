// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPoint>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace tipsovo {

// The hover-delay dialog, opened by a right press on the sound switch: a borderless strip of
// 150 x 54 with the delay on a track bar (1..1000 ms), "Potrdi" (OK, default) and "Prekliči"
// (cancel, also Escape). Label1 shows "Zamik zvoka [n]" centred over the track bar. Under the
// buttons, the strip's one other choice for the teacher: "Cel zaslon ob zagonu", the picture
// drawn as large as the screen allows from the next start on.
class TfZamikZvoka : public QDialog {
    Q_OBJECT
public:
    explicit TfZamikZvoka(QWidget *parent = nullptr);

    int value() const;         // TrackBar1's position
    void setValue(int delay);
    bool fitScreen() const;    // cbCelZaslon
    void setFitScreen(bool on);

    // Opens the dialog modally with its top-left corner at `globalPos` and TrackBar1 at `delay`;
    // on "Potrdi" stores the new position in `delay` and returns true. The full-screen choice
    // shows the stored one and is stored on "Potrdi" (it matters only at the next start).
    static bool edit(QWidget *parent, QPoint globalPos, int &delay);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    void showValue(int delay); // Label1's text, re-centred

    QLabel *m_label = nullptr;
    QSlider *m_trackBar = nullptr;
    QCheckBox *m_fitScreen = nullptr;
};

} // namespace tipsovo
