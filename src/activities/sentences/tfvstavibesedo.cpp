// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/sentences/tfvstavibesedo.h"

#include "media/hint.h"
#include "media/mediaservice.h"
#include "print/reportpreview.h"
#include "widgets/controls.h"

#include <QDialog>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

namespace tipsovo {

namespace {

const QColor kNavy(0, 0, 128);

using Theme = std::array<StavekIzbire, TfVstaviBesedo::kSentences>;

StavekIzbire s(const char *besedilo, const char *zvok, const char *right, const char *a,
               const char *b, const char *c)
{
    return {QString::fromUtf8(besedilo), QString::fromLatin1(zvok),
            {QString::fromUtf8(right), QString::fromUtf8(a), QString::fromUtf8(b),
             QString::fromUtf8(c)},
            false};
}

const std::array<Theme, TfVstaviBesedo::kThemes> &themes()
{
    static const std::array<Theme, TfVstaviBesedo::kThemes> t = {{
        {{
            s("Muca pije _____.", "B1", "mleko", "vodo", "sok", "vino"),
            s("Krave so v _____.", "B2", "hlevu", "sobi", "čakalnici", "avtobusu"),
            s("Psiček glasno ____.", "B3", "laja", "muka", "gaga", "govori"),
            s("Kokoši pobirajo ____.", "B4", "zrna", "solato", "jajca", "bonbone"),
            s("V zajčniku spijo ______.", "B5", "zajčki", "konji", "psi", "mačke"),
            s("V vodi čofotajo _____.", "B6", "račke", "ovce", "očala", "koze"),
            s("Deklica hrani ______.", "B7", "kokoši", "mačke", "srne", "lisice"),
            s("V blatu se valja ______.", "B8", "pujsek", "pes", "konj", "teliček"),
            s("Kmet sedi na _________.", "B9", "traktorju", "vozu", "kolesu", "mizi"),
            s("Petelin glasno ________.", "B10", "kikirika", "kokodaka", "bleje", "prede"),
        }},
        {{
            s("Na klopi sedi ______.", "B11", "babica", "metulj", "muca", "poštar"),
            s("Dedek bere _______.", "B12", "časopis", "radio", "mleko", "ograjo"),
            s("Na gugalnici se guga _______.", "B13", "deklica", "pismo", "roža", "dedek"),
            s("Deček ima v roki _______.", "B14", "lopatko", "ravnilo", "grablje", "avto"),
            s("V ribniku plavajo ______.", "B15", "ribice", "zajci", "oblaki", "rože"),
            s("Rože rastejo na ________.", "B16", "gredicah", "potki", "drevesu", "klopi"),
            s("V peskovniku se igrajo ______.", "B17", "otroci", "mačke", "slončki", "starši"),
            s("Deček vodi na vrvici ___.", "B18", "psa", "kokoš", "metlo", "konja"),
            s("Na veji se oglaša ______.", "B19", "ptiček", "lisica", "list", "želod"),
            s("Dojenček spi v _______.", "B20", "vozičku", "avtobusu", "avtu", "sobi"),
        }},
        {{
            s("V križišču stoji _______.", "B21", "semafor", "čebelnjak", "hlev", "vodnjak"),
            s("Po ulici vozijo ______.", "B22", "vozila", "čebulice", "lončki", "živali"),
            s("Na semaforju gori ______ luč.", "B23", "zelena", "oranžna", "rdeča", "glasna"),
            s("Po pločniku hodijo _____.", "B24", "pešci", "vozniki", "vojaki", "žabe"),
            s("Avtobus je ____.", "B25", "rdeč", "žalosten", "bel", "umazan"),
            s("Promet ureja ________.", "B26", "policist", "dedek", "zdravnik", "deček"),
            s("Na prehodu sta _______.", "B27", "šolarja", "palčka", "rački", "storža"),
            s("V mestu so ________.", "B28", "trgovine", "kletke", "hladilniki", "posode"),
            s("Na tržnici prodajajo _____.", "B29", "sadje", "kitare", "premog", "mraz"),
            s("Ribe prodajajo v _________.", "B30", "ribarnici", "kinu", "šoli", "vrtcu"),
        }},
        {{
            s("Na nebu sije _____.", "B31", "sonce", "luna", "zvezda", "oblak"),
            s("K obali je privezana ________.", "B32", "jadrnica", "raketa", "metla", "psička"),
            s("V pesku ležijo _______.", "B33", "školjke", "štorklje", "škarje", "škornji"),
            s("Deček na skali jé ______.", "B34", "banano", "čokolado", "sladoled", "zrezek"),
            s("Gospa ima na glavi _______.", "B35", "slamnik", "klobuk", "ruto", "čelado"),
            s("Sladoledar prodaja ________.", "B36", "sladoled", "limone", "slamo", "igrače"),
            s("Čez nebo letijo ______.", "B37", "galebi", "prtički", "listi", "jahte"),
            s("Deklica je iz peska sezidala ____.", "B38", "grad", "gozd", "tovarno", "garažo"),
            s("Pod velikim senčnikom se igrajo ______.", "B39", "otroci", "otrobi", "muhe",
              "rože"),
            s("Na vrhu svetilnika je ___.", "B40", "luč", "ključ", "semafor", "dimnik"),
        }},
    }};
    return t;
}

ActivityScreen::Setup vstaviSetup()
{
    ActivityScreen::Setup st;
    st.objectName = QStringLiteral("TfVstaviBesedo");
    st.instruction = QStringLiteral("IZBERI MANJKAJOČO BESEDO!");
    st.instructionHint = QStringLiteral("A41");
    st.setLength = TfVstaviBesedo::kSentences;
    // NATISNI and KONEC keep the frame's names (SpeedButton3, SpeedButton1).
    st.commandNames.naprej = QStringLiteral("bNaprej");
    st.commandNames.pomoc = QStringLiteral("bPomoc");
    st.commandNames.ponovi = QStringLiteral("bPonovi");
    return st;
}

QLabel *navyLabel(QWidget *parent, const QString &name, QRect where)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFont(arial(16, true));
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, kNavy);
    l->setPalette(p);
    l->setGeometry(where);
    return l;
}

} // namespace

const std::array<StavekIzbire, TfVstaviBesedo::kSentences> &TfVstaviBesedo::vgrajeniStavki(int tema)
{
    static const Theme none{};
    return tema >= 0 && tema < kThemes ? themes()[std::size_t(tema)] : none;
}

QString TfVstaviBesedo::slikaTeme(int tema)
{
    static const char *const names[kThemes] = {"kmetija", "park", "ulica", "obala"};
    return tema >= 0 && tema < kThemes ? QString::fromLatin1(names[tema]) : QString();
}

QString TfVstaviBesedo::zapolniVrzel(const QString &besedilo, const QString &word)
{
    QString out = besedilo;
    int next = 0;
    for (int i = 0; i < out.size() && next < word.size(); ++i)
        if (out.at(i) == QLatin1Char('_'))
            out[i] = word.at(next++);
    return out;
}

TfVstaviBesedo::TfVstaviBesedo(AppHost &host, QWidget *parent)
    : ActivityScreen(host, vstaviSetup(), parent)
{
    setWindowTitle(QStringLiteral("Deseta igra"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setBackgroundPicture(programPicture(QStringLiteral("bg-vstavibesedo")));

    auto *bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("Shape1"));
    bar->setFrameStyle(QFrame::Box | QFrame::Plain);
    bar->setLineWidth(2);
    QPalette bp = bar->palette();
    bp.setColor(QPalette::WindowText, kNavy);
    bp.setColor(QPalette::Window, QColor(255, 253, 231));
    bar->setPalette(bp);
    bar->setAutoFillBackground(true);
    bar->setGeometry(27, 56, 745, 43);

    m_stavek = navyLabel(this, QStringLiteral("eStavek"), {31, 69, 403, 20});
    // The sentence speaks when clicked, not on hover: only the instruction line speaks then.
    m_stavek->setProperty("HoverSilent", true);
    m_stavek->setCursor(Qt::PointingHandCursor);
    m_stavek->installEventFilter(this);
    const QPoint places[4] = {{436, 59}, {436, 79}, {584, 59}, {584, 79}};
    for (int k = 0; k < 4; ++k) {
        m_besede[k] = navyLabel(this, QStringLiteral("eBeseda%1").arg(k + 1),
                                QRect(places[k], QSize(146, 19)));
        setClickable(m_besede[k], true);
        m_besede[k]->installEventFilter(this);
    }

    m_slika = new QLabel(this);
    m_slika->setObjectName(QStringLiteral("Image1"));
    m_slika->setAlignment(Qt::AlignCenter);
    m_slika->setScaledContents(true);
    m_slika->setGeometry(27, 99, 745, 425);

    NaloziStavke();
}

void TfVstaviBesedo::setTema(int tema)
{
    m_tema = tema >= 0 && tema < kThemes ? tema : kNoTheme;
}

void TfVstaviBesedo::NaloziStavke()
{
    // Only the texts: which sentences were already given stays as it is.
    const auto &table = vgrajeniStavki(m_tema);
    for (int i = 0; i < kSentences; ++i) {
        const bool used = m_stavki[std::size_t(i)].Uporabljen;
        m_stavki[std::size_t(i)] = table[std::size_t(i)];
        m_stavki[std::size_t(i)].Uporabljen = used;
    }
}

void TfVstaviBesedo::naloziSliko()
{
    QImage picture;
    const QString name = slikaTeme(m_tema);
    if (!name.isEmpty())
        media().NaloziSliko(QStringLiteral("VstaviBesedo"), name, picture);
    if (picture.isNull())
        m_slika->clear();
    else
        m_slika->setPixmap(QPixmap::fromImage(picture));
}

void TfVstaviBesedo::clearUsed()
{
    for (StavekIzbire &st : m_stavki)
        st.Uporabljen = false;
}

void TfVstaviBesedo::setStruck(QLabel *label, bool struck)
{
    QFont f = label->font();
    f.setBold(true);
    f.setStrikeOut(struck);
    label->setFont(f);
}

void TfVstaviBesedo::newExercise()
{
    commandButton(Command::Naprej)->hide();
    commandButton(Command::Pomoc)->setEnabled(true);
    NaloziStavke();
    if (solvedCount() == 0)
        naloziSliko();

    m_odgovorjeno = false;
    m_trenutni = StavekIzbire{};
    m_pravilna.clear();
    m_stavek->clear();
    setHint(m_stavek, QString());
    for (QLabel *l : m_besede) {
        l->clear();
        setStruck(l, false);
        setClickable(l, false);
    }

    QList<int> open;
    for (int i = 0; i < kSentences; ++i)
        if (!m_stavki[std::size_t(i)].Uporabljen && !m_stavki[std::size_t(i)].Besedilo.isEmpty())
            open.append(i);
    if (open.isEmpty())
        return; // no theme, or every sentence given: nothing to deal
    // Drawing sentence numbers until an unused one comes up, without drawing used ones at all.
    const int r = open.at(m_random.Random(int(open.size())));
    m_stavki[std::size_t(r)].Uporabljen = true;
    const StavekIzbire &chosen = m_stavki[std::size_t(r)];
    m_trenutni = chosen;
    m_pravilna = chosen.Izbire[0];
    const QList<int> places = m_random.shuffledPlaces(4);
    for (int i = 0; i < 4; ++i)
        m_trenutni.Izbire[std::size_t(places.at(i) - 1)] = chosen.Izbire[std::size_t(i)];

    m_stavek->setText(m_trenutni.Besedilo);
    setHint(m_stavek, m_trenutni.ZvokStavka);
    for (int k = 0; k < 4; ++k) {
        m_besede[k]->setText(m_trenutni.Izbire[std::size_t(k)]);
        setClickable(m_besede[k], true);
    }
}

void TfVstaviBesedo::eBesedaClick(QLabel *label)
{
    if (commandButton(Command::Naprej)->isVisibleTo(this))
        return;
    const QString c = label->text();
    // An emptied place (the right word taken out) is no choice.
    if (c.isEmpty())
        return;
    if (c != m_pravilna) {
        setStruck(label, true);
        answerWrong();
        return;
    }
    answerRight(m_trenutni.ZvokStavka);
    label->clear();
    setClickable(label, false);
    m_stavek->setText(zapolniVrzel(m_trenutni.Besedilo, m_pravilna));
    commandButton(Command::Pomoc)->setEnabled(false);
    m_odgovorjeno = true;
    exerciseSolved();
}

void TfVstaviBesedo::bPomocClick()
{
    commandButton(Command::Pomoc)->setEnabled(false);
    if (commandButton(Command::Naprej)->isVisibleTo(this) || m_pravilna.isEmpty()
        || m_odgovorjeno)
        return;
    m_stavek->setText(zapolniVrzel(m_trenutni.Besedilo, m_pravilna));
    for (QLabel *l : m_besede) {
        if (l->text() == m_pravilna) {
            l->clear();
            setClickable(l, false);
            break;
        }
    }
    say(m_trenutni.ZvokStavka);
    m_odgovorjeno = true;
    exerciseSolved();
}

void TfVstaviBesedo::eStavekClick()
{
    if (!m_trenutni.ZvokStavka.isEmpty())
        say(m_trenutni.ZvokStavka);
}

InsertWordSheet TfVstaviBesedo::worksheet()
{
    InsertWordSheet sheet;
    const QString name = slikaTeme(m_tema);
    if (!name.isEmpty())
        media().NaloziSliko(QStringLiteral("VstaviBesedo"), name, sheet.scene);
    for (const StavekIzbire &st : m_stavki)
        sheet.sentences.append({st.Besedilo, QStringList(st.Izbire.begin(), st.Izbire.end())});
    return sheet;
}

void TfVstaviBesedo::SpeedButton3Click()
{
    if (slikaTeme(m_tema).isEmpty())
        return; // no theme chosen: no sentences to print
    BusyCursor busy;
    previewReport(TqrVstaviBesedo(worksheet()), this);
}

void TfVstaviBesedo::Button1Click()
{
    if (!m_themeMenu) {
        close();
        return;
    }
    // The theme menu restarts this screen with another theme or closes it; either happens
    // inside exec(), so nothing of this screen is touched afterwards.
    m_themeMenu->exec();
}

bool TfVstaviBesedo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_stavek) {
            eStavekClick();
            return true;
        }
        for (QLabel *l : m_besede) {
            if (watched == l) {
                eBesedaClick(l);
                return true;
            }
        }
    }
    return ActivityScreen::eventFilter(watched, event);
}

} // namespace tipsovo
