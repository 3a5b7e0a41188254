#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

namespace {

const QByteArray showRequest = QByteArrayLiteral("show\n");

// Another start holds the lock only while it checks and listens, a matter of milliseconds; the
// bound only keeps a start from waiting for good on a lock that cannot be taken at all.
constexpr int lockWaitMs = 10000;
// A running client's socket accepts at once, even while its event loop is busy: the system queues
// the connection and the request.
constexpr int socketWaitMs = 3000;
// How long a connection may take to send its request.
constexpr int requestWaitMs = 3000;

} // namespace

SingleInstance::SingleInstance(const QString &socketPath, QObject *parent)
    : QObject(parent), m_socketPath(socketPath)
{
}

SingleInstance::~SingleInstance()
{
    // Closing removes the socket file, so the next start finds nobody and becomes the first.
    if (m_server)
        m_server->close();
}

QString SingleInstance::defaultSocketPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + u'/'
        + QCoreApplication::applicationName() + QStringLiteral(".instance");
}

bool SingleInstance::listening() const
{
    return m_server && m_server->isListening();
}

SingleInstance::Claim SingleInstance::claim()
{
    // Without the lock two starts at the same moment could both find nobody, and the second
    // would remove the first one's fresh socket. A lock left by a crashed start is stale at once
    // (its process is gone) and taken over.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    if (!lock.tryLock(lockWaitMs))
        qWarning("single instance: cannot lock %s, checking without it",
                 qPrintable(lock.fileName()));
    if (askRunningInstance())
        return Claim::AlreadyRunning;
    listen();
    return Claim::First;
}

bool SingleInstance::askRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath, QIODevice::WriteOnly);
    if (!socket.waitForConnected(socketWaitMs))
        return false; // no socket, or one nobody listens on any more
    socket.write(showRequest);
    socket.waitForBytesWritten(socketWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(socketWaitMs);
    return true;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptRequests);
    // Nobody answered on a socket file left here, so it is a crashed run's.
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath))
        qWarning("single instance: cannot listen on %s: %s", qPrintable(m_socketPath),
                 qPrintable(m_server->errorString()));
}

void SingleInstance::acceptRequests()
{
    while (QLocalSocket *peer = m_server->nextPendingConnection()) {
        peer->setParent(this);
        peer->setReadBufferSize(showRequest.size());
        // One request per connection, of a known length: whatever else arrives, or nothing in
        // time, ends the connection, so no peer can hold one open.
        const auto readRequest = [this, peer] {
            if (peer->bytesAvailable() < showRequest.size())
                return;
            if (peer->read(showRequest.size()) == showRequest)
                Q_EMIT showRequested();
            peer->abort();
            peer->deleteLater();
        };
        connect(peer, &QLocalSocket::readyRead, this, readRequest);
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        QTimer::singleShot(requestWaitMs, peer, [peer] { peer->abort(); });
        readRequest(); // the request may have arrived with the connection
    }
}
