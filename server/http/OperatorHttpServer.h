#pragma once

#include "http/ConnectionGuard.h"
#include "http/HttpReply.h"
#include "http/PasswordChecks.h"
#include "soap/SoapEndpoint.h"
#include "soap/WebService.h"

#include <QHostAddress>
#include <QObject>

namespace server {

class SqliteDatabase;

// The HTTP face of the reference operator server: "/qzWebService.asmx" (SOAP and "?wsdl"),
// "/qzIP.aspx", the two bulletin pages and the demo pages. Requests are handled one at a time
// on the event loop; answers are queued on the sockets, so no client waits for another's.
class OperatorHttpServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OperatorHttpServer)
public:
    OperatorHttpServer(SqliteDatabase &db, const QString &serviceNamespace,
                       QObject *parent = nullptr);
    ~OperatorHttpServer() override;

    // Listens on address:port (0 picks a free port); answers the port, or 0 on failure.
    quint16 listenOn(const QHostAddress &address, quint16 port, const ConnectionLimits &limits);
    QString listenError() const { return m_listenError; }

private:
    void handle(const HttpRequest &request, HttpConnection &connection);
    void dispatch(const HttpRequest &request, HttpConnection &connection);
    HttpReply reply(const HttpRequest &request);
    HttpReply serviceDescription(const HttpRequest &request);
    void servicePost(const HttpRequest &request, HttpConnection &connection);

    SqliteDatabase &m_db;
    QString m_namespace;
    WebService m_service;
    SoapEndpoint m_soap;
    PasswordChecks m_checks;
    ConnectionGuard *m_guard = nullptr;
    QString m_listenError;
};

} // namespace server
