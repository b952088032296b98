// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

namespace tipsovo {

// One running copy per user session: the first start holds a lock file in the user's runtime
// folder and listens on a local socket beside it; a later start finds the lock held, asks the
// running copy over the socket to come to the front, and ends. The lock of a copy that
// crashed is stale (its process is gone) and is taken over, as is its socket file.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        First,        // this is the running copy now: it listens for later starts
        RaisedOther,  // another copy runs and was asked to come to the front
        Unguarded,    // no lock or no socket in the folder: the program runs without the guard
    };

    // `folder`: where the lock and the socket go; the user's runtime folder when empty.
    explicit SingleInstance(QString folder = {}, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The lock, and the socket when this is the first copy.
    Claim claim();
    // The same in two steps, so that the first picture does not wait for the socket: claimLock()
    // says First once the lock is held (a later start then waits for this copy to listen, as
    // it does for any copy between the two steps), and listen() opens the socket. A copy
    // whose socket cannot be opened gives the lock back and runs without the guard (false).
    Claim claimLock();
    bool listen();
    QString lockPath() const;
    QString socketPath() const;

signals:
    // A later start asked this copy to show itself.
    void raiseRequested();

private:
    bool tellRunningCopy();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};

} // namespace tipsovo
