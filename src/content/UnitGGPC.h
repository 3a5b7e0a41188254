#pragma once

#include "content/WebContentWindow.h"

// Valuations (toolbar entry 6): the configured page; links asking for a new window do nothing.
class TFormGGPC final : public WebContentWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormGGPC)

public:
    explicit TFormGGPC(HostedIn host);

    void WebBrowser1DocumentComplete();
    void WebBrowser1NewWindow2(QWebEngineNewWindowRequest &request);
};
