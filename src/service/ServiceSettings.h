#pragma once

#include <QString>
#include <QUrl>

// Where the operator's server is and how long a call may take. Read from "tipdesk.conf" (INI) in the
// user's config folder; TIPDESK_SERVER overrides the base address (demo, tests).
struct ServiceSettings
{
    QString baseAddress = QStringLiteral("http://127.0.0.1:8080/");   // always ends with "/"
    QString serviceNamespace = QStringLiteral("http://tempuri.org/");
    int callTimeoutMs = 20000;

    QUrl endpoint() const { return QUrl(baseAddress + QStringLiteral("qzWebService.asmx")); }
    QUrl descriptionUrl() const { return QUrl(endpoint().toString() + QStringLiteral("?wsdl")); }
    QUrl pageUrl(const QString &page) const { return QUrl(baseAddress + page); }

    static ServiceSettings load();
    static QString settingsFilePath();
};
