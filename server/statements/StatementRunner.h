#pragma once

#include "statements/ApplicationQuota.h"
#include "statements/StatementFirewall.h"

#include <QString>

namespace server {

class SqliteDatabase;

// Runs a statement the firewall recognised as the server's own parameterised SQLite statement,
// reproducing the Jet meaning of the client's text: datediff("d",nowtime,Date())=0 is the
// server's current calendar day, top 30 the first 30 rows, #date# the start of that day,
// StrComp(a,b,0)=0 exact equality, now() and date() the server's clock at write time.
class StatementRunner final
{
public:
    explicit StatementRunner(SqliteDatabase &db) : m_db(db) { }

    // A Rows statement's answer as a result document.
    QString rowsDocument(const MatchedStatement &statement);
    // How many rows a Rows or Count statement finds.
    int rowCount(const MatchedStatement &statement);
    // Runs a Write statement from the caller's address: true when it ran, false when the
    // database refused it (a duplicate key, a value longer than any real one, a login row for
    // no account, an application beyond the quota).
    bool write(const MatchedStatement &statement, const QString &caller);

    // Pending applications at most, from all callers together.
    static constexpr int MaxPendingApplications = 1000;

private:
    struct ServerQuery;
    static ServerQuery queryFor(const MatchedStatement &statement);
    void runWrite(const MatchedStatement &statement, const QString &caller);
    void checkApplication(const MatchedStatement &statement, const QString &caller);

    SqliteDatabase &m_db;
    ApplicationQuota m_quota;
};

} // namespace server
