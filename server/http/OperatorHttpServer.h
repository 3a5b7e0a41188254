#pragma once

#include "http/ConnectionGuard.h"
#include "http/HttpReply.h"
#include "http/LoginBackoff.h"
#include "soap/SoapEndpoint.h"
#include "soap/WebService.h"

#include <QAbstractHttpServer>
#include <QHostAddress>

class QHttpServerRequest;

namespace server {

class SqliteDatabase;

// The HTTP face of the reference operator server: "/qzWebService.asmx" (SOAP and "?wsdl"),
// "/qzIP.aspx", the two bulletin pages and the demo pages. Requests are handled one at a time
// on the event loop; answers are queued on the sockets, so no client waits for another's.
class OperatorHttpServer final : public QAbstractHttpServer
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OperatorHttpServer)
public:
    OperatorHttpServer(SqliteDatabase &db, const QString &serviceNamespace,
                       QObject *parent = nullptr);

    // Listens on address:port (0 picks a free port); answers the port, or 0 on failure.
    quint16 listenOn(const QHostAddress &address, quint16 port, const ConnectionLimits &limits);
    QString listenError() const { return m_listenError; }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    HttpReply reply(const QHttpServerRequest &request, QTcpSocket *socket);
    HttpReply serviceReply(const QHttpServerRequest &request, QTcpSocket *socket);
    // A password check from an address under back-off: run and answered once its turn comes.
    bool answeredLater(const QHttpServerRequest &request, QTcpSocket *socket);

    SqliteDatabase &m_db;
    QString m_namespace;
    WebService m_service;
    LoginBackoff m_backoff;
    SoapEndpoint m_soap;
    QString m_listenError;
};

} // namespace server
