#include "app/LoginRecord.h"

#include "app/UnitGlouble.h"
#include "service/AppError.h"
#include "service/Conversions.h"
#include "service/ResultDocument.h"
#include "service/ServiceSettings.h"
#include "service/SoapTransport.h"
#include "service/Statements.h"
#include "service/URLCodeChange.h"
#include "service/WebService.h"

namespace LoginRecord {

bool credentialsValid(const QString &name, const QString &password)
{
    return toBoolean(NewServiceProxy()->yanzheng(name, password));
}

void loadAccountRecord(const QString &name, const QString &password)
{
    const ResultDocument account =
        ResultDocument::parse(NewServiceProxy()->hqdlyhxx(name, password));
    userid = account.value(0, u"id");
    username = account.value(0, u"username");
    userpas = account.value(0, u"userpas");
    usernameUrl = EncodeUrlComponent(username.toUtf8(), true);
    userpasUrl = EncodeUrlComponent(userpas.toUtf8(), true);
    UserDJ = account.value(0, u"UserDJ");
}

void writeLoginRow()
{
    const bool rowExists = NewServiceProxy()->hqsfczjl(Statements::loginRowCount(userid)) > 0;
    const QString id = trimmedText(userid);
    const QString name = trimmedText(username);
    const QString password = trimmedText(userpas);
    const QString ip = trimmedText(GetPublicIPAddress());
    NewServiceProxy()->zhixing(rowExists ? Statements::updateLoginRow(id, name, password, ip)
                                         : Statements::insertLoginRow(id, name, password, ip));
}

QString currentLoginStamp()
{
    return NewServiceProxy()->hqdlsj(userid);
}

QString watchedLoginStamp()
{
    return NewServiceProxy()->hqdlsj(trimmedText(userid));
}

void deleteLoginRow()
{
    if (forcedOffline || trimmedText(userid).isEmpty())
        return;
    try {
        NewServiceProxy()->zhixing(Statements::deleteLoginRow(userid));
    } catch (const std::exception &) {
        // Nobody is left to tell.
    }
}

QString GetPublicIPAddress()
{
    const ServiceSettings &settings = registeredServiceSettings();
    SoapTransport transport(settings.callTimeoutMs, settings.maxAnswerBytes);
    try {
        const SoapTransport::Answer answer =
            transport.get(settings.pageUrl(QStringLiteral("qzIP.aspx")));
        return answer.httpStatus == 200 ? QString::fromUtf8(answer.body) : QString();
    } catch (const AppError &) {
        return QStringLiteral("0.0.0.0");
    }
}

} // namespace LoginRecord
