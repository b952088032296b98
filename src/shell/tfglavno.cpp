// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tfglavno.h"

#include "media/clock.h"
#include "media/delaysetting.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "media/mediaservice.h"
#include "media/tfzamikzvoka.h"
#include "shell/displayrules.h"
#include "shell/tfoprogramu.h"
#include "shell/tftma.h"
#include "widgets/controls.h"
#include "widgets/cursors.h"
#include "widgets/keyboardchoices.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>

namespace tipsovo {

TfGlavno *fGlavno = nullptr;

namespace {

struct MenuButton {
    int tag;
    const char *name;
    std::initializer_list<const char *> caption;
    const char *hint;
    QRect geometry;
    int fontPx;
    const char *picture; // picture above the caption, or nullptr
};

const MenuButton kButtons[] = {
    {1, "btn1", {"Besede,", "zlogi,", "črke"}, "A15", {359, 251, 105, 79}, 21, nullptr},
    {2, "btn2", {"Prva", "črka"}, "A16", {493, 250, 105, 79}, 21, nullptr},
    {3, "btn3", {"Ugani", "besedo"}, "A18", {628, 251, 105, 79}, 21, nullptr},
    {4, "btn4", {"Sestavi", "zloge"}, "A19", {18, 377, 105, 79}, 21, nullptr},
    {5, "btn5", {"Zamenjaj", "črke"}, "A20", {155, 376, 105, 79}, 21, nullptr},
    {6, "btn6", {"Kje", "je", "črka?"}, "A21", {290, 376, 105, 79}, 21, nullptr},
    {7, "btn7", {"Vstavi", "besedo"}, "A22", {424, 376, 105, 79}, 21, nullptr},
    {8, "btn8", {"Označi", "povedi"}, "A23", {171, 486, 105, 79}, 21, nullptr},
    {9, "btn9", {"Sledi", "črtam"}, "A24", {306, 486, 105, 79}, 21, nullptr},
    {10, "btn10", {"Kam", "potujemo?"}, "A25", {441, 486, 105, 79}, 20, nullptr},
    {-1, "btnOProgramu", {"O", "programu"}, "A3", {577, 120, 81, 108}, 16, "btn-about"},
    {0, "btnIzhod", {"Izhod"}, "A2", {692, 120, 79, 108}, 16, "btn-exit"},
    {-99, "btnZvok", {"Zvok"}, "ZVOK", {462, 120, 79, 108}, 16, nullptr},
};

const QColor kNavy(0, 0, 128);

// Hourglass over the whole program until released or destroyed, so no path through a menu
// click (an exception included) leaves it behind.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { release(); }
    void release()
    {
        if (m_active) {
            m_active = false;
            QGuiApplication::restoreOverrideCursor();
        }
    }

private:
    bool m_active = true;
};

} // namespace

TfGlavno::TfGlavno(Setup setup, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    fGlavno = this;
    AppHost::setInstance(this);
    setObjectName(QStringLiteral("TfGlavno"));
    setWindowTitle(QStringLiteral("Igrica"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kNavy);
    setPalette(pal);
    setAutoFillBackground(true);

    Clock &clock = setup.clock ? *setup.clock : systemClock();
    m_media = std::make_unique<MediaService>(setup.packDir, std::move(setup.output), clock);
    auto showMessage = setup.showMessage;
    if (!showMessage) {
        showMessage = [this](const QString &caption, const QString &text) {
            QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, this);
            box.exec();
        };
    }
    m_media->setErrorReporter([showMessage](const QString &text) {
        showMessage(QGuiApplication::applicationDisplayName(), text);
    });
    m_editDelay = [](QWidget *parent, QPoint pos, int &delay) {
        return TfZamikZvoka::edit(parent, pos, delay);
    };

    auto *background = new QLabel(this);
    background->setObjectName(QStringLiteral("Image2"));
    background->setPixmap(programPicture(QStringLiteral("menu"), {800, 600}));
    background->setGeometry(0, 0, 800, 600);

    m_imgPrav = new QLabel(this);
    m_imgPrav->setObjectName(QStringLiteral("imgPrav"));
    m_imgPrav->setPixmap(programPicture(QStringLiteral("prav"), {38, 30}));
    m_imgPrav->setGeometry(24, 526, 38, 30);
    m_imgPrav->hide();
    m_imgNarobe = new QLabel(this);
    m_imgNarobe->setObjectName(QStringLiteral("imgNarobe"));
    m_imgNarobe->setPixmap(programPicture(QStringLiteral("narobe"), {38, 30}));
    m_imgNarobe->setGeometry(112, 526, 38, 30);
    m_imgNarobe->hide();

    buildButtons();

    // Display rules.
    QSize display = setup.displaySize;
    if (display.isEmpty()) {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            display = screen->size();
    }
    const MenuPlacement place = setup.fitted ? placeFittedMenu(display) : placeMenu(display);
    if (place.tooSmall) {
        m_tooSmall = true;
        showMessage(QStringLiteral("Ops!"),
                    QStringLiteral("Program \"Tipsovo\" zahteva za delovanje najmanjšo ločljivost "
                                   "800 X 600.\nPopravi nastavitve in nato ponovno zaženi program!"));
        // The rest of start-up still runs; the entry point then ends the program at the first
        // turn of the event loop (a quit asked for here would be lost: no loop runs yet).
        setGeometry(0, 0, 800, 600);
    } else {
        // At exactly 800 × 600 the menu covers the whole display at the origin; the desktop's
        // panels are the window manager's to keep out of the way.
        setGeometry(place.geometry);
    }

    registerProgramCursors();
    m_media->setZamikZvoka(DelaySetting::read());
    m_hover = new HoverSounds(this, *m_media, m_media->zamikZvoka());
    // Tab and the arrows go through the menu's buttons, Enter or Space opens one.
    m_keys = new KeyboardChoices(this);
    connect(m_keys, &KeyboardChoices::marked, m_hover, &HoverSounds::pointAt);
}

TfGlavno::~TfGlavno()
{
    DelaySetting::write(m_media->zamikZvoka());
    m_media->stopAll();
    m_media->releaseSoundPack();
    if (AppHost::instance() == this)
        AppHost::setInstance(nullptr);
    if (fGlavno == this)
        fGlavno = nullptr;
}

void TfGlavno::buildButtons()
{
    for (const MenuButton &button : kButtons) {
        auto *b = new FlatButton(this);
        b->setObjectName(QString::fromLatin1(button.name));
        QStringList lines;
        for (const char *l : button.caption)
            lines << QString::fromUtf8(l);
        b->setCaptionLines(lines);
        b->setFont(arial(button.fontPx, true));
        b->setTextColor(kNavy);
        setTag(b, button.tag);
        setHint(b, QString::fromLatin1(button.hint));
        b->setGeometry(button.geometry);
        if (button.picture)
            b->setGlyph(programPicture(QString::fromLatin1(button.picture)));
        if (button.tag == -99) {
            m_btnZvok = b;
            b->setCheckable(true);
            b->setChecked(true);
            b->setStatePictures(programPicture(QStringLiteral("zvok-up")),
                                programPicture(QStringLiteral("zvok-disabled")),
                                programPicture(QStringLiteral("zvok-pressed")),
                                programPicture(QStringLiteral("zvok-down")));
            connect(b, &FlatButton::toggled, this, [this](bool on) { m_media->setSoundOn(on); });
            b->installEventFilter(this);
        } else {
            connect(b, &FlatButton::clicked, this, [this, b] { ZazeniIgrico(b); });
        }
    }
}

QPixmap TfGlavno::rightMark() const { return m_imgPrav->pixmap(); }
QPixmap TfGlavno::wrongMark() const { return m_imgNarobe->pixmap(); }

int TfGlavno::zamikZvoka() const { return m_media->zamikZvoka(); }

void TfGlavno::ZazeniIgrico(QObject *sender)
{
    const int tag = tagOf(sender);
    if (tag == -99)
        return;
    WaitCursor hourglass;
    if (tag == 0) {
        close();
        return;
    }
    try {
        if (tag == -1)
            (new TfOProgramu(menuBounds()))->show();
        else if (m_launch)
            m_launch(tag, *this);
    } catch (...) {
        // A screen that cannot be created leaves the menu as it was; the hourglass goes.
    }
}

void TfGlavno::editDelay(QPoint globalPos)
{
    int delay = m_media->zamikZvoka();
    if (m_editDelay && m_editDelay(this, globalPos, delay))
        m_media->setZamikZvoka(delay);
}

bool TfGlavno::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_btnZvok && event->type() == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::RightButton) {
            editDelay(me->globalPosition().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfGlavno::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (m_backdrop) {
        if (auto *tma = qobject_cast<TfTma *>(m_backdrop.data()))
            tma->showBehind();
        else
            m_backdrop->show();
        m_backdrop->lower();
    }
    raise();
    activateWindow();
}

void TfGlavno::closeEvent(QCloseEvent *e)
{
    e->accept();
    if (m_backdrop)
        m_backdrop->close();
    emit closed();
}

} // namespace tipsovo
