// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tfoprogramu.h"

#include "widgets/controls.h"
#include "widgets/keyboardchoices.h"

#include <QFile>
#include <QLabel>
#include <QPainter>

namespace tipsovo {

ScrollingList::ScrollingList(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &ScrollingList::step);
}

void ScrollingList::setLines(const QStringList &lines)
{
    m_lines = lines;
    m_offset = 0;
    update();
}

int ScrollingList::contentHeight() const
{
    return QFontMetrics(font()).height() * int(m_lines.size());
}

void ScrollingList::step()
{
    // The text enters at the bottom edge and leaves at the top; after the last line has left,
    // the first one enters again.
    ++m_offset;
    if (m_offset > height() + contentHeight())
        m_offset = 0;
    update();
}

void ScrollingList::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QColor(0, 0, 128));
    p.setFont(font());
    const int lineH = QFontMetrics(font()).height();
    int y = height() - m_offset;
    for (const QString &line : m_lines) {
        if (y + lineH >= 0 && y <= height())
            p.drawText(QRect(4, y, width() - 8, lineH), Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += lineH;
    }
}

QStringList TfOProgramu::creditLines()
{
    QFile f(QStringLiteral(":/credits.txt"));
    QStringList lines;
    if (f.open(QIODevice::ReadOnly))
        lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        lines << QStringLiteral("Tipsovo");
    return lines;
}

TfOProgramu::TfOProgramu(QRect menuBounds, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TfOProgramu"));
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(menuBounds);

    auto *background = new QLabel(this);
    background->setObjectName(QStringLiteral("Image1"));
    background->setPixmap(programPicture(QStringLiteral("about"), {800, 600}));
    background->setGeometry(0, 0, 800, 600);

    auto *small = new QLabel(this);
    small->setObjectName(QStringLiteral("Image2"));
    small->setPixmap(programPicture(QStringLiteral("about-small"), {227, 97}));
    small->setScaledContents(true);
    small->setGeometry(16, height() - 97 - 16, 227, 97);

    const QStringList credits = {
        QStringLiteral("Tipsovo"),
        QStringLiteral("Igrice za prve korake v branje in pisanje"),
        QStringLiteral("Za otroke od pet do sedem let"),
        QStringLiteral("Izdelala ekipa Tipsovo"),
        QStringLiteral("Prosti program pod licenco GPL-3.0-or-later"),
    };
    int top = 40;
    int index = 1;
    for (const QString &text : credits) {
        auto *label = new ShadowLabel(this);
        label->setObjectName(QStringLiteral("Label%1").arg(index++));
        label->setFont(arial(index == 2 ? 34 : 21, true));
        label->setTextColor(QColor(128, 0, 0));
        label->setShadow(Qt::white, {2, 2});
        label->setAlignment(Qt::AlignCenter);
        label->setText(text);
        const int h = label->sizeHint().height() + 4;
        label->setGeometry(0, top, width(), h);
        top += h + (index == 2 ? 14 : 8);
    }

    auto *list = new ScrollingList(this);
    list->setObjectName(QStringLiteral("Panel1"));
    list->setFont(arial(13));
    list->setLines(creditLines());
    list->setGeometry((width() - 250) / 2, 330, 250, 76);
    list->timer().start();

    auto *close = closeButton(this, QStringLiteral("SpeedButton1"),
                              {width() - 100 - 24, height() - 33 - 24, 100, 33});
    connect(close, &FlatButton::clicked, this, &QWidget::close);
    (new KeyboardChoices(this))->setLeaveAction([close] { close->click(); });
}

} // namespace tipsovo
