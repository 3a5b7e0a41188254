#include "http/OperatorHttpServer.h"

#include "http/BulletinPages.h"
#include "http/ConnectionGuard.h"
#include "http/DemoPages.h"
#include "http/HtmlPage.h"
#include "soap/ServiceOperations.h"
#include "soap/WsdlDocument.h"

#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QLoggingCategory>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace server {

Q_LOGGING_CATEGORY(lcHttp, "tipdesk.server.http", QtWarningMsg)

namespace {

// A header by case-insensitive name; *present tells an empty value from a missing header.
QByteArray headerValue(const QHttpServerRequest &request, const QByteArray &name,
                       bool *present = nullptr)
{
    for (const auto &[key, value] : request.headers()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            if (present)
                *present = true;
            return value;
        }
    }
    if (present)
        *present = false;
    return {};
}

QString callerAddress(const QHostAddress &address)
{
    bool mapped = false;
    const quint32 ipv4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(ipv4).toString() : address.toString();
}

bool isServicePost(const QHttpServerRequest &request)
{
    return request.method() == QHttpServerRequest::Method::Post
        && request.url().path().compare(QLatin1String("/qzWebService.asmx"), Qt::CaseInsensitive)
        == 0;
}

SoapCall soapCallOf(const QHttpServerRequest &request)
{
    SoapCall call;
    call.contentType = headerValue(request, QByteArrayLiteral("Content-Type"));
    call.soapAction = headerValue(request, QByteArrayLiteral("SOAPAction"), &call.hasSoapAction);
    call.body = request.body();
    call.caller = callerAddress(request.remoteAddress());
    return call;
}

void send(QHttpServerResponder &responder, const HttpReply &answer)
{
    const auto status = static_cast<QHttpServerResponder::StatusCode>(answer.status);
    if (answer.contentType.isEmpty())
        responder.write(answer.body, {}, status);
    else
        responder.write(answer.body, answer.contentType, status);
}

HttpReply notFound()
{
    return HtmlPage::reply(404, QStringLiteral("404"),
                           QStringLiteral("<h1>404</h1><p>Not found.</p>\n"));
}

HttpReply methodNotAllowed()
{
    return HtmlPage::reply(405, QStringLiteral("405"),
                           QStringLiteral("<h1>405</h1><p>Method not allowed.</p>\n"));
}

HttpReply serviceHelpPage()
{
    QString list;
    for (const ServiceOperation &operation : serviceOperations())
        list += QStringLiteral("<li>%1</li>\n").arg(operation.name);
    return HtmlPage::reply(
        200, QStringLiteral("WebService"),
        QStringLiteral("<h1>WebService</h1>\n<p>Operations of WebServiceSoap "
                       "(<a href=\"qzWebService.asmx?wsdl\">service description</a>):</p>\n"
                       "<ul>\n%1</ul>\n")
            .arg(list));
}

} // namespace

OperatorHttpServer::OperatorHttpServer(SqliteDatabase &db, const QString &serviceNamespace,
                                       QObject *parent)
    : QAbstractHttpServer(parent), m_db(db), m_namespace(serviceNamespace), m_service(db),
      m_soap(m_service, serviceNamespace, m_backoff)
{
}

quint16 OperatorHttpServer::listenOn(const QHostAddress &address, quint16 port,
                                     const ConnectionLimits &limits)
{
    auto *guard = new ConnectionGuard(limits, this);
    if (!guard->listen(address, port)) {
        m_listenError = guard->errorString();
        delete guard;
        return 0;
    }
    bind(guard);
    return guard->serverPort();
}

bool OperatorHttpServer::answeredLater(const QHttpServerRequest &request, QTcpSocket *socket)
{
    if (!isServicePost(request))
        return false;
    SoapCall call = soapCallOf(request);
    if (!m_soap.isPasswordCheck(call))
        return false;
    const std::chrono::milliseconds delay = m_backoff.delayFor(call.caller);
    if (delay.count() == 0)
        return false;
    // The server is single-threaded: a timer answers later and everyone else is served meanwhile.
    auto responder = std::make_shared<QHttpServerResponder>(makeResponder(request, socket));
    QTimer::singleShot(delay, this,
                       [this, responder, call = std::move(call), alive = QPointer(socket)] {
                           if (alive)
                               send(*responder, m_soap.handle(call));
                       });
    qCDebug(lcHttp) << "password check from an address under back-off answered later";
    return true;
}

bool OperatorHttpServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    if (answeredLater(request, socket))
        return true;
    HttpReply answer;
    try {
        answer = reply(request, socket);
    } catch (const std::exception &error) {
        // Nothing may escape into the event loop; the client gets a plain server error.
        qCWarning(lcHttp) << "request failed:" << error.what();
        answer = {500, QByteArrayLiteral("text/plain; charset=utf-8"),
                  QByteArrayLiteral("Server error\n")};
    }
    qCDebug(lcHttp) << request.method() << request.url().path() << answer.status;

    QHttpServerResponder responder = makeResponder(request, socket);
    send(responder, answer);
    return true;
}

void OperatorHttpServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    QHttpServerResponder responder = makeResponder(request, socket);
    send(responder, notFound());
}

HttpReply OperatorHttpServer::reply(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const QString path = request.url().path();
    const bool isGet = request.method() == QHttpServerRequest::Method::Get;
    const bool isPost = request.method() == QHttpServerRequest::Method::Post;
    // IIS paths are not case-sensitive.
    if (path.compare(QLatin1String("/qzWebService.asmx"), Qt::CaseInsensitive) == 0)
        return serviceReply(request, socket);
    if (path.compare(QLatin1String("/qzIP.aspx"), Qt::CaseInsensitive) == 0) {
        if (!isGet && !isPost)
            return methodNotAllowed();
        return {200, QByteArrayLiteral("text/plain; charset=utf-8"),
                callerAddress(request.remoteAddress()).toUtf8()};
    }
    const QByteArray query = request.url().query(QUrl::FullyEncoded).toLatin1();
    if (path.compare(QLatin1String("/qzGongGaoXinXi.aspx"), Qt::CaseInsensitive) == 0)
        return isGet || isPost ? BulletinPages::page(m_db, 1, query) : methodNotAllowed();
    if (path.compare(QLatin1String("/qzGongGaoSiMi.aspx"), Qt::CaseInsensitive) == 0)
        return isGet || isPost ? BulletinPages::page(m_db, 2, query) : methodNotAllowed();
    if (isGet) {
        if (std::optional<HttpReply> page = DemoPages::page(path))
            return *page;
    }
    return notFound();
}

HttpReply OperatorHttpServer::serviceReply(const QHttpServerRequest &request, QTcpSocket *socket)
{
    if (request.method() == QHttpServerRequest::Method::Post)
        return m_soap.handle(soapCallOf(request));
    if (request.method() != QHttpServerRequest::Method::Get)
        return methodNotAllowed();
    if (request.url().query().compare(QLatin1String("wsdl"), Qt::CaseInsensitive) != 0)
        return serviceHelpPage();
    QByteArray host = headerValue(request, QByteArrayLiteral("Host"));
    if (host.isEmpty())
        host = QStringLiteral("%1:%2")
                   .arg(socket->localAddress().toString())
                   .arg(socket->localPort())
                   .toUtf8();
    const QString endpoint =
        QStringLiteral("http://%1/qzWebService.asmx").arg(QString::fromUtf8(host));
    return {200, QByteArrayLiteral("text/xml; charset=utf-8"),
            WsdlDocument::write(m_namespace, endpoint)};
}

} // namespace server
