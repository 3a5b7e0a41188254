#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

namespace {

const QByteArray showWord = QByteArrayLiteral("show");

// What an activation token may hold: the compositors' tokens are short printable ASCII.
bool isToken(const QByteArray &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return c > ' ' && c < 127 && c != '\\'; });
}

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
    socket.write(showRequest(qEnvironmentVariable("XDG_ACTIVATION_TOKEN")));
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

QByteArray SingleInstance::showRequest(const QString &activationToken)
{
    const QByteArray token = activationToken.toLatin1();
    if (token.isEmpty() || !isToken(token) || token.size() + 6 > maxRequestBytes)
        return showWord + '\n';
    return showWord + ' ' + token + '\n';
}

std::optional<QString> SingleInstance::parseShowRequest(const QByteArray &request)
{
    if (!request.endsWith('\n') || request.size() > maxRequestBytes)
        return std::nullopt;
    const QByteArray line = request.chopped(1);
    if (line == showWord)
        return QString();
    if (!line.startsWith(QByteArray(showWord + ' ')))
        return std::nullopt;
    const QByteArray token = line.mid(showWord.size() + 1);
    if (token.isEmpty() || !isToken(token))
        return std::nullopt;
    return QString::fromLatin1(token);
}

void SingleInstance::acceptRequests()
{
    while (QLocalSocket *peer = m_server->nextPendingConnection()) {
        peer->setParent(this);
        peer->setReadBufferSize(maxRequestBytes);
        // One request per connection, one line of a bounded length: whatever else arrives, or
        // nothing in time, ends the connection, so no peer can hold one open.
        const auto readRequest = [this, peer] {
            if (!peer->canReadLine() && peer->bytesAvailable() < maxRequestBytes)
                return;
            if (const auto token = parseShowRequest(peer->readLine(maxRequestBytes + 1)))
                Q_EMIT showRequested(*token);
            peer->abort();
            peer->deleteLater();
        };
        connect(peer, &QLocalSocket::readyRead, this, readRequest);
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        QTimer::singleShot(requestWaitMs, peer, [peer] { peer->abort(); });
        readRequest(); // the request may have arrived with the connection
    }
}
