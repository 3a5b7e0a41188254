#pragma once

#include "db/SqliteDatabase.h"

#include <QString>

namespace server {

// User accounts (UserTable), pending applications (NewUser) and login rows (userdl).
// Names and passwords compare exactly and case-sensitively. The caller holds any transaction.
namespace Accounts {

qint64 add(SqliteDatabase &db, const QString &name, const QString &password, int level);
bool verify(SqliteDatabase &db, const QString &name, const QString &password);
// The account row (all UserTable columns) of that name and password, or no row.
QList<SqlRow> record(SqliteDatabase &db, const QString &name, const QString &password);

// Turns the pending application of that name into a level-0 account; answers the new id.
qint64 approve(SqliteDatabase &db, const QString &name);

// Rewrites the user's login row as another login would: a new time and another address.
void kick(SqliteDatabase &db, qint64 userId);

// id, username, UserDJ of every account.
QList<SqlRow> list(SqliteDatabase &db);
// userid, userzh, userdlsj, userdlip of every login row.
QList<SqlRow> loginRows(SqliteDatabase &db);

// userdlsj of the user's login row, empty text when there is none.
QString loginStamp(SqliteDatabase &db, qint64 userId);
// now() for a login row: the current time to the millisecond, and always later than the row's
// present stamp, so that every new login changes what hqdlsj answers.
QString nextLoginStamp(SqliteDatabase &db, qint64 userId);

} // namespace Accounts

} // namespace server
