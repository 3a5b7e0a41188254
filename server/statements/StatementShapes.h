#pragma once

#include <QList>
#include <QString>

namespace server {

// Every SQL text the client sends, as the shape the statement firewall accepts.
enum class StatementKind {
    ToolbarRecord,
    AlertsToday,
    LatestAlerts,
    AlertsInRange,
    LiveInfoToday,
    LoginRowOfUser,
    AccountNamed,
    ApplicationNamed,
    InsertLoginRow,
    UpdateLoginRow,
    DeleteLoginRow,
    ChangePassword,
    InsertApplication,
};

// Which operation may carry a statement: hqsametable takes Rows, hqsfczjl takes Rows and Count,
// zhixing takes Write.
enum class StatementUse { Rows, Count, Write };

struct StatementShape
{
    StatementKind kind;
    StatementUse use;
    bool levelFiltered; // has the "(XinXiDJ=" ... " or XinXiDJ=3)" condition
    // The exact text, blanks included, with slots for the values:
    // {level} and {id} a bare decimal integer, {text} the inside of a quoted literal,
    // {date} the inside of a #...# literal.
    QString text;
};

const QList<StatementShape> &statementShapes();

} // namespace server
