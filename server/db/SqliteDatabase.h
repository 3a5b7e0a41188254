#pragma once

#include "ServerError.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace server {

using SqlRow = QList<QVariant>;

// One connection to the server's SQLite file (synchronous commits, busy wait), with its
// prepared statements kept for reuse. Values travel as QVariant: qlonglong, double, QString or
// null. Every failure raises ServerError (ConstraintError for refused writes).
class SqliteDatabase final
{
public:
    explicit SqliteDatabase(const QString &path);
    ~SqliteDatabase();

    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;

    QString path() const { return m_path; }

    // Runs statements without parameters or results (schema, pragmas).
    void executeScript(const QString &sql);

    QList<SqlRow> query(const QString &sql, const QVariantList &binds = {});
    // First column of the first row; null when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &binds = {});
    // Runs one statement and answers how many rows it changed.
    int run(const QString &sql, const QVariantList &binds = {});

    qint64 lastInsertId() const;
    // SQLite's quick check of the whole file: empty when it finds nothing wrong, else its first
    // finding.
    QString quickCheck();
    // Moves whenever another connection commits; together with totalChanges() it tells a cache
    // whether anything may have changed since it was filled.
    qint64 dataVersion();
    qint64 totalChanges() const;

    // BEGIN IMMEDIATE ... COMMIT; rolls back when it goes out of scope uncommitted.
    class Transaction final
    {
    public:
        explicit Transaction(SqliteDatabase &db);
        ~Transaction();
        void commit();

    private:
        SqliteDatabase &m_db;
        bool m_open = true;
    };

    // A read transaction, so that several selects see one state of the file; does nothing
    // inside a transaction that is already open.
    class ReadSnapshot final
    {
    public:
        explicit ReadSnapshot(SqliteDatabase &db);
        ~ReadSnapshot();

    private:
        SqliteDatabase &m_db;
        bool m_began = false;
    };

private:
    class StatementUse;
    sqlite3_stmt *prepared(const QString &sql);
    [[noreturn]] void fail(int code, const QString &context) const;

    QString m_path;
    sqlite3 *m_db = nullptr;
    QHash<QString, sqlite3_stmt *> m_statements;
};

} // namespace server
