// SPDX-License-Identifier: GPL-3.0-or-later
// The travel game's rules, driven step by step without a window: crashes, growing, letters,
// the town draw, pause, new games during a run and the frog draw on a crowded board.
#include "activities/travel/kacamodel.h"

#include <QFile>
#include <QSet>
#include <QtTest>

using namespace tipsovo;

using Ending = KacaModel::Ending;

namespace {

// The playing cells in a snake from (1, 1) along row 1, back along row 2 and so on.
QList<QPoint> serpentine()
{
    QList<QPoint> path;
    for (int row = 1; row <= KacaModel::kRows - 2; ++row) {
        for (int i = 1; i <= KacaModel::kColumns - 2; ++i)
            path.append({row % 2 ? i : KacaModel::kColumns - 1 - i, row});
    }
    return path;
}

QPoint ahead(const KacaModel &m)
{
    const QPoint h = m.train().first();
    static const QPoint d[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    return h + d[m.direction()];
}

struct Game {
    RandomSource random{11};
    KacaModel m{random};

    // A new game of `type`; with `town`, new games are set up until the draw gives that town.
    explicit Game(KacaModel::GameType type, const QString &town = {})
    {
        m.Inicializacija(type);
        for (int i = 0; i < 1000 && !town.isEmpty() && m.currentTown().display != town; ++i)
            m.Inicializacija(type);
        if (!town.isEmpty())
            [&] { QCOMPARE(m.currentTown().display, town); }();
    }
    void run() { m.setRunning(true); }
    // Puts frog `i` right in front of the locomotive and steps onto it.
    KacaModel::Step eat(int i)
    {
        QList<Frog> frogs = m.frogs();
        frogs[i].cell = ahead(m);
        m.setFrogs(frogs);
        return m.step();
    }
};

} // namespace

class TestKacaModel : public QObject {
    Q_OBJECT

private slots:
    void townTable()
    {
        const QList<Town> towns = KacaModel::NaloziMesta();
        QCOMPARE(towns.size(), 28);
        QSet<QString> resources;
        for (const Town &t : towns) {
            QVERIFY(t.available);
            // Resource names carry no Slovenian letters and no spaces; places lie on the map.
            QVERIFY2(QRegularExpression(QStringLiteral("^[A-Za-z]+$")).match(t.resource).hasMatch(),
                     qPrintable(t.resource));
            QVERIFY(t.x > 0 && t.x < 620 && t.y > 0 && t.y < 420);
            resources.insert(t.resource.toUpper());
        }
        QCOMPARE(resources.size(), 28);
        QCOMPARE(towns[0].display, QStringLiteral("Ajdovščina"));
        QCOMPARE(towns[14].resource, QStringLiteral("Novomesto"));
        QCOMPARE(towns[17].x, 472);
        QCOMPARE(towns[17].y, 140);
    }

    // The map and the town cards are drawn from content/towns.tsv: it must hold the same table.
    void contentTownTableMatches()
    {
        QFile f(qEnvironmentVariable("TIPSOVO_SOURCE_DIR") + QStringLiteral("/content/towns.tsv"));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
        QList<Town> content;
        for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n')) {
            if (line.trimmed().isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList c = line.split(u'\t');
            QCOMPARE(c.size(), 4);
            content.append({c[0], true, c[1].toInt(), c[2].toInt(), c[3].trimmed()});
        }
        const QList<Town> program = KacaModel::NaloziMesta();
        QCOMPARE(content.size(), program.size());
        for (int i = 0; i < program.size(); ++i) {
            QCOMPARE(content[i].display, program[i].display);
            QCOMPARE(QPoint(content[i].x, content[i].y), QPoint(program[i].x, program[i].y));
            QCOMPARE(content[i].resource, program[i].resource);
        }
    }

    // 23 towns differ before one repeats; at the 24th draw the whole table is open again.
    void townDrawCycle()
    {
        for (quint32 seed = 1; seed <= 20; ++seed) {
            RandomSource random(seed);
            KacaModel m(random);
            QSet<QString> drawn;
            for (int i = 0; i < 23; ++i) {
                m.ZrebajMesto();
                QVERIFY2(!drawn.contains(m.currentTown().display), "a town came twice in 23");
                drawn.insert(m.currentTown().display);
            }
            int available = 0;
            for (const Town &t : m.towns())
                available += t.available;
            QCOMPARE(available, 5);
            m.ZrebajMesto();
            available = 0;
            for (const Town &t : m.towns())
                available += t.available;
            QCOMPARE(available, 27);
        }
    }

    void newGameSetUp()
    {
        Game g(KacaModel::Tezka);
        const KacaModel &m = g.m;
        QCOMPARE(m.train(), (QList<QPoint>{{15, 1}, {14, 1}}));
        QCOMPARE(m.direction(), KacaModel::Right);
        QVERIFY(m.ready());
        QVERIFY(!m.running());
        QCOMPARE(m.title(), KacaModel::titleText());
        QCOMPARE(m.letterIndex(), 1);
        const QString name = m.currentTown().display;
        QCOMPARE(m.frogs().size(), name.size());
        QString letters;
        for (const Frog &f : m.frogs()) {
            QVERIFY(!KacaModel::isWall(f.cell));
            QVERIFY(!m.onTrain(f.cell));
            letters += f.letter;
        }
        QCOMPARE(letters, name);
        QCOMPARE(m.nameMarkup(), KacaModel::FormatirajLabelo(name, 1));

        Game o(KacaModel::Navadna);
        QCOMPARE(o.m.title(), KacaModel::ordinaryTitleText());
        QCOMPARE(o.m.frogs().size(), 1);
        QVERIFY(o.m.frogs().first().letter.isEmpty());
        QVERIFY(o.m.nameMarkup().isEmpty());
    }

    void markup_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("markup");
        QTest::newRow("first") << "Ptuj" << 1 << "\\clRed\\clP\\clGreen\\cltuj";
        QTest::newRow("fourth of nine") << "Ljubljana" << 4 << "Lju\\clRed\\clb\\clGreen\\clljana";
        QTest::newRow("last") << "Ptuj" << 4 << "Ptu\\clRed\\clj\\clGreen\\cl";
        QTest::newRow("beyond") << "Ptuj" << 5 << "Ptuj\\clRed\\cl\\clGreen\\cl";
        QTest::newRow("a space") << "Nova Gorica" << 5 << "Nova\\clRed\\cl \\clGreen\\clGorica";
    }
    void markup()
    {
        QFETCH(QString, name);
        QFETCH(int, n);
        QFETCH(QString, markup);
        QCOMPARE(KacaModel::FormatirajLabelo(name, n), markup);
    }

    // Moving into column 0 or 30, or row 0 or 20, ends the game; the locomotive stands on
    // the wall cell.
    void crashIntoEachWall_data()
    {
        QTest::addColumn<QPoint>("head");
        QTest::addColumn<int>("direction");
        QTest::newRow("right") << QPoint(29, 10) << int(KacaModel::Right);
        QTest::newRow("down") << QPoint(10, 19) << int(KacaModel::Down);
        QTest::newRow("left") << QPoint(1, 10) << int(KacaModel::Left);
        QTest::newRow("up") << QPoint(10, 1) << int(KacaModel::Up);
    }
    void crashIntoEachWall()
    {
        QFETCH(QPoint, head);
        QFETCH(int, direction);
        const auto d = KacaModel::Direction(direction);
        Game g(KacaModel::Navadna);
        g.m.setFrogs({Frog{{5, 5}, {}}});
        static const QPoint back[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
        g.m.setTrain({head, head + back[d]}, d);
        g.run();
        const KacaModel::Step s = g.m.step();
        QCOMPARE(s.ending, Ending::Wall);
        QVERIFY(KacaModel::isWall(g.m.train().first()));
        QCOMPARE(g.m.title(), KacaModel::wallText());
        QCOMPARE(g.m.wrongCount(), 1);
        QVERIFY(!g.m.running());
        QVERIFY(!g.m.ready());
        // After the crash arrows do nothing until a new game is set up.
        g.m.arrow(KacaModel::Down);
        QVERIFY(!g.m.running());
        QCOMPARE(g.m.step().moved, false);
        g.m.space();
        QVERIFY(g.m.ready());
        g.m.arrow(KacaModel::Down);
        QVERIFY(g.m.running());
    }

    void crashIntoOwnWagon()
    {
        // Up and then left within one step turns a longer train onto its first wagon.
        Game g(KacaModel::Navadna);
        g.m.setFrogs({Frog{{5, 5}, {}}});
        g.m.setTrain({{10, 10}, {9, 10}, {8, 10}}, KacaModel::Right);
        g.run();
        g.m.arrow(KacaModel::Up);
        g.m.arrow(KacaModel::Left);
        QCOMPARE(g.m.direction(), KacaModel::Left);
        QCOMPARE(g.m.step().ending, Ending::Wagon);
        QCOMPARE(g.m.title(), KacaModel::wagonText());
        QCOMPARE(g.m.wrongCount(), 1);

        // A train of the locomotive and the last wagon only swaps the two cells.
        g.m.space();
        g.m.setTrain({{10, 10}, {9, 10}}, KacaModel::Right);
        g.run();
        g.m.arrow(KacaModel::Up);
        g.m.arrow(KacaModel::Left);
        QCOMPARE(g.m.step().ending, Ending::None);
        QCOMPARE(g.m.train(), (QList<QPoint>{{9, 10}, {10, 10}}));
        QVERIFY(g.m.running());
    }

    // The locomotive may take the cell the last wagon has just left.
    void enteringTheVacatedCell()
    {
        Game g(KacaModel::Navadna);
        g.m.setFrogs({Frog{{20, 15}, {}}});
        g.m.setTrain({{10, 10}, {10, 11}, {11, 11}, {11, 10}}, KacaModel::Right);
        g.run();
        const KacaModel::Step s = g.m.step();
        QCOMPARE(s.ending, Ending::None);
        QCOMPARE(g.m.train().first(), QPoint(11, 10));
        QCOMPARE(g.m.vacated(), QPoint(11, 10));
    }

    void growingByTheVacatedCell()
    {
        Game g(KacaModel::Navadna);
        g.m.setTrain({{10, 10}, {9, 10}, {9, 11}}, KacaModel::Right);
        g.run();
        const KacaModel::Step s = g.eat(0);
        QVERIFY(s.grew);
        QCOMPARE(g.m.train(), (QList<QPoint>{{11, 10}, {10, 10}, {9, 10}, {9, 11}}));
        QVERIFY(g.m.redrawFrogs());
        // A new frog lies on the board, not on the train.
        QVERIFY(g.m.frogs().first().onBoard());
        QVERIFY(!g.m.onTrain(g.m.frogs().first().cell));
        QCOMPARE(g.m.lastWagonPicture(), 3); // below the wagon in front
        // A step without a frog keeps the length and redraws no frogs.
        g.m.setFrogs({Frog{{25, 15}, {}}});
        QVERIFY(!g.m.step().grew);
        QCOMPARE(g.m.train().size(), 4);
        QVERIFY(!g.m.redrawFrogs());
        QCOMPARE(g.m.vacated(), QPoint(9, 11));
    }

    void lastWagonPicture_data()
    {
        QTest::addColumn<QPoint>("last");
        QTest::addColumn<int>("k");
        QTest::newRow("right of it") << QPoint(11, 10) << 0;
        QTest::newRow("above it") << QPoint(10, 9) << 1;
        QTest::newRow("left of it") << QPoint(9, 10) << 2;
        QTest::newRow("below it") << QPoint(10, 11) << 3;
    }
    void lastWagonPicture()
    {
        QFETCH(QPoint, last);
        QFETCH(int, k);
        Game g(KacaModel::Navadna);
        g.m.setTrain({{10, 8}, {10, 10}, last}, KacaModel::Up);
        QCOMPARE(g.m.lastWagonPicture(), k);
    }

    // Easy type: one frog at a time with the next letter, the space of "Nova Gorica" too;
    // the whole name ends the game at the destination.
    void easyLettersInNameOrder()
    {
        Game g(KacaModel::Lahka, QStringLiteral("Nova Gorica"));
        g.m.setTrain({{3, 10}, {2, 10}}, KacaModel::Right);
        g.run();
        QCOMPARE(g.m.frogs().size(), 1);
        QString seen;
        for (int i = 0; i < 11; ++i) {
            seen += g.m.frogs().first().letter;
            QCOMPARE(g.m.frogLabel(g.m.frogs().first()), g.m.frogs().first().letter);
            const KacaModel::Step s = g.eat(0);
            QVERIFY(s.grew);
            QCOMPARE(s.ending, i < 10 ? Ending::None : Ending::Destination);
        }
        QCOMPARE(seen, QStringLiteral("Nova Gorica"));
        QCOMPARE(g.m.collected(), QStringLiteral("Nova Gorica"));
        QCOMPARE(g.m.wagonLetter(5), QStringLiteral(" "));
        QCOMPARE(g.m.wagonLetter(1), QStringLiteral("N"));
        QCOMPARE(g.m.train().size(), 13);
        QCOMPARE(g.m.title(), KacaModel::destinationText());
        QCOMPARE(g.m.rightCount(), 1);
        QCOMPARE(g.m.wrongCount(), 0);
        QVERIFY(g.m.markerShown());
        QVERIFY(!g.m.running());
        QVERIFY(!g.m.ready());
    }

    // Hard type: a frog whose letter is not due counts once per meeting, does not lengthen the
    // train and stays; it shows again once the last wagon has left its cell.
    void hardWrongLetter()
    {
        Game g(KacaModel::Tezka, QStringLiteral("Ptuj"));
        g.m.setTrain({{5, 10}, {4, 10}, {3, 10}}, KacaModel::Right);
        QList<Frog> frogs = g.m.frogs();
        for (int i = 0; i < frogs.size(); ++i)
            frogs[i].cell = {20 + i, 17};
        frogs[2].cell = {6, 10}; // "u", while "P" is due
        g.m.setFrogs(frogs);
        g.run();

        KacaModel::Step s = g.m.step();
        QVERIFY(s.wrongLetter);
        QVERIFY(!s.grew);
        QCOMPARE(g.m.wrongCount(), 1);
        QCOMPARE(g.m.frogs()[2].cell, QPoint(6, 10));
        QVERIFY(g.m.wrongPending());
        // The wagons passing over it do not count again; the last one leaving it uncovers it.
        for (int i = 0; i < 2; ++i) {
            QVERIFY(!g.m.step().wrongLetter);
            QVERIFY(!g.m.redrawFrogs());
        }
        QVERIFY(!g.m.step().wrongLetter);
        QCOMPARE(g.m.vacated(), QPoint(6, 10));
        QVERIFY(g.m.redrawFrogs());
        QVERIFY(!g.m.wrongPending());
        QCOMPARE(g.m.wrongCount(), 1);
        QCOMPARE(g.m.collected(), QString());
        QCOMPARE(g.m.train().size(), 3);
        QCOMPARE(g.m.nameMarkup(), KacaModel::FormatirajLabelo(QStringLiteral("Ptuj"), 1));

        // Meeting it again counts again.
        g.m.setTrain({{5, 10}, {4, 10}, {3, 10}}, KacaModel::Right);
        QVERIFY(g.m.step().wrongLetter);
        QCOMPARE(g.m.wrongCount(), 2);
    }

    // Of two wrong frogs met one after the other, the first shows again too when uncovered.
    void hardUncoversEveryCoveredFrog()
    {
        Game g(KacaModel::Tezka, QStringLiteral("Ptuj"));
        g.m.setTrain({{5, 10}, {4, 10}, {3, 10}, {2, 10}}, KacaModel::Right);
        QList<Frog> frogs = g.m.frogs();
        frogs[0].cell = {20, 17};
        frogs[1].cell = {25, 17};
        frogs[2].cell = {6, 10};
        frogs[3].cell = {7, 10};
        g.m.setFrogs(frogs);
        g.run();
        g.m.step();
        g.m.step(); // the second wrong frog replaces the first as the remembered one
        QCOMPARE(g.m.wrongCount(), 2);
        g.m.step();
        g.m.step();
        g.m.step();
        QCOMPARE(g.m.vacated(), QPoint(6, 10));
        QVERIFY(g.m.redrawFrogs());
    }

    // Hard type: letters in the order of the name; of two frogs with the due letter either is
    // taken; of two frogs on one cell only the first in name order is met.
    void hardLettersInOrder()
    {
        Game g(KacaModel::Tezka, QStringLiteral("Ljubljana"));
        g.m.setTrain({{3, 10}, {2, 10}}, KacaModel::Right);
        QList<Frog> frogs = g.m.frogs();
        for (int i = 0; i < frogs.size(); ++i)
            frogs[i].cell = {1 + 3 * i, 18};
        g.m.setFrogs(frogs);
        g.run();
        // L, then the second "j" (index 5) while the first "j" is due.
        QVERIFY(g.eat(0).grew);
        QCOMPARE(g.m.nameMarkup(), KacaModel::FormatirajLabelo(QStringLiteral("Ljubljana"), 2));
        QVERIFY(g.eat(5).grew);
        QCOMPARE(g.m.collected(), QStringLiteral("Lj"));
        QVERIFY(g.m.frogs()[1].onBoard());
        // "u" and "l" (index 4) on one cell: "u" comes first in name order and is due.
        frogs = g.m.frogs();
        frogs[2].cell = ahead(g.m);
        frogs[4].cell = ahead(g.m);
        g.m.setFrogs(frogs);
        QVERIFY(g.m.step().grew);
        QCOMPARE(g.m.collected(), QStringLiteral("Lju"));
        QVERIFY(g.m.frogs()[4].onBoard());
        for (int i : {3, 4, 1, 6, 7, 8}) // b l j a n a
            QCOMPARE(g.eat(i).wrongLetter, false);
        QCOMPARE(g.m.collected(), QStringLiteral("Ljubljana"));
        QCOMPARE(g.m.ending(), Ending::Destination);
        QCOMPARE(g.m.wagonLetter(4), QStringLiteral("b"));
        QVERIFY(g.m.markerShown());
        QCOMPARE(g.m.rightCount(), 1);
    }

    void ordinaryEndsOnlyByCrash()
    {
        Game g(KacaModel::Navadna);
        g.m.setTrain({{3, 10}, {2, 10}}, KacaModel::Right);
        g.run();
        for (int i = 0; i < 20; ++i) {
            const KacaModel::Step s = g.eat(0);
            QVERIFY(s.grew);
            QCOMPARE(s.ending, Ending::None);
            QVERIFY(g.m.frogs().first().letter.isEmpty());
            g.m.arrow(i % 2 ? KacaModel::Down : KacaModel::Right);
        }
        QCOMPARE(g.m.train().size(), 22);
        QCOMPARE(g.m.wagonLetter(3), QString());
        QCOMPARE(g.m.rightCount(), 0);
    }

    // A frog is never placed on the train, also when the train covers most of the board.
    void frogNeverOnTheTrain()
    {
        Game g(KacaModel::Navadna);
        const QList<QPoint> path = serpentine();
        QCOMPARE(path.size(), KacaModel::kPlayingCells);
        QList<QPoint> train = path.mid(0, 540);
        std::reverse(train.begin(), train.end());
        g.m.setTrain(train, KacaModel::Right);
        QSet<QPoint> seen;
        for (int i = 0; i < 300; ++i) {
            QVERIFY(g.m.NastaviZabo());
            const QPoint c = g.m.frogs().first().cell;
            QVERIFY(!KacaModel::isWall(c));
            QVERIFY2(!g.m.onTrain(c), "frog on the train");
            seen.insert(c);
        }
        QCOMPARE(seen.size(), 11); // every free cell comes up
    }

    // The ordinary game ends as complete when the train has taken the last free cell.
    void fullBoardEndsTheOrdinaryGame()
    {
        Game g(KacaModel::Navadna);
        const QList<QPoint> path = serpentine();
        QList<QPoint> train = path.mid(0, KacaModel::kPlayingCells - 1);
        std::reverse(train.begin(), train.end());
        g.m.setTrain(train, KacaModel::towards(train.first(), path.last()));
        g.m.setFrogs({Frog{path.last(), {}}});
        g.run();
        const KacaModel::Step s = g.m.step();
        QVERIFY(s.grew);
        QCOMPARE(s.ending, Ending::BoardFull);
        QCOMPARE(g.m.train().size(), KacaModel::kPlayingCells);
        QVERIFY(!g.m.frogs().first().onBoard());
        QCOMPARE(g.m.title(), KacaModel::boardFullText());
        QCOMPARE(g.m.rightCount(), 1);
        QCOMPARE(g.m.wrongCount(), 0);
        QVERIFY(!g.m.running());
    }

    void keys()
    {
        Game g(KacaModel::Lahka);
        g.m.setFrogs({Frog{{5, 15}, QStringLiteral("x")}});
        // Left first starts the game but does not turn it back.
        g.m.arrow(KacaModel::Left);
        QVERIFY(g.m.running());
        QCOMPARE(g.m.direction(), KacaModel::Right);
        g.m.step();
        QCOMPARE(g.m.train().first(), QPoint(16, 1));
        g.m.arrow(KacaModel::Down);
        g.m.arrow(KacaModel::Up); // the opposite of the stored direction
        QCOMPARE(g.m.direction(), KacaModel::Down);
    }

    void pauseAndResume()
    {
        Game g(KacaModel::Navadna);
        g.m.setFrogs({Frog{{5, 15}, {}}});
        g.m.PavzirajIgro(); // not running: nothing to pause
        QVERIFY(!g.m.paused());
        g.m.arrow(KacaModel::Down);
        g.m.step();
        g.m.space();
        QVERIFY(g.m.paused());
        const QList<QPoint> before = g.m.train();
        const qint64 steps = g.m.steps();
        QCOMPARE(g.m.step().moved, false);
        QCOMPARE(g.m.train(), before);
        QCOMPARE(g.m.steps(), steps);
        // Arrows are taken while paused.
        g.m.arrow(KacaModel::Right);
        QCOMPARE(g.m.direction(), KacaModel::Right);
        g.m.space();
        QVERIFY(!g.m.paused());
        QVERIFY(g.m.step().moved);
        QCOMPARE(g.m.train().first(), before.first() + QPoint(1, 0));
        QCOMPARE(g.m.steps(), steps + 1);
        // Coming back to the program resumes even a game paused with the space bar.
        g.m.space();
        g.m.PavzirajIgro();
        g.m.OdpavzirajIgro();
        QVERIFY(!g.m.paused());
    }

    // PONOVI (or a game-type button) in a running game sets up a new one that moves off
    // without waiting for an arrow.
    void newGameWhileRunning()
    {
        Game g(KacaModel::Lahka);
        g.m.setFrogs({Frog{{5, 15}, QStringLiteral("x")}});
        g.m.arrow(KacaModel::Down);
        for (int i = 0; i < 5; ++i)
            g.m.step();
        g.m.Inicializacija(KacaModel::Tezka);
        QVERIFY(g.m.running());
        QVERIFY(g.m.ready());
        QCOMPARE(g.m.type(), KacaModel::Tezka);
        QCOMPARE(g.m.direction(), KacaModel::Right);
        QCOMPARE(g.m.collected(), QString());
        QVERIFY(g.m.step().moved);
        QCOMPARE(g.m.train(), (QList<QPoint>{{16, 1}, {15, 1}}));
        // A paused game stays paused through a new game.
        g.m.PavzirajIgro();
        g.m.Inicializacija(KacaModel::Lahka);
        QVERIFY(g.m.paused());
    }

    void speedSteps()
    {
        Game g(KacaModel::Lahka);
        QCOMPARE(g.m.interval(), 200);
        QCOMPARE(g.m.dialPicture(), 2);
        QList<int> seen;
        for (int i = 0; i < 4; ++i) {
            g.m.faster();
            seen << g.m.interval();
        }
        QCOMPARE(seen, (QList<int>{100, 10, 10, 10}));
        QCOMPARE(g.m.dialPicture(), 4);
        seen.clear();
        for (int i = 0; i < 6; ++i) {
            g.m.slower();
            seen << g.m.interval();
        }
        QCOMPARE(seen, (QList<int>{100, 200, 300, 400, 400, 400}));
        QCOMPARE(g.m.dialPicture(), 0);
    }

    // The marker sweeps from 780 nm to about 388 nm in 52 ticks and starts over.
    void markerBlink()
    {
        Game g(KacaModel::Lahka);
        QCOMPARE(g.m.blinkTick(), 780.0);
        double w = 0;
        for (int i = 0; i < 51; ++i)
            w = g.m.blinkTick();
        QVERIFY(qAbs(w - (380.0 + 400.0 / 52)) < 1e-9);
        QCOMPARE(g.m.blinkTick(), 780.0);
    }
};

QTEST_GUILESS_MAIN(TestKacaModel)
#include "test_kacamodel.moc"
