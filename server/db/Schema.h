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

// Creates whatever is missing (tables, indexes, the counter rows); cheap when all is there.
void ensure(SqliteDatabase &db);

} // namespace Schema

} // namespace server
