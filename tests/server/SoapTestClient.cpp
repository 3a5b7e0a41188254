#include "SoapTestClient.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

namespace {

const QString ServiceNamespace = QStringLiteral("http://tempuri.org/");

QString escapedText(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    out.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    out.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return out;
}

HttpAnswer waitFor(QNetworkReply *reply)
{
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(15000);
    loop.exec();
    HttpAnswer answer;
    if (!reply->isFinished()) {
        answer.networkError = QStringLiteral("timed out");
        reply->abort();
    }
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    answer.contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    answer.body = reply->readAll();
    if (answer.status == 0)
        answer.networkError = reply->errorString();
    reply->deleteLater();
    return answer;
}

QNetworkAccessManager &network()
{
    static QNetworkAccessManager manager;
    return manager;
}

} // namespace

SoapTestClient::SoapTestClient(const QString &baseUrl) : m_base(baseUrl) { }

QByteArray SoapTestClient::envelope(const QString &operation, const SoapParameters &parameters)
{
    QString inner;
    for (const auto &[name, value] : parameters)
        inner += QStringLiteral("<%1>%2</%1>").arg(name, escapedText(value));
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                          "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                          "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                          "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">\n"
                          "  <soap:Body><%1 xmlns=\"http://tempuri.org/\">%2</%1></soap:Body>\n"
                          "</soap:Envelope>")
        .arg(operation, inner)
        .toUtf8();
}

HttpAnswer SoapTestClient::call(const QString &operation, const SoapParameters &parameters)
{
    return post(envelope(operation, parameters),
                {{"Content-Type", "text/xml; charset=\"utf-8\""},
                 {"SOAPAction", ('"' + ServiceNamespace + operation + '"').toUtf8()}});
}

HttpAnswer SoapTestClient::post(const QByteArray &body,
                                const QList<QPair<QByteArray, QByteArray>> &headers,
                                const QString &path)
{
    QNetworkRequest request(QUrl(m_base + path));
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    return waitFor(network().post(request, body));
}

HttpAnswer SoapTestClient::get(const QString &pathAndQuery)
{
    return waitFor(network().get(QNetworkRequest(QUrl(m_base + pathAndQuery))));
}

QString SoapTestClient::result(const QString &operation, const SoapParameters &parameters)
{
    const HttpAnswer answer = call(operation, parameters);
    if (answer.status != 200) {
        QTest::qFail(qPrintable(QStringLiteral("%1 answered HTTP %2: %3")
                                    .arg(operation)
                                    .arg(answer.status)
                                    .arg(QString::fromUtf8(answer.body.left(600)))),
                     __FILE__, __LINE__);
        return {};
    }
    const QString text = resultOf(answer.body, operation);
    if (text.isNull())
        QTest::qFail(qPrintable(operation + QStringLiteral(" answered no result element")),
                     __FILE__, __LINE__);
    return text;
}

QList<ResultRow> SoapTestClient::rows(const QString &sql)
{
    return parseRows(result(QStringLiteral("hqsametable"), {{QStringLiteral("strsql"), sql}}));
}

int SoapTestClient::count(const QString &sql)
{
    return result(QStringLiteral("hqsfczjl"), {{QStringLiteral("strsql"), sql}}).toInt();
}

QString SoapTestClient::execute(const QString &sql)
{
    return result(QStringLiteral("zhixing"), {{QStringLiteral("sql"), sql}});
}

QStringList SoapTestClient::counters(int userLevel)
{
    return splitCounterText(result(QStringLiteral("ifchangetable"),
                                   {{QStringLiteral("userdj"), QString::number(userLevel)}}));
}

QString SoapTestClient::resultOf(const QByteArray &envelope, const QString &operation)
{
    QXmlStreamReader reader(envelope);
    while (reader.readNextStartElement()) {
        if (reader.name() == QString(operation + QStringLiteral("Result"))
            && reader.namespaceUri() == ServiceNamespace) {
            const QString text = reader.readElementText();
            return text.isNull() ? QStringLiteral("") : text;
        }
        if (reader.name() != u"Envelope" && reader.name() != u"Body"
            && reader.name() != QString(operation + QStringLiteral("Response")))
            reader.skipCurrentElement();
    }
    return {};
}

QPair<QString, QString> SoapTestClient::faultOf(const QByteArray &envelope)
{
    QXmlStreamReader reader(envelope);
    QPair<QString, QString> fault;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"faultcode")
            fault.first = reader.readElementText();
        else if (reader.name() == u"faultstring")
            fault.second = reader.readElementText();
    }
    return fault;
}

QList<ResultRow> SoapTestClient::parseRows(const QString &document)
{
    QList<ResultRow> rows;
    QXmlStreamReader reader(document);
    if (!reader.readNextStartElement())
        return rows;
    while (reader.readNextStartElement()) {
        ResultRow row;
        while (reader.readNextStartElement()) {
            const QString name = reader.name().toString();
            row.insert(name, reader.readElementText());
        }
        rows.append(row);
    }
    if (reader.hasError())
        QTest::qFail(
            qPrintable(QStringLiteral("result document does not parse: ") + reader.errorString()),
            __FILE__, __LINE__);
    return rows;
}

QStringList SoapTestClient::splitCounterText(const QString &text)
{
    // The client's rule: skip codes 1..32 before an item; a quoted item runs to its closing
    // quote with doubled quotes standing for one; any other item ends at a comma or a code
    // 1..32; after an item skip codes 1..32, then one comma and the blanks after it; a comma
    // at the very end adds one empty item.
    const auto isBlank = [](QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; };
    QStringList items;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text.at(i)))
        ++i;
    while (i < n) {
        QString item;
        if (text.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text.at(i++);
            }
        } else {
            while (i < n && text.at(i) != QLatin1Char(',') && !isBlank(text.at(i)))
                item += text.at(i++);
        }
        items.append(item);
        while (i < n && isBlank(text.at(i)))
            ++i;
        if (i < n && text.at(i) == QLatin1Char(',')) {
            ++i;
            while (i < n && isBlank(text.at(i)))
                ++i;
            if (i == n)
                items.append(QString());
        }
    }
    return items;
}

namespace RawHttp {

QByteArray serviceHead(const QByteArray &operation, const QByteArray &framing)
{
    return "POST /qzWebService.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n"
           "Content-Type: text/xml; charset=\"utf-8\"\r\n"
           "SOAPAction: \"http://tempuri.org/"
        + operation + "\"\r\n" + framing + "\r\n";
}

QByteArray serviceRequest(const QByteArray &operation, const QByteArray &body)
{
    return serviceHead(operation, "Content-Length: " + QByteArray::number(body.size()) + "\r\n")
        + body;
}

QByteArray exchange(quint16 port, const QByteArray &request, int timeoutMs)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(timeoutMs))
        return {};
    socket.write(request);
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        if (socket.waitForReadyRead(100))
            answer += socket.readAll();
        if (socket.state() != QAbstractSocket::ConnectedState) {
            answer += socket.readAll();
            break;
        }
        // A complete answer with Content-Length: stop once the body is in.
        const qsizetype headEnd = answer.indexOf("\r\n\r\n");
        if (headEnd < 0)
            continue;
        const QByteArray head = answer.left(headEnd).toLower();
        const qsizetype at = head.indexOf("content-length:");
        if (at < 0)
            continue;
        const qsizetype lineEnd = head.indexOf("\r\n", at);
        const qint64 length =
            head.mid(at + 15, lineEnd < 0 ? -1 : lineEnd - at - 15).trimmed().toLongLong();
        if (answer.size() - headEnd - 4 >= length)
            break;
    }
    return answer;
}

int statusOf(const QByteArray &answer)
{
    const QList<QByteArray> statusLine = answer.left(answer.indexOf("\r\n")).split(' ');
    return statusLine.value(1).toInt();
}

QByteArray bodyOf(const QByteArray &answer)
{
    const qsizetype headEnd = answer.indexOf("\r\n\r\n");
    return headEnd < 0 ? QByteArray() : answer.mid(headEnd + 4);
}

} // namespace RawHttp
