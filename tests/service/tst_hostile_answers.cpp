// Answers a hostile or spoofed server could send: nesting deep enough to exhaust the stack,
// elements with so many attributes that parsing them takes quadratic time, rows shaped to make
// memory grow faster than the answer, answers larger than the client will hold. Each must end
// the call with a readable error, quickly, and leave the client running.
#include "AppErrorText.h"
#include "RawHttpPeer.h"
#include "ServiceTarget.h"
#include "TestEnvironment.h"

#include "service/ResultDocument.h"
#include "service/ServiceSettings.h"
#include "service/SoapTransport.h"
#include "service/WebService.h"

#include <QSettings>
#include <QTest>

namespace {
const QByteArray soapHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>";
const QByteArray soapTail = "</soap:Body></soap:Envelope>";

// Deep enough that reading it recursively overflows any thread's stack.
constexpr int hostileDepth = 100000;

QByteArray faultAnswer(const QByteArray &faultString)
{
    return RawHttpPeer::httpResponse(
        500, "text/xml; charset=utf-8",
        soapHead + "<soap:Fault><faultcode>soap:Server</faultcode><faultstring>" + faultString
            + "</faultstring><detail /></soap:Fault>" + soapTail);
}

QByteArray attributes(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += " a" + QByteArray::number(i) + "=\"\"";
    return out;
}

// A result document travels escaped as the text of the result element.
QByteArray escaped(const QByteArray &xml)
{
    return QByteArray(xml).replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
}

std::shared_ptr<WebServiceSoap> proxyWithAnswerLimit(qint64 bytes)
{
    return NewServiceProxy(false, QString(), std::make_shared<SoapTransport>(5000, bytes));
}

constexpr qint64 megabyte = 1024 * 1024;
} // namespace

class TestHostileAnswers : public QObject
{
    Q_OBJECT

    TestEnvironment environment;

private Q_SLOTS:
    void deeplyNestedFaultTextIsRefused()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         faultAnswer(QByteArray("<b>").repeated(hostileDepth) + "x"
                                     + QByteArray("</b>").repeated(hostileDepth)));
        pointClientAt(peer.baseUrl());
        const QString text = failureText([] { NewServiceProxy()->hqdlsj(QStringLiteral("1")); });
        QVERIFY2(text.startsWith(QStringLiteral("服务器返回了 HTTP 错误 500")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("嵌套超过 64 层")), qPrintable(text));
    }

    // Nesting the service itself would use still reads as before.
    void modestlyNestedFaultTextIsRead()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         faultAnswer("数据库" + QByteArray("<b>").repeated(20) + "忙"
                                     + QByteArray("</b>").repeated(20)));
        pointClientAt(peer.baseUrl());
        QCOMPARE(failureText([] { NewServiceProxy()->hqdlsj(QStringLiteral("1")); }),
                 QStringLiteral("数据库忙"));
    }

    void deeplyNestedEnvelopeIsRefused()
    {
        const QByteArray body = soapHead
            + "<hqdlsjResponse xmlns=\"http://tempuri.org/\"><hqdlsjResult>"
            + QByteArray("<b>").repeated(hostileDepth) + QByteArray("</b>").repeated(hostileDepth)
            + "</hqdlsjResult></hqdlsjResponse>" + soapTail;
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         RawHttpPeer::keepAliveResponse(200, "text/xml", body));
        pointClientAt(peer.baseUrl());
        const QString text = failureText([] { NewServiceProxy()->hqdlsj(QStringLiteral("1")); });
        QVERIFY2(text.contains(QStringLiteral("不是有效的 SOAP 信封（元素嵌套超过 64 层）")),
                 qPrintable(text));
    }

    void deeplyNestedResultColumnIsRefused()
    {
        const QByteArray document = "<NewDataSet><Table><id>1</id><czly>"
            + QByteArray("<b>").repeated(hostileDepth) + "x"
            + QByteArray("</b>").repeated(hostileDepth) + "</czly></Table></NewDataSet>";
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         RawHttpPeer::soapAnswer("hqsametable", escaped(document)));
        pointClientAt(peer.baseUrl());
        const QString answer = NewServiceProxy()->hqsametable(QStringLiteral("select * from gptj"));
        const QString text = failureText([&] { ResultDocument::parse(answer); });
        QVERIFY2(text.contains(QStringLiteral("不是有效的 XML 文档（元素嵌套超过 64 层）")),
                 qPrintable(text));
    }

    // Qt's reader compares every attribute with every other: 20,000 of them would take seconds.
    void elementWithManyAttributesIsRefused()
    {
        const QByteArray body = soapHead
            + "<hqdlsjResponse xmlns=\"http://tempuri.org/\"><hqdlsjResult" + attributes(20000)
            + ">x</hqdlsjResult></hqdlsjResponse>" + soapTail;
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         RawHttpPeer::keepAliveResponse(200, "text/xml", body));
        pointClientAt(peer.baseUrl());
        const QString text = failureText([] { NewServiceProxy()->hqdlsj(QStringLiteral("1")); });
        QVERIFY2(text.contains(QStringLiteral("属性超过 64 个")), qPrintable(text));
    }

    void resultRowWithManyAttributesIsRefused()
    {
        const QByteArray document =
            "<NewDataSet><Table" + attributes(20000) + "><id>1</id></Table></NewDataSet>";
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         RawHttpPeer::soapAnswer("hqsametable", escaped(document)));
        pointClientAt(peer.baseUrl());
        const QString answer = NewServiceProxy()->hqsametable(QStringLiteral("select * from gptj"));
        const QString text = failureText([&] { ResultDocument::parse(answer); });
        QVERIFY2(text.contains(QStringLiteral("属性超过 64 个")), qPrintable(text));
    }

    // Markup inside comments, CDATA and quoted values is no nesting and no attribute.
    void markupLookalikesAreNotCounted()
    {
        const QByteArray lookalikes = "<!--" + QByteArray("<b x=''>").repeated(100) + "-->"
            + "<![CDATA[" + QByteArray("<b y=''>").repeated(100) + "]]>";
        const QByteArray document = "<?xml version=\"1.0\"?><NewDataSet><Table note=\""
            + QByteArray("=>").repeated(100) + "\"><czly>" + lookalikes
            + "</czly></Table></NewDataSet>";
        const ResultDocument parsed = ResultDocument::parse(QString::fromUtf8(document));
        QCOMPARE(parsed.rowCount(), 1);
        QCOMPARE(parsed.value(0, u"czly"), QString::fromUtf8(QByteArray("<b y=''>").repeated(100)));
    }

    // One row naming many columns and many rows naming the last of them: each row costs only
    // what it holds (sized by all columns seen, they would need gigabytes).
    void rowsCostWhatTheyHold()
    {
        constexpr int columns = 30000;
        QByteArray document = "<NewDataSet><Table>";
        for (int i = 0; i < columns; ++i)
            document += "<c" + QByteArray::number(i) + ">" + QByteArray::number(i) + "</c"
                + QByteArray::number(i) + ">";
        document += "</Table>";
        const QByteArray last = "c" + QByteArray::number(columns - 1);
        document += QByteArray("<Table><" + last + ">x</" + last + "></Table>").repeated(columns);
        document += "</NewDataSet>";

        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         RawHttpPeer::soapAnswer("hqsametable", escaped(document)));
        pointClientAt(peer.baseUrl());
        const ResultDocument parsed =
            ResultDocument::parse(NewServiceProxy()->hqsametable(QStringLiteral("x")));
        QCOMPARE(parsed.rowCount(), columns + 1);
        QCOMPARE(parsed.value(0, u"c0"), QStringLiteral("0"));
        QCOMPARE(parsed.value(0, QString::fromLatin1(last)), QString::number(columns - 1));
        QCOMPARE(parsed.value(columns, QString::fromLatin1(last)), QStringLiteral("x"));
        QCOMPARE(parsed.value(columns, u"c0"), QString());
    }

    void repeatedColumnReadsAsItsLastValue()
    {
        const ResultDocument parsed =
            ResultDocument::parse(QStringLiteral("<r><t><a>1</a><a>2</a></t></r>"));
        QCOMPARE(parsed.value(0, u"a"), QStringLiteral("2"));
    }

    // A server announcing more than the limit is cut off at the headers: without the limit this
    // call would wait for the rest until it timed out.
    void announcedOversizeAnswerStopsAtTheHeaders()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         "HTTP/1.1 200 OK\r\nContent-Type: text/xml; "
                         "charset=utf-8\r\nContent-Length: 1000000000\r\n\r\n<soap");
        pointClientAt(peer.baseUrl());
        const QString text =
            failureText([] { proxyWithAnswerLimit(megabyte)->hqdlsj(QStringLiteral("1")); });
        QVERIFY2(text.contains(QStringLiteral("的应答超过了 1 MB 的上限")), qPrintable(text));
    }

    // A body without a length is cut off once it passes the limit, though the server keeps sending.
    void streamedOversizeAnswerStopsAtTheLimit()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         "HTTP/1.1 200 OK\r\nContent-Type: text/xml; charset=utf-8\r\n\r\n"
                             + QByteArray(2 * megabyte, ' '));
        pointClientAt(peer.baseUrl());
        const QString text =
            failureText([] { proxyWithAnswerLimit(megabyte)->hqdlsj(QStringLiteral("1")); });
        QVERIFY2(text.contains(QStringLiteral("的应答超过了 1 MB 的上限")), qPrintable(text));
    }

    void answerOfExactlyTheLimitIsRead()
    {
        const QByteArray small = RawHttpPeer::soapAnswer("hqdlsj", "x");
        const qsizetype overhead = small.size() - (small.indexOf("\r\n\r\n") + 4) - 1;
        const QByteArray answer =
            RawHttpPeer::soapAnswer("hqdlsj", QByteArray(megabyte - overhead, 'x'));
        RawHttpPeer peer(RawHttpPeer::Mode::Answer, answer);
        pointClientAt(peer.baseUrl());
        QCOMPARE(proxyWithAnswerLimit(megabyte)->hqdlsj(QStringLiteral("1")).size(),
                 megabyte - overhead);
        QVERIFY(raisesAppError(
            [] { proxyWithAnswerLimit(megabyte - 1)->hqdlsj(QStringLiteral("1")); }));
    }

    void answerLimitComesFromTheSettingsFile_data()
    {
        QTest::addColumn<QString>("value"); // null: no such line
        QTest::addColumn<qint64>("expected");
        QTest::newRow("absent") << QString() << 64 * megabyte;
        QTest::newRow("2") << QStringLiteral("2") << 2 * megabyte;
        QTest::newRow("zero") << QStringLiteral("0") << 64 * megabyte;
        QTest::newRow("text") << QStringLiteral("many") << 64 * megabyte;
    }

    void answerLimitComesFromTheSettingsFile()
    {
        QFETCH(QString, value);
        QFETCH(qint64, expected);
        {
            // Written through QSettings, whose cache would not notice a rewrite within a second.
            QSettings file(ServiceSettings::settingsFilePath(), QSettings::IniFormat);
            file.clear();
            if (!value.isNull())
                file.setValue(QStringLiteral("server/maxAnswerMegabytes"), value);
            file.sync();
            QCOMPARE(file.status(), QSettings::NoError);
        }
        QCOMPARE(ServiceSettings::load().maxAnswerBytes, expected);
    }

    void proxiesUseTheRegisteredLimit()
    {
        RawHttpPeer peer(RawHttpPeer::Mode::Answer,
                         RawHttpPeer::soapAnswer("hqdlsj", QByteArray(2 * megabyte, 'x')));
        ServiceSettings settings;
        settings.baseAddress = peer.baseUrl();
        settings.callTimeoutMs = 5000;
        settings.maxAnswerBytes = megabyte;
        RegisterWebServiceSoap(settings);
        const QString text = failureText([] { NewServiceProxy()->hqdlsj(QStringLiteral("1")); });
        QVERIFY2(text.contains(QStringLiteral("的应答超过了 1 MB 的上限")), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestHostileAnswers)
#include "tst_hostile_answers.moc"
