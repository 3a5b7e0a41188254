#pragma once

#include "db/SqliteDatabase.h"

#include <QString>

namespace server {

// User accounts (UserTable), pending applications (NewUser) and login rows (userdl).
// Names and passwords compare exactly and case-sensitively. The caller holds any transaction.
namespace Accounts {

// The longest values stored for accounts, applications and login rows. Real ones never come
// close; longer ones are refused, so that no caller can grow the database with them.
inline constexpr qsizetype MaxNameLength = 64;
inline constexpr qsizetype MaxPasswordLength = 128;
inline constexpr qsizetype MaxMobileLength = 32;
inline constexpr qsizetype MaxAddressLength = 64; // a login row's IP address
// Whether a name and password fit the bounds above, i.e. could belong to an account.
bool withinBounds(const QString &name, const QString &password);
// Raises ConstraintError when a text is longer than its bound; what names the value.
void checkLength(const QString &what, const QString &text, qsizetype maxLength);

qint64 add(SqliteDatabase &db, const QString &name, const QString &password, int level);
bool verify(SqliteDatabase &db, const QString &name, const QString &password);
// The account row (all UserTable columns) of that name and password, or no row.
QList<SqlRow> record(SqliteDatabase &db, const QString &name, const QString &password);

// Turns the pending application of that name into a level-0 account; answers the new id.
qint64 approve(SqliteDatabase &db, const QString &name);
// id, name, date and mobile number of every pending application (never its password).
QList<SqlRow> applications(SqliteDatabase &db);
// Removes the pending application of that name; answers false when there is none.
bool reject(SqliteDatabase &db, const QString &name);
// Removes every pending application; answers how many there were.
int rejectAll(SqliteDatabase &db);
bool exists(SqliteDatabase &db, qint64 userId);

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
