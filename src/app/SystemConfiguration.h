#pragma once

#include <QLoggingCategory>
#include <QString>

class ResultDocument;

// What start-up found about the configuration and the platform (warnings on by default).
Q_DECLARE_LOGGING_CATEGORY(lcConfiguration)

// The system configuration and the toolbar record, fetched before login into the client globals.
namespace SystemConfiguration {

// What the configuration load found. `failure` says why the client cannot go on; when the
// configuration record itself was read, `configurationRead` is true and `notice` holds the login
// notice, even if the toolbar record then failed.
struct Load
{
    enum class Failure { None, Missing, Unavailable };
    Failure failure = Failure::None;
    bool configurationRead = false;
    QString notice;
    QString cause; // what went wrong, for the log; never holds a credential
};

// Fetches the configuration record (hqSys_pz) and the toolbar record into the client globals.
// Missing: the server has no such record; Unavailable: a call or a value failed.
Load load();

// Reads row 0 of the configuration answer into gpsysname … khdsxsj, in that order (a flag or the
// interval that does not convert raises, leaving what was read so far), and returns the login
// notice `sytsxx`.
QString applyConfigurationRecord(const ResultDocument &document);

// Reads row 0 of "select * from Sys_url" into an1mc … an11mc, an1url … an11url, an1xs … an11xs.
void applyToolbarRecord(const ResultDocument &document);

// What the person is told below "系统错误，没有获取到系统配置信息！" when the configuration could
// not be fetched: the address tried and where it came from, the cause, and where the setting
// lives (the files the client reads and the manual page).
QString unavailableDetails(const Load &load);

// The QQ client's link that opens a chat with the given number.
QString qqChatLink(const QString &number);

} // namespace SystemConfiguration
