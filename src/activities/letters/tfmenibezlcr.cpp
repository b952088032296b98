// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfmenibezlcr.h"

#include "activities/common/activityscreen.h"
#include "activities/letters/tfbesede.h"
#include "activities/letters/tfcrke.h"
#include "activities/letters/tfzlogi.h"
#include "media/apphost.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "media/mediaservice.h"
#include "widgets/controls.h"
#include "widgets/keyboardchoices.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace tipsovo {

namespace {

const QColor kNavy(0, 0, 128);

struct ChoiceSpec {
    const char *picture;
    const char *caption; // shown when the picture is missing, so the button is never empty
    const char *hint;
    int left;
};
const ChoiceSpec kChoices[3] = {
    {"chooser-besede", "BESEDE", "A11", 25},
    {"chooser-zlogi", "ZLOGI", "A12", 153},
    {"chooser-crke", "ČRKE", "A13", 281},
};

// Takes every override cursor off while it lives and puts them back afterwards, so the menu's
// hourglass neither hides the hand pointers of the chooser and its screens nor gets lost.
class PausedOverrideCursors {
public:
    PausedOverrideCursors()
    {
        while (const QCursor *c = QGuiApplication::overrideCursor()) {
            m_saved.prepend(*c);
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~PausedOverrideCursors()
    {
        for (const QCursor &c : m_saved)
            QGuiApplication::setOverrideCursor(c);
    }
    PausedOverrideCursors(const PausedOverrideCursors &) = delete;
    PausedOverrideCursors &operator=(const PausedOverrideCursors &) = delete;

private:
    QList<QCursor> m_saved;
};

} // namespace

TfMeniBeZlCr::TfMeniBeZlCr(AppHost &host, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_host(host)
{
    setObjectName(QStringLiteral("TfMeniBeZlCr"));
    setWindowTitle(QStringLiteral("Tipsovo"));
    setFixedSize(419, 206);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 170));
    setPalette(pal);
    setAutoFillBackground(true);

    auto *title = new QLabel(QStringLiteral("Izberi igro"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setFont(arial(24, true));
    setTextColour(title, kNavy);
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, 14, 419, 36);

    for (int i = 0; i < 3; ++i) {
        const ChoiceSpec &c = kChoices[i];
        auto *b = new FlatButton(this);
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        b->setGeometry(c.left, 63, 113, 65);
        QPixmap picture = programPicture(QString::fromLatin1(c.picture));
        if (!picture.isNull() && picture.width() > 80)
            picture = picture.scaledToWidth(80, Qt::SmoothTransformation);
        if (picture.isNull()) {
            b->setCaptionLines({QString::fromUtf8(c.caption)});
            b->setFont(arial(18, true));
            b->setTextColor(kNavy);
        } else {
            b->setGlyph(picture);
        }
        // A picture alone says nothing to a screen reader: the caption names it.
        b->setAccessibleName(QString::fromUtf8(c.caption));
        setTag(b, i + 1);
        setHint(b, QString::fromLatin1(c.hint));
        m_buttons[i] = b;
    }
    auto *zapri = closeButton(this, QStringLiteral("BitBtn1"), {303, 148, 91, 37});
    setTag(zapri, 4);
    m_buttons[3] = zapri;

    for (FlatButton *b : m_buttons)
        connect(b, &FlatButton::clicked, this, [this, b] { ZazeniPodigo(tagOf(b)); });

    m_hover = new HoverSounds(this, host.media(), host.media().zamikZvoka());
    auto *keys = new KeyboardChoices(this);
    keys->setLeaveAction([zapri] { zapri->click(); });
    connect(keys, &KeyboardChoices::marked, m_hover, &HoverSounds::pointAt);
}

TfMeniBeZlCr::~TfMeniBeZlCr()
{
    if (m_loop)
        m_loop->quit();
}

FlatButton *TfMeniBeZlCr::button(int tag) const
{
    return tag >= 1 && tag <= 4 ? m_buttons[tag - 1] : nullptr;
}

void TfMeniBeZlCr::Izberi(AppHost &host, QWidget *parent)
{
    TfMeniBeZlCr chooser(host, parent);
    chooser.exec();
}

void TfMeniBeZlCr::exec()
{
    if (m_loop)
        return;
    PausedOverrideCursors normalPointer;
    setWindowModality(Qt::ApplicationModal);
    const QScreen *scr = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (scr) {
        QRect r(QPoint(), size());
        r.moveCenter(scr->geometry().center());
        move(r.topLeft());
    }
    show();
    raise();
    activateWindow();

    QEventLoop loop;
    m_loop = &loop;
    QPointer<TfMeniBeZlCr> alive(this);
    loop.exec(QEventLoop::DialogExec);
    if (!alive)
        return;
    m_loop = nullptr;
    hide();
}

void TfMeniBeZlCr::ZazeniPodigo(int tag)
{
    if (tag == 4) {
        close();
        return;
    }
    if (m_screen)
        return; // one screen at a time
    ActivityScreen *screen = nullptr;
    switch (tag) {
    case 1:
        screen = new TfBesede(m_host);
        break;
    case 2:
        screen = new TfZlogi(m_host);
        break;
    case 3:
        screen = new TfCrke(m_host);
        break;
    default:
        return;
    }
    m_screen = screen;
    connect(screen, &QObject::destroyed, this, &TfMeniBeZlCr::screenClosed);
    // A button's hover sound must not start over the screen once the chooser has gone.
    m_hover->timer().stop();
    m_hover->setPending(QString());
    // The chooser keeps the main menu out of reach while it is hidden: the screen takes over.
    screen->setWindowModality(Qt::ApplicationModal);
    hide();
    screen->show();
    screen->raise();
    screen->activateWindow();
}

void TfMeniBeZlCr::screenClosed()
{
    m_screen = nullptr;
    if (!m_loop)
        return;
    show();
    raise();
    activateWindow();
}

void TfMeniBeZlCr::closeEvent(QCloseEvent *e)
{
    QWidget::closeEvent(e);
    if (m_screen)
        m_screen->close();
    if (m_loop)
        m_loop->quit();
}

} // namespace tipsovo
