// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfcrke.h"

namespace tipsovo {

namespace {

MatchingScreen::Setup crkeSetup()
{
    MatchingScreen::Setup s;
    s.kind = MatchingScreen::Kind::Letters;
    s.objectName = QStringLiteral("TfCrke");
    s.instruction = QStringLiteral("POIŠČI ČRKE, KI SO ENAKE KOT OZNAČENA ČRKA NA LEVI!");
    s.instructionHint = QStringLiteral("A28");
    s.picturePack = QStringLiteral("sl1C");
    s.groups = TfCrke::groups();
    return s;
}

MatchingScreen::Group g(const char *target, const char *letter, int position, const char *a,
                        const char *b, const char *c)
{
    return {QString::fromUtf8(target), QString::fromUtf8(letter), position,
            {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c)}};
}

} // namespace

QList<MatchingScreen::Group> TfCrke::groups()
{
    return {
        g("URA", "A", 3, "OVCA", "MAČKA", "BANANA"),
        g("BOBEN", "O", 2, "SLON", "BRADA", "LOKOMOTIVA"),
        g("BALON", "B", 1, "BONBON", "GOBA", "LADJA"),
        g("GOBA", "G", 1, "NOGA", "JAGNJE", "GOZD"),
        g("SVEČA", "V", 2, "VEJA", "VEVERICA", "SREČA"),
        g("VAZA", "Z", 3, "MAZILO", "VOZIČEK", "VAJA"),
        g("PUJSEK", "J", 3, "ZVEZEK", "JAGODA", "JAJCE"),
        g("KOLO", "L", 3, "KOKOŠ", "METULJ", "LIZIKA"),
        g("MUCA", "C", 3, "BRINVEL", "OVCA", "LESTEV"),
        g("MED", "D", 3, "MEDVED", "METLA", "JAGODA"),
        g("HLAČE", "H", 1, "ZVEZEK", "JUHA", "MEHANIK"),
        g("DIMNIK", "K", 6, "KAVA", "KRAVATA", "KRAVA"),
        g("RIBA", "R", 1, "PRST", "PRSTAN", "VRSTA"),
        g("PAS", "S", 3, "PES", "PISMO", "ŠOTOR"),
        g("ZMAJ", "M", 2, "KOMAR", "TOLOVAJ", "GUMB"),
        g("NOŽ", "N", 1, "HODNIK", "UHAN", "MROŽ"),
    };
}

TfCrke::TfCrke(AppHost &host, QWidget *parent) : MatchingScreen(host, crkeSetup(), parent) {}

} // namespace tipsovo
