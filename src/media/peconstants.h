// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The numbers of the PE resource format that the pack reader and writer share.
namespace tipsovo::pe {

constexpr quint32 kRtBitmap = 2;            // resource type of bitmaps
constexpr quint32 kRtRcData = 10;           // resource type of raw data
constexpr quint32 kHighBit = 0x80000000u;   // a directory entry's name or target flag

} // namespace tipsovo::pe
