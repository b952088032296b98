// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/tfzamikzvoka.h"

#include "media/delaysetting.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>

namespace tipsovo {

namespace {
constexpr int kWidth = 150;
constexpr int kHeight = 54;      // the delay's strip
constexpr int kChoiceHeight = 18; // the full-screen choice under it
} // namespace

TfZamikZvoka::TfZamikZvoka(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TfZamikZvoka"));
    setFixedSize(kWidth, kHeight + kChoiceHeight);
    // Small type, so the value fits between "min" and "max" on the dialog's 150 pixels.
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    setFont(small);

    auto *lblMin = new QLabel(QStringLiteral("min"), this);
    lblMin->setObjectName(QStringLiteral("Label2"));
    lblMin->adjustSize();
    lblMin->move(0, 0);

    auto *lblMax = new QLabel(QStringLiteral("max"), this);
    lblMax->setObjectName(QStringLiteral("Label3"));
    lblMax->adjustSize();
    lblMax->move(kWidth - lblMax->width(), 0);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Label1"));
    QFont bold = m_label->font();
    bold.setBold(true);
    m_label->setFont(bold);

    m_trackBar = new QSlider(Qt::Horizontal, this);
    m_trackBar->setObjectName(QStringLiteral("TrackBar1"));
    m_trackBar->setGeometry(0, 14, kWidth, 18);
    m_trackBar->setRange(DelaySetting::kMin, DelaySetting::kMax);
    m_trackBar->setPageStep(50);
    m_trackBar->setTickPosition(QSlider::NoTicks);
    m_trackBar->setCursor(Qt::SizeHorCursor);

    auto *btnOk = new QPushButton(QStringLiteral("Potrdi"), this);
    btnOk->setObjectName(QStringLiteral("Button1"));
    btnOk->setGeometry(0, 32, kWidth / 2, kHeight - 32);
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto *btnCancel = new QPushButton(QStringLiteral("Prekliči"), this);
    btnCancel->setObjectName(QStringLiteral("Button2"));
    btnCancel->setGeometry(kWidth / 2, 32, kWidth - kWidth / 2, kHeight - 32);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Escape rejects through QDialog's own key handling.

    m_fitScreen = new QCheckBox(QStringLiteral("Cel zaslon ob zagonu"), this);
    m_fitScreen->setObjectName(QStringLiteral("cbCelZaslon"));
    m_fitScreen->setGeometry(4, kHeight, kWidth - 8, kChoiceHeight);

    connect(m_trackBar, &QSlider::valueChanged, this, &TfZamikZvoka::showValue);
    showValue(m_trackBar->value());
}

void TfZamikZvoka::paintEvent(QPaintEvent *e)
{
    QDialog::paintEvent(e);
    // Borderless, so it draws its own edge to stand out from the menu picture under it.
    QPainter p(this);
    p.setPen(QColor(0, 0, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

int TfZamikZvoka::value() const { return m_trackBar->value(); }

void TfZamikZvoka::setValue(int delay) { m_trackBar->setValue(delay); }

bool TfZamikZvoka::fitScreen() const { return m_fitScreen->isChecked(); }

void TfZamikZvoka::setFitScreen(bool on) { m_fitScreen->setChecked(on); }

void TfZamikZvoka::showValue(int delay)
{
    m_label->setText(QStringLiteral("Zamik zvoka [%1]").arg(delay));
    m_label->adjustSize();
    // Integer division rounds toward zero, as the layout expects.
    m_label->move((width() - m_label->width()) / 2, 0);
}

bool TfZamikZvoka::edit(QWidget *parent, QPoint globalPos, int &delay)
{
    TfZamikZvoka dialog(parent);
    dialog.move(globalPos);
    dialog.setValue(delay);
    const bool fit = FitSetting::read();
    dialog.setFitScreen(fit);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    delay = dialog.value();
    if (dialog.fitScreen() != fit)
        FitSetting::write(dialog.fitScreen());
    return true;
}

} // namespace tipsovo
