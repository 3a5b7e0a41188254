#include "http/ConnectionGuard.h"

#include <QTcpSocket>

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

} // namespace

ConnectionGuard::ConnectionGuard(const ConnectionLimits &limits, RequestHandler handler,
                                 QObject *parent)
    : QTcpServer(parent), m_limits(limits), m_handler(std::move(handler))
{
    m_limits.maxConnections = connectionsTheFileLimitAllows(limits.maxConnections);
}

void ConnectionGuard::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket;
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    if (m_connections.size() >= m_limits.maxConnections)
        makeRoom();
    auto *connection = new HttpConnection(socket, m_limits, m_handler, this);
    m_connections.append(connection);
    connect(connection, &QObject::destroyed, this,
            [this, connection] { m_connections.removeOne(connection); });
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
        return a->waitingMs() > b->waitingMs();
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
