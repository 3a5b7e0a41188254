#pragma once

#include <functional>

class QUrl;
class QWidget;

// Opening a web page in the person's own browser (the home page). Where the system has no web
// browser, opening would silently do nothing; the person is told instead, with the address.
void openInBrowser(QWidget *parent, const QUrl &url);

// Whether a web browser is installed; tests replace the probe, none restores the system's.
using BrowserProbe = std::function<bool()>;
void setBrowserProbe(BrowserProbe probe);
