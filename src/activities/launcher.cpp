// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/launcher.h"

#include "activities/drawing/tfgrafomotorika.h"
#include "activities/letters/tfkjejecrka.h"
#include "activities/letters/tfmenibezlcr.h"
#include "activities/letters/tfprvacrka.h"
#include "activities/letters/tfsestavizloge.h"
#include "activities/letters/tfvislice.h"
#include "activities/letters/tfzamenjajcrke.h"
#include "activities/sentences/tfoznacipovedi.h"
#include "activities/travel/tfkaca.h"

#include <QDialog>
#include <QGuiApplication>

namespace tipsovo {

namespace {

// Runs a modal window with the normal pointer showing; the hourglass of the menu click comes
// back afterwards until the click is done.
void runModal(QDialog &dialog)
{
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    dialog.exec();
    QGuiApplication::restoreOverrideCursor();
}

} // namespace

void launchActivity(int tag, AppHost &host, QWidget *menuWindow, QWidget *themeMenu)
{
    QWidget *screen = nullptr;
    switch (tag) {
    case 1:
        TfMeniBeZlCr::Izberi(host, menuWindow);
        return;
    case 2:
        screen = new TfPrvaCrka(host);
        break;
    case 3:
        screen = new TfVislice(host);
        break;
    case 4:
        screen = new TfSestaviZloge(host);
        break;
    case 5:
        screen = new TfZamenjajCrke(host);
        break;
    case 6:
        screen = new TfKjeJeCrka(host);
        break;
    case 10:
        screen = new TfKaca(host);
        break;
    case 9:
        screen = new TfGrafomotorika(host);
        break;
    case 8:
        screen = new TfOznaciPovedi(host);
        break;
    case 7:
        if (auto *themes = qobject_cast<QDialog *>(themeMenu))
            runModal(*themes);
        return;
    default:
        return;
    }
    screen->show();
}

} // namespace tipsovo
