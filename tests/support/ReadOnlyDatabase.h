#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// A read-only QtSql connection to a test server's SQLite file, for checking what the server
// stored without going through the service. The connection is removed when the object goes.
class ReadOnlyDatabase
{
public:
    explicit ReadOnlyDatabase(const QString &path);
    ~ReadOnlyDatabase();

    ReadOnlyDatabase(const ReadOnlyDatabase &) = delete;
    ReadOnlyDatabase &operator=(const ReadOnlyDatabase &) = delete;

    // The rows of a query, each as its values in column order; binds fill the "?" placeholders.
    // A query that fails fails the running test.
    QList<QVariantList> rows(const QString &sql, const QVariantList &binds = {}) const;
    QVariant value(const QString &sql, const QVariantList &binds = {}) const;

private:
    QString m_connection;
};

// One query on its own short-lived connection.
QList<QVariantList> queryServerDatabase(const QString &dbPath, const QString &sql,
                                        const QVariantList &binds = {});

// The same rows with every value as text.
QList<QStringList> textRows(const QList<QVariantList> &rows);
