#include "soap/WebService.h"

#include "db/Accounts.h"
#include "db/Schema.h"
#include "db/SqliteDatabase.h"
#include "soap/ResultDocument.h"

namespace server {

WebService::WebService(SqliteDatabase &db) : m_db(db), m_runner(db), m_counters(db) { }

MatchedStatement WebService::allowed(const QString &sql) const
{
    std::optional<MatchedStatement> matched = m_firewall.match(sql);
    if (!matched)
        throw StatementRefused();
    return *matched;
}

double WebService::addition(double i, double j)
{
    return i + j;
}

QString WebService::yanzheng(const QString &username, const QString &userpass)
{
    return Accounts::verify(m_db, username, userpass) ? QStringLiteral("True")
                                                      : QStringLiteral("False");
}

QString WebService::zhixing(const QString &sql, const QString &caller)
{
    return m_runner.write(allowed(sql), caller) ? QStringLiteral("true") : QStringLiteral("false");
}

double WebService::jian(double i, double j)
{
    return i - j;
}

QString WebService::hqSys_pz()
{
    const TableLayout &table = Schema::configuration();
    return ResultDocument::write(
        table,
        m_db.query(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY id").arg(table.columnList(), table.name)));
}

QString WebService::hqdlyhxx(const QString &username, const QString &userpass)
{
    return ResultDocument::write(Schema::accounts(), Accounts::record(m_db, username, userpass));
}

int WebService::hqsfczjl(const QString &strsql)
{
    return m_runner.rowCount(allowed(strsql));
}

QString WebService::hqsametable(const QString &strsql)
{
    return m_runner.rowsDocument(allowed(strsql));
}

QString WebService::ifchangetable(int userdj)
{
    return m_counters.text(userdj);
}

QString WebService::hqdlsj(const QString &userid)
{
    bool isNumber = false;
    const qint64 id = userid.trimmed().toLongLong(&isNumber);
    return isNumber ? Accounts::loginStamp(m_db, id) : QString();
}

} // namespace server
