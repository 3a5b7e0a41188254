#include "db/Schema.h"

#include "db/SqliteDatabase.h"

#include <QStringList>

namespace server {

namespace {

constexpr int SchemaVersion = 1;
// SQLite's mark of the application a file belongs to ("TDSK"). Files of the first schema version
// were made before it was set and are recognised by their tables.
constexpr qint64 ApplicationId = 0x5444534B;

const QString IdColumn = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
const QString TextColumn = QStringLiteral("TEXT");
// Times are stored as local "yyyy-MM-dd hh:mm:ss" text, which sorts and compares in time order.
const QString TimeColumn = QStringLiteral("TEXT NOT NULL");
const QString LevelColumn = QStringLiteral("INTEGER NOT NULL CHECK (XinXiDJ BETWEEN 0 AND 3)");

ColumnLayout text(const QString &name, const QString &definition = TextColumn)
{
    return {name, ValueKind::Text, definition};
}

TableLayout makeToolbar()
{
    TableLayout table {QStringLiteral("Sys_url"),
                       {{QStringLiteral("id"), ValueKind::Integer, IdColumn}}};
    for (const char *suffix : {"mc", "url", "xs"}) {
        for (int entry = 1; entry <= 11; ++entry)
            table.columns.append(
                text(QStringLiteral("an%1%2").arg(entry).arg(QLatin1String(suffix))));
    }
    return table;
}

TableLayout makeCounters()
{
    TableLayout table {
        QStringLiteral("ChangeCounters"),
        {{QStringLiteral("userdj"), ValueKind::Integer, QStringLiteral("INTEGER PRIMARY KEY")}}};
    for (const char *name :
         {"gptjadd", "gptjsx", "smncadd", "smncsx", "smjmadd", "smjmsx", "spzxadd", "spzxsx"}) {
        table.columns.append({QLatin1String(name), ValueKind::Integer,
                              QStringLiteral("INTEGER NOT NULL DEFAULT 0")});
    }
    return table;
}

} // namespace

QString TableLayout::createStatement() const
{
    QStringList parts;
    for (const ColumnLayout &c : columns)
        parts.append(c.name + QLatin1Char(' ') + c.definition);
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
        .arg(name, parts.join(QStringLiteral(", ")));
}

QString TableLayout::columnList() const
{
    QStringList names;
    for (const ColumnLayout &c : columns)
        names.append(c.name);
    return names.join(QStringLiteral(", "));
}

const ColumnLayout *TableLayout::column(const QString &columnName) const
{
    for (const ColumnLayout &c : columns) {
        if (c.name == columnName)
            return &c;
    }
    return nullptr;
}

namespace Schema {

const TableLayout &accounts()
{
    // SQLite compares text byte for byte by default, which is StrComp(a,b,0)=0.
    static const TableLayout table {
        QStringLiteral("UserTable"),
        {{QStringLiteral("id"), ValueKind::Integer, IdColumn},
         text(QStringLiteral("username"), QStringLiteral("TEXT NOT NULL UNIQUE")),
         text(QStringLiteral("userpas"), QStringLiteral("TEXT NOT NULL")),
         {QStringLiteral("UserDJ"), ValueKind::Integer,
          QStringLiteral("INTEGER NOT NULL CHECK (UserDJ BETWEEN 0 AND 2)")}}};
    return table;
}

const TableLayout &applications()
{
    static const TableLayout table {
        QStringLiteral("NewUser"),
        {{QStringLiteral("id"), ValueKind::Integer, IdColumn},
         text(QStringLiteral("usetrname"), QStringLiteral("TEXT NOT NULL UNIQUE")),
         text(QStringLiteral("zcmm")),
         {QStringLiteral("zhucetime"), ValueKind::Date, TextColumn},
         text(QStringLiteral("shouji"))}};
    return table;
}

const TableLayout &logins()
{
    static const TableLayout table {
        QStringLiteral("userdl"),
        {{QStringLiteral("userid"), ValueKind::Integer, QStringLiteral("INTEGER PRIMARY KEY")},
         text(QStringLiteral("userzh")),
         text(QStringLiteral("userpas")),
         {QStringLiteral("userdlsj"), ValueKind::DateTime, TextColumn},
         text(QStringLiteral("userdlip"))}};
    return table;
}

const TableLayout &toolbar()
{
    static const TableLayout table = makeToolbar();
    return table;
}

const TableLayout &configuration()
{
    static const TableLayout table {QStringLiteral("Sys_pz"),
                                    {{QStringLiteral("id"), ValueKind::Integer, IdColumn},
                                     text(QStringLiteral("gpsysname")),
                                     text(QStringLiteral("syszjxx")),
                                     text(QStringLiteral("kfqq")),
                                     text(QStringLiteral("yhqyhyfj")),
                                     text(QStringLiteral("ifctzqd")),
                                     text(QStringLiteral("hqurl")),
                                     text(QStringLiteral("khdsxsj")),
                                     text(QStringLiteral("sytsxx"))}};
    return table;
}

const TableLayout &alerts()
{
    static const TableLayout table {QStringLiteral("Tuijiangupiao"),
                                    {{QStringLiteral("id"), ValueKind::Integer, IdColumn},
                                     {QStringLiteral("XinXiDJ"), ValueKind::Integer, LevelColumn},
                                     {QStringLiteral("nowtime"), ValueKind::DateTime, TimeColumn},
                                     text(QStringLiteral("gupiaodaima")),
                                     text(QStringLiteral("jg")),
                                     text(QStringLiteral("czfs")),
                                     text(QStringLiteral("czly"))}};
    return table;
}

const TableLayout &liveInfo()
{
    static const TableLayout table {QStringLiteral("spzx"),
                                    {{QStringLiteral("id"), ValueKind::Integer, IdColumn},
                                     {QStringLiteral("XinXiDJ"), ValueKind::Integer, LevelColumn},
                                     {QStringLiteral("nowtime"), ValueKind::DateTime, TimeColumn},
                                     text(QStringLiteral("zxlx")),
                                     text(QStringLiteral("zxnr"))}};
    return table;
}

const TableLayout &bulletins()
{
    static const TableLayout table {QStringLiteral("GongGao"),
                                    {{QStringLiteral("id"), ValueKind::Integer, IdColumn},
                                     {QStringLiteral("kind"), ValueKind::Integer,
                                      QStringLiteral("INTEGER NOT NULL CHECK (kind IN (1, 2))")},
                                     {QStringLiteral("XinXiDJ"), ValueKind::Integer, LevelColumn},
                                     {QStringLiteral("nowtime"), ValueKind::DateTime, TimeColumn},
                                     text(QStringLiteral("title"), QStringLiteral("TEXT NOT NULL")),
                                     text(QStringLiteral("body"))}};
    return table;
}

const TableLayout &changeCounters()
{
    static const TableLayout table = makeCounters();
    return table;
}

namespace {

qint64 pragmaValue(SqliteDatabase &db, const char *name)
{
    return db.scalar(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))).toLongLong();
}

bool isCurrent(SqliteDatabase &db)
{
    return pragmaValue(db, "application_id") == ApplicationId
        && pragmaValue(db, "user_version") >= SchemaVersion;
}

void createTables(SqliteDatabase &db)
{
    for (const TableLayout *table :
         {&accounts(), &applications(), &logins(), &toolbar(), &configuration(), &alerts(),
          &liveInfo(), &bulletins(), &changeCounters()}) {
        db.run(table->createStatement());
    }
    db.run(QStringLiteral(
        "CREATE INDEX IF NOT EXISTS Tuijiangupiao_nowtime ON Tuijiangupiao (nowtime)"));
    db.run(QStringLiteral("CREATE INDEX IF NOT EXISTS spzx_nowtime ON spzx (nowtime)"));
    db.run(QStringLiteral("CREATE INDEX IF NOT EXISTS GongGao_kind ON GongGao (kind, id)"));
    for (int level = 0; level < UserLevelCount; ++level)
        db.run(QStringLiteral("INSERT OR IGNORE INTO ChangeCounters (userdj) VALUES (?)"), {level});
    db.run(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId));
    db.run(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
}

// Refuses a file that is not (yet) a TipDesk database, unless it is new or the operator asked.
void checkOwnership(SqliteDatabase &db, ForeignFile foreign)
{
    const qint64 applicationId = pragmaValue(db, "application_id");
    if (applicationId == ApplicationId)
        return;
    if (applicationId != 0) {
        throw ServerError(QStringLiteral("%1 is not a TipDesk database: it belongs to another "
                                         "application (application id %2); nothing was changed")
                              .arg(db.path())
                              .arg(applicationId));
    }
    const int tables = db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master")).toInt();
    const int ours = db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = "
                                              "'table' AND name IN ('UserTable', "
                                              "'ChangeCounters')"))
                         .toInt();
    const bool firstVersion = pragmaValue(db, "user_version") == 1 && ours == 2;
    if (tables == 0 || firstVersion || foreign == ForeignFile::AddTables)
        return;
    throw ServerError(QStringLiteral("%1 is not a TipDesk database: it holds other tables; "
                                     "nothing was changed (`tipdesk-server seed --db FILE` adds "
                                     "TipDesk's tables to it)")
                          .arg(db.path()));
}

} // namespace

void ensure(SqliteDatabase &db, ForeignFile foreign)
{
    if (!isCurrent(db)) {
        SqliteDatabase::Transaction transaction(db);
        // Another process may have created it while this one waited for the write lock.
        if (!isCurrent(db)) {
            checkOwnership(db, foreign);
            createTables(db);
        }
        transaction.commit();
    }
    // WAL lets the server read while a command writes. The mode stays with the file, so this
    // changes something only in a new file (or one restored without it).
    if (db.scalar(QStringLiteral("PRAGMA journal_mode")).toString() != u"wal")
        db.executeScript(QStringLiteral("PRAGMA journal_mode=WAL;"));
}

} // namespace Schema

} // namespace server
