#pragma once

#include "ui/Unit3.h"

#include <QtPlugin>

// What the web window module offers: the web content window of a toolbar position (2 to 10),
// built hosted in the main window's panel. The module links the web engine; the program loads it
// on the first web window only, so a client that never opens one never starts the engine.
class WebWindowFactory
{
public:
    virtual ~WebWindowFactory() = default;
    // None for a position without a web window.
    virtual Tmain *createWebWindow(int position, HostedIn host) = 0;
};

#define WebWindowFactory_iid "org.tipdesk.WebWindowFactory/1"
Q_DECLARE_INTERFACE(WebWindowFactory, WebWindowFactory_iid)

// Loads the module (once) and builds the window of the position. Raises AppError when the module
// cannot be loaded.
Tmain *buildWebWindow(int position, HostedIn host);
