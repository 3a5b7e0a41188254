#include "main/PollDecision.h"

namespace {

// One kind of content: its two counters, whether its window is open, and the actions for a new
// entry with the window open, a refresh with it open, and a new entry with it closed.
struct KindRule
{
    CounterKey added;
    CounterKey refreshed;
    bool windowOpen;
    PollAction addedOpen;
    PollAction refreshedOpen;
    PollAction addedClosed;
};

void apply(const KindRule &rule, CounterSet moved, QList<PollAction> &actions)
{
    const bool added = moved.contains(rule.added);
    const bool refreshed = moved.contains(rule.refreshed);
    if (rule.windowOpen) {
        if (added)
            actions.append(rule.addedOpen);
        if (refreshed)
            actions.append(rule.refreshedOpen);
    } else if (added) {
        actions.append(rule.addedClosed);
    }
}

} // namespace

QList<PollAction> pollActions(CounterSet moved, OpenContentWindows open)
{
    const KindRule rules[] = {
        {CounterKey::gptjadd, CounterKey::gptjsx, open.smnc, PollAction::hjgcanctdopen,
         PollAction::hjgcXGanddopen, PollAction::hjgcADDclose},
        {CounterKey::spzxadd, CounterKey::spzxsx, open.smnc, PollAction::spzxaddandopen,
         PollAction::spzxXGanddopen, PollAction::spzxADDclose},
        {CounterKey::smncadd, CounterKey::smncsx, open.wysmnc,
         PollAction::firstBulletinReloadAndAlert, PollAction::firstBulletinReload,
         PollAction::firstBulletinAlert},
        {CounterKey::smjmadd, CounterKey::smjmsx, open.wysmjm,
         PollAction::secondBulletinReloadAndAlert, PollAction::secondBulletinReload,
         PollAction::secondBulletinAlert},
    };
    QList<PollAction> actions;
    for (const KindRule &rule : rules)
        apply(rule, moved, actions);
    return actions;
}
