// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfsestavizloge.h"

#include "media/hint.h"
#include "widgets/controls.h"

#include <QFrame>
#include <QLabel>

namespace tipsovo {

namespace {

// The word table, numbered 1 … 20 in this order: word, resource name, syllables, distractors.
struct BuiltInWord {
    const char *beseda;
    const char *ime;
    const char *zlogi;
    const char *odvec;
};
const BuiltInWord kTable[TfSestaviZloge::kWords] = {
    {"TELEFON", "TELEFON", "TE LE FON", "TA LO VI ZI JA"},
    {"BANANA", "BANANA", "BA NA NA", "TI RI LE KA MA"},
    {"KORENJE", "KORENJE", "KO REN JE", "RU ZA LO MAR MA SKO"},
    {"OMARA", "OMARA", "O MA RA", "LA CA BA CA KA RI"},
    {"SLADOLED", "SLADOLED", "SLA DO LED", "ŠČI DI SON LO TI CA"},
    {"PIKAPOLONICA", "PIKAPOLONICA", "PI KA PO LO NI CA", "SMO ČEK TOK NA"},
    {"ČEBELA", "CEBELA", "ČE BE LA", "LO REZ GE PO ČRV ZA ČO"},
    {"KOS", "KOS", "KOS", "ZA RA DI PI VO KO RI TO V"},
    {"DEŽ", "DEZ", "DEŽ", "DE ŽE LA SLO VE NI JA PI JAN"},
    {"GRABLJE", "GRABLJE", "GRA BLJE", "GA BER GO STIL NA O PE KA"},
    {"KOMAR", "KOMAR", "KO MAR", "KROM PIR KRI PA O MA RA E"},
    {"KOŠARA", "KOSARA", "KO ŠA RA", "KI TA RAZ GLED ŠI PA A"},
    {"KOZA", "KOZA", "KO ZA", "OV CA PE TE LIN SVI NJA KOS"},
    {"LOKOMOTIVA", "LOKOMOTIVA", "LO KO MO TI VA", "KOM PO ZI CI JA"},
    {"LOPAR", "LOPAR", "LO PAR", "LA BOD ZLOG LA SEN A BE CE"},
    {"PAJEK", "PAJEK", "PA JEK", "JA NE ZEK MIC KA SON CE JAK"},
    {"PETELIN", "PETELIN", "PE TE LIN", "PA RA DI ŽNIK PO STEL JA"},
    {"SOVA", "SOVA", "SO VA", "SON CE U ČIL NI CA ŽO GA"},
    {"TRAVA", "TRAVA", "TRA VA", "TRO BEN TA BILJ KA ZA NOS KRAP"},
    {"VILE", "VILE", "VI LE", "VOZ LI ŠČE KRE MEN ČEK VE LI"},
};

const QString kEmptyDisplay(WordPanelsScreen::kLetters, QLatin1Char('_'));

WordPanelsScreen::Layout panelsLayout()
{
    WordPanelsScreen::Layout l;
    l.picturePack = QStringLiteral("sl4");
    l.wallpaper = QStringLiteral("bg-sestavizloge");
    l.panelSize = {350, 217};
    l.innerPanel = {4, 6, 151, 205};
    l.picture = {4, 15, 144, 144};
    l.offerPixelSize = 24;
    l.sheetKind = PictureCardSheet::Kind::ComposeSyllables;
    // Offer places (left, top) in the word panel, by slot and place 1 … 15.
    l.offerPlaces = {{
        {{{162, 2}, {156, 151}, {171, 123}, {167, 59}, {263, 59}, {170, 183}, {278, 183},
          {185, 91}, {213, 31}, {289, 26}, {256, 87}, {276, 115}, {284, 155}, {275, 3},
          {224, 143}}},
        {{{157, 1}, {205, 127}, {156, 60}, {160, 156}, {156, 97}, {223, 74}, {235, 44},
          {222, 18}, {286, 10}, {286, 74}, {237, 158}, {261, 103}, {189, 186}, {285, 134},
          {276, 187}}},
        {{{160, 2}, {157, 43}, {275, 74}, {175, 126}, {223, 30}, {188, 77}, {162, 150},
          {173, 186}, {289, 49}, {285, 10}, {220, 102}, {276, 114}, {224, 158}, {280, 138},
          {275, 182}}},
        {{{163, 1}, {206, 130}, {285, 130}, {181, 74}, {259, 76}, {169, 47}, {264, 154},
          {167, 154}, {227, 37}, {166, 100}, {285, 52}, {270, 6}, {182, 178}, {285, 182},
          {246, 103}}},
    }};
    return l;
}

std::array<QString, TfSestaviZloge::kParts> parts(const char *text)
{
    std::array<QString, TfSestaviZloge::kParts> out;
    const QStringList list = QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < TfSestaviZloge::kParts && i < list.size(); ++i)
        out[i] = list.at(i);
    return out;
}

} // namespace

bool TfSestaviZloge::Naloga::complete() const { return next().isEmpty(); }

QString TfSestaviZloge::Naloga::next() const
{
    for (const QString &s : Manjka)
        if (!s.isEmpty())
            return s;
    return {};
}

QString TfSestaviZloge::instruction() { return QStringLiteral("IZ ZLOGOV SESTAVI BESEDE !"); }

QList<TfSestaviZloge::BesedaZlogi> TfSestaviZloge::wordTable()
{
    QList<BesedaZlogi> words;
    for (const BuiltInWord &w : kTable)
        words.append({QString::fromUtf8(w.beseda), QString::fromUtf8(w.ime), parts(w.zlogi),
                      parts(w.odvec), false});
    return words;
}

TfSestaviZloge::TfSestaviZloge(AppHost &host, QWidget *parent)
    : WordPanelsScreen(host,
                       panelsSetup(QStringLiteral("TfSestaviZloge"), instruction(),
                                   QStringLiteral("A35"), kSetWords / kExerciseWords),
                       panelsLayout(), parent), m_words(wordTable())
{
    setWindowTitle(QStringLiteral("Šesta igra"));
    commandButton(Command::Naprej)->move(226, 526);
}

void TfSestaviZloge::clearUsed()
{
    clearUsedFlags(m_words);
    m_sestavljenih = 0;
    m_koncano = false;
}

void TfSestaviZloge::bNovaIgraClick()
{
    m_koncano = false;
    dealExercise();
}

void TfSestaviZloge::dealSlot(int j)
{
    Naloga &n = m_naloga[j - 1];
    n = Naloga{};
    if (!takeFreeWord(m_words, n.word))
        return; // a set deals 12 of the 20 words, so this does not happen
    n.display = kEmptyDisplay;
    n.Manjka = n.word.Zlogi;

    // The offer: the syllables in places 1 … 10, then every empty place of the fifteen takes
    // the next distractor in order.
    std::array<QString, kOffers> offer;
    for (int i = 0; i < kParts; ++i)
        offer[i] = n.word.Zlogi[i];
    int d = 0;
    for (int i = 0; i < kOffers && d < kParts; ++i)
        if (offer[i].isEmpty())
            offer[i] = n.word.Odvec[d++];
    // Shuffled into Ponudba from the last place to the first.
    const QList<int> places = random().shuffledPlaces(kOffers);
    for (int i = 0; i < kOffers; ++i)
        n.Ponudba[kOffers - 1 - i] = offer[places.at(i) - 1];

    showPicture(j, n.word.Ime);
    showLetters(j, n.display, Qt::black);
    for (int k = 1; k <= kOffers; ++k)
        setOffer(j, k, n.Ponudba[k - 1], true);
}

void TfSestaviZloge::writeSyllable(Naloga &n, const QString &syllable)
{
    // From the first underscore on; a syllable never runs past the twelve places.
    qsizetype at = n.display.indexOf(QLatin1Char('_'));
    for (const QChar c : syllable) {
        if (at < 0 || at >= n.display.size())
            break;
        n.display[at++] = c;
    }
    for (QString &m : n.Manjka) {
        if (!m.isEmpty()) {
            m.clear();
            break;
        }
    }
}

void TfSestaviZloge::offerClicked(int j, int k)
{
    Naloga &n = m_naloga[j - 1];
    LetterCell *cell = offerCell(j, k);
    const QString caption = cell->text();
    if (caption.isEmpty() || n.complete())
        return;
    if (caption == n.next()) {
        cell->hide();
        writeSyllable(n, caption);
    } else {
        say(QStringLiteral("narobe"));
        if (std::find(n.Manjka.begin(), n.Manjka.end(), caption) != n.Manjka.end()) {
            // A syllable of the word, but not yet: shown, not counted.
            cell->setTextColor(Qt::red);
        } else {
            setStrikeOut(cell, true);
            setCounts(rightCount(), wrongCount() + 1);
        }
        return;
    }
    if (n.complete()) {
        say(hintOf(picture(j)));
        setCounts(rightCount() + 1, wrongCount());
        wordComposed(j);
    }
    showLetters(j, n.display, n.complete() ? QColor(Qt::red) : QColor(Qt::black));
    if (n.complete())
        finishSlot(j);
    if (n.complete() && m_sestavljenih % kExerciseWords == 0)
        exerciseSolved(QStringLiteral("A9"), true);
}

void TfSestaviZloge::wordComposed(int j)
{
    Naloga &n = m_naloga[j - 1];
    n.display.replace(QLatin1Char('_'), QLatin1Char(' '));
    ++m_sestavljenih;
    if (m_sestavljenih >= kSetWords)
        m_sestavljenih = 0;
}

void TfSestaviZloge::bPomocClick()
{
    if (m_koncano)
        return;
    for (int j = 1; j <= kSlots; ++j) {
        Naloga &n = m_naloga[j - 1];
        if (n.complete())
            continue;
        // The syllable is written in; the label that offers it stays as it is.
        writeSyllable(n, n.next());
        if (n.complete()) {
            wordComposed(j);
            showLetters(j, n.display, Qt::red);
            finishSlot(j);
        } else {
            showLetters(j, n.display, Qt::black);
        }
        JeKonec();
        return;
    }
}

bool TfSestaviZloge::JeKonec()
{
    for (const Naloga &n : m_naloga)
        if (!n.complete())
            return false;
    m_koncano = true;
    // The praise of a set finished by help does not wait for a sound still playing.
    exerciseSolved(QStringLiteral("A9"), false);
    return true;
}

} // namespace tipsovo
