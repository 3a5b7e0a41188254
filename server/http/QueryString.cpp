#include "http/QueryString.h"

namespace server {

namespace QueryString {

namespace {

QString decodeComponent(QByteArray component)
{
    component.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(component));
}

} // namespace

QHash<QString, QString> decode(const QByteArray &rawQuery)
{
    QHash<QString, QString> values;
    for (const QByteArray &pair : rawQuery.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        const QString key = decodeComponent(equals < 0 ? pair : pair.left(equals));
        const QString value =
            equals < 0 ? QStringLiteral("") : decodeComponent(pair.mid(equals + 1));
        if (!values.contains(key))
            values.insert(key, value);
    }
    return values;
}

} // namespace QueryString

} // namespace server
