// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/sentences/tfvstavibesedo.h"

#include <QDialog>
#include <QPointer>

namespace tipsovo {

class AppHost;
class FlatButton;
class HoverSounds;

// The theme menu of the insert-the-word activity: created once at start-up and shown modally
// from the main menu each time, and again by the activity's KONEC. A theme button opens the
// activity with that theme (or restarts the open one with it); "Zapri" closes the activity, if
// one is open, and the menu. A navy frame edges the white window.
class TfMeniVstaviBesedo : public QDialog {
    Q_OBJECT
public:
    explicit TfMeniVstaviBesedo(AppHost &host, QWidget *parent = nullptr);
    ~TfMeniVstaviBesedo() override;

    // The activity opened from this menu and still open, if any.
    TfVstaviBesedo *activity() const { return m_activity; }
    HoverSounds &hover() { return *m_hover; }
    // BitBtn1 farm, BitBtn2 park, BitBtn3 street, BitBtn5 seaside (numbers 1 to 4); BitBtn4
    // "Zapri" is number 5 here.
    FlatButton *button(int number) const;

public slots:
    // A theme button, numbered 1 to 4: the theme is the number − 1.
    void BitBtn1Click(int number);
    // "Zapri".
    void BitBtn4Click();

protected:
    void showEvent(QShowEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void loadPictures();

    AppHost &m_host;
    HoverSounds *m_hover = nullptr;
    FlatButton *m_buttons[5] = {};
    QPointer<TfVstaviBesedo> m_activity;
    bool m_picturesLoaded = false;
};

} // namespace tipsovo
