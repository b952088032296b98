// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QRect>

namespace tipsovo {

class MediaService;

// What a screen needs of the main menu: the media service, the menu's bounds (an activity covers
// the menu exactly) and the two feedback marks it copies. The main menu provides it; tests
// provide their own. Screens never include the main menu's class.
class AppHost {
public:
    virtual ~AppHost() = default;
    virtual MediaService &media() = 0;
    virtual QRect menuBounds() const = 0;
    virtual QPixmap rightMark() const = 0; // imgPrav
    virtual QPixmap wrongMark() const = 0; // imgNarobe

    static AppHost *instance();
    static void setInstance(AppHost *host);
};

} // namespace tipsovo
