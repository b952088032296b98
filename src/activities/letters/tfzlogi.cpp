// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfzlogi.h"

namespace tipsovo {

namespace {

MatchingScreen::Setup zlogiSetup()
{
    MatchingScreen::Setup s;
    s.kind = MatchingScreen::Kind::Syllables;
    s.objectName = QStringLiteral("TfZlogi");
    s.instruction = QStringLiteral("POIŠČI DEL BESEDE, KI JE OZNAČEN V BESEDI POD SLIKO!");
    s.instructionHint = QStringLiteral("A27");
    s.picturePack = QStringLiteral("sl1B");
    s.groups = TfZlogi::groups();
    return s;
}

MatchingScreen::Group g(const char *target, const char *part, int position, const char *a,
                        const char *b, const char *c)
{
    return {QString::fromUtf8(target), QString::fromUtf8(part), position,
            {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c)}};
}

} // namespace

QList<MatchingScreen::Group> TfZlogi::groups()
{
    return {
        g("HRUŠKA", "RU", 2, "LIST", "KRUH", "URA"),
        g("ŽLICA", "LI", 2, "SKODELICA", "MOST", "LICE"),
        g("OMARA", "OMA", 1, "ODEJA", "OMAKA", "OČALA"),
        g("ANANAS", "NA", 2, "LIMONA", "ANA", "BANANA"),
        g("KLJUČ", "LJU", 2, "RIBIČ", "PLJUČA", "KLET"),
        g("METULJ", "LJ", 5, "MESEC", "KLJUČ", "METLA"),
        g("STOL", "OL", 3, "SLON", "GOL", "SONCE"),
        g("PTIČEK", "IČEK", 3, "VOZIČEK", "PTIČ", "TELIČEK"),
        g("GOS", "OS", 2, "GOL", "NOS", "NINA"),
        // A bear and a teddy bear: "EDVE" from the bear's second letter is found again in
        // "MEDVEDEK"; "VEDRO" and "DREVO" share its letters but not the part.
        g("MEDVED", "EDVE", 2, "MEDVEDEK", "VEDRO", "DREVO"),
        g("KROG", "KROG", 1, "OBROČ", "KROGLA", "ŽOGA"),
        g("KRTAČKA", "ČKA", 5, "RAČKA", "KRTAČA", "PTIČKA"),
        g("KNJIGA", "NJ", 2, "TABLA", "KONJ", "LOKVANJ"),
        g("MUHA", "UHA", 2, "KUHAR", "MESO", "JUHA"),
        g("MASKA", "MAS", 1, "MAČKA", "MASLO", "MESTO"),
        g("ŽAGA", "GA", 3, "ŽOGA", "ŽABA", "NOGA"),
    };
}

TfZlogi::TfZlogi(AppHost &host, QWidget *parent) : MatchingScreen(host, zlogiSetup(), parent) {}

} // namespace tipsovo
