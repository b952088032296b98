// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/travel/tfmesto.h"

#include "media/apphost.h"
#include "media/mediaservice.h"
#include "print/reportpreview.h"
#include "widgets/controls.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace tipsovo {

namespace {

const QColor kNavy(0, 0, 128);
const QString kPack = QStringLiteral("MESTA");

// The text box writes in its Text colour, the labels in WindowText: both the same.
void setTextAndEditColour(QWidget *w, const QColor &c)
{
    setTextColour(w, c);
    QPalette p = w->palette();
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

} // namespace

TfMesto::TfMesto(AppHost &host, const KacaModel &model, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_host(host), m_model(model)
{
    setObjectName(QStringLiteral("TfMesto"));
    setWindowTitle(QStringLiteral("Tipsovo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(host.menuBounds());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);

    m_lblMesto = new QLabel(this);
    m_lblMesto->setObjectName(QStringLiteral("lblMesto"));
    m_lblMesto->setFont(arial(24, true));
    m_lblMesto->setAlignment(Qt::AlignCenter);
    setTextAndEditColour(m_lblMesto, kNavy);
    m_lblMesto->setGeometry(14, 14, width() - 28, 41);

    m_mmoMesto = new QPlainTextEdit(this);
    m_mmoMesto->setObjectName(QStringLiteral("mmoMesto"));
    m_mmoMesto->setReadOnly(true);
    m_mmoMesto->setFrameShape(QFrame::NoFrame);
    m_mmoMesto->setFont(arial(16, true));
    m_mmoMesto->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mmoMesto->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextAndEditColour(m_mmoMesto, kNavy);
    m_mmoMesto->setGeometry(23, 97, 218, 424);
    m_mmoMesto->installEventFilter(this);

    m_imgSlika = new QLabel(this);
    m_imgSlika->setObjectName(QStringLiteral("imgSlika"));
    m_imgSlika->setGeometry(264, 97, 511, 360);
    m_imgSlika->setAlignment(Qt::AlignCenter);

    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("comboMesta"));
    m_combo->setGeometry(16, 64, 233, 24);
    m_combo->hide();
    m_combo->installEventFilter(this);
    connect(m_combo, &QComboBox::activated, this, &TfMesto::comboMestaChange);

    m_btnSkrij = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                 QStringLiteral("Skrij"), this);
    m_btnSkrij->setObjectName(QStringLiteral("btnSkrij"));
    m_btnSkrij->setGeometry(247, 63, 44 + 30, 22);
    m_btnSkrij->hide();
    m_btnSkrij->installEventFilter(this);
    connect(m_btnSkrij, &QPushButton::clicked, this, &TfMesto::btnSkrijClick);

    auto button = [this](const char *name, const char *caption, const char *picture, int left) {
        auto *b = new FlatButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setCaptionLines({QString::fromLatin1(caption)});
        b->setFont(arial(13, true));
        b->setTextColor(kNavy);
        b->setGlyph(programPicture(QString::fromLatin1(picture)), FlatButton::Glyph::Left);
        b->setGeometry(left, 504, 100, 32);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    m_natisni = button("SpeedButton1", "NATISNI", "cmd-natisni", 556);
    m_zapri = button("SpeedButton3", "ZAPRI", "cmd-konec", 671);
    connect(m_natisni, &FlatButton::clicked, this, &TfMesto::SpeedButton1Click);
    connect(m_zapri, &FlatButton::clicked, this, &QWidget::close);
}

TfMesto::~TfMesto() = default;

void TfMesto::showTown(int index)
{
    if (index < 0 || index >= m_model.towns().size())
        return;
    m_town = m_model.towns().at(index);
    m_lblMesto->setText(m_town.display);
    MediaService &media = m_host.media();
    // A town without a text keeps what the card showed before.
    QStringList lines;
    if (media.NaloziSeznam(kPack, m_town.resource, lines)) {
        m_text = lines;
        m_mmoMesto->setPlainText(lines.join(u'\n'));
    }
    // A missing pack leaves the picture as it was; a missing picture is reported.
    media.NaloziSliko(kPack, m_town.resource, m_picture);
    m_imgSlika->setPixmap(QPixmap::fromImage(m_picture));
}

void TfMesto::comboMestaChange(int item)
{
    const QString name = m_combo->itemText(item);
    for (int i = 0; i < m_model.towns().size(); ++i) {
        if (m_model.towns().at(i).display == name)
            showTown(i);
    }
}

void TfMesto::btnSkrijClick()
{
    m_typed.clear();
    m_combo->hide();
    m_btnSkrij->hide();
}

TownSheet TfMesto::worksheet()
{
    TownSheet sheet;
    if (m_town.resource.isEmpty())
        return sheet;
    sheet.title = m_lblMesto->text();
    MediaService &media = m_host.media();
    media.NaloziSeznam(kPack, m_town.resource, sheet.text);
    media.NaloziSliko(kPack, m_town.resource, sheet.picture);
    return sheet;
}

void TfMesto::SpeedButton1Click()
{
    // No town on the card yet: nothing to print.
    if (m_town.resource.isEmpty())
        return;
    // The hourglass stays over the open preview and goes when it closes.
    BusyCursor busy;
    previewReport(TqrKaca(worksheet()), this);
}

void TfMesto::typed(QKeyEvent *e)
{
    // Only keys pressed while Ctrl is held count.
    if (!(e->modifiers() & Qt::ControlModifier) && e->key() != Qt::Key_Control)
        return;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        m_typed.clear();
        return;
    }
    // The key's code as a character: letter keys give their letter, Ctrl itself a control
    // character.
    const int key = e->key();
    QChar c;
    if (key == Qt::Key_Control)
        c = QChar(0x11);
    else if (key < 0x100)
        c = QChar(key);
    else
        c = QChar(0x1a);
    m_typed = (m_typed + c).toLower();
    if (m_typed.contains(QLatin1String(kCodeWord))) {
        m_combo->clear();
        for (const Town &t : m_model.towns())
            m_combo->addItem(t.display);
        m_combo->show();
        m_btnSkrij->show();
    }
}

void TfMesto::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    // The card takes the keyboard, so the chooser's code word reaches it.
    activateWindow();
    setFocus();
}

void TfMesto::keyPressEvent(QKeyEvent *e)
{
    typed(e);
    QWidget::keyPressEvent(e);
}

bool TfMesto::eventFilter(QObject *watched, QEvent *event)
{
    // The card sees every key first, also while the chooser or the text has the focus.
    if (event->type() == QEvent::KeyPress)
        typed(static_cast<QKeyEvent *>(event));
    return QWidget::eventFilter(watched, event);
}

} // namespace tipsovo
