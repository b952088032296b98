// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/keyboardchoices.h"

#include "widgets/controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace tipsovo {

namespace {

// The warm tint of a marked choice that is not a FlatButton, laid over it; the pointer goes
// through it to the choice beneath.
class MarkPlate : public QWidget {
public:
    explicit MarkPlate(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("keyboardMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), 8, 8);
        p.fillPath(path, FlatButton::hoverTint());
    }
};

QPoint centreIn(const QWidget *w, const QWidget *window)
{
    return w->mapTo(window, w->rect().center());
}

} // namespace

KeyboardChoices::KeyboardChoices(QWidget *window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
    // A choice can stop being one while it is marked (it was solved, the exercise changed):
    // the mark then goes, so it never rests on something that cannot be clicked.
    auto *check = new QTimer(this);
    check->setInterval(250);
    connect(check, &QTimer::timeout, this, &KeyboardChoices::dropMarkIfGone);
    check->start();
}

KeyboardChoices::~KeyboardChoices()
{
    qApp->removeEventFilter(this);
    if (auto *b = qobject_cast<FlatButton *>(m_current.data()))
        b->setMarked(false);
    delete m_plate;
}

bool KeyboardChoices::isChoice(const QWidget *w)
{
    return w && w->isVisible() && w->isEnabled() && w->testAttribute(Qt::WA_SetCursor) &&
           w->cursor().shape() == Qt::PointingHandCursor && !w->rect().isEmpty();
}

QList<QWidget *> KeyboardChoices::choices() const
{
    QList<QWidget *> found;
    if (!m_window)
        return found;
    for (QWidget *w : m_window->findChildren<QWidget *>()) {
        if (w->window() == m_window && isChoice(w) && w->isVisibleTo(m_window))
            found.append(w);
    }
    // Reading order: rows from the top (a choice joins a row when its middle lies within the
    // half height of the row's first choice), each row from the left.
    std::stable_sort(found.begin(), found.end(), [this](QWidget *a, QWidget *b) {
        return centreIn(a, m_window).y() < centreIn(b, m_window).y();
    });
    QList<QWidget *> ordered;
    for (int i = 0; i < found.size();) {
        const int rowY = centreIn(found.at(i), m_window).y();
        const int reach = std::max(4, found.at(i)->height() / 2);
        int j = i;
        while (j < found.size() && centreIn(found.at(j), m_window).y() - rowY <= reach)
            ++j;
        QList<QWidget *> row = found.mid(i, j - i);
        std::stable_sort(row.begin(), row.end(), [this](QWidget *a, QWidget *b) {
            return centreIn(a, m_window).x() < centreIn(b, m_window).x();
        });
        ordered += row;
        i = j;
    }
    return ordered;
}

void KeyboardChoices::step(int delta)
{
    const QList<QWidget *> all = choices();
    if (all.isEmpty()) {
        mark(nullptr);
        return;
    }
    const qsizetype at = m_current ? all.indexOf(m_current.data()) : -1;
    qsizetype next;
    if (at < 0)
        next = delta > 0 ? 0 : all.size() - 1;
    else
        next = ((at + delta) % all.size() + all.size()) % all.size();
    mark(all.at(next));
}

void KeyboardChoices::moveTowards(Qt::Key arrow)
{
    const QList<QWidget *> all = choices();
    if (!m_current || !all.contains(m_current.data())) {
        step(arrow == Qt::Key_Left || arrow == Qt::Key_Up ? -1 : 1);
        return;
    }
    const QPoint from = centreIn(m_current, m_window);
    QWidget *best = nullptr;
    double bestScore = 0;
    for (QWidget *w : all) {
        if (w == m_current)
            continue;
        const QPoint d = centreIn(w, m_window) - from;
        double along = 0, across = 0;
        switch (arrow) {
        case Qt::Key_Right: along = d.x(), across = d.y(); break;
        case Qt::Key_Left: along = -d.x(), across = d.y(); break;
        case Qt::Key_Down: along = d.y(), across = d.x(); break;
        case Qt::Key_Up: along = -d.y(), across = d.x(); break;
        default: return;
        }
        if (along <= 0)
            continue;
        // The nearest one ahead, a step aside weighing more than a step forward.
        const double score = along + 2.0 * std::abs(across);
        if (!best || score < bestScore)
            best = w, bestScore = score;
    }
    if (best)
        mark(best);
}

void KeyboardChoices::choose()
{
    QWidget *target = m_current;
    if (!isChoice(target))
        return;
    QPointer<KeyboardChoices> self(this);
    if (auto *button = qobject_cast<QAbstractButton *>(target)) {
        button->click();
        return;
    }
    // What the left mouse button does at the middle of the choice: a press and a release.
    const QPointF local = QRectF(target->rect()).center();
    const QPointF global = target->mapToGlobal(local);
    QPointer<QWidget> alive(target);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    if (!alive || !self)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void KeyboardChoices::mark(QWidget *choice)
{
    if (auto *b = qobject_cast<FlatButton *>(m_current.data()))
        b->setMarked(false);
    m_current = choice;
    // A choice in a scrolled list (the tracing sheets) is scrolled into view first.
    for (QWidget *p = choice ? choice->parentWidget() : nullptr; p; p = p->parentWidget()) {
        if (auto *scroll = qobject_cast<QScrollArea *>(p)) {
            scroll->ensureWidgetVisible(choice, 0, 8);
            break;
        }
    }
    showMark();
    if (choice)
        emit marked(choice);
}

void KeyboardChoices::showMark()
{
    auto *button = qobject_cast<FlatButton *>(m_current.data());
    if (button)
        button->setMarked(true);
    if (!m_current || button) {
        if (m_plate)
            m_plate->hide();
        return;
    }
    QWidget *parent = m_current->parentWidget();
    if (!m_plate || m_plate->parentWidget() != parent) {
        delete m_plate;
        m_plate = new MarkPlate(parent);
    }
    m_plate->setGeometry(m_current->geometry());
    m_plate->raise();
    m_plate->show();
}

void KeyboardChoices::dropMarkIfGone()
{
    if (m_current && !isChoice(m_current))
        mark(nullptr);
    else if (m_current && m_plate && m_plate->isVisible() &&
             m_plate->geometry() != m_current->geometry())
        showMark(); // the choice moved (a new exercise placed it elsewhere)
}

bool KeyboardChoices::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_window || !watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (w->window() != m_window)
        return false;
    // A modal window in front (a message, a print preview, a chooser) takes the keys itself.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != m_window)
        return false;
    return handleKey(static_cast<QKeyEvent *>(event));
}

bool KeyboardChoices::handleKey(QKeyEvent *e)
{
    const auto mods = e->modifiers() & ~Qt::KeypadModifier;
    switch (e->key()) {
    case Qt::Key_Tab:
        if (mods & ~Qt::ShiftModifier)
            return false;
        step(mods & Qt::ShiftModifier ? -1 : 1);
        return true;
    case Qt::Key_Backtab:
        step(-1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!m_arrows || mods)
            return false;
        moveTowards(Qt::Key(e->key()));
        return true;
    case Qt::Key_Space:
        if (!m_space)
            return false;
        [[fallthrough]];
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods)
            return false;
        if (e->isAutoRepeat())
            return true; // a held key chooses once
        if (isChoice(m_current))
            choose();
        else
            step(1);
        return true;
    case Qt::Key_Escape:
        if (!m_leave)
            return false;
        m_leave();
        return true;
    default:
        return false;
    }
}

} // namespace tipsovo
