#include "http/HttpResponseHead.h"

#include <QDateTime>

namespace server {

namespace HttpResponseHead {

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 411:
        return "Length Required";
    case 413:
        return "Payload Too Large";
    case 415:
        return "Unsupported Media Type";
    case 431:
        return "Request Header Fields Too Large";
    case 500:
        return "Internal Server Error";
    case 505:
        return "HTTP Version Not Supported";
    default:
        return "Status";
    }
}

// The Date field (RFC 9110, 5.6.7), written once a second at most.
QByteArray dateField()
{
    static qint64 writtenForSecond = -1;
    static QByteArray field;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint64 second = now.toSecsSinceEpoch();
    if (second != writtenForSecond) {
        // toString() writes English day and month names whatever the locale.
        field = "Date: " + now.toString(QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")).toLatin1()
            + " GMT\r\n";
        writtenForSecond = second;
    }
    return field;
}

} // namespace

QByteArray write(int status, const QByteArray &contentType, qint64 contentLength,
                 Persistence persistence)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n"
        + dateField();
    if (!contentType.isEmpty())
        head += "Content-Type: " + contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(contentLength) + "\r\n";
    if (persistence == Persistence::Close)
        head += "Connection: close\r\n";
    else if (persistence == Persistence::KeepAlive)
        head += "Connection: keep-alive\r\n";
    return head + "\r\n";
}

QByteArray continueLine()
{
    return QByteArrayLiteral("HTTP/1.1 100 Continue\r\n\r\n");
}

} // namespace HttpResponseHead

} // namespace server
