// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/letters/matchingscreen.h"

namespace tipsovo {

// Syllables: find, in three words, every occurrence of the part marked in the word under the
// picture.
class TfZlogi : public MatchingScreen {
    Q_OBJECT
public:
    explicit TfZlogi(AppHost &host, QWidget *parent = nullptr);
    // The built-in groups: target, its marked part and where it starts, the three row words.
    static QList<Group> groups();
};

} // namespace tipsovo
