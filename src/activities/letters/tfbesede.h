// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/letters/matchingscreen.h"

namespace tipsovo {

// Words: find, among three words, the one that is the same as the word under the picture.
class TfBesede : public MatchingScreen {
    Q_OBJECT
public:
    explicit TfBesede(AppHost &host, QWidget *parent = nullptr);
    // The built-in groups: target first, then its two companions.
    static QList<Group> groups();
};

} // namespace tipsovo
