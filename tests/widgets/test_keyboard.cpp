// SPDX-License-Identifier: GPL-3.0-or-later
// Playing by keyboard: which controls are choices and in what order, the arrows, Enter and
// Space as the left button, Escape, the mark's look, and keys of other windows left alone.
#include "widgets/controls.h"
#include "widgets/keyboardchoices.h"

#include <QLabel>
#include <QMouseEvent>
#include <QtTest>

using namespace tipsovo;

namespace {

// A label that counts the presses of the left button it receives, as the screens' words do.
class CountingLabel : public QLabel {
public:
    using QLabel::QLabel;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            ++presses;
    }
};

// A window of choices laid out out of order: two rows of labels, a button below, and
// controls that are not choices (no hand, hidden, disabled).
struct Window {
    QWidget w;
    CountingLabel *topRight, *topLeft, *bottomLeft, *bottomRight;
    FlatButton *button;
    QLabel *plain, *hidden, *disabled;
    KeyboardChoices *keys;

    Window()
    {
        w.resize(400, 300);
        auto label = [this](const char *name, QRect g, bool hand = true) {
            auto *l = new CountingLabel(QString::fromLatin1(name), &w);
            l->setObjectName(QString::fromLatin1(name));
            l->setGeometry(g);
            if (hand)
                l->setCursor(Qt::PointingHandCursor);
            return l;
        };
        topRight = label("topRight", {200, 10, 80, 30});
        // A little lower than its neighbour, but in the same row.
        topLeft = label("topLeft", {10, 18, 80, 30});
        bottomRight = label("bottomRight", {200, 100, 80, 30});
        bottomLeft = label("bottomLeft", {10, 100, 80, 30});
        plain = label("plain", {100, 60, 80, 30}, false);
        hidden = label("hidden", {100, 150, 80, 30});
        hidden->hide();
        disabled = label("disabled", {100, 180, 80, 30});
        disabled->setEnabled(false);
        button = new FlatButton(&w);
        button->setObjectName(QStringLiteral("button"));
        button->setCaptionLines({QStringLiteral("KONEC")});
        button->setGeometry(150, 240, 100, 40);
        keys = new KeyboardChoices(&w);
        w.show();
    }
    QStringList order() const
    {
        QStringList names;
        for (QWidget *c : keys->choices())
            names << c->objectName();
        return names;
    }
    QString at() const { return keys->current() ? keys->current()->objectName() : QString(); }
};

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void choicesAreClickableControlsInReadingOrder();
    void tabWrapsAndShiftTabGoesBack();
    void arrowsGoToTheNearestChoiceThatWay();
    void enterAndSpaceClickLikeTheLeftButton();
    void escapeLeavesOnlyWhenTheWindowSaysHow();
    void markLooksLikeHoverAndFollowsTheChoice();
    void aChoiceThatStopsBeingOneLosesTheMark();
    void keysOfAnotherWindowAreLeftAlone();
    void theTravelGameKeepsItsArrowsAndSpace();
};

void TestKeyboard::choicesAreClickableControlsInReadingOrder()
{
    Window t;
    QCOMPARE(t.order(), (QStringList{"topLeft", "topRight", "bottomLeft", "bottomRight", "button"}));
    // A solved word shows the normal pointer again and drops out.
    t.topRight->setCursor(Qt::ArrowCursor);
    QCOMPARE(t.order(), (QStringList{"topLeft", "bottomLeft", "bottomRight", "button"}));
}

void TestKeyboard::tabWrapsAndShiftTabGoesBack()
{
    Window t;
    QCOMPARE(t.at(), QString());
    QTest::keyClick(&t.w, Qt::Key_Tab);
    QCOMPARE(t.at(), QStringLiteral("topLeft"));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&t.w, Qt::Key_Tab);
    QCOMPARE(t.at(), QStringLiteral("button"));
    QTest::keyClick(&t.w, Qt::Key_Tab);
    QCOMPARE(t.at(), QStringLiteral("topLeft"));
    QTest::keyClick(&t.w, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(t.at(), QStringLiteral("button"));
    QTest::keyClick(&t.w, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(t.at(), QStringLiteral("bottomRight"));
}

void TestKeyboard::arrowsGoToTheNearestChoiceThatWay()
{
    Window t;
    // With nothing marked, the first arrow marks the first choice.
    QTest::keyClick(&t.w, Qt::Key_Right);
    QCOMPARE(t.at(), QStringLiteral("topLeft"));
    QTest::keyClick(&t.w, Qt::Key_Right);
    QCOMPARE(t.at(), QStringLiteral("topRight"));
    QTest::keyClick(&t.w, Qt::Key_Down);
    QCOMPARE(t.at(), QStringLiteral("bottomRight"));
    QTest::keyClick(&t.w, Qt::Key_Left);
    QCOMPARE(t.at(), QStringLiteral("bottomLeft"));
    QTest::keyClick(&t.w, Qt::Key_Down);
    QCOMPARE(t.at(), QStringLiteral("button"));
    // Nothing further down: the mark stays.
    QTest::keyClick(&t.w, Qt::Key_Down);
    QCOMPARE(t.at(), QStringLiteral("button"));
    QTest::keyClick(&t.w, Qt::Key_Up);
    QVERIFY(t.at() == QStringLiteral("bottomLeft") || t.at() == QStringLiteral("bottomRight"));
}

void TestKeyboard::enterAndSpaceClickLikeTheLeftButton()
{
    Window t;
    int clicked = 0;
    QObject::connect(t.button, &FlatButton::clicked, [&] { ++clicked; });
    // Enter with nothing marked only marks the first choice.
    QTest::keyClick(&t.w, Qt::Key_Return);
    QCOMPARE(t.at(), QStringLiteral("topLeft"));
    QCOMPARE(t.topLeft->presses, 0);
    QTest::keyClick(&t.w, Qt::Key_Return);
    QTest::keyClick(&t.w, Qt::Key_Space);
    QTest::keyClick(&t.w, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(t.topLeft->presses, 3);
    QCOMPARE(t.topRight->presses, 0);
    // A held key chooses once.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&t.w, &repeat);
    QCOMPARE(t.topLeft->presses, 3);
    t.keys->mark(t.button);
    QTest::keyClick(&t.w, Qt::Key_Return);
    QCOMPARE(clicked, 1);
}

void TestKeyboard::escapeLeavesOnlyWhenTheWindowSaysHow()
{
    Window t;
    // What reaches the window itself, after the keyboard's filter.
    struct Seen : QObject {
        int escapes = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            escapes += e->type() == QEvent::KeyPress &&
                       static_cast<QKeyEvent *>(e)->key() == Qt::Key_Escape;
            return false;
        }
    } seen;
    t.w.installEventFilter(&seen);
    QTest::keyClick(&t.w, Qt::Key_Escape);
    QCOMPARE(seen.escapes, 1); // no leave action: the key goes on to the window
    int left = 0;
    t.keys->setLeaveAction([&] { ++left; });
    QTest::keyClick(&t.w, Qt::Key_Escape);
    QCOMPARE(left, 1);
    QCOMPARE(seen.escapes, 1);
}

void TestKeyboard::markLooksLikeHoverAndFollowsTheChoice()
{
    Window t;
    QList<QWidget *> announced;
    QObject::connect(t.keys, &KeyboardChoices::marked, [&](QWidget *c) { announced << c; });
    t.keys->mark(t.button);
    QVERIFY(t.button->isMarked());
    const QImage marked = t.button->grab().toImage();
    // The same warm tint as under the pointer, not a frame: the middle of the button is tinted.
    const QColor middle = marked.pixelColor(marked.width() / 2, 4);
    QVERIFY2(middle.red() > middle.blue() + 20, qPrintable(middle.name()));

    t.keys->mark(t.topLeft);
    QVERIFY(!t.button->isMarked());
    auto *plate = t.w.findChild<QWidget *>(QStringLiteral("keyboardMark"));
    QVERIFY(plate && plate->isVisible());
    QCOMPARE(plate->geometry(), t.topLeft->geometry());
    QVERIFY(plate->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(announced, (QList<QWidget *>{t.button, t.topLeft}));

    // The plate is no choice of its own.
    QVERIFY(!t.order().contains(QStringLiteral("keyboardMark")));
    t.keys->mark(t.button);
    QVERIFY(!plate->isVisible());
}

void TestKeyboard::aChoiceThatStopsBeingOneLosesTheMark()
{
    Window t;
    t.keys->mark(t.topRight);
    t.topRight->setCursor(Qt::ArrowCursor);
    QTRY_COMPARE(t.keys->current(), nullptr);
    auto *plate = t.w.findChild<QWidget *>(QStringLiteral("keyboardMark"));
    QVERIFY(!plate || !plate->isVisible());
    // Enter on a gone choice clicks nothing; it marks the first choice instead.
    QTest::keyClick(&t.w, Qt::Key_Return);
    QCOMPARE(t.topRight->presses, 0);
    QCOMPARE(t.at(), QStringLiteral("topLeft"));
}

void TestKeyboard::keysOfAnotherWindowAreLeftAlone()
{
    Window a;
    QWidget other;
    other.resize(100, 100);
    other.show();
    QTest::keyClick(&other, Qt::Key_Tab);
    QCOMPARE(a.at(), QString());
}

void TestKeyboard::theTravelGameKeepsItsArrowsAndSpace()
{
    Window t;
    t.keys->setArrowsMove(false);
    t.keys->setSpaceChooses(false);
    t.keys->mark(t.topLeft);
    QTest::keyClick(&t.w, Qt::Key_Right);
    QCOMPARE(t.at(), QStringLiteral("topLeft"));
    QTest::keyClick(&t.w, Qt::Key_Space);
    QCOMPARE(t.topLeft->presses, 0);
    QTest::keyClick(&t.w, Qt::Key_Return);
    QCOMPARE(t.topLeft->presses, 1);
}

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
