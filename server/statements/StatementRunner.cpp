#include "statements/StatementRunner.h"

#include "db/Accounts.h"
#include "db/LocalTime.h"
#include "db/Schema.h"
#include "db/ServerClock.h"
#include "db/SqliteDatabase.h"
#include "soap/ResultDocument.h"

#include <QDate>
#include <QStringList>

namespace server {

struct StatementRunner::ServerQuery
{
    const TableLayout *table;
    QString condition; // WHERE ... ORDER BY ... LIMIT ..., with ? for the binds
    QVariantList binds;

    QString select() const
    {
        return QStringLiteral("SELECT %1 FROM %2 %3")
            .arg(table->columnList(), table->name, condition);
    }
};

namespace {

const QString NewestFirst = QStringLiteral(" ORDER BY id DESC");

// "WHERE a AND b", or nothing when there is no condition.
QString whereClause(const QStringList &conditions)
{
    return conditions.isEmpty()
        ? QString()
        : QStringLiteral("WHERE ") + conditions.join(QStringLiteral(" AND "));
}

// The level condition "(XinXiDJ=N or XinXiDJ=3)" of the filtered variants.
void addLevelCondition(const MatchedStatement &statement, QStringList &conditions,
                       QVariantList &binds)
{
    if (!statement.shape->levelFiltered)
        return;
    conditions.append(QStringLiteral("(XinXiDJ = ? OR XinXiDJ = 3)"));
    binds.append(statement.values.at(0));
}

// datediff("d", nowtime, Date()) = 0: from today's midnight up to tomorrow's, server local time.
void addTodayCondition(QStringList &conditions, QVariantList &binds)
{
    const QDate today = ServerClock::today();
    conditions.append(QStringLiteral("nowtime >= ? AND nowtime < ?"));
    binds.append(LocalTime::dayStartText(today));
    binds.append(LocalTime::dayStartText(today.addDays(1)));
}

} // namespace

StatementRunner::ServerQuery StatementRunner::queryFor(const MatchedStatement &statement)
{
    ServerQuery query {nullptr, {}, {}};
    QStringList conditions;
    switch (statement.shape->kind) {
    case StatementKind::ToolbarRecord:
        query.table = &Schema::toolbar();
        query.condition = QStringLiteral("ORDER BY id");
        break;
    case StatementKind::AlertsToday:
    case StatementKind::LiveInfoToday:
        query.table = statement.shape->kind == StatementKind::AlertsToday ? &Schema::alerts()
                                                                          : &Schema::liveInfo();
        addLevelCondition(statement, conditions, query.binds);
        addTodayCondition(conditions, query.binds);
        query.condition = whereClause(conditions) + NewestFirst;
        break;
    case StatementKind::LatestAlerts:
        query.table = &Schema::alerts();
        addLevelCondition(statement, conditions, query.binds);
        query.condition = whereClause(conditions) + NewestFirst + QStringLiteral(" LIMIT 30");
        break;
    case StatementKind::AlertsInRange: {
        query.table = &Schema::alerts();
        addLevelCondition(statement, conditions, query.binds);
        // Jet compares with the first moment of each #date#.
        const qsizetype first = statement.values.size() - 2;
        conditions.append(QStringLiteral("nowtime >= ? AND nowtime <= ?"));
        query.binds.append(LocalTime::dayStartText(statement.values.at(first).toDate()));
        query.binds.append(LocalTime::dayStartText(statement.values.at(first + 1).toDate()));
        query.condition = whereClause(conditions) + NewestFirst;
        break;
    }
    case StatementKind::LoginRowOfUser:
        query.table = &Schema::logins();
        query.condition = QStringLiteral("WHERE userid = ?");
        query.binds = statement.values;
        break;
    case StatementKind::AccountNamed:
        query.table = &Schema::accounts();
        query.condition = QStringLiteral("WHERE username = ?");
        query.binds = statement.values;
        break;
    case StatementKind::ApplicationNamed:
        query.table = &Schema::applications();
        query.condition = QStringLiteral("WHERE usetrname = ?");
        query.binds = statement.values;
        break;
    case StatementKind::InsertLoginRow:
    case StatementKind::UpdateLoginRow:
    case StatementKind::DeleteLoginRow:
    case StatementKind::ChangePassword:
    case StatementKind::InsertApplication:
        throw StatementRefused();
    }
    return query;
}

QString StatementRunner::rowsDocument(const MatchedStatement &statement)
{
    if (statement.shape->use != StatementUse::Rows)
        throw StatementRefused();
    const ServerQuery query = queryFor(statement);
    return ResultDocument::write(*query.table, m_db.query(query.select(), query.binds));
}

int StatementRunner::rowCount(const MatchedStatement &statement)
{
    if (statement.shape->use == StatementUse::Write)
        throw StatementRefused();
    const ServerQuery query = queryFor(statement);
    return m_db.scalar(QStringLiteral("SELECT count(*) FROM (%1)").arg(query.select()), query.binds)
        .toInt();
}

bool StatementRunner::write(const MatchedStatement &statement, const QString &caller)
{
    if (statement.shape->use != StatementUse::Write)
        throw StatementRefused();
    try {
        SqliteDatabase::Transaction transaction(m_db);
        runWrite(statement, caller);
        transaction.commit();
    } catch (const ConstraintError &) {
        return false;
    }
    if (statement.shape->kind == StatementKind::InsertApplication)
        m_quota.record(caller);
    return true;
}

void StatementRunner::checkApplication(const MatchedStatement &statement, const QString &caller)
{
    const QVariantList &v = statement.values; // usetrname, zcmm, shouji
    Accounts::checkLength(QStringLiteral("the user name"), v.at(0).toString(),
                          Accounts::MaxNameLength);
    Accounts::checkLength(QStringLiteral("the password"), v.at(1).toString(),
                          Accounts::MaxPasswordLength);
    Accounts::checkLength(QStringLiteral("the mobile number"), v.at(2).toString(),
                          Accounts::MaxMobileLength);
    if (!m_quota.allows(caller))
        throw ConstraintError(QStringLiteral("too many applications from this address"));
    if (m_db.scalar(QStringLiteral("SELECT count(*) FROM NewUser")).toInt()
        >= MaxPendingApplications)
        throw ConstraintError(QStringLiteral("too many pending applications"));
}

void StatementRunner::runWrite(const MatchedStatement &statement, const QString &caller)
{
    const QVariantList &v = statement.values;
    // The login-row statements carry name, password and address, in this order.
    const auto checkLoginValues = [&v](qsizetype first) {
        Accounts::checkLength(QStringLiteral("the user name"), v.at(first).toString(),
                              Accounts::MaxNameLength);
        Accounts::checkLength(QStringLiteral("the password"), v.at(first + 1).toString(),
                              Accounts::MaxPasswordLength);
        Accounts::checkLength(QStringLiteral("the address"), v.at(first + 2).toString(),
                              Accounts::MaxAddressLength);
    };
    switch (statement.shape->kind) {
    case StatementKind::InsertLoginRow: // userid, userzh, userpas, userdlip
        checkLoginValues(1);
        if (!Accounts::exists(m_db, v.at(0).toLongLong()))
            throw ConstraintError(
                QStringLiteral("there is no account %1").arg(v.at(0).toLongLong()));
        m_db.run(QStringLiteral("INSERT INTO userdl (userid, userzh, userpas, userdlsj, userdlip) "
                                "VALUES (?, ?, ?, ?, ?)"),
                 {v.at(0), v.at(1), v.at(2), Accounts::nextLoginStamp(m_db, v.at(0).toLongLong()),
                  v.at(3)});
        break;
    case StatementKind::UpdateLoginRow: // userzh, userpas, userdlip, userid
        checkLoginValues(0);
        m_db.run(
            QStringLiteral("UPDATE userdl SET userzh = ?, userpas = ?, userdlsj = ?, userdlip = ? "
                           "WHERE userid = ?"),
            {v.at(0), v.at(1), Accounts::nextLoginStamp(m_db, v.at(3).toLongLong()), v.at(2),
             v.at(3)});
        break;
    case StatementKind::DeleteLoginRow:
        m_db.run(QStringLiteral("DELETE FROM userdl WHERE userid = ?"), {v.at(0)});
        break;
    case StatementKind::ChangePassword: // userpas, id
        Accounts::checkLength(QStringLiteral("the password"), v.at(0).toString(),
                              Accounts::MaxPasswordLength);
        m_db.run(QStringLiteral("UPDATE UserTable SET userpas = ? WHERE id = ?"),
                 {v.at(0), v.at(1)});
        break;
    case StatementKind::InsertApplication: // usetrname, zcmm, shouji
        checkApplication(statement, caller);
        m_db.run(
            QStringLiteral(
                "INSERT INTO NewUser (usetrname, zcmm, zhucetime, shouji) VALUES (?, ?, ?, ?)"),
            {v.at(0), v.at(1), LocalTime::dateText(ServerClock::today()), v.at(2)});
        break;
    // Reads never come here (write() checks the use). No default: a new kind of statement must be
    // given its case, or this file does not compile (-Werror=switch).
    case StatementKind::ToolbarRecord:
    case StatementKind::AlertsToday:
    case StatementKind::LatestAlerts:
    case StatementKind::AlertsInRange:
    case StatementKind::LiveInfoToday:
    case StatementKind::LoginRowOfUser:
    case StatementKind::AccountNamed:
    case StatementKind::ApplicationNamed:
        throw StatementRefused();
    }
}

} // namespace server
