// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/sentences/tfoznacipovedi.h"

#include "media/apphost.h"
#include "media/hint.h"
#include "print/reportpreview.h"
#include "print/worksheets.h"
#include "widgets/controls.h"

#include <QEvent>
#include <algorithm>
#include <QLabel>
#include <QMouseEvent>

namespace tipsovo {

namespace {

const QColor kNavy(0, 0, 128);
const int kTops[4] = {174, 241, 307, 374};

TfOznaciPovedi::Poved p(const char *besedilo, const char *zvok)
{
    return {QString::fromUtf8(besedilo), QString::fromLatin1(zvok)};
}

ActivityScreen::Setup povediSetup()
{
    ActivityScreen::Setup st;
    st.objectName = QStringLiteral("TfOznaciPovedi");
    st.instruction = QStringLiteral("OZNAČI PRAVILNE POVEDI!");
    st.instructionHint = QStringLiteral("A42");
    st.setLength = TfOznaciPovedi::kPerExercise;
    // NATISNI and KONEC keep the frame's names (SpeedButton3, SpeedButton1).
    st.commandNames.naprej = QStringLiteral("bNaprej");
    st.commandNames.pomoc = QStringLiteral("bPomoc");
    st.commandNames.ponovi = QStringLiteral("bPonovi");
    return st;
}

QPixmap fitMark(const QPixmap &mark)
{
    return mark.isNull() ? mark
                         : mark.scaled(30, 30, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

const std::array<TfOznaciPovedi::Skupina, TfOznaciPovedi::kSets> &TfOznaciPovedi::vgrajeneSkupine()
{
    // The sound names are not in sentence order everywhere, and no set uses C77.
    static const std::array<Skupina, kSets> sets = {{
        {p("V gozdu živijo gozdne živali.", "C1"), p("V gozdu živijo lepi oblaki.", "C2"),
         p("V gozdu živijo velike torbe.", "C3"), p("V gozdu živijo nove obleke.", "C4")},
        {p("Na hiši je dimnik.", "C5"), p("Na hiši je dežnik.", "C6"),
         p("Na hiši je avtobus.", "C7"), p("Na hiši je slon.", "C8")},
        {p("Matej ima na glavi masko.", "C9"), p("Matej ima na glavi mačko.", "C10"),
         p("Matej ima na glavi škorenj.", "C11"), p("Matej ima na glavi košaro.", "C12")},
        {p("Urška jaha na konju.", "C13"), p("Urška jaha na ovci.", "C14"),
         p("Urška jaha na zajčku.", "C15"), p("Urška jaha na ograji.", "C16")},
        {p("V šolski torbi so zvezki.", "C17"), p("V šolski torbi so igrače.", "C18"),
         p("V šolski torbi so kamni.", "C19"), p("V šolski torbi so ribe.", "C20")},
        {p("Na nebu so temni oblaki.", "C21"), p("Na nebu so temni svinčniki.", "C22"),
         p("Na nebu so temni sloni.", "C23"), p("Na nebu so temni čevlji.", "C24")},
        {p("Goba raste v gozdu.", "C25"), p("Goba raste v skodelici.", "C26"),
         p("Goba raste v hladilniku.", "C27"), p("Goba raste na banki.", "C28")},
        {p("Brinvel beži pred mačko.", "C29"), p("Brinvel beži pred slonom.", "C30"),
         p("Brinvel beži pred radirko.", "C31"), p("Brinvel beži pred krtom.", "C32")},
        {p("V mlaki regljajo žabe.", "C33"), p("V mlaki regljajo ptice.", "C34"),
         p("V mlaki regljajo strici.", "C35"), p("V mlaki regljajo žlice.", "C36")},
        {p("Babica bere časopis.", "C37"), p("Babica bere posteljo.", "C38"),
         p("Babica bere lepilo.", "C39"), p("Babica bere jagode.", "C40")},
        {p("Banane so rumene.", "C41"), p("Banane so vesele.", "C42"),
         p("Banane so deževne.", "C43"), p("Banane so rdeče.", "C44")},
        {p("Jajca so sveža.", "C45"), p("Jajca so visoka.", "C46"),
         p("Jajca so vijolična.", "C47"), p("Jajca so sončna.", "C48")},
        {p("Muca rada prede.", "C49"), p("Muca rada laja.", "C50"),
         p("Muca rada kokodaka.", "C51"), p("Muca rada rezgeta.", "C52")},
        {p("Na veji sedi ptiček.", "C53"), p("Na veji sedi žirafa.", "C54"),
         p("Na veji sedi avtomobil.", "C55"), p("Na veji sedi slon.", "C56")},
        {p("Deček lovi deklico.", "C57"), p("Deček lovi tovarno.", "C58"),
         p("Deček lovi košaro.", "C59"), p("Deček lovi streho.", "C60")},
        {p("Na travniku raste trava.", "C61"), p("Na travniku rastejo klobuki.", "C62"),
         p("Na travniku rastejo omare.", "C63"), p("Na travniku raste vreme.", "C64")},
        {p("Lastovka si spleta gnezdo.", "C66"), p("Lastovka si spleta košaro.", "C65"),
         p("Lastovka si spleta piškote.", "C67"), p("Lastovka si spleta črve.", "C68")},
        {p("Ovca se hrani s travo.", "C72"), p("Ovca se hrani z bonboni.", "C69"),
         p("Ovca se hrani s čokolado.", "C70"), p("Ovca se hrani z lesom.", "C71")},
        {p("Krompir raste na polju.", "C73"), p("Krompir raste v vesolju.", "C74"),
         p("Krompir raste na cesti.", "C75"), p("Krompir raste v knjigi.", "C76")},
        {p("Kmet dela na kmetiji.", "C80"), p("Kmet dela v trgovini.", "C78"),
         p("Kmet dela na pošti.", "C79"), p("Kmet dela v živalskem vrtu.", "C81")},
    }};
    return sets;
}

TfOznaciPovedi::TfOznaciPovedi(AppHost &host, QWidget *parent)
    : ActivityScreen(host, povediSetup(), parent)
{
    setBackgroundPicture(programPicture(QStringLiteral("bg-oznacipovedi")));
    m_rightMark = fitMark(host.rightMark());
    m_wrongMark = fitMark(host.wrongMark());
    for (int k = 0; k < 4; ++k) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("eBeseda%1").arg(k + 1));
        l->setFont(arial(27, true));
        setTextColour(l, kNavy);
        l->setGeometry(221, kTops[k], 566, 36);
        // A sentence is read on a right click; on hover only the instruction line speaks.
        l->setProperty("HoverSilent", true);
        l->installEventFilter(this);
        m_povedi[k] = l;

        auto *mark = new QLabel(this);
        mark->setObjectName(QStringLiteral("Image%1").arg(k + 2));
        mark->setAlignment(Qt::AlignCenter);
        mark->setAttribute(Qt::WA_TranslucentBackground);
        mark->setGeometry(179, kTops[k] + 3, 30, 30);
        m_marks[k] = mark;
    }
}

void TfOznaciPovedi::clearUsed() { m_used.fill(false); }

void TfOznaciPovedi::setMark(int k, const QPixmap &mark)
{
    if (mark.isNull())
        m_marks[k]->clear();
    else
        m_marks[k]->setPixmap(mark);
}

void TfOznaciPovedi::newExercise()
{
    commandButton(Command::Naprej)->hide();
    for (int k = 0; k < 4; ++k) {
        m_marks[k]->clear();
        QLabel *l = m_povedi[k];
        setClickable(l, true);
        l->clear();
        setHint(l, QString());
        QFont f = l->font();
        f.setBold(true);
        f.setStrikeOut(false);
        l->setFont(f);
        setTextColour(l, kNavy);
    }
    m_resena = false;

    QList<int> open;
    for (int s = 0; s < kSets; ++s)
        if (!m_used[std::size_t(s)])
            open.append(s);
    if (open.isEmpty()) // cannot happen within an exercise of ten; PONOVI clears the flags
        return;
    // The same choice as drawing set numbers until an unused one comes up.
    const int s = open.at(m_random.Random(int(open.size())));
    m_used[std::size_t(s)] = true;
    const Skupina &set = vgrajeneSkupine()[std::size_t(s)];
    m_pravilna = set[0].besedilo;
    const QList<int> places = m_random.shuffledPlaces(4);
    for (int j = 0; j < 4; ++j)
        m_shown[std::size_t(places.at(j) - 1)] = set[std::size_t(j)];
    for (int k = 0; k < 4; ++k) {
        m_povedi[k]->setText(m_shown[std::size_t(k)].besedilo);
        setHint(m_povedi[k], m_shown[std::size_t(k)].zvok);
    }
}

void TfOznaciPovedi::markRight(QLabel *label)
{
    const int k = int(std::find(std::begin(m_povedi), std::end(m_povedi), label)
                      - std::begin(m_povedi));
    setTextColour(label, Qt::red);
    setMark(k, m_rightMark);
    m_resena = true;
}

void TfOznaciPovedi::eBeseda1Click(QLabel *label)
{
    if (m_resena || label->text().isEmpty())
        return;
    if (label->text() != m_pravilna) {
        QFont f = label->font();
        f.setBold(true);
        f.setStrikeOut(true);
        label->setFont(f);
        const int k = int(std::find(std::begin(m_povedi), std::end(m_povedi), label)
                          - std::begin(m_povedi));
        setMark(k, m_wrongMark);
        answerWrong();
        return;
    }
    answerRight(hintOf(label));
    for (QLabel *l : m_povedi)
        setClickable(l, false);
    markRight(label);
    exerciseSolved();
}

void TfOznaciPovedi::Zvok(QLabel *label)
{
    const QString sound = hintOf(label);
    if (!sound.isEmpty())
        say(sound);
}

void TfOznaciPovedi::Natisni()
{
    // Built in no time and shown without the hourglass.
    previewReport(TqrOznaciPovedi(), this);
}

void TfOznaciPovedi::bPomocClick()
{
    if (m_resena || m_pravilna.isEmpty())
        return;
    for (QLabel *l : m_povedi) {
        if (l->text() == m_pravilna) {
            say(hintOf(l));
            markRight(l);
            exerciseSolved();
            return;
        }
    }
}

bool TfOznaciPovedi::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    for (QLabel *l : m_povedi) {
        if (watched != l)
            continue;
        const auto button = (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
                             || type == QEvent::MouseButtonDblClick)
                                ? static_cast<QMouseEvent *>(event)->button()
                                : Qt::NoButton;
        // Reading aloud is the right button's press; judging is the left button's click.
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            && button == Qt::RightButton) {
            Zvok(l);
            return true;
        }
        if (type == QEvent::MouseButtonRelease && button == Qt::LeftButton) {
            eBeseda1Click(l);
            return true;
        }
        break;
    }
    return ActivityScreen::eventFilter(watched, event);
}

} // namespace tipsovo
