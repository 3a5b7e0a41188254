#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QTcpServer>

// Follows the requests arriving on one connection (head, then Content-Length bytes of body)
// so that one too large to accept is refused before the HTTP layer buffers it whole.
class HttpRequestFraming
{
public:
    enum class Verdict {
        Fine,
        HeadTooLarge, // 431
        BodyTooLarge, // 413
        LengthRequired, // 411: a chunked body, which an ASMX server never answers
        BadRequest, // 400: a Content-Length that is no number
    };

    HttpRequestFraming(qint64 maxHeadBytes, qint64 maxBodyBytes);
    // Takes the next bytes of the connection; once it answers other than Fine it stays so.
    Verdict feed(QByteArrayView bytes);

private:
    Verdict headComplete();

    qint64 m_maxHead;
    qint64 m_maxBody;
    QByteArray m_head;
    qint64 m_bodyLeft = 0;
    Verdict m_verdict = Verdict::Fine;
};

// The listening socket of the HTTP layer. Every connection it accepts is watched by an
// HttpRequestFraming; a refused request gets its status line and the connection is closed.
class RequestSizeGuard : public QTcpServer
{
    Q_OBJECT
public:
    RequestSizeGuard(qint64 maxHeadBytes, qint64 maxBodyBytes, QObject *parent = nullptr);

protected:
    void incomingConnection(qintptr handle) override;

private:
    qint64 m_maxHead;
    qint64 m_maxBody;
};
