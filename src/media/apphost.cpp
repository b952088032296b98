// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/apphost.h"

namespace tipsovo {

namespace {
// The one main-menu instance the program is designed around (or a test's stand-in).
AppHost *g_instance = nullptr;
} // namespace

AppHost *AppHost::instance() { return g_instance; }

void AppHost::setInstance(AppHost *host) { g_instance = host; }

} // namespace tipsovo
