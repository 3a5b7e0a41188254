#pragma once

#include "SoapTestClient.h"
#include "TestServer.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// Operator commands against the database of a running test server.
namespace ServerTestData {

// The time the tests' servers are fixed at (TestServer's fixedNow), so that "today" cannot
// change under a test at midnight.
inline const QDateTime FixedNow(QDate(2026, 12, 8), QTime(10, 30, 0));

// "yyyy-MM-dd hh:mm:ss" as the commands take it.
QString timeText(const QDateTime &time);

// Runs publish-alert and answers the new id (0 and a test failure when it fails).
qint64 publishAlert(TestServer &server, int level, const QDateTime &time,
                    const QString &code = QStringLiteral("600519"));
qint64 publishInfo(TestServer &server, int level, const QDateTime &time,
                   const QString &text = QStringLiteral("盘中提示"));

// The client's own statement texts (src/service/Statements), for the server tests: the level as
// a number, -1 for the variant without the level condition, and a date range with the texts
// that go between the #s as they are (so a test can send forms the client does not write).
QString alertsToday(int level);
QString latestAlerts(int level);
QString liveInfoToday(int level);
QString alertsInRange(int level, const QString &from, const QString &to);

// The "id" column of result rows, in their order.
QList<qint64> idsOf(const QList<ResultRow> &rows);

} // namespace ServerTestData
