#include "http/ConnectionGuard.h"

#include "http/HttpRequestFraming.h"

#include <QTcpSocket>
#include <QTimer>

#include <sys/resource.h>

namespace server {

namespace {

// Descriptors kept free for the database, its journal and the process's own needs.
constexpr rlim_t ReservedDescriptors = 32;

int connectionsTheFileLimitAllows(int wanted)
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return wanted;
    const rlim_t room = limit.rlim_cur > 2 * ReservedDescriptors
        ? limit.rlim_cur - ReservedDescriptors
        : limit.rlim_cur / 2;
    return int(qMin<rlim_t>(rlim_t(wanted), qMax<rlim_t>(1, room)));
}

QByteArray refusal(HttpRequestFraming::Verdict verdict)
{
    QByteArray status;
    switch (verdict) {
    case HttpRequestFraming::Verdict::HeadTooLarge:
        status = "431 Request Header Fields Too Large";
        break;
    case HttpRequestFraming::Verdict::BodyTooLarge:
        status = "413 Payload Too Large";
        break;
    case HttpRequestFraming::Verdict::LengthRequired:
        status = "411 Length Required";
        break;
    case HttpRequestFraming::Verdict::BadRequest:
    case HttpRequestFraming::Verdict::Fine:
        status = "400 Bad Request";
        break;
    }
    return "HTTP/1.1 " + status + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
}

} // namespace

// Watches one accepted connection: its framing, its idle time and its place under the cap.
class ConnectionWatch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConnectionWatch)
public:
    ConnectionWatch(QTcpSocket *socket, ConnectionGuard &guard)
        : QObject(socket), m_socket(socket), m_guard(&guard),
          m_framing(guard.m_limits.maxHeadBytes, guard.m_limits.maxBodyBytes)
    {
        // The HTTP layer's buffer holds one request at most, whatever the framing claims.
        socket->setReadBufferSize(guard.m_limits.maxHeadBytes + guard.m_limits.maxBodyBytes);
        m_idle.setSingleShot(true);
        m_idle.setInterval(guard.m_limits.idleTimeoutMs);
        connect(&m_idle, &QTimer::timeout, this, &ConnectionWatch::close);
        connect(socket, &QTcpSocket::disconnected, this, &ConnectionWatch::detach);
        // Connected before the HTTP layer sees the socket, so this runs first on every arrival.
        connect(socket, &QTcpSocket::readyRead, this, &ConnectionWatch::check);
        startWaiting();
    }
    ~ConnectionWatch() override { detach(); }

    qint64 waitingMs() const { return m_waiting.elapsed(); }
    bool hasCompletedRequest() const { return m_completedRequest; }

    // Drops the connection at once (the HTTP layer deletes the socket when it is closed).
    void close()
    {
        detach();
        m_idle.stop();
        m_socket->abort();
    }

    // Leaves the guard's count; the guard calls it when it goes first.
    void detach()
    {
        if (m_guard)
            m_guard->forget(this);
        m_guard = nullptr;
    }

private:
    void startWaiting()
    {
        m_waiting.start();
        m_idle.start();
    }

    void check()
    {
        if (m_refused) {
            m_socket->readAll();
            return;
        }
        // The HTTP layer reads a request inside a transaction: while one is open it has read
        // everything buffered, so what is buffered now is new. Without one it stands at a request
        // boundary and has read nothing of what is buffered (the rest of a pipelined stream).
        if (!m_socket->isTransactionStarted())
            m_framing.restart();
        const qint64 available = m_socket->bytesAvailable();
        const QByteArray start = m_socket->peek(qMin(available, m_framing.headBytesWanted()));
        const bool wasComplete = m_framing.requestComplete();
        const HttpRequestFraming::Verdict verdict = m_framing.feed(start, available);
        if (verdict == HttpRequestFraming::Verdict::Fine) {
            if (m_framing.requestComplete() && !wasComplete) {
                m_completedRequest = true;
                startWaiting(); // answered at once; the wait for the next request begins
            }
            return;
        }
        m_refused = true;
        m_socket->readAll();
        m_socket->write(refusal(verdict));
        m_socket->disconnectFromHost();
    }

    QTcpSocket *m_socket;
    ConnectionGuard *m_guard;
    HttpRequestFraming m_framing;
    QTimer m_idle;
    QElapsedTimer m_waiting;
    bool m_refused = false;
    bool m_completedRequest = false;
};

ConnectionGuard::ConnectionGuard(const ConnectionLimits &limits, QObject *parent)
    : QTcpServer(parent), m_limits(limits)
{
    m_limits.maxConnections = connectionsTheFileLimitAllows(limits.maxConnections);
}

ConnectionGuard::~ConnectionGuard()
{
    // The sockets are deleted after this body (they are children): their watches must not call
    // back.
    const QList<ConnectionWatch *> watches = m_watches;
    for (ConnectionWatch *watch : watches)
        watch->detach();
}

void ConnectionGuard::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    if (m_watches.size() >= m_limits.maxConnections) {
        // Make room by closing the connection that has waited longest, preferring one that never
        // completed a request: a busy client that has been answered keeps its place.
        const auto sooner = [](const ConnectionWatch *a, const ConnectionWatch *b) {
            if (a->hasCompletedRequest() != b->hasCompletedRequest())
                return !a->hasCompletedRequest();
            return a->waitingMs() > b->waitingMs();
        };
        ConnectionWatch *evicted = m_watches.constFirst();
        for (ConnectionWatch *watch : std::as_const(m_watches)) {
            if (sooner(watch, evicted))
                evicted = watch;
        }
        evicted->close();
    }
    m_watches.append(new ConnectionWatch(socket, *this));
    addPendingConnection(socket);
}

void ConnectionGuard::forget(ConnectionWatch *watch)
{
    m_watches.removeOne(watch);
}

} // namespace server

#include "ConnectionGuard.moc"
