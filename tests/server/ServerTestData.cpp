#include "ServerTestData.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>

namespace ServerTestData {

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

namespace {

qint64 publishedId(TestServer &server, const QString &command, const QStringList &arguments)
{
    const QString output = server.command(command, arguments);
    if (!server.lastCommandOk()) {
        QTest::qFail(qPrintable(command + QStringLiteral(" failed: ") + server.lastCommandError()),
                     __FILE__, __LINE__);
        return 0;
    }
    return output.toLongLong();
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

ReadOnlyDatabase::ReadOnlyDatabase(const QString &path)
    : m_connection(QUuid::createUuid().toString())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open())
        QTest::qFail(qPrintable(db.lastError().text()), __FILE__, __LINE__);
}

ReadOnlyDatabase::~ReadOnlyDatabase()
{
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

QList<QVariantList> ReadOnlyDatabase::rows(const QString &sql) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    QList<QVariantList> rows;
    if (!query.exec(sql)) {
        QTest::qFail(qPrintable(query.lastError().text()), __FILE__, __LINE__);
        return rows;
    }
    while (query.next()) {
        QVariantList row;
        for (int c = 0; c < query.record().count(); ++c)
            row.append(query.value(c));
        rows.append(row);
    }
    return rows;
}

QVariant ReadOnlyDatabase::value(const QString &sql) const
{
    return rows(sql).value(0).value(0);
}

} // namespace ServerTestData
