// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfprvacrka.h"

#include "activities/common/datarecords.h"
#include "media/hint.h"
#include "media/mediaservice.h"
#include "widgets/controls.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

namespace tipsovo {

namespace {

const QColor kPurple(128, 0, 128);

// Word places 1..10: where Label1 … Label10 stand in the layout.
const QPoint kPlaces[10] = {{244, 117}, {387, 186}, {228, 270}, {260, 364}, {236, 441},
                            {540, 89},  {534, 244}, {542, 320}, {535, 426}, {469, 489}};

ActivityScreen::Setup prvaCrkaSetup()
{
    ActivityScreen::Setup s;
    s.objectName = QStringLiteral("TfPrvaCrka");
    s.instruction = QStringLiteral("OZNAČI VSE BESEDE, KI SE ZAČENJAJO Z IZBRANO ČRKO!");
    s.instructionHint = QStringLiteral("A29");
    s.instructionName = QStringLiteral("Panel1");
    s.setLength = TfPrvaCrka::kStages;
    s.praiseCaption = QStringLiteral("BRAVO!");
    s.setStart = ActivityScreen::SetStart::AtCreation;
    s.ponoviHidesNaprej = false;
    return s;
}

bool isRed(const ShadowLabel *l) { return l->textColor() == QColor(Qt::red); }

} // namespace

TfPrvaCrka::TfPrvaCrka(AppHost &host, QWidget *parent)
    : ActivityScreen(host, prvaCrkaSetup(), parent)
{
    setBackgroundPicture(programPicture(QStringLiteral("bg-prvacrka")));
    instructionLine()->setGeometry(230, 10, 556, 72);
    // This screen has no worksheet.
    commandButton(Command::Natisni)->hide();
    commandButton(Command::Natisni)->setEnabled(false);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel2"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(3);
    frame->setGeometry(24, 140, 186, 186);
    frame->setAutoFillBackground(true);
    QPalette fp = frame->palette();
    fp.setColor(QPalette::Window, Qt::white);
    frame->setPalette(fp);
    m_image = new QLabel(frame);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setGeometry(8, 8, 170, 170);

    m_letterLabel = new ShadowLabel(this);
    m_letterLabel->setObjectName(QStringLiteral("LabelX"));
    m_letterLabel->setFont(arial(29, true));
    m_letterLabel->setTextColor(Qt::red);
    m_letterLabel->setShadow(QColor(90, 90, 90), {2, 2});
    m_letterLabel->setAlignment(Qt::AlignCenter);
    m_letterLabel->setGeometry(24, 336, 186, 48);
    setTag(m_letterLabel, 9);

    for (int k = 1; k <= 10; ++k) {
        auto *l = new ShadowLabel(this);
        l->setObjectName(QStringLiteral("Label%1").arg(k));
        l->setFont(arial(21, true));
        l->setTextColor(kPurple);
        l->setShadow(QColor(200, 200, 200), {2, 2});
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        l->setGeometry(QRect(kPlaces[k - 1], QSize(180, 24)));
        setTag(l, 10);
        l->installEventFilter(this);
        m_words[k - 1] = l;
    }

    ShraniKoordinateLabel();
    NapolniBazoIzResourca();
    startFirstSet();
}

void TfPrvaCrka::ShraniKoordinateLabel()
{
    m_places.clear();
    for (ShadowLabel *l : m_words)
        m_places.append(l->pos());
}

void TfPrvaCrka::NapolniBazoIzResourca()
{
    m_records.clear();
    for (const DataRecord &r : readDataList(media(), QStringLiteral("ABECEDA"), kRecords))
        m_records.append({r.field1.left(20), r.field2.left(20), r.field3.left(5), false});
}

void TfPrvaCrka::newExercise() { Zmesaj(); }

bool TfPrvaCrka::letterCanFillStage(QChar letter) const
{
    int with = 0;
    int without = 0;
    for (const WordRecord &r : m_records) {
        if (r.word.isEmpty())
            continue;
        if (r.word.at(0) == letter)
            ++with;
        else
            ++without;
    }
    return with >= 5 && without >= 5;
}

int TfPrvaCrka::drawRecord(const std::function<bool(const WordRecord &)> &accept)
{
    // The same choice as drawing record numbers until one is accepted, without the risk of
    // drawing for ever.
    QList<int> candidates;
    for (int i = 0; i < m_records.size(); ++i)
        if (accept(m_records.at(i)))
            candidates.append(i);
    if (candidates.isEmpty())
        return -1;
    return candidates.at(m_random.Random(int(candidates.size())));
}

void TfPrvaCrka::clearWordLabels()
{
    for (ShadowLabel *l : m_words) {
        l->clear();
        setHint(l, QString());
        setClickable(l, false);
    }
    m_letterLabel->clear();
    m_image->clear();
}

void TfPrvaCrka::Zmesaj()
{
    // Shuffle the places.
    const QList<int> p = m_random.shuffledPlaces(10);
    for (int k = 0; k < 10; ++k)
        m_words[k]->move(m_places.at(p.at(k) - 1));
    for (ShadowLabel *l : m_words) {
        l->setTextColor(kPurple);
        QFont f = l->font();
        f.setStrikeOut(false);
        l->setFont(f);
    }
    for (WordRecord &r : m_records)
        r.used = false;

    // The letter: from a record whose letter is not in the history and can fill a stage.
    auto usable = [this](const WordRecord &r) {
        return !r.word.isEmpty() && !m_history.contains(r.word.at(0))
               && letterCanFillStage(r.word.at(0));
    };
    int r = drawRecord(usable);
    if (r < 0 && !m_history.isEmpty()) {
        // Every letter the list can fill has been used: start the history again.
        m_history.clear();
        r = drawRecord(usable);
    }
    if (r < 0) {
        m_stageOpen = false;
        clearWordLabels();
        media().reportError(
            QStringLiteral("V seznamu besed ni dovolj besed za novo nalogo.\n"
                           "Poskusi ponovno namestiti program."));
        return;
    }
    m_stageOpen = true;
    m_letter = m_records.at(r).word.at(0);

    QImage picture;
    media().NaloziSliko(QStringLiteral("abeceda"), m_records.at(r).picture, picture);
    m_image->setPixmap(QPixmap::fromImage(picture));
    m_letterLabel->setText(QString(m_letter));

    m_history.append(m_letter);
    if (m_history.size() > kHistoryLimit)
        m_history.clear();

    auto place = [this](ShadowLabel *l, int s) {
        m_records[s].used = true;
        l->setText(m_records.at(s).word);
        setHint(l, m_records.at(s).sound);
    };
    for (int k = 0; k < 5; ++k)
        place(m_words[k], drawRecord([this](const WordRecord &w) {
                  return !w.used && !w.word.isEmpty() && w.word.at(0) == m_letter;
              }));
    for (int k = 5; k < 10; ++k)
        place(m_words[k], drawRecord([this](const WordRecord &w) {
                  return !w.used && !w.word.isEmpty() && w.word.at(0) != m_letter;
              }));
    for (ShadowLabel *l : m_words)
        setClickable(l, true);
}

void TfPrvaCrka::Prav(QLabel *label)
{
    auto *l = static_cast<ShadowLabel *>(label);
    if (!isClickable(l))
        return;
    answerRight(QStringLiteral("prav"), !m_helpFlag);
    m_helpFlag = false;
    l->setTextColor(Qt::red);
    setClickable(l, false);

    for (int k = 0; k < 5; ++k)
        if (!isRed(m_words[k]))
            return;
    for (int k = 5; k < 10; ++k)
        setClickable(m_words[k], false);
    exerciseSolved();
}

void TfPrvaCrka::Narobe(QLabel *label)
{
    if (!isClickable(label))
        return;
    QFont f = label->font();
    f.setStrikeOut(true);
    label->setFont(f);
    answerWrong();
}

void TfPrvaCrka::Pomoc()
{
    const QString letter = m_letterLabel->text();
    if (letter.isEmpty())
        return;
    for (ShadowLabel *l : m_words) {
        if (tagOf(l) == 10 && !isRed(l) && l->text().startsWith(letter)) {
            m_helpFlag = true;
            Prav(l);
            // A label that could not be clicked leaves the flag for nobody.
            m_helpFlag = false;
            return;
        }
    }
}

bool TfPrvaCrka::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        for (int k = 0; k < 10; ++k) {
            if (watched == m_words[k]) {
                if (k < 5)
                    Prav(m_words[k]);
                else
                    Narobe(m_words[k]);
                return true;
            }
        }
    }
    return ActivityScreen::eventFilter(watched, event);
}

} // namespace tipsovo
