// The change counters behind ifchangetable: which levels' counters a publish, an edit or a
// delete moves, and a counter text that the client's positional split reads back intact.
#include "SoapTestClient.h"
#include "db/ChangeCounters.h"
#include "db/Configuration.h"
#include "db/ContentStore.h"
#include "db/Schema.h"
#include "db/SqliteDatabase.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace server;

namespace {

using ContentStore::Content;

// Counter positions in the split text (14 items: the two times arrive as two items each).
enum Item {
    GptjAdd = 0,
    GptjSx = 1,
    SmncAdd = 2,
    SmncSx = 3,
    SmncDate = 4,
    SmncTime = 5,
    SmncTitle = 6,
    SmjmAdd = 7,
    SmjmSx = 8,
    SmjmDate = 9,
    SmjmTime = 10,
    SmjmTitle = 11,
    SpzxAdd = 12,
    SpzxSx = 13
};

ContentStore::NewEntry alertEntry(int level)
{
    return {level,
            QDateTime::currentDateTime(),
            {{QStringLiteral("gupiaodaima"), QStringLiteral("600519")},
             {QStringLiteral("jg"), QStringLiteral("10")},
             {QStringLiteral("czfs"), QStringLiteral("买入")},
             {QStringLiteral("czly"), QStringLiteral("理由")}},
            0};
}

ContentStore::NewEntry bulletinEntry(int kind, int level, const QString &title,
                                     const QDateTime &time)
{
    return {level, time, {{QStringLiteral("title"), title}}, kind};
}

} // namespace

class TestChangeCounters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void publishMovesAddCountersOfLevelsThatSeeIt_data();
    void publishMovesAddCountersOfLevelsThatSeeIt();
    void editAndDeleteMoveRefreshCounters_data();
    void editAndDeleteMoveRefreshCounters();
    void titlesSurviveTheClientSplit_data();
    void titlesSurviveTheClientSplit();
    void newestVisibleBulletinPerLevel();
    void noBulletinYetKeepsPositions();
    void cacheSeesWritesOfOtherConnections();
    void unknownLevelIsAnError();

private:
    QList<int> itemAtEveryLevel(Item item);
    void setFiltering(bool on);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SqliteDatabase> m_db;
};

void TestChangeCounters::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_db = std::make_unique<SqliteDatabase>(m_dir->filePath(QStringLiteral("counters.db")));
    Schema::ensure(*m_db);
}

void TestChangeCounters::cleanup()
{
    m_db.reset();
    m_dir.reset();
}

void TestChangeCounters::setFiltering(bool on)
{
    Configuration::setValue(*m_db, QStringLiteral("yhqyhyfj"),
                            on ? QStringLiteral("True") : QStringLiteral("0"));
}

// One item of the split counter text for each of the levels 0, 1, 2.
QList<int> TestChangeCounters::itemAtEveryLevel(Item item)
{
    QList<int> values;
    for (int level = 0; level < 3; ++level) {
        const QStringList items =
            SoapTestClient::splitCounterText(ChangeCounters::counterText(*m_db, level));
        values.append(items.value(item).toInt());
    }
    return values;
}

void TestChangeCounters::publishMovesAddCountersOfLevelsThatSeeIt_data()
{
    QTest::addColumn<int>("content");
    QTest::addColumn<int>("entryLevel");
    QTest::addColumn<bool>("filtering");
    QTest::addColumn<int>("item");
    QTest::addColumn<QList<int>>("moved");

    QTest::newRow("alert level 0")
        << int(Content::Alert) << 0 << true << int(GptjAdd) << QList<int> {1, 0, 0};
    QTest::newRow("alert level 1")
        << int(Content::Alert) << 1 << true << int(GptjAdd) << QList<int> {0, 1, 0};
    QTest::newRow("alert level 2")
        << int(Content::Alert) << 2 << true << int(GptjAdd) << QList<int> {0, 0, 1};
    QTest::newRow("alert level 3")
        << int(Content::Alert) << 3 << true << int(GptjAdd) << QList<int> {1, 1, 1};
    QTest::newRow("alert level 2, filtering off")
        << int(Content::Alert) << 2 << false << int(GptjAdd) << QList<int> {1, 1, 1};
    QTest::newRow("live item level 1")
        << int(Content::LiveInfo) << 1 << true << int(SpzxAdd) << QList<int> {0, 1, 0};
    QTest::newRow("live item level 0, filtering off")
        << int(Content::LiveInfo) << 0 << false << int(SpzxAdd) << QList<int> {1, 1, 1};
}

void TestChangeCounters::publishMovesAddCountersOfLevelsThatSeeIt()
{
    QFETCH(int, content);
    QFETCH(int, entryLevel);
    QFETCH(bool, filtering);
    QFETCH(int, item);
    QFETCH(QList<int>, moved);

    setFiltering(filtering);
    const QList<int> before = itemAtEveryLevel(Item(item));
    ContentStore::NewEntry entry = alertEntry(entryLevel);
    if (Content(content) == Content::LiveInfo)
        entry.fields = {{QStringLiteral("zxlx"), QStringLiteral("盘中提示")},
                        {QStringLiteral("zxnr"), QStringLiteral("内容")}};
    ContentStore::publish(*m_db, Content(content), entry);
    const QList<int> after = itemAtEveryLevel(Item(item));
    for (int level = 0; level < 3; ++level)
        QCOMPARE(after.at(level) - before.at(level), moved.at(level));
    // The refresh counter of the same kind stays where it was.
    const Item refresh = Item(item + 1);
    QCOMPARE(itemAtEveryLevel(refresh), (QList<int> {0, 0, 0}));
}

void TestChangeCounters::editAndDeleteMoveRefreshCounters_data()
{
    QTest::addColumn<int>("publishedLevel");
    QTest::addColumn<int>("editedLevel"); // -1: delete instead of edit
    QTest::addColumn<QList<int>>("moved");

    QTest::newRow("edit text of a level-1 alert") << 1 << 1 << QList<int> {0, 1, 0};
    QTest::newRow("move alert from level 0 to 2") << 0 << 2 << QList<int> {1, 0, 1};
    QTest::newRow("move alert from level 1 to all") << 1 << 3 << QList<int> {1, 1, 1};
    QTest::newRow("delete a level-2 alert") << 2 << -1 << QList<int> {0, 0, 1};
    QTest::newRow("delete an alert for all") << 3 << -1 << QList<int> {1, 1, 1};
}

void TestChangeCounters::editAndDeleteMoveRefreshCounters()
{
    QFETCH(int, publishedLevel);
    QFETCH(int, editedLevel);
    QFETCH(QList<int>, moved);

    setFiltering(true);
    const qint64 id = ContentStore::publish(*m_db, Content::Alert, alertEntry(publishedLevel));
    const QList<int> addBefore = itemAtEveryLevel(GptjAdd);
    if (editedLevel < 0) {
        ContentStore::remove(*m_db, Content::Alert, id);
    } else {
        ContentStore::EntryChange change;
        change.level = editedLevel;
        change.fields = {{QStringLiteral("czly"), QStringLiteral("新的理由")}};
        ContentStore::edit(*m_db, Content::Alert, id, change);
    }
    QCOMPARE(itemAtEveryLevel(GptjSx), moved);
    QCOMPARE(itemAtEveryLevel(GptjAdd), addBefore);
}

void TestChangeCounters::titlesSurviveTheClientSplit_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("plain Chinese") << QStringLiteral("十二月私募仓位观察");
    QTest::newRow("with blanks") << QStringLiteral("私募周报 第49周 ");
    QTest::newRow("with comma") << QStringLiteral("上涨,下跌");
    QTest::newRow("with quotes") << QStringLiteral("\"绝密\"内参 \"\"");
    QTest::newRow("starts with a quote") << QStringLiteral("\"x");
    QTest::newRow("with tab and line break") << QStringLiteral("第一行\t\n第二行");
    QTest::newRow("empty") << QString();
    QTest::newRow("only a blank") << QStringLiteral(" ");
}

void TestChangeCounters::titlesSurviveTheClientSplit()
{
    QFETCH(QString, title);
    const QDateTime first(QDate(2026, 12, 8), QTime(9, 30, 5));
    const QDateTime second(QDate(2026, 12, 7), QTime(23, 59, 59));
    ContentStore::publish(*m_db, Content::Bulletin, bulletinEntry(1, 3, title, first));
    ContentStore::publish(*m_db, Content::Bulletin,
                          bulletinEntry(2, 3, title + QStringLiteral(",二"), second));
    ContentStore::publish(*m_db, Content::LiveInfo,
                          {3,
                           first,
                           {{QStringLiteral("zxlx"), QStringLiteral("a")},
                            {QStringLiteral("zxnr"), QStringLiteral("b")}},
                           0});

    const QString text = ChangeCounters::counterText(*m_db, 1);
    const QStringList items = SoapTestClient::splitCounterText(text);
    QCOMPARE(items.size(), 14);
    QCOMPARE(items.at(SmncDate) + QLatin1Char(' ') + items.at(SmncTime),
             QStringLiteral("2026-12-08 09:30:05"));
    QCOMPARE(items.at(SmncTitle), title);
    QCOMPARE(items.at(SmjmDate) + QLatin1Char(' ') + items.at(SmjmTime),
             QStringLiteral("2026-12-07 23:59:59"));
    QCOMPARE(items.at(SmjmTitle), title + QStringLiteral(",二"));
    QCOMPARE(items.at(SmncAdd), QStringLiteral("1"));
    QCOMPARE(items.at(SmjmAdd), QStringLiteral("1"));
    QCOMPARE(items.at(SpzxAdd), QStringLiteral("1"));
    QCOMPARE(items.at(SpzxSx), QStringLiteral("0"));
}

void TestChangeCounters::newestVisibleBulletinPerLevel()
{
    setFiltering(true);
    const QDateTime time(QDate(2026, 12, 8), QTime(8, 0));
    ContentStore::publish(*m_db, Content::Bulletin,
                          bulletinEntry(1, 3, QStringLiteral("给所有人"), time));
    ContentStore::publish(*m_db, Content::Bulletin,
                          bulletinEntry(1, 2, QStringLiteral("仅VIP"), time.addSecs(60)));

    QCOMPARE(SoapTestClient::splitCounterText(ChangeCounters::counterText(*m_db, 2)).at(SmncTitle),
             QStringLiteral("仅VIP"));
    QCOMPARE(SoapTestClient::splitCounterText(ChangeCounters::counterText(*m_db, 0)).at(SmncTitle),
             QStringLiteral("给所有人"));
    setFiltering(false);
    QCOMPARE(SoapTestClient::splitCounterText(ChangeCounters::counterText(*m_db, 0)).at(SmncTitle),
             QStringLiteral("仅VIP"));
}

void TestChangeCounters::noBulletinYetKeepsPositions()
{
    const QStringList items =
        SoapTestClient::splitCounterText(ChangeCounters::counterText(*m_db, 0));
    QCOMPARE(items.size(), 14);
    QCOMPARE(items.at(SmncDate) + QLatin1Char(' ') + items.at(SmncTime),
             QStringLiteral("1900-01-01 00:00:00"));
    QCOMPARE(items.at(SmjmDate) + QLatin1Char(' ') + items.at(SmjmTime),
             QStringLiteral("1900-01-01 00:00:00"));
    for (Item counter : {GptjAdd, GptjSx, SmncAdd, SmncSx, SmjmAdd, SmjmSx, SpzxAdd, SpzxSx}) {
        bool isNumber = false;
        items.at(counter).toInt(&isNumber);
        QVERIFY2(isNumber, qPrintable(items.at(counter)));
    }
}

void TestChangeCounters::cacheSeesWritesOfOtherConnections()
{
    ChangeCounterCache cache(*m_db);
    const QString before = cache.text(1);
    QCOMPARE(cache.text(1), before);
    {
        // Another process publishing through its own connection.
        SqliteDatabase other(m_db->path());
        SqliteDatabase::Transaction transaction(other);
        ContentStore::publish(other, Content::Alert, alertEntry(1));
        transaction.commit();
    }
    const QString after = cache.text(1);
    QVERIFY(after != before);
    QCOMPARE(SoapTestClient::splitCounterText(after).at(GptjAdd).toInt(),
             SoapTestClient::splitCounterText(before).at(GptjAdd).toInt() + 1);
}

void TestChangeCounters::unknownLevelIsAnError()
{
    ChangeCounterCache cache(*m_db);
    QVERIFY_THROWS_EXCEPTION(ServerError, cache.text(3));
    QVERIFY_THROWS_EXCEPTION(ServerError, cache.text(-1));
}

QTEST_GUILESS_MAIN(TestChangeCounters)
#include "tst_server_counters.moc"
