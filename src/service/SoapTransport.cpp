#include "service/SoapTransport.h"

#include "service/AppError.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace {
int callsWaiting = 0;
int requestCount = 0;

struct InFlight
{
    InFlight() { ++callsWaiting; }
    ~InFlight() { --callsWaiting; }
};

// Keeps no cookie: nothing a server sets can reach a later request.
class NoCookies : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
    QList<QNetworkCookie> cookiesForUrl(const QUrl &) const override { return {}; }
};

// Qt's HTTP engine starts a worker thread per access manager, which would cost milliseconds per
// call; the engine is therefore shared, and isolation comes from each request ("Connection: close",
// no cookies, no cache) and from dropping every connection once its call is over.
QNetworkAccessManager &httpEngine()
{
    static QNetworkAccessManager *engine = [] {
        auto *manager = new QNetworkAccessManager;
        manager->setCookieJar(new NoCookies(manager));
        manager->setAutoDeleteReplies(false);
        manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        return manager;
    }();
    return *engine;
}

QNetworkRequest isolatedRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setRawHeader("Connection", "close");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    return request;
}
} // namespace

SoapTransport::SoapTransport(int timeoutMs, qint64 maxAnswerBytes)
    : m_timeoutMs(timeoutMs), m_maxAnswerBytes(maxAnswerBytes)
{
}

bool SoapTransport::callInFlight()
{
    return callsWaiting > 0;
}

int SoapTransport::requestsSent()
{
    return requestCount;
}

SoapTransport::Answer SoapTransport::post(const QUrl &endpoint, const QByteArray &soapAction,
                                          const QByteArray &body)
{
    QNetworkRequest request = isolatedRequest(endpoint);
    // ASMX decodes the body by the header's charset; the quotes are what the service expects.
    request.setRawHeader("Content-Type", "text/xml; charset=\"utf-8\"");
    request.setRawHeader("SOAPAction", '"' + soapAction + '"');
    return waitFor(httpEngine().post(request, body), endpoint);
}

SoapTransport::Answer SoapTransport::get(const QUrl &url)
{
    return waitFor(httpEngine().get(isolatedRequest(url)), url);
}

SoapTransport::Answer SoapTransport::waitFor(QNetworkReply *reply, const QUrl &url)
{
    std::unique_ptr<QNetworkReply> owned(reply);
    InFlight inFlight;
    ++requestCount;

    // The network thread hands over at most this much before the body below has taken it.
    reply->setReadBufferSize(std::min<qint64>(m_maxAnswerBytes + 1, 1024 * 1024));

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    // The body is taken as it arrives, and the download stops once the answer, announced or
    // received, is larger than allowed.
    Answer answer;
    bool tooLarge = false;
    auto stopWhenTooLarge = [&](qint64 size) {
        if (size > m_maxAnswerBytes && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        stopWhenTooLarge(reply->header(QNetworkRequest::ContentLengthHeader).toLongLong());
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        answer.body += reply->readAll();
        stopWhenTooLarge(answer.body.size());
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(m_timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();
    // Whatever the server said about keep-alive, the connection ends with the call.
    httpEngine().clearConnectionCache();
    if (!tooLarge) {
        answer.body += reply->readAll();
        stopWhenTooLarge(answer.body.size());
    }

    const QString server =
        url.host() + (url.port() > 0 ? QLatin1Char(':') + QString::number(url.port()) : QString());
    if (timedOut) {
        throw AppError(QStringLiteral("服务器 %1 在 %2 秒内没有应答，请稍后再试。")
                           .arg(server)
                           .arg(m_timeoutMs / 1000.0));
    }
    if (tooLarge) {
        throw AppError(QStringLiteral("服务器 %1 的应答超过了 %2 MB 的上限，已停止接收。")
                           .arg(server)
                           .arg(double(m_maxAnswerBytes) / (1024 * 1024)));
    }

    answer.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    if (answer.httpStatus == 0) {
        // No HTTP answer at all: refused, unreachable, TLS failure, dropped connection.
        throw AppError(QStringLiteral("无法连接服务器 %1：%2").arg(server, reply->errorString()));
    }
    return answer;
}
