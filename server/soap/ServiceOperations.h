#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

namespace server {

class WebService;

// The XML Schema types that appear in WebServiceSoap.
enum class XsdType { String, Int, Double };

struct ServiceParameter
{
    QString name;
    XsdType type;
};

// One operation of WebServiceSoap: its name, parameters in order, result type, and the call
// into WebService. The WSDL and the SOAP dispatcher both read this one table.
struct ServiceOperation
{
    QString name;
    QList<ServiceParameter> parameters;
    XsdType result;
    // Arguments in parameter order: QString (null when missing), int or double; and the caller's
    // address.
    std::function<QVariant(WebService &, const QVariantList &, const QString &)> invoke;
    // Takes username and userpass first and tells a right password from a wrong one.
    bool testsPassword = false;
};

// In the order of the interface.
const QList<ServiceOperation> &serviceOperations();
const ServiceOperation *findOperation(QStringView name);

} // namespace server
