#include "db/ChangeCounters.h"

#include "db/Configuration.h"
#include "db/Schema.h"
#include "db/SqliteDatabase.h"

namespace server {

namespace ChangeCounters {

namespace {

// When no bulletin of a kind exists yet the time must still be a date and a time, or the
// client's positional split would shift every later value.
const QString NoBulletinTime = QStringLiteral("1900-01-01 00:00:00");

QString prefix(Kind kind)
{
    switch (kind) {
    case Kind::Alerts:
        return QStringLiteral("gptj");
    case Kind::LiveInfo:
        return QStringLiteral("spzx");
    case Kind::FirstBulletins:
        return QStringLiteral("smnc");
    case Kind::SecondBulletins:
        return QStringLiteral("smjm");
    }
    return {};
}

void move(SqliteDatabase &db, const QString &column, const QList<int> &levels)
{
    const QString sql =
        QStringLiteral("UPDATE ChangeCounters SET %1 = %1 + 1 WHERE userdj = ?").arg(column);
    for (int level : levels)
        db.run(sql, {level});
}

// Time and title of the newest bulletin of a kind that the level sees.
QString newestBulletinItems(SqliteDatabase &db, int bulletinKind, int userLevel, bool filtering)
{
    const QList<SqlRow> rows = filtering
        ? db.query(QStringLiteral("SELECT nowtime, title FROM GongGao WHERE kind = ? AND "
                                  "(XinXiDJ = ? OR XinXiDJ = 3) ORDER BY id DESC LIMIT 1"),
                   {bulletinKind, userLevel})
        : db.query(QStringLiteral("SELECT nowtime, title FROM GongGao WHERE kind = ? "
                                  "ORDER BY id DESC LIMIT 1"),
                   {bulletinKind});
    if (rows.isEmpty())
        return NoBulletinTime + QStringLiteral(",\"\"");
    return rows.first().at(0).toString().left(19) + QLatin1Char(',')
        + counterItem(rows.first().at(1).toString());
}

} // namespace

QList<int> levelsSeeing(int entryLevel, bool levelFilteringOn)
{
    QList<int> levels;
    for (int level = 0; level < Schema::UserLevelCount; ++level) {
        if (!levelFilteringOn || entryLevel == Schema::AllLevels || entryLevel == level)
            levels.append(level);
    }
    return levels;
}

void moveAdded(SqliteDatabase &db, Kind kind, const QList<int> &levels)
{
    move(db, prefix(kind) + QStringLiteral("add"), levels);
}

void moveChanged(SqliteDatabase &db, Kind kind, const QList<int> &levels)
{
    move(db, prefix(kind) + QStringLiteral("sx"), levels);
}

QString counterItem(const QString &title)
{
    bool needsQuotes = title.isEmpty();
    for (const QChar c : title) {
        if (c.unicode() <= 32 || c == QLatin1Char(',') || c == QLatin1Char('"')
            || c.unicode() == 127) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes)
        return title;
    QString quoted = title;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString counterText(SqliteDatabase &db, int userLevel)
{
    if (userLevel < 0 || userLevel >= Schema::UserLevelCount)
        throw ServerError(QStringLiteral("Unknown user level %1.").arg(userLevel));
    // Counters and bulletin titles from one snapshot, so a publish is never seen half.
    SqliteDatabase::ReadSnapshot snapshot(db);
    const QList<SqlRow> rows = db.query(
        QStringLiteral("SELECT gptjadd, gptjsx, smncadd, smncsx, smjmadd, smjmsx, spzxadd, spzxsx "
                       "FROM ChangeCounters WHERE userdj = ?"),
        {userLevel});
    if (rows.isEmpty())
        throw ServerError(QStringLiteral("The change counters are missing."));
    const SqlRow &c = rows.first();
    const bool filtering = Configuration::levelFilteringOn(db);
    const QChar comma = QLatin1Char(',');
    return c.at(0).toString() + comma + c.at(1).toString() + comma + c.at(2).toString() + comma
        + c.at(3).toString() + comma + newestBulletinItems(db, 1, userLevel, filtering) + comma
        + c.at(4).toString() + comma + c.at(5).toString() + comma
        + newestBulletinItems(db, 2, userLevel, filtering) + comma + c.at(6).toString() + comma
        + c.at(7).toString();
}

} // namespace ChangeCounters

QString ChangeCounterCache::text(int userLevel)
{
    const qint64 version = m_db.dataVersion();
    const qint64 changes = m_db.totalChanges();
    if (version != m_dataVersion || changes != m_totalChanges) {
        m_texts.fill(QString());
        m_dataVersion = version;
        m_totalChanges = changes;
    }
    if (userLevel < 0 || userLevel >= int(m_texts.size()))
        return ChangeCounters::counterText(m_db, userLevel); // raises the clear error
    QString &cached = m_texts[userLevel];
    if (cached.isNull())
        cached = ChangeCounters::counterText(m_db, userLevel);
    return cached;
}

} // namespace server
