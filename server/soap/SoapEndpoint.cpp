#include "soap/SoapEndpoint.h"

#include "ServerError.h"
#include "soap/ServiceOperations.h"
#include "soap/SoapMessages.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QStringDecoder>

#include <cmath>
#include <optional>

namespace server {

Q_LOGGING_CATEGORY(lcSoap, "tipdesk.server.soap", QtWarningMsg)

namespace {

const QByteArray XmlContentType = QByteArrayLiteral("text/xml; charset=utf-8");

// An argument whose text does not convert: ASMX reports it as a client fault.
class ArgumentError final : public std::runtime_error
{
public:
    ArgumentError() : std::runtime_error("Input string was not in a correct format.") { }
};

HttpReply fault(Soap::FaultCode code, const QString &text)
{
    return {500, XmlContentType, Soap::faultMessage(code, text)};
}

// The body as text by the Content-Type's charset (the XML declaration has no say). Without a
// charset every non-ASCII character becomes "?", as ASMX decodes it. Nothing when the bytes
// are not valid in that charset or the charset is unknown (*unknownCharset is then set).
std::optional<QString> decodeBody(const QByteArray &body, const QByteArray &charset,
                                  bool *unknownCharset)
{
    *unknownCharset = false;
    const QByteArray name = charset.isEmpty() ? QByteArrayLiteral("utf-8") : charset;
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) {
        *unknownCharset = true;
        return std::nullopt;
    }
    const QString text = decoder.decode(body);
    if (decoder.hasError())
        return std::nullopt;
    if (charset.isEmpty()) {
        QString ascii;
        ascii.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i; // one character, one question mark
            ascii.append(c.unicode() > 127 ? QLatin1Char('?') : c);
        }
        return ascii;
    }
    return text;
}

// Splits "text/xml; charset="utf-8"" into media type and charset (both lower case, unquoted).
void parseContentType(const QByteArray &header, QByteArray *mediaType, QByteArray *charset)
{
    const QList<QByteArray> parts = header.split(';');
    *mediaType = parts.value(0).trimmed().toLower();
    charset->clear();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QByteArray parameter = parts.at(i).trimmed();
        const qsizetype equals = parameter.indexOf('=');
        if (equals < 0 || parameter.left(equals).trimmed().toLower() != "charset")
            continue;
        QByteArray value = parameter.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        *charset = value.trimmed().toLower();
    }
}

int toInt(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        throw ArgumentError();
    return value;
}

double toDouble(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == u"INF")
        return INFINITY;
    if (trimmed == u"-INF")
        return -INFINITY;
    if (trimmed == u"NaN")
        return NAN;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || trimmed.contains(QLatin1String("inf"), Qt::CaseInsensitive)
        || trimmed.contains(QLatin1String("nan"), Qt::CaseInsensitive))
        throw ArgumentError();
    return value;
}

// A double as XmlConvert writes it: shortest round-trip digits, "E+20"/"E-05" exponents.
QString doubleText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        const QChar sign = text.at(e + 1);
        QString digits = text.mid(e + 2);
        if (digits.size() < 2)
            digits.prepend(QLatin1Char('0'));
        text = text.left(e) + QLatin1Char('E') + sign + digits;
    }
    return text;
}

QVariantList convertArguments(const ServiceOperation &operation, const Soap::Request &request)
{
    QVariantList arguments;
    for (const ServiceParameter &parameter : operation.parameters) {
        const auto found = request.arguments.constFind(parameter.name);
        const bool present = found != request.arguments.constEnd() && !found->isNull();
        switch (parameter.type) {
        case XsdType::String:
            arguments.append(present ? *found : QString());
            break;
        case XsdType::Int:
            arguments.append(present ? toInt(*found) : 0);
            break;
        case XsdType::Double:
            arguments.append(present ? toDouble(*found) : 0.0);
            break;
        }
    }
    return arguments;
}

QString resultText(XsdType type, const QVariant &result)
{
    switch (type) {
    case XsdType::Int:
        return QString::number(result.toInt());
    case XsdType::Double:
        return doubleText(result.toDouble());
    case XsdType::String:
        break;
    }
    return result.toString();
}

} // namespace

SoapEndpoint::SoapEndpoint(WebService &service, const QString &serviceNamespace)
    : m_service(service), m_namespace(serviceNamespace)
{
}

// The SOAPAction header without blanks and quotes around it.
QString SoapEndpoint::actionText(const SoapCall &call) const
{
    QString action = QString::fromUtf8(call.soapAction).trimmed();
    if (action.size() >= 2 && action.startsWith(QLatin1Char('"'))
        && action.endsWith(QLatin1Char('"')))
        action = action.mid(1, action.size() - 2);
    return action;
}

const ServiceOperation *SoapEndpoint::operationOf(const SoapCall &call) const
{
    const QString action = actionText(call);
    return call.hasSoapAction && action.startsWith(m_namespace)
        ? findOperation(QStringView(action).sliced(m_namespace.size()))
        : nullptr;
}

std::variant<HttpReply, ServiceCall> SoapEndpoint::read(const SoapCall &call) const
{
    QByteArray mediaType;
    QByteArray charset;
    parseContentType(call.contentType, &mediaType, &charset);
    if (mediaType != "text/xml")
        return HttpReply {415, {}, {}};

    const ServiceOperation *operation = operationOf(call);
    if (!operation) {
        return fault(
            Soap::FaultCode::Client,
            QStringLiteral("Server did not recognize the value of HTTP Header SOAPAction: %1.")
                .arg(actionText(call)));
    }

    bool unknownCharset = false;
    const std::optional<QString> text = decodeBody(call.body, charset, &unknownCharset);
    if (unknownCharset)
        return HttpReply {415, {}, {}};
    if (!text || text->trimmed().isEmpty())
        return HttpReply {400, {}, {}};

    const Soap::Request request = Soap::parseRequest(*text, m_namespace);
    if (request.status == Soap::Request::Status::Malformed)
        return HttpReply {400, {}, {}};
    if (request.status == Soap::Request::Status::NotSoap)
        return fault(Soap::FaultCode::Client,
                     QStringLiteral("Server was unable to read request. ---> ") + request.problem);

    // SOAPAction wins; the parameters count only when the body names the same operation.
    Soap::Request parameters = request;
    if (request.operationName != operation->name || request.operationNamespace != m_namespace)
        parameters.arguments.clear();

    try {
        return ServiceCall {operation, convertArguments(*operation, parameters), call.caller};
    } catch (const ArgumentError &error) {
        return fault(
            Soap::FaultCode::Client,
            QStringLiteral(
                "Server was unable to read request. ---> There is an error in XML document. ---> ")
                + QString::fromUtf8(error.what()));
    }
}

HttpReply SoapEndpoint::run(const ServiceCall &call)
{
    const ServiceOperation *operation = call.operation;
    try {
        const QVariant result = operation->invoke(m_service, call.arguments, call.caller);
        qCDebug(lcSoap) << operation->name << "answered";
        return {200, XmlContentType,
                Soap::resultMessage(m_namespace, operation->name,
                                    resultText(operation->result, result))};
    } catch (const ServerError &error) {
        qCDebug(lcSoap) << operation->name << "failed";
        return fault(Soap::FaultCode::Server,
                     QStringLiteral("Server was unable to process request. ---> ")
                         + error.message());
    }
}

} // namespace server
