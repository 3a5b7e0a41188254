#pragma once

#include "content/WebContentWindow.h"

// The first kind of private-fund bulletins (toolbar entry 2): the operator's bulletin page for the
// user's level and credentials. Opening it marks that kind's changes as seen.
class TFormWYSMNC final : public WebContentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormWYSMNC)

public:
    explicit TFormWYSMNC(HostedIn host);

    void WebBrowser1DocumentComplete();
    void WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request);
    void WebBrowser1StatusTextChange(const QString &text);

    // The browser's most recent status text (the hovered link), kept for the whole process.
    static inline QString lastStatusText;
};
