// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/wordpanelsscreen.h"

#include "activities/common/worksheetcells.h"
#include "media/hint.h"
#include "media/mediaservice.h"
#include "print/reportpreview.h"
#include "widgets/controls.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <algorithm>
#include <optional>

namespace tipsovo {

namespace {

const QPoint kPanelPlaces[WordPanelsScreen::kSlots] = {{36, 66}, {408, 66}, {36, 298}, {408, 298}};
// Left edges of the letter row's cells in the inner panel; the row stands at top 176.
const int kLetterX[WordPanelsScreen::kLetters] = {4, 16, 27, 39, 51, 62, 74, 85, 97, 109, 120, 132};
constexpr int kLetterTop = 176;
const QSize kLetterSize(12, 22);

QFrame *whitePanel(QWidget *parent, const QString &name, QFrame::Shape shape)
{
    auto *p = new QFrame(parent);
    p->setObjectName(name);
    p->setFrameStyle(shape | QFrame::Raised);
    p->setLineWidth(shape == QFrame::NoFrame ? 0 : 2);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, Qt::white);
    p->setPalette(pal);
    p->setAutoFillBackground(true);
    return p;
}

} // namespace

WordPanelsScreen::WordPanelsScreen(AppHost &host, const ActivityScreen::Setup &setup,
                                   const Layout &layout, QWidget *parent)
    : ActivityScreen(host, setup, parent), m_picturePack(layout.picturePack),
      m_lettersClickable(layout.lettersClickable), m_sheetKind(layout.sheetKind),
      m_offerPlaces(layout.offerPlaces), m_innerPanel(layout.innerPanel), m_cells(this)
{
    setWallpaper(programPicture(layout.wallpaper));
    instructionLine()->setGeometry(14, 14, width() - 28, 41);
    buildPanels(layout);
    m_cells.rebuild();
}

void WordPanelsScreen::buildPanels(const Layout &layout)
{
    for (int j = 1; j <= kSlots; ++j) {
        QFrame *panel = whitePanel(this, QStringLiteral("Panel%1").arg(2 * j - 1), QFrame::Panel);
        panel->setGeometry(QRect(kPanelPlaces[j - 1], layout.panelSize));
        m_panels[j - 1] = panel;
        QFrame *inner = whitePanel(panel, QStringLiteral("Panel%1").arg(2 * j), QFrame::NoFrame);
        inner->setGeometry(layout.innerPanel);

        auto *picture = new PictureBox(inner);
        picture->setObjectName(QStringLiteral("Image%1").arg(j));
        picture->setGeometry(layout.picture);
        picture->setScaledContents(true);
        picture->setAlignment(Qt::AlignCenter);
        // The word speaks when its picture is clicked, not on hover.
        picture->setProperty("HoverSilent", true);
        connect(picture, &PictureBox::pressed, this, [this, picture] { say(hintOf(picture)); });
        m_pictures[j - 1] = picture;

        for (int k = 1; k <= kLetters; ++k) {
            auto *cell = new LetterCell(cellTag(j, 0, k), 19, inner);
            cell->setObjectName(QStringLiteral("Osnova%1").arg((j - 1) * kLetters + k));
            cell->setGeometry(QRect(QPoint(kLetterX[k - 1], kLetterTop), kLetterSize));
            if (layout.lettersClickable)
                // An empty place holds no letter to judge.
                connect(cell, &LetterCell::clicked, this, [this, cell, j, k] {
                    if (m_panels[j - 1]->isEnabled() && cell->isClickable())
                        letterClicked(j, k);
                });
        }
        for (int k = 1; k <= kOffers; ++k) {
            auto *cell = new LetterCell(cellTag(j, 1, k), layout.offerPixelSize, panel);
            cell->setObjectName(QStringLiteral("Label%1").arg((j - 1) * kOffers + k));
            cell->move(layout.offerPlaces[j - 1][k - 1]);
            cell->setClickable(true);
            connect(cell, &LetterCell::clicked, this, [this, j, k] {
                if (m_panels[j - 1]->isEnabled())
                    offerClicked(j, k);
            });
        }
    }
}

QString WordPanelsScreen::letterAt(const QString &word, int place)
{
    return place >= 1 && place <= word.size() ? word.mid(place - 1, 1) : QString();
}

ActivityScreen::Setup WordPanelsScreen::panelsSetup(const QString &name,
                                                    const QString &instruction,
                                                    const QString &hint, int setLength)
{
    ActivityScreen::Setup s;
    s.objectName = name;
    s.instruction = instruction;
    s.instructionHint = hint;
    s.setLength = setLength;
    s.setStart = ActivityScreen::SetStart::OnFirstActivation;
    s.commandNames.naprej = QStringLiteral("bNaprej");
    s.commandNames.pomoc = QStringLiteral("bPomoc");
    s.commandNames.ponovi = QStringLiteral("bPonovi");
    return s;
}

void WordPanelsScreen::dealExercise()
{
    commandButton(Command::Naprej)->hide();
    clearPanels();
    for (int j = 1; j <= kSlots; ++j) {
        dealSlot(j);
        arrangeOffers(j);
    }
}

void WordPanelsScreen::clearPanels()
{
    for (int j = 1; j <= kSlots; ++j) {
        m_pictures[j - 1]->clear();
        setHint(m_pictures[j - 1], QString());
        m_panels[j - 1]->setEnabled(true);
    }
    for (LetterCell *cell : m_cells.all()) {
        cell->clear();
        cell->show();
        cell->setTextColor(Qt::black);
        setStrikeOut(cell, false);
        cell->setClickable(cell->tag() % 1000 > 100);
    }
}

void WordPanelsScreen::showPicture(int j, const QString &name)
{
    QLabel *picture = m_pictures[j - 1];
    picture->clear();
    setHint(picture, name);
    if (name.isEmpty())
        return;
    QImage image;
    media().NaloziSliko(m_picturePack, name, image);
    if (!image.isNull())
        picture->setPixmap(QPixmap::fromImage(image));
}

void WordPanelsScreen::showLetters(int j, const QString &text, const QColor &colour)
{
    for (int k = 1; k <= kLetters; ++k) {
        LetterCell *cell = letterCell(j, k);
        cell->setText(letterAt(text, k));
        cell->setTextColor(colour);
        cell->setClickable(m_lettersClickable && !cell->text().isEmpty());
    }
}

void WordPanelsScreen::setOffer(int j, int k, const QString &text, bool hideEmpty)
{
    LetterCell *cell = offerCell(j, k);
    cell->setText(text);
    // Sized to the caption, as the syllables differ in length; as high as the font with room
    // above and below for the carons of Č, Š, Ž, which reach over the font's ascent.
    const QFontMetrics fm(cell->font());
    const int caron = qMax(0, -fm.tightBoundingRect(QStringLiteral("ČŠŽ")).top() - fm.ascent());
    cell->resize(qMax(fm.horizontalAdvance(text) + 4, fm.averageCharWidth()),
                 fm.height() + 2 * caron);
    cell->setVisible(!(hideEmpty && text.isEmpty()));
}

WordPanelsScreen::OfferBox WordPanelsScreen::offerBox(const LetterCell *cell)
{
    // The cell is sized to its caption and draws it centred, its baseline at the font's ascent
    // below the middle band's top.
    const QFontMetrics fm(cell->font());
    const QString text = cell->text();
    const QRect box = cell->geometry();
    const QPoint origin(box.x() + (box.width() - fm.horizontalAdvance(text)) / 2,
                        box.y() + (box.height() - fm.height()) / 2 + fm.ascent());
    return {box, fm.tightBoundingRect(text).translated(origin)};
}

bool WordPanelsScreen::offersClear(const QRect &a, const QRect &b)
{
    return !b.intersects(a.adjusted(-kOfferGapX, -kOfferGapY, kOfferGapX, kOfferGapY));
}

QList<QPoint> WordPanelsScreen::keepOffersApart(const QList<OfferBox> &offers, const QRect &bounds)
{
    QList<QRect> inks; // of the offers placed so far
    QList<QPoint> shifts;
    for (const OfferBox &o : offers) {
        auto fits = [&](QPoint d) {
            const QRect ink = o.ink.translated(d);
            return bounds.contains(o.box.translated(d))
                   && std::all_of(inks.begin(), inks.end(),
                                  [&](const QRect &p) { return offersClear(p, ink); });
        };
        // The nearest free place has each coordinate either where the offer is or against an
        // edge: its box against the bounds, its ink against a placed ink with the gap.
        QList<int> dxs{0, bounds.left() - o.box.left(), bounds.right() - o.box.right()};
        QList<int> dys{0, bounds.top() - o.box.top(), bounds.bottom() - o.box.bottom()};
        for (const QRect &p : inks) {
            dxs << p.left() - kOfferGapX - 1 - o.ink.right() << p.right() + kOfferGapX + 1 - o.ink.left();
            dys << p.top() - kOfferGapY - 1 - o.ink.bottom() << p.bottom() + kOfferGapY + 1 - o.ink.top();
        }
        std::optional<QPoint> best;
        qint64 bestDistance = 0;
        for (int dx : dxs) {
            for (int dy : dys) {
                const qint64 d = qint64(dx) * dx + qint64(dy) * dy;
                if ((!best || d < bestDistance) && fits({dx, dy})) {
                    best = QPoint(dx, dy);
                    bestDistance = d;
                }
            }
        }
        shifts.append(best.value_or(QPoint()));
        inks.append(o.ink.translated(shifts.last()));
    }
    return shifts;
}

QRect WordPanelsScreen::offerBounds(int j) const
{
    const QRect panel = m_panels[j - 1]->rect();
    return QRect(QPoint(m_innerPanel.right() + 1, panel.top()), panel.bottomRight());
}

void WordPanelsScreen::arrangeOffers(int j)
{
    QList<LetterCell *> shown;
    QList<OfferBox> boxes;
    for (int k = 1; k <= kOffers; ++k) {
        LetterCell *cell = offerCell(j, k);
        cell->move(m_offerPlaces[j - 1][k - 1]);
        if (cell->isVisibleTo(this) && !cell->text().isEmpty()) {
            shown.append(cell);
            boxes.append(offerBox(cell));
        }
    }
    const QList<QPoint> shifts = keepOffersApart(boxes, offerBounds(j));
    for (qsizetype i = 0; i < shown.size(); ++i)
        shown.at(i)->move(shown.at(i)->pos() + shifts.at(i));
}

void WordPanelsScreen::setStrikeOut(LetterCell *cell, bool on)
{
    QFont f = cell->font();
    f.setStrikeOut(on);
    cell->setFont(f);
}

int WordPanelsScreen::drawFree(const QList<bool> &used)
{
    QList<int> free;
    for (int i = 0; i < used.size(); ++i)
        if (!used.at(i))
            free.append(i);
    return free.isEmpty() ? -1 : free.at(m_random.Random(int(free.size())));
}

void WordPanelsScreen::finishSlot(int j)
{
    for (int k = 1; k <= kLetters; ++k) {
        letterCell(j, k)->setTextColor(Qt::red);
        letterCell(j, k)->setClickable(false);
    }
    for (int k = 1; k <= kOffers; ++k)
        offerCell(j, k)->setClickable(false);
    m_panels[j - 1]->setEnabled(false);
}

WordPanelsScreen::Sheet WordPanelsScreen::sheet() const
{
    Sheet s;
    s.caption = instructionLine()->text();
    for (int j = 1; j <= kSlots; ++j)
        s.pictures[j - 1] = m_pictures[j - 1]->pixmap().toImage();
    // findChildren lists the cells in the order they were created.
    for (const LetterCell *cell : findChildren<LetterCell *>())
        if (cell->tag() > 0)
            s.cells.append(cell);
    return s;
}

} // namespace tipsovo

namespace tipsovo {

void WordPanelsScreen::Natisni()
{
    // Nothing is dealt yet (or the table ran dry): no picture and no letter anywhere.
    const Sheet shown = sheet();
    const bool anything =
        std::any_of(shown.pictures.begin(), shown.pictures.end(),
                    [](const QImage &p) { return !p.isNull(); })
        || std::any_of(shown.cells.begin(), shown.cells.end(),
                       [](const LetterCell *c) { return !c->text().isEmpty(); });
    if (!anything)
        return;
    std::optional<Report> report;
    {
        BusyCursor busy;
        PictureCardSheet card;
        card.kind = m_sheetKind;
        if (m_sheetKind == PictureCardSheet::Kind::ComposeSyllables)
            // The screen's own instruction; at the end of a set the line shows the praise,
            // which is no instruction for a worksheet.
            card.instruction = setFinished() ? instructionText() : shown.caption;
        card.pictures = shown.pictures;
        for (const LetterCell *c : shown.cells)
            card.cells.append(worksheetCell(c, this));
        report = TqrBesede(card);
    }
    previewReport(*report, this);
}

} // namespace tipsovo
