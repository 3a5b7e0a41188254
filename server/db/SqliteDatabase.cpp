#include "db/SqliteDatabase.h"

#include <sqlite3.h>

#include <fcntl.h>
#include <unistd.h>

namespace server {

namespace {

// The file holds the accounts' passwords: a new one is readable by its owner only. SQLite gives
// its -wal and -shm files the same mode as the database file.
void createPrivately(const QString &path)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char(':')))
        return; // in memory
    const int fd =
        ::open(path.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
}

} // namespace

// Resets a cached statement and clears its bindings however the use of it ends.
class SqliteDatabase::StatementUse final
{
public:
    StatementUse(sqlite3_stmt *statement, const QVariantList &binds, const SqliteDatabase &db)
        : m_statement(statement)
    {
        for (int i = 0; i < binds.size(); ++i)
            bind(i + 1, binds.at(i), db);
    }
    ~StatementUse()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    sqlite3_stmt *get() const { return m_statement; }

    SqlRow currentRow() const
    {
        const int columns = sqlite3_column_count(m_statement);
        SqlRow row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(m_statement, c)) {
            case SQLITE_INTEGER:
                row.append(QVariant(qlonglong(sqlite3_column_int64(m_statement, c))));
                break;
            case SQLITE_FLOAT:
                row.append(QVariant(sqlite3_column_double(m_statement, c)));
                break;
            case SQLITE_NULL:
                row.append(QVariant());
                break;
            default: {
                const auto *text =
                    static_cast<const char16_t *>(sqlite3_column_text16(m_statement, c));
                const int bytes = sqlite3_column_bytes16(m_statement, c);
                row.append(QVariant(QString(reinterpret_cast<const QChar *>(text), bytes / 2)));
            }
            }
        }
        return row;
    }

private:
    void bind(int index, const QVariant &value, const SqliteDatabase &db)
    {
        int rc = SQLITE_OK;
        if (value.isNull()) {
            rc = sqlite3_bind_null(m_statement, index);
        } else {
            switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(m_statement, index, value.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(m_statement, index, value.toDouble());
                break;
            default: {
                const QString text = value.toString();
                rc = sqlite3_bind_text16(m_statement, index, text.utf16(),
                                         int(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            db.fail(rc, QStringLiteral("binding a value"));
    }

    sqlite3_stmt *m_statement;
};

SqliteDatabase::SqliteDatabase(const QString &path) : m_path(path)
{
    createPrivately(path);
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason =
            m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw ServerError(QStringLiteral("cannot open database %1: %2").arg(path, reason));
    }
    sqlite3_extended_result_codes(m_db, 1);
    // Writers in other processes (operator commands) hold the lock for milliseconds only.
    sqlite3_busy_timeout(m_db, 5000);
    // FULL makes every commit durable, so an acknowledged publish survives a killed server or a
    // power cut. (Schema::ensure puts a TipDesk database in WAL mode; a file that is not one is
    // left as it is.)
    executeScript(QStringLiteral("PRAGMA synchronous=FULL;"));
}

SqliteDatabase::~SqliteDatabase()
{
    for (sqlite3_stmt *statement : std::as_const(m_statements))
        sqlite3_finalize(statement);
    sqlite3_close(m_db);
}

void SqliteDatabase::fail(int code, const QString &context) const
{
    const QString reason = QString::fromUtf8(sqlite3_errmsg(m_db));
    const QString message = QStringLiteral("database error while %1: %2").arg(context, reason);
    if ((code & 0xff) == SQLITE_CONSTRAINT)
        throw ConstraintError(message);
    if ((code & 0xff) == SQLITE_NOTADB)
        throw ServerError(QStringLiteral("%1 is not a TipDesk database (%2)").arg(m_path, reason));
    throw ServerError(message);
}

void SqliteDatabase::executeScript(const QString &sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        sqlite3_free(error);
        fail(rc, QStringLiteral("preparing the database"));
    }
}

sqlite3_stmt *SqliteDatabase::prepared(const QString &sql)
{
    if (sqlite3_stmt *cached = m_statements.value(sql))
        return cached;
    sqlite3_stmt *statement = nullptr;
    const int rc = sqlite3_prepare16_v3(m_db, sql.utf16(), int(sql.size() * sizeof(char16_t)),
                                        SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc != SQLITE_OK)
        fail(rc, QStringLiteral("preparing a statement"));
    m_statements.insert(sql, statement);
    return statement;
}

QList<SqlRow> SqliteDatabase::query(const QString &sql, const QVariantList &binds)
{
    StatementUse use(prepared(sql), binds, *this);
    QList<SqlRow> rows;
    for (;;) {
        const int rc = sqlite3_step(use.get());
        if (rc == SQLITE_DONE)
            return rows;
        if (rc != SQLITE_ROW)
            fail(rc, QStringLiteral("reading"));
        rows.append(use.currentRow());
    }
}

QVariant SqliteDatabase::scalar(const QString &sql, const QVariantList &binds)
{
    StatementUse use(prepared(sql), binds, *this);
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_DONE)
        return {};
    if (rc != SQLITE_ROW)
        fail(rc, QStringLiteral("reading"));
    return use.currentRow().value(0);
}

int SqliteDatabase::run(const QString &sql, const QVariantList &binds)
{
    StatementUse use(prepared(sql), binds, *this);
    int rc;
    while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) { }
    if (rc != SQLITE_DONE)
        fail(rc, QStringLiteral("writing"));
    return sqlite3_changes(m_db);
}

QString SqliteDatabase::quickCheck()
{
    try {
        const QString finding = scalar(QStringLiteral("PRAGMA quick_check(1)")).toString();
        return finding == u"ok" ? QString() : finding.simplified();
    } catch (const ServerError &error) {
        return error.message(); // damage that stops the check itself
    }
}

qint64 SqliteDatabase::lastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

qint64 SqliteDatabase::dataVersion()
{
    return scalar(QStringLiteral("PRAGMA data_version")).toLongLong();
}

qint64 SqliteDatabase::totalChanges() const
{
    return sqlite3_total_changes64(m_db);
}

SqliteDatabase::Transaction::Transaction(SqliteDatabase &db) : m_db(db)
{
    m_db.run(QStringLiteral("BEGIN IMMEDIATE"));
}

SqliteDatabase::Transaction::~Transaction()
{
    if (m_open)
        sqlite3_exec(m_db.m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteDatabase::Transaction::commit()
{
    m_db.run(QStringLiteral("COMMIT"));
    m_open = false;
}

SqliteDatabase::ReadSnapshot::ReadSnapshot(SqliteDatabase &db) : m_db(db)
{
    if (sqlite3_get_autocommit(m_db.m_db)) {
        m_db.run(QStringLiteral("BEGIN"));
        m_began = true;
    }
}

SqliteDatabase::ReadSnapshot::~ReadSnapshot()
{
    if (m_began)
        sqlite3_exec(m_db.m_db, "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace server
