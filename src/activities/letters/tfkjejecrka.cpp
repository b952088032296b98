// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfkjejecrka.h"

#include "print/reportpreview.h"
#include "print/worksheets.h"

#include <QRandomGenerator>
#include <optional>

#include "activities/common/datarecords.h"
#include "activities/common/lettercells.h"
#include "media/clock.h"
#include "media/hint.h"
#include "media/mediaservice.h"
#include "media/resourcepack.h"
#include "media/slovenian.h"
#include "widgets/controls.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

namespace tipsovo {

namespace {

const QColor kNavy(0, 0, 128);
const QString kRightSlot = QStringLiteral("X"); // the hint of the one right slot
const QString kEmptySlot = QStringLiteral("_");
constexpr int kSlotPixels = 31;
constexpr int kFacePixels = 26; // a face fills the 25-pixel slot without being cut
constexpr int kWordPixels = 19;
constexpr int kRightMargin = 6; // a long word at a right-hand place is moved in this far

// Slots in a row at top 136.
const int kSlotLefts[TfKjeJeCrka::kSlots] = {48, 78, 108, 139, 169, 199, 229, 260, 290, 320};
// Word places 1..8: Label11 … Label17, then LabelX.
const QPoint kWordPlaces[TfKjeJeCrka::kPlaces] = {{560, 208}, {611, 264}, {668, 312},
                                                  {421, 264}, {471, 320}, {522, 376},
                                                  {581, 432}, {510, 152}};

ActivityScreen::Setup kjeJeCrkaSetup()
{
    ActivityScreen::Setup s;
    s.objectName = QStringLiteral("TfKjeJeCrka");
    // The line at the top holds "BRAVO!" at the end of a set and is empty and hidden
    // otherwise; the instruction itself is three labels of their own.
    s.instruction = QString();
    s.instructionHint = QStringLiteral("A39");
    s.instructionName = QStringLiteral("Panel1");
    s.setLength = TfKjeJeCrka::kWordsPerSet;
    s.praiseCaption = QStringLiteral("BRAVO!");
    s.setStart = ActivityScreen::SetStart::AtCreation;
    s.commandNames.ponovi = QStringLiteral("btnPonovi");
    return s;
}

QLabel *textLabel(QWidget *parent, const QString &name, const QFont &font, const QColor &c)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFont(font);
    setTextColour(l, c);
    return l;
}

} // namespace

QString TfKjeJeCrka::smilingFace() { return QString(QChar(0x263A)); }
QString TfKjeJeCrka::frowningFace() { return QString(QChar(0x2639)); }

QList<int> TfKjeJeCrka::spinSequence(int s, int frames)
{
    QList<int> shown;
    if (s < 0)
        return shown;
    if (frames > 1) {
        const int step = qMax(1, (s + frames - 2) / (frames - 1)); // ceil(s / (frames − 1))
        for (int i = 0; i < s; i += step)
            shown.append(i);
    }
    shown.append(s);
    return shown;
}

TfKjeJeCrka::TfKjeJeCrka(AppHost &host, QWidget *parent)
    : ActivityScreen(host, kjeJeCrkaSetup(), parent)
{
    setWallpaper(programPicture(QStringLiteral("bg-kjejecrka-tile")));
    // The praise line is silent on hover; its Hint is what the frame speaks on showing.
    instructionLine()->setProperty("HoverSilent", true);
    instructionLine()->setFont(arial(32, true));
    setTextColour(instructionLine(), Qt::red);
    instructionLine()->hide();
    buildInstruction();

    // The white panel with a raised frame that holds the slots and the picture.
    auto *shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(28, 116, 340, 392);
    shape->setAutoFillBackground(true);
    QPalette sp = shape->palette();
    sp.setColor(QPalette::Window, Qt::white);
    shape->setPalette(sp);
    auto *outer = new QFrame(this);
    outer->setObjectName(QStringLiteral("Bevel1"));
    outer->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->setLineWidth(3);
    outer->setGeometry(shape->geometry());
    auto *inner = new QFrame(this);
    inner->setObjectName(QStringLiteral("Bevel2"));
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    inner->setLineWidth(1);
    inner->setGeometry(shape->geometry().adjusted(5, 5, -5, -5));

    for (int k = 1; k <= kSlots; ++k) {
        auto *c = new LetterCell(k, kSlotPixels, this);
        c->setObjectName(QStringLiteral("Label%1").arg(k));
        c->setGeometry(kSlotLefts[k - 1], 136, 25, 34);
        // The right slot's Hint marks it; it is no sound, so slots never speak.
        c->setProperty("HoverSilent", true);
        c->setText(kEmptySlot);
        connect(c, &LetterCell::clicked, this, [this, c] { Label1Click(c); });
        m_slots[k - 1] = c;
    }

    m_image = new QLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setGeometry(48, 168, 300, 300);
    m_image->setScaledContents(true);
    // The picture says its word when clicked, not on hover.
    m_image->setProperty("HoverSilent", true);
    m_image->setCursor(Qt::PointingHandCursor);
    m_image->installEventFilter(this);

    m_labelY = textLabel(this, QStringLiteral("LabelY"), arial(24, true), kNavy);
    m_labelY->setGeometry(50, 464, 296, 34);
    m_labelY->setAlignment(Qt::AlignCenter);
    m_labelY->setAutoFillBackground(true);
    QPalette yp = m_labelY->palette();
    yp.setColor(QPalette::Window, Qt::white);
    m_labelY->setPalette(yp);
    m_labelY->hide();

    for (int k = 1; k <= kOtherWords; ++k) {
        QLabel *l = textLabel(this, QStringLiteral("Label%1").arg(10 + k),
                              arial(kWordPixels, true), Qt::black);
        l->installEventFilter(this);
        m_otherWords[k - 1] = l;
    }
    m_labelX = textLabel(this, QStringLiteral("LabelX"), arial(kWordPixels, true), Qt::black);
    m_labelX->installEventFilter(this);
    for (int k = 0; k < kPlaces; ++k) {
        QLabel *l = k < kOtherWords ? m_otherWords[k] : m_labelX;
        l->move(kWordPlaces[k]);
    }

    m_tmrBeseda = new QTimer(this);
    m_tmrBeseda->setObjectName(QStringLiteral("tmrBeseda"));
    m_tmrBeseda->setSingleShot(true);
    m_tmrBeseda->setInterval(kWordShownMs);
    connect(m_tmrBeseda, &QTimer::timeout, this, &TfKjeJeCrka::tmrBesedaTimer);

    ShraniKoordinateLabel();
    NaloziBazoIzResourca();
    startFirstSet();
}

TfKjeJeCrka::~TfKjeJeCrka() = default;

void TfKjeJeCrka::buildInstruction()
{
    const QFont textFont = arial(21, true);
    const QFont letterFont = arial(37, true);
    m_label18 = textLabel(this, QStringLiteral("Label18"), textFont, kNavy);
    m_label18->setText(QStringLiteral("OZNAČI, KJE SE POJAVI ČRKA"));
    m_lblCrka = textLabel(this, QStringLiteral("lblCrka"), letterFont, Qt::red);
    m_lblCrka->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_label19 = textLabel(this, QStringLiteral("Label19"), textFont, kNavy);
    m_label19->setText(QStringLiteral(". POIŠČI TUDI PRAVO BESEDO!"));
    for (QLabel *l : {m_label18, m_lblCrka, m_label19}) {
        setHint(l, QStringLiteral("A39"));
        if (l != m_lblCrka)
            l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    }

    // One line, centred, the three texts on one baseline.
    const QFontMetrics tm(textFont);
    const QFontMetrics lm(letterFont);
    const int w18 = tm.horizontalAdvance(m_label18->text()) + 2;
    const int w19 = tm.horizontalAdvance(m_label19->text()) + 2;
    const int wLetter = lm.horizontalAdvance(QStringLiteral("Ž")) + 8;
    const int baseline = 60;
    int x = (width() - (w18 + wLetter + w19)) / 2;
    m_label18->setGeometry(x, baseline - tm.ascent(), w18, tm.height());
    x += w18;
    m_lblCrka->setGeometry(x, baseline - lm.ascent(), wLetter, lm.height());
    x += wLetter;
    m_label19->setGeometry(x, baseline - tm.ascent(), w19, tm.height());
}

void TfKjeJeCrka::ShraniKoordinateLabel()
{
    m_places.clear();
    for (QLabel *l : m_otherWords)
        m_places.append(l->pos());
    m_places.append(m_labelX->pos());
}

void TfKjeJeCrka::NaloziBazoIzResourca()
{
    m_records.clear();
    for (const DataRecord &r : readDataList(media(), QStringLiteral("KJEJECRKA"), kRecords))
        m_records.append({upperCp1250(r.field1), r.field2});
}

QString TfKjeJeCrka::letter() const { return m_lblCrka->text(); }

bool TfKjeJeCrka::wordOpen() const { return isClickable(m_labelX); }

bool TfKjeJeCrka::usable(const WordRecord &r) const
{
    return !r.word.isEmpty() && r.word.size() <= kSlots;
}

void TfKjeJeCrka::clearUsed()
{
    for (WordRecord &r : m_records)
        r.target = r.taken = false;
}

// A word not yet found in this set. Drawing among the usable records is the same choice as
// drawing record numbers until a fresh one comes up, and it cannot draw for ever on a list
// with blank or overlong lines. A list of fewer usable words than a set needs starts them over.
int TfKjeJeCrka::drawTarget()
{
    for (int round = 0; round < 2; ++round) {
        QList<int> fresh;
        for (int i = 0; i < m_records.size(); ++i)
            if (usable(m_records.at(i)) && !m_records.at(i).target)
                fresh.append(i);
        if (!fresh.isEmpty())
            return fresh.at(m_random.Random(int(fresh.size())));
        for (WordRecord &r : m_records)
            r.target = false;
    }
    return -1;
}

// An other word: neither taken nor a target of this set, and not spelt like the word to find.
int TfKjeJeCrka::drawOtherWord()
{
    QList<int> free;
    for (int i = 0; i < m_records.size(); ++i) {
        const WordRecord &r = m_records.at(i);
        if (usable(r) && !r.taken && !r.target && r.word != m_word)
            free.append(i);
    }
    return free.isEmpty() ? -1 : free.at(m_random.Random(int(free.size())));
}

void TfKjeJeCrka::loadPicture(const QString &name)
{
    // Without a new picture the old one would stand beside another word: an empty picture.
    m_picture = QImage();
    m_image->clear();
    const std::unique_ptr<ResourcePack> pack = media().openPack(QStringLiteral("KjeJeCrka"));
    if (!pack) {
        media().reportError(packOpenErrorText(media().packDir(), QStringLiteral("KjeJeCrka")));
        return;
    }
    // A name the pack does not hold leaves the picture empty, without a message.
    const auto dib = name.isEmpty() ? std::nullopt : pack->find(ResourceKind::Bitmap, name);
    QImage decoded;
    if (dib && decodeBitmapResource(*dib, &decoded)) {
        m_picture = decoded;
        m_image->setPixmap(QPixmap::fromImage(decoded));
    }
}

void TfKjeJeCrka::spin(QLabel *label, int s)
{
    for (int i : spinSequence(s)) {
        label->setText(m_records.at(i).word);
        label->adjustSize();
        label->repaint();
    }
    setHint(label, m_records.at(s).name);
}

void TfKjeJeCrka::placeWords(const QList<int> &places)
{
    for (int k = 0; k < kPlaces; ++k) {
        QLabel *l = k < kOtherWords ? m_otherWords[k] : m_labelX;
        l->adjustSize();
        QPoint at = m_places.at(places.at(k) - 1);
        at.setX(qMin(at.x(), width() - kRightMargin - l->width()));
        l->move(at);
        setTextColour(l, Qt::black);
    }
}

void TfKjeJeCrka::showNoWord()
{
    m_target = -1;
    m_word.clear();
    m_position = 0;
    m_lblCrka->clear();
    m_labelX->clear();
    setHint(m_labelX, QString());
    setClickable(m_labelX, false);
    for (QLabel *l : m_otherWords) {
        l->clear();
        setHint(l, QString());
        setClickable(l, false);
    }
    m_picture = QImage();
    m_image->clear();
    media().reportError(QStringLiteral("V seznamu besed ni dovolj besed za novo nalogo.\n"
                                       "Poskusi ponovno namestiti program."));
}

void TfKjeJeCrka::Znova()
{
    m_letterFound = false;
    for (LetterCell *c : m_slots)
        c->setClickable(true);
    for (QLabel *l : m_otherWords) {
        setClickable(l, true);
        l->show();
    }
    setClickable(m_labelX, true);
    setTextColour(m_labelX, Qt::black);
    instructionLine()->clear();
    instructionLine()->hide();
    for (QLabel *l : {m_label18, m_lblCrka, m_label19})
        l->show();
    commandButton(Command::Naprej)->hide();
    m_tmrBeseda->stop();
    m_labelY->hide();

    const QList<int> places = m_random.shuffledPlaces(kPlaces);

    for (LetterCell *c : m_slots) {
        c->hide();
        setHint(c, QString());
        c->setFont(pixelFont(QStringLiteral("Courier New"), kSlotPixels, true));
        c->setText(kEmptySlot);
    }

    m_target = drawTarget();
    if (m_target < 0) {
        showNoWord();
        return;
    }
    WordRecord &target = m_records[m_target];
    target.target = true;
    m_word = target.word;
    m_position = m_random.Random(int(m_word.size())) + 1;

    setHint(m_image, target.name);
    loadPicture(target.name);

    m_labelX->setText(m_word);
    setHint(m_labelX, target.name);
    m_labelY->setText(m_word);
    setHint(m_labelY, target.name);
    m_lblCrka->setText(QString(m_word.at(m_position - 1)));

    for (int k = 0; k < m_word.size(); ++k)
        m_slots[k]->show();
    setHint(m_slots[m_position - 1], kRightSlot);

    for (WordRecord &r : m_records)
        r.taken = false;
    for (QLabel *l : m_otherWords) {
        const int s = drawOtherWord();
        if (s < 0) {
            // A short list: fewer other words, the rest of the places stay empty.
            l->clear();
            setHint(l, QString());
            setClickable(l, false);
            l->hide();
            continue;
        }
        m_records[s].taken = true;
        spin(l, s);
    }
    placeWords(places);
}

void TfKjeJeCrka::Label1Click(LetterCell *slot)
{
    if (!wordOpen() || m_letterFound || slot->isHidden())
        return;
    slot->setFont(pixelFont(QStringLiteral("DejaVu Sans"), kFacePixels));
    if (hintOf(slot) != kRightSlot) {
        slot->setText(frowningFace());
        answerWrong();
    } else {
        slot->setText(smilingFace());
        m_letterFound = true;
        answerRight();
        for (LetterCell *c : m_slots)
            c->setClickable(false);
    }
    slot->repaint();
}

void TfKjeJeCrka::LabelXClick(bool fromHelp)
{
    if (!wordOpen())
        return;
    if (!m_letterFound) {
        Label11Click(m_labelX);
        return;
    }
    setTextColour(m_labelX, Qt::red);
    m_labelX->repaint();
    for (QLabel *l : m_otherWords)
        setClickable(l, false);
    setClickable(m_labelX, false);
    for (LetterCell *c : m_slots)
        c->setClickable(false);

    // The word is written into the slots one by one; every slot pauses, so the reveal always
    // takes the same time whatever the word's length.
    Clock &clock = media().clock();
    for (int k = 0; k < kSlots; ++k) {
        LetterCell *c = m_slots[k];
        c->setFont(pixelFont(QStringLiteral("Courier New"), kSlotPixels, true));
        if (k < m_word.size())
            c->setText(QString(m_word.at(k)));
        c->repaint();
        clock.sleepMs(kRevealPauseMs);
    }

    if (!fromHelp)
        setCounts(rightCount() + 1, wrongCount());
    if (solvedCount() + 1 >= setLength()) {
        for (QLabel *l : {m_label18, m_lblCrka, m_label19})
            l->hide();
        instructionLine()->show();
    } else {
        say(m_records.at(m_target).name);
    }
    exerciseSolved();
}

void TfKjeJeCrka::Label11Click(QLabel *label)
{
    if (!wordOpen() || label->isHidden())
        return;
    answerWrong();
}

void TfKjeJeCrka::Image1Click()
{
    if (m_target < 0)
        return;
    m_labelY->show();
    m_labelY->raise();
    say(m_records.at(m_target).name);
    m_tmrBeseda->start();
}

void TfKjeJeCrka::tmrBesedaTimer()
{
    m_tmrBeseda->stop();
    m_labelY->hide();
}

void TfKjeJeCrka::Pomoc()
{
    if (!wordOpen())
        return;
    if (m_letterFound) {
        LabelXClick(true);
        return;
    }
    for (LetterCell *c : m_slots) {
        if (hintOf(c) == kRightSlot) {
            c->setFont(pixelFont(QStringLiteral("DejaVu Sans"), kFacePixels));
            c->setText(smilingFace());
            m_letterFound = true;
            return;
        }
    }
}

TfKjeJeCrka::Sheet TfKjeJeCrka::worksheet() const
{
    Sheet sheet;
    sheet.picture = m_picture;
    sheet.letter = m_lblCrka->text();
    sheet.word = m_labelX->text();
    for (const QLabel *l : m_otherWords)
        sheet.otherWords.append(l->text());
    return sheet;
}

bool TfKjeJeCrka::eventFilter(QObject *watched, QEvent *event)
{
    const bool ours = watched == m_image || watched == m_labelX
                      || std::find(std::begin(m_otherWords), std::end(m_otherWords), watched)
                             != std::end(m_otherWords);
    if (!ours)
        return ActivityScreen::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_pressed = watched;
        return true;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click is no second click.
        m_pressed = nullptr;
        return true;
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        auto *w = static_cast<QWidget *>(watched);
        const bool click = me->button() == Qt::LeftButton && m_pressed == watched
                           && w->rect().contains(me->position().toPoint());
        if (me->button() == Qt::LeftButton)
            m_pressed = nullptr;
        if (!click)
            return true;
        if (watched == m_image)
            Image1Click();
        else if (watched == m_labelX)
            LabelXClick();
        else
            Label11Click(static_cast<QLabel *>(watched));
        return true;
    }
    default:
        return ActivityScreen::eventFilter(watched, event);
    }
}

void TfKjeJeCrka::SpeedButton3Click()
{
    // Without a word on screen (an empty list) there is nothing to print.
    if (m_word.isEmpty())
        return;
    std::optional<Report> report;
    {
        BusyCursor busy;
        const Sheet shown = worksheet();
        WhereIsTheLetterSheet sheet;
        sheet.picture = shown.picture;
        sheet.letter = shown.letter;
        sheet.word = shown.word;
        sheet.otherWords = shown.otherWords;
        // Drawn apart from the screen's own source, so printing never changes what comes next.
        sheet.swapPlace = int(QRandomGenerator::global()->bounded(6));
        report = TqrKjeJeCrka(sheet);
    }
    // The normal cursor is back before the preview opens.
    previewReport(*report, this);
}

} // namespace tipsovo
