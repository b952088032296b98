// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace tipsovo {

namespace {
const char kRaise[] = "raise\n";
// How long a later start keeps trying to reach a running copy that holds the lock but does
// not listen yet (it is between taking the lock and listening).
constexpr int kReachMs = 5000;
} // namespace

SingleInstance::SingleInstance(QString folder, QObject *parent)
    : QObject(parent), m_folder(std::move(folder))
{
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

QString SingleInstance::lockPath() const { return QDir(m_folder).filePath(QStringLiteral("tipsovo.lock")); }

QString SingleInstance::socketPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("tipsovo.socket"));
}

SingleInstance::Claim SingleInstance::claim()
{
    const Claim claimed = claimLock();
    if (claimed == Claim::First && !listen())
        return Claim::Unguarded;
    return claimed;
}

SingleInstance::Claim SingleInstance::claimLock()
{
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return Claim::Unguarded;
    m_lock = std::make_unique<QLockFile>(lockPath());
    // The program runs for hours: a lock is stale only when its process is gone, never by age.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return Claim::First;
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_lock.reset();
        return Claim::Unguarded;
    }
    m_lock.reset();
    // A copy that holds the lock but cannot be reached is still running: it is not started
    // twice. The request is lost only then.
    tellRunningCopy();
    return Claim::RaisedOther;
}

bool SingleInstance::tellRunningCopy()
{
    const QDeadlineTimer deadline(kReachMs);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(kRaise);
            const bool sent = socket.waitForBytesWritten(2000);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(1000);
            return sent;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

bool SingleInstance::listen()
{
    if (!m_lock || m_server)
        return m_server != nullptr;
    m_server = new QLocalServer(this);
    // Only this user reaches the socket (the runtime folder is the user's own anyway).
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a copy that crashed: the lock is ours, so nobody listens on it.
    QLocalServer::removeServer(socketPath());
    if (!m_server->listen(socketPath())) {
        delete m_server;
        m_server = nullptr;
        // Nobody could reach this copy: later starts would wait for it in vain, so it
        // holds no lock.
        m_lock->unlock();
        m_lock.reset();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            auto read = [this, peer] {
                if (peer->canReadLine() && peer->readLine() == kRaise)
                    emit raiseRequested();
            };
            connect(peer, &QLocalSocket::readyRead, this, read);
            read();
        }
    });
    return true;
}

} // namespace tipsovo
