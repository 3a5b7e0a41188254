#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace server {

class SqliteDatabase;
struct TableLayout;

// The system configuration record (answered by hqSys_pz) and the toolbar record (Sys_url):
// one row each, edited by the operator's `config` command.
namespace Configuration {

// The table a key belongs to, or nullptr for a key that is neither a configuration column
// nor a toolbar column.
const TableLayout *tableOfKey(const QString &key);

// Sets one column (text, or null for a null QVariant), creating the row when there is none.
void setValue(SqliteDatabase &db, const QString &key, const QVariant &value);
void deleteRecord(SqliteDatabase &db, const TableLayout &table);

// Both records as "key=value" lines, null columns left out; for the operator's eyes.
QStringList describe(SqliteDatabase &db);

// The boolean rule the client reads flags with: "True"/"False" in any letter case, or a number
// where 0 is false. Nothing for any other text.
std::optional<bool> readFlag(const QString &text);

// Whether content is filtered by user level (yhqyhyfj). It is on unless the flag reads false.
bool levelFilteringOn(SqliteDatabase &db);

} // namespace Configuration

} // namespace server
