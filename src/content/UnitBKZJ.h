#pragma once

#include "content/WebContentWindow.h"

// Market funds (toolbar entry 8): the configured page.
class TFormBKZJ final : public WebContentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormBKZJ)

public:
    explicit TFormBKZJ(HostedIn host);

    void WebBrowser1DocumentComplete();
    void WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request);
};
