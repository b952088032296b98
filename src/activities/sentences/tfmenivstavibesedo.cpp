// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/sentences/tfmenivstavibesedo.h"

#include "activities/sentences/tfvstavibesedo.h"
#include "media/apphost.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "media/mediaservice.h"
#include "media/resourcepack.h"
#include "widgets/controls.h"
#include "widgets/keyboardchoices.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace tipsovo {

namespace {

const QColor kNavy(0, 0, 128);
constexpr int kFrameWidth = 3;

struct ThemeButton {
    const char *name;
    QPoint at;
    const char *caption; // under the picture, and alone when the picture is missing
};
const ThemeButton kThemeButtons[4] = {
    {"BitBtn1", {25, 60}, "KMETIJA"},
    {"BitBtn2", {180, 60}, "PARK"},
    {"BitBtn3", {25, 180}, "ULICA"},
    {"BitBtn5", {180, 180}, "OBALA"},
};

} // namespace

TfMeniVstaviBesedo::TfMeniVstaviBesedo(AppHost &host, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_host(host)
{
    setObjectName(QStringLiteral("TfMeniVstaviBesedo"));
    setWindowTitle(QStringLiteral("Tipsovo"));
    setFixedSize(346, 374);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto *title = new QLabel(QStringLiteral("Izberi igro"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setFont(arial(24, true));
    setTextColour(title, kNavy);
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(kFrameWidth + 1, 12, 346 - 2 * (kFrameWidth + 1), 36); // inside the frame
    setHint(title, QStringLiteral("A40"));

    for (int i = 0; i < 4; ++i) {
        const ThemeButton &t = kThemeButtons[i];
        auto *b = new FlatButton(this);
        b->setObjectName(QString::fromLatin1(t.name));
        b->setCaptionLines({QString::fromLatin1(t.caption)});
        b->setFont(arial(13, true));
        b->setTextColor(kNavy);
        b->setGeometry(QRect(t.at, QSize(140, 108)));
        setTag(b, i + 1);
        connect(b, &FlatButton::clicked, this, [this, i] { BitBtn1Click(i + 1); });
        m_buttons[i] = b;
    }
    auto *zapri = closeButton(this, QStringLiteral("BitBtn4"), {228, 312, 92, 37});
    connect(zapri, &FlatButton::clicked, this, &TfMeniVstaviBesedo::BitBtn4Click);
    m_buttons[4] = zapri;

    m_hover = new HoverSounds(this, host.media(), host.media().zamikZvoka());
    // Escape stays the dialog's own.
    auto *keys = new KeyboardChoices(this);
    connect(keys, &KeyboardChoices::marked, m_hover, &HoverSounds::pointAt);
}

TfMeniVstaviBesedo::~TfMeniVstaviBesedo()
{
    delete m_activity.data();
}

FlatButton *TfMeniVstaviBesedo::button(int number) const
{
    return number >= 1 && number <= 5 ? m_buttons[number - 1] : nullptr;
}

void TfMeniVstaviBesedo::loadPictures()
{
    // The buttons show small renderings of the scenes themselves; a missing pack leaves the
    // captions alone, without an error box in the menu.
    const std::unique_ptr<ResourcePack> pack = m_host.media().openPack(QStringLiteral("VstaviBesedo"));
    if (!pack)
        return;
    for (int i = 0; i < 4; ++i) {
        const QString name = TfVstaviBesedo::slikaTeme(i) + QStringLiteral("-gumb");
        const auto dib = pack->find(ResourceKind::Bitmap, name);
        QImage picture;
        if (!dib || !decodeBitmapResource(*dib, &picture))
            continue;
        m_buttons[i]->setGlyph(QPixmap::fromImage(picture), FlatButton::Glyph::Above);
    }
    m_picturesLoaded = true;
}

void TfMeniVstaviBesedo::showEvent(QShowEvent *e)
{
    if (!m_picturesLoaded)
        loadPictures();
    // Centred on the screen, over whatever is open.
    const QScreen *scr = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (scr) {
        QRect r(QPoint(), size());
        r.moveCenter(scr->geometry().center());
        move(r.topLeft());
    }
    QDialog::showEvent(e);
}

void TfMeniVstaviBesedo::paintEvent(QPaintEvent *e)
{
    QDialog::paintEvent(e);
    // White and borderless, so it draws its own navy edge to stand out from the white screen
    // under it, as the sound-delay dialog does over the menu picture.
    QPainter p(this);
    const int w = width(), h = height(), f = kFrameWidth;
    for (const QRect &edge : {QRect(0, 0, w, f), QRect(0, h - f, w, f), QRect(0, 0, f, h), QRect(w - f, 0, f, h)})
        p.fillRect(edge, kNavy);
}

void TfMeniVstaviBesedo::BitBtn1Click(int number)
{
    if (number < 1 || number > 4)
        return;
    m_hover->timer().stop();
    m_hover->setPending(QString());
    if (!m_activity) {
        m_activity = new TfVstaviBesedo(m_host);
        m_activity->setThemeMenu(this);
    }
    m_activity->setTema(number - 1);
    // A new set of the chosen theme, also when the screen was already open with another.
    m_activity->restartSet();
    m_activity->show();
    m_activity->raise();
    m_activity->activateWindow();
    accept();
}

void TfMeniVstaviBesedo::BitBtn4Click()
{
    if (m_activity) {
        m_activity->setTema(TfVstaviBesedo::kNoTheme);
        // Closing frees the screen once the current event is done (it may be the screen's own
        // KONEC that opened this menu).
        m_activity->close();
        m_activity = nullptr;
    }
    reject();
}

} // namespace tipsovo
