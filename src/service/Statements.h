#pragma once

#include <QDate>
#include <QString>

// Every SQL text the client sends, in one place. The fixed fragments are part of the wire format
// (the operator's server and its statement checks expect them blank for blank); every value placed
// between single quotes goes through sqlQuoted().
namespace Statements {

// Toolbar record.
QString toolbarRecord();

// Login record of one user (userid is written bare).
QString loginRowCount(const QString &userid);
QString insertLoginRow(const QString &userid, const QString &name, const QString &password,
                       const QString &ip);
QString updateLoginRow(const QString &userid, const QString &name, const QString &password,
                       const QString &ip);
QString deleteLoginRow(const QString &userid);

// Content queries; with level filtering on, rows of the user's level or level 3.
QString todaysAlerts(bool levelFilter, const QString &userLevel);
QString latestAlerts(bool levelFilter, const QString &userLevel);
QString todaysLiveItems(bool levelFilter, const QString &userLevel);
// Alerts from the start of `from` up to the start of the day after `to`. Dates are written
// yyyy-mm-dd, which the server reads the same way whatever its locale.
QString alertsBetween(bool levelFilter, const QString &userLevel, const QDate &from,
                      const QDate &to);

// Password change.
QString changePassword(const QString &newPassword, const QString &userid);

// Account application.
QString accountNameCount(const QString &name);
QString pendingApplicationCount(const QString &name);
QString insertApplication(const QString &name, const QString &password, const QString &mobile);

} // namespace Statements
