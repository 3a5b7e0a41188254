#include "db/Accounts.h"

#include "db/ContentStore.h"
#include "db/LocalTime.h"
#include "db/ServerClock.h"

namespace server {

namespace Accounts {

namespace {

// Documentation addresses (RFC 5737): what a login "from elsewhere" reports.
const QString OtherAddress = QStringLiteral("192.0.2.1");
const QString AnotherAddress = QStringLiteral("192.0.2.2");

bool nameTaken(SqliteDatabase &db, const QString &name)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM UserTable WHERE username = ?"), {name})
               .toInt()
        > 0;
}

} // namespace

bool withinBounds(const QString &name, const QString &password)
{
    return name.size() <= MaxNameLength && password.size() <= MaxPasswordLength;
}

void checkLength(const QString &what, const QString &text, qsizetype maxLength)
{
    if (text.size() > maxLength)
        throw ConstraintError(
            QStringLiteral("%1 is longer than %2 characters").arg(what).arg(maxLength));
}

qint64 add(SqliteDatabase &db, const QString &name, const QString &password, int level)
{
    if (name.trimmed().isEmpty())
        throw ServerError(QStringLiteral("the user name must not be empty"));
    checkLength(QStringLiteral("the user name"), name, MaxNameLength);
    checkLength(QStringLiteral("the password"), password, MaxPasswordLength);
    if (level < 0 || level > 2)
        throw ServerError(QStringLiteral("level must be 0, 1 or 2, not %1").arg(level));
    ContentStore::checkText(QStringLiteral("the user name"), name);
    ContentStore::checkText(QStringLiteral("the password"), password);
    if (nameTaken(db, name))
        throw ServerError(QStringLiteral("an account named \"%1\" already exists").arg(name));
    db.run(QStringLiteral("INSERT INTO UserTable (username, userpas, UserDJ) VALUES (?, ?, ?)"),
           {name, password, level});
    return db.lastInsertId();
}

bool verify(SqliteDatabase &db, const QString &name, const QString &password)
{
    if (name.isNull() || password.isNull())
        return false;
    return db.scalar(QStringLiteral(
                         "SELECT count(*) FROM UserTable WHERE username = ? AND userpas = ?"),
                     {name, password})
               .toInt()
        > 0;
}

QList<SqlRow> record(SqliteDatabase &db, const QString &name, const QString &password)
{
    if (name.isNull() || password.isNull())
        return {};
    return db.query(QStringLiteral("SELECT id, username, userpas, UserDJ FROM UserTable "
                                   "WHERE username = ? AND userpas = ? ORDER BY id LIMIT 1"),
                    {name, password});
}

qint64 approve(SqliteDatabase &db, const QString &name)
{
    const QList<SqlRow> application =
        db.query(QStringLiteral("SELECT id, zcmm FROM NewUser WHERE usetrname = ?"), {name});
    if (application.isEmpty())
        throw ServerError(QStringLiteral("there is no pending application named \"%1\"").arg(name));
    if (nameTaken(db, name))
        throw ServerError(QStringLiteral("an account named \"%1\" already exists").arg(name));
    db.run(QStringLiteral("INSERT INTO UserTable (username, userpas, UserDJ) VALUES (?, ?, 0)"),
           {name, application.first().at(1).toString()});
    const qint64 id = db.lastInsertId();
    db.run(QStringLiteral("DELETE FROM NewUser WHERE id = ?"), {application.first().at(0)});
    return id;
}

QList<SqlRow> applications(SqliteDatabase &db)
{
    return db.query(
        QStringLiteral("SELECT id, usetrname, zhucetime, shouji FROM NewUser ORDER BY id"));
}

bool reject(SqliteDatabase &db, const QString &name)
{
    return db.run(QStringLiteral("DELETE FROM NewUser WHERE usetrname = ?"), {name}) > 0;
}

int rejectAll(SqliteDatabase &db)
{
    return db.run(QStringLiteral("DELETE FROM NewUser"));
}

bool exists(SqliteDatabase &db, qint64 userId)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM UserTable WHERE id = ?"), {userId})
               .toInt()
        > 0;
}

void kick(SqliteDatabase &db, qint64 userId)
{
    const QList<SqlRow> row =
        db.query(QStringLiteral("SELECT userdlip FROM userdl WHERE userid = ?"), {userId});
    if (row.isEmpty())
        throw ServerError(QStringLiteral("user %1 is not logged in (no login row)").arg(userId));
    const QString address =
        row.first().at(0).toString() == OtherAddress ? AnotherAddress : OtherAddress;
    db.run(QStringLiteral("UPDATE userdl SET userdlsj = ?, userdlip = ? WHERE userid = ?"),
           {nextLoginStamp(db, userId), address, userId});
}

QList<SqlRow> list(SqliteDatabase &db)
{
    return db.query(QStringLiteral("SELECT id, username, UserDJ FROM UserTable ORDER BY id"));
}

QList<SqlRow> loginRows(SqliteDatabase &db)
{
    return db.query(
        QStringLiteral("SELECT userid, userzh, userdlsj, userdlip FROM userdl ORDER BY userid"));
}

QString loginStamp(SqliteDatabase &db, qint64 userId)
{
    return db.scalar(QStringLiteral("SELECT userdlsj FROM userdl WHERE userid = ?"), {userId})
        .toString();
}

QString nextLoginStamp(SqliteDatabase &db, qint64 userId)
{
    const QString now = LocalTime::millisecondsText(ServerClock::now());
    const QString present = loginStamp(db, userId);
    if (present < now)
        return now;
    const QDateTime presentTime =
        QDateTime::fromString(present, QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
    if (!presentTime.isValid())
        return now;
    return LocalTime::millisecondsText(presentTime.addMSecs(1));
}

} // namespace Accounts

} // namespace server
