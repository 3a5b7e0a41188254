#pragma once

#include "http/HttpReply.h"
#include "http/HttpRequest.h"
#include "http/HttpRequestReader.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QTimer>

#include <functional>

class QTcpSocket;

namespace server {

// Method, path and status of each request; never a query string or a body, which may carry a
// password.
Q_DECLARE_LOGGING_CATEGORY(lcHttp)

class HttpConnection;

// What a connection may do before it is closed.
struct ConnectionLimits
{
    qint64 maxHeadBytes = 64 * 1024;
    qint64 maxBodyBytes = 1024 * 1024;
    // A connection that has not completed a request this long after it opened or after its last
    // answer is closed: idle callers and slow senders do not hold a socket for ever. Waiting for
    // the server's own answer does not count.
    int idleTimeoutMs = 15000;
    // Open connections at most; at the limit one that has waited longest is closed, one that
    // never completed a request before one that did.
    int maxConnections = 256;
};

// Handles one request: answers it through connection.answer(), at once or later (a handler that
// answers later keeps a QPointer to the connection, which may close meanwhile).
using RequestHandler = std::function<void(const HttpRequest &, HttpConnection &)>;

// One HTTP/1.1 connection. Requests are read one at a time and answered in the order they came
// (RFC 9112): the next one is not read before the present one is answered, so a request whose
// answer waits holds back the requests pipelined behind it and nothing else. "Connection:
// close" (and HTTP/1.0 without keep-alive) closes the connection once its answer is sent; HEAD is
// answered without a body. A request too large or framed ambiguously gets its refusal status and
// the connection is closed; so is a connection that stays idle or sends too slowly.
class HttpConnection final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HttpConnection)
public:
    HttpConnection(QTcpSocket *socket, const ConnectionLimits &limits,
                   const RequestHandler &handler, QObject *parent = nullptr);

    // Answers the request being handled; ignored when none is.
    void answer(const HttpReply &reply);

    bool isAwaitingAnswer() const { return m_awaitingAnswer; }
    bool hasCompletedRequest() const { return m_completedRequest; }
    // When the connection began to wait for its present request (a steady clock's reading in
    // ms, comparable between connections and cheap to read).
    qint64 waitingSince() const { return m_waiting.msecsSinceReference(); }

    // Drops the connection at once.
    void close();

private:
    void readInput();
    void handleInput();
    void readFromSocket();
    void handle(HttpRequest &request);
    void refuse(HttpRequestReader::Verdict verdict);
    void startWaiting();

    QTcpSocket *m_socket;
    const ConnectionLimits &m_limits;
    const RequestHandler &m_handler;
    HttpRequestReader m_reader;
    QByteArray m_requestForLog; // method and path of the request being handled
    QByteArray m_input; // received, from m_consumed on not read as requests yet
    qsizetype m_consumed = 0;
    QTimer m_idle;
    QElapsedTimer m_waiting;
    bool m_handlingInput = false;
    bool m_awaitingAnswer = false;
    bool m_answerWithoutBody = false; // HEAD
    bool m_closeAfterAnswer = false;
    bool m_keepAliveSaid = false; // an HTTP/1.0 client asked for keep-alive
    bool m_continueSent = false;
    bool m_completedRequest = false;
    bool m_closing = false;
};

} // namespace server
