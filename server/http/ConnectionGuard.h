#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QTcpServer>

namespace server {

class ConnectionWatch;

// What a connection may do before the guard closes it.
struct ConnectionLimits
{
    qint64 maxHeadBytes = 64 * 1024;
    qint64 maxBodyBytes = 1024 * 1024;
    // A connection that has not completed a request this long after it opened or after its last
    // request is closed: idle callers and slow senders do not hold a socket for ever.
    int idleTimeoutMs = 15000;
    // Open connections at most; at the limit the one that has waited longest is closed, one
    // that never completed a request before one that did.
    int maxConnections = 256;
};

// The listening socket of the HTTP layer. Every connection it accepts is watched: a request too
// large or framed ambiguously gets its refusal status and the connection is closed, and so is a
// connection that stays idle or sends too slowly. The number of open connections is capped below
// the process's file limit, so the server never runs out of descriptors.
class ConnectionGuard final : public QTcpServer
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConnectionGuard)
public:
    explicit ConnectionGuard(const ConnectionLimits &limits, QObject *parent = nullptr);
    ~ConnectionGuard() override;

    int openConnections() const { return int(m_watches.size()); }

protected:
    void incomingConnection(qintptr handle) override;

private:
    friend class ConnectionWatch;
    void forget(ConnectionWatch *watch);

    ConnectionLimits m_limits;
    QList<ConnectionWatch *> m_watches;
};

} // namespace server
