#include "http/ConnectionGuard.h"

#include <QTcpSocket>

#include <sys/resource.h>

namespace server {

namespace {

// Descriptors kept free for the database, its journal and the process's own needs.
constexpr rlim_t ReservedDescriptors = 32;
// At the cap, one connection is closed to make room every this many ms at most; newcomers wait
// meanwhile, the first few accepted, the rest in the kernel's listen queue.
constexpr int ClosingIntervalMs = 2;
constexpr int AcceptedWaitingAtMost = 16;
// What a connection that waits for its turn may buffer.
constexpr qint64 WaitingReadBuffer = 64 * 1024;

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

} // namespace

ConnectionGuard::ConnectionGuard(const ConnectionLimits &limits, RequestHandler handler,
                                 QObject *parent)
    : QTcpServer(parent), m_limits(limits), m_handler(std::move(handler))
{
    m_limits.maxConnections = connectionsTheFileLimitAllows(limits.maxConnections);
    // Qt stops accepting while this many accepted connections wait for admission.
    setMaxPendingConnections(AcceptedWaitingAtMost);
    m_admitLater.setSingleShot(true);
    connect(&m_admitLater, &QTimer::timeout, this, &ConnectionGuard::admitWaiting);
}

void ConnectionGuard::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    socket->setReadBufferSize(WaitingReadBuffer);
    addPendingConnection(socket);
    admitWaiting();
}

void ConnectionGuard::admitWaiting()
{
    while (hasPendingConnections()) {
        if (m_connections.size() >= m_limits.maxConnections) {
            const qint64 since =
                m_sinceClosing.isValid() ? m_sinceClosing.elapsed() : ClosingIntervalMs;
            if (since < ClosingIntervalMs) {
                if (!m_admitLater.isActive())
                    m_admitLater.start(int(ClosingIntervalMs - since));
                return;
            }
            makeRoom();
            m_sinceClosing.start();
        }
        QTcpSocket *socket = nextPendingConnection();
        resumeAccepting(); // Qt stopped when the waiting ones reached their limit
        if (socket->state() != QAbstractSocket::ConnectedState) {
            delete socket; // gone while it waited
            continue;
        }
        auto *connection = new HttpConnection(socket, m_limits, m_handler, this);
        m_connections.append(connection);
        connect(connection, &QObject::destroyed, this,
                [this, connection] { m_connections.removeOne(connection); });
    }
}

void ConnectionGuard::makeRoom()
{
    // A client whose answer is being prepared (a password check under back-off) keeps its place,
    // and so does a busy client that has been answered, as long as others have waited longer.
    const auto sooner = [](const HttpConnection *a, const HttpConnection *b) {
        if (a->isAwaitingAnswer() != b->isAwaitingAnswer())
            return !a->isAwaitingAnswer();
        if (a->hasCompletedRequest() != b->hasCompletedRequest())
            return !a->hasCompletedRequest();
        return a->waitingSince() < b->waitingSince();
    };
    HttpConnection *evicted = nullptr;
    for (HttpConnection *connection : std::as_const(m_connections)) {
        if (!evicted || sooner(connection, evicted))
            evicted = connection;
    }
    if (evicted) {
        m_connections.removeOne(evicted);
        evicted->close();
    }
}

} // namespace server
