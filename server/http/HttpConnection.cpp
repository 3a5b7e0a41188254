#include "http/HttpConnection.h"

#include "http/HttpResponseHead.h"

#include <QTcpSocket>

namespace server {

Q_LOGGING_CATEGORY(lcHttp, "tipdesk.server.http", QtWarningMsg)

namespace {

// Answer bytes the peer has not taken yet, beyond which the next request waits: a client that
// pipelines requests and reads no answers cannot pile them up in the server.
constexpr qint64 MaxUnsentBytes = 1024 * 1024;
// What the socket itself buffers before the server reads it; the rest waits in the kernel.
constexpr qint64 SocketReadBuffer = 64 * 1024;

int refusalStatus(HttpRequestReader::Verdict verdict)
{
    switch (verdict) {
    case HttpRequestReader::Verdict::HeadTooLarge:
        return 431;
    case HttpRequestReader::Verdict::BodyTooLarge:
        return 413;
    case HttpRequestReader::Verdict::LengthRequired:
        return 411;
    case HttpRequestReader::Verdict::VersionNotSupported:
        return 505;
    case HttpRequestReader::Verdict::BadRequest:
    case HttpRequestReader::Verdict::Incomplete:
    case HttpRequestReader::Verdict::Complete:
        break;
    }
    return 400;
}

} // namespace

HttpConnection::HttpConnection(QTcpSocket *socket, const ConnectionLimits &limits,
                               const RequestHandler &handler, QObject *parent)
    : QObject(parent), m_socket(socket), m_limits(limits), m_handler(handler),
      m_reader(limits.maxHeadBytes, limits.maxBodyBytes)
{
    socket->setParent(this);
    socket->setReadBufferSize(SocketReadBuffer);
    m_idle.setSingleShot(true);
    m_idle.setInterval(limits.idleTimeoutMs);
    connect(&m_idle, &QTimer::timeout, this, &HttpConnection::close);
    connect(socket, &QTcpSocket::readyRead, this, &HttpConnection::readInput);
    connect(socket, &QTcpSocket::bytesWritten, this, &HttpConnection::handleInput);
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        m_closing = true; // an answer that comes later has nowhere to go
        deleteLater();
    });
    startWaiting();
    // What arrived while the connection waited to be admitted announces itself no more.
    if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &HttpConnection::readInput, Qt::QueuedConnection);
}

void HttpConnection::close()
{
    m_idle.stop();
    m_closing = true;
    m_socket->abort();
    deleteLater();
}

void HttpConnection::startWaiting()
{
    m_waiting.start();
    m_idle.start();
}

void HttpConnection::readInput()
{
    if (m_closing) {
        m_socket->readAll(); // after a refusal nothing more is read
        return;
    }
    handleInput();
}

void HttpConnection::readFromSocket()
{
    // Never more than one request can need: the rest stays in the socket, and then the kernel.
    const qint64 room =
        m_limits.maxHeadBytes + m_limits.maxBodyBytes - (m_input.size() - m_consumed);
    const qint64 wanted = qMin(room, m_socket->bytesAvailable());
    if (wanted <= 0)
        return;
    const qsizetype before = m_input.size();
    m_input.resize(before + wanted);
    const qint64 got = m_socket->read(m_input.data() + before, wanted);
    m_input.resize(before + qMax<qint64>(got, 0));
}

void HttpConnection::handleInput()
{
    if (m_handlingInput || m_closing)
        return;
    m_handlingInput = true;
    while (!m_awaitingAnswer && !m_closing && m_socket->bytesToWrite() <= MaxUnsentBytes) {
        readFromSocket();
        HttpRequest request;
        qsizetype used = 0;
        const HttpRequestReader::Verdict verdict =
            m_reader.read(QByteArrayView(m_input).sliced(m_consumed), &request, &used);
        if (verdict == HttpRequestReader::Verdict::Incomplete) {
            if (m_reader.awaitsBody() && !m_continueSent) {
                m_socket->write(HttpResponseHead::continueLine());
                m_continueSent = true;
            }
            break;
        }
        if (verdict != HttpRequestReader::Verdict::Complete) {
            refuse(verdict);
            break;
        }
        m_consumed += used;
        m_continueSent = false;
        handle(request);
    }
    // Read requests leave the buffer once per batch, so pipelined ones cost no quadratic copying.
    if (m_consumed == m_input.size()) {
        m_input.clear();
        m_consumed = 0;
    } else if (m_consumed > 0) {
        m_input.remove(0, m_consumed);
        m_consumed = 0;
    }
    m_handlingInput = false;
}

void HttpConnection::handle(HttpRequest &request)
{
    request.peerAddress = m_socket->peerAddress();
    request.localAddress = m_socket->localAddress();
    request.localPort = m_socket->localPort();
    m_awaitingAnswer = true;
    m_answerWithoutBody = request.method == "HEAD";
    m_closeAfterAnswer = request.closesConnection();
    m_keepAliveSaid = request.minorVersion == 0 && !m_closeAfterAnswer;
    if (lcHttp().isDebugEnabled())
        m_requestForLog = request.method + ' ' + request.url().path(QUrl::FullyEncoded).toUtf8();
    m_idle.stop(); // waiting for the server's own answer is not idle
    m_handler(request, *this);
}

void HttpConnection::answer(const HttpReply &reply)
{
    if (!m_awaitingAnswer || m_closing)
        return;
    m_awaitingAnswer = false;
    qCDebug(lcHttp).noquote() << m_requestForLog << reply.status;
    const HttpResponseHead::Persistence persistence = m_closeAfterAnswer
        ? HttpResponseHead::Persistence::Close
        : m_keepAliveSaid ? HttpResponseHead::Persistence::KeepAlive
                          : HttpResponseHead::Persistence::Implied;
    m_socket->write(
        HttpResponseHead::write(reply.status, reply.contentType, reply.body.size(), persistence));
    if (!m_answerWithoutBody)
        m_socket->write(reply.body);
    m_completedRequest = true;
    startWaiting(); // also bounds how long a closing connection may take to send its answer
    if (m_closeAfterAnswer) {
        m_closing = true;
        m_socket->disconnectFromHost(); // once the answer is sent
        return;
    }
    handleInput(); // a request pipelined behind this one may be here already
}

void HttpConnection::refuse(HttpRequestReader::Verdict verdict)
{
    m_closing = true;
    startWaiting(); // bounds how long the refusal may take to be sent
    m_socket->readAll();
    m_socket->write(HttpResponseHead::write(refusalStatus(verdict), {}, 0,
                                            HttpResponseHead::Persistence::Close));
    m_socket->disconnectFromHost();
}

} // namespace server
