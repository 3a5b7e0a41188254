// Reading result documents and converting their values.
#include "AppErrorText.h"

#include "service/Conversions.h"
#include "service/ResultDocument.h"
#include "service/SqlText.h"

#include <QTest>

namespace {
// As the service writes them: two-blank indentation, CR LF line breaks.
const QString twoRows = QStringLiteral(
    "<NewDataSet>\r\n  <Table>\r\n    <id>12</id>\r\n    "
    "<nowtime>2026-12-08T09:30:05.123+08:00</nowtime>\r\n"
    "    <gupiaodaima>  600519 </gupiaodaima>\r\n    <czly>放量突破，&lt;关注&gt; &amp; "
    "持有</czly>\r\n  </Table>\r\n"
    "  <Table>\r\n    <id>11</id>\r\n    <czly>\t</czly>\r\n  </Table>\r\n</NewDataSet>");
} // namespace

class TestResultDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsAndColumns()
    {
        const ResultDocument doc = ResultDocument::parse(twoRows);
        QCOMPARE(doc.rowCount(), 2);
        QCOMPARE(doc.value(0, u"id"), QStringLiteral("12"));
        QCOMPARE(doc.value(0, u"gupiaodaima"), QStringLiteral("600519")); // trimmed
        QCOMPARE(doc.value(0, u"czly"), QStringLiteral("放量突破，<关注> & 持有"));
        QCOMPARE(doc.value(0, u"nowtime"), QStringLiteral("2026-12-08T09:30:05.123+08:00"));
        QCOMPARE(doc.value(1, u"id"), QStringLiteral("11"));
        QCOMPARE(doc.value(1, u"nowtime"), QString()); // absent column: null on the server
        QCOMPARE(doc.value(1, u"czly"), QString()); // control characters trimmed away
        QCOMPARE(doc.value(0, u"nosuchcolumn"), QString());
        QVERIFY(raisesAppError([&] { doc.value(2, u"id"); }));
    }

    void emptyAnswers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("self-closing") << QStringLiteral("<NewDataSet />");
        QTest::newRow("open-close") << QStringLiteral("<NewDataSet>\r\n</NewDataSet>");
        QTest::newRow("with declaration") << QStringLiteral("<?xml version=\"1.0\"?><r/>");
    }

    void emptyAnswers()
    {
        QFETCH(QString, text);
        const ResultDocument doc = ResultDocument::parse(text);
        QCOMPARE(doc.rowCount(), 0);
        QVERIFY(raisesAppError([&] { doc.value(0, u"id"); }));
    }

    void malformedAnswersRaise_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks") << QStringLiteral("   ");
        QTest::newRow("plain text") << QStringLiteral("系统错误");
        QTest::newRow("unclosed") << QStringLiteral("<NewDataSet><Table><id>1</id>");
        QTest::newRow("two roots") << QStringLiteral("<a/><b/>");
        QTest::newRow("undeclared entity") << QStringLiteral("<a><t><c>&nbsp;</c></t></a>");
        QTest::newRow("external entity") << QStringLiteral(
            "<!DOCTYPE a [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><a><t><c>&x;</c></t></a>");
        QTest::newRow("internal entity bomb")
            << QStringLiteral("<!DOCTYPE a [<!ENTITY x \"xxxxxxxxxx\"><!ENTITY y "
                              "\"&x;&x;&x;&x;&x;\">]><a><t><c>&y;</c></t></a>");
    }

    void malformedAnswersRaise()
    {
        QFETCH(QString, text);
        QVERIFY(raisesAppError([&] { ResultDocument::parse(text); }));
    }

    void charactersOutsideGbkSurvive()
    {
        // No code-page round trip: characters GBK lacks arrive intact.
        const QString text = QStringLiteral("<r><t><c>€ 😀 한국 ẞ</c></t></r>");
        QCOMPARE(ResultDocument::parse(text).value(0, u"c"), QStringLiteral("€ 😀 한국 ẞ"));
    }

    void booleanRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // 1 true, 0 false, -1 raises
        QTest::newRow("True") << QStringLiteral("True") << 1;
        QTest::newRow(" true ") << QStringLiteral(" true ") << 1;
        QTest::newRow("FALSE") << QStringLiteral("FALSE") << 0;
        QTest::newRow("fAlSe") << QStringLiteral("fAlSe") << 0;
        QTest::newRow("0") << QStringLiteral("0") << 0;
        QTest::newRow("1") << QStringLiteral("1") << 1;
        QTest::newRow("-5") << QStringLiteral("-5") << 1;
        QTest::newRow("1.5") << QStringLiteral("1.5") << 1;
        QTest::newRow("empty") << QString() << -1;
        QTest::newRow("yes") << QStringLiteral("yes") << -1;
        QTest::newRow("truex") << QStringLiteral("truex") << -1;
    }

    void booleanRule()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        if (expected < 0)
            QVERIFY(raisesAppError([&] { toBoolean(text); }));
        else
            QCOMPARE(toBoolean(text), expected == 1);
    }

    void integerRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("converts");
        QTest::addColumn<int>("expected");
        QTest::newRow("0") << QStringLiteral("0") << true << 0;
        QTest::newRow("-5") << QStringLiteral("-5") << true << -5;
        QTest::newRow(" 15 ") << QStringLiteral(" 15 ") << true << 15;
        QTest::newRow("max") << QStringLiteral("2147483647") << true << 2147483647;
        QTest::newRow("min") << QStringLiteral("-2147483648") << true << int(-2147483648LL);
        QTest::newRow("2147483648") << QStringLiteral("2147483648") << false << 0;
        QTest::newRow("1.5") << QStringLiteral("1.5") << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("abc") << QStringLiteral("abc") << false << 0;
        QTest::newRow("hex") << QStringLiteral("0x10") << false << 0;
        QTest::newRow("true") << QStringLiteral("true") << false << 0;
    }

    void integerRule()
    {
        QFETCH(QString, text);
        QFETCH(bool, converts);
        QFETCH(int, expected);
        if (converts)
            QCOMPARE(toInteger(text), expected);
        else
            QVERIFY(raisesAppError([&] { toInteger(text); }));
    }

    void trimmingTakesBlanksAndControls()
    {
        QCOMPARE(trimmedText(QStringLiteral("\t\r\n 张三 \x01")), QStringLiteral("张三"));
        QCOMPARE(trimmedText(QStringLiteral(" a b ")), QStringLiteral("a b"));
        // An ideographic space is no blank by this rule.
        QCOMPARE(trimmedText(QStringLiteral("\u3000x")), QStringLiteral("\u3000x"));
    }

    void quotingDoublesQuotes()
    {
        QCOMPARE(sqlQuoted(QStringLiteral("x') or ('1'='1")), QStringLiteral("x'') or (''1''=''1"));
        QCOMPARE(sqlQuoted(QStringLiteral("it's")), QStringLiteral("it''s"));
        QCOMPARE(sqlQuoted(QStringLiteral("''")), QStringLiteral("''''"));
        QCOMPARE(sqlQuoted(QStringLiteral("无引号")), QStringLiteral("无引号"));
    }
};

QTEST_GUILESS_MAIN(TestResultDocument)
#include "tst_result_document.moc"
