#include "main/ShowSequence.h"

#include "app/UnitGlouble.h"

namespace {
constexpr int toolbarStart = 9;
constexpr int toolbarStep = 68;
} // namespace

QList<ToolbarPlacement> toolbarPlacements()
{
    QList<ToolbarPlacement> shown;
    for (int position = 1; position <= toolbarEntryCount; ++position) {
        if (anxs(position) == u"0")
            shown.append({position, toolbarStart + toolbarStep * int(shown.size())});
    }
    return shown;
}

QString levelName(const QString &level)
{
    if (level == u"0")
        return QStringLiteral("普通用户");
    if (level == u"1")
        return QStringLiteral("会员");
    if (level == u"2")
        return QStringLiteral("VIP");
    return QString();
}
