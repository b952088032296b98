// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfzamenjajcrke.h"

#include "media/hint.h"
#include "widgets/controls.h"

#include <QFrame>
#include <QLabel>

namespace tipsovo {

namespace {

// The table of misspelt words, in this order: as shown, right word's name, first right letter
// and its place, second right letter and its place (0 when there is none).
struct BuiltInWord {
    const char *napacna;
    const char *ime;
    const char *crka1;
    int mesto1;
    const char *crka2;
    int mesto2;
};
const BuiltInWord kTable[TfZamenjajCrke::kWords] = {
    {"SORCE", "SONCE", "N", 3, "", 0},
    {"METKA", "METLA", "L", 4, "", 0},
    {"KOŠAREC", "KOZAREC", "Z", 3, "", 0},
    {"ŠOGIČA", "ZOGICA", "Ž", 1, "C", 5},
    {"TULIKAM", "TULIPAN", "P", 5, "N", 7},
    {"GRTAČEA", "KRTACKA", "K", 1, "K", 6},
    {"ČEBELA", "CEBULA", "U", 4, "", 0},
    {"KUKALNICA", "GUGALNICA", "G", 1, "G", 3},
    {"KAJA", "KACA", "Č", 3, "", 0},
    {"KOŽIRICA", "KOBILICA", "B", 3, "L", 5},
    {"AVTUBIS", "AVTOBUS", "O", 4, "U", 6},
    {"LESTER", "LESTEV", "V", 6, "", 0},
    {"COPATA", "LOPATA", "L", 1, "", 0},
    {"MASKA", "MACKA", "Č", 3, "", 0},
    {"OGŽAJA", "OGRAJA", "R", 3, "", 0},
    {"SAMOBOLKICA", "SAMOKOLNICA", "K", 5, "N", 8},
    {"SKARTE", "SKARJE", "Š", 1, "J", 5},
    {"ŠKROFILNECA", "SKROPILNICA", "P", 5, "I", 9},
    {"TORTA", "TORBA", "B", 4, "", 0},
    {"ŽAGA", "ZABA", "B", 3, "", 0},
};

const QString kGap = QStringLiteral("_");

WordPanelsScreen::Layout panelsLayout()
{
    WordPanelsScreen::Layout l;
    l.picturePack = QStringLiteral("sl5");
    l.wallpaper = QStringLiteral("bg-zamenjajcrke");
    l.panelSize = {356, 217};
    l.innerPanel = {4, 6, 173, 205};
    l.picture = {4, 4, 165, 165};
    l.offerPixelSize = 27;
    l.lettersClickable = true;
    l.sheetKind = PictureCardSheet::Kind::SwapLetters;
    // Offer places (left, top) in the word panel, by slot and place 1 … 15.
    l.offerPlaces = {{
        {{{193, 122}, {221, 98}, {197, 14}, {196, 62}, {280, 14}, {203, 174}, {287, 162},
          {306, 106}, {242, 26}, {314, 22}, {317, 66}, {313, 142}, {245, 142}, {324, 178},
          {273, 66}}},
        {{{194, 127}, {234, 95}, {193, 71}, {201, 39}, {273, 95}, {236, 27}, {264, 51},
          {275, 7}, {299, 35}, {323, 75}, {258, 179}, {310, 99}, {198, 171}, {274, 143},
          {309, 139}}},
        {{{194, 71}, {190, 11}, {257, 63}, {209, 95}, {225, 39}, {280, 7}, {240, 119},
          {199, 183}, {299, 63}, {319, 39}, {290, 95}, {322, 107}, {234, 171}, {278, 147},
          {317, 151}}},
        {{{196, 172}, {200, 120}, {247, 136}, {207, 56}, {263, 84}, {202, 8}, {282, 164},
          {257, 20}, {293, 40}, {229, 96}, {320, 80}, {316, 28}, {240, 180}, {319, 144},
          {300, 112}}},
    }};
    return l;
}

} // namespace

QString TfZamenjajCrke::NapacnaBeseda::corrected() const
{
    QString word = Napacna;
    if (Mesto1 >= 1 && Mesto1 <= word.size())
        word.replace(Mesto1 - 1, 1, Crka1);
    if (Mesto2 >= 1 && Mesto2 <= word.size())
        word.replace(Mesto2 - 1, 1, Crka2);
    return word;
}

QString TfZamenjajCrke::instruction()
{
    return QStringLiteral("V BESEDAH ZAMENJAJ NAPAČNE ČRKE !");
}

QString TfZamenjajCrke::CrkeAbecede() { return QStringLiteral("ABCČDEFGHIJKLMNOPRSŠTUVZŽ"); }

QList<TfZamenjajCrke::NapacnaBeseda> TfZamenjajCrke::wordTable()
{
    QList<NapacnaBeseda> words;
    for (const BuiltInWord &w : kTable)
        words.append({QString::fromUtf8(w.napacna), QString::fromUtf8(w.ime),
                      QString::fromUtf8(w.crka1), w.mesto1, QString::fromUtf8(w.crka2), w.mesto2,
                      false});
    return words;
}

TfZamenjajCrke::TfZamenjajCrke(AppHost &host, QWidget *parent)
    : WordPanelsScreen(host,
                       panelsSetup(QStringLiteral("TfZamenjajCrke"), instruction(),
                                   QStringLiteral("A36"), kSetLength),
                       panelsLayout(), parent), m_words(wordTable())
{
    setWindowTitle(QStringLiteral("Sedma igra"));
    // This screen's command row stands a little further left.
    const int lefts[5] = {218, 329, 441, 552, 663};
    for (int c = 0; c < 5; ++c)
        commandButton(Command(c))->move(lefts[c], 527);
}

void TfZamenjajCrke::clearUsed()
{
    clearUsedFlags(m_words);
    m_resenih = 0;
    m_koncano = false;
}

void TfZamenjajCrke::bNovaIgraClick()
{
    m_koncano = false;
    dealExercise();
}

void TfZamenjajCrke::dealSlot(int j)
{
    NapacnaBeseda &n = m_naloga[j - 1];
    n = NapacnaBeseda{};
    if (!takeFreeWord(m_words, n))
        return; // a set deals 12 of the 20 words, so this does not happen

    // Fifteen letters that are neither right letter, then each right letter in a place of its
    // own: a right letter is offered once for every place it belongs in.
    QStringList others;
    for (const QChar c : CrkeAbecede())
        if (QString(c) != n.Crka1 && QString(c) != n.Crka2)
            others.append(QString(c));
    auto &offer = m_ponudba[j - 1];
    for (int k = kOffers; k >= 1; --k)
        offer[k - 1] = others.at(random().Random(int(others.size())));
    int k1 = 0;
    if (!n.Crka1.isEmpty()) {
        k1 = random().Random(kOffers) + 1;
        offer[k1 - 1] = n.Crka1;
    }
    if (!n.Crka2.isEmpty()) {
        int k2 = random().Random(kOffers - 1) + 1;
        if (k2 >= k1 && k1 > 0)
            ++k2; // any place but k1, uniformly
        offer[k2 - 1] = n.Crka2;
    }

    showPicture(j, n.Ime);
    showLetters(j, n.Napacna, Qt::black);
    for (int k = 1; k <= kOffers; ++k)
        setOffer(j, k, offer[k - 1], false);
}

void TfZamenjajCrke::place(NapacnaBeseda &n, int which)
{
    QString &crka = which == 1 ? n.Crka1 : n.Crka2;
    int &mesto = which == 1 ? n.Mesto1 : n.Mesto2;
    if (mesto >= 1 && mesto <= n.Napacna.size())
        n.Napacna.replace(mesto - 1, 1, crka);
    crka.clear();
    mesto = 0;
}

void TfZamenjajCrke::refreshLetters(int j)
{
    const NapacnaBeseda &n = m_naloga[j - 1];
    showLetters(j, n.Napacna, n.done() ? QColor(Qt::red) : QColor(Qt::black));
}

void TfZamenjajCrke::letterClicked(int j, int p)
{
    NapacnaBeseda &n = m_naloga[j - 1];
    if (p == n.Mesto1 || p == n.Mesto2) {
        // A wrong letter still to be replaced: it becomes a gap (again, if it is one).
        n.Napacna.replace(p - 1, 1, kGap);
        letterCell(j, p)->setText(kGap);
        say(QStringLiteral("prav"));
    } else {
        // Also a letter that is right already, or one the child has just placed.
        answerWrong();
    }
}

void TfZamenjajCrke::offerClicked(int j, int k)
{
    NapacnaBeseda &n = m_naloga[j - 1];
    LetterCell *cell = offerCell(j, k);
    const QString c = cell->text();
    if (c.isEmpty())
        return;
    int which = 0;
    if (c == n.Crka1 && letterAt(n.Napacna, n.Mesto1) == kGap)
        which = 1;
    else if (c == n.Crka2 && letterAt(n.Napacna, n.Mesto2) == kGap)
        which = 2;
    if (which) {
        place(n, which);
        cell->clear();
        cell->hide();
        setCounts(rightCount() + 1, wrongCount());
    } else {
        say(QStringLiteral("narobe"));
        if (c == n.Crka1 || c == n.Crka2)
            cell->setTextColor(Qt::red); // right, but its place is not marked yet
        else
            setStrikeOut(cell, true);
        setCounts(rightCount(), wrongCount() + 1);
    }
    if (n.done()) {
        say(hintOf(picture(j)));
        refreshLetters(j);
        finishSlot(j);
    } else {
        if (which)
            say(QStringLiteral("prav"));
        refreshLetters(j);
    }
    VseReseno();
}

void TfZamenjajCrke::bPomocClick()
{
    if (m_koncano)
        return;
    for (int j = 1; j <= kSlots; ++j) {
        NapacnaBeseda &n = m_naloga[j - 1];
        if (n.done())
            continue;
        // Marked or not; the offered letter stays where it is, nothing is counted or heard.
        place(n, n.Crka1.isEmpty() ? 2 : 1);
        refreshLetters(j);
        VseReseno();
        return;
    }
}

bool TfZamenjajCrke::VseReseno()
{
    if (m_koncano)
        return true; // counted once
    for (int j = 1; j <= kSlots; ++j) {
        if (!m_naloga[j - 1].done())
            return false;
        finishSlot(j);
    }
    m_koncano = true;
    if (++m_resenih >= kSetLength)
        m_resenih = 0;
    exerciseSolved(QStringLiteral("A9"), true);
    return true;
}

} // namespace tipsovo
