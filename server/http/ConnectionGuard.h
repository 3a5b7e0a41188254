#pragma once

#include "http/HttpConnection.h"

#include <QElapsedTimer>
#include <QList>
#include <QTcpServer>
#include <QTimer>

namespace server {

// The listening socket of the HTTP layer. Every connection it accepts becomes an HttpConnection
// that hands its requests to the handler. The number of open connections is capped below the
// process's file limit, so the server never runs out of descriptors: at the cap a new connection
// closes the one that has waited longest, preferring one that never completed a request and
// never one whose answer is still being prepared. Such closings are paced: a flood of callers
// that reconnect as soon as they are closed waits in the listen queue instead of making the
// server accept and close connections as fast as it can.
class ConnectionGuard final : public QTcpServer
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ConnectionGuard)
public:
    ConnectionGuard(const ConnectionLimits &limits, RequestHandler handler,
                    QObject *parent = nullptr);

protected:
    void incomingConnection(qintptr handle) override;

private:
    void admitWaiting();
    void makeRoom();

    ConnectionLimits m_limits;
    RequestHandler m_handler;
    QList<HttpConnection *> m_connections;
    QElapsedTimer m_sinceClosing; // since a connection was last closed to make room
    QTimer m_admitLater;
};

} // namespace server
