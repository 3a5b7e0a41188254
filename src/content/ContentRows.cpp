#include "content/ContentRows.h"

#include "service/Conversions.h"
#include "service/ResultDocument.h"

const RowFormat &alertRowFormat()
{
    static const RowFormat format {{u"nowtime", u"gupiaodaima", u"jg", u"czfs", u"czly"}};
    return format;
}

const RowFormat &liveInfoRowFormat()
{
    static const RowFormat format {{u"nowtime", u"zxlx", u"zxnr"}};
    return format;
}

GridRows rowsInFormat(const ResultDocument &document, const RowFormat &format)
{
    GridRows rows;
    rows.reserve(document.rowCount());
    for (int row = 0; row < document.rowCount(); ++row) {
        QStringList cells;
        cells.reserve(format.columns.size());
        for (QStringView column : format.columns)
            cells.append(document.value(row, column));
        cells[0] = timeText(cells[0]);
        rows.append(cells);
    }
    return rows;
}

QString timeText(const QString &nowtime)
{
    QString text = trimmedView(nowtime).left(19).toString();
    text.replace(u'T', u' ');
    return QStringLiteral("  ") + text;
}

QString popupTimeText(const QString &nowtime)
{
    return trimmedText(timeText(nowtime));
}
