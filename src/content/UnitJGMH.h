#pragma once

#include "content/WebContentWindow.h"

// Stock files (toolbar entry 7): the configured page.
class TFormJGMH final : public WebContentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormJGMH)

public:
    explicit TFormJGMH(HostedIn host);

    void WebBrowser1DocumentComplete();
    void WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request);
};
