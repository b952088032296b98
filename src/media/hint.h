// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

namespace tipsovo {

// Every control of the program may carry a Hint (the name of the sound it speaks, never shown
// as a tooltip) and a Tag (a number the screens use as data, e.g. a letter cell's number).
// They live as dynamic properties so that any widget can carry them.
inline QString hintOf(const QObject *o) { return o ? o->property("Hint").toString() : QString(); }
inline void setHint(QObject *o, const QString &hint) { o->setProperty("Hint", hint); }
inline int tagOf(const QObject *o) { return o ? o->property("Tag").toInt() : 0; }
inline void setTag(QObject *o, int tag) { o->setProperty("Tag", tag); }

} // namespace tipsovo
