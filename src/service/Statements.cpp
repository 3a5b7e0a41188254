#include "service/Statements.h"

#include "service/SqlText.h"

namespace Statements {

QString toolbarRecord()
{
    return QStringLiteral("select * from Sys_url");
}

QString loginRowCount(const QString &userid)
{
    return QStringLiteral(" select * from userdl where userid=") + userid;
}

QString insertLoginRow(const QString &userid, const QString &name, const QString &password,
                       const QString &ip)
{
    return QStringLiteral("Insert into userdl(userid,userzh,userpas,")
        + QStringLiteral("userdlsj,userdlip)") + QStringLiteral(" values(") + userid
        + QStringLiteral(",'") + sqlQuoted(name) + QStringLiteral("','") + sqlQuoted(password)
        + QStringLiteral("',now(),'") + sqlQuoted(ip) + QStringLiteral("' )");
}

QString updateLoginRow(const QString &userid, const QString &name, const QString &password,
                       const QString &ip)
{
    return QStringLiteral("update userdl set userzh='") + sqlQuoted(name)
        + QStringLiteral("',userpas='") + sqlQuoted(password)
        + QStringLiteral("',userdlsj=now(), userdlip='") + sqlQuoted(ip)
        + QStringLiteral("' where userid=") + userid;
}

QString deleteLoginRow(const QString &userid)
{
    return QStringLiteral("delete from userdl where userid=") + userid;
}

QString todaysAlerts(bool levelFilter, const QString &userLevel)
{
    if (levelFilter)
        return QStringLiteral("select * from Tuijiangupiao where (XinXiDJ=") + userLevel
            + QStringLiteral(
                   " or XinXiDJ=3) and datediff(\"d\",nowtime,Date())=0 order by id desc ");
    return QStringLiteral(
        "select * from Tuijiangupiao where  datediff(\"d\",nowtime,Date())=0 order by id desc ");
}

QString latestAlerts(bool levelFilter, const QString &userLevel)
{
    if (levelFilter)
        return QStringLiteral("select top 30 * from Tuijiangupiao where (XinXiDJ=") + userLevel
            + QStringLiteral(" or XinXiDJ=3)  order by id desc ");
    return QStringLiteral("select top 30 * from Tuijiangupiao order by id desc ");
}

QString todaysLiveItems(bool levelFilter, const QString &userLevel)
{
    if (levelFilter)
        return QStringLiteral("select * from spzx where (XinXiDJ=") + userLevel
            + QStringLiteral(
                   " or XinXiDJ=3) and datediff(\"d\",nowtime,Date())=0 order by id desc ");
    return QStringLiteral(
        "select * from spzx where  datediff(\"d\",nowtime,Date())=0 order by id desc ");
}

QString alertsBetween(bool levelFilter, const QString &userLevel, const QDate &from,
                      const QDate &to)
{
    const QString range = QStringLiteral(" nowtime>=#") + from.toString(Qt::ISODate)
        + QStringLiteral("# and nowtime<=#") + to.addDays(1).toString(Qt::ISODate)
        + QStringLiteral("#   ") + QStringLiteral(" order by id desc ");
    if (levelFilter)
        return QStringLiteral("select * from Tuijiangupiao where (XinXiDJ=") + userLevel
            + QStringLiteral(" or XinXiDJ=3) and ") + range;
    return QStringLiteral("select * from Tuijiangupiao where ") + range;
}

QString changePassword(const QString &newPassword, const QString &userid)
{
    return QStringLiteral("update UserTable set userpas= '") + sqlQuoted(newPassword)
        + QStringLiteral("' where id=") + userid;
}

QString accountNameCount(const QString &name)
{
    return QStringLiteral("select * from UserTable where (StrComp(username,'") + sqlQuoted(name)
        + QStringLiteral("',0)=0) ");
}

QString pendingApplicationCount(const QString &name)
{
    return QStringLiteral("select * from NewUser where (StrComp(usetrname,'") + sqlQuoted(name)
        + QStringLiteral("',0)=0) ");
}

QString insertApplication(const QString &name, const QString &password, const QString &mobile)
{
    return QStringLiteral("Insert into NewUser(usetrname,zcmm,zhucetime,shouji)")
        + QStringLiteral(" values('") + sqlQuoted(name) + QStringLiteral("','")
        + sqlQuoted(password) + QStringLiteral("',date(),'") + sqlQuoted(mobile)
        + QStringLiteral("'  ) ");
}

} // namespace Statements
