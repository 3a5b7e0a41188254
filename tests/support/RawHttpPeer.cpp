#include "RawHttpPeer.h"

#include <QTcpSocket>

RawHttpPeer::RawHttpPeer(Mode mode, QByteArray response)
    : m_mode(mode), m_responses {std::move(response)}
{
    connect(&m_server, &QTcpServer::newConnection, this, &RawHttpPeer::onNewConnection);
    m_server.listen(QHostAddress::LocalHost, 0);
}

RawHttpPeer::RawHttpPeer(QList<QByteArray> responses)
    : m_mode(Mode::Answer), m_responses(std::move(responses))
{
    connect(&m_server, &QTcpServer::newConnection, this, &RawHttpPeer::onNewConnection);
    m_server.listen(QHostAddress::LocalHost, 0);
}

QString RawHttpPeer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(port());
}

QByteArray RawHttpPeer::httpResponse(int status, const QByteArray &contentType,
                                     const QByteArray &body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: " + contentType
        + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n"
        + body;
}

QByteArray RawHttpPeer::keepAliveResponse(int status, const QByteArray &contentType,
                                          const QByteArray &body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Type: " + contentType
        + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

QByteArray RawHttpPeer::soapAnswer(const QByteArray &operation, const QByteArray &result)
{
    return keepAliveResponse(200, "text/xml; charset=utf-8",
                             "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                             "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                             "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><"
                                 + operation + "Response xmlns=\"http://tempuri.org/\"><"
                                 + operation + "Result>" + result + "</" + operation + "Result></"
                                 + operation + "Response></soap:Body></soap:Envelope>");
}

void RawHttpPeer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        ++m_connections;
        auto *buffer = new QByteArray;
        connect(socket, &QTcpSocket::disconnected, socket, [socket, buffer] {
            delete buffer;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            const qsizetype headerEnd = buffer->indexOf("\r\n\r\n");
            if (headerEnd < 0)
                return;
            qsizetype length = 0;
            for (const QByteArray &line : buffer->left(headerEnd).split('\n')) {
                if (line.toLower().startsWith("content-length:"))
                    length = line.mid(15).trimmed().toLongLong();
            }
            if (buffer->size() < headerEnd + 4 + length)
                return;
            m_requests.append(*buffer);
            buffer->clear();
            if (m_mode == Mode::Answer) {
                const qsizetype turn =
                    std::min<qsizetype>(m_requests.size(), m_responses.size()) - 1;
                const QByteArray response = m_responses.value(turn);
                socket->write(response);
                if (response.contains("\r\nConnection: close\r\n"))
                    socket->disconnectFromHost();
            }
        });
    }
}
