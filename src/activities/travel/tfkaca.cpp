// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/travel/tfkaca.h"

#include "activities/travel/kacacontrols.h"
#include "activities/travel/tfmesto.h"
#include "media/apphost.h"
#include "media/hint.h"
#include "media/mediaservice.h"
#include "widgets/controls.h"
#include "widgets/cursors.h"
#include "widgets/keyboardchoices.h"
#include "widgets/odometer.h"
#include "widgets/textlabel.h"
#include "widgets/wavelengthcolor.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QWindow>
#include <chrono>
#include <cmath>
#include <thread>

namespace tipsovo {

namespace {

const QColor kClient(255, 255, 170); // 11206655, pale yellow
const QColor kGreen(0, 128, 0);
const QColor kNavy(0, 0, 128);
const QPoint kPaintBoxAt(25, 120);

ActivityScreen::Setup kacaSetup()
{
    ActivityScreen::Setup s;
    s.objectName = QStringLiteral("TfKaca");
    s.instruction = KacaModel::titleText();
    s.instructionHint = QStringLiteral("A25");
    s.instructionName = QStringLiteral("lblNaslov");
    s.setStart = ActivityScreen::SetStart::AtCreation;
    s.commandNames.ponovi = QStringLiteral("SpeedButton4");
    s.commandNames.konec = QStringLiteral("SpeedButton3");
    s.commandNames.naprej = QStringLiteral("SpeedButton5");
    s.commandNames.pomoc = QStringLiteral("SpeedButton6");
    s.commandNames.natisni = QStringLiteral("SpeedButton7");
    return s;
}

} // namespace

TfKaca::TfKaca(AppHost &host, QWidget *parent) : ActivityScreen(host, kacaSetup(), parent)
{
    m_elapsed.start();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kClient);
    setPalette(pal);
    setFont(pixelFont(QStringLiteral("Courier New"), 13));
    setFocusPolicy(Qt::StrongFocus);
    // The arrows steer the train and Space starts and pauses it; Tab and Enter still choose.
    keys().setArrowsMove(false);
    keys().setSpaceChooses(false);

    instructionLine()->setFont(arial(24, true));
    for (auto c : {Command::Naprej, Command::Pomoc, Command::Natisni})
        commandButton(c)->hide();

    m_panel1 = new QFrame(this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setGeometry(25, 64, 620, 49);
    m_lblMesto = new TExtendedLabel(m_panel1);
    m_lblMesto->setObjectName(QStringLiteral("lblMesto"));
    m_lblMesto->setFont(arial(19, true));
    m_lblMesto->setFontColor(kGreen);
    m_lblMesto->setTransparent(true);
    m_lblMesto->move(271, 3);
    m_lblMesto->setXPosition(271);
    m_lblResenoMesto = new QLabel(m_panel1);
    m_lblResenoMesto->setObjectName(QStringLiteral("lblResenoMesto"));
    m_lblResenoMesto->setFont(arial(19, true));
    setTextColour(m_lblResenoMesto, kGreen);
    m_lblResenoMesto->setGeometry(271, 25, 340, 24);

    // The map: "slo16M" on displays of more than 256 colours, else "slo256".
    QImage map;
    media().NaloziSliko(QStringLiteral("slX"),
                        media().VecKot256Barv() ? QStringLiteral("slo16M") : QStringLiteral("slo256"),
                        map);
    m_board.setBackground(map);
    m_paintBox = new kaca::PaintBox(m_board, this);
    m_paintBox->setGeometry(QRect(kPaintBoxAt, QSize(620, 420)));

    auto *marker = new kaca::Marker(this);
    marker->pressed = [this] { shpMestoMouseDown(); };
    marker->hide();
    m_shpMesto = marker;

    buildSidePanel();
    commandButton(Command::Ponovi)->setGeometry(672, 470, 97, 33);
    commandButton(Command::Konec)->setGeometry(672, 507, 97, 33);

    m_tmrPause.setSingleShot(true);
    m_tmrPause.setTimerType(Qt::PreciseTimer);
    m_tmrPause.setObjectName(QStringLiteral("tmrPause"));
    connect(&m_tmrPause, &QTimer::timeout, this, &TfKaca::GameLoop);
    m_tmrMesto.setInterval(50);
    m_tmrMesto.setObjectName(QStringLiteral("tmrMesto"));
    connect(&m_tmrMesto, &QTimer::timeout, this, &TfKaca::tmrMestoTimer);

    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            ApplicationEvents1Activate();
        else
            ApplicationEvents1Deactivate();
    });

    // The form sees every key first: no control takes the keyboard focus.
    for (QWidget *w : findChildren<QWidget *>())
        w->setFocusPolicy(Qt::NoFocus);
    startFirstSet();
}

TfKaca::~TfKaca() = default;

TfMesto *TfKaca::card() const { return m_card.data(); }

void TfKaca::buildSidePanel()
{
    m_panel2 = new QFrame(this);
    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setGeometry(672, 110, 97, 337);
    m_panel2->setFrameShape(QFrame::StyledPanel);
    auto label = [this](const char *name, const QString &text, QPoint at) {
        auto *l = new QLabel(text, m_panel2);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(arial(13, true));
        setTextColour(l, kNavy);
        l->move(at);
        l->adjustSize();
        return l;
    };
    label("Label1", QStringLiteral("Vrsta igre:"), {16, 9});

    static const struct {
        const char *name;
        const char *caption;
        const char *picture;
    } types[3] = {{"btnEnaZaba", "Lahka", "igra-lahka"},
                  {"btnVecZab", "Težka", "igra-tezka"},
                  {"btnKlasicna", "Navadna", "igra-navadna"}};
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < 3; ++i) {
        auto *b = new FlatButton(m_panel2);
        b->setObjectName(QString::fromLatin1(types[i].name));
        b->setCaptionLines({QString::fromUtf8(types[i].caption)});
        b->setFont(arial(12, true));
        b->setTextColor(kNavy);
        // The pressed type shows its picture on a light plate.
        const QPixmap up = programPicture(QString::fromLatin1(types[i].picture), QSize(55, 20));
        QPixmap down(up.size() + QSize(6, 4));
        down.fill(Qt::transparent);
        {
            QPainter p(&down);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(kNavy, 1.5));
            p.setBrush(QColor(187, 222, 251));
            p.drawRoundedRect(QRectF(down.rect()).adjusted(0.75, 0.75, -0.75, -0.75), 5, 5);
            p.drawPixmap(3, 2, up);
        }
        QPixmap upPadded(down.size());
        upPadded.fill(Qt::transparent);
        {
            QPainter p(&upPadded);
            p.drawPixmap(3, 2, up);
        }
        b->setStatePictures(upPadded, upPadded, down, down);
        b->setCheckable(true);
        b->setGeometry(17, 28 + 40 * i, 62, 40);
        group->addButton(b, i);
        connect(b, &FlatButton::clicked, this, [this] { Inicializacija(); });
        m_typeButtons[i] = b;
    }
    m_typeButtons[KacaModel::Lahka]->setChecked(true);

    label("Label2", QStringLiteral("Hitrost:"), {26, 154});
    auto *dial = new kaca::SpeedDial(m_model, m_panel2);
    dial->setGeometry(6, 174, 84, 52);
    dial->setCursor(programCursor(crMis));
    dial->changed = [this] { speedChanged(); };
    m_pbHitrost = dial;

    m_odometer = new TOdometer(m_panel2);
    m_odometer->setObjectName(QStringLiteral("Odometer1"));
    m_odometer->setAnimationType(TOdometer::atAsynchronous);
    m_odometer->setFrameInterval(30);
    m_odometer->setBaseType(TOdometer::btDecimal);
    m_odometer->setDigitCount(5);
    m_odometer->setIncTopToBottom(false);
    m_odometer->setValue(0);
    m_odometer->move(11, 225);

    // The marks and counters of the frame move into the side column.
    if (auto *img = findChild<QLabel *>(QStringLiteral("imgPrav"))) {
        img->setParent(m_panel2);
        img->move(2, 265);
    }
    if (auto *img = findChild<QLabel *>(QStringLiteral("imgNarobe"))) {
        img->setParent(m_panel2);
        img->move(2, 303);
    }
    for (QLabel *l : {rightLabel(), wrongLabel()}) {
        l->setParent(m_panel2);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    rightLabel()->setGeometry(40, 268, 44, 24);
    wrongLabel()->setGeometry(40, 306, 44, 24);
}

KacaModel::GameType TfKaca::chosenType() const
{
    for (int i = 0; i < 3; ++i) {
        if (m_typeButtons[i]->isChecked())
            return KacaModel::GameType(i);
    }
    return KacaModel::Lahka;
}

void TfKaca::chooseType(KacaModel::GameType type)
{
    m_typeButtons[type]->setChecked(true);
    Inicializacija();
}

void TfKaca::showTexts()
{
    instructionLine()->setText(m_model.title());
    m_lblMesto->setCaption(m_model.nameMarkup());
    m_lblResenoMesto->setText(m_model.collected());
    setCounts(m_model.rightCount(), m_model.wrongCount());
}

void TfKaca::Inicializacija()
{
    m_board.clear();
    m_model.Inicializacija(chosenType());
    m_shpMesto->hide();
    m_shpMesto->move(0, 0);
    m_tmrMesto.stop();
    showTexts();
    Risi(false, true);
}

void TfKaca::Risi(bool grew, bool full)
{
    const QRegion dirty = m_board.Risi(m_model, grew, full);
    if (full)
        m_paintBox->update();
    else
        m_paintBox->update(dirty);
}

void TfKaca::scheduleNext(bool now)
{
    const double t = m_elapsed.nsecsElapsed() / 1e6;
    if (now || m_nextDue < t) {
        // Late, or a fresh start: the next step follows at once and the timing starts over.
        m_nextDue = t;
    }
    // The timer counts whole milliseconds and its wait is rounded up: it is set for the whole
    // millisecond before the due time, and the step sleeps out the rest (see GameLoop).
    const double wait = m_nextDue - t;
    m_tmrPause.start(std::max(0, int(std::floor(wait)) - 1));
}

void TfKaca::GameLoop()
{
    if (!m_model.running() || m_model.paused())
        return;
    // Up to two milliseconds early from the timer: a short sleep to the due time keeps the
    // step on time without a busy wait.
    const double early = m_nextDue - m_elapsed.nsecsElapsed() / 1e6;
    if (early > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(std::lround(std::min(early, 2.0) * 1000)));
    const double late = m_elapsed.nsecsElapsed() / 1e6 - m_nextDue;
    m_odometer->increment();
    const KacaModel::Step s = m_model.step();
    if (!s.moved)
        return;
    // A child who cannot read the name yet hears why the frog stayed: the letter was not the
    // next one. The same word as every other screen's wrong answer, whenever the red count grows.
    if (s.wrongLetter)
        say(QStringLiteral("narobe"));
    Risi(s.grew, false);
    m_lblResenoMesto->setText(m_model.collected());
    m_lblMesto->setCaption(m_model.nameMarkup());
    if (s.ending != KacaModel::Ending::None) {
        afterEnd();
        return;
    }
    setCounts(m_model.rightCount(), m_model.wrongCount());
    m_nextDue += m_model.interval();
    scheduleNext(false);
    emit stepped(late);
}

void TfKaca::afterEnd()
{
    m_tmrPause.stop();
    switch (m_model.ending()) {
    case KacaModel::Ending::Destination: {
        m_paintBox->update(m_board.drawLocomotiveClean(m_model));
        if (m_model.markerShown()) {
            const Town &t = m_model.currentTown();
            m_shpMesto->move(kPaintBoxAt + QPoint(t.x, t.y) - QPoint(7, 7));
            m_shpMesto->raise();
            m_shpMesto->show();
            m_tmrMesto.start();
        }
        instructionLine()->setText(m_model.title());
        setCounts(m_model.rightCount(), m_model.wrongCount());
        // The name first, then the praise after it.
        say(m_model.currentTown().resource, true);
        say(QStringLiteral("A9"), true);
        break;
    }
    case KacaModel::Ending::BoardFull:
        showTexts();
        say(QStringLiteral("A9"), true);
        break;
    case KacaModel::Ending::Wall:
    case KacaModel::Ending::Wagon:
        showTexts();
        // The crash's text is for the grown-ups; the child hears that the game went wrong.
        say(QStringLiteral("narobe"));
        break;
    case KacaModel::Ending::None:
        break;
    }
}

void TfKaca::PavzirajIgro()
{
    if (!m_model.running())
        return;
    m_tmrPause.stop();
    m_model.PavzirajIgro();
}

void TfKaca::OdpavzirajIgro()
{
    if (!m_model.running())
        return;
    Risi(false, true);
    m_model.OdpavzirajIgro();
    scheduleNext(true);
}

void TfKaca::ApplicationEvents1Deactivate() { PavzirajIgro(); }

void TfKaca::ApplicationEvents1Activate()
{
    if (m_model.running())
        OdpavzirajIgro();
    else
        Risi(false, true);
}

void TfKaca::ApplicationEvents1Restore() { Risi(false, true); }

void TfKaca::tmrMestoTimer()
{
    static_cast<kaca::Marker *>(m_shpMesto)->setFill(WavelengthToColor(m_model.blinkTick()));
}

void TfKaca::shpMestoMouseDown()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_card)
        m_card->close();
    m_card = new TfMesto(host(), m_model, this);
    m_card->showTown(m_model.townIndexByName(m_model.currentTown().display));
    m_card->show();
    QGuiApplication::restoreOverrideCursor();
}

void TfKaca::speedChanged() { m_pbHitrost->update(); }

void TfKaca::keyPressEvent(QKeyEvent *e)
{
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    const bool wasRunning = m_model.running();
    switch (e->key()) {
    case Qt::Key_Space:
        if (!m_model.running())
            Inicializacija();
        else if (m_model.paused())
            OdpavzirajIgro();
        else
            PavzirajIgro();
        break;
    case Qt::Key_Left:
        m_model.arrow(KacaModel::Left);
        break;
    case Qt::Key_Up:
        m_model.arrow(KacaModel::Up);
        break;
    case Qt::Key_Right:
        m_model.arrow(KacaModel::Right);
        break;
    case Qt::Key_Down:
        m_model.arrow(KacaModel::Down);
        break;
    case Qt::Key_L:
        chooseType(KacaModel::Lahka);
        break;
    case Qt::Key_T:
        chooseType(KacaModel::Tezka);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        if (keypad)
            return;
        m_model.faster();
        speedChanged();
        break;
    case Qt::Key_Minus:
        if (keypad)
            return;
        m_model.slower();
        speedChanged();
        break;
    default:
        ActivityScreen::keyPressEvent(e);
        return;
    }
    // The first arrow of a set-up game starts the train at once.
    if (!wasRunning && m_model.running() && !m_model.paused())
        scheduleNext(true);
}

void TfKaca::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::WindowStateChange) {
        if (isMinimized())
            ApplicationEvents1Deactivate();
        else
            ApplicationEvents1Restore();
    }
    ActivityScreen::changeEvent(e);
}

void TfKaca::showEvent(QShowEvent *e)
{
    ActivityScreen::showEvent(e);
    // The arrows steer this screen: it takes the keyboard when it opens.
    activateWindow();
    setFocus();
}

} // namespace tipsovo
