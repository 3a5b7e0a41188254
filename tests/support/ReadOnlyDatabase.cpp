#include "ReadOnlyDatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>

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

QList<QVariantList> ReadOnlyDatabase::rows(const QString &sql, const QVariantList &binds) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection));
    QList<QVariantList> rows;
    const bool ran = query.prepare(sql) && [&] {
        for (const QVariant &bind : binds)
            query.addBindValue(bind);
        return query.exec();
    }();
    if (!ran) {
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

QVariant ReadOnlyDatabase::value(const QString &sql, const QVariantList &binds) const
{
    return rows(sql, binds).value(0).value(0);
}

QList<QVariantList> queryServerDatabase(const QString &dbPath, const QString &sql,
                                        const QVariantList &binds)
{
    return ReadOnlyDatabase(dbPath).rows(sql, binds);
}

QList<QStringList> textRows(const QList<QVariantList> &rows)
{
    QList<QStringList> texts;
    for (const QVariantList &row : rows) {
        QStringList cells;
        for (const QVariant &value : row)
            cells.append(value.toString());
        texts.append(cells);
    }
    return texts;
}
