#include "app/SystemConfiguration.h"

#include "app/UnitGlouble.h"
#include "service/Conversions.h"
#include "service/ResultDocument.h"
#include "service/ServiceSettings.h"
#include "service/Statements.h"
#include "service/WebService.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcConfiguration, "tipdesk.configuration", QtWarningMsg)

namespace SystemConfiguration {

namespace {
Load failed(Load load, Load::Failure failure, const QString &cause)
{
    load.failure = failure;
    load.cause = cause;
    qCWarning(lcConfiguration).noquote()
        << "configuration load from"
        << registeredServiceSettings().endpoint().toString(QUrl::RemoveUserInfo)
        << "failed:" << cause;
    return load;
}
} // namespace

Load load()
{
    Load result;
    try {
        const ResultDocument configuration = ResultDocument::parse(NewServiceProxy()->hqSys_pz());
        if (configuration.rowCount() == 0)
            return failed(result, Load::Failure::Missing,
                          QStringLiteral("no configuration record"));
        result.notice = applyConfigurationRecord(configuration);
        result.configurationRead = true;

        const ResultDocument toolbar =
            ResultDocument::parse(NewServiceProxy()->hqsametable(Statements::toolbarRecord()));
        if (toolbar.rowCount() == 0)
            return failed(result, Load::Failure::Missing, QStringLiteral("no toolbar record"));
        applyToolbarRecord(toolbar);
    } catch (const std::exception &failure) {
        return failed(result, Load::Failure::Unavailable, QString::fromUtf8(failure.what()));
    }
    return result;
}

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

QString unavailableDetails(const Load &load)
{
    const ServiceSettings &settings = registeredServiceSettings();
    QString source;
    if (settings.baseAddressSource.isEmpty())
        source = QStringLiteral("程序内置的默认地址");
    else if (settings.baseAddressSource == u"TIPDESK_SERVER")
        source = QStringLiteral("来自环境变量 TIPDESK_SERVER");
    else
        source = QStringLiteral("来自 ") + settings.baseAddressSource;
    QStringList files {ServiceSettings::settingsFilePath()};
    files += ServiceSettings::systemSettingsFilePaths();
    return QStringLiteral("服务器地址：%1（%2）\n原因：%3\n设置：服务器地址写在 tipdesk.conf 的 "
                          "[server] 段的 base= 一行，依次查找 %4；详见 man tipdesk。")
        .arg(settings.endpoint().toString(QUrl::RemoveUserInfo), source, load.cause,
             files.join(QStringLiteral("、")));
}

QString qqChatLink(const QString &number)
{
    return QStringLiteral("tencent://message/?uin=") + number + QStringLiteral("&Site=&Menu=yes");
}

} // namespace SystemConfiguration
