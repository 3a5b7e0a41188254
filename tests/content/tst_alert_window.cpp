// The alert management window against the reference server: its design, the three grids with the
// level filter, the fill rule, the date range, the detail box, the counter snapshot and the silent
// failures.
#include "ClientSession.h"
#include "FixedClock.h"
#include "GuiTestMain.h"
#include "ServiceTarget.h"
#include "TestServer.h"

#include "app/ChangeCounters.h"
#include "app/Clock.h"
#include "app/UnitGlouble.h"
#include "content/ContentRows.h"
#include "content/GridFill.h"
#include "content/StringGrid.h"
#include "content/UnitSMNC.h"
#include "service/ResultDocument.h"
#include "ui/MessageBoxes.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

// A grid of the alert window, found by its design name.
template<typename Window> StringGrid &grid(const Window &window, int number)
{
    return *window->template findChild<StringGrid *>(QStringLiteral("StringGrid%1").arg(number));
}

struct Alert
{
    int level;
    QString code;
    QString price;
    QString action;
    QString reason;
    QDateTime time;
    QString id; // as the server gave it
};

struct LiveItem
{
    int level;
    QString type;
    QString text;
    QDateTime time;
};

QString serverTime(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString gridTime(const QDateTime &time)
{
    return QStringLiteral("  ") + time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QDateTime today(const char *time)
{
    return QDateTime(Clock::currentDate(),
                     QTime::fromString(QString::fromLatin1(time), u"hh:mm:ss"));
}

QDateTime daysAgo(int days, const char *time)
{
    return today(time).addDays(-days);
}

bool visibleTo(int entryLevel, bool filter, int userLevel)
{
    return !filter || entryLevel == userLevel || entryLevel == 3;
}

QStringList gridRow(const StringGrid &grid, int row)
{
    QStringList cells;
    for (int column = 0; column < grid.colCount(); ++column)
        cells.append(grid.cell(column, row));
    return cells;
}

QStringList alertCells(const Alert &alert)
{
    return {QString(), gridTime(alert.time), alert.code, alert.price, alert.action, alert.reason};
}

// The alerts newest first, as the grids list them.
QList<Alert> newestFirst(QList<Alert> alerts)
{
    std::reverse(alerts.begin(), alerts.end());
    return alerts;
}

void compareAlertGrid(const StringGrid &grid, const QList<Alert> &expected)
{
    QCOMPARE(grid.rowCount(), int(expected.size()) + 1);
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(gridRow(grid, i + 1), alertCells(expected.at(i)));
}

} // namespace

class TestAlertWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestServer> server;
    QList<Alert> published; // in publishing order (ascending id)
    QList<LiveItem> liveItems;

    void publish(Alert &alert)
    {
        alert.id = server->command(QStringLiteral("publish-alert"),
                                   {"--level", QString::number(alert.level), "--code", alert.code,
                                    "--price", alert.price, "--action", alert.action, "--reason",
                                    alert.reason, "--time", serverTime(alert.time)});
        QVERIFY2(server->lastCommandOk(), qPrintable(server->lastCommandError()));
        published.append(alert);
    }

    void publish(const LiveItem &item)
    {
        server->command(QStringLiteral("publish-info"),
                        {"--level", QString::number(item.level), "--type", item.type, "--text",
                         item.text, "--time", serverTime(item.time)});
        QVERIFY2(server->lastCommandOk(), qPrintable(server->lastCommandError()));
        liveItems.append(item);
    }

    std::unique_ptr<TFormSMNC> openedWindow()
    {
        auto window = std::make_unique<TFormSMNC>();
        window->show();
        return window;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Server and client share one stopped clock at noon of the day the test started, so that
        // "today" cannot change under the test at midnight.
        const QDateTime noon(QDate::currentDate(), QTime(12, 0));
        Clock::install(std::make_unique<FixedClock>(noon));
        server = std::make_unique<TestServer>(false, QStringList(), noon);
        QVERIFY2(server->isRunning(), qPrintable(server->errorText()));
        server->command(QStringLiteral("config"),
                        {"yhqyhyfj=true", "ifctzqd=0", "khdsxsj=5", "an1mc=预警管理", "an1xs=0"});
        server->command(QStringLiteral("add-user"),
                        {"--name", "会员甲", "--password", "pw1", "--level", "1"});
        QVERIFY(server->lastCommandOk());

        // Older alerts first, so that ids ascend with time as the operators publish them.
        Alert older[] = {
            {3, "600036", "35.20", "买入", "银行估值修复", daysAgo(3, "10:00:00"), {}},
            {1, "601012", "22.45", "持有", "光伏企稳", daysAgo(1, "14:30:00"), {}},
            {2, "000651", "38.90", "卖出", "获利了结", daysAgo(1, "23:59:59"), {}},
        };
        for (Alert &alert : older)
            publish(alert);
        Alert todays[] = {
            {3, "600519", "1675.00", "买入", "主力资金 持续流入", today("00:00:01"), {}},
            {2, "300750", "198.40", "买入", "放量突破前高", today("00:01:00"), {}},
            {1, "601318", "45.62", "持有", "估值低位", today("00:02:00"), {}},
            {0, "000001", "10.85", "卖出", "跌破均线", today("00:03:00"), {}},
        };
        for (Alert &alert : todays)
            publish(alert);
        publish(LiveItem {3, "盘中提示", "沪指高开，白酒板块领涨", today("00:00:30")});
        publish(LiveItem {1, "仓位建议", "维持六成仓位", today("00:01:30")});
        publish(LiveItem {2, "板块异动", "半导体快速拉升", today("00:02:30")});
        publish(LiveItem {1, "仓位建议", "昨日建议", daysAgo(1, "15:00:00")});
    }

    void init()
    {
        resetClientGlobals();
        MessageBoxRecorder::start();
        ClientSession::logIn(*server, QStringLiteral("会员甲"), QStringLiteral("pw1"));
        QCOMPARE(UserDJ, QStringLiteral("1"));
        yhqyhyfj = true;
    }

    void cleanup()
    {
        MessageBoxRecorder::stop();
        if (!server->isRunning()) {
            server->start();
            pointClientAt(server->baseUrl());
        }
    }

    void design()
    {
        auto window = openedWindow();
        QCOMPARE(window->windowTitle(), QStringLiteral("FormSMNC"));
        QCOMPARE(window->size(), QSize(950, 597));
        QStringList groups;
        for (const QGroupBox *group : window->findChildren<QGroupBox *>())
            groups.append(group->title());
        groups.sort();
        QStringList expectedGroups = {"今日预警股票", "详细内容", "历史预警记录", "实盘资讯"};
        expectedGroups.sort();
        QCOMPARE(groups, expectedGroups);

        const QStringList alertHeader = {"ID",   "弹出时间", "股票代码",
                                         "价格", "操作方式", "操作理由"};
        QCOMPARE(gridRow(grid(window, 1), 0), alertHeader);
        QCOMPARE(gridRow(grid(window, 2), 0), alertHeader);
        QCOMPARE(gridRow(grid(window, 3), 0),
                 (QStringList {"ID", "弹出时间", "资讯类型", "资讯内容"}));
        const QList<QList<int>> widths = {{135, 72, 45, 67}, {135, 79, 48, 68}, {142, 82}};
        const QList<StringGrid *> grids = {&grid(window, 1), &grid(window, 2), &grid(window, 3)};
        for (int g = 0; g < grids.size(); ++g) {
            StringGrid *grid = grids.at(g);
            QCOMPARE(grid->objectName(), QStringLiteral("StringGrid%1").arg(g + 1));
            QCOMPARE(grid->colWidth(0), 0); // the hidden ID column
            for (int column = 1; column <= widths.at(g).size(); ++column)
                QCOMPARE(grid->colWidth(column), widths.at(g).at(column - 1));
            QCOMPARE(grid->headerRowHeight(), 18);
            QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 16);
            QCOMPARE(grid->font().pixelSize(), 12);
            QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
            QCOMPARE(grid->selectionMode(), QAbstractItemView::ExtendedSelection);
            QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
            QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
            // Bold, centred header text in the two alert grids only.
            const QVariant font = grid->model()->headerData(1, Qt::Horizontal, Qt::FontRole);
            QCOMPARE(font.isValid() && font.value<QFont>().bold(), g < 2);
            const int alignment =
                grid->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt();
            QCOMPARE(bool(alignment & Qt::AlignHCenter), g < 2);
        }
        QCOMPARE(window->DateTimePicker1->date(), Clock::currentDate().addDays(-1));
        QCOMPARE(window->DateTimePicker2->date(), Clock::currentDate());
        QCOMPARE(window->DateTimePicker1->width(), 81);
        QCOMPARE(window->Button2->text(), QStringLiteral("查询"));
        QCOMPARE(window->Button2->size(), QSize(61, 22));
    }

    void gridsShowTodayLatestAndLive_data()
    {
        QTest::addColumn<bool>("filter");
        QTest::addColumn<int>("level");
        QTest::newRow("grading on, level 1") << true << 1;
        QTest::newRow("grading on, level 2") << true << 2;
        QTest::newRow("grading off") << false << 1;
    }

    void gridsShowTodayLatestAndLive()
    {
        QFETCH(bool, filter);
        QFETCH(int, level);
        yhqyhyfj = filter;
        UserDJ = QString::number(level);
        auto window = openedWindow();

        QList<Alert> todays;
        QList<Alert> latest;
        for (const Alert &alert : newestFirst(published)) {
            if (!visibleTo(alert.level, filter, level))
                continue;
            latest.append(alert);
            if (alert.time.date() == Clock::currentDate())
                todays.append(alert);
        }
        QVERIFY(todays.size() >= 2);
        compareAlertGrid(grid(window, 1), todays);
        compareAlertGrid(grid(window, 2), latest.mid(0, 30));

        QList<QStringList> live;
        for (auto item = liveItems.crbegin(); item != liveItems.crend(); ++item) {
            if (visibleTo(item->level, filter, level) && item->time.date() == Clock::currentDate())
                live.append({QString(), gridTime(item->time), item->type, item->text});
        }
        QCOMPARE(grid(window, 3).rowCount(), int(live.size()) + 1);
        for (int i = 0; i < live.size(); ++i)
            QCOMPARE(gridRow(grid(window, 3), i + 1), live.at(i));
    }

    void openingTakesTheCounterSnapshot()
    {
        // Values from before some publishing: opening the window marks its kinds as seen.
        LoadChangeCounters();
        storeAllLastSeenValues();
        Alert alert {1, "600900", "23.10", "买入", "水电防御", today("00:04:00"), {}};
        publish(alert);
        publish(LiveItem {3, "个股点评", "长江电力：稳健", today("00:04:30")});

        auto window = openedWindow();
        LoadChangeCounters();
        const QList<QStringView> moved = storeMovedCounters().names();
        QVERIFY(!moved.contains(u"gptjadd"));
        QVERIFY(!moved.contains(u"spzxadd"));
        QCOMPARE(gptjadd, changeCounterValue(u"gptjadd").toInt());
        QCOMPARE(spzxadd, changeCounterValue(u"spzxadd").toInt());
        QCOMPARE(grid(window, 1).cell(2, 1), QStringLiteral("600900"));
    }

    void dateRange_data()
    {
        QTest::addColumn<int>("fromDaysAgo");
        QTest::addColumn<int>("toDaysAgo");
        QTest::newRow("three days ago to yesterday") << 3 << 1;
        QTest::newRow("yesterday only, to its last second") << 1 << 1;
        QTest::newRow("today") << 0 << 0;
        QTest::newRow("four to two days ago") << 4 << 2;
    }

    void dateRange()
    {
        QFETCH(int, fromDaysAgo);
        QFETCH(int, toDaysAgo);
        auto window = openedWindow();
        const QDate from = Clock::currentDate().addDays(-fromDaysAgo);
        const QDate to = Clock::currentDate().addDays(-toDaysAgo);
        window->DateTimePicker1->setDate(from);
        window->DateTimePicker2->setDate(to);
        QTest::mouseClick(window->Button2, Qt::LeftButton);

        QList<Alert> expected;
        for (const Alert &alert : newestFirst(published)) {
            if (visibleTo(alert.level, true, 1) && alert.time.date() >= from
                && alert.time.date() <= to)
                expected.append(alert);
        }
        QVERIFY(!expected.isEmpty());
        compareAlertGrid(grid(window, 2), expected);
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
    }

    void reversedRangeGivesTheEmptyLayout()
    {
        auto window = openedWindow();
        const QStringList firstRow = gridRow(grid(window, 2), 1);
        QVERIFY(!firstRow.at(2).isEmpty());
        window->DateTimePicker1->setDate(Clock::currentDate());
        window->DateTimePicker2->setDate(Clock::currentDate().addDays(-3));
        window->Button2Click();
        QCOMPARE(grid(window, 2).rowCount(), 2);
        QCOMPARE(gridRow(grid(window, 2), 1), firstRow); // not rewritten
    }

    void detailBox_data()
    {
        QTest::addColumn<int>("grid");
        QTest::addColumn<QString>("heading");
        QTest::newRow("today's alerts") << 1 << QStringLiteral("今日预警股票");
        QTest::newRow("history") << 2 << QStringLiteral("历史预警股票");
        QTest::newRow("live items") << 3 << QStringLiteral("实盘资讯");
    }

    void detailBox()
    {
        QFETCH(int, grid);
        QFETCH(QString, heading);
        auto window = openedWindow();
        StringGrid *target = &::grid(window, grid);
        QVERIFY(target->rowCount() >= 3);
        const QRect second = target->visualRect(target->model()->index(1, 1));
        QTest::mouseDClick(target->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(target->currentRow(), 2);

        const auto cell = [&](int column) { return target->cell(column, 2).trimmed(); };
        QStringList lines {heading, QStringLiteral("弹出时间：") + cell(1)};
        if (grid < 3) {
            lines << QStringLiteral("股票代码：") + cell(2)
                  << QStringLiteral("价         格：") + cell(3)
                  << QStringLiteral("操作方式：") + cell(4)
                  << QStringLiteral("操作理由：") + cell(5);
        } else {
            lines << QStringLiteral("资讯类型：") + cell(2)
                  << QStringLiteral("资讯内容：") + cell(3);
        }
        QCOMPARE(window->Memo1->toPlainText().split(u'\n'), lines);
        QVERIFY(!window->Memo1->toPlainText().contains(QStringLiteral("：  "))); // no time prefix
        QVERIFY(lines.at(1).endsWith(target->cell(1, 2).mid(2)));
    }

    void detailBoxOfABlankRow()
    {
        server->stop(); // nothing loads: every grid keeps one blank data row
        auto window = openedWindow();
        QTest::mouseDClick(
            grid(window, 1).viewport(), Qt::LeftButton, {},
            grid(window, 1).visualRect(grid(window, 1).model()->index(0, 1)).center());
        QCOMPARE(window->Memo1->toPlainText().split(u'\n'),
                 (QStringList {"今日预警股票", "弹出时间：", "股票代码：", "价         格：",
                               "操作方式：", "操作理由："}));
    }

    void failuresAreSwallowed()
    {
        LoadChangeCounters();
        storeAllLastSeenValues();
        auto window = openedWindow();
        const QStringList loaded = gridRow(grid(window, 1), 1);
        const int rows = grid(window, 1).rowCount();
        const int seen = gptjadd;

        server->stop();
        publish(LiveItem {3, "x", "y", today("00:05:00")}); // the database still takes it
        gptjadd = seen - 1;
        window->iniformdate();
        window->Button2Click();
        QVERIFY(MessageBoxRecorder::shown().isEmpty());
        QCOMPARE(grid(window, 1).rowCount(), rows);
        QCOMPARE(gridRow(grid(window, 1), 1), loaded);
        QCOMPARE(gptjadd, seen - 1); // no snapshot without the grids
    }

    void fillRule_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("gridRows");
        QTest::newRow("none") << 0 << 2;
        QTest::newRow("one") << 1 << 2;
        QTest::newRow("three") << 3 << 4;
    }

    void fillRule()
    {
        QFETCH(int, rows);
        QFETCH(int, gridRows);
        StringGrid grid(6);
        grid.setRowCount(5);
        for (int row = 1; row < 5; ++row)
            grid.setCell(2, row, QStringLiteral("old %1").arg(row));

        QString document = QStringLiteral("<NewDataSet>");
        for (int i = 0; i < rows; ++i) {
            document +=
                QStringLiteral("<Table><id>%1</id><nowtime>2026-12-0%1T09:0%1:00+08:00</nowtime>"
                               "<gupiaodaima>60000%1</gupiaodaima><jg>1%1.00</jg><czfs>买入</czfs>"
                               "</Table>")
                    .arg(rows - i);
        }
        document += QStringLiteral("</NewDataSet>");
        fillGrid(grid, rowsInFormat(ResultDocument::parse(document), alertRowFormat()));

        QCOMPARE(grid.rowCount(), gridRows);
        if (rows == 0) {
            QCOMPARE(grid.cell(2, 1), QStringLiteral("old 1"));
            return;
        }
        for (int i = 0; i < rows; ++i) {
            const int n = rows - i;
            QCOMPARE(
                gridRow(grid, i + 1),
                (QStringList {QString(), QStringLiteral("  2026-12-0%1 09:0%1:00").arg(n),
                              QStringLiteral("60000%1").arg(n), QStringLiteral("1%1.00").arg(n),
                              QStringLiteral("买入"), QString()}));
        }
    }
};

TIPDESK_GUI_TEST_MAIN(TestAlertWindow)
#include "tst_alert_window.moc"
