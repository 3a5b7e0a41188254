#include "service/SoapEnvelope.h"

#include "service/AppError.h"
#include "service/SafeXml.h"

#include <QXmlStreamReader>

namespace SoapEnvelope {
namespace {

const auto envelopeNamespace = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");

// Escapes character data. A carriage return is written as a reference because XML parsers turn a
// literal one into a line feed; characters XML 1.0 cannot carry at all are refused.
void appendEscaped(QString &out, const QString &name, const QString &value)
{
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '\r':
            out += QLatin1String("&#xD;");
            break;
        case '\t':
        case '\n':
            out += c;
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
                throw AppError(QStringLiteral("参数 %1 含有无法传送的控制字符（代码 %2）")
                                   .arg(name)
                                   .arg(c.unicode()));
            out += c;
        }
    }
}

QString faultText(QXmlStreamReader &xml)
{
    // Inside soap:Fault: faultcode, faultstring, detail (unqualified).
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("faultstring"))
            text = SafeXml::elementText(xml);
        else
            xml.skipCurrentElement();
    }
    return text.isEmpty() ? QStringLiteral("服务器报告了错误，但没有说明原因") : text;
}

// The reason, when there is one, says why the answer was refused before it was read.
[[noreturn]] void notSoap(int httpStatus, const QString &reason = QString())
{
    QString text = httpStatus != 200 ? QStringLiteral("服务器返回了 HTTP 错误 %1").arg(httpStatus)
                                     : QStringLiteral("服务器的应答不是有效的 SOAP 信封");
    if (!reason.isEmpty())
        text += QStringLiteral("（%1）").arg(reason);
    throw AppError(text);
}

} // namespace

QByteArray request(const QString &serviceNamespace, const QString &operation,
                   const QList<Parameter> &parameters)
{
    QString xml;
    xml.reserve(400);
    xml += QLatin1String("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\n"
                         "  <soap:Body><");
    xml += operation;
    xml += QLatin1String(" xmlns=\"");
    appendEscaped(xml, QStringLiteral("namespace"), serviceNamespace);
    xml += QLatin1String("\">");
    for (const Parameter &p : parameters) {
        xml += QLatin1Char('<') + p.name + QLatin1Char('>');
        appendEscaped(xml, p.name, p.value);
        xml += QLatin1String("</") + p.name + QLatin1Char('>');
    }
    xml += QLatin1String("</") + operation + QLatin1String("></soap:Body>\n</soap:Envelope>");
    return xml.toUtf8();
}

QString resultText(const QString &operation, int httpStatus, const QByteArray &body)
{
    QString text;
    if (!SafeXml::decodeUtf8(body, text))
        notSoap(httpStatus, QStringLiteral("不是 UTF-8 文本"));
    if (const QString refused = SafeXml::refusalReason(text); !refused.isEmpty())
        notSoap(httpStatus, refused);
    QXmlStreamReader xml(text);
    if (!SafeXml::enterDocumentElement(xml) || xml.name() != QLatin1String("Envelope")
        || xml.namespaceUri() != envelopeNamespace)
        notSoap(httpStatus);

    const QString responseName = operation + QLatin1String("Response");
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("Body") || xml.namespaceUri() != envelopeNamespace) {
            xml.skipCurrentElement(); // soap:Header
            continue;
        }
        if (!xml.readNextStartElement())
            notSoap(httpStatus);
        if (xml.name() == QLatin1String("Fault") && xml.namespaceUri() == envelopeNamespace)
            throw AppError(faultText(xml));
        if (xml.name() != responseName || httpStatus != 200)
            notSoap(httpStatus);
        // The result element's name is the server's choice: take the one child's text.
        if (!xml.readNextStartElement())
            return QString();
        const QString result = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (xml.hasError())
            notSoap(httpStatus);
        return result;
    }
    notSoap(httpStatus);
}

} // namespace SoapEnvelope
