#pragma once

#include "content/WebContentWindow.h"

// The last reports (toolbar entry 10): the configured page in WebBrowser2, which keeps its own
// context menu; the loading panel centres on the window.
class TFormZHBG final : public WebContentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormZHBG)

public:
    explicit TFormZHBG(HostedIn host);

    void WebBrowser2DocumentComplete();
    void WebBrowser2NewWindow2(QWebEngineNewWindowRequest &request);
};
