#include "db/Schema.h"

#include "db/SqliteDatabase.h"

#include <QStringList>

namespace server {

namespace {

constexpr int SchemaVersion = 1;

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

void ensure(SqliteDatabase &db)
{
    if (db.scalar(QStringLiteral("PRAGMA user_version")).toInt() >= SchemaVersion)
        return;
    SqliteDatabase::Transaction transaction(db);
    // Another process may have created it while this one waited for the write lock.
    if (db.scalar(QStringLiteral("PRAGMA user_version")).toInt() >= SchemaVersion)
        return;
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
    db.run(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    transaction.commit();
}

} // namespace Schema

} // namespace server
