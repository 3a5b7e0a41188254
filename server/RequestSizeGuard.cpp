#include "RequestSizeGuard.h"

#include <QTcpSocket>

#include <memory>

namespace {

QByteArray refusal(HttpRequestFraming::Verdict verdict)
{
    QByteArray status;
    switch (verdict) {
    case HttpRequestFraming::Verdict::HeadTooLarge:
        status = "431 Request Header Fields Too Large";
        break;
    case HttpRequestFraming::Verdict::BodyTooLarge:
        status = "413 Payload Too Large";
        break;
    case HttpRequestFraming::Verdict::LengthRequired:
        status = "411 Length Required";
        break;
    case HttpRequestFraming::Verdict::BadRequest:
    case HttpRequestFraming::Verdict::Fine:
        status = "400 Bad Request";
        break;
    }
    return "HTTP/1.1 " + status + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
}

} // namespace

HttpRequestFraming::HttpRequestFraming(qint64 maxHeadBytes, qint64 maxBodyBytes)
    : m_maxHead(maxHeadBytes), m_maxBody(maxBodyBytes)
{
}

HttpRequestFraming::Verdict HttpRequestFraming::feed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && m_verdict == Verdict::Fine) {
        if (m_bodyLeft > 0) {
            const qint64 taken = qMin<qint64>(m_bodyLeft, bytes.size());
            m_bodyLeft -= taken;
            bytes = bytes.sliced(taken);
            continue;
        }
        // Blank lines between requests are allowed before a request line.
        if (m_head.isEmpty() && (bytes.front() == '\r' || bytes.front() == '\n')) {
            bytes = bytes.sliced(1);
            continue;
        }
        const qsizetype searchFrom = qMax<qsizetype>(0, m_head.size() - 3);
        const qsizetype taken = qMin<qsizetype>(bytes.size(), m_maxHead + 1 - m_head.size());
        m_head.append(bytes.first(taken));
        const qsizetype end = m_head.indexOf("\r\n\r\n", searchFrom);
        if (end < 0) {
            bytes = bytes.sliced(taken);
            if (m_head.size() > m_maxHead)
                m_verdict = Verdict::HeadTooLarge;
            continue;
        }
        // Give back what was taken past the head: it is body or the next request.
        const qsizetype headEnd = end + 4;
        bytes = bytes.sliced(taken - (m_head.size() - headEnd));
        m_head.truncate(headEnd);
        m_verdict = headComplete();
        m_head.clear();
    }
    return m_verdict;
}

HttpRequestFraming::Verdict HttpRequestFraming::headComplete()
{
    m_bodyLeft = 0;
    const QList<QByteArray> lines = m_head.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "transfer-encoding" && value.toLower().contains("chunked"))
            return Verdict::LengthRequired;
        if (name == "content-length") {
            bool ok = false;
            const qint64 length = value.toLongLong(&ok);
            if (!ok || length < 0)
                return Verdict::BadRequest;
            if (length > m_maxBody)
                return Verdict::BodyTooLarge;
            m_bodyLeft = length;
        }
    }
    return Verdict::Fine;
}

RequestSizeGuard::RequestSizeGuard(qint64 maxHeadBytes, qint64 maxBodyBytes, QObject *parent)
    : QTcpServer(parent), m_maxHead(maxHeadBytes), m_maxBody(maxBodyBytes)
{
}

void RequestSizeGuard::incomingConnection(qintptr handle)
{
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(handle)) {
        delete socket;
        return;
    }
    auto framing = std::make_shared<HttpRequestFraming>(m_maxHead, m_maxBody);
    auto refused = std::make_shared<bool>(false);
    // Connected before the HTTP layer sees the socket, so this runs first on every arrival and
    // sees exactly the bytes the HTTP layer is about to read.
    connect(socket, &QTcpSocket::readyRead, socket, [socket, framing, refused] {
        if (*refused) {
            socket->readAll();
            return;
        }
        const HttpRequestFraming::Verdict verdict =
            framing->feed(socket->peek(socket->bytesAvailable()));
        if (verdict == HttpRequestFraming::Verdict::Fine)
            return;
        *refused = true;
        socket->readAll();
        socket->write(refusal(verdict));
        socket->disconnectFromHost();
    });
    addPendingConnection(socket);
}
