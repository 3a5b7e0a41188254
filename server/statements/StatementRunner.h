#pragma once

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
    // Runs a Write statement: true when it ran, false when the database refused it.
    bool write(const MatchedStatement &statement);

private:
    struct ServerQuery;
    static ServerQuery queryFor(const MatchedStatement &statement);
    void runWrite(const MatchedStatement &statement);

    SqliteDatabase &m_db;
};

} // namespace server
