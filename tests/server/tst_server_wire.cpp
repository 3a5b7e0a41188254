// The reference server on the wire, started as a real process on the demo database: every
// operation of WebServiceSoap with hand-written requests, the exact envelope and result
// document shapes, the pages, and what bad input gets.
#include "SoapTestClient.h"
#include "TestServer.h"
#include "service/Statements.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTcpSocket>
#include <QTest>
#include <QXmlStreamReader>

namespace {

using Headers = QList<QPair<QByteArray, QByteArray>>;

const Headers Utf8Headers(const QByteArray &operation)
{
    return {{"Content-Type", "text/xml; charset=\"utf-8\""},
            {"SOAPAction", "\"http://tempuri.org/" + operation + "\""}};
}

// Reads one whole answer (head and Content-Length bytes of body) from the socket, within 5 s.
QByteArray readAnswer(QTcpSocket &socket, QByteArray &pending)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        const qsizetype headEnd = pending.indexOf("\r\n\r\n");
        if (headEnd >= 0) {
            const QRegularExpressionMatch length =
                QRegularExpression(QStringLiteral("Content-Length: (\\d+)"))
                    .match(QString::fromLatin1(pending.left(headEnd)));
            const qsizetype end = headEnd + 4 + length.captured(1).toLongLong();
            if (length.hasMatch() && pending.size() >= end) {
                const QByteArray answer = pending.left(end);
                pending.remove(0, end);
                return answer;
            }
        }
        if (socket.waitForReadyRead(100))
            pending += socket.readAll();
        else if (socket.state() != QAbstractSocket::ConnectedState)
            break;
    }
    return {};
}

bool closedByPeer(QTcpSocket &socket)
{
    socket.waitForReadyRead(0); // notices an end of stream
    socket.readAll();
    return socket.state() != QAbstractSocket::ConnectedState;
}

QString localOffset(const QDateTime &time)
{
    const int minutes = time.offsetFromUtc() / 60;
    return QStringLiteral("%1%2:%3")
        .arg(minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(qAbs(minutes) / 60, 2, 10, QLatin1Char('0'))
        .arg(qAbs(minutes) % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

class TestServerWire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void yanzheng_data();
    void yanzheng();
    void hqdlyhxxAnswersTheAccountRow();
    void hqSysPzAndToolbar();
    void hqsfczjlCounts_data();
    void hqsfczjlCounts();
    void loginRecordRoundTrip();
    void ifchangetableHasFourteenItems();
    void arithmeticOperations_data();
    void arithmeticOperations();

    void envelopeBytesAreAsmxBytes();
    void resultDocumentShape();
    void charsetDecidesDecoding_data();
    void charsetDecidesDecoding();
    void unqualifiedParametersAreDropped();
    void soapActionWinsOverBodyElement();

    void badInputIsRefused_data();
    void badInputIsRefused();
    void rawRefusals_data();
    void rawRefusals();
    void bodyJustUnderTheLimitInPiecesIsAnswered();

    void connectionPersistence_data();
    void connectionPersistence();
    void headIsAnsweredWithoutBody();
    void storedValuesAreBounded_data();
    void storedValuesAreBounded();
    void wsdlDescribesTheService();
    void ipPage();
    void bulletinPages_data();
    void bulletinPages();
    void demoPages();
    void stalledClientBlocksNobody();

private:
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<SoapTestClient> m_client;
};

void TestServerWire::initTestCase()
{
    m_server = std::make_unique<TestServer>();
    QVERIFY2(m_server->isRunning(), qPrintable(m_server->errorText()));
    m_client = std::make_unique<SoapTestClient>(m_server->baseUrl());
}

void TestServerWire::cleanupTestCase()
{
    m_client.reset();
    m_server.reset();
}

void TestServerWire::yanzheng_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("expected");
    QTest::newRow("VIP") << QStringLiteral("demo") << QStringLiteral("demo123")
                         << QStringLiteral("True");
    QTest::newRow("Chinese name") << QStringLiteral("张三") << QStringLiteral("zhang123")
                                  << QStringLiteral("True");
    QTest::newRow("quote in password")
        << QStringLiteral("quote") << QStringLiteral("it's") << QStringLiteral("True");
    QTest::newRow("wrong password")
        << QStringLiteral("demo") << QStringLiteral("demo124") << QStringLiteral("False");
    QTest::newRow("password case")
        << QStringLiteral("demo") << QStringLiteral("DEMO123") << QStringLiteral("False");
    QTest::newRow("name case") << QStringLiteral("Demo") << QStringLiteral("demo123")
                               << QStringLiteral("False");
    QTest::newRow("unknown name") << QStringLiteral("nobody") << QStringLiteral("x")
                                  << QStringLiteral("False");
    QTest::newRow("injection") << QStringLiteral("demo' or '1'='1") << QStringLiteral("' or '1'='1")
                               << QStringLiteral("False");
    QTest::newRow("blank password")
        << QStringLiteral("demo") << QString() << QStringLiteral("False");
}

void TestServerWire::yanzheng()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, expected);
    QCOMPARE(m_client->result(
                 QStringLiteral("yanzheng"),
                 {{QStringLiteral("username"), name}, {QStringLiteral("userpass"), password}}),
             expected);
}

void TestServerWire::hqdlyhxxAnswersTheAccountRow()
{
    const QList<ResultRow> rows = SoapTestClient::parseRows(
        m_client->result(QStringLiteral("hqdlyhxx"),
                         {{QStringLiteral("username"), QStringLiteral("张三")},
                          {QStringLiteral("userpass"), QStringLiteral("zhang123")}}));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().value(QStringLiteral("username")), QStringLiteral("张三"));
    QCOMPARE(rows.first().value(QStringLiteral("userpas")), QStringLiteral("zhang123"));
    QCOMPARE(rows.first().value(QStringLiteral("UserDJ")), QStringLiteral("1"));
    QVERIFY(rows.first().value(QStringLiteral("id")).toInt() > 0);

    QCOMPARE(m_client->result(QStringLiteral("hqdlyhxx"),
                              {{QStringLiteral("username"), QStringLiteral("张三")},
                               {QStringLiteral("userpass"), QStringLiteral("wrong")}}),
             QStringLiteral("<NewDataSet />"));
}

void TestServerWire::hqSysPzAndToolbar()
{
    const QList<ResultRow> config =
        SoapTestClient::parseRows(m_client->result(QStringLiteral("hqSys_pz")));
    QCOMPARE(config.size(), 1);
    QVERIFY(
        config.first().value(QStringLiteral("gpsysname")).contains(QStringLiteral("股票预警系统")));
    QCOMPARE(config.first().value(QStringLiteral("khdsxsj")), QStringLiteral("5"));
    QCOMPARE(config.first().value(QStringLiteral("yhqyhyfj")).toLower(), QStringLiteral("true"));
    for (const char *column : {"syszjxx", "kfqq", "ifctzqd", "hqurl", "sytsxx"})
        QVERIFY2(config.first().contains(QLatin1String(column)), column);

    const QList<ResultRow> toolbar = m_client->rows(QStringLiteral("select * from Sys_url"));
    QCOMPARE(toolbar.size(), 1);
    const QStringList captions {
        QStringLiteral("预警管理"), QStringLiteral("私募内参"), QStringLiteral("私募绝密"),
        QStringLiteral("实时行情"), QStringLiteral("新闻资讯"), QStringLiteral("价值评估"),
        QStringLiteral("个股档案"), QStringLiteral("大盘资金"), QStringLiteral("研究报告"),
        QStringLiteral("综合报告"), QStringLiteral("系统设置")};
    for (int entry = 1; entry <= 11; ++entry) {
        QCOMPARE(toolbar.first().value(QStringLiteral("an%1mc").arg(entry)),
                 captions.at(entry - 1));
        QCOMPARE(toolbar.first().value(QStringLiteral("an%1xs").arg(entry)), QStringLiteral("0"));
        if (entry >= 4 && entry <= 10)
            QVERIFY(toolbar.first()
                        .value(QStringLiteral("an%1url").arg(entry))
                        .startsWith(m_server->baseUrl()));
    }
}

void TestServerWire::hqsfczjlCounts_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("expected");
    QTest::newRow("account exists")
        << QStringLiteral("select * from UserTable where (StrComp(username,'张三',0)=0) ") << 1;
    QTest::newRow("account, other case")
        << QStringLiteral("select * from UserTable where (StrComp(username,'DEMO',0)=0) ") << 0;
    QTest::newRow("account, prefix only")
        << QStringLiteral("select * from UserTable where (StrComp(username,'张',0)=0) ") << 0;
    QTest::newRow("injection as one literal") << QStringLiteral(
        "select * from UserTable where (StrComp(username,'x'') or (''1''=''1',0)=0) ")
                                              << 0;
    QTest::newRow("no application")
        << QStringLiteral("select * from NewUser where (StrComp(usetrname,'demo',0)=0) ") << 0;
    QTest::newRow("toolbar rows") << QStringLiteral("select * from Sys_url") << 1;
}

void TestServerWire::hqsfczjlCounts()
{
    QFETCH(QString, sql);
    QFETCH(int, expected);
    const HttpAnswer answer =
        m_client->call(QStringLiteral("hqsfczjl"), {{QStringLiteral("strsql"), sql}});
    QCOMPARE(answer.status, 200);
    QCOMPARE(SoapTestClient::resultOf(answer.body, QStringLiteral("hqsfczjl")),
             QString::number(expected));
}

void TestServerWire::loginRecordRoundTrip()
{
    const QString id =
        SoapTestClient::parseRows(
            m_client->result(QStringLiteral("hqdlyhxx"),
                             {{QStringLiteral("username"), QStringLiteral("member")},
                              {QStringLiteral("userpass"), QStringLiteral("member123")}}))
            .value(0)
            .value(QStringLiteral("id"));
    QVERIFY(!id.isEmpty());
    const QString countSql = QStringLiteral(" select * from userdl where userid=") + id;
    const auto stamp = [&] {
        return m_client->result(QStringLiteral("hqdlsj"), {{QStringLiteral("userid"), id}});
    };

    QCOMPARE(m_client->count(countSql), 0);
    QCOMPARE(stamp(), QString());
    QCOMPARE(
        m_client->execute(
            QStringLiteral("Insert into userdl(userid,userzh,userpas,userdlsj,userdlip) values(")
            + id + QStringLiteral(",'member','member123',now(),'127.0.0.1' )")),
        QStringLiteral("true"));
    QCOMPARE(m_client->count(countSql), 1);
    const QString first = stamp();
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}$)"))
                 .match(first)
                 .hasMatch(),
             qPrintable(first));

    // A second insert for the same user is refused by the database, not by the firewall.
    QCOMPARE(
        m_client->execute(
            QStringLiteral("Insert into userdl(userid,userzh,userpas,userdlsj,userdlip) values(")
            + id + QStringLiteral(",'member','member123',now(),'127.0.0.1' )")),
        QStringLiteral("false"));

    // Another login at once (same second, even same millisecond) still changes the stamp.
    QCOMPARE(
        m_client->execute(
            QStringLiteral("update userdl set userzh='member',userpas='member123',userdlsj=now(), "
                           "userdlip='0.0.0.0' where userid=")
            + id),
        QStringLiteral("true"));
    const QString second = stamp();
    QVERIFY(second > first);

    m_server->command(QStringLiteral("kick"), {id});
    QVERIFY2(m_server->lastCommandOk(), qPrintable(m_server->lastCommandError()));
    QVERIFY(stamp() > second);

    QCOMPARE(m_client->execute(QStringLiteral("delete from userdl where userid=") + id),
             QStringLiteral("true"));
    QCOMPARE(m_client->count(countSql), 0);
    const HttpAnswer empty =
        m_client->call(QStringLiteral("hqdlsj"), {{QStringLiteral("userid"), id}});
    QVERIFY(empty.body.contains("<hqdlsjResult />"));
}

void TestServerWire::ifchangetableHasFourteenItems()
{
    for (int level = 0; level < 3; ++level) {
        const QStringList items = m_client->counters(level);
        QCOMPARE(items.size(), 14);
        QVERIFY(QDate::fromString(items.at(4), QStringLiteral("yyyy-MM-dd")).isValid());
        QVERIFY(QTime::fromString(items.at(5), QStringLiteral("hh:mm:ss")).isValid());
        QVERIFY(!items.at(6).isEmpty());
    }
}

void TestServerWire::arithmeticOperations_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("i");
    QTest::addColumn<QString>("j");
    QTest::addColumn<double>("expected");
    QTest::newRow("addition") << QStringLiteral("addition") << QStringLiteral("1.5")
                              << QStringLiteral("2.25") << 3.75;
    QTest::newRow("jian") << QStringLiteral("jian") << QStringLiteral("1") << QStringLiteral("3")
                          << -2.0;
    QTest::newRow("large") << QStringLiteral("addition") << QStringLiteral("1E+20")
                           << QStringLiteral("0") << 1e20;
}

void TestServerWire::arithmeticOperations()
{
    QFETCH(QString, operation);
    QFETCH(QString, i);
    QFETCH(QString, j);
    QFETCH(double, expected);
    const QString text =
        m_client->result(operation, {{QStringLiteral("i"), i}, {QStringLiteral("j"), j}});
    bool ok = false;
    QCOMPARE(text.toDouble(&ok), expected);
    QVERIFY(ok);
}

void TestServerWire::envelopeBytesAreAsmxBytes()
{
    const HttpAnswer answer =
        m_client->call(QStringLiteral("yanzheng"),
                       {{QStringLiteral("username"), QStringLiteral("demo")},
                        {QStringLiteral("userpass"), QStringLiteral("demo123")}});
    QCOMPARE(answer.status, 200);
    QCOMPARE(answer.contentType, QByteArray("text/xml; charset=utf-8"));
    QCOMPARE(
        answer.body,
        QByteArray(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><yanzhengResponse "
            "xmlns=\"http://tempuri.org/\"><yanzhengResult>True</yanzhengResult></yanzhengResponse>"
            "</soap:Body></soap:Envelope>"));

    const HttpAnswer fault = m_client->call(
        QStringLiteral("hqsametable"), {{QStringLiteral("strsql"), QStringLiteral("select 1")}});
    QCOMPARE(fault.status, 500);
    QCOMPARE(
        fault.body,
        QByteArray(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><soap:Fault>"
            "<faultcode>soap:Server</faultcode><faultstring>Server was unable to process request. "
            "---&gt; Statement is not allowed.</faultstring><detail /></soap:Fault></soap:Body>"
            "</soap:Envelope>"));
}

void TestServerWire::resultDocumentShape()
{
    const HttpAnswer answer =
        m_client->call(QStringLiteral("hqdlyhxx"),
                       {{QStringLiteral("username"), QStringLiteral("张三")},
                        {QStringLiteral("userpass"), QStringLiteral("zhang123")}});
    const QString document = SoapTestClient::resultOf(answer.body, QStringLiteral("hqdlyhxx"));
    // CR LF travels inside the escaped text (an XML parser turns it into LF).
    QVERIFY(answer.body.contains("&lt;NewDataSet&gt;\r\n  &lt;Table&gt;\r\n    &lt;id&gt;"));
    QVERIFY(document.startsWith(QStringLiteral("<NewDataSet>\n  <Table>\n    <id>")));
    QVERIFY(document.contains(
        QStringLiteral("\n    <username>张三</username>\n    <userpas>zhang123</userpas>\n"
                       "    <UserDJ>1</UserDJ>\n  </Table>\n</NewDataSet>")));

    const HttpAnswer empty = m_client->call(QStringLiteral("hqdlyhxx"),
                                            {{QStringLiteral("username"), QStringLiteral("x")},
                                             {QStringLiteral("userpass"), QStringLiteral("y")}});
    QVERIFY(empty.body.contains("<hqdlyhxxResult>&lt;NewDataSet /&gt;</hqdlyhxxResult>"));

    // Date-times carry the server's zone offset; every column of the alert rows is there.
    const QList<ResultRow> alerts =
        m_client->rows(QStringLiteral("select top 30 * from Tuijiangupiao order by id desc "));
    QVERIFY(!alerts.isEmpty());
    const QString nowtime = alerts.first().value(QStringLiteral("nowtime"));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral(R"(^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)([+-]\d\d:\d\d)$)"))
            .match(nowtime);
    QVERIFY2(m.hasMatch(), qPrintable(nowtime));
    const QDateTime local = QDateTime::fromString(m.captured(1), Qt::ISODate);
    QCOMPARE(m.captured(2), localOffset(local));
    for (const char *column : {"id", "XinXiDJ", "nowtime", "gupiaodaima", "jg", "czfs", "czly"})
        QVERIFY2(alerts.first().contains(QLatin1String(column)), column);
}

void TestServerWire::charsetDecidesDecoding_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<QString>("expected");
    QTest::newRow("utf-8 quoted") << QByteArray("text/xml; charset=\"utf-8\"")
                                  << QByteArray("UTF-8") << QStringLiteral("True");
    QTest::newRow("utf-8 bare") << QByteArray("text/xml; charset=utf-8") << QByteArray("UTF-8")
                                << QStringLiteral("True");
    QTest::newRow("gbk") << QByteArray("text/xml; charset=gbk") << QByteArray("GBK")
                         << QStringLiteral("True");
    QTest::newRow("no charset: Chinese arrives as ?")
        << QByteArray("text/xml") << QByteArray("UTF-8") << QStringLiteral("False");
}

void TestServerWire::charsetDecidesDecoding()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, codec);
    QFETCH(QString, expected);
    const QString text = QString::fromUtf8(
        SoapTestClient::envelope(QStringLiteral("yanzheng"),
                                 {{QStringLiteral("username"), QStringLiteral("张三")},
                                  {QStringLiteral("userpass"), QStringLiteral("zhang123")}}));
    QStringEncoder encoder(codec.constData());
    const QByteArray body = encoder.encode(text);
    const HttpAnswer answer = m_client->post(
        body, {{"Content-Type", contentType}, {"SOAPAction", "\"http://tempuri.org/yanzheng\""}});
    QCOMPARE(answer.status, 200);
    QCOMPARE(SoapTestClient::resultOf(answer.body, QStringLiteral("yanzheng")), expected);
}

void TestServerWire::unqualifiedParametersAreDropped()
{
    const QByteArray body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
        "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
        "<soap:Body><tns:yanzheng "
        "xmlns:tns=\"http://tempuri.org/\"><username>demo</username><userpass>demo123</userpass>"
        "</tns:yanzheng></soap:Body></soap:Envelope>";
    const HttpAnswer answer = m_client->post(body, Utf8Headers("yanzheng"));
    QCOMPARE(answer.status, 200);
    QCOMPARE(SoapTestClient::resultOf(answer.body, QStringLiteral("yanzheng")),
             QStringLiteral("False"));

    // A missing integer arrives as 0: the counters of level 0.
    const HttpAnswer counters = m_client->call(QStringLiteral("ifchangetable"), {});
    QCOMPARE(counters.status, 200);
    QCOMPARE(SoapTestClient::resultOf(counters.body, QStringLiteral("ifchangetable")),
             m_client->result(QStringLiteral("ifchangetable"),
                              {{QStringLiteral("userdj"), QStringLiteral("0")}}));
}

void TestServerWire::soapActionWinsOverBodyElement()
{
    const HttpAnswer answer = m_client->post(
        SoapTestClient::envelope(QStringLiteral("hqSys_pz"), {}), Utf8Headers("ifchangetable"));
    QCOMPARE(answer.status, 200);
    QVERIFY(answer.body.contains(
        "<ifchangetableResponse xmlns=\"http://tempuri.org/\"><ifchangetableResult>"));
}

void TestServerWire::badInputIsRefused_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("soapAction"); // "-": no header
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("faultcode"); // empty: the answer has no body
    QTest::addColumn<QString>("faultSays");

    const QByteArray good = SoapTestClient::envelope(QStringLiteral("hqSys_pz"), {});
    const QByteArray xml = "text/xml; charset=\"utf-8\"";
    const QByteArray action = "\"http://tempuri.org/hqSys_pz\"";
    QTest::newRow("malformed XML")
        << good.left(good.size() - 5) << xml << action << 400 << QString() << QString();
    QTest::newRow("empty body") << QByteArray() << xml << action << 400 << QString() << QString();
    QTest::newRow("invalid UTF-8")
        << QByteArray(good).replace("hqSys_pz xmlns", "hqSys_pz a=\"\xff\xfe\" xmlns") << xml
        << action << 400 << QString() << QString();
    QTest::newRow("DTD") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"aaaa\">]>")
            + good.mid(good.indexOf("<soap:Envelope"))
                         << xml << action << 400 << QString() << QString();
    QTest::newRow("not a SOAP envelope")
        << QByteArray("<hqSys_pz xmlns=\"http://tempuri.org/\"/>") << xml << action << 500
        << QStringLiteral("soap:Client") << QStringLiteral("unable to read request");
    QTest::newRow("unknown operation")
        << good << xml << QByteArray("\"http://tempuri.org/dropTable\"") << 500
        << QStringLiteral("soap:Client")
        << QStringLiteral("SOAPAction: http://tempuri.org/dropTable.");
    QTest::newRow("SOAPAction in other case")
        << good << xml << QByteArray("\"http://tempuri.org/HQSYS_PZ\"") << 500
        << QStringLiteral("soap:Client") << QStringLiteral("SOAPAction");
    QTest::newRow("SOAPAction of other namespace")
        << good << xml << QByteArray("\"http://example.org/hqSys_pz\"") << 500
        << QStringLiteral("soap:Client") << QStringLiteral("SOAPAction");
    QTest::newRow("empty SOAPAction")
        << good << xml << QByteArray("\"\"") << 500 << QStringLiteral("soap:Client")
        << QStringLiteral("SOAPAction: .");
    QTest::newRow("missing SOAPAction")
        << good << xml << QByteArray("-") << 500 << QStringLiteral("soap:Client")
        << QStringLiteral("SOAPAction: .");
    QTest::newRow("JSON content type")
        << good << QByteArray("application/json") << action << 415 << QString() << QString();
    QTest::newRow("SOAP 1.2 content type")
        << good << QByteArray("application/soap+xml; charset=utf-8") << action << 415 << QString()
        << QString();
    QTest::newRow("unknown charset") << good << QByteArray("text/xml; charset=klingon") << action
                                     << 415 << QString() << QString();
    QTest::newRow("integer that is no number")
        << SoapTestClient::envelope(QStringLiteral("ifchangetable"),
                                    {{QStringLiteral("userdj"), QStringLiteral("VIP")}})
        << xml << QByteArray("\"http://tempuri.org/ifchangetable\"") << 500
        << QStringLiteral("soap:Client")
        << QStringLiteral("Input string was not in a correct format");
    QTest::newRow("level without counters")
        << SoapTestClient::envelope(QStringLiteral("ifchangetable"),
                                    {{QStringLiteral("userdj"), QStringLiteral("7")}})
        << xml << QByteArray("\"http://tempuri.org/ifchangetable\"") << 500
        << QStringLiteral("soap:Server") << QStringLiteral("user level");
    QTest::newRow("statement not allowed")
        << SoapTestClient::envelope(
               QStringLiteral("hqsametable"),
               {{QStringLiteral("strsql"), QStringLiteral("select * from UserTable")}})
        << xml << QByteArray("\"http://tempuri.org/hqsametable\"") << 500
        << QStringLiteral("soap:Server") << QStringLiteral("Statement is not allowed");
    QTest::newRow("count statement for rows")
        << SoapTestClient::envelope(
               QStringLiteral("hqsametable"),
               {{QStringLiteral("strsql"), QStringLiteral(" select * from userdl where userid=1")}})
        << xml << QByteArray("\"http://tempuri.org/hqsametable\"") << 500
        << QStringLiteral("soap:Server") << QStringLiteral("Statement is not allowed");
    QTest::newRow("select through zhixing")
        << SoapTestClient::envelope(
               QStringLiteral("zhixing"),
               {{QStringLiteral("sql"), QStringLiteral("select * from Sys_url")}})
        << xml << QByteArray("\"http://tempuri.org/zhixing\"") << 500
        << QStringLiteral("soap:Server") << QStringLiteral("Statement is not allowed");
}

void TestServerWire::badInputIsRefused()
{
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, soapAction);
    QFETCH(int, status);
    QFETCH(QString, faultcode);
    QFETCH(QString, faultSays);

    Headers headers {{"Content-Type", contentType}};
    if (soapAction != "-")
        headers.append({"SOAPAction", soapAction});
    const HttpAnswer answer = m_client->post(body, headers);
    QCOMPARE(answer.status, status);
    if (faultcode.isEmpty()) {
        QCOMPARE(answer.body, QByteArray());
    } else {
        const auto [code, text] = SoapTestClient::faultOf(answer.body);
        QCOMPARE(code, faultcode);
        QVERIFY2(text.contains(faultSays), qPrintable(text));
    }
    // The server is still there and well.
    QCOMPARE(m_client->result(QStringLiteral("yanzheng"),
                              {{QStringLiteral("username"), QStringLiteral("demo")},
                               {QStringLiteral("userpass"), QStringLiteral("demo123")}}),
             QStringLiteral("True"));
}

void TestServerWire::rawRefusals_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");

    const QByteArray body = SoapTestClient::envelope(QStringLiteral("hqSys_pz"), {});
    const QByteArray head = "POST /qzWebService.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                            "Content-Type: text/xml; charset=\"utf-8\"\r\nSOAPAction: "
                            "\"http://tempuri.org/hqSys_pz\"\r\n";
    QTest::newRow("oversize body announced")
        << head + "Content-Length: 2000000\r\n\r\n" + QByteArray(4096, 'a') << 413;
    QTest::newRow("oversize body sent")
        << head + "Content-Length: 1048577\r\n\r\n" + QByteArray(1048577, ' ') << 413;
    QTest::newRow("chunked body") << head + "Transfer-Encoding: chunked\r\n\r\n"
            + QByteArray::number(body.size(), 16) + "\r\n" + body
            + "\r\n0\r\n\r\n" << 411;
    QTest::newRow("oversize head") << "GET / HTTP/1.1\r\nX-Filler: " + QByteArray(70000, 'x')
            + "\r\n\r\n" << 431;
    QTest::newRow("bad length") << head + "Content-Length: lots\r\n\r\n" << 400;
    QTest::newRow("exact request")
        << head + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body << 200;
}

void TestServerWire::rawRefusals()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    const QByteArray answer = RawHttp::exchange(quint16(m_server->port()), request);
    QCOMPARE(RawHttp::statusOf(answer), status);
    QVERIFY(m_server->isRunning());
}

void TestServerWire::bodyJustUnderTheLimitInPiecesIsAnswered()
{
    // A large but allowed body arriving in several writes is followed, not miscounted.
    QByteArray body = SoapTestClient::envelope(QStringLiteral("hqSys_pz"), {});
    body.insert(body.indexOf("<soap:Body>"), QByteArray(1000000, ' '));
    const QByteArray head = "POST /qzWebService.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                            "Content-Type: text/xml; charset=\"utf-8\"\r\nSOAPAction: "
                            "\"http://tempuri.org/hqSys_pz\"\r\n"
                            "Content-Length: "
        + QByteArray::number(body.size()) + "\r\n\r\n";
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_server->port()));
    QVERIFY(socket.waitForConnected(5000));
    const QByteArray request = head + body;
    for (qsizetype at = 0; at < request.size(); at += 65536) {
        socket.write(request.mid(at, 65536));
        QVERIFY(socket.waitForBytesWritten(5000));
        QTest::qWait(1);
    }
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (!answer.contains("</soap:Envelope>") && clock.elapsed() < 10000) {
        if (socket.waitForReadyRead(200))
            answer += socket.readAll();
    }
    QCOMPARE(RawHttp::statusOf(answer), 200);
    QVERIFY(answer.contains("hqSys_pzResult"));
}

void TestServerWire::wsdlDescribesTheService()
{
    const HttpAnswer answer = m_client->get(QStringLiteral("qzWebService.asmx?wsdl"));
    QCOMPARE(answer.status, 200);
    QVERIFY(answer.contentType.startsWith("text/xml"));
    QXmlStreamReader reader(answer.body);
    QStringList operations;
    QStringList actions;
    QString service;
    QString port;
    QString location;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        if (reader.name() == u"operation"
            && reader.namespaceUri() == u"http://schemas.xmlsoap.org/wsdl/soap/")
            actions.append(a.value(QStringLiteral("soapAction")).toString());
        else if ((reader.name() == u"portType" || reader.name() == u"binding")
                 && reader.namespaceUri() == u"http://schemas.xmlsoap.org/wsdl/")
            QCOMPARE(a.value(QStringLiteral("name")).toString(), QStringLiteral("WebServiceSoap"));
        else if (reader.name() == u"operation" && operations.size() < 10)
            operations.append(a.value(QStringLiteral("name")).toString());
        else if (reader.name() == u"service")
            service = a.value(QStringLiteral("name")).toString();
        else if (reader.name() == u"port")
            port = a.value(QStringLiteral("name")).toString();
        else if (reader.name() == u"address")
            location = a.value(QStringLiteral("location")).toString();
    }
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    const QStringList expected {QStringLiteral("addition"),      QStringLiteral("yanzheng"),
                                QStringLiteral("zhixing"),       QStringLiteral("jian"),
                                QStringLiteral("hqSys_pz"),      QStringLiteral("hqdlyhxx"),
                                QStringLiteral("hqsfczjl"),      QStringLiteral("hqsametable"),
                                QStringLiteral("ifchangetable"), QStringLiteral("hqdlsj")};
    QCOMPARE(operations, expected);
    QStringList expectedActions;
    for (const QString &operation : expected)
        expectedActions.append(QStringLiteral("http://tempuri.org/") + operation);
    QCOMPARE(actions, expectedActions);
    QCOMPARE(service, QStringLiteral("WebService"));
    QCOMPARE(port, QStringLiteral("WebServiceSoap"));
    QCOMPARE(location, m_server->endpoint().toString());
}

void TestServerWire::connectionPersistence_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QByteArray>("connectionHeader");

    QTest::newRow("HTTP/1.1 keeps it")
        << QByteArray("GET /qzIP.aspx HTTP/1.1\r\nHost: x\r\n\r\n") << false << QByteArray();
    QTest::newRow("Connection: close")
        << QByteArray("GET /qzIP.aspx HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n") << true
        << QByteArray("close");
    QTest::newRow("close among other options")
        << QByteArray("GET /qzIP.aspx HTTP/1.1\r\nHost: x\r\nConnection: TE, Close\r\nTE: "
                      "trailers\r\n\r\n")
        << true << QByteArray("close");
    QTest::newRow("HTTP/1.0 closes it")
        << QByteArray("GET /qzIP.aspx HTTP/1.0\r\n\r\n") << true << QByteArray("close");
    QTest::newRow("HTTP/1.0 asking for keep-alive")
        << QByteArray("GET /qzIP.aspx HTTP/1.0\r\nConnection: keep-alive\r\n\r\n") << false
        << QByteArray("keep-alive");
}

void TestServerWire::connectionPersistence()
{
    QFETCH(QByteArray, request);
    QFETCH(bool, closes);
    QFETCH(QByteArray, connectionHeader);
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_server->port()));
    QVERIFY(socket.waitForConnected(5000));
    socket.write(request);
    QByteArray pending;
    const QByteArray answer = readAnswer(socket, pending);
    QCOMPARE(RawHttp::statusOf(answer), 200);
    const QRegularExpressionMatch header =
        QRegularExpression(QStringLiteral("\r\nConnection: ([^\r]*)\r\n"))
            .match(QString::fromLatin1(answer));
    QCOMPARE(header.captured(1).toLatin1(), connectionHeader);
    if (closes) {
        // At once, not at the idle time-out (15 s).
        QTRY_VERIFY_WITH_TIMEOUT(closedByPeer(socket), 3000);
    } else {
        socket.write(request);
        QCOMPARE(RawHttp::statusOf(readAnswer(socket, pending)), 200);
    }
}

void TestServerWire::headIsAnsweredWithoutBody()
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_server->port()));
    QVERIFY(socket.waitForConnected(5000));
    // HEAD and GET pipelined: the GET's answer follows the HEAD's head directly.
    socket.write("HEAD /qzIP.aspx HTTP/1.1\r\nHost: x\r\n\r\nGET /qzIP.aspx HTTP/1.1\r\nHost: "
                 "x\r\n\r\n");
    QByteArray answers;
    QTRY_VERIFY_WITH_TIMEOUT((answers += socket.readAll()).endsWith("127.0.0.1"), 5000);
    const qsizetype headEnd = answers.indexOf("\r\n\r\n") + 4;
    QCOMPARE(RawHttp::statusOf(answers), 200);
    QVERIFY(answers.left(headEnd).contains("Content-Length: 9\r\n")); // as GET would say
    QVERIFY2(answers.sliced(headEnd).startsWith("HTTP/1.1 200 "), answers.constData());
    QCOMPARE(answers.count("127.0.0.1"), 1);
}

void TestServerWire::storedValuesAreBounded_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("stored"); // "true" or "false"
    QTest::addColumn<QString>("countAfter"); // finds nothing unless the statement was stored

    const QString longest = QString(64, u'名');
    QTest::newRow("application, longest name")
        << Statements::insertApplication(longest, QStringLiteral("pw"), QStringLiteral("139"))
        << QStringLiteral("true") << Statements::pendingApplicationCount(longest);
    const QString longer = QString(65, u'名');
    QTest::newRow("application, name too long")
        << Statements::insertApplication(longer, QStringLiteral("pw"), QStringLiteral("139"))
        << QStringLiteral("false") << Statements::pendingApplicationCount(longer);
    QTest::newRow("application, half a megabyte of password")
        << Statements::insertApplication(QStringLiteral("大密码"), QString(500000, u'x'),
                                         QStringLiteral("139"))
        << QStringLiteral("false") << Statements::pendingApplicationCount(QStringLiteral("大密码"));
    QTest::newRow("application, mobile number too long")
        << Statements::insertApplication(QStringLiteral("长手机"), QStringLiteral("pw"),
                                         QString(33, u'1'))
        << QStringLiteral("false") << Statements::pendingApplicationCount(QStringLiteral("长手机"));
    // Account 3 is the demo's "guest", without a login row.
    QTest::newRow("login row, address too long")
        << Statements::insertLoginRow(QStringLiteral("3"), QStringLiteral("guest"),
                                      QStringLiteral("guest123"), QString(65, u'9'))
        << QStringLiteral("false") << Statements::loginRowCount(QStringLiteral("3"));
    QTest::newRow("login row for no account")
        << Statements::insertLoginRow(QStringLiteral("99999"), QStringLiteral("x"),
                                      QStringLiteral("y"), QStringLiteral("127.0.0.1"))
        << QStringLiteral("false") << Statements::loginRowCount(QStringLiteral("99999"));
}

void TestServerWire::storedValuesAreBounded()
{
    QFETCH(QString, statement);
    QFETCH(QString, stored);
    QFETCH(QString, countAfter);
    QCOMPARE(m_client->execute(statement), stored);
    QCOMPARE(m_client->count(countAfter), stored == u"true" ? 1 : 0);
}

void TestServerWire::ipPage()
{
    const HttpAnswer answer = m_client->get(QStringLiteral("qzIP.aspx"));
    QCOMPARE(answer.status, 200);
    QCOMPARE(answer.body, QByteArray("127.0.0.1"));
}

void TestServerWire::bulletinPages_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("mustShow");
    QTest::addColumn<QString>("mustNotShow");

    // Queries encoded the client's way: UTF-8 bytes as %XX, blanks as "+", the apostrophe kept.
    QTest::newRow("first kind, VIP") << QStringLiteral("qzGongGaoXinXi.aspx")
                                     << QStringLiteral("userdj=2&username=demo&userpas=demo123")
                                     << 200 << QStringLiteral("十二月私募仓位观察") << QString();
    QTest::newRow("first kind, Chinese name")
        << QStringLiteral("qzGongGaoXinXi.aspx")
        << QStringLiteral("userdj=1&username=%E5%BC%A0%E4%B8%89&userpas=zhang123") << 200
        << QStringLiteral("私募周报 第49周") << QString();
    QTest::newRow("second kind, VIP sees VIP bulletin")
        << QStringLiteral("qzGongGaoSiMi.aspx")
        << QStringLiteral("userdj=2&username=demo&userpas=demo123") << 200
        << QStringLiteral("某百亿私募调研纪要") << QString();
    QTest::newRow("second kind, level 0 does not")
        << QStringLiteral("qzGongGaoSiMi.aspx")
        << QStringLiteral("userdj=0&username=quote&userpas=it's") << 200
        << QStringLiteral("年末布局方向") << QStringLiteral("某百亿私募调研纪要");
    QTest::newRow("wrong password") << QStringLiteral("qzGongGaoXinXi.aspx")
                                    << QStringLiteral("userdj=2&username=demo&userpas=demo12")
                                    << 403 << QString() << QStringLiteral("十二月私募仓位观察");
    QTest::newRow("level not the account's")
        << QStringLiteral("qzGongGaoSiMi.aspx")
        << QStringLiteral("userdj=2&username=guest&userpas=guest123") << 403 << QString()
        << QStringLiteral("某百亿私募调研纪要");
    QTest::newRow("no query") << QStringLiteral("qzGongGaoSiMi.aspx") << QString() << 403
                              << QString() << QStringLiteral("年末布局方向");
}

void TestServerWire::bulletinPages()
{
    QFETCH(QString, page);
    QFETCH(QString, query);
    QFETCH(int, status);
    QFETCH(QString, mustShow);
    QFETCH(QString, mustNotShow);
    const HttpAnswer answer =
        m_client->get(query.isEmpty() ? page : page + QLatin1Char('?') + query);
    QCOMPARE(answer.status, status);
    const QString html = QString::fromUtf8(answer.body);
    if (!mustShow.isEmpty())
        QVERIFY2(html.contains(mustShow), qPrintable(html));
    if (!mustNotShow.isEmpty())
        QVERIFY(!html.contains(mustNotShow));
}

void TestServerWire::demoPages()
{
    const QList<ResultRow> toolbar = m_client->rows(QStringLiteral("select * from Sys_url"));
    QVERIFY(!toolbar.isEmpty());
    QString all;
    for (int entry = 4; entry <= 10; ++entry) {
        const QString url = toolbar.first().value(QStringLiteral("an%1url").arg(entry));
        const HttpAnswer answer = m_client->get(url.mid(m_server->baseUrl().size()));
        QCOMPARE(answer.status, 200);
        all += QString::fromUtf8(answer.body);
    }
    QVERIFY(all.contains(QStringLiteral("target=\"_blank\"")));
    QVERIFY(all.contains(QStringLiteral("window.open(")));
    const QString news = QString::fromUtf8(m_client->get(QStringLiteral("demo/news.html")).body);
    QVERIFY(news.count(QStringLiteral("<a href=\"news-")) >= 3);
    QCOMPARE(m_client->get(QStringLiteral("demo/news-1.html")).status, 200);
    QCOMPARE(m_client->get(QStringLiteral("demo/none.html")).status, 404);
}

void TestServerWire::stalledClientBlocksNobody()
{
    // One client sends half a request and stops; others are answered all the same.
    QTcpSocket stalled;
    stalled.connectToHost(QStringLiteral("127.0.0.1"), quint16(m_server->port()));
    QVERIFY(stalled.waitForConnected(5000));
    stalled.write("POST /qzWebService.asmx HTTP/1.1\r\nHost: x\r\nContent-Type: "
                  "text/xml\r\nContent-Length: 500\r\n\r\n<soap:");
    QVERIFY(stalled.waitForBytesWritten(5000));

    QNetworkAccessManager manager;
    QList<QNetworkReply *> replies;
    for (int i = 0; i < 20; ++i) {
        QNetworkRequest request(m_server->endpoint());
        request.setRawHeader("Content-Type", "text/xml; charset=\"utf-8\"");
        request.setRawHeader("SOAPAction", "\"http://tempuri.org/ifchangetable\"");
        replies.append(manager.post(
            request,
            SoapTestClient::envelope(QStringLiteral("ifchangetable"),
                                     {{QStringLiteral("userdj"), QString::number(i % 3)}})));
    }
    for (QNetworkReply *reply : std::as_const(replies)) {
        QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        reply->deleteLater();
    }
}

QTEST_GUILESS_MAIN(TestServerWire)
#include "tst_server_wire.moc"
