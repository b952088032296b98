// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/letters/tfbesede.h"

namespace tipsovo {

namespace {

MatchingScreen::Setup besedeSetup()
{
    MatchingScreen::Setup s;
    s.kind = MatchingScreen::Kind::Words;
    s.objectName = QStringLiteral("TfBesede");
    s.instruction = QStringLiteral("POIŠČI BESEDO, KI JE ENAKA BESEDI POD SLIKO!");
    s.instructionHint = QStringLiteral("A26");
    s.picturePack = QStringLiteral("sl1A");
    s.groups = TfBesede::groups();
    return s;
}

MatchingScreen::Group g(const char *target, const char *a, const char *b)
{
    return {QString::fromUtf8(target), {}, 0, {QString::fromUtf8(a), QString::fromUtf8(b)}};
}

} // namespace

QList<MatchingScreen::Group> TfBesede::groups()
{
    // "KOŠARA" and "ČOKOLADA" stand twice, as separate words.
    return {
        g("DREVO", "DEDEK", "MLEKO"),
        g("DIMNIK", "DIMNIKAR", "DIM"),
        g("ZAJEC", "ZAJČEK", "ZAJKLJA"),
        g("KOŠARA", "KOŠ", "KOŠARICA"),
        g("ZVONEC", "ZVON", "ZVONČEK"),
        g("ŽOGA", "ŽAGA", "ŽABA"),
        g("ČOKOLADA", "MARMELADA", "ČOKOLADICA"),
        g("GOBA", "GOBAR", "GOBICA"),
        g("KNJIGA", "KNJIGARNA", "PUŠČICA"),
        g("KOKOŠ", "KOŠARA", "BRINVEL"),
        g("KONJ", "SLON", "SIR"),
        g("LOKOMOTIVA", "LOK", "ČOKOLADA"),
        g("OVCA", "OVEN", "OVCE"),
        g("RIBA", "RIBIČ", "BIBA"),
        g("ROŽA", "AVTO", "KOZA"),
        g("ŠOLA", "ŠOJA", "ŠALA"),
        g("TROBENTA", "TROBENTICA", "TROBLJA"),
    };
}

TfBesede::TfBesede(AppHost &host, QWidget *parent) : MatchingScreen(host, besedeSetup(), parent) {}

} // namespace tipsovo
