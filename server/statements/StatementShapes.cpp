#include "statements/StatementShapes.h"

namespace server {

// The client builds these by concatenating fixed fragments and values; the fragments are part
// of the wire format, so every blank here matters.
const QList<StatementShape> &statementShapes()
{
    using K = StatementKind;
    using U = StatementUse;
    static const QList<StatementShape> shapes {
        {K::ToolbarRecord, U::Rows, false, QStringLiteral(R"(select * from Sys_url)")},

        {K::AlertsToday, U::Rows, true,
         QStringLiteral(
             R"(select * from Tuijiangupiao where (XinXiDJ={level} or XinXiDJ=3) and datediff("d",nowtime,Date())=0 order by id desc )")},
        {K::AlertsToday, U::Rows, false,
         QStringLiteral(
             R"(select * from Tuijiangupiao where  datediff("d",nowtime,Date())=0 order by id desc )")},

        {K::LatestAlerts, U::Rows, true,
         QStringLiteral(
             R"(select top 30 * from Tuijiangupiao where (XinXiDJ={level} or XinXiDJ=3)  order by id desc )")},
        {K::LatestAlerts, U::Rows, false,
         QStringLiteral(R"(select top 30 * from Tuijiangupiao order by id desc )")},

        {K::AlertsInRange, U::Rows, true,
         QStringLiteral(
             R"(select * from Tuijiangupiao where (XinXiDJ={level} or XinXiDJ=3) and  nowtime>=#{date}# and nowtime<=#{date}#    order by id desc )")},
        {K::AlertsInRange, U::Rows, false,
         QStringLiteral(
             R"(select * from Tuijiangupiao where  nowtime>=#{date}# and nowtime<=#{date}#    order by id desc )")},

        {K::LiveInfoToday, U::Rows, true,
         QStringLiteral(
             R"(select * from spzx where (XinXiDJ={level} or XinXiDJ=3) and datediff("d",nowtime,Date())=0 order by id desc )")},
        {K::LiveInfoToday, U::Rows, false,
         QStringLiteral(
             R"(select * from spzx where  datediff("d",nowtime,Date())=0 order by id desc )")},

        {K::LoginRowOfUser, U::Count, false,
         QStringLiteral(R"( select * from userdl where userid={id})")},
        {K::AccountNamed, U::Count, false,
         QStringLiteral(R"(select * from UserTable where (StrComp(username,'{text}',0)=0) )")},
        {K::ApplicationNamed, U::Count, false,
         QStringLiteral(R"(select * from NewUser where (StrComp(usetrname,'{text}',0)=0) )")},

        {K::InsertLoginRow, U::Write, false,
         QStringLiteral(
             R"(Insert into userdl(userid,userzh,userpas,userdlsj,userdlip) values({id},'{text}','{text}',now(),'{text}' ))")},
        {K::UpdateLoginRow, U::Write, false,
         QStringLiteral(
             R"(update userdl set userzh='{text}',userpas='{text}',userdlsj=now(), userdlip='{text}' where userid={id})")},
        {K::DeleteLoginRow, U::Write, false,
         QStringLiteral(R"(delete from userdl where userid={id})")},
        {K::ChangePassword, U::Write, false,
         QStringLiteral(R"(update UserTable set userpas= '{text}' where id={id})")},
        {K::InsertApplication, U::Write, false,
         QStringLiteral(
             R"(Insert into NewUser(usetrname,zcmm,zhucetime,shouji) values('{text}','{text}',date(),'{text}'  ) )")},
    };
    return shapes;
}

} // namespace server
