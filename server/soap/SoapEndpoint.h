#pragma once

#include "http/HttpReply.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <variant>

namespace server {

class WebService;
struct ServiceOperation;

// One POST to the service, as the HTTP layer received it.
struct SoapCall
{
    QByteArray contentType;
    QByteArray soapAction; // the raw header value
    bool hasSoapAction = false; // tells an empty header from a missing one
    QByteArray body;
    QString caller; // the caller's address
};

// A call that has been read: the operation and its arguments in parameter order.
struct ServiceCall
{
    const ServiceOperation *operation = nullptr;
    QVariantList arguments;
    QString caller;
};

// POST /qzWebService.asmx as an ASMX service answers it: the Content-Type decides how the body
// is decoded, SOAPAction (exact, case-sensitive) chooses the operation, parameters are the
// service-namespace children of the operation element, failures are soap:Fault with HTTP 500,
// broken XML 400, a media type other than text/xml 415.
class SoapEndpoint final
{
public:
    SoapEndpoint(WebService &service, const QString &serviceNamespace);

    // Reads the call: the answer at once when the request is refused, else the call to run.
    std::variant<HttpReply, ServiceCall> read(const SoapCall &call) const;
    // Runs a call that has been read; a failure of the operation is answered as a fault.
    HttpReply run(const ServiceCall &call);

private:
    QString actionText(const SoapCall &call) const;
    const ServiceOperation *operationOf(const SoapCall &call) const;

    WebService &m_service;
    QString m_namespace;
};

} // namespace server
