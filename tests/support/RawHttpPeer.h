#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>

// A loopback TCP peer that plays a misbehaving or inspecting HTTP server: it records every request
// it receives and answers with a canned response, or never answers at all. For what the reference
// server cannot be made to do (stall, send garbage, count connections).
class RawHttpPeer : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Answer, NeverAnswer };

    explicit RawHttpPeer(Mode mode = Mode::Answer, QByteArray response = {});
    // Answers the requests with these responses in turn; the last one answers all further requests.
    explicit RawHttpPeer(QList<QByteArray> responses);

    quint16 port() const { return m_server.serverPort(); }
    QString baseUrl() const;
    QList<QByteArray> requests() const { return m_requests; } // headers + body, as received
    int connectionCount() const { return m_connections; }

    // An answer after which the peer closes the connection.
    static QByteArray httpResponse(int status, const QByteArray &contentType,
                                   const QByteArray &body);
    // An answer after which the peer keeps the connection open for another request.
    static QByteArray keepAliveResponse(int status, const QByteArray &contentType,
                                        const QByteArray &body);
    // A 200 keep-alive answer of the operation whose result element holds `result` (already
    // escaped).
    static QByteArray soapAnswer(const QByteArray &operation, const QByteArray &result);

private:
    void onNewConnection();

    QTcpServer m_server;
    Mode m_mode;
    QList<QByteArray> m_responses;
    QList<QByteArray> m_requests;
    int m_connections = 0;
};
