#include "app/SystemConfiguration.h"

#include "app/UnitGlouble.h"
#include "service/Conversions.h"
#include "service/ResultDocument.h"

namespace SystemConfiguration {

QString applyConfigurationRecord(const ResultDocument &document)
{
    gpsysname = document.value(0, u"gpsysname");
    syszjxx = document.value(0, u"syszjxx");
    kfqq = document.value(0, u"kfqq");
    yhqyhyfj = toBoolean(document.value(0, u"yhqyhyfj"));
    ifctzqd = toBoolean(document.value(0, u"ifctzqd"));
    hqurl = document.value(0, u"hqurl");
    khdsxsj = toInteger(document.value(0, u"khdsxsj"));
    return document.value(0, u"sytsxx");
}

void applyToolbarRecord(const ResultDocument &document)
{
    for (int n = 1; n <= toolbarEntryCount; ++n)
        anmc(n) = document.value(0, QStringLiteral("an%1mc").arg(n));
    for (int n = 1; n <= toolbarEntryCount; ++n)
        anurl(n) = document.value(0, QStringLiteral("an%1url").arg(n));
    for (int n = 1; n <= toolbarEntryCount; ++n)
        anxs(n) = document.value(0, QStringLiteral("an%1xs").arg(n));
}

QString qqChatLink(const QString &number)
{
    return QStringLiteral("tencent://message/?uin=") + number + QStringLiteral("&Site=&Menu=yes");
}

} // namespace SystemConfiguration
