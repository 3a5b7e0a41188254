#pragma once

#include <QByteArray>

// What the HTTP layer sends back for one request.
struct HttpReply
{
    int status = 200;
    QByteArray contentType; // empty: no Content-Type header
    QByteArray body;
};
