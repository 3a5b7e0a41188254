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

QString rowFormatCell(const ResultDocument &document, int row, const RowFormat &format, int column)
{
    const QString value = document.value(row, format.columns.at(column - 1));
    return column == 1 ? timeText(value) : value;
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
