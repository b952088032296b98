// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfvislice.h"

#include "print/reportpreview.h"
#include "print/worksheets.h"

#include "media/hint.h"
#include "media/mediaservice.h"
#include "media/slovenian.h"
#include "widgets/controls.h"

#include <QLabel>
#include <QMouseEvent>

namespace tipsovo {

namespace {

struct BuiltInWord {
    const char16_t *picture;
    const char16_t *display;
};
// The word table, numbered 1 … 20 in this order.
const BuiltInWord kTable[TfVislice::kWords] = {
    {u"Mak", u"Mak"},
    {u"Polz", u"Polž"},
    {u"Muha", u"Muha"},
    {u"Crv", u"Črv"},
    {u"Mis", u"Miš"},
    {u"Krt", u"Krt"},
    {u"Srp", u"Srp"},
    {u"Metulj", u"Metulj"},
    {u"Kokos", u"Kokoš"},
    {u"Kosa", u"Kosa"},
    {u"Regrat", u"Regrat"},
    {u"Hrosc", u"Hrošč"},
    {u"Kresnicka", u"Kresnička"},
    {u"Dezevnik", u"Deževnik"},
    {u"Trobentica", u"Trobentica"},
    {u"Gosenica", u"Gosenica"},
    {u"Paradiznik", u"Paradižnik"},
    {u"Soncnica", u"Sončnica"},
    {u"Vrana", u"Vrana"},
    {u"Zvoncek", u"Zvonček"},
};

// Tile places (left, top) of d1 … d10.
const QPoint kTilePlaces[TfVislice::kSlots] = {{478, 119}, {447, 237}, {456, 337}, {546, 307},
                                               {608, 251}, {604, 95},  {542, 167}, {670, 345},
                                               {684, 227}, {686, 127}};
constexpr int kSlotTop = 362;
constexpr int kSlotWidth = 30;
constexpr int kSlotHeight = 46;
constexpr int kSlotGap = 4;
const QSize kTileSize(40, 46);
const QString kEmptySlot = QStringLiteral("_");

ActivityScreen::Setup visliceSetup()
{
    ActivityScreen::Setup s;
    s.objectName = QStringLiteral("TfVislice");
    s.instruction = QStringLiteral("UGANI BESEDO");
    s.instructionHint = QStringLiteral("A18");
    s.instructionName = QStringLiteral("lNaslov");
    s.setLength = TfVislice::kSetLength;
    s.praiseCaption = upperCp1250(QStringLiteral("Bravo, pravilno si sestavil besede!"));
    s.setStart = ActivityScreen::SetStart::OnFirstActivation;
    // PONOVI while NAPREJ is offered leaves NAPREJ offered.
    s.ponoviHidesNaprej = false;
    s.commandNames.naprej = QStringLiteral("SpeedButton5");
    s.commandNames.pomoc = QStringLiteral("SpeedButton3");
    s.commandNames.natisni = QStringLiteral("SpeedButton4");
    s.commandNames.ponovi = QStringLiteral("SpeedButton2");
    s.commandNames.konec = QStringLiteral("SpeedButton1");
    s.rightCounterName = QStringLiteral("lPravilno");
    s.wrongCounterName = QStringLiteral("lNepravilno");
    return s;
}

QLabel *letterLabel(QWidget *parent, const QString &name, int tag, int pixelSize)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFont(pixelFont(QStringLiteral("Courier New"), pixelSize, true));
    l->setAlignment(Qt::AlignCenter);
    setTextColour(l, Qt::black);
    if (tag)
        setTag(l, tag);
    return l;
}

} // namespace

QString TfVislice::keyboardLetters(bool capitals)
{
    const QString keys = QStringLiteral("ERTUIOPZASDFGHJKLBCNVM");
    return capitals ? keys : keys.toLower();
}

QString TfVislice::noChoiceText() { return QStringLiteral("KLIKNI PONOVI IN IZBERI IGRO."); }

QColor TfVislice::letterColour(const QLabel *l) { return l->palette().color(QPalette::WindowText); }

TfVislice::TfVislice(AppHost &host, QWidget *parent)
    : ActivityScreen(host, visliceSetup(), parent)
{
    // Without its picture the screen keeps its plain background colour.
    setBackgroundPicture(programPicture(QStringLiteral("bg-vislice")));

    for (const BuiltInWord &w : kTable)
        m_words.append({QString::fromUtf16(w.picture), QString::fromUtf16(w.display), false});

    m_iSlika = new QLabel(this);
    m_iSlika->setObjectName(QStringLiteral("iSlika"));
    m_iSlika->setGeometry(65, 62, 300, 300);
    m_iSlika->setScaledContents(true);
    // The word is spoken on a click, not on hover.
    m_iSlika->setProperty("HoverSilent", true);
    m_iSlika->installEventFilter(this);

    m_lIzbrana = letterLabel(this, QStringLiteral("lIzbrana"), 0, 64);
    m_lIzbrana->setGeometry(374, 62, 58, 84); // between the picture and the tiles

    for (int i = 1; i <= kSlots; ++i) {
        QLabel *l = letterLabel(this, QStringLiteral("l%1").arg(i), i, 37);
        l->setGeometry(49 + (i - 1) * (kSlotWidth + kSlotGap), kSlotTop, kSlotWidth, kSlotHeight);
        l->hide();
        l->installEventFilter(this);
        m_slots[i - 1] = l;
    }
    for (int j = 1; j <= kSlots; ++j) {
        QLabel *d = letterLabel(this, QStringLiteral("d%1").arg(j), j, 37);
        d->setGeometry(QRect(kTilePlaces[j - 1], kTileSize));
        QPalette p = d->palette();
        p.setColor(QPalette::Window, QColor(255, 255, 240));
        d->setPalette(p);
        d->installEventFilter(this);
        m_tiles[j - 1] = d;
    }
}

TfVislice::~TfVislice() = default;

TfAaliB &TfVislice::chooser()
{
    if (!m_chooserOfRun && !m_ownChooser) {
        if (TfAaliB *run = TfAaliB::instance())
            m_chooserOfRun = run;
    }
    if (m_chooserOfRun)
        return *m_chooserOfRun;
    if (!m_ownChooser)
        m_ownChooser = std::make_unique<TfAaliB>(nullptr, &host());
    return *m_ownChooser;
}

void TfVislice::openingSet() { askChooser(); }

void TfVislice::askChooser()
{
    m_difficulty.clear();
    QPointer<TfVislice> self(this);
    TfAaliB &dialog = chooser();
    const TfAaliB::Choice choice = m_runChooser ? m_runChooser(dialog) : dialog.ask();
    if (!self)
        return;
    switch (choice) {
    case TfAaliB::Choice::Easier:
    case TfAaliB::Choice::Harder:
        m_difficulty = TfAaliB::difficultyCode(choice);
        ActivityScreen::Ponovi(); // Resetiraj, then NovaIgra
        break;
    case TfAaliB::Choice::Close:
        // Closed once the chooser's own event loop has fully returned.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        break;
    case TfAaliB::Choice::None:
        // No variant, no word: the screen says how to go on instead of sitting empty.
        instructionLine()->setText(noChoiceText());
        updateCursors();
        break;
    }
}

void TfVislice::Ponovi()
{
    if (m_difficulty.isEmpty()) {
        askChooser();
        return;
    }
    ActivityScreen::Ponovi();
}

void TfVislice::Resetiraj()
{
    // The counters, the solved count and the title are the frame's part of PONOVI.
    for (WordEntry &w : m_words)
        w.used = false;
    m_lIzbrana->clear();
}

int TfVislice::drawWord()
{
    // Uniform over the unused entries, as drawing numbers until an unused one comes up,
    // without drawing for ever once every entry has been used.
    QList<int> unused;
    for (int i = 0; i < m_words.size(); ++i)
        if (!m_words.at(i).used)
            unused.append(i);
    if (unused.isEmpty()) {
        for (int i = 0; i < m_words.size(); ++i) {
            m_words[i].used = false;
            unused.append(i);
        }
    }
    return unused.at(m_random.Random(int(unused.size())));
}

void TfVislice::NovaIgra()
{
    if (m_difficulty.isEmpty())
        return;
    const bool easier = m_difficulty == QLatin1String("A");
    m_capitals = chooser().capitals();
    const QString keys = keyboardLetters(m_capitals);

    clearSelection();
    CistiTipke();
    for (QLabel *d : m_tiles)
        setTileLetter(d, {});
    m_placed = 0;

    WordEntry &entry = m_words[drawWord()];
    entry.used = true;
    const QString display = m_capitals ? upperCp1250(entry.display) : entry.display.toLower();
    m_word = display.trimmed().left(kSlots); // never more letters than slots
    m_picture = entry.picture;
    setHint(m_iSlika, m_picture);
    const int n = int(m_word.size());

    QString pattern(n, kEmptySlot.at(0));
    if (easier && n > 0) {
        pattern[0] = m_word.at(0);
        pattern[n - 1] = m_word.at(n - 1);
        m_toPlace = qMax(0, n - 2);
    } else {
        m_toPlace = n;
    }
    for (int i = 0; i < kSlots; ++i)
        m_slots[i]->setText(i < n ? QString(pattern.at(i)) : QString());

    // The letters to place, each put on a random free place of the first m_toPlace places.
    QString scrambled(m_toPlace, QLatin1Char(' '));
    QList<int> free;
    for (int p = 0; p < m_toPlace; ++p)
        free.append(p);
    int next = easier ? 1 : 0;
    while (!free.isEmpty())
        scrambled[free.takeAt(m_random.Random(int(free.size())))] = m_word.at(next++);

    for (int j = 0; j < kSlots; ++j) {
        QLabel *d = tile(kFillOrder[j]);
        if (j < m_toPlace)
            setTileLetter(d, QString(scrambled.at(j)));
        else if (!easier)
            setTileLetter(d, QString(keys.at(m_random.Random(int(keys.size())))));
    }

    QImage image;
    media().NaloziSliko(QStringLiteral("UganiBesedo"), m_picture, image);
    m_iSlika->setPixmap(QPixmap::fromImage(image));

    m_patternText.clear();
    for (QLabel *l : m_slots)
        m_patternText += l->text();
    m_tileText.clear();
    for (QLabel *d : m_tiles)
        m_tileText += d->text();

    BesedoNaSredino();
    updateCursors();
}

void TfVislice::BesedoNaSredino()
{
    const int width = m_slots[0]->width();
    const int gap = m_slots[1]->x() - m_slots[0]->x() - width;
    const int n = int(m_word.size());
    // Integer division truncates toward zero, as the layout expects.
    const int first = (365 - n * width - (n - 1) * gap) / 2 + 35;
    for (int i = 0; i < kSlots; ++i) {
        QLabel *l = m_slots[i];
        l->move(first + i * (width + gap), l->y());
        l->setVisible(!l->text().isEmpty());
    }
}

void TfVislice::CistiTipke()
{
    for (QLabel *d : m_tiles)
        setTextColour(d, Qt::black);
}

void TfVislice::setTileLetter(QLabel *d, const QString &letter)
{
    d->setText(letter);
    // A tile with a letter stands out as a small card; an empty one disappears.
    d->setAutoFillBackground(!letter.isEmpty());
    d->setFrameStyle(letter.isEmpty() ? QFrame::NoFrame : QFrame::Panel | QFrame::Raised);
}

void TfVislice::clearSelection()
{
    m_selected.clear();
    m_selectedTile = nullptr;
    m_lIzbrana->clear();
}

void TfVislice::d1Click(QLabel *d)
{
    CistiTipke();
    if (!d->text().isEmpty()) {
        m_selected = d->text();
        m_selectedTile = d;
        setTextColour(d, Qt::red);
        m_lIzbrana->setText(m_selected);
    } else {
        clearSelection();
    }
    m_lIzbrana->repaint();
    updateCursors();
}

void TfVislice::l10Click(QLabel *l)
{
    const int t = tagOf(l);
    if (m_selected.isEmpty() || l->text() != kEmptySlot || t < 1 || t > m_word.size())
        return;
    if (m_selected != m_word.at(t - 1)) {
        answerWrong(); // the letter stays picked
        return;
    }
    answerRight();
    l->setText(m_selected);
    if (m_selectedTile) {
        setTileLetter(m_selectedTile, {});
        setTextColour(m_selectedTile, Qt::black);
    }
    clearSelection();
    ++m_placed;
    updateCursors();
    if (m_placed == m_toPlace)
        wordCompleted(false);
}

QChar TfVislice::PreveriLevo()
{
    for (int i = 0; i < m_word.size() && i < kSlots; ++i) {
        if (m_slots[i]->text() == kEmptySlot) {
            m_slots[i]->setText(QString(m_word.at(i)));
            return m_word.at(i);
        }
    }
    return {};
}

void TfVislice::Pomoc()
{
    if (!wordOpen())
        return;
    const QChar letter = PreveriLevo();
    if (letter.isNull())
        return;
    for (QLabel *d : m_tiles) {
        if (d->text().trimmed() == letter) {
            // Help takes the picked tile itself: the child no longer holds its letter.
            if (d == m_selectedTile) {
                clearSelection();
                CistiTipke();
            }
            setTileLetter(d, {});
            break;
        }
    }
    ++m_placed;
    updateCursors();
    if (m_placed == m_toPlace)
        wordCompleted(true);
}

void TfVislice::wordCompleted(bool byHelp)
{
    if (byHelp) {
        // Finished with help: no word, and "konec" instead of the praise, without waiting.
        exerciseSolved(QStringLiteral("konec"), false);
        return;
    }
    say(m_picture, true);
    exerciseSolved();
}

void TfVislice::iSlikaClick()
{
    if (!m_picture.isEmpty())
        say(m_picture);
}

void TfVislice::print()
{
    // The worksheet of the word as it was set up: the picture, the slots and the tiles. Before
    // a variant has been chosen there is no word to print.
    if (m_word.isEmpty())
        return;
    GuessWordSheet sheet;
    sheet.picture = m_iSlika->pixmap().toImage();
    sheet.patternText = m_patternText;
    sheet.tileText = m_tileText;
    for (const QLabel *l : findChildren<QLabel *>()) {
        if (l->objectName().size() <= 3)
            sheet.labels.append({l->objectName(), tagOf(l), l->mapTo(this, QPoint(0, 0)),
                                 l->font().pixelSize()});
    }
    previewReport(TqrUganiBesedo(sheet), this);
}

void TfVislice::updateCursors()
{
    for (QLabel *l : m_slots)
        setClickable(l, !m_selected.isEmpty() && l->text() == kEmptySlot);
    for (QLabel *d : m_tiles)
        setClickable(d, !d->text().isEmpty());
    setClickable(m_iSlika, !m_picture.isEmpty());
}

bool TfVislice::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_iSlika) {
            iSlikaClick();
            return true;
        }
        for (int i = 0; i < kSlots; ++i) {
            if (watched == m_slots[i]) {
                l10Click(m_slots[i]);
                return true;
            }
            if (watched == m_tiles[i]) {
                d1Click(m_tiles[i]);
                return true;
            }
        }
    }
    return ActivityScreen::eventFilter(watched, event);
}

} // namespace tipsovo
