#include "main/PopupTexts.h"

#include "app/ChangeCounters.h"
#include "app/UnitGlouble.h"
#include "service/Conversions.h"

namespace {

constexpr QChar carriageReturn(13);

// Grid column n (1-based) of the newest row, as written into the grid; empty without rows. The
// time drops the two blanks the grid puts before it.
QString newest(const GridRows &rows, int column)
{
    if (rows.isEmpty() || rows.first().size() < column)
        return QString();
    const QString &cell = rows.first().at(column - 1);
    return column == 1 ? trimmedText(cell) : cell;
}

} // namespace

QString alertPopupText(const GridRows &todaysAlerts)
{
    return QStringLiteral("弹出时间：") + newest(todaysAlerts, 1) + carriageReturn
        + QStringLiteral("股票代码：") + newest(todaysAlerts, 2) + carriageReturn
        + QStringLiteral("操作方式：") + newest(todaysAlerts, 4);
}

QString liveInfoPopupText(const GridRows &todaysLiveItems)
{
    return QStringLiteral("弹出时间：") + newest(todaysLiveItems, 1) + carriageReturn
        + QStringLiteral("资讯类型：") + newest(todaysLiveItems, 2) + carriageReturn
        + QStringLiteral("资讯内容：") + newest(todaysLiveItems, 3);
}

QString bulletinPopupText(BulletinKind kind)
{
    const CounterSnapshot &counters = currentCounters();
    const bool first = kind == BulletinKind::First;
    return QStringLiteral("【") + (first ? an2mc : an3mc) + QStringLiteral("消息】")
        + carriageReturn + QStringLiteral("弹出时间：")
        + trimmedText(first ? counters.smncaddsj : counters.smjmaddsj) + carriageReturn
        + QStringLiteral("标题：") + trimmedText(first ? counters.smncaddbt : counters.smjmaddbt);
}
