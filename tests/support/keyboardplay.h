// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/keyboardchoices.h"

#include <QtTest>

namespace tipsovo::test {

// Whether the screen tests' click helpers choose by keyboard instead of the mouse.
inline bool g_byKeyboard = false;

// For one test: its clicks go by keyboard, and back to the mouse afterwards.
struct ByKeyboard {
    explicit ByKeyboard(bool on) { g_byKeyboard = on; }
    ~ByKeyboard() { g_byKeyboard = false; }
};

// Shows a screen for playing by keyboard (keys go to a shown window) and lets it settle: its
// opening set starts and its instruction is asked for before the test looks at it.
inline bool showForKeyboard(QWidget *window)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    window->activateWindow();
    QCoreApplication::processEvents();
    return true;
}

// Reaches `target` with Tab alone and chooses it with Enter, as a child at the keyboard
// would; false when Tab goes round every choice of its window without coming to it.
inline bool chooseByKeyboard(QWidget *target)
{
    QWidget *window = target->window();
    if (!window->isVisible() && !showForKeyboard(window))
        return false;
    auto *keys = window->findChild<KeyboardChoices *>(QString(), Qt::FindDirectChildrenOnly);
    if (!keys)
        return false;
    const qsizetype n = keys->choices().size();
    for (qsizetype i = 0; i <= n && keys->current() != target; ++i)
        QTest::keyClick(window, Qt::Key_Tab);
    if (keys->current() != target)
        return false;
    QTest::keyClick(window, Qt::Key_Return);
    return true;
}

// A left click, or the same choice by keyboard when the test plays by keyboard.
inline void choose(QWidget *target)
{
    if (g_byKeyboard)
        QVERIFY2(chooseByKeyboard(target), qPrintable(target->objectName()));
    else
        QTest::mouseClick(target, Qt::LeftButton);
}

} // namespace tipsovo::test
