#include "soap/ServiceOperations.h"

#include "soap/WebService.h"

namespace server {

const QList<ServiceOperation> &serviceOperations()
{
    using Args = QVariantList;
    const XsdType S = XsdType::String;
    const XsdType I = XsdType::Int;
    const XsdType D = XsdType::Double;
    static const QList<ServiceOperation> operations {
        {QStringLiteral("addition"),
         {{QStringLiteral("i"), D}, {QStringLiteral("j"), D}},
         D,
         [](WebService &, const Args &a, const QString &) {
             return QVariant(WebService::addition(a[0].toDouble(), a[1].toDouble()));
         }},
        {QStringLiteral("yanzheng"),
         {{QStringLiteral("username"), S}, {QStringLiteral("userpass"), S}},
         S,
         [](WebService &s, const Args &a, const QString &) {
             return QVariant(s.yanzheng(a[0].toString(), a[1].toString()));
         },
         true},
        {QStringLiteral("zhixing"),
         {{QStringLiteral("sql"), S}},
         S,
         [](WebService &s, const Args &a, const QString &caller) {
             return QVariant(s.zhixing(a[0].toString(), caller));
         }},
        {QStringLiteral("jian"),
         {{QStringLiteral("i"), D}, {QStringLiteral("j"), D}},
         D,
         [](WebService &, const Args &a, const QString &) {
             return QVariant(WebService::jian(a[0].toDouble(), a[1].toDouble()));
         }},
        {QStringLiteral("hqSys_pz"),
         {},
         S,
         [](WebService &s, const Args &, const QString &) { return QVariant(s.hqSys_pz()); }},
        {QStringLiteral("hqdlyhxx"),
         {{QStringLiteral("username"), S}, {QStringLiteral("userpass"), S}},
         S,
         [](WebService &s, const Args &a, const QString &) {
             return QVariant(s.hqdlyhxx(a[0].toString(), a[1].toString()));
         },
         true},
        {QStringLiteral("hqsfczjl"),
         {{QStringLiteral("strsql"), S}},
         I,
         [](WebService &s, const Args &a, const QString &) {
             return QVariant(s.hqsfczjl(a[0].toString()));
         }},
        {QStringLiteral("hqsametable"),
         {{QStringLiteral("strsql"), S}},
         S,
         [](WebService &s, const Args &a, const QString &) {
             return QVariant(s.hqsametable(a[0].toString()));
         }},
        {QStringLiteral("ifchangetable"),
         {{QStringLiteral("userdj"), I}},
         S,
         [](WebService &s, const Args &a, const QString &) {
             return QVariant(s.ifchangetable(a[0].toInt()));
         }},
        {QStringLiteral("hqdlsj"),
         {{QStringLiteral("userid"), S}},
         S,
         [](WebService &s, const Args &a, const QString &) {
             return QVariant(s.hqdlsj(a[0].toString()));
         }},
    };
    return operations;
}

const ServiceOperation *findOperation(QStringView name)
{
    for (const ServiceOperation &operation : serviceOperations()) {
        if (operation.name == name)
            return &operation;
    }
    return nullptr;
}

} // namespace server
