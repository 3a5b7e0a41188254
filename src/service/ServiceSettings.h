#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Where the operator's server is, how long a call may take and how large its answer may be.
// Layered, each layer over the one before: the address built into the program (an operator who
// builds their own package sets it), the system-wide "tipdesk.conf" files of the desktop's config
// folders (e.g. /etc/xdg/TipDesk/tipdesk.conf, for an operator who ships the address), the user's
// own "tipdesk.conf" (INI, group [server]), and TIPDESK_SERVER in the environment for the base
// address (demo, tests).
struct ServiceSettings
{
    QString baseAddress = builtInBaseAddress(); // always ends with "/"
    QString serviceNamespace = QStringLiteral("http://tempuri.org/");
    int callTimeoutMs = 20000;
    // An answer beyond this size fails the call: the client holds a whole answer in memory.
    static constexpr qint64 defaultMaxAnswerBytes = 64 * 1024 * 1024;
    qint64 maxAnswerBytes = defaultMaxAnswerBytes;
    // Where baseAddress came from: a file's path, "TIPDESK_SERVER", or empty for the built-in one.
    QString baseAddressSource;

    QUrl endpoint() const { return QUrl(baseAddress + QStringLiteral("qzWebService.asmx")); }
    QUrl descriptionUrl() const { return QUrl(endpoint().toString() + QStringLiteral("?wsdl")); }
    QUrl pageUrl(const QString &page) const { return QUrl(baseAddress + page); }

    static ServiceSettings load();
    // The user's own file (~/.config/TipDesk/tipdesk.conf).
    static QString settingsFilePath();
    // The system-wide files, most important first (from XDG_CONFIG_DIRS).
    static QStringList systemSettingsFilePaths();
    // The address built into the program (CMake: TIPDESK_DEFAULT_SERVER).
    static QString builtInBaseAddress();
};
