#include "db/ContentStore.h"

#include "db/ChangeCounters.h"
#include "db/Configuration.h"
#include "db/LocalTime.h"
#include "db/Schema.h"
#include "db/SqliteDatabase.h"

#include <QStringList>

namespace server {

namespace ContentStore {

namespace {

const TableLayout &tableOf(Content content)
{
    switch (content) {
    case Content::Alert:
        return Schema::alerts();
    case Content::LiveInfo:
        return Schema::liveInfo();
    case Content::Bulletin:
        break;
    }
    return Schema::bulletins();
}

QString entryName(Content content)
{
    switch (content) {
    case Content::Alert:
        return QStringLiteral("alert");
    case Content::LiveInfo:
        return QStringLiteral("live item");
    case Content::Bulletin:
        break;
    }
    return QStringLiteral("bulletin");
}

ChangeCounters::Kind counterKind(Content content, int bulletinKind)
{
    switch (content) {
    case Content::Alert:
        return ChangeCounters::Kind::Alerts;
    case Content::LiveInfo:
        return ChangeCounters::Kind::LiveInfo;
    case Content::Bulletin:
        break;
    }
    return bulletinKind == 1 ? ChangeCounters::Kind::FirstBulletins
                             : ChangeCounters::Kind::SecondBulletins;
}

void checkLevel(int level)
{
    if (level < 0 || level > Schema::AllLevels)
        throw ServerError(
            QStringLiteral("level must be 0, 1, 2 or 3 (3: every level), not %1").arg(level));
}

void checkFields(const TableLayout &table, const Fields &fields)
{
    for (const auto &[column, text] : fields) {
        // Column names come from the command table, never from the operator.
        Q_ASSERT(table.column(column));
        checkText(column, text);
    }
}

struct StoredEntry
{
    int level;
    int bulletinKind;
};

StoredEntry storedEntry(SqliteDatabase &db, Content content, qint64 id)
{
    const TableLayout &table = tableOf(content);
    const QString kindColumn =
        content == Content::Bulletin ? QStringLiteral("kind") : QStringLiteral("0");
    const QList<SqlRow> rows = db.query(
        QStringLiteral("SELECT XinXiDJ, %1 FROM %2 WHERE id = ?").arg(kindColumn, table.name),
        {id});
    if (rows.isEmpty())
        throw ServerError(
            QStringLiteral("there is no %1 with id %2").arg(entryName(content)).arg(id));
    return {rows.first().at(0).toInt(), rows.first().at(1).toInt()};
}

} // namespace

void checkText(const QString &what, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 32 && c != QLatin1Char('\t') && c != QLatin1Char('\n')
            && c != QLatin1Char('\r'))
            throw ServerError(QStringLiteral("%1 holds a control character").arg(what));
    }
}

qint64 publish(SqliteDatabase &db, Content content, const NewEntry &entry)
{
    const TableLayout &table = tableOf(content);
    checkLevel(entry.level);
    checkFields(table, entry.fields);
    if (content == Content::Bulletin && entry.bulletinKind != 1 && entry.bulletinKind != 2)
        throw ServerError(QStringLiteral("bulletin kind must be 1 or 2"));

    QStringList columns {QStringLiteral("XinXiDJ"), QStringLiteral("nowtime")};
    QVariantList values {entry.level, LocalTime::secondsText(entry.time)};
    if (content == Content::Bulletin) {
        columns.append(QStringLiteral("kind"));
        values.append(entry.bulletinKind);
    }
    for (const auto &[column, text] : entry.fields) {
        columns.append(column);
        values.append(text);
    }
    const QString placeholders =
        QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','));
    db.run(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
               .arg(table.name, columns.join(QLatin1Char(',')), placeholders),
           values);
    const qint64 id = db.lastInsertId();
    ChangeCounters::moveAdded(
        db, counterKind(content, entry.bulletinKind),
        ChangeCounters::levelsSeeing(entry.level, Configuration::levelFilteringOn(db)));
    return id;
}

void edit(SqliteDatabase &db, Content content, qint64 id, const EntryChange &change)
{
    const TableLayout &table = tableOf(content);
    const StoredEntry before = storedEntry(db, content, id);
    checkFields(table, change.fields);

    QStringList assignments;
    QVariantList values;
    if (change.level) {
        checkLevel(*change.level);
        assignments.append(QStringLiteral("XinXiDJ = ?"));
        values.append(*change.level);
    }
    if (change.time) {
        assignments.append(QStringLiteral("nowtime = ?"));
        values.append(LocalTime::secondsText(*change.time));
    }
    for (const auto &[column, text] : change.fields) {
        assignments.append(column + QStringLiteral(" = ?"));
        values.append(text);
    }
    if (assignments.isEmpty())
        throw ServerError(QStringLiteral("nothing to change: give at least one field"));
    values.append(id);
    db.run(QStringLiteral("UPDATE %1 SET %2 WHERE id = ?")
               .arg(table.name, assignments.join(QStringLiteral(", "))),
           values);

    // Levels that saw the entry before and levels that see it now must both refresh.
    const bool filtering = Configuration::levelFilteringOn(db);
    QList<int> levels = ChangeCounters::levelsSeeing(before.level, filtering);
    for (int level : ChangeCounters::levelsSeeing(change.level.value_or(before.level), filtering)) {
        if (!levels.contains(level))
            levels.append(level);
    }
    ChangeCounters::moveChanged(db, counterKind(content, before.bulletinKind), levels);
}

void remove(SqliteDatabase &db, Content content, qint64 id)
{
    const StoredEntry before = storedEntry(db, content, id);
    db.run(QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(tableOf(content).name), {id});
    ChangeCounters::moveChanged(
        db, counterKind(content, before.bulletinKind),
        ChangeCounters::levelsSeeing(before.level, Configuration::levelFilteringOn(db)));
}

} // namespace ContentStore

} // namespace server
