#pragma once

#include "content/WebContentWindow.h"

class QToolButton;

// News (toolbar entry 5): the configured page under a navigation bar (home, forward, back); links
// asking for a new window load in place.
class TFormXWZX final : public WebContentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormXWZX)

public:
    explicit TFormXWZX(HostedIn host);

    void WebBrowser1DownloadComplete();
    void WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request);
    void WebBrowser1StatusTextChange(const QString &text);

    void SpeedButton1Click(); // 主页
    void SpeedButton2Click(); // 前进
    void SpeedButton3Click(); // 后退

    // The browser's most recent status text (the hovered link), kept for the whole process.
    static inline QString lastStatusText;

private:
    QWidget *buildNavigationBar();
};
