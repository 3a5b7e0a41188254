#pragma once

#include "http/HttpReply.h"

#include <QByteArray>
#include <QString>

namespace server {

class LoginBackoff;
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

// POST /qzWebService.asmx as an ASMX service answers it: the Content-Type decides how the body
// is decoded, SOAPAction (exact, case-sensitive) chooses the operation, parameters are the
// service-namespace children of the operation element, failures are soap:Fault with HTTP 500,
// broken XML 400, a media type other than text/xml 415.
// A yanzheng that answers "False" is recorded against the caller's address in the back-off.
class SoapEndpoint final
{
public:
    SoapEndpoint(WebService &service, const QString &serviceNamespace, LoginBackoff &backoff);

    HttpReply handle(const SoapCall &call);
    // Whether the call's SOAPAction asks for the password check (yanzheng).
    bool isPasswordCheck(const SoapCall &call) const;

private:
    QString actionText(const SoapCall &call) const;
    const ServiceOperation *operationOf(const SoapCall &call) const;

    WebService &m_service;
    QString m_namespace;
    LoginBackoff &m_backoff;
};

} // namespace server
