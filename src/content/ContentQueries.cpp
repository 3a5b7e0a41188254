#include "content/ContentQueries.h"

#include "app/UnitGlouble.h"
#include "service/ResultDocument.h"
#include "service/Statements.h"
#include "service/WebService.h"

namespace ContentQueries {

namespace {
GridRows query(const QString &sql, const RowFormat &format)
{
    return rowsInFormat(ResultDocument::parse(NewServiceProxy()->hqsametable(sql)), format);
}
} // namespace

GridRows todaysAlerts()
{
    return query(Statements::todaysAlerts(yhqyhyfj, UserDJ), alertRowFormat());
}

GridRows latestAlerts()
{
    return query(Statements::latestAlerts(yhqyhyfj, UserDJ), alertRowFormat());
}

GridRows alertsBetween(const QDate &from, const QDate &to)
{
    return query(Statements::alertsBetween(yhqyhyfj, UserDJ, from, to), alertRowFormat());
}

GridRows todaysLiveItems()
{
    return query(Statements::todaysLiveItems(yhqyhyfj, UserDJ), liveInfoRowFormat());
}

} // namespace ContentQueries
