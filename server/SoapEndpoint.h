#pragma once

#include "HttpReply.h"

#include <QByteArray>
#include <QString>

class WebService;

// POST /qzWebService.asmx as an ASMX service answers it: the Content-Type decides how the body
// is decoded, SOAPAction (exact, case-sensitive) chooses the operation, parameters are the
// service-namespace children of the operation element, failures are soap:Fault with HTTP 500,
// broken XML 400, a media type other than text/xml 415.
class SoapEndpoint
{
public:
    SoapEndpoint(WebService &service, const QString &serviceNamespace);

    // soapAction is the raw header value; hasSoapAction tells an empty header from a missing one.
    HttpReply handle(const QByteArray &contentType, const QByteArray &soapAction,
                     bool hasSoapAction, const QByteArray &body);

private:
    WebService &m_service;
    QString m_namespace;
};
