// SPDX-License-Identifier: GPL-3.0-or-later
// tipsovo-bench-print [ROUNDS]: times a worksheet from NATISNI to its preview on screen, and
// from NATISNI to the PDF saved from that preview, for the picture-card worksheet (the words
// screen) and the town worksheet (Ljubljana's text and picture from the pack MESTA), with the
// default packs of this program's folder. Prints the median and the slowest in milliseconds.
#include "activities/common/activityscreen.h"
#include "activities/common/randomsource.h"
#include "activities/letters/tfbesede.h"
#include "activities/travel/kacamodel.h"
#include "activities/travel/tfmesto.h"
#include "media/mediaservice.h"
#include "print/reportpreview.h"
#include "print/worksheets.h"
#include "support/testhost.h"
#include "widgets/controls.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace tipsovo;

namespace {

struct Times {
    QList<double> ms;
    void print(const char *what)
    {
        std::sort(ms.begin(), ms.end());
        std::printf("%s median %.1f max %.1f\n", what, ms.at(ms.size() / 2), ms.last());
    }
};

// Runs `press` (the NATISNI of a screen) and measures until the preview has been shown and
// painted, then, when `save` is set, until its "Shrani kot PDF" has written the file.
double timeOnce(const std::function<void()> &press, const QString &pdf, bool save)
{
    QElapsedTimer t;
    double ms = -1;
    QTimer::singleShot(0, [&] {
        auto *p = qobject_cast<ReportPreview *>(QApplication::activeModalWidget());
        if (!p)
            return;
        p->repaint();
        if (save) {
            p->setFileAsker([&](QWidget *, const QString &) { return pdf; });
            p->setErrorShower([](QWidget *, const QString &text) {
                std::fprintf(stderr, "%s\n", qPrintable(text));
            });
            p->findChild<QPushButton *>(QStringLiteral("btnShraniPdf"))->click();
        }
        ms = t.nsecsElapsed() / 1e6;
        p->reject();
    });
    t.start();
    press();
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 20;
    test::TestHost host;
    const QDir from(QCoreApplication::applicationDirPath());
    for (const char *pack : {"sl1A.ipo", "MESTA.ipo", "snd.ipo"}) {
        if (!QFile::copy(from.filePath(QString::fromLatin1(pack)),
                         QDir(host.packDir()).filePath(QString::fromLatin1(pack)))) {
            std::fprintf(stderr, "no %s beside the program (build the target 'content')\n", pack);
            return 1;
        }
    }
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("list.pdf"));

    TfBesede words(host);
    words.show();
    QCoreApplication::processEvents();
    auto wordsNatisni = [&] { words.commandButton(ActivityScreen::Command::Natisni)->click(); };

    // The town card's NATISNI (Ljubljana): its text and picture from MESTA, then the preview.
    RandomSource random(1);
    KacaModel model(random);
    TfMesto card(host, model);
    card.showTown(model.townIndexByName(QStringLiteral("Ljubljana")));
    card.show();
    QCoreApplication::processEvents();
    auto *cardNatisni = card.findChild<FlatButton *>(QStringLiteral("SpeedButton1"));
    auto townNatisni = [&] { cardNatisni->click(); };

    Times wordsShown, wordsSaved, townShown, townSaved;
    for (int i = 0; i < rounds; ++i) {
        wordsShown.ms << timeOnce(wordsNatisni, pdf, false);
        wordsSaved.ms << timeOnce(wordsNatisni, pdf, true);
        townShown.ms << timeOnce(townNatisni, pdf, false);
        townSaved.ms << timeOnce(townNatisni, pdf, true);
        if (!QFile::exists(pdf)) {
            std::fprintf(stderr, "no PDF was written\n");
            return 1;
        }
    }
    wordsShown.print("picture-card-preview");
    wordsSaved.print("picture-card-pdf");
    townShown.print("town-preview");
    townSaved.print("town-pdf");
    return 0;
}
