#pragma once

#include <QString>

class ResultDocument;

// The system configuration and the toolbar record, fetched before login into the client globals.
namespace SystemConfiguration {

// Reads row 0 of the configuration answer into gpsysname … khdsxsj, in that order (a flag or the
// interval that does not convert raises, leaving what was read so far), and returns the login
// notice `sytsxx`.
QString applyConfigurationRecord(const ResultDocument &document);

// Reads row 0 of "select * from Sys_url" into an1mc … an11mc, an1url … an11url, an1xs … an11xs.
void applyToolbarRecord(const ResultDocument &document);

// The QQ client's link that opens a chat with the given number.
QString qqChatLink(const QString &number);

} // namespace SystemConfiguration
