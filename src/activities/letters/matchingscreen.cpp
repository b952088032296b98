// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/matchingscreen.h"

#include "activities/common/worksheetcells.h"
#include "media/hint.h"
#include "media/mediaservice.h"
#include "print/reportpreview.h"
#include "widgets/controls.h"

#include <optional>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

namespace tipsovo {

namespace {

const QColor kLightYellow(255, 255, 170);

const QPoint kPanelPlaces[MatchingScreen::kTasks] = {{34, 85}, {406, 85}, {34, 259}, {406, 259}};
// Left edges of the reference row's cells in the white panel.
const int kReferenceX[MatchingScreen::kCells] = {4, 16, 27, 39, 51, 62, 74, 85, 97, 109, 120, 132};
const int kReferenceY = 128;
const int kChoiceY[MatchingScreen::kRows] = {28, 68, 108};

void fillBackground(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void markHoverSilent(QObject *o) { o->setProperty("HoverSilent", true); }

} // namespace

QString wordResourceName(const QString &word)
{
    QString name = word;
    name.replace(QChar(0x010C), QLatin1Char('C')); // Č
    name.replace(QChar(0x0160), QLatin1Char('S')); // Š
    name.replace(QChar(0x017D), QLatin1Char('Z')); // Ž
    return name;
}

QString rowWordSoundName(const QString &word)
{
    static const QStringList keepLetters{QStringLiteral("KOŠ")};
    return keepLetters.contains(word) ? word : wordResourceName(word);
}

QList<int> partOccurrences(const QString &word, const QString &part)
{
    QList<int> found;
    if (part.isEmpty())
        return found;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = word.indexOf(part, from, Qt::CaseSensitive);
        if (at < 0)
            break;
        found.append(int(at) + 1);
        from = at + part.size();
    }
    return found;
}

MatchingScreen::MatchingScreen(AppHost &host, const Setup &setup, QWidget *parent)
    : ActivityScreen(host,
                     [&setup] {
                         ActivityScreen::Setup s;
                         s.objectName = setup.objectName;
                         s.instruction = setup.instruction;
                         s.instructionHint = setup.instructionHint;
                         s.setLength = kSetLength;
                         s.setStart = SetStart::OnFirstActivation;
                         return s;
                     }(),
                     parent),
      m_kind(setup.kind), m_picturePack(setup.picturePack),
      m_groupSize(setup.kind == Kind::Words ? 3 : 4), m_cells(this)
{
    fillBackground(this, kLightYellow);
    instructionLine()->setGeometry(14, 14, width() - 28, 41);
    fillRecords(setup.groups);
    buildLayout();
    m_cells.rebuild();
}

int MatchingScreen::groupCount() const { return int(m_words.size()) / m_groupSize; }

void MatchingScreen::fillRecords(const QList<Group> &groups)
{
    m_words.clear();
    const bool words = m_kind == Kind::Words;
    for (const Group &g : groups) {
        WordRecord target;
        target.text = g.target;
        target.name = wordResourceName(g.target);
        target.part = g.part;
        target.position = g.position;
        m_words.append(target);
        for (int k = 0; k < m_groupSize - 1; ++k) {
            WordRecord companion;
            companion.text = g.companions.value(k);
            // On the words screen every word speaks when its row is pressed; elsewhere only
            // targets have pictures and sounds.
            if (words)
                companion.name = rowWordSoundName(companion.text);
            m_words.append(companion);
        }
    }
}

void MatchingScreen::buildLayout()
{
    const bool words = m_kind == Kind::Words;
    const QSize panelSize(361, words ? 161 : 164);
    for (int t = 1; t <= kTasks; ++t) {
        auto *panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("Panel%1").arg(2 * t - 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(2);
        panel->setGeometry(QRect(kPanelPlaces[t - 1], panelSize));
        fillBackground(panel, kLightYellow);
        m_panels[t - 1] = panel;

        auto *white = new QFrame(panel);
        white->setObjectName(QStringLiteral("Panel%1").arg(2 * t));
        white->setGeometry(4, 4, 149, panelSize.height() - 8);
        fillBackground(white, Qt::white);

        // Painted by itself: a solved task's picture stays in colour in its disabled panel.
        auto *picture = new PictureBox(white);
        picture->setObjectName(QStringLiteral("Image%1").arg(t));
        picture->setAlignment(Qt::AlignCenter);
        picture->setGeometry(words ? 12 : 14, 4, 120, 120);
        markHoverSilent(picture);
        picture->installEventFilter(this);
        m_pictures[t - 1] = picture;

        for (int c = 1; c <= kCells; ++c) {
            auto *cell = new LetterCell(cellTag(t, 0, c), 19, white);
            cell->setObjectName(QStringLiteral("Label%1").arg(cellTag(t, 0, c)));
            cell->setGeometry(kReferenceX[c - 1], kReferenceY, 11, 22);
            markHoverSilent(cell);
            connect(cell, &LetterCell::pressed, this, [this, cell](Qt::MouseButton b) {
                if (b == Qt::LeftButton)
                    say(hintOf(cell));
            });
        }
        for (int r = 1; r <= kRows; ++r) {
            for (int c = 1; c <= kCells; ++c) {
                auto *cell = new LetterCell(cellTag(t, r, c), 27, panel);
                cell->setObjectName(QStringLiteral("Label%1").arg(cellTag(t, r, c)));
                cell->setGeometry(160 + 16 * (c - 1), kChoiceY[r - 1], 16, 31);
                cell->setClickable(true);
                markHoverSilent(cell);
                connect(cell, &LetterCell::clicked, this, [this, cell] { choiceClicked(cell); });
                connect(cell, &LetterCell::pressed, this, [this, cell](Qt::MouseButton b) {
                    if (b == Qt::RightButton)
                        choiceRightPressed(cell);
                });
            }
        }
    }
}

void MatchingScreen::clearUsed()
{
    for (WordRecord &w : m_words)
        w.used = false;
}

int MatchingScreen::drawGroup()
{
    const int n = groupCount();
    if (n < 1)
        return -1;
    auto given = [this](int g) { return m_words.at(g * m_groupSize).used; };
    // Drawn as always: again until a group not given in this set comes up. A set gives 12
    // groups of 16 or 17, so this ends at once; the bound only keeps a drawing that can find
    // nothing (more exercises than the set has) from going on for ever.
    for (int tries = 0; tries < 64 * n; ++tries) {
        const int g = m_random.Random(n);
        if (!given(g))
            return g;
    }
    QList<int> open;
    for (int g = 0; g < n; ++g)
        if (!given(g))
            open.append(g);
    if (open.isEmpty()) {
        // Every group has been given: the groups come round again.
        clearUsed();
        for (int g = 0; g < n; ++g)
            open.append(g);
    }
    return open.at(m_random.Random(int(open.size())));
}

void MatchingScreen::bNovaIgraClick()
{
    commandButton(Command::Naprej)->hide();
    if (m_kind != Kind::Words)
        commandButton(Command::Pomoc)->setEnabled(true);
    m_exerciseDone = false;
    for (int t = 1; t <= kTasks; ++t) {
        m_pictures[t - 1]->clear();
        setHint(m_pictures[t - 1], QString());
        m_panels[t - 1]->setEnabled(true);
        m_tasks[t - 1] = Task{};
    }
    for (LetterCell *cell : m_cells.all()) {
        cell->clear();
        cell->show();
        cell->setTextColor(Qt::black);
        if (m_kind != Kind::Words)
            cell->setClickable(true);
    }
    for (int t = 1; t <= kTasks; ++t)
        buildTask(t);
}

void MatchingScreen::buildTask(int t)
{
    Task &task = m_tasks[t - 1];
    const int g = drawGroup();
    if (g < 0)
        return;
    const bool words = m_kind == Kind::Words;
    // What a row cannot show is not part of the exercise: no letter to find off screen.
    const int rowCapacity = words ? kCells - 1 : kCells;

    WordRecord &target = m_words[g * m_groupSize];
    target.used = true;
    task.group = g;
    task.target = target;
    task.target.text.truncate(kCells);

    std::array<bool, kRows> filled{};
    if (words) {
        task.targetRow = m_random.Random(kRows) + 1;
        task.rows[task.targetRow - 1] = target;
        task.rows[task.targetRow - 1].text.truncate(rowCapacity);
        filled[task.targetRow - 1] = true;
    } else {
        Obarvaj(t, 0, target.position, target.position + int(target.part.size()) - 1,
                QLatin1Char('R'));
    }

    for (int k : m_random.shuffledPlaces(m_groupSize - 1)) {
        WordRecord &companion = m_words[g * m_groupSize + k];
        for (int r = 0; r < kRows; ++r) {
            if (!filled[r]) {
                filled[r] = true;
                companion.used = true;
                task.rows[r] = companion;
                task.rows[r].text.truncate(rowCapacity);
                break;
            }
        }
    }

    if (!task.target.name.isEmpty()) {
        QImage image;
        media().NaloziSliko(m_picturePack, task.target.name, image);
        QLabel *picture = m_pictures[t - 1];
        if (!image.isNull())
            picture->setPixmap(QPixmap::fromImage(image).scaled(
                picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        setHint(picture, task.target.name);
        picture->setAccessibleName(task.target.text);
    }

    fillRow(t, 0, task.target, 1, task.target.name);
    for (int r = 1; r <= kRows; ++r) {
        const WordRecord &w = task.rows[r - 1];
        fillRow(t, r, w, words ? 2 : 1, words ? w.name : QString());
    }
}

void MatchingScreen::fillRow(int t, int row, const WordRecord &word, int firstCell,
                             const QString &hint)
{
    for (int place = 1; place <= kCells; ++place) {
        LetterCell *cell = m_cells.cell(t, row, place);
        if (!cell)
            continue;
        const int letter = place - firstCell; // index into the word
        if (place < firstCell) {
            cell->clear();
            cell->show();
        } else if (letter < word.text.size()) {
            cell->setText(word.text.at(letter));
            cell->show();
        } else {
            cell->clear();
            cell->hide();
        }
        setHint(cell, hint);
    }
}

void MatchingScreen::choiceClicked(LetterCell *cell)
{
    const int tag = cell->tag();
    const int t = tag / 1000;
    const int row = tag / 100 % 10;
    const int place = tag % 100;
    if (t < 1 || t > kTasks || row < 1 || row > kRows || !m_panels[t - 1]->isEnabled())
        return;
    if (m_kind == Kind::Words)
        checkWords(t, row, cell);
    else
        checkParts(t, row, place);
}

void MatchingScreen::choiceRightPressed(LetterCell *cell)
{
    if (m_kind == Kind::Words)
        say(hintOf(cell));
}

void MatchingScreen::checkWords(int t, int row, LetterCell *cell)
{
    Task &task = m_tasks[t - 1];
    if (task.solved || task.targetRow < 1)
        return;
    if (row == task.targetRow) {
        task.solved = true;
        Obarvaj(t, row, 1, kCells, QLatin1Char('R'));
        answerRight(hintOf(cell));
    } else {
        answerWrong(QStringLiteral("Narobe"));
    }
    if (allPanelsDisabled())
        solveExercise(true);
}

void MatchingScreen::checkParts(int t, int row, int place)
{
    LetterCell *cell = m_cells.cell(t, row, place);
    if (!cell || !cell->isClickable())
        return;
    const Task &task = m_tasks[t - 1];
    const QString &part = task.target.part;
    int hit = 0;
    for (int p : partOccurrences(task.rows[row - 1].text, part)) {
        const bool covers = m_kind == Kind::Letters ? p == place
                                                    : p <= place && place < p + part.size();
        if (covers) {
            hit = p;
            break;
        }
    }
    if (hit > 0) {
        answerRight();
        markFound(t, row, hit);
    } else {
        answerWrong();
    }
    afterParts(false);
}

void MatchingScreen::markFound(int t, int row, int start)
{
    Task &task = m_tasks[t - 1];
    const int length = int(task.target.part.size());
    // Blanked, so this occurrence is never found again.
    task.rows[row - 1].text.replace(start - 1, length, QString(length, QLatin1Char(' ')));
    Obarvaj(t, row, start, start + length - 1, QLatin1Char('R'));
}

bool MatchingScreen::NajdiPozicije(bool mark)
{
    bool left = false;
    for (int t = 1; t <= kTasks; ++t) {
        const Task &task = m_tasks[t - 1];
        bool holds = false;
        for (int r = 1; r <= kRows && !holds; ++r) {
            const QList<int> at = partOccurrences(task.rows[r - 1].text, task.target.part);
            if (at.isEmpty())
                continue;
            holds = true;
            if (mark) {
                markFound(t, r, at.first());
                return true;
            }
        }
        if (holds)
            left = true;
        else
            m_panels[t - 1]->setEnabled(false);
    }
    return mark ? false : left;
}

void MatchingScreen::afterParts(bool byHelp)
{
    if (m_exerciseDone || NajdiPozicije(false))
        return;
    solveExercise(!byHelp);
    if (!setFinished())
        commandButton(Command::Pomoc)->setEnabled(false);
}

void MatchingScreen::Pomoc()
{
    if (m_exerciseDone)
        return; // nothing left to show; the exercise counts once
    if (m_kind != Kind::Words) {
        NajdiPozicije(true);
        afterParts(true);
        return;
    }
    for (int t = 1; t <= kTasks; ++t) {
        Task &task = m_tasks[t - 1];
        if (task.solved || task.targetRow < 1)
            continue;
        task.solved = true;
        Obarvaj(t, task.targetRow, 1, kCells, QLatin1Char('R'));
        if (allPanelsDisabled())
            solveExercise(false);
        return;
    }
}

void MatchingScreen::Obarvaj(int task, int row, int first, int last, QChar flag)
{
    const bool red = flag == QLatin1Char('R');
    const QList<LetterCell *> coloured =
        m_cells.colour(task, row, first, last, red ? QColor(Qt::red) : QColor(Qt::black));
    if (!red || coloured.isEmpty())
        return;
    if (m_kind == Kind::Words)
        m_panels[task - 1]->setEnabled(false);
    else
        for (LetterCell *cell : coloured)
            cell->setClickable(false);
}

bool MatchingScreen::allPanelsDisabled() const
{
    for (const QFrame *p : m_panels)
        if (p->isEnabled())
            return false;
    return true;
}

void MatchingScreen::solveExercise(bool praise)
{
    m_exerciseDone = true;
    if (praise)
        exerciseSolved();
    else
        exerciseSolved(QString(), false); // a set finished by help ends without the praise
}

bool MatchingScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        for (QLabel *picture : m_pictures) {
            // Filters see presses on disabled widgets too; a solved task's picture is mute.
            if (watched == picture && picture->isEnabled()) {
                say(hintOf(picture));
                break;
            }
        }
    }
    return ActivityScreen::eventFilter(watched, event);
}

void MatchingScreen::Natisni()
{
    std::optional<Report> report;
    {
        BusyCursor busy;
        PictureCardSheet sheet;
        sheet.kind = m_kind == Kind::Words       ? PictureCardSheet::Kind::Words
                     : m_kind == Kind::Syllables ? PictureCardSheet::Kind::Syllables
                                                 : PictureCardSheet::Kind::Letters;
        for (int t = 0; t < kTasks; ++t)
            sheet.pictures[t] = m_pictures[t]->pixmap().toImage();
        sheet.cells = worksheetCells(this);
        report = TqrBesede(sheet);
    }
    previewReport(*report, this);
}

} // namespace tipsovo
