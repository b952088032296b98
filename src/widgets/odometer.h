// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/odometermodel.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

namespace tipsovo {

class Clock;

// A counter in fixed digit cells that rolls a digit over to the next like a mechanical counter.
// Its size follows from the digit strip "DIGITS" (cells of 15 × 20): digitCount cells wide.
//   TOdometer steps; steps.setDigitCount(5); steps.setAnimationType(TOdometer::atAsynchronous);
//   steps.increment(); // returns at once, the cells roll on the control's own timer
// atSynchronous returns only when the roll has ended, waiting between frames through the clock
// (the program's, or a test's); atNone shows the new value at once. Each change abandons the
// roll in progress where it stands.
class TOdometer : public QWidget {
    Q_OBJECT
public:
    enum AnimationType { atNone, atSynchronous, atAsynchronous };
    enum BaseType { btBinary, btDecimal, btHexadecimal };

    // The strip embedded in the program.
    static QString digitsResource() { return QStringLiteral(":/pictures/digits.png"); }

    explicit TOdometer(QWidget *parent = nullptr, Clock *clock = nullptr);
    // A strip of 17 glyph cells stacked top to bottom (for tests and other looks).
    TOdometer(const QImage &strip, QWidget *parent = nullptr, Clock *clock = nullptr);

    AnimationType animationType() const { return m_animation; }
    void setAnimationType(AnimationType type) { m_animation = type; }
    BaseType baseType() const;
    void setBaseType(BaseType base);
    int digitCount() const { return m_model.digitCount(); }
    void setDigitCount(int count); // 1..32; others are ignored
    int frameInterval() const { return m_timer.interval(); }
    void setFrameInterval(int ms); // 0 is taken as 1
    bool incTopToBottom() const { return m_model.incTopToBottom(); }
    void setIncTopToBottom(bool on) { m_model.setIncTopToBottom(on); }

    quint32 value() const { return m_model.value(); }
    // One more or one less rolls; anything else is shown at once (above limit: its lowest digits).
    void setValue(quint32 value);
    quint32 limit() const { return m_model.limit(); }

    void increment();
    void decrement();

    bool rolling() const { return m_model.rolling(); }
    const OdometerModel &model() const { return m_model; }
    // What the control shows now (digitCount cells of the strip).
    const QImage &output() const { return m_output; }
    QSize sizeHint() const override { return m_output.size(); }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    void resizeToCells();
    void drawFrame();
    void roll();

    OdometerModel m_model;
    QImage m_strip;
    QImage m_output;
    QTimer m_timer;
    Clock *m_clock;
    AnimationType m_animation = atSynchronous;
    int m_glyphWidth = 15;
};

} // namespace tipsovo
