#pragma once

#include <QString>
#include <QStringList>

namespace server {

class SqliteDatabase;

// The demo database: Chinese configuration and toolbar, accounts of every level, alerts today
// and yesterday, live items today and on earlier days, two bulletins of each kind, none of them
// later than the server's clock. The caller holds the transaction.
namespace DemoSeed {

// baseUrl is the server's own address ending in "/", used for the toolbar pages.
// Refuses a database that already holds accounts or content.
void fill(SqliteDatabase &db, const QString &baseUrl);

// One line per demo account: name and level, never a password.
QStringList accountSummary();

} // namespace DemoSeed

} // namespace server
