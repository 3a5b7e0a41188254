#pragma once

#include "content/ContentRows.h"

// What the main window's popups say. Lines are separated by a carriage return (code 13), which
// the popup breaks on. The alert and live-info texts show the newest entry, the first of today's
// rows; with no rows each label stands with an empty value.

QString alertPopupText(const GridRows &todaysAlerts);
QString liveInfoPopupText(const GridRows &todaysLiveItems);

// A new bulletin, told from the counters just loaded: the toolbar name of its window, its time and
// its title.
enum class BulletinKind { First, Second };
QString bulletinPopupText(BulletinKind kind);
