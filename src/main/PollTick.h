#pragma once

#include "app/ChangeCounters.h"
#include "content/ContentRows.h"
#include "main/PollDecision.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// One poll tick decided without a window: the counters fetched, compared with the last-seen
// values and stored, the actions chosen, and what each action shows fetched from the server. The
// main window only displays the result.

// What one action shows, in the order the window applies it: the grids of the alert window it
// refills, the bulletin page it reloads, then the alert sound and the popup.
struct PollStep
{
    PollAction action;
    std::optional<GridRows> todaysAlerts; // StringGrid1
    std::optional<GridRows> latestAlerts; // StringGrid2
    std::optional<GridRows> todaysLiveItems; // StringGrid3
    bool reloadBulletinPage = false;
    std::optional<QString> popupText; // sound the alert and raise this popup

    // What arrived, by kind, for a step that alerts the user.
    enum class Kind { Alert, LiveItem, Bulletin };
    Kind kind() const;
};

// What the counters text says: the counters that moved (stored as last seen at once, in poll
// order) and the actions they call for. A value that is not an integer ends the comparison at its
// key: the keys before it stay stored, and no action runs (complete is false, failure says why).
// A text short of the fourteen items changes no last-seen value.
struct TickDecision
{
    CounterSet moved;
    QList<PollAction> actions;
    bool complete = true;
    QString failure;
};
TickDecision decideTick(const QString &countersText, OpenContentWindows open);

// Where the actions' rows come from: the server's queries unless a test gives others. Each raises
// AppError when its query fails.
struct ContentSource
{
    std::function<GridRows()> todaysAlerts;
    std::function<GridRows()> latestAlerts;
    std::function<GridRows()> todaysLiveItems;

    static ContentSource server();
};

// The steps of the actions, querying what each needs in turn. A failing query ends the list: the
// step it interrupted keeps the grids fetched before it (without its popup) and the actions after
// it are lost, their counters being stored already. The one exception is a new alert while the
// alert window is closed, whose failure only drops that step.
QList<PollStep> fetchSteps(const QList<PollAction> &actions, const ContentSource &source);

// The whole tick: reachable is false when the counters could not be fetched (then nothing else
// happened).
struct TickResult
{
    bool reachable = true;
    TickDecision decision;
    QList<PollStep> steps;
};
TickResult runPollTick(OpenContentWindows open,
                       const ContentSource &source = ContentSource::server());
