#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Receives what the code under test hands to the desktop's URL handlers
// (QDesktopServices::setUrlHandler(scheme, &catcher, "open")).
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};
