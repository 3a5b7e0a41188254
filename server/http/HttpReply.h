#pragma once

#include <QByteArray>

namespace server {

// What the HTTP layer sends back for one request.
struct HttpReply
{
    int status = 200;
    QByteArray contentType; // empty: no Content-Type header
    QByteArray body;
};

} // namespace server
