// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Packs for the sentence screens' tests: every sound the two screens play, and scenes of the
// insert-word themes in colours of their own.

#include "activities/sentences/tfoznacipovedi.h"
#include "activities/sentences/tfvstavibesedo.h"
#include "media/recordingsoundoutput.h"
#include "support/packbuilder.h"

#include <QColor>
#include <QtTest>

namespace tipsovo::test {

inline QStringList sentenceSoundNames()
{
    QStringList names;
    for (int t = 0; t < TfVstaviBesedo::kThemes; ++t)
        for (const StavekIzbire &s : TfVstaviBesedo::vgrajeniStavki(t))
            names << s.ZvokStavka;
    for (const TfOznaciPovedi::Skupina &set : TfOznaciPovedi::vgrajeneSkupine())
        for (const TfOznaciPovedi::Poved &p : set)
            names << p.zvok;
    return names;
}

inline QColor sceneColour(int tema) { return QColor::fromHsv(40 + 80 * tema, 200, 220); }

inline void writeSentencePacks(const QString &dir, bool withScenes = true)
{
    QStringList sounds = sentenceSoundNames();
    sounds << "A40" << "A41" << "A42" << "A9" << "narobe" << "prav";
    QVERIFY(writeTestSoundPack(dir, QStringLiteral("snd"), sounds, 300));
    if (!withScenes)
        return;
    ResourcePackWriter scenes;
    for (int t = 0; t < TfVstaviBesedo::kThemes; ++t)
        scenes.add(ResourceKind::Bitmap, TfVstaviBesedo::slikaTeme(t),
                   solidDib({30, 17}, sceneColour(t)));
    QVERIFY(writePack(dir, QStringLiteral("VstaviBesedo"), scenes));
}

} // namespace tipsovo::test
