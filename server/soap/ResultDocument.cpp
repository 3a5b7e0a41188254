#include "soap/ResultDocument.h"

#include "db/LocalTime.h"
#include "soap/XmlText.h"

namespace server {

namespace ResultDocument {

namespace {

QString valueText(const ColumnLayout &column, const QVariant &value)
{
    switch (column.kind) {
    case ValueKind::DateTime:
    case ValueKind::Date:
        return LocalTime::xmlDateTime(value.toString());
    case ValueKind::Integer:
    case ValueKind::Text:
        break;
    }
    return value.toString();
}

} // namespace

QString write(const TableLayout &table, const QList<SqlRow> &rows)
{
    if (rows.isEmpty())
        return QStringLiteral("<NewDataSet />");

    static const QLatin1String lineBreak("\r\n");
    QString out = QStringLiteral("<NewDataSet>");
    for (const SqlRow &row : rows) {
        out += lineBreak + QStringLiteral("  <Table>");
        for (qsizetype c = 0; c < table.columns.size() && c < row.size(); ++c) {
            const QVariant &value = row.at(c);
            if (value.isNull())
                continue;
            const ColumnLayout &column = table.columns.at(c);
            const QString text = valueText(column, value);
            out += lineBreak + QStringLiteral("    <") + column.name;
            if (text.isEmpty()) {
                out += QStringLiteral(" />");
                continue;
            }
            out += QLatin1Char('>');
            XmlText::appendEscaped(out, text);
            out += QStringLiteral("</") + column.name + QLatin1Char('>');
        }
        out += lineBreak + QStringLiteral("  </Table>");
    }
    out += lineBreak + QStringLiteral("</NewDataSet>");
    return out;
}

} // namespace ResultDocument

} // namespace server
