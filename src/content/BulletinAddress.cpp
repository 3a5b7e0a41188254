#include "content/BulletinAddress.h"

#include "app/UnitGlouble.h"
#include "service/ServiceSettings.h"
#include "service/WebService.h"

QString bulletinAddress(BulletinPage page)
{
    // The base always ends with "/", and the page part starts with one.
    QString base = registeredServiceSettings().baseAddress;
    while (base.endsWith(u'/'))
        base.chop(1);
    const QString path = page == BulletinPage::First
        ? QStringLiteral("/qzGongGaoXinXi.aspx?userdj=")
        : QStringLiteral("/qzGongGaoSiMi.aspx?userdj=");
    return base + path + UserDJ + QStringLiteral("&username=") + usernameUrl
        + QStringLiteral("&userpas=") + userpasUrl;
}
