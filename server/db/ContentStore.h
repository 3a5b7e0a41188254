#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

namespace server {

class SqliteDatabase;

// What the operators publish: alerts (Tuijiangupiao), live-trading items (spzx) and bulletins of
// two kinds (GongGao). Every write moves the change counters of the levels that see the entry.
// The caller holds the transaction.
namespace ContentStore {

enum class Content { Alert, LiveInfo, Bulletin };

// Column name and text, e.g. {"gupiaodaima", "600519"}.
using Fields = QList<QPair<QString, QString>>;

struct NewEntry
{
    int level = 3; // XinXiDJ: 0, 1, 2, or 3 for every level
    QDateTime time; // nowtime, local
    Fields fields;
    int bulletinKind = 0; // 1 or 2 for bulletins
};

struct EntryChange
{
    std::optional<int> level;
    std::optional<QDateTime> time;
    Fields fields;
};

qint64 publish(SqliteDatabase &db, Content content, const NewEntry &entry);
void edit(SqliteDatabase &db, Content content, qint64 id, const EntryChange &change);
void remove(SqliteDatabase &db, Content content, qint64 id);

// Refuses texts that could not travel in XML (control characters other than tab, CR, LF).
void checkText(const QString &what, const QString &text);

} // namespace ContentStore

} // namespace server
