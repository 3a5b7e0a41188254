#include "service/WebService.h"

#include "service/AppError.h"
#include "service/Conversions.h"
#include "service/SafeXml.h"
#include "service/ServiceSettings.h"
#include "service/SoapEnvelope.h"
#include "service/SoapTransport.h"

#include <QLoggingCategory>
#include <QXmlStreamReader>

Q_LOGGING_CATEGORY(lcService, "tipdesk.service", QtWarningMsg)

namespace {
ServiceSettings &registration()
{
    static ServiceSettings settings;
    return settings;
}

QString decimal(double value)
{
    return QString::number(value, 'g', 17);
}

double toDouble(const QString &text)
{
    bool ok = false;
    const double value = trimmedView(text).toDouble(&ok);
    if (!ok)
        throw AppError(QStringLiteral("“%1”不是有效的数值").arg(text));
    return value;
}

// The endpoint named by a service description: wsdl:port/soap:address/@location.
QUrl endpointFromDescription(SoapTransport &transport, const QUrl &descriptionUrl)
{
    const SoapTransport::Answer answer = transport.get(descriptionUrl);
    if (answer.httpStatus != 200)
        throw AppError(QStringLiteral("无法读取服务描述（HTTP %1）").arg(answer.httpStatus));
    QString text;
    if (!SafeXml::decodeUtf8(answer.body, text) || !SafeXml::refusalReason(text).isEmpty())
        throw AppError(QStringLiteral("服务描述不是有效的 XML 文档"));
    QXmlStreamReader xml(text);
    if (!SafeXml::enterDocumentElement(xml))
        throw AppError(QStringLiteral("服务描述不是有效的 XML 文档"));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement
            && xml.name() == QLatin1String("address")) {
            const QUrl location(xml.attributes().value(QLatin1String("location")).toString());
            if (location.isValid())
                return location;
        }
    }
    throw AppError(QStringLiteral("服务描述中没有 WebServiceSoap 的地址"));
}

// Operations whose bodies carry credentials are never logged.
bool carriesSecrets(const QString &operation)
{
    return operation == QLatin1String("yanzheng") || operation == QLatin1String("hqdlyhxx")
        || operation == QLatin1String("zhixing");
}
} // namespace

void RegisterWebServiceSoap(const ServiceSettings &settings)
{
    registration() = settings;
}

const ServiceSettings &registeredServiceSettings()
{
    return registration();
}

std::shared_ptr<WebServiceSoap> NewServiceProxy(bool useDescription, const QString &address,
                                                std::shared_ptr<SoapTransport> transport)
{
    const ServiceSettings &settings = registration();
    if (!transport)
        transport =
            std::make_shared<SoapTransport>(settings.callTimeoutMs, settings.maxAnswerBytes);
    QUrl endpoint;
    if (useDescription) {
        const QUrl description = address.isEmpty() ? settings.descriptionUrl() : QUrl(address);
        endpoint = endpointFromDescription(*transport, description);
    } else {
        endpoint = address.isEmpty() ? settings.endpoint() : QUrl(address);
    }
    return std::make_shared<WebServiceSoap>(endpoint, settings.serviceNamespace,
                                            std::move(transport));
}

WebServiceSoap::WebServiceSoap(QUrl endpoint, QString serviceNamespace,
                               std::shared_ptr<SoapTransport> transport)
    : m_endpoint(std::move(endpoint)), m_namespace(std::move(serviceNamespace)),
      m_transport(std::move(transport))
{
}

QString WebServiceSoap::call(const QString &operation,
                             const QList<SoapEnvelope::Parameter> &parameters)
{
    if (SoapTransport::callInFlight())
        throw AppError(QStringLiteral("上一次服务调用尚未结束，请稍后再试。"));
    const QByteArray body = SoapEnvelope::request(m_namespace, operation, parameters);
    if (carriesSecrets(operation))
        qCDebug(lcService) << "call" << operation;
    else
        qCDebug(lcService) << "call" << operation << body;
    const SoapTransport::Answer answer =
        m_transport->post(m_endpoint, (m_namespace + operation).toUtf8(), body);
    return SoapEnvelope::resultText(operation, answer.httpStatus, answer.body);
}

double WebServiceSoap::addition(double i, double j)
{
    return toDouble(call(QStringLiteral("addition"),
                         {{QStringLiteral("i"), decimal(i)}, {QStringLiteral("j"), decimal(j)}}));
}

QString WebServiceSoap::yanzheng(const QString &username, const QString &userpass)
{
    return call(QStringLiteral("yanzheng"),
                {{QStringLiteral("username"), username}, {QStringLiteral("userpass"), userpass}});
}

QString WebServiceSoap::zhixing(const QString &sql)
{
    return call(QStringLiteral("zhixing"), {{QStringLiteral("sql"), sql}});
}

double WebServiceSoap::jian(double i, double j)
{
    return toDouble(call(QStringLiteral("jian"),
                         {{QStringLiteral("i"), decimal(i)}, {QStringLiteral("j"), decimal(j)}}));
}

QString WebServiceSoap::hqSys_pz()
{
    return call(QStringLiteral("hqSys_pz"), {});
}

QString WebServiceSoap::hqdlyhxx(const QString &username, const QString &userpass)
{
    return call(QStringLiteral("hqdlyhxx"),
                {{QStringLiteral("username"), username}, {QStringLiteral("userpass"), userpass}});
}

int WebServiceSoap::hqsfczjl(const QString &strsql)
{
    return toInteger(call(QStringLiteral("hqsfczjl"), {{QStringLiteral("strsql"), strsql}}));
}

QString WebServiceSoap::hqsametable(const QString &strsql)
{
    return call(QStringLiteral("hqsametable"), {{QStringLiteral("strsql"), strsql}});
}

QString WebServiceSoap::ifchangetable(int userdj)
{
    return call(QStringLiteral("ifchangetable"),
                {{QStringLiteral("userdj"), QString::number(userdj)}});
}

QString WebServiceSoap::hqdlsj(const QString &userid)
{
    return call(QStringLiteral("hqdlsj"), {{QStringLiteral("userid"), userid}});
}
