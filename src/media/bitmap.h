// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QImage>

namespace tipsovo {

// Decodes a bitmap resource (a DIB without its 14-byte file header): a file header "BM" is put
// in front and Qt's BMP reader decodes the whole. False when it cannot be decoded.
bool decodeBitmapResource(QByteArrayView dib, QImage *out);

} // namespace tipsovo
