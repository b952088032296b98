// SPDX-License-Identifier: GPL-3.0-or-later
// tipsovo-bench-kjejecrka [ROUNDS]: times a new word of the where-is-the-letter screen (the
// spin of the seven other words included) and the reveal of a found word without its pauses,
// on a shown screen with the default packs of this program's folder. Prints the median and the
// slowest of each in milliseconds. Sounds are recorded, not played; the clock does not sleep.
#include "activities/common/lettercells.h"
#include "activities/letters/tfkjejecrka.h"
#include "support/testhost.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>

using namespace tipsovo;

namespace {

struct Times {
    QList<double> ms;
    void add(const QElapsedTimer &t) { ms.append(t.nsecsElapsed() / 1e6); }
    void print(const char *what)
    {
        std::sort(ms.begin(), ms.end());
        std::printf("%s median %.2f max %.2f\n", what, ms.at(ms.size() / 2), ms.last());
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 200;
    test::TestHost host;
    const QDir from(QCoreApplication::applicationDirPath());
    for (const char *pack : {"Dat.ipo", "KjeJeCrka.ipo", "snd.ipo"}) {
        if (!QFile::copy(from.filePath(QString::fromLatin1(pack)),
                         QDir(host.packDir()).filePath(QString::fromLatin1(pack)))) {
            std::fprintf(stderr, "no %s beside the program (build the target 'content')\n", pack);
            return 1;
        }
    }
    TfKjeJeCrka s(host);
    s.show();
    QCoreApplication::processEvents();
    Times word, reveal;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        s.Ponovi();
        word.add(t);
        QCoreApplication::processEvents();
        s.Label1Click(s.slot(s.letterPosition()));
        t.start();
        s.LabelXClick();
        reveal.add(t);
        QCoreApplication::processEvents();
    }
    word.print("new-word");
    reveal.print("reveal-work");
    return 0;
}
