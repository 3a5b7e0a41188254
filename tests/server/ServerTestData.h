#pragma once

#include "TestServer.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

// Operator commands and read-only looks into the database of a running test server.
namespace ServerTestData {

// "yyyy-MM-dd hh:mm:ss" as the commands take it.
QString timeText(const QDateTime &time);

// Runs publish-alert and answers the new id (0 and a test failure when it fails).
qint64 publishAlert(TestServer &server, int level, const QDateTime &time,
                    const QString &code = QStringLiteral("600519"));
qint64 publishInfo(TestServer &server, int level, const QDateTime &time,
                   const QString &text = QStringLiteral("盘中提示"));

// A read-only QtSql connection to the server's file, closed when the object goes.
class ReadOnlyDatabase
{
public:
    explicit ReadOnlyDatabase(const QString &path);
    ~ReadOnlyDatabase();
    // The rows of a query, each as its values in column order.
    QList<QVariantList> rows(const QString &sql) const;
    QVariant value(const QString &sql) const;

private:
    QString m_connection;
};

} // namespace ServerTestData
