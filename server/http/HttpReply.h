#pragma once

#include <QByteArray>

namespace server {

// What the HTTP layer sends back for one request.
struct HttpReply
{
    int status = 200;
    QByteArray contentType; // empty: no Content-Type header
    QByteArray body;

    // The answer to a request whose handling failed unexpectedly.
    static HttpReply serverError()
    {
        return {500, QByteArrayLiteral("text/plain; charset=utf-8"),
                QByteArrayLiteral("Server error\n")};
    }
};

} // namespace server
