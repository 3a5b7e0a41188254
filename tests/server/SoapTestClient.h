#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

// What came back for one HTTP request.
struct HttpAnswer
{
    int status = 0;
    QByteArray contentType;
    QByteArray body;
    QString networkError; // empty unless the exchange itself failed
};

using SoapParameters = QList<QPair<QString, QString>>;
using ResultRow = QHash<QString, QString>;

// Talks to a running tipdesk-server the way a SOAP client does, with requests written by hand
// exactly as the wire format shows them, and reads answers without any SOAP library.
class SoapTestClient
{
public:
    explicit SoapTestClient(const QString &baseUrl);

    // The request body for an operation: the envelope of the wire format with the operation
    // element in the service namespace and one child per parameter, values escaped.
    static QByteArray envelope(const QString &operation, const SoapParameters &parameters);

    // POST to qzWebService.asmx with Content-Type text/xml; charset="utf-8" and the operation's
    // SOAPAction, unless headers are given (then exactly those).
    HttpAnswer call(const QString &operation, const SoapParameters &parameters);
    HttpAnswer post(const QByteArray &body, const QList<QPair<QByteArray, QByteArray>> &headers,
                    const QString &path = QStringLiteral("qzWebService.asmx"));
    HttpAnswer get(const QString &pathAndQuery);

    // The operation's result text; records a test failure (and answers a null string) when the
    // call did not answer 200 with a result element.
    QString result(const QString &operation, const SoapParameters &parameters = {});

    // Shortcuts for the operations the tests use most.
    QList<ResultRow> rows(const QString &sql); // hqsametable
    int count(const QString &sql); // hqsfczjl
    QString execute(const QString &sql); // zhixing
    QStringList counters(int userLevel); // ifchangetable, split the client's way

    // Reads <XResponse><XResult>text</XResult> from an envelope; null when there is none.
    static QString resultOf(const QByteArray &envelope, const QString &operation);
    // faultcode and faultstring of a soap:Fault envelope.
    static QPair<QString, QString> faultOf(const QByteArray &envelope);
    // The rows of a result document: each row's child elements by name.
    static QList<ResultRow> parseRows(const QString &document);
    // Splits a counter text exactly as the client does (quoted items, blanks separate).
    static QStringList splitCounterText(const QString &text);

private:
    QString m_base;
};

// Raw bytes over a TCP connection, for requests no HTTP library would send.
namespace RawHttp {

// The head of a POST to the service for the operation, with the given framing header lines
// (each ending in CR LF), up to and including the empty line.
QByteArray serviceHead(const QByteArray &operation, const QByteArray &framing);
// A whole POST of that body, with its Content-Length.
QByteArray serviceRequest(const QByteArray &operation, const QByteArray &body);

// Sends the bytes, waits for the whole answer (or the connection to close); answers all bytes.
QByteArray exchange(quint16 port, const QByteArray &request, int timeoutMs = 5000);
int statusOf(const QByteArray &answer);
QByteArray bodyOf(const QByteArray &answer);

} // namespace RawHttp
