// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/common/activityscreen.h"

#include "media/apphost.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "media/mediaservice.h"
#include "widgets/controls.h"
#include "widgets/keyboardchoices.h"
#include "widgets/smoothpictures.h"

#include <QApplication>
#include <QEvent>
#include <QHideEvent>
#include <QPointer>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace tipsovo {

namespace {
const QColor kNavy(0, 0, 128);

struct CommandSpec {
    const char *caption;
    const char *picture;
    int left;
    bool red;
    FlatButton::Glyph glyph;
};
const CommandSpec kCommands[5] = {
    {"NAPREJ", "cmd-naprej", 230, true, FlatButton::Glyph::Right},
    {"POMOČ", "cmd-pomoc", 341, false, FlatButton::Glyph::Left},
    {"NATISNI", "cmd-natisni", 452, false, FlatButton::Glyph::Left},
    {"PONOVI", "cmd-ponovi", 563, false, FlatButton::Glyph::Left},
    {"KONEC", "cmd-konec", 675, false, FlatButton::Glyph::Left},
};
// A double-click is one click of a child who has not learnt the difference: on an activity
// screen the second press of a double-click (Qt's double-click event) and the release after it
// reach no word, cell, tile, slot or button, so no choice counts twice. A control that counts
// every press (POMOČ: each press helps once more, however quickly they follow) gets them as
// Qt gives them. One filter for the whole application sees these events before any widget or
// screen filter does.
class SingleClickFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_swallowRelease = false;
            break;
        case QEvent::MouseButtonDblClick:
            if (onActivityScreen(watched) && !ActivityScreen::countsEveryPress(watched)) {
                m_swallowRelease = true;
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (m_swallowRelease) {
                m_swallowRelease = false;
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    static bool onActivityScreen(QObject *o)
    {
        for (auto *w = qobject_cast<QWidget *>(o); w; w = w->parentWidget())
            if (qobject_cast<ActivityScreen *>(w))
                return true;
        return false;
    }

    bool m_swallowRelease = false;
};

void installSingleClickFilter()
{
    static QPointer<SingleClickFilter> filter;
    if (!filter && qApp) {
        filter = new SingleClickFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace

QList<QPoint> wallpaperTiles(QSize tile, QSize size)
{
    QList<QPoint> tiles;
    if (tile.isEmpty() || size.isEmpty())
        return tiles;
    int x = 0;
    int y = 0;
    while (y < size.height() + tile.height()) {
        tiles.append({x, y});
        x += tile.width();
        if (x > size.width()) {
            x = 0;
            y += tile.height();
        }
    }
    return tiles;
}

ActivityScreen::ActivityScreen(AppHost &host, const Setup &setup, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_host(host),
      m_instructionText(setup.instruction), m_praiseCaption(setup.praiseCaption),
      m_setLength(qMax(1, setup.setLength)), m_setStart(setup.setStart),
      m_ponoviHidesNaprej(setup.ponoviHidesNaprej)
{
    setObjectName(setup.objectName);
    setWindowTitle(QStringLiteral("Tipsovo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(host.menuBounds());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 251, 240));
    setPalette(pal);
    setAutoFillBackground(true);
    buildFrame(setup);
    m_hover = new HoverSounds(this, host.media(), host.media().zamikZvoka());
    installSingleClickFilter();
    // Played by keyboard: the mark speaks as the pointer would, Escape is KONEC.
    m_keys = new KeyboardChoices(this);
    connect(m_keys, &KeyboardChoices::marked, m_hover, &HoverSounds::pointAt);
    m_keys->setLeaveAction([this] {
        FlatButton *k = m_buttons[int(Command::Konec)];
        if (k && k->isVisible() && k->isEnabled())
            k->click();
        else
            konec();
    });
}

ActivityScreen::~ActivityScreen() = default;

MediaService &ActivityScreen::media() { return m_host.media(); }

void ActivityScreen::buildFrame(const Setup &setup)
{
    m_instruction = new QLabel(this);
    m_instruction->setObjectName(setup.instructionName);
    m_instruction->setFont(arial(24, true));
    m_instruction->setAlignment(Qt::AlignCenter);
    m_instruction->setWordWrap(true);
    QPalette ip = m_instruction->palette();
    ip.setColor(QPalette::WindowText, kNavy);
    m_instruction->setPalette(ip);
    m_instruction->setText(setup.instruction);
    m_instruction->setGeometry(14, 14, width() - 28, 41);
    setHint(m_instruction, setup.instructionHint);

    auto mark = [this](const char *name, const QPixmap &pm, int left) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setPixmap(pm);
        l->setGeometry(left, 526, 38, 30);
        l->setAttribute(Qt::WA_TranslucentBackground);
        return l;
    };
    mark("imgPrav", m_host.rightMark(), 24);
    mark("imgNarobe", m_host.wrongMark(), 112);
    auto counter = [this](const QString &name, int left) {
        auto *l = new QLabel(QStringLiteral("0"), this);
        l->setObjectName(name);
        l->setFont(arial(19, true));
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, kNavy);
        l->setPalette(p);
        l->setGeometry(left, 529, 44, 24);
        return l;
    };
    m_lblPravilni = counter(setup.rightCounterName, 67);
    m_lblNepravilni = counter(setup.wrongCounterName, 155);

    const QString names[5] = {setup.commandNames.naprej, setup.commandNames.pomoc,
                              setup.commandNames.natisni, setup.commandNames.ponovi,
                              setup.commandNames.konec};
    for (int i = 0; i < 5; ++i) {
        const CommandSpec &c = kCommands[i];
        auto *b = new FlatButton(this);
        b->setObjectName(names[i]);
        b->setCaptionLines({QString::fromUtf8(c.caption)});
        b->setFont(arial(15, true));
        b->setTextColor(c.red ? QColor(Qt::red) : kNavy);
        b->setGlyph(programPicture(QString::fromLatin1(c.picture)), c.glyph);
        b->setGeometry(c.left, 526, 100, 33);
        m_buttons[i] = b;
    }
    m_buttons[int(Command::Naprej)]->hide();
    setCountsEveryPress(m_buttons[int(Command::Pomoc)]);
    connect(m_buttons[int(Command::Naprej)], &FlatButton::clicked, this, &ActivityScreen::Naprej);
    connect(m_buttons[int(Command::Pomoc)], &FlatButton::clicked, this, [this] { help(); });
    connect(m_buttons[int(Command::Natisni)], &FlatButton::clicked, this, [this] { print(); });
    connect(m_buttons[int(Command::Ponovi)], &FlatButton::clicked, this, &ActivityScreen::Ponovi);
    connect(m_buttons[int(Command::Konec)], &FlatButton::clicked, this, [this] { konec(); });
}

FlatButton *ActivityScreen::commandButton(Command c) const { return m_buttons[int(c)]; }

void ActivityScreen::setInstructionText(const QString &text)
{
    m_instructionText = text;
    m_instruction->setText(text);
}

void ActivityScreen::setCounts(int right, int wrong)
{
    m_right = right;
    m_wrong = wrong;
    m_lblPravilni->setText(QString::number(m_right));
    m_lblNepravilni->setText(QString::number(m_wrong));
}

void ActivityScreen::say(const QString &sound, bool keepTrying)
{
    // A sound that waits for its turn belongs to this screen: it is dropped when the screen
    // closes.
    media().PredvajajZvok(sound, QStringLiteral("snd"), keepTrying, this);
}

void ActivityScreen::answerRight(const QString &sound, bool count)
{
    say(sound);
    if (count)
        setCounts(m_right + 1, m_wrong);
}

void ActivityScreen::answerWrong(const QString &sound)
{
    say(sound);
    setCounts(m_right, m_wrong + 1);
}

void ActivityScreen::exerciseSolved(const QString &praise, bool keepTrying)
{
    ++m_solved;
    if (m_solved < m_setLength) {
        m_buttons[int(Command::Naprej)]->show();
        return;
    }
    m_buttons[int(Command::Naprej)]->hide();
    m_instruction->setText(m_praiseCaption);
    say(praise, keepTrying);
}

void ActivityScreen::setClickable(QWidget *w, bool clickable)
{
    if (clickable)
        w->setCursor(Qt::PointingHandCursor);
    else
        w->unsetCursor();
}

void ActivityScreen::setCountsEveryPress(QWidget *w, bool on)
{
    w->setProperty("CountsEveryPress", on);
}

bool ActivityScreen::countsEveryPress(const QObject *o)
{
    return o && o->property("CountsEveryPress").toBool();
}

bool ActivityScreen::isClickable(const QWidget *w)
{
    return w->testAttribute(Qt::WA_SetCursor) && w->cursor().shape() == Qt::PointingHandCursor;
}

void ActivityScreen::setBackgroundPicture(const QPixmap &picture)
{
    m_background = picture;
    update();
}

void ActivityScreen::setWallpaper(const QPixmap &tile)
{
    m_wallpaper = tile;
    update();
}

void ActivityScreen::startFirstSet()
{
    if (m_setStarted)
        return;
    m_setStarted = true;
    openingSet();
}

void ActivityScreen::restartSet()
{
    m_setStarted = true;
    openingSet();
}

void ActivityScreen::Ponovi()
{
    m_setStarted = true;
    m_solved = 0;
    setCounts(0, 0);
    m_instruction->setText(m_instructionText);
    clearUsed();
    if (m_ponoviHidesNaprej)
        m_buttons[int(Command::Naprej)]->hide();
    newExercise();
}

void ActivityScreen::Naprej()
{
    m_buttons[int(Command::Naprej)]->hide();
    newExercise();
}

void ActivityScreen::speakInstruction() { say(hintOf(m_instruction), true); }

void ActivityScreen::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // Spoken from the event loop, once the screen has been painted; when a hover sound still
    // plays, the instruction waits for it without holding up the screen.
    QTimer::singleShot(0, this, [this] {
        speakInstruction();
        if (m_setStart == SetStart::OnFirstActivation)
            startFirstSet();
    });
}

void ActivityScreen::hideEvent(QHideEvent *e)
{
    QWidget::hideEvent(e);
    // Closed (or hidden by the program): what it still wanted to say is not said any more.
    // A minimised window is hidden by the window system and keeps its sounds.
    if (!e->spontaneous())
        media().forgetWaiting(this);
}

void ActivityScreen::paintEvent(QPaintEvent *e)
{
    QWidget::paintEvent(e);
    QPainter p(this);
    smoothWhenScaled(p);
    if (!m_background.isNull())
        p.drawPixmap(0, 0, m_background);
    else if (!m_wallpaper.isNull())
        for (const QPoint &pt : wallpaperTiles(m_wallpaper.size(), size()))
            p.drawPixmap(pt, m_wallpaper);
}

} // namespace tipsovo
