// SPDX-License-Identifier: GPL-3.0-or-later
// tipsovo-shots OUTDIR: renders the activity screens in a few states of play to OUTDIR/*.png,
// using the packs that lie beside this program, and the worksheets their NATISNI prints to
// OUTDIR/list-*.pdf with their preview windows. Sounds are recorded, not played.
#include "activities/common/activityscreen.h"
#include "activities/common/lettercells.h"
#include "activities/drawing/tfgrafomotorika.h"
#include "activities/drawing/tracingcanvas.h"
#include "activities/letters/tfaalib.h"
#include "activities/letters/tfbesede.h"
#include "activities/letters/tfcrke.h"
#include "activities/letters/tfkjejecrka.h"
#include "activities/letters/tfprvacrka.h"
#include "activities/letters/tfsestavizloge.h"
#include "activities/letters/tfvislice.h"
#include "activities/letters/tfzamenjajcrke.h"
#include "activities/letters/tfzlogi.h"
#include "activities/sentences/tfmenivstavibesedo.h"
#include "activities/sentences/tfoznacipovedi.h"
#include "activities/sentences/tfvstavibesedo.h"
#include "activities/travel/tfkaca.h"
#include "activities/travel/tfmesto.h"
#include "media/apphost.h"
#include "media/manualclock.h"
#include "media/mediaservice.h"
#include "media/recordingsoundoutput.h"
#include "print/reportpreview.h"
#include "shell/tfglavno.h"
#include "widgets/controls.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QHash>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

using namespace tipsovo;

namespace {

class ShotHost : public AppHost {
public:
    explicit ShotHost(const QString &packDir)
        : m_media(packDir, std::make_unique<RecordingSoundOutput>(m_clock), m_clock)
    {
        m_media.setErrorReporter([](const QString &text) {
            std::fprintf(stderr, "error box: %s\n", qPrintable(text));
        });
        AppHost::setInstance(this);
    }
    MediaService &media() override { return m_media; }
    QRect menuBounds() const override { return {0, 0, 800, 573}; }
    QPixmap rightMark() const override { return programPicture(QStringLiteral("prav")); }
    QPixmap wrongMark() const override { return programPicture(QStringLiteral("narobe")); }

private:
    ManualClock m_clock;
    MediaService m_media;
};

QDir out;

void shoot(QWidget &w, const char *name)
{
    w.show();
    QCoreApplication::processEvents();
    const QString path = out.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    w.grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

// Presses a NATISNI and keeps what its preview shows: the preview window as OUTDIR/NAME.png and
// the worksheet as OUTDIR/NAME.pdf.
void printSheet(QAbstractButton *natisni, const char *name)
{
    QTimer::singleShot(0, [name = QString::fromLatin1(name)] {
        auto *p = qobject_cast<ReportPreview *>(QApplication::activeModalWidget());
        if (!p) {
            std::fprintf(stderr, "no preview for %s\n", qPrintable(name));
            return;
        }
        QCoreApplication::processEvents();
        const QString base = out.filePath(name);
        p->grab().save(base + QStringLiteral(".png"));
        QString error;
        if (saveReportPdf(p->report(), base + QStringLiteral(".pdf"), &error))
            std::printf("%s.pdf\n", qPrintable(base));
        else
            std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(error));
        p->reject();
    });
    natisni->click();
}
void printSheet(ActivityScreen &s, const char *name)
{
    printSheet(s.commandButton(ActivityScreen::Command::Natisni), name);
}

void click(QWidget *w)
{
    const QPointF p(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton,
                        Qt::NoButton, {});
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
}

void firstLetter(ShotHost &host)
{
    TfPrvaCrka s(host);
    shoot(s, "prvacrka-fresh");
    click(s.wordLabel(7));
    click(s.wordLabel(1));
    click(s.wordLabel(2));
    shoot(s, "prvacrka-marked");
    for (int stage = 0; stage < TfPrvaCrka::kStages; ++stage) {
        if (stage > 0)
            s.Naprej();
        for (int k = 1; k <= 5; ++k)
            click(s.wordLabel(k));
    }
    shoot(s, "prvacrka-bravo");
}

template<typename Screen> void matching(ShotHost &host, const char *name)
{
    Screen s(host);
    s.Ponovi();
    // One task answered wrongly, one partly or fully found, one solved by help.
    for (int t = 1; t <= 2; ++t) {
        for (int place = 1; place <= MatchingScreen::kCells; ++place) {
            LetterCell *c = s.cell(t, 1 + t % 3, place);
            if (c && c->isVisible() && !c->text().isEmpty()) {
                click(c);
                break;
            }
        }
    }
    s.Pomoc();
    shoot(s, name);
    printSheet(s, (std::string("list-") + name).c_str());
}

void guessWord(ShotHost &host, TfAaliB::Choice choice, const char *name)
{
    TfVislice s(host);
    s.setChooserRun([choice](TfAaliB &) { return choice; });
    s.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    // Pick the first tile with a letter and place it where it belongs, then pick another.
    for (int j = 1; j <= 10; ++j) {
        QLabel *tile = s.tile(j);
        if (tile->text().trimmed().isEmpty())
            continue;
        click(tile);
        for (int i = 1; i <= 10; ++i)
            if (s.slot(i)->text() == QStringLiteral("_"))
                click(s.slot(i));
        break;
    }
    for (int j = 1; j <= 10; ++j) {
        if (!s.tile(j)->text().trimmed().isEmpty()) {
            click(s.tile(j));
            break;
        }
    }
    shoot(s, name);
    printSheet(s, (std::string("list-") + name).c_str());
}

// Clicks the next syllable of slot j where it is offered.
void composeNext(TfSestaviZloge &s, int j)
{
    for (int k = 1; k <= WordPanelsScreen::kOffers; ++k) {
        LetterCell *c = s.offerCell(j, k);
        if (c->isVisible() && c->text() == s.naloga(j).next()) {
            click(c);
            return;
        }
    }
}

void composeSyllables(ShotHost &host)
{
    TfSestaviZloge s(host);
    s.Ponovi();
    shoot(s, "sestavizloge-fresh");
    // Word 1 composed, word 2 half, a wrong syllable struck out in word 3, help in word 4.
    for (int i = 0; i < TfSestaviZloge::kParts && !s.naloga(1).complete(); ++i)
        composeNext(s, 1);
    composeNext(s, 2);
    for (int k = 1; k <= WordPanelsScreen::kOffers; ++k) {
        LetterCell *c = s.offerCell(3, k);
        const auto &z = s.naloga(3).word.Zlogi;
        if (c->isVisible() && std::find(z.begin(), z.end(), c->text()) == z.end()) {
            click(c);
            break;
        }
    }
    s.bPomocClick();
    s.bPomocClick();
    shoot(s, "sestavizloge-mid");
    printSheet(s, "list-sestavizloge");
    for (int exercise = 0; exercise < 3; ++exercise) {
        if (exercise > 0)
            s.Naprej();
        for (int j = 1; j <= WordPanelsScreen::kSlots; ++j)
            for (int i = 0; i < TfSestaviZloge::kParts && !s.naloga(j).complete(); ++i)
                composeNext(s, j);
    }
    shoot(s, "sestavizloge-bravo");
}

void whereIsTheLetter(ShotHost &host)
{
    TfKjeJeCrka s(host);
    shoot(s, "kjejecrka-fresh");
    // A wrong slot, the right one, and the word shown under the picture.
    s.Label1Click(s.slot(s.letterPosition() == 1 ? int(s.word().size()) : 1));
    s.Label1Click(s.slot(s.letterPosition()));
    s.Image1Click();
    shoot(s, "kjejecrka-marked");
    printSheet(s, "list-kjejecrka");
    s.tmrBesedaTimer();
    s.LabelXClick();
    shoot(s, "kjejecrka-found");
    for (int w = 1; w < TfKjeJeCrka::kWordsPerSet; ++w) {
        s.Naprej();
        s.Pomoc();
        s.Pomoc();
    }
    shoot(s, "kjejecrka-bravo");
}

// Marks the next wrong place of slot j and clicks the letter that belongs there.
void swapNext(TfZamenjajCrke &s, int j)
{
    const auto &n = s.naloga(j);
    const int place = n.Mesto1 ? n.Mesto1 : n.Mesto2;
    const QString letter = n.Mesto1 ? n.Crka1 : n.Crka2;
    if (!place)
        return;
    click(s.letterCell(j, place));
    for (int k = 1; k <= WordPanelsScreen::kOffers; ++k) {
        LetterCell *c = s.offerCell(j, k);
        if (c->isVisible() && c->text() == letter) {
            click(c);
            return;
        }
    }
}

void swapLetters(ShotHost &host)
{
    TfZamenjajCrke s(host);
    s.Ponovi();
    shoot(s, "zamenjajcrke-fresh");
    // Word 1 put right, a gap marked in word 2, a wrong letter struck out in word 3.
    for (int i = 0; i < 2; ++i)
        swapNext(s, 1);
    click(s.letterCell(2, s.naloga(2).Mesto1));
    for (int k = 1; k <= WordPanelsScreen::kOffers; ++k) {
        LetterCell *c = s.offerCell(3, k);
        if (c->text() != s.naloga(3).Crka1 && c->text() != s.naloga(3).Crka2) {
            click(c);
            break;
        }
    }
    shoot(s, "zamenjajcrke-mid");
    printSheet(s, "list-zamenjajcrke");
    for (int exercise = 0; exercise < TfZamenjajCrke::kSetLength; ++exercise) {
        if (exercise > 0)
            s.Naprej();
        for (int j = 1; j <= WordPanelsScreen::kSlots; ++j)
            for (int i = 0; i < 2; ++i)
                swapNext(s, j);
    }
    shoot(s, "zamenjajcrke-bravo");
}

// The main menu as it opens, with the packs beside this program. It makes itself the program's
// host, so it is shot last.
QLabel *choiceWith(TfVstaviBesedo &s, bool right)
{
    for (int k = 1; k <= 4; ++k) {
        QLabel *l = s.choiceLabel(k);
        if (!l->text().isEmpty() && (l->text() == s.pravilna()) == right)
            return l;
    }
    return nullptr;
}

void insertWord(ShotHost &host)
{
    TfMeniVstaviBesedo menu(host);
    shoot(menu, "vstavibesedo-meni");
    menu.hide();
    for (int tema = 0; tema < TfVstaviBesedo::kThemes; ++tema) {
        TfVstaviBesedo s(host);
        s.setTema(tema);
        s.restartSet();
        // One wrong word struck out, then another sentence answered.
        click(choiceWith(s, false));
        const QByteArray fresh = "vstavibesedo-" + TfVstaviBesedo::slikaTeme(tema).toLatin1();
        shoot(s, fresh.constData());
        printSheet(s, ("list-" + fresh).constData());
        if (tema != 0)
            continue;
        click(choiceWith(s, true));
        shoot(s, "vstavibesedo-answered");
        for (int i = 1; i < TfVstaviBesedo::kSentences; ++i) {
            s.Naprej();
            click(choiceWith(s, true));
        }
        shoot(s, "vstavibesedo-bravo");
    }
}

void markSentences(ShotHost &host)
{
    TfOznaciPovedi s(host);
    s.Ponovi();
    auto place = [&s](bool right) {
        for (int k = 1; k <= 4; ++k)
            if ((s.sentenceLabel(k)->text() == s.pravilna()) == right)
                return s.sentenceLabel(k);
        return s.sentenceLabel(1);
    };
    click(place(false));
    shoot(s, "oznacipovedi-wrong");
    printSheet(s, "list-oznacipovedi");
    click(place(true));
    shoot(s, "oznacipovedi-solved");
    for (int i = 1; i < TfOznaciPovedi::kPerExercise; ++i) {
        s.Naprej();
        click(place(true));
    }
    shoot(s, "oznacipovedi-bravo");
}

void mainMenu(const QString &packDir)
{
    ManualClock clock;
    TfGlavno::Setup setup;
    setup.packDir = packDir;
    setup.output = std::make_unique<RecordingSoundOutput>(clock);
    setup.clock = &clock;
    setup.displaySize = QSize(1024, 768);
    setup.showMessage = [](const QString &, const QString &text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    TfGlavno menu(std::move(setup));
    shoot(menu, "menu");
}

// Drags the pen along `points` in the drawing area.
void trace(QWidget *area, const QList<QPoint> &points)
{
    if (points.isEmpty())
        return;
    auto send = [area](QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(p), area->mapToGlobal(QPointF(p)), b, held, {});
        QCoreApplication::sendEvent(area, &e);
    };
    send(QEvent::MouseButtonPress, points.first(), Qt::LeftButton, Qt::LeftButton);
    for (const QPoint &p : points)
        send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, points.last(), Qt::LeftButton, Qt::NoButton);
}

// A way through a maze sheet as a child might draw it: through the pixels that keep the pen
// clear of the black walls, from the opening on the left of the walls to the one on the right.
QList<QPoint> mazeWay(const QImage &sheet, int clearance)
{
    auto dark = [&](int x, int y) { return qGray(sheet.pixel(x, y)) < 60 && qRed(sheet.pixel(x, y)) < 60; };
    int x0 = sheet.width(), x1 = 0, y0 = sheet.height(), y1 = 0;
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (dark(x, y)) {
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    const int step = 3;
    auto free = [&](int x, int y) {
        if (x < x0 - 2 || x > x1 + 2 || y <= y0 || y >= y1)
            return false;
        for (int dy = -clearance; dy <= clearance; ++dy)
            for (int dx = -clearance; dx <= clearance; ++dx) {
                const int px = x + dx, py = y + dy;
                if (px >= 0 && py >= 0 && px < sheet.width() && py < sheet.height() && dark(px, py))
                    return false;
            }
        return true;
    };
    QHash<quint64, quint64> from;
    auto key = [](int x, int y) { return (quint64(quint32(x)) << 32) | quint32(y); };
    QList<QPoint> queue;
    for (int y = y0 + step; y < y1; y += step)
        if (free(x0 - 2, y)) {
            queue.append({x0 - 2, y});
            from.insert(key(x0 - 2, y), key(x0 - 2, y));
        }
    for (int head = 0; head < queue.size(); ++head) {
        const QPoint p = queue.at(head);
        if (p.x() >= x1 - 1) {
            QList<QPoint> way;
            for (quint64 k = key(p.x(), p.y());; k = from.value(k)) {
                way.prepend(QPoint(int(k >> 32), int(quint32(k))));
                if (from.value(k) == k)
                    break;
            }
            return way;
        }
        for (QPoint d : {QPoint(step, 0), QPoint(-step, 0), QPoint(0, step), QPoint(0, -step)}) {
            const QPoint n = p + d;
            if (!from.contains(key(n.x(), n.y())) && free(n.x(), n.y())) {
                from.insert(key(n.x(), n.y()), key(p.x(), p.y()));
                queue.append(n);
            }
        }
    }
    return {};
}

void followLines(ShotHost &host)
{
    TfGrafomotorika s(host);
    shoot(s, "grafomotorika");
    // The first row of the first sheet traced from the mouse to the cheese, a little unsteadily.
    TracingCanvas *area = s.drawingArea();
    const QImage sheet = area->sheet().image();
    int row = -1;
    for (int y = 0; y < sheet.height() && row < 0; ++y)
        for (int x = 280; x < 320 && row < 0; ++x)
            if (qGray(sheet.pixel(x, y)) < 60)
                row = y + 2;
    QList<QPoint> line;
    for (int x = 80; x <= 500; x += 6)
        line.append({x, row + int(4 * std::sin(x / 23.0))});
    trace(area, line);
    shoot(s, "grafomotorika-crta");
    // A maze solved half-way.
    for (int i : {16, 26}) {
        s.chooseSheet(i);
        const QList<QPoint> way = mazeWay(area->sheet().image(), area->sheet().penWidth() / 2 + 2);
        if (way.isEmpty())
            std::fprintf(stderr, "no way through sheet %d\n", i + 1);
        trace(area, way.mid(0, way.size() / 2));
        shoot(s, i == 16 ? "grafomotorika-labirint" : "grafomotorika-labirint-tanek");
    }
}

} // namespace

// Travel game: steers the train so that it snakes down the board, a frog right ahead at every
// step (the ordinary game), or at the steps that `eatAt` names.
void travelStep(TfKaca &s, bool eat)
{
    KacaModel &m = s.model();
    static const QPoint d[4] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    const QPoint h = m.train().first();
    if (m.direction() == KacaModel::Down)
        m.arrow(h.x() > 15 ? KacaModel::Left : KacaModel::Right);
    else if ((m.direction() == KacaModel::Right && h.x() >= 27) || (m.direction() == KacaModel::Left && h.x() <= 3))
        m.arrow(KacaModel::Down);
    if (eat) {
        QList<Frog> frogs = m.frogs();
        int i = 0;
        if (m.type() == KacaModel::Tezka) {
            // the first frog still on the board with the due letter
            for (int j = 0; j < frogs.size(); ++j) {
                if (frogs[j].onBoard() && frogs[j].letter == m.currentTown().display.mid(m.letterIndex() - 1, 1)) {
                    i = j;
                    break;
                }
            }
        }
        frogs[i].cell = m.train().first() + d[m.direction()];
        m.setFrogs(frogs);
        // The frog was moved by hand: draw the board afresh so its old disc goes.
        s.board().clear();
        s.ApplicationEvents1Restore();
    }
    s.GameLoop();
}

void travel(ShotHost &host)
{
    {
        // The map with every town's marker, at full size.
        TfKaca s(host);
        QImage map = s.board().background().copy();
        QPainter p(&map);
        p.setRenderHint(QPainter::Antialiasing);
        p.setFont(arial(11, true));
        for (const Town &t : s.model().towns()) {
            p.setPen(QPen(Qt::red, 1.5));
            p.setBrush(QColor(0, 255, 0));
            p.drawEllipse(QPointF(t.x, t.y), 7.5, 7.5);
            p.setPen(Qt::black);
            p.drawText(t.x + 9, t.y + 4, t.display);
        }
        p.end();
        const QString path = out.filePath(QStringLiteral("kaca-mesta.png"));
        map.save(path);
        std::printf("%s\n", qPrintable(path));
        shoot(s, "kaca-fresh");
    }
    struct Game {
        const char *name;
        const char *key;
        int steps;
    };
    for (const Game &g : {Game{"kaca-lahka", "L", 0}, Game{"kaca-tezka", "T", 0}, Game{"kaca-navadna", "N", 90}}) {
        TfKaca s(host);
        if (g.key[0] == 'T')
            s.findChild<QAbstractButton *>(QStringLiteral("btnVecZab"))->click();
        if (g.key[0] == 'N')
            s.findChild<QAbstractButton *>(QStringLiteral("btnKlasicna"))->click();
        for (int i = 0; i < 1000 && s.model().type() != KacaModel::Navadna
                        && s.model().currentTown().display != QStringLiteral("Rogaška Slatina"); ++i)
            s.Inicializacija();
        s.model().setTrain({{4, 3}, {3, 3}}, KacaModel::Right);
        s.model().arrow(KacaModel::Right);
        s.board().clear();
        s.ApplicationEvents1Restore();
        const int eats = g.steps ? g.steps : int(s.model().currentTown().display.size()) - 1;
        for (int i = 0; i < eats; ++i)
            travelStep(s, true);
        for (int i = 0; i < 3; ++i)
            travelStep(s, false);
        shoot(s, g.name);
        if (g.key[0] == 'L') {
            travelStep(s, true); // the last letter: the destination and its marker
            s.tmrMestoTimer();
            shoot(s, "kaca-cilj");
        }
    }
    {
        TfKaca s(host);
        for (int i = 0; i < KacaModel::kTowns; ++i) {
            TfMesto card(host, s.model());
            card.showTown(i);
            const QByteArray name = "mesto-" + s.model().towns().at(i).resource.toLatin1();
            shoot(card, name.constData());
            if (i == 0 || card.shownTown().resource == QStringLiteral("Ljubljana"))
                printSheet(card.findChild<QAbstractButton *>(QStringLiteral("SpeedButton1")),
                           ("list-" + name).constData());
        }
    }
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tipsovo-shots OUTDIR\n");
        return 2;
    }
    out = QDir(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("."));
    ShotHost host(QCoreApplication::applicationDirPath());

    firstLetter(host);
    matching<TfBesede>(host, "besede");
    matching<TfZlogi>(host, "zlogi");
    matching<TfCrke>(host, "crke");
    TfAaliB chooser;
    shoot(chooser, "aalib");
    chooser.hide();
    guessWord(host, TfAaliB::Choice::Easier, "vislice-lazja");
    guessWord(host, TfAaliB::Choice::Harder, "vislice-tezja");
    composeSyllables(host);
    whereIsTheLetter(host);
    swapLetters(host);
    travel(host);
    followLines(host);
    insertWord(host);
    markSentences(host);
    mainMenu(QCoreApplication::applicationDirPath());
    return 0;
}
