#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QUrl>

namespace server {

// One HTTP/1.x request as read from a connection.
struct HttpRequest
{
    QByteArray method; // as sent; methods are case-sensitive ("GET", "POST", "HEAD", ...)
    QByteArray target; // the request target as sent, e.g. "/qzWebService.asmx?wsdl"
    int minorVersion = 1; // HTTP/1.0 or HTTP/1.1
    QList<QPair<QByteArray, QByteArray>> headers; // names as sent, values without outer blanks
    QByteArray body;
    QHostAddress peerAddress;
    QHostAddress localAddress;
    quint16 localPort = 0;

    // The first header of that name (names compare without regard to case); *present tells an
    // empty value from a missing header.
    QByteArray header(QByteArrayView name, bool *present = nullptr) const;
    // Whether a comma-separated header (e.g. Connection) lists the token, in any letter case.
    bool headerHasToken(QByteArrayView name, QByteArrayView token) const;

    QUrl url() const { return QUrl::fromEncoded(target); }
    // HEAD is answered as GET, without the body.
    bool isGetOrHead() const { return method == "GET" || method == "HEAD"; }
    bool isPost() const { return method == "POST"; }
    // Whether the connection ends after this request's answer (RFC 9112, 9.3): "Connection:
    // close", or HTTP/1.0 without "Connection: keep-alive".
    bool closesConnection() const;
};

} // namespace server
