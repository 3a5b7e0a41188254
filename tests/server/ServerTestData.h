#pragma once

#include "TestServer.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// Operator commands against the database of a running test server.
namespace ServerTestData {

// "yyyy-MM-dd hh:mm:ss" as the commands take it.
QString timeText(const QDateTime &time);

// Runs publish-alert and answers the new id (0 and a test failure when it fails).
qint64 publishAlert(TestServer &server, int level, const QDateTime &time,
                    const QString &code = QStringLiteral("600519"));
qint64 publishInfo(TestServer &server, int level, const QDateTime &time,
                   const QString &text = QStringLiteral("盘中提示"));

} // namespace ServerTestData
