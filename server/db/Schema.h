#pragma once

#include <QList>
#include <QString>

namespace server {

class SqliteDatabase;

// How a column's value is written into a result document.
enum class ValueKind { Integer, Text, DateTime, Date };

struct ColumnLayout
{
    QString name;
    ValueKind kind;
    QString definition; // SQL type and constraints
};

// A table of the operator's database. Its column order is the order of `select *`.
struct TableLayout
{
    QString name;
    QList<ColumnLayout> columns;

    QString createStatement() const;
    QString columnList() const; // "a, b, c" for the server's own selects
    const ColumnLayout *column(const QString &columnName) const;
};

namespace Schema {

const TableLayout &accounts(); // UserTable
const TableLayout &applications(); // NewUser
const TableLayout &logins(); // userdl
const TableLayout &toolbar(); // Sys_url
const TableLayout &configuration(); // Sys_pz, answered by hqSys_pz
const TableLayout &alerts(); // Tuijiangupiao
const TableLayout &liveInfo(); // spzx
const TableLayout &bulletins(); // GongGao, both kinds
const TableLayout &changeCounters(); // one row per user level

// The user levels the change counters are kept for; level 3 marks content for all of them.
inline constexpr int UserLevelCount = 3;
inline constexpr int AllLevels = 3;

// What to do with a file that holds tables, but not TipDesk's.
enum class ForeignFile {
    Refuse, // fail with a clear message, changing nothing
    AddTables, // the operator asked for it (seed): TipDesk's tables go in beside the others
};

// Creates whatever is missing (tables, indexes, the counter rows) in a new file or a TipDesk
// database; cheap when all is there. A file of another application is never changed (its
// application id is not TipDesk's); one that holds other tables only when asked.
void ensure(SqliteDatabase &db, ForeignFile foreign = ForeignFile::Refuse);

} // namespace Schema

} // namespace server
