// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/letters/matchingscreen.h"

namespace tipsovo {

// Letters: find, in three words, every occurrence of the letter marked in the word under the
// picture.
class TfCrke : public MatchingScreen {
    Q_OBJECT
public:
    explicit TfCrke(AppHost &host, QWidget *parent = nullptr);
    // The built-in groups: target, its marked letter and its place, the three row words.
    static QList<Group> groups();
};

} // namespace tipsovo
