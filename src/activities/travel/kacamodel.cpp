// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/travel/kacamodel.h"

#include <QList>

namespace tipsovo {

namespace {

struct TownRow {
    const char16_t *display;
    int x;
    int y;
    const char *resource;
};
// The towns in table order, with their places on the 620 × 420 map.
const TownRow kTownTable[KacaModel::kTowns] = {
    {u"Ajdovščina", 120, 275, "Ajdovscina"},
    {u"Kranj", 199, 188, "Kranj"},
    {u"Celje", 361, 187, "Celje"},
    {u"Črnomelj", 348, 362, "Crnomelj"},
    {u"Ribnica", 264, 317, "Ribnica"},
    {u"Nova Gorica", 73, 257, "NovaGorica"},
    {u"Koper", 88, 364, "Koper"},
    {u"Žiri", 160, 235, "Ziri"},
    {u"Brnik", 224, 191, "Brnik"},
    {u"Ilirska Bistrica", 178, 354, "IlirskaBistrica"},
    {u"Jesenice", 155, 137, "Jesenice"},
    {u"Krško", 400, 259, "Krsko"},
    {u"Ljubljana", 228, 232, "Ljubljana"},
    {u"Maribor", 428, 108, "Maribor"},
    {u"Novo mesto", 342, 298, "Novomesto"},
    {u"Ormož", 514, 143, "Ormoz"},
    {u"Piran", 58, 366, "Piran"},
    {u"Ptuj", 472, 140, "Ptuj"},
    {u"Sežana", 112, 320, "Sezana"},
    {u"Škofja Loka", 192, 204, "SkofjaLoka"},
    {u"Tolmin", 88, 197, "Tolmin"},
    {u"Postojna", 175, 301, "Postojna"},
    {u"Velenje", 332, 155, "Velenje"},
    {u"Trbovlje", 323, 212, "Trbovlje"},
    {u"Murska Sobota", 517, 82, "MurskaSobota"},
    {u"Rogaška Slatina", 415, 186, "RogaskaSlatina"},
    {u"Bovec", 69, 158, "Bovec"},
    {u"Slovenj Gradec", 326, 116, "SlovenjGradec"},
};

// Random cells tried before the free cells are counted out: the draw stays the usual one while
// the board is roomy, and ends even when the train fills it.
constexpr int kRandomTries = 64;

QPoint stepFrom(QPoint c, KacaModel::Direction d)
{
    switch (d) {
    case KacaModel::Right: return {c.x() + 1, c.y()};
    case KacaModel::Down: return {c.x(), c.y() + 1};
    case KacaModel::Left: return {c.x() - 1, c.y()};
    case KacaModel::Up: return {c.x(), c.y() - 1};
    }
    return c;
}

} // namespace

KacaModel::KacaModel(RandomSource &random) : m_random(random), m_towns(NaloziMesta())
{
    m_current = m_towns.first();
}

QList<Town> KacaModel::NaloziMesta()
{
    QList<Town> towns;
    towns.reserve(kTowns);
    for (const TownRow &r : kTownTable)
        towns.append({QString::fromUtf16(r.display), true, r.x, r.y, QString::fromLatin1(r.resource)});
    return towns;
}

int KacaModel::townIndexByName(const QString &display) const
{
    for (int i = 0; i < m_towns.size(); ++i) {
        if (m_towns[i].display == display)
            return i;
    }
    return -1;
}

void KacaModel::setCurrentTown(int index)
{
    m_current = m_towns.at(index);
}

void KacaModel::ZrebajMesto()
{
    int usedUp = 0;
    for (const Town &t : std::as_const(m_towns))
        usedUp += t.available ? 0 : 1;
    if (usedUp >= kTownsBeforeRepeat) {
        for (Town &t : m_towns)
            t.available = true;
    }
    // At least six towns are available here, so the draw ends.
    int i = m_random.Random(kTowns);
    while (!m_towns[i].available)
        i = m_random.Random(kTowns);
    m_towns[i].available = false;
    m_current = m_towns[i];
}

QString KacaModel::FormatirajLabelo(const QString &name, int n)
{
    const QString red = QStringLiteral("\\clRed\\cl");
    const QString green = QStringLiteral("\\clGreen\\cl");
    if (n < 1)
        n = 1;
    if (n > name.size())
        return name + red + green;
    return name.left(n - 1) + red + name.mid(n - 1, 1) + green + name.mid(n);
}

QChar KacaModel::nameLetter(int i) const
{
    const QString &name = m_current.display;
    return i >= 1 && i <= name.size() ? name.at(i - 1) : QChar();
}

bool KacaModel::isWall(QPoint c)
{
    return c.x() <= 0 || c.x() >= kColumns - 1 || c.y() <= 0 || c.y() >= kRows - 1;
}

bool KacaModel::onTrain(QPoint cell, int from) const
{
    for (int i = from; i < m_train.size(); ++i) {
        if (m_train[i] == cell)
            return true;
    }
    return false;
}

QPoint KacaModel::freeCell()
{
    for (int attempt = 0; attempt < kRandomTries; ++attempt) {
        const int row = m_random.Random(kRows - 2) + 1;
        const int column = m_random.Random(kColumns - 2) + 1;
        if (!onTrain({column, row}))
            return {column, row};
    }
    // A long train: count the free cells and take one of them.
    QList<QPoint> free;
    for (int row = 1; row < kRows - 1; ++row) {
        for (int column = 1; column < kColumns - 1; ++column) {
            if (!onTrain({column, row}))
                free.append({column, row});
        }
    }
    if (free.isEmpty())
        return {-1, -1};
    return free.at(m_random.Random(int(free.size())));
}

void KacaModel::Inicializacija(GameType type)
{
    m_redrawFrogs = true;
    m_train = {{15, 1}, {14, 1}};
    m_direction = Right;
    m_vacated = {-1, -1};
    m_frogs = {Frog{}};
    m_wrongPending = false;
    ZrebajMesto();
    m_collected.clear();
    m_letterIndex = 0;
    m_type = type;
    m_ending = Ending::None;
    m_nameMarkup.clear();
    if (m_type == Tezka)
        NastaviZabe();
    else
        NastaviZabo();
    m_title = m_type == Navadna ? ordinaryTitleText() : titleText();
    if (m_type == Tezka)
        m_nameMarkup = FormatirajLabelo(m_current.display, 1);
    m_markerShown = false;
    m_ready = true;
}

bool KacaModel::NastaviZabo()
{
    if (m_type == Navadna) {
        m_letterIndex = 1;
    } else {
        ++m_letterIndex;
        if (m_letterIndex > m_current.display.size())
            return false;
    }
    for (int i = 0; i < m_frogs.size(); ++i) {
        Frog &f = m_frogs[i];
        f.cell = freeCell();
        switch (m_type) {
        case Lahka:
            f.letter = QString(nameLetter(m_letterIndex));
            break;
        case Tezka:
            f.letter = QString(nameLetter(i + 1));
            m_nameMarkup = FormatirajLabelo(m_current.display, 1);
            break;
        case Navadna:
            f.letter.clear();
            return true; // only the first frog is placed
        }
    }
    return true;
}

void KacaModel::NastaviZabe()
{
    m_frogs = QList<Frog>(m_current.display.size());
    NastaviZabo();
    m_letterIndex = 1;
}

KacaModel::Step KacaModel::step()
{
    Step s;
    if (!m_running || m_paused)
        return s;
    s.moved = true;
    ++m_steps;

    m_vacated = m_train.last();
    for (int i = int(m_train.size()) - 1; i > 0; --i)
        m_train[i] = m_train[i - 1];
    m_train[0] = stepFrom(m_train[0], m_direction);
    const QPoint head = m_train[0];

    bool eaten = false;
    for (Frog &f : m_frogs) {
        if (f.cell != head)
            continue;
        if (m_type == Navadna) {
            eaten = true;
        } else if (f.letter == QString(nameLetter(m_letterIndex))) {
            eaten = true;
            m_collected += f.letter;
        } else {
            // Only the hard type has frogs with other letters: the frog stays and counts once
            // for this meeting.
            ++m_wrong;
            s.wrongLetter = true;
            m_wrongPending = true;
            m_wrongCell = f.cell;
            m_wrongLetter = f.letter;
        }
        if (eaten)
            f.cell = {-1, -1};
        break;
    }

    bool finished = false;
    if (eaten) {
        m_redrawFrogs = true;
        m_train.append(m_vacated);
        s.grew = true;
        switch (m_type) {
        case Lahka:
            finished = !NastaviZabo();
            break;
        case Tezka:
            ++m_letterIndex;
            m_nameMarkup = FormatirajLabelo(m_current.display, m_letterIndex);
            finished = m_letterIndex > m_current.display.size();
            break;
        case Navadna:
            NastaviZabo();
            if (!m_frogs.first().onBoard()) {
                // The train covers every playing cell: the longest train there can be.
                KonecIgre(Ending::BoardFull);
                s.ending = m_ending;
                return s;
            }
            break;
        }
    } else {
        m_redrawFrogs = false;
        // A frog the last wagon has just uncovered shows again: the remembered wrong frog,
        // and any other the train had covered.
        if (m_wrongPending && m_vacated == m_wrongCell) {
            m_wrongPending = false;
            m_redrawFrogs = true;
        }
        for (const Frog &f : std::as_const(m_frogs)) {
            if (f.cell == m_vacated)
                m_redrawFrogs = true;
        }
    }

    if (finished) {
        finish();
    } else if (isWall(head)) {
        KonecIgre(Ending::Wall);
    } else if (onTrain(head, 1)) {
        KonecIgre(Ending::Wagon);
    }
    s.ending = m_ending;
    return s;
}

void KacaModel::finish()
{
    // The hard type collects only the due letters, so its collected name is always complete.
    m_markerShown = m_type == Lahka || m_collected == m_current.display;
    m_blink = 0;
    KonecIgre(Ending::Destination);
}

void KacaModel::KonecIgre(Ending how)
{
    m_running = false;
    m_ready = false;
    m_ending = how;
    switch (how) {
    case Ending::Wall:
        m_title = wallText();
        ++m_wrong;
        break;
    case Ending::Wagon:
        m_title = wagonText();
        ++m_wrong;
        break;
    case Ending::Destination:
        m_title = destinationText();
        ++m_right;
        break;
    case Ending::BoardFull:
        m_title = boardFullText();
        ++m_right;
        break;
    case Ending::None:
        break;
    }
}

void KacaModel::arrow(Direction d)
{
    if (!m_running && !m_ready)
        return;
    if (m_ready && !m_running)
        m_running = true;
    if (d == (m_direction + 2) % 4)
        return;
    m_direction = d;
}

void KacaModel::space()
{
    if (!m_running)
        Inicializacija(m_type);
    else if (m_paused)
        OdpavzirajIgro();
    else
        PavzirajIgro();
}

void KacaModel::PavzirajIgro()
{
    if (m_running)
        m_paused = true;
}

void KacaModel::OdpavzirajIgro()
{
    if (m_running)
        m_paused = false;
}

void KacaModel::faster()
{
    for (int i = 0; i < 4; ++i) {
        if (m_interval == kIntervals[i]) {
            m_interval = kIntervals[i + 1];
            return;
        }
    }
}

void KacaModel::slower()
{
    for (int i = 1; i < 5; ++i) {
        if (m_interval == kIntervals[i]) {
            m_interval = kIntervals[i - 1];
            return;
        }
    }
}

int KacaModel::dialPicture() const
{
    for (int i = 0; i < 5; ++i) {
        if (m_interval == kIntervals[i])
            return i;
    }
    return 2;
}

double KacaModel::blinkTick()
{
    --m_blink;
    if (m_blink <= 0)
        m_blink = kBlinkTicks;
    return double(m_blink) / kBlinkTicks * 400.0 + 380.0;
}

QString KacaModel::wagonLetter(int i) const
{
    switch (m_type) {
    case Lahka: return QString(nameLetter(i));
    case Tezka: return i >= 1 && i <= m_collected.size() ? m_collected.mid(i - 1, 1) : QString();
    case Navadna: break;
    }
    return {};
}

QString KacaModel::frogLabel(const Frog &f) const
{
    switch (m_type) {
    case Lahka: return QString(nameLetter(m_letterIndex));
    case Tezka: return f.letter;
    case Navadna: break;
    }
    return {};
}

int KacaModel::lastWagonPicture() const
{
    if (m_train.size() < 2)
        return 0;
    const QPoint last = m_train.last();
    const QPoint front = m_train.at(m_train.size() - 2);
    if (last.x() > front.x())
        return 0;
    if (last.y() < front.y())
        return 1;
    if (last.x() < front.x())
        return 2;
    return 3;
}

void KacaModel::setTrain(const QList<QPoint> &cells, Direction d)
{
    m_train = cells;
    m_direction = d;
}

KacaModel::Direction KacaModel::towards(QPoint from, QPoint to)
{
    if (to.x() > from.x())
        return Right;
    if (to.x() < from.x())
        return Left;
    return to.y() > from.y() ? Down : Up;
}

} // namespace tipsovo
