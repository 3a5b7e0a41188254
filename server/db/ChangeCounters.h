#pragma once

#include <QList>
#include <QString>

#include <array>

namespace server {

class SqliteDatabase;

// The per-level change counters the client polls with ifchangetable: an "add" counter that
// moves when an entry visible to the level is published and an "sx" counter that moves when
// such an entry is edited or deleted, for alerts, live items and the two bulletin kinds.
namespace ChangeCounters {

enum class Kind { Alerts, LiveInfo, FirstBulletins, SecondBulletins };

// The user levels (0, 1, 2) that see an entry of the given level (0..3).
QList<int> levelsSeeing(int entryLevel, bool levelFilteringOn);

void moveAdded(SqliteDatabase &db, Kind kind, const QList<int> &levels);
void moveChanged(SqliteDatabase &db, Kind kind, const QList<int> &levels);

// A bulletin title as one item of the counter text: in double quotes, inner quotes doubled,
// when it is empty or holds a blank, comma, double quote or control character.
QString counterItem(const QString &title);

// The twelve comma-separated values for a user level (0..2):
// gptjadd,gptjsx,smncadd,smncsx,smncaddsj,smncaddbt,smjmadd,smjmsx,smjmaddsj,smjmaddbt,spzxadd,spzxsx
QString counterText(SqliteDatabase &db, int userLevel);

} // namespace ChangeCounters

// counterText() for the busiest operation: remembers each level's text until the database
// changes (in this connection or in any other process).
class ChangeCounterCache final
{
public:
    explicit ChangeCounterCache(SqliteDatabase &db) : m_db(db) { }
    QString text(int userLevel);

private:
    SqliteDatabase &m_db;
    qint64 m_dataVersion = -1;
    qint64 m_totalChanges = -1;
    std::array<QString, 3> m_texts;
};

} // namespace server
