#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace server {

// SOAP 1.1 messages as an ASMX service reads and writes them.
namespace Soap {

inline const QString EnvelopeNamespace =
    QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
// The placeholder namespace ASP.NET gives a web service whose author set none.
inline const QString DefaultServiceNamespace = QStringLiteral("http://tempuri.org/");

struct Request
{
    enum class Status {
        Ok,
        Malformed, // not well-formed XML, or a DTD: answered 400 without a body
        NotSoap, // well-formed, but no SOAP 1.1 envelope with a body
    };
    Status status = Status::Ok;
    QString problem;
    QString operationName;
    QString operationNamespace;
    // Parameters that are elements in the service namespace, by name; null text for xsi:nil.
    // Unqualified or foreign elements are dropped, as ASMX drops them.
    QHash<QString, QString> arguments;
};

Request parseRequest(const QString &xml, const QString &serviceNamespace);

// <?xml ...?><soap:Envelope ...><soap:Body><XResponse xmlns="ns"><XResult>text</XResult>...
// An empty text is written "<XResult />".
QByteArray resultMessage(const QString &serviceNamespace, const QString &operation,
                         const QString &resultText);

enum class FaultCode { Client, Server };
QByteArray faultMessage(FaultCode code, const QString &faultString);

} // namespace Soap

} // namespace server
