#include "http/OperatorHttpServer.h"

#include "http/BulletinPages.h"
#include "http/DemoPages.h"
#include "http/HtmlPage.h"
#include "soap/ServiceOperations.h"
#include "soap/WsdlDocument.h"

#include <QLoggingCategory>

#include <variant>

namespace server {

namespace {

QString callerAddress(const QHostAddress &address)
{
    bool mapped = false;
    const quint32 ipv4 = address.toIPv4Address(&mapped);
    return mapped ? QHostAddress(ipv4).toString() : address.toString();
}

// IIS paths are not case-sensitive.
bool isPath(const QString &path, QLatin1String wanted)
{
    return path.compare(wanted, Qt::CaseInsensitive) == 0;
}

// The bulletin kind a path shows, or 0.
int bulletinKindOf(const QString &path)
{
    if (isPath(path, QLatin1String("/qzGongGaoXinXi.aspx")))
        return 1;
    if (isPath(path, QLatin1String("/qzGongGaoSiMi.aspx")))
        return 2;
    return 0;
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

// Runs work that answers a request; nothing it raises may escape into the event loop.
template<typename Work> HttpReply guarded(Work work)
{
    try {
        return work();
    } catch (const std::exception &error) {
        qCWarning(lcHttp) << "request failed:" << error.what();
        return HttpReply::serverError();
    }
}

} // namespace

OperatorHttpServer::OperatorHttpServer(SqliteDatabase &db, const QString &serviceNamespace,
                                       QObject *parent)
    : QObject(parent), m_db(db), m_namespace(serviceNamespace), m_service(db),
      m_soap(m_service, serviceNamespace), m_checks(db)
{
}

OperatorHttpServer::~OperatorHttpServer()
{
    // The connections (and the checks waiting on them) go before the members they use.
    delete m_guard;
}

quint16 OperatorHttpServer::listenOn(const QHostAddress &address, quint16 port,
                                     const ConnectionLimits &limits)
{
    auto guard = std::make_unique<ConnectionGuard>(
        limits, [this](const HttpRequest &request, HttpConnection &connection) {
            handle(request, connection);
        });
    if (!guard->listen(address, port)) {
        m_listenError = guard->errorString();
        return 0;
    }
    delete m_guard;
    m_guard = guard.release();
    return m_guard->serverPort();
}

void OperatorHttpServer::handle(const HttpRequest &request, HttpConnection &connection)
{
    try {
        dispatch(request, connection);
    } catch (const std::exception &error) {
        qCWarning(lcHttp) << "request failed:" << error.what();
        connection.answer(HttpReply::serverError());
    }
}

void OperatorHttpServer::dispatch(const HttpRequest &request, HttpConnection &connection)
{
    const QString path = request.url().path();
    if (request.isPost() && isPath(path, QLatin1String("/qzWebService.asmx"))) {
        servicePost(request, connection);
        return;
    }
    const int bulletinKind = bulletinKindOf(path);
    if (bulletinKind != 0) {
        if (!request.isGetOrHead() && !request.isPost()) {
            connection.answer(methodNotAllowed());
            return;
        }
        const BulletinPages::Visitor visitor =
            BulletinPages::visitorOf(request.url().query(QUrl::FullyEncoded).toLatin1());
        m_checks.submit(connection,
                        {callerAddress(request.peerAddress), visitor.name, visitor.password,
                         [this, bulletinKind, visitor] {
                             return guarded(
                                 [&] { return BulletinPages::page(m_db, bulletinKind, visitor); });
                         },
                         BulletinPages::refusal(bulletinKind)});
        return;
    }
    connection.answer(reply(request));
}

void OperatorHttpServer::servicePost(const HttpRequest &request, HttpConnection &connection)
{
    SoapCall call;
    call.contentType = request.header("Content-Type");
    call.soapAction = request.header("SOAPAction", &call.hasSoapAction);
    call.body = request.body;
    call.caller = callerAddress(request.peerAddress);
    std::variant<HttpReply, ServiceCall> read = m_soap.read(call);
    if (const HttpReply *refused = std::get_if<HttpReply>(&read)) {
        connection.answer(*refused);
        return;
    }
    ServiceCall serviceCall = std::get<ServiceCall>(std::move(read));
    if (!serviceCall.operation->testsPassword) {
        connection.answer(m_soap.run(serviceCall));
        return;
    }
    // A wrong password gets the operation's own answer without a password: "False", no row.
    ServiceCall withoutPassword = serviceCall;
    withoutPassword.arguments[1] = QString();
    const HttpReply refusal = m_soap.run(withoutPassword);
    const QString name = serviceCall.arguments.at(0).toString();
    const QString password = serviceCall.arguments.at(1).toString();
    m_checks.submit(
        connection,
        {call.caller, name, password,
         [this, serviceCall] { return guarded([&] { return m_soap.run(serviceCall); }); },
         refusal});
}

HttpReply OperatorHttpServer::reply(const HttpRequest &request)
{
    const QString path = request.url().path();
    if (isPath(path, QLatin1String("/qzWebService.asmx")))
        return request.isGetOrHead() ? serviceDescription(request) : methodNotAllowed();
    if (isPath(path, QLatin1String("/qzIP.aspx"))) {
        if (!request.isGetOrHead() && !request.isPost())
            return methodNotAllowed();
        return {200, QByteArrayLiteral("text/plain; charset=utf-8"),
                callerAddress(request.peerAddress).toUtf8()};
    }
    if (request.isGetOrHead()) {
        if (std::optional<HttpReply> page = DemoPages::page(path))
            return *page;
    }
    return notFound();
}

HttpReply OperatorHttpServer::serviceDescription(const HttpRequest &request)
{
    if (request.url().query().compare(QLatin1String("wsdl"), Qt::CaseInsensitive) != 0)
        return serviceHelpPage();
    QByteArray host = request.header("Host");
    if (host.isEmpty())
        host = QStringLiteral("%1:%2")
                   .arg(request.localAddress.toString())
                   .arg(request.localPort)
                   .toUtf8();
    const QString endpoint =
        QStringLiteral("http://%1/qzWebService.asmx").arg(QString::fromUtf8(host));
    return {200, QByteArrayLiteral("text/xml; charset=utf-8"),
            WsdlDocument::write(m_namespace, endpoint)};
}

} // namespace server
