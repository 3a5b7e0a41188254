#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The SOAP 1.1 document/literal messages of the service, written and read exactly as an ASP.NET
// web service (ASMX) writes and reads them.
namespace SoapEnvelope {

struct Parameter
{
    QString name;
    QString value; // strings as they are, numbers already in decimal notation
};

// The request body for one operation: the operation element in the service namespace holds one
// element per parameter, in order. Raises AppError for a value XML cannot carry.
QByteArray request(const QString &serviceNamespace, const QString &operation,
                   const QList<Parameter> &parameters);

// The text of the one child of the operation's response element. Raises AppError with the
// faultstring for a SOAP fault, and with a readable text for anything that is not a SOAP answer.
QString resultText(const QString &operation, int httpStatus, const QByteArray &body);

} // namespace SoapEnvelope
