#include "db/Configuration.h"

#include "db/Schema.h"
#include "db/SqliteDatabase.h"

namespace server {

namespace Configuration {

const TableLayout *tableOfKey(const QString &key)
{
    for (const TableLayout *table : {&Schema::configuration(), &Schema::toolbar()}) {
        if (key != QLatin1String("id") && table->column(key))
            return table;
    }
    return nullptr;
}

void setValue(SqliteDatabase &db, const QString &key, const QVariant &value)
{
    const TableLayout *table = tableOfKey(key);
    if (!table)
        throw ServerError(QStringLiteral("unknown configuration key \"%1\"").arg(key));
    // The key is one of the table's own column names, never operator text, so it may be spliced.
    if (db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table->name)).toInt() == 0)
        db.run(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table->name));
    db.run(QStringLiteral("UPDATE %1 SET %2 = ? WHERE id = (SELECT min(id) FROM %1)")
               .arg(table->name, key),
           {value.isNull() ? QVariant() : QVariant(value.toString())});
}

void deleteRecord(SqliteDatabase &db, const TableLayout &table)
{
    db.run(QStringLiteral("DELETE FROM %1").arg(table.name));
}

QStringList describe(SqliteDatabase &db)
{
    QStringList lines;
    for (const TableLayout *table : {&Schema::configuration(), &Schema::toolbar()}) {
        const QList<SqlRow> rows = db.query(QStringLiteral("SELECT %1 FROM %2 ORDER BY id LIMIT 1")
                                                .arg(table->columnList(), table->name));
        if (rows.isEmpty()) {
            lines.append(QStringLiteral("# no %1 record").arg(table->name));
            continue;
        }
        for (qsizetype c = 1; c < table->columns.size(); ++c) {
            const QVariant &value = rows.first().at(c);
            if (!value.isNull())
                lines.append(table->columns.at(c).name + QLatin1Char('=') + value.toString());
        }
    }
    return lines;
}

std::optional<bool> readFlag(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double number = trimmed.toDouble(&isNumber);
    if (isNumber)
        return number != 0;
    return std::nullopt;
}

bool levelFilteringOn(SqliteDatabase &db)
{
    const QVariant flag =
        db.scalar(QStringLiteral("SELECT yhqyhyfj FROM Sys_pz ORDER BY id LIMIT 1"));
    return readFlag(flag.toString()).value_or(true);
}

} // namespace Configuration

} // namespace server
