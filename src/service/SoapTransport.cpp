#include "service/SoapTransport.h"

#include "service/AppError.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {
int callsWaiting = 0;
int requestCount = 0;

struct InFlight
{
    InFlight() { ++callsWaiting; }
    ~InFlight() { --callsWaiting; }
};
} // namespace

SoapTransport::SoapTransport(int timeoutMs) : m_timeoutMs(timeoutMs), m_manager(new QNetworkAccessManager)
{
    m_manager->setAutoDeleteReplies(false);
}

SoapTransport::~SoapTransport()
{
    delete m_manager;
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
    QNetworkRequest request(endpoint);
    // ASMX decodes the body by the header's charset; the quotes are what the service expects.
    request.setRawHeader("Content-Type", "text/xml; charset=\"utf-8\"");
    request.setRawHeader("SOAPAction", '"' + soapAction + '"');
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    return waitFor(m_manager->post(request, body), endpoint);
}

SoapTransport::Answer SoapTransport::get(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    return waitFor(m_manager->get(request), url);
}

SoapTransport::Answer SoapTransport::waitFor(QNetworkReply *reply, const QUrl &url)
{
    std::unique_ptr<QNetworkReply> owned(reply);
    InFlight inFlight;
    ++requestCount;

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(m_timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    deadline.stop();

    const QString server = url.host() + (url.port() > 0 ? QLatin1Char(':') + QString::number(url.port()) : QString());
    if (timedOut) {
        throw AppError(QStringLiteral("服务器 %1 在 %2 秒内没有应答，请稍后再试。")
                               .arg(server)
                               .arg(m_timeoutMs / 1000.0));
    }

    Answer answer;
    answer.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    answer.body = reply->readAll();
    if (answer.httpStatus == 0) {
        // No HTTP answer at all: refused, unreachable, TLS failure, dropped connection.
        throw AppError(QStringLiteral("无法连接服务器 %1：%2").arg(server, reply->errorString()));
    }
    return answer;
}
