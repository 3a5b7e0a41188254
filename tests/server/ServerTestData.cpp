#include "ServerTestData.h"

#include "service/Statements.h"

#include <QTest>

namespace ServerTestData {

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

namespace {

// A failing command has already failed the test (see TestServer::command()).
qint64 publishedId(TestServer &server, const QString &command, const QStringList &arguments)
{
    return server.command(command, arguments).toLongLong();
}

} // namespace

qint64 publishAlert(TestServer &server, int level, const QDateTime &time, const QString &code)
{
    return publishedId(server, QStringLiteral("publish-alert"),
                       {QStringLiteral("--level"), QString::number(level), QStringLiteral("--code"),
                        code, QStringLiteral("--price"), QStringLiteral("12.34"),
                        QStringLiteral("--action"), QStringLiteral("买入"),
                        QStringLiteral("--reason"), QStringLiteral("放量突破"),
                        QStringLiteral("--time"), timeText(time)});
}

qint64 publishInfo(TestServer &server, int level, const QDateTime &time, const QString &text)
{
    return publishedId(server, QStringLiteral("publish-info"),
                       {QStringLiteral("--level"), QString::number(level), QStringLiteral("--type"),
                        QStringLiteral("提示"), QStringLiteral("--text"), text,
                        QStringLiteral("--time"), timeText(time)});
}

QString alertsToday(int level)
{
    return Statements::todaysAlerts(level >= 0, QString::number(level));
}

QString latestAlerts(int level)
{
    return Statements::latestAlerts(level >= 0, QString::number(level));
}

QString liveInfoToday(int level)
{
    return Statements::todaysLiveItems(level >= 0, QString::number(level));
}

QString alertsInRange(int level, const QString &from, const QString &to)
{
    // The client writes the day after `to` as the end; put the given texts in their places.
    const QDate placeholder(2000, 1, 1);
    return Statements::alertsBetween(level >= 0, QString::number(level), placeholder, placeholder)
        .replace(QStringLiteral("#2000-01-01#"), QLatin1Char('#') + from + QLatin1Char('#'))
        .replace(QStringLiteral("#2000-01-02#"), QLatin1Char('#') + to + QLatin1Char('#'));
}

QList<qint64> idsOf(const QList<ResultRow> &rows)
{
    QList<qint64> ids;
    for (const ResultRow &row : rows)
        ids.append(row.value(QStringLiteral("id")).toLongLong());
    return ids;
}

} // namespace ServerTestData
