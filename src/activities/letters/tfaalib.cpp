// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfaalib.h"

#include "media/apphost.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "media/mediaservice.h"
#include "widgets/controls.h"
#include "widgets/keyboardchoices.h"

#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

namespace tipsovo {

namespace {

constexpr int kWidth = 349;
constexpr int kHeight = 313;
const QColor kNavy(0, 0, 128);
const QColor kLightYellow(255, 255, 170);
// The pictures of LAŽJA and TEŽJA are fitted into this box above the caption.
constexpr int kPictureBox = 96;

TfAaliB *g_instance = nullptr;

// A bevelled plate behind a button, so the buttons read as buttons on the plain dialog even
// while their pictures are missing.
QFrame *raisedPlate(QWidget *parent, const QRect &geometry)
{
    auto *plate = new QFrame(parent);
    plate->setFrameStyle(QFrame::Panel | QFrame::Raised);
    plate->setLineWidth(2);
    plate->setGeometry(geometry);
    return plate;
}

void setNavy(QWidget *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, kNavy);
    p.setColor(QPalette::ButtonText, kNavy);
    w->setPalette(p);
}

} // namespace

TfAaliB::TfAaliB(QWidget *parent, AppHost *host)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    if (!g_instance)
        g_instance = this;
    setObjectName(QStringLiteral("TfAaliB"));
    setFixedSize(kWidth, kHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kLightYellow);
    setPalette(pal);
    setAutoFillBackground(true);

    auto *heading = new QLabel(QStringLiteral("Izberi"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setFont(arial(21, true));
    setNavy(heading);
    heading->adjustSize();
    heading->move((kWidth - heading->width()) / 2, 25);

    auto *strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("Panel1"));
    strip->setFrameStyle(QFrame::Panel | QFrame::Raised);
    strip->setLineWidth(1);
    strip->setGeometry(20, 56, 309, 24);
    auto radio = [strip](const char *name, const QString &caption, const QString &hint,
                         int left) {
        auto *r = new QRadioButton(caption, strip);
        r->setObjectName(QString::fromLatin1(name));
        r->setFont(arial(13, true));
        setNavy(r);
        r->setCursor(Qt::PointingHandCursor);
        r->setFocusPolicy(Qt::NoFocus);
        r->setGeometry(left - strip->x(), 59 - strip->y(), 140, 19);
        setHint(r, hint);
        return r;
    };
    m_capitals = radio("RadioButton1", QStringLiteral("VELIKE ČRKE"), QStringLiteral("A32"), 29);
    m_small = radio("RadioButton2", QStringLiteral("male črke"), QStringLiteral("A33"), 181);
    m_capitals->setChecked(true);

    auto *lazja = bigButton("BitBtn1", QStringLiteral("LAŽJA"), QStringLiteral("lazja"),
                            QStringLiteral("A30"), 28);
    connect(lazja, &FlatButton::clicked, this, [this] { choose(Choice::Easier); });
    auto *tezja = bigButton("BitBtn2", QStringLiteral("TEŽJA"), QStringLiteral("tezja"),
                            QStringLiteral("A31"), 181);
    connect(tezja, &FlatButton::clicked, this, [this] { choose(Choice::Harder); });

    auto *close = closeButton(this, QStringLiteral("BitBtn4"), {231, 240, 91, 37});
    setHint(close, QStringLiteral("A14"));
    connect(close, &FlatButton::clicked, this, [this] { choose(Choice::Close); });

    // Escape (or any other way of closing) leaves the choice at None.
    if (!host)
        host = AppHost::instance();
    if (host)
        m_hover = new HoverSounds(this, host->media(), host->media().zamikZvoka());
    // Escape stays the dialog's own: it closes without a choice.
    auto *keys = new KeyboardChoices(this);
    if (m_hover)
        connect(keys, &KeyboardChoices::marked, m_hover, &HoverSounds::pointAt);
}

TfAaliB::~TfAaliB()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TfAaliB *TfAaliB::instance() { return g_instance; }

FlatButton *TfAaliB::bigButton(const char *name, const QString &caption, const QString &picture,
                               const QString &hint, int left)
{
    const QRect geometry(left, 82, 141, 139);
    raisedPlate(this, geometry);
    auto *b = new FlatButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setCaptionLines({caption});
    b->setFont(arial(20, true));
    b->setTextColor(kNavy);
    QPixmap pm = programPicture(picture);
    if (!pm.isNull() && (pm.width() > kPictureBox || pm.height() > kPictureBox))
        pm = pm.scaled(kPictureBox, kPictureBox, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    b->setGlyph(pm, FlatButton::Glyph::Above); // caption only while the picture is missing
    b->setGeometry(geometry);
    setHint(b, hint);
    return b;
}

TfAaliB::Choice TfAaliB::ask()
{
    exec();
    return m_choice;
}

QString TfAaliB::difficultyCode(Choice c)
{
    switch (c) {
    case Choice::Easier:
        return QStringLiteral("A");
    case Choice::Harder:
        return QStringLiteral("B");
    default:
        return {};
    }
}

bool TfAaliB::capitals() const { return m_capitals->isChecked(); }

void TfAaliB::setCapitals(bool on)
{
    if (on)
        m_capitals->setChecked(true);
    else
        m_small->setChecked(true);
}

void TfAaliB::choose(Choice c)
{
    m_choice = c;
    if (c == Choice::Close)
        reject();
    else
        accept();
}

void TfAaliB::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    // Every showing asks afresh; the letter-case option stays as it was left.
    m_choice = Choice::None;
    if (QScreen *s = screen())
        move(s->geometry().center() - rect().center());
    // Above the activity screen that asks, not only above the menu it belongs to.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) {
            raise();
            activateWindow();
        }
    });
}

} // namespace tipsovo
