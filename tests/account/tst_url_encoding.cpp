#include "service/URLCodeChange.h"

#include <QTest>

class TestUrlEncoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void encodes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("spaceAsPlus");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QByteArray() << true << QString();
        QTest::newRow("plus") << QByteArray("a b&c=d") << true << QStringLiteral("a+b%26c=d");
        QTest::newRow("%20") << QByteArray("a b&c=d") << false << QStringLiteral("a%20b%26c=d");
        QTest::newRow("zhang") << QStringLiteral("张").toUtf8() << true
                               << QStringLiteral("%E5%BC%A0");
        QTest::newRow("kept") << QByteArray("AZaz09-./\"'=?_") << true
                              << QStringLiteral("AZaz09-./\"'=?_");
        QTest::newRow("escaped") << QByteArray("~*()!+%#&:;@,") << true
                                 << QStringLiteral("%7E%2A%28%29%21%2B%25%23%26%3A%3B%40%2C");
        QTest::newRow("controls and high bytes")
            << QByteArray("\x00\x1f\x7f\x80\xff", 5) << true << QStringLiteral("%00%1F%7F%80%FF");
    }

    void encodes()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, spaceAsPlus);
        QFETCH(QString, expected);
        QCOMPARE(EncodeUrlComponent(text, spaceAsPlus), expected);
    }
};

QTEST_GUILESS_MAIN(TestUrlEncoding)
#include "tst_url_encoding.moc"
