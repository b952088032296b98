// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/worksheets.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace tipsovo {

namespace {

using Kind = PictureCardSheet::Kind;

constexpr int kCardLeft = 165;
constexpr int kCardTops[4] = {105, 334, 564, 793};
constexpr QSize kCard(387, 192);
constexpr QPoint kShadowOffset(8, 8);
constexpr QPoint kPictureOffset(14, 15); // from the card's corner: 179, T + 15
constexpr QSize kPicture(120, 120);

QFont arialPx(int px, bool bold = false) { return reportFont(QStringLiteral("Arial"), px, bold); }

// A text cell of a picture card before it becomes a field of the report.
struct CardField {
    int tag;
    QPointF at; // the field's top-left corner
    QString text;
    QColor colour;
    QFont font;
    bool letterRow;
};

// What of a card's field is inked, from the field's top-left corner: the field grows to its
// text from 15 px wide and centres it, its baseline at the font's ascent.
QRectF offerInk(const QString &text, const QFont &font)
{
    const QFontMetricsF fm(font);
    const qreal advance = fm.horizontalAdvance(text);
    const qreal width = std::max<qreal>(15, std::ceil(advance));
    return fm.tightBoundingRect(text).translated((width - advance) / 2, fm.ascent());
}

constexpr qreal kOfferInset = 6;  // from the card's edge (or the picture) to an offer's ink
constexpr qreal kBlankGap = 3;    // between the blanks of neighbouring letter places

// Positions along one axis, with the ink of each from `lo` to `hi` past its position, brought
// between `from` and `to`: moved as a whole where they fit, otherwise drawn closer together
// about the first one just as far as needed, so their order and proportions stay.
void fitAxis(std::vector<qreal> &pos, const std::vector<qreal> &lo, const std::vector<qreal> &hi,
             qreal from, qreal to)
{
    if (pos.empty())
        return;
    const qreal origin = *std::min_element(pos.begin(), pos.end());
    auto extent = [&](qreal k) {
        qreal a = std::numeric_limits<qreal>::max(), b = std::numeric_limits<qreal>::lowest();
        for (std::size_t i = 0; i < pos.size(); ++i) {
            const qreal p = origin + (pos[i] - origin) * k;
            a = std::min(a, p + lo[i]);
            b = std::max(b, p + hi[i]);
        }
        return std::pair(a, b);
    };
    auto span = [&](qreal k) {
        const auto [a, b] = extent(k);
        return b - a;
    };
    qreal k = 1;
    if (span(1) > to - from) {
        qreal fits = 0, fails = 1;
        for (int i = 0; i < 40; ++i) {
            const qreal mid = (fits + fails) / 2;
            (span(mid) <= to - from ? fits : fails) = mid;
        }
        k = fits;
    }
    const auto [a, b] = extent(k);
    const qreal shift = a < from ? from - a : b > to ? to - b : 0;
    for (qreal &p : pos)
        p = origin + (p - origin) * k + shift;
}

struct OfferInk {
    QPointF at;
    QRectF ink; // from `at`
};

void fitOffers(std::vector<OfferInk> &offers, const QRectF &inside)
{
    std::vector<qreal> x, y, left, right, top, bottom;
    for (const OfferInk &o : offers) {
        x.push_back(o.at.x());
        y.push_back(o.at.y());
        left.push_back(o.ink.left());
        right.push_back(o.ink.right());
        top.push_back(o.ink.top());
        bottom.push_back(o.ink.bottom());
    }
    fitAxis(x, left, right, inside.left(), inside.right());
    fitAxis(y, top, bottom, inside.top(), inside.bottom());
    for (std::size_t i = 0; i < offers.size(); ++i)
        offers[i].at = QPointF(x[i], y[i]);
}

// The least distance between neighbouring letter places of card q.
qreal letterPitch(const std::vector<CardField> &fields, int q)
{
    std::vector<qreal> xs;
    for (const CardField &f : fields)
        if (f.letterRow && f.tag / 1000 == q)
            xs.push_back(f.at.x());
    std::sort(xs.begin(), xs.end());
    qreal pitch = std::numeric_limits<qreal>::max();
    for (std::size_t i = 1; i < xs.size(); ++i)
        if (xs[i] > xs[i - 1])
            pitch = std::min(pitch, xs[i] - xs[i - 1]);
    return pitch;
}

// A blank to write one letter on: the "_" of the field at `at`, where its glyph would stand,
// shortened to leave a gap to the next place.
void addBlank(Report &r, int tag, QPointF at, const QFont &font, qreal pitch)
{
    const QFontMetricsF fm(font);
    const QString mark = QStringLiteral("_");
    const QRectF glyph = fm.tightBoundingRect(mark);
    const qreal fieldWidth = std::max<qreal>(15, std::ceil(fm.horizontalAdvance(mark)));
    const qreal width = std::min(glyph.width(), pitch - kBlankGap);
    const qreal height = std::max<qreal>(1.5, glyph.height());
    const QRectF line(at.x() + (fieldWidth - width) / 2, at.y() + fm.ascent() + glyph.top(),
                      width, height);
    r.addRectangle(line, Qt::black, Qt::black).name = QStringLiteral("Crta%1").arg(tag);
}

Report::Text &addHeading(Report &r, const QString &name, const QRectF &rect, const QString &text,
                         int px, Qt::Alignment alignment)
{
    Report::Text &t = r.addText(rect, text);
    t.name = name;
    t.font = arialPx(px, true);
    t.alignment = alignment;
    return t;
}

const WorksheetCell *findCell(const QList<WorksheetCell> &cells, int tag)
{
    for (const WorksheetCell &c : cells)
        if (c.tag == tag)
            return &c;
    return nullptr;
}

// A field the insert-word layout creates while printing: it grows from 58 × 17, is
// left-aligned on a white ground and wraps.
Report::Text &addPrintedField(Report &r, QPointF at, const QString &text, const QFont &font)
{
    Report::Text &t = r.addText(QRectF(at, QSizeF(58, 17)), text);
    t.font = font;
    t.autoSize = true;
    t.wordWrap = true;
    t.transparent = false;
    t.ground = Qt::white;
    return t;
}

Report insertWordLayout(const QString &title, const QString &instruction, const QImage &picture,
                        Report::PictureMode mode)
{
    Report r(title, QSizeF(718, 1048));
    r.setDefaultFont(arialPx(13));
    Report::Text &heading = addHeading(r, QStringLiteral("qrlblNaslov"), QRectF(0, 16, 718, 25),
                                       instruction, 21, Qt::AlignHCenter);
    heading.wordWrap = true;
    heading.transparent = false;
    r.addPicture(QRectF(8, 56, 702, 402), picture, mode).name = QStringLiteral("QRImage1");
    return r;
}

const char16_t *const kPovedi[20][4] = {
#include "print/oznacipovedi.inc"
};

} // namespace

QString pictureCardTitle(Kind kind)
{
    switch (kind) {
    case Kind::Words: return QStringLiteral("TIPSOVO - Besede");
    case Kind::Syllables: return QStringLiteral("TIPSOVO - Zlogi");
    case Kind::Letters: return QStringLiteral("TIPSOVO - Črke");
    case Kind::ComposeSyllables: return QStringLiteral("TIPSOVO - Sestavi zloge");
    case Kind::SwapLetters: return QStringLiteral("TIPSOVO - Zamenjaj napačne črke");
    }
    return {};
}

QString pictureCardInstruction(Kind kind)
{
    switch (kind) {
    case Kind::Words: return QStringLiteral("POIŠČI BESEDO, KI JE ENAKA BESEDI POD SLIKO!");
    case Kind::Syllables:
        return QStringLiteral("POIŠČI DEL BESEDE, KI JE OZNAČEN V BESEDI POD SLIKO!");
    case Kind::Letters:
        return QStringLiteral("POIŠČI ČRKE, KI SO ENAKE KOT OZNAČENA ČRKA NA LEVI!");
    case Kind::ComposeSyllables: return QStringLiteral("IZ ZLOGOV SESTAVI BESEDE!");
    case Kind::SwapLetters: return QStringLiteral("V BESEDAH ZAMENJAJ NAPAČNE ČRKE!");
    }
    return {};
}

Report TqrBesede(const PictureCardSheet &sheet)
{
    const Kind kind = sheet.kind;
    Report r(pictureCardTitle(kind), QSizeF(718, 1050));
    r.setDefaultFont(arialPx(19));

    const QString instruction =
        sheet.instruction.isEmpty() ? pictureCardInstruction(kind) : sheet.instruction;
    Report::Text &heading = addHeading(r, QStringLiteral("QRLabel1"), QRectF(0, 16, 718, 25),
                                       instruction, 21, Qt::AlignHCenter);
    heading.wordWrap = true;
    heading.transparent = false;

    // Compose syllables and swap letters have one row more of offer places: taller cards.
    const bool tall = kind == Kind::ComposeSyllables || kind == Kind::SwapLetters;
    const QSize card(kCard.width(), tall ? 202 : kCard.height());
    QRectF pictures[4];
    for (int q = 0; q < 4; ++q) {
        const QPoint corner(kCardLeft, kCardTops[q]);
        r.addRectangle(QRectF(corner + kShadowOffset, card), QColor(192, 192, 192),
                       QColor(192, 192, 192))
            .name = QStringLiteral("QRShape%1").arg(2 * q + 2);
        r.addRectangle(QRectF(corner, card), Qt::white, Qt::black).name =
            QStringLiteral("QRShape%1").arg(2 * q + 1);
        pictures[q] = QRectF(corner + kPictureOffset, kPicture);
        // Swap letters stretches its pictures to the box. The compose-syllables screen shows
        // its larger pictures whole, so the card scales them down into the box rather than
        // cutting them off; the other screens' pictures are the box's size.
        const QImage &picture = sheet.pictures[q];
        Report::PictureMode mode = Report::PictureMode::AtSize;
        if (kind == Kind::SwapLetters)
            mode = Report::PictureMode::Stretch;
        else if (kind == Kind::ComposeSyllables
                 && (picture.width() > kPicture.width() || picture.height() > kPicture.height()))
            mode = Report::PictureMode::ScaleToFit;
        r.addPicture(pictures[q], picture, mode).name = QStringLiteral("QRImage%1").arg(q + 1);
    }

    // The tops of the offer places the swap-letters cards are measured from.
    constexpr int kSwapReference[4] = {1103, 2108, 3106, 4106};

    // The fields as the screen's places put them; added once the offers are fitted.
    std::vector<CardField> fields;
    for (const WorksheetCell &cell : sheet.cells) {
        const int q = cell.tag / 1000;
        const int rest = cell.tag % 1000;
        if (q < 1 || q > 4 || rest < 1)
            continue;
        const QRectF &pic = pictures[q - 1];
        const qreal cardTop = kCardTops[q - 1];
        const bool letterRow = rest < 100;
        QPointF at;
        if (letterRow) {
            const WorksheetCell *first = findCell(sheet.cells, q * 1000 + 1);
            const int dx = first ? cell.pos.x() - first->pos.x() : 0;
            at = QPointF(pic.left() + dx, pic.bottom() + 10);
        } else {
            const WorksheetCell *first = findCell(sheet.cells, q * 1000 + 101);
            const int dx = first ? cell.pos.x() - first->pos.x() : 0;
            const qreal x = pic.right() + 50 + dx;
            if (kind == Kind::ComposeSyllables) {
                const int dy = first ? cell.pos.y() - first->pos.y() : 0;
                at = QPointF(x, cardTop + dy);
            } else if (kind == Kind::SwapLetters) {
                const WorksheetCell *top = findCell(sheet.cells, kSwapReference[q - 1]);
                const int dy = top ? cell.pos.y() - top->pos.y() : 0;
                at = QPointF(x, cardTop + dy);
            } else {
                const int dy = first ? cell.pos.y() - first->pos.y() : 0;
                at = QPointF(x, pic.top() + 20 + dy);
            }
        }

        QString text = cell.text;
        QColor colour = Qt::black;
        bool underline = false;
        if (letterRow) {
            switch (kind) {
            case Kind::Words:
                colour = cell.colour;
                break;
            case Kind::Syllables:
            case Kind::Letters:
                colour = cell.colour;
                // Red alone turns to a grey like black's on a black-and-white printer; the
                // underline tells the marked letters all the same.
                underline = cell.colour == QColor(255, 0, 0);
                break;
            case Kind::ComposeSyllables:
                text = QStringLiteral("_"); // the word is to be written in
                break;
            case Kind::SwapLetters:
                break;
            }
        }
        QFont font = reportFont(QStringLiteral("Courier New"), cell.pixelSize, true);
        font.setUnderline(underline);
        fields.push_back({cell.tag, at, text, colour, font, letterRow});
    }

    // The screens scatter their offers over panels taller than a card, up to their edges:
    // each card's offers keep their arrangement but are brought inside the card, clear of its
    // outline and of the picture.
    if (tall) {
        for (int q = 1; q <= 4; ++q) {
            std::vector<OfferInk> offers;
            std::vector<CardField *> owners;
            for (CardField &f : fields)
                if (!f.letterRow && f.tag / 1000 == q && !f.text.isEmpty()) {
                    offers.push_back({f.at, offerInk(f.text, f.font)});
                    owners.push_back(&f);
                }
            const QRectF inside(QPointF(pictures[q - 1].right() + kOfferInset,
                                        kCardTops[q - 1] + kOfferInset),
                                QPointF(kCardLeft + card.width() - kOfferInset,
                                        kCardTops[q - 1] + card.height() - kOfferInset));
            fitOffers(offers, inside);
            for (std::size_t i = 0; i < offers.size(); ++i)
                owners[i]->at = offers[i].at;
        }
    }

    for (const CardField &f : fields) {
        // Blanks side by side would join into one line: each letter place gets a line of its
        // own, where the "_" would stand but a little shorter than the distance between places.
        if (f.letterRow && f.text == QStringLiteral("_")) {
            addBlank(r, f.tag, f.at, f.font, letterPitch(fields, f.tag / 1000));
            continue;
        }
        // Added last, so every field lies above the cards.
        Report::Text &t = r.addText(QRectF(f.at, QSizeF(15, 28)), f.text);
        t.name = QStringLiteral("Label%1").arg(f.tag);
        t.tag = f.tag;
        t.font = f.font;
        t.colour = f.colour;
        t.alignment = Qt::AlignHCenter;
        t.autoSize = true;
    }
    return r;
}

Report TqrUganiBesedo(const GuessWordSheet &sheet)
{
    Report r = insertWordLayout(QStringLiteral("TIPSOVO - Ugani besedo"),
                                QStringLiteral("UGANI BESEDO"), sheet.picture,
                                Report::PictureMode::Center);
    for (const GuessWordSheet::Label &l : sheet.labels) {
        if (l.name.size() > 3 || l.name.isEmpty())
            continue;
        const bool slot = l.name.startsWith(QLatin1Char('l'));
        const bool tile = l.name.startsWith(QLatin1Char('d'));
        if (!slot && !tile)
            continue;
        // Character number Tag of the joined texts; nothing where they are shorter.
        const QString &source = slot ? sheet.patternText : sheet.tileText;
        const QString text = l.tag >= 1 && l.tag <= source.size() ? QString(source.at(l.tag - 1))
                                                                   : QString();
        const QPointF at = slot ? QPointF(l.pos.x() + 150, l.pos.y() + 80)
                                : QPointF(l.pos.x() - 200, l.pos.y() + 500);
        QFont font = r.defaultFont();
        font.setPixelSize(l.pixelSize);
        Report::Text &t = addPrintedField(r, at, text, font);
        t.name = l.name;
        t.tag = l.tag;
    }
    return r;
}

Report TqrVstaviBesedo(const InsertWordSheet &sheet)
{
    Report r = insertWordLayout(QStringLiteral("TIPSOVO - Vstavi besedo"),
                                QStringLiteral("Na črte v stavkih napiši pravilno besedo!"),
                                sheet.scene, Report::PictureMode::Stretch);
    const QFont twelvePoint = arialPx(16);
    constexpr int kWordColumns[4] = {340, 440, 540, 640};
    for (int i = 1; i <= 10 && i <= sheet.sentences.size(); ++i) {
        const InsertWordSheet::Sentence &s = sheet.sentences.at(i - 1);
        const qreal y = 480 + 35 * i;
        addPrintedField(r, QPointF(8, y), s.besedilo, twelvePoint);
        for (int k = 0; k < 4; ++k)
            addPrintedField(r, QPointF(kWordColumns[k], y), s.izbire.value(k), twelvePoint);
    }
    return r;
}

QString writingLine(const QString &word)
{
    QStringList marks;
    for (int i = 0; i < word.size(); ++i)
        marks << QStringLiteral("_");
    return marks.join(QLatin1Char(' '));
}

Report TqrKjeJeCrka(const WhereIsTheLetterSheet &sheet)
{
    Report r(QStringLiteral("TIPSOVO - Kje je črka?"), QSizeF(718, 1048));
    r.setDefaultFont(arialPx(13));
    addHeading(r, QStringLiteral("QRLabel1"), QRectF(169, 48, 321, 33),
               QStringLiteral("OZNAČI, KJE SE POJAVI ČRKA"), 21, Qt::AlignLeft);
    addHeading(r, QStringLiteral("qrlblCrka"), QRectF(488, 42, 37, 33), sheet.letter, 27,
               Qt::AlignHCenter);
    addHeading(r, QStringLiteral("QRLabel4"), QRectF(531, 48, 10, 33), QStringLiteral("."), 21,
               Qt::AlignLeft)
        .autoSize = true;
    addHeading(r, QStringLiteral("QRLabel3"), QRectF(7, 80, 705, 33),
               QStringLiteral("POIŠČI TUDI PRAVO BESEDO IN JO NAPIŠI POD SLIKO!"), 21,
               Qt::AlignHCenter);
    r.addPicture(QRectF(209, 136, 300, 300), sheet.picture, Report::PictureMode::ScaleToFit).name =
        QStringLiteral("QRImage1");
    Report::Text &line = r.addText(QRectF(10, 460, 697, 43), writingLine(sheet.word));
    line.name = QStringLiteral("qrlblCrte");
    line.font = arialPx(37);
    line.alignment = Qt::AlignHCenter;

    // The picture's word and the seven others, before one swap.
    QStringList texts{sheet.word};
    for (int k = 0; k < 7; ++k)
        texts << sheet.otherWords.value(k);
    const int swapWith = 1 + std::clamp(sheet.swapPlace, 0, 5); // QRLabel6 … QRLabel11
    std::swap(texts[0], texts[swapWith]);

    const QString names[8] = {QStringLiteral("QRLabelX"), QStringLiteral("QRLabel6"),
                              QStringLiteral("QRLabel7"), QStringLiteral("QRLabel8"),
                              QStringLiteral("QRLabel9"), QStringLiteral("QRLabel10"),
                              QStringLiteral("QRLabel11"), QStringLiteral("QRLabel12")};
    constexpr int kRows[4] = {573, 666, 760, 853};
    for (int k = 0; k < 8; ++k) {
        Report::Text &t = r.addText(QRectF(k < 4 ? 49 : 370, kRows[k % 4], 299, 23), texts[k]);
        t.name = names[k];
        t.tag = k == 0 ? 0 : k + 5;
        t.font = arialPx(19);
        t.alignment = Qt::AlignHCenter;
    }
    return r;
}

QList<QStringList> oznaciPovediGroups()
{
    QList<QStringList> groups;
    for (const auto &group : kPovedi) {
        QStringList g;
        for (const char16_t *s : group)
            g << QString::fromUtf16(s);
        groups << g;
    }
    return groups;
}

int oznaciPovediPixelSize()
{
    // The layout's places: two columns, and 20 px from one sentence to the next in a group.
    constexpr qreal kLineStep = 20;
    constexpr qreal kColumnWidth[2] = {454 - 116 - 16, 718 - 454};
    const QList<QStringList> groups = oznaciPovediGroups();
    int best = 13;
    for (int px = 14; px <= 40; ++px) {
        const QFontMetricsF fm(arialPx(px));
        if (fm.height() > kLineStep)
            break;
        bool fits = true;
        for (int g = 0; g < groups.size() && fits; ++g)
            for (const QString &sentence : groups[g])
                fits = fits && fm.horizontalAdvance(sentence) <= kColumnWidth[g % 2];
        if (!fits)
            break;
        best = px;
    }
    return best;
}

Report TqrOznaciPovedi()
{
    Report r(QStringLiteral("TIPSOVO - Označi povedi"), QSizeF(718, 1045));
    r.setDefaultFont(arialPx(13));
    // The heading centred where it stood, in the size of the other worksheets' headings, so
    // it does not come out smaller than the sentences under it.
    addHeading(r, QStringLiteral("QRLabel1"), QRectF(0, 22, 718, 25),
               QStringLiteral("OZNAČI PRAVILNE POVEDI!"), 21, Qt::AlignHCenter);
    // The sentences as large as their places allow, for a child who has just begun to read.
    const QFont sentenceFont = arialPx(oznaciPovediPixelSize());
    const QList<QStringList> groups = oznaciPovediGroups();
    for (int g = 0; g < groups.size(); ++g) {
        const int row = g / 2;
        const qreal x = g % 2 == 0 ? 116 : 454;
        for (int k = 0; k < 4; ++k) {
            Report::Text &t = r.addText(QRectF(x, 121 + 90 * row + 20 * k, 240, 17),
                                        groups[g].value(k));
            t.font = sentenceFont;
            t.autoSize = true;
        }
    }
    return r;
}

Report TqrKaca(const TownSheet &sheet)
{
    Report r(QStringLiteral("TIPSOVO - Kam potujemo?"), QSizeF(718, 1048));
    r.setDefaultFont(arialPx(13));
    addHeading(r, QStringLiteral("QRLabel1"), QRectF(15, 32, 689, 33), sheet.title, 27,
               Qt::AlignHCenter)
        .wordWrap = true;
    Report::Memo &memo = r.addMemo(QRectF(74, 96, 570, 169), sheet.text);
    memo.name = QStringLiteral("qrmmoMesto");
    memo.font = arialPx(16);
    r.addPicture(QRectF(74, 280, 570, 380), sheet.picture, Report::PictureMode::Center).name =
        QStringLiteral("qrimgMesto");
    return r;
}

} // namespace tipsovo
