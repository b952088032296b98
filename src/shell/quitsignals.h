// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace tipsovo {

// A session that ends (SIGTERM at logout, SIGHUP when its terminal goes, Ctrl+C) ends the
// program as KONEC on the menu does: the event loop quits and everything is put away, the
// lock and socket of the running copy too, instead of dying with them left behind. The
// signal handler only writes a byte into a pipe; the event loop reads it.
class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignals(QObject *parent = nullptr);
    ~QuitOnSignals() override;

    // Whether an ending signal has come (also before the event loop has run).
    bool received() const;

signals:
    void quitRequested();

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace tipsovo
