// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace tipsovo {

// The counting and rolling of a mechanical counter, without any drawing: which part of the
// digit strip each cell shows in each frame of a roll. TOdometer paints what this says.
class OdometerModel {
public:
    enum class Base { Binary, Decimal, Hexadecimal };

    // Glyph cells of the strip, top to bottom: "0".."9", "A".."F", blank.
    static constexpr int GlyphCount = 17;
    static constexpr int BlankGlyph = 16;

    explicit OdometerModel(int glyphHeight = 20);

    int glyphHeight() const { return m_glyphHeight; }

    int digitCount() const { return m_digitCount; }
    bool setDigitCount(int count); // 1..32; false (and nothing changes) otherwise
    Base base() const { return m_base; }
    void setBase(Base base);
    quint32 limit() const { return m_limit; }
    static quint32 limitFor(Base base, int digitCount);

    quint32 value() const { return m_value; }
    // A value above the limit shows its lowest digits, as the cells would (value mod limit+1).
    // Shows the value at once with no roll.
    void setValueAtOnce(quint32 value);
    // Start a roll (frame 0) to the next or previous value; the limit wraps to 0 and back.
    void increment();
    void decrement();

    bool incTopToBottom() const { return m_incTopToBottom; }
    void setIncTopToBottom(bool on) { m_incTopToBottom = on; }

    QString format(quint32 value) const;
    QString oldDigits() const { return m_old; }
    QString newDigits() const { return m_new; }

    // Frames of a roll: 0..glyphHeight; the last shows the new value in full.
    int frame() const { return m_frame; }
    bool rolling() const { return m_frame < m_glyphHeight; }
    // Moves to the next frame; false when the roll has ended (the last frame stays).
    bool advance();
    // Ends the roll where it stands (the next roll starts from the then-current value).
    void stop() { m_frame = m_glyphHeight; }

    static int glyphIndex(QChar c);
    int topGlyph() const;

    // One copy from the strip into a cell: rows [srcY, srcY+height) to [dstY, dstY+height).
    struct Copy {
        int srcY;
        int dstY;
        int height;
        bool operator==(const Copy &) const = default;
    };
    // What cell i (0 = leftmost) shows in the current frame.
    QList<Copy> cellCopies(int i) const;

private:
    void startRoll(const QString &from, bool up);

    int m_glyphHeight;
    int m_digitCount = 8;
    Base m_base = Base::Decimal;
    quint32 m_limit = 99999999;
    quint32 m_value = 0;
    bool m_incTopToBottom = false;
    bool m_up = true; // the roll in progress is an increment
    int m_frame;
    QString m_old, m_new;
};

} // namespace tipsovo
