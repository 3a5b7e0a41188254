#pragma once

#include <QByteArray>
#include <QString>

namespace server {

// The service description answered for "qzWebService.asmx?wsdl": WSDL 1.1 of the service
// "WebService" with its port "WebServiceSoap", document/literal, as ASP.NET describes it.
namespace WsdlDocument {

QByteArray write(const QString &serviceNamespace, const QString &endpointUrl);

} // namespace WsdlDocument

} // namespace server
