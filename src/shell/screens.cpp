// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/screens.h"

#include "activities/common/activityscreen.h"
#include "activities/common/controls.h"
#include "activities/letters/tfkjejecrka.h"
#include "activities/letters/tfmenibezlcr.h"
#include "activities/letters/tfprvacrka.h"
#include "activities/letters/tfsestavizloge.h"
#include "activities/letters/tfvislice.h"
#include "activities/letters/tfzamenjajcrke.h"
#include "activities/sentences/tfoznacipovedi.h"
#include "activities/travel/tfgrafomotorika.h"
#include "activities/travel/tfkaca.h"
#include "shell/tfglavno.h"
#include "shell/tfoprogramu.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHash>

namespace tipsovo {

namespace {

// An activity not built yet: an empty screen with its name that covers the menu and closes
// with KONEC.
QWidget *emptyActivity(TfGlavno &menu, const QString &name)
{
    ActivityScreen::Setup setup;
    setup.objectName = QStringLiteral("TfPrazno");
    setup.instruction = name;
    auto *screen = new ActivityScreen(menu, setup);
    for (auto c : {ActivityScreen::Command::Pomoc, ActivityScreen::Command::Natisni,
                   ActivityScreen::Command::Ponovi})
        screen->commandButton(c)->hide();
    return screen;
}

// Runs a modal window with the normal pointer showing; the hourglass of the menu click comes
// back afterwards until the click is done.
void runModal(QDialog &dialog)
{
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    dialog.exec();
    QGuiApplication::restoreOverrideCursor();
}

} // namespace

void launchScreen(int tag, TfGlavno &menu)
{
    // Activities still to come: their menu caption stands on an empty screen.
    static const QHash<int, QString> comingLater = {
    };
    QWidget *screen = nullptr;
    switch (tag) {
    case -1:
        screen = new TfOProgramu(menu.menuBounds());
        break;
    case 1:
        TfMeniBeZlCr::Izberi(menu, &menu);
        return;
    case 2:
        screen = new TfPrvaCrka(menu);
        break;
    case 3:
        screen = new TfVislice(menu);
        break;
    case 4:
        screen = new TfSestaviZloge(menu);
        break;
    case 5:
        screen = new TfZamenjajCrke(menu);
        break;
    case 6:
        screen = new TfKjeJeCrka(menu);
        break;
    case 10:
        screen = new TfKaca(menu);
        break;
    case 9:
        screen = new TfGrafomotorika(menu);
        break;
    case 8:
        screen = new TfOznaciPovedi(menu);
        break;
    case 7:
        if (auto *themes = qobject_cast<QDialog *>(menu.meniVstaviBesedo()))
            runModal(*themes);
        return;
    default:
        if (!comingLater.contains(tag))
            return;
        screen = emptyActivity(menu, comingLater.value(tag));
        break;
    }
    screen->show();
}

} // namespace tipsovo
