#include "http/HttpRequest.h"

namespace server {

QByteArray HttpRequest::header(QByteArrayView name, bool *present) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            if (present)
                *present = true;
            return value;
        }
    }
    if (present)
        *present = false;
    return {};
}

bool HttpRequest::headerHasToken(QByteArrayView name, QByteArrayView token) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        for (const QByteArray &item : value.split(',')) {
            if (item.trimmed().compare(token, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

bool HttpRequest::closesConnection() const
{
    if (headerHasToken("Connection", "close"))
        return true;
    return minorVersion == 0 && !headerHasToken("Connection", "keep-alive");
}

} // namespace server
