#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <memory>

class SoapTransport;
struct ServiceSettings;
namespace SoapEnvelope {
struct Parameter;
}

// The operator's web service "WebService", port "WebServiceSoap". Every operation is a blocking
// call that returns only when the answer arrived; failures raise AppError with a readable text.
class WebServiceSoap
{
public:
    WebServiceSoap(QUrl endpoint, QString serviceNamespace,
                   std::shared_ptr<SoapTransport> transport);

    double addition(double i, double j);
    QString yanzheng(const QString &username, const QString &userpass);
    QString zhixing(const QString &sql);
    double jian(double i, double j);
    QString hqSys_pz();
    QString hqdlyhxx(const QString &username, const QString &userpass);
    int hqsfczjl(const QString &strsql);
    QString hqsametable(const QString &strsql);
    QString ifchangetable(int userdj);
    QString hqdlsj(const QString &userid);

    const QUrl &endpoint() const { return m_endpoint; }

private:
    QString call(const QString &operation, const QList<SoapEnvelope::Parameter> &parameters);

    QUrl m_endpoint;
    QString m_namespace;
    std::shared_ptr<SoapTransport> m_transport;
};

// Binds a proxy to the server. With an empty address the default of the chosen mode is used: the
// registered endpoint, or with useDescription the service description, whose soap:address names the
// endpoint. Without a transport the proxy creates its own, which it alone holds, so nothing carries
// over from one proxy to the next. Every caller in the client uses the defaults.
std::shared_ptr<WebServiceSoap> NewServiceProxy(bool useDescription = false,
                                                const QString &address = QString(),
                                                std::shared_ptr<SoapTransport> transport = nullptr);

// Done once at program start, before any call: the service namespace (SOAPAction = namespace +
// operation name), the endpoint and the call time limit.
void RegisterWebServiceSoap(const ServiceSettings &settings);
const ServiceSettings &registeredServiceSettings();
