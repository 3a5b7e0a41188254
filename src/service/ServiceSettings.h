#pragma once

#include <QString>
#include <QUrl>

// Where the operator's server is, how long a call may take and how large its answer may be. Read
// from "tipdesk.conf" (INI) in the user's config folder; TIPDESK_SERVER overrides the base address
// (demo, tests).
struct ServiceSettings
{
    QString baseAddress = QStringLiteral("http://127.0.0.1:8080/"); // always ends with "/"
    QString serviceNamespace = QStringLiteral("http://tempuri.org/");
    int callTimeoutMs = 20000;
    // An answer beyond this size fails the call: the client holds a whole answer in memory.
    static constexpr qint64 defaultMaxAnswerBytes = 64 * 1024 * 1024;
    qint64 maxAnswerBytes = defaultMaxAnswerBytes;

    QUrl endpoint() const { return QUrl(baseAddress + QStringLiteral("qzWebService.asmx")); }
    QUrl descriptionUrl() const { return QUrl(endpoint().toString() + QStringLiteral("?wsdl")); }
    QUrl pageUrl(const QString &page) const { return QUrl(baseAddress + page); }

    static ServiceSettings load();
    static QString settingsFilePath();
};
