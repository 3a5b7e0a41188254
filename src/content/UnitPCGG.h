#pragma once

#include "content/WebContentWindow.h"

// Quotes (toolbar entry 4): the configured page; the browser keeps its own context menu.
class TFormPCGG final : public WebContentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormPCGG)

public:
    explicit TFormPCGG(HostedIn host);

    void WebBrowser1DocumentComplete();
    void WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request);
};
