#include "soap/SoapMessages.h"

#include "soap/XmlInputLimits.h"
#include "soap/XmlText.h"

#include <QXmlStreamReader>

namespace server {

namespace Soap {

namespace {

const QString EnvelopeOpening =
    QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                   "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                   "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                   "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>");
const QString EnvelopeClosing = QStringLiteral("</soap:Body></soap:Envelope>");
const QString SchemaInstanceNamespace = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

bool isNil(const QXmlStreamReader &reader)
{
    const QStringView nil =
        reader.attributes().value(SchemaInstanceNamespace, QStringLiteral("nil"));
    return nil == u"true" || nil == u"1";
}

// The text of the current element and of everything inside it, read without recursion.
QString textWithin(QXmlStreamReader &reader)
{
    QString text = QStringLiteral("");
    for (int depth = 1; depth > 0 && !reader.atEnd();) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
        case QXmlStreamReader::EntityReference:
            text += reader.text();
            break;
        default:
            break;
        }
    }
    return text;
}

// Reads the children of the operation element into the request's arguments.
void readArguments(QXmlStreamReader &reader, const QString &serviceNamespace, Request &request)
{
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        const bool qualified = reader.namespaceUri() == serviceNamespace;
        const bool nil = isNil(reader);
        const QString text = textWithin(reader);
        if (qualified && !request.arguments.contains(name))
            request.arguments.insert(name, nil ? QString() : text);
    }
}

void readBody(QXmlStreamReader &reader, const QString &serviceNamespace, Request &request)
{
    if (!reader.readNextStartElement())
        return; // an empty body: every parameter is missing
    request.operationName = reader.name().toString();
    request.operationNamespace = reader.namespaceUri().toString();
    readArguments(reader, serviceNamespace, request);
    while (reader.readNextStartElement())
        reader.skipCurrentElement();
}

} // namespace

Request parseRequest(const QString &xml, const QString &serviceNamespace)
{
    Request request;
    if (!XmlInputLimits::withinLimits(xml)) {
        request.status = Request::Status::Malformed;
        request.problem = QStringLiteral("The document is nested too deeply or is too large.");
        return request;
    }
    QXmlStreamReader reader(xml);
    bool sawBody = false;
    bool sawEnvelope = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD) {
            request.status = Request::Status::Malformed;
            request.problem = QStringLiteral("DTDs are not accepted.");
            return request;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (!sawEnvelope) {
            if (reader.name() != u"Envelope" || reader.namespaceUri() != EnvelopeNamespace)
                break;
            sawEnvelope = true;
            continue;
        }
        if (reader.name() == u"Body" && reader.namespaceUri() == EnvelopeNamespace && !sawBody) {
            sawBody = true;
            readBody(reader, serviceNamespace, request);
        } else {
            reader.skipCurrentElement(); // soap:Header and anything else
        }
    }
    // Read to the end so that trailing garbage counts as broken XML too.
    while (!reader.atEnd() && !reader.hasError()) {
        if (reader.readNext() == QXmlStreamReader::DTD)
            break;
    }
    if (reader.hasError() || reader.tokenType() == QXmlStreamReader::DTD) {
        request.status = Request::Status::Malformed;
        request.problem = reader.errorString();
    } else if (!sawEnvelope || !sawBody) {
        request.status = Request::Status::NotSoap;
        request.problem = sawEnvelope
            ? QStringLiteral("The SOAP envelope has no body.")
            : QStringLiteral("The root element is not a SOAP 1.1 envelope.");
    }
    return request;
}

QByteArray resultMessage(const QString &serviceNamespace, const QString &operation,
                         const QString &resultText)
{
    QString out;
    out.reserve(EnvelopeOpening.size() + EnvelopeClosing.size() + 2 * operation.size()
                + resultText.size() + 96);
    out += EnvelopeOpening;
    out += QLatin1Char('<') + operation + QStringLiteral("Response xmlns=\"");
    XmlText::appendEscaped(out, serviceNamespace);
    out += QStringLiteral("\">");
    if (resultText.isEmpty()) {
        out += QLatin1Char('<') + operation + QStringLiteral("Result />");
    } else {
        out += QLatin1Char('<') + operation + QStringLiteral("Result>");
        XmlText::appendEscaped(out, resultText);
        out += QStringLiteral("</") + operation + QStringLiteral("Result>");
    }
    out += QStringLiteral("</") + operation + QStringLiteral("Response>");
    out += EnvelopeClosing;
    return out.toUtf8();
}

QByteArray faultMessage(FaultCode code, const QString &faultString)
{
    QString out = EnvelopeOpening;
    out += QStringLiteral("<soap:Fault><faultcode>");
    out +=
        code == FaultCode::Client ? QStringLiteral("soap:Client") : QStringLiteral("soap:Server");
    out += QStringLiteral("</faultcode><faultstring>");
    XmlText::appendEscaped(out, faultString);
    out += QStringLiteral("</faultstring><detail /></soap:Fault>");
    out += EnvelopeClosing;
    return out.toUtf8();
}

} // namespace Soap

} // namespace server
