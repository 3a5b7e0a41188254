#pragma once

#include "db/ChangeCounters.h"
#include "statements/StatementFirewall.h"
#include "statements/StatementRunner.h"

#include <QString>

namespace server {

class SqliteDatabase;

// The ten operations of WebServiceSoap against the operator's database. A missing string
// parameter arrives as a null QString, a missing number as 0, as an ASMX service sees them.
// Failures raise ServerError; the SOAP layer turns them into faults.
class WebService final
{
public:
    explicit WebService(SqliteDatabase &db);

    static double addition(double i, double j);
    QString yanzheng(const QString &username, const QString &userpass);
    // caller: the caller's address, which the quota of account applications counts by.
    QString zhixing(const QString &sql, const QString &caller);
    static double jian(double i, double j);
    QString hqSys_pz();
    QString hqdlyhxx(const QString &username, const QString &userpass);
    int hqsfczjl(const QString &strsql);
    QString hqsametable(const QString &strsql);
    QString ifchangetable(int userdj);
    QString hqdlsj(const QString &userid);

private:
    MatchedStatement allowed(const QString &sql) const;

    SqliteDatabase &m_db;
    StatementFirewall m_firewall;
    StatementRunner m_runner;
    ChangeCounterCache m_counters;
};

} // namespace server
