// How alert and live-trading rows read in the grids and popups: the time text and the row formats.
#include "content/ContentRows.h"
#include "service/ResultDocument.h"

#include <QTest>

class TestContentRows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timeTexts_data()
    {
        QTest::addColumn<QString>("nowtime");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("popup");
        QTest::newRow("zone and fraction")
            << QStringLiteral("2026-12-08T09:31:05.123+08:00")
            << QStringLiteral("  2026-12-08 09:31:05") << QStringLiteral("2026-12-08 09:31:05");
        QTest::newRow("plain") << QStringLiteral("2026-12-08T09:31:05")
                               << QStringLiteral("  2026-12-08 09:31:05")
                               << QStringLiteral("2026-12-08 09:31:05");
        QTest::newRow("leading blanks trimmed before the cut")
            << QStringLiteral("   2026-12-08T09:31:05+08:00")
            << QStringLiteral("  2026-12-08 09:31:05") << QStringLiteral("2026-12-08 09:31:05");
        QTest::newRow("shorter than 19 shown whole")
            << QStringLiteral("2026-12-08T09:31") << QStringLiteral("  2026-12-08 09:31")
            << QStringLiteral("2026-12-08 09:31");
        QTest::newRow("date only") << QStringLiteral("2026-12-08") << QStringLiteral("  2026-12-08")
                                   << QStringLiteral("2026-12-08");
        QTest::newRow("every T replaced")
            << QStringLiteral("TxT") << QStringLiteral("   x ") << QStringLiteral("x");
        QTest::newRow("empty") << QString() << QStringLiteral("  ") << QString();
    }

    void timeTexts()
    {
        QFETCH(QString, nowtime);
        QFETCH(QString, grid);
        QFETCH(QString, popup);
        QCOMPARE(timeText(nowtime), grid);
        QCOMPARE(popupTimeText(nowtime), popup);
    }

    void rowFormats()
    {
        const ResultDocument document = ResultDocument::parse(QStringLiteral(
            "<NewDataSet><Table><id>7</id><XinXiDJ>3</XinXiDJ>"
            "<nowtime>2026-12-08T10:02:00+08:00</nowtime><gupiaodaima>600519</gupiaodaima>"
            "<jg>1688.50</jg><czfs>买入</czfs><czly>放量 突破</czly><zxlx>盘中</zxlx>"
            "<zxnr>北向资金净流入</zxnr></Table>"
            "<Table><id>6</id><nowtime>2026-12-08T09:45:00+08:00</nowtime></Table></NewDataSet>"));

        const GridRows alerts = rowsInFormat(document, alertRowFormat());
        QCOMPARE(alerts.size(), 2);
        QCOMPARE(alerts.at(0),
                 (QStringList {"  2026-12-08 10:02:00", "600519", "1688.50", "买入", "放量 突破"}));

        QCOMPARE(rowsInFormat(document, liveInfoRowFormat()).at(0),
                 (QStringList {"  2026-12-08 10:02:00", "盘中", "北向资金净流入"}));

        // A null column is an empty cell, no failure.
        QCOMPARE(alerts.at(1).at(1), QString());
        QCOMPARE(alerts.at(1).at(0), QStringLiteral("  2026-12-08 09:45:00"));
    }
};

QTEST_GUILESS_MAIN(TestContentRows)
#include "tst_content_rows.moc"
