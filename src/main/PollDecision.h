#pragma once

#include "app/ChangeCounters.h"

#include <QList>

// What one poll does about the counters that moved, decided without any window: for each kind of
// content, by whether the window showing it is open, reload that window, alert the user, or both.
// Kinds go in a fixed order (alerts, live-trading items, first-kind bulletins, second-kind
// bulletins), a new entry's action before a refresh's.
enum class PollAction {
    hjgcanctdopen, // new alert, alert window open: refill its alert grids, sound, popup
    hjgcXGanddopen, // alerts changed, alert window open: refill its alert grids
    hjgcADDclose, // new alert, alert window not open: sound, popup
    spzxaddandopen, // new live item, alert window open: refill its live grid, sound, popup
    spzxXGanddopen, // live items changed, alert window open: refill its live grid
    spzxADDclose, // new live item, alert window not open: sound, popup
    firstBulletinReloadAndAlert, // the bulletin window is open: reload its page, sound, popup
    firstBulletinReload,
    firstBulletinAlert,
    secondBulletinReloadAndAlert,
    secondBulletinReload,
    secondBulletinAlert,
};

struct OpenContentWindows
{
    bool smnc = false; // the alert window (smncOpen)
    bool wysmnc = false; // the first-kind bulletin window (wysmncOpen)
    bool wysmjm = false; // the second-kind bulletin window (wysmjmOpen)
};

QList<PollAction> pollActions(CounterSet moved, OpenContentWindows open);
