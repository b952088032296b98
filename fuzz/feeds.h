// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The readers of outside data, each fed one input the way the program feeds it, with checks on
// what comes out. The libFuzzer targets call them (driver.cpp), and so does the test that
// replays every input that ever made one fail (tests/fuzz). Each returns an empty text when
// all is well, otherwise what is wrong; a crash or a sanitizer report is a failure too.

#include <QByteArrayView>
#include <QString>

namespace tipsovo::fuzz {

QString feedPack(QByteArrayView input);     // a resource pack and every resource in it
QString feedWave(QByteArrayView input);     // a WAVE sound
QString feedBitmap(QByteArrayView input);   // a bitmap resource (8-bit, true colour, ...)
QString feedTextList(QByteArrayView input); // a Windows-1250 text list and its records
QString feedMarkup(QByteArrayView input);   // a markup label's caption (UTF-8)
QString feedOdometer(QByteArrayView input); // a digit strip picture and a few rolls
QString feedTown(QByteArrayView input);     // a town's text and picture, card and worksheet
QString feedTracing(QByteArrayView input);  // a tracing sheet, shown and drawn on
QString feedSetting(QByteArrayView input);  // the settings file holding the hover delay

// Splits an input into the parts a feed needs: a little-endian 16-bit length, then that many
// bytes, then the rest. Inputs too short for the length give an empty first part.
struct TwoParts {
    QByteArrayView first;
    QByteArrayView rest;
};
TwoParts splitTwo(QByteArrayView input);

} // namespace tipsovo::fuzz
