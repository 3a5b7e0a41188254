#pragma once

#include "service/ServiceSettings.h"

#include <QByteArray>
#include <QUrl>

// The HTTP transport of SOAP requests. Every request opens its own connection and closes it after
// the answer, sends no cookie and keeps none, and bypasses any cache, so no call shares a
// connection or state with the next. post() blocks its caller until the answer arrived, failed or
// ran out of time; meanwhile the event loop keeps windows painted and timers running but delivers
// no user input.
class SoapTransport
{
public:
    struct Answer
    {
        int httpStatus = 0;
        QByteArray contentType;
        QByteArray body;
    };

    // An answer larger than maxAnswerBytes (announced or received) aborts the download.
    explicit SoapTransport(int timeoutMs,
                           qint64 maxAnswerBytes = ServiceSettings::defaultMaxAnswerBytes);
    SoapTransport(const SoapTransport &) = delete;
    SoapTransport &operator=(const SoapTransport &) = delete;

    // Raises AppError for no route, a time-out, an answer over the size limit or a connection
    // dropped without an answer. An HTTP
    // error status is no transport failure: the answer comes back for the caller to read (a SOAP
    // fault travels with status 500).
    Answer post(const QUrl &endpoint, const QByteArray &soapAction, const QByteArray &body);

    // A plain GET (service description, the public-IP page).
    Answer get(const QUrl &url);

    // True while any transport waits for an answer. Timer handlers test it and skip their tick,
    // so that no second call starts from inside the wait.
    static bool callInFlight();
    // How many requests this process has sent; start-up checks rely on it.
    static int requestsSent();

private:
    Answer waitFor(class QNetworkReply *reply, const QUrl &url);

    int m_timeoutMs;
    qint64 m_maxAnswerBytes;
};
