#pragma once

#include "content/WebContentWindow.h"

// Research reports (toolbar entry 9): the configured page, the browser straight on the window.
class TFormYJBG final : public WebContentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormYJBG)

public:
    explicit TFormYJBG(HostedIn host);

    void WebBrowser1DocumentComplete();
    void WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request);
};
