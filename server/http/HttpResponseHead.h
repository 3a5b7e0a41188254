#pragma once

#include <QByteArray>

namespace server {

// The head of an HTTP/1.1 answer: status line, Date, Content-Type, Content-Length and, when
// the connection's persistence needs saying, Connection; then the empty line.
namespace HttpResponseHead {

enum class Persistence {
    Implied, // HTTP/1.1 keeps the connection: nothing to say
    KeepAlive, // an HTTP/1.0 client asked to keep it
    Close, // the connection ends after this answer
};

QByteArray write(int status, const QByteArray &contentType, qint64 contentLength,
                 Persistence persistence);

// "100 Continue", for a client that waits for it before it sends a body.
QByteArray continueLine();

} // namespace HttpResponseHead

} // namespace server
