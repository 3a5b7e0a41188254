#include "main/PollTick.h"

#include "content/ContentQueries.h"
#include "main/PopupTexts.h"

#include <exception>

namespace {

// The step of one action. Each query's rows go into the step before the next query runs, so that
// a failure keeps what came before it.
void buildStep(PollStep &step, const ContentSource &source)
{
    switch (step.action) {
    case PollAction::hjgcanctdopen:
        step.todaysAlerts = source.todaysAlerts();
        step.latestAlerts = source.latestAlerts();
        step.popupText = alertPopupText(*step.todaysAlerts);
        return;
    case PollAction::hjgcXGanddopen:
        step.todaysAlerts = source.todaysAlerts();
        step.latestAlerts = source.latestAlerts();
        return;
    case PollAction::hjgcADDclose:
        step.popupText = alertPopupText(source.todaysAlerts());
        return;
    case PollAction::spzxaddandopen:
        step.todaysLiveItems = source.todaysLiveItems();
        step.popupText = liveInfoPopupText(*step.todaysLiveItems);
        return;
    case PollAction::spzxXGanddopen:
        step.todaysLiveItems = source.todaysLiveItems();
        return;
    case PollAction::spzxADDclose:
        step.popupText = liveInfoPopupText(source.todaysLiveItems());
        return;
    case PollAction::firstBulletinReloadAndAlert:
        step.reloadBulletinPage = true;
        step.popupText = bulletinPopupText(BulletinKind::First);
        return;
    case PollAction::secondBulletinReloadAndAlert:
        step.reloadBulletinPage = true;
        step.popupText = bulletinPopupText(BulletinKind::Second);
        return;
    case PollAction::firstBulletinReload:
    case PollAction::secondBulletinReload:
        step.reloadBulletinPage = true;
        return;
    case PollAction::firstBulletinAlert:
        step.popupText = bulletinPopupText(BulletinKind::First);
        return;
    case PollAction::secondBulletinAlert:
        step.popupText = bulletinPopupText(BulletinKind::Second);
        return;
    }
}

} // namespace

PollStep::Kind PollStep::kind() const
{
    switch (action) {
    case PollAction::hjgcanctdopen:
    case PollAction::hjgcXGanddopen:
    case PollAction::hjgcADDclose:
        return Kind::Alert;
    case PollAction::spzxaddandopen:
    case PollAction::spzxXGanddopen:
    case PollAction::spzxADDclose:
        return Kind::LiveItem;
    default:
        return Kind::Bulletin;
    }
}

TickDecision decideTick(const QString &countersText, OpenContentWindows open)
{
    TickDecision decision;
    try {
        rebuildChangeCounters(countersText);
        decision.moved = storeMovedCounters();
    } catch (const std::exception &failure) {
        decision.complete = false;
        decision.failure = QString::fromUtf8(failure.what());
        return decision;
    }
    decision.actions = pollActions(decision.moved, open);
    return decision;
}

ContentSource ContentSource::server()
{
    return {&ContentQueries::todaysAlerts, &ContentQueries::latestAlerts,
            &ContentQueries::todaysLiveItems};
}

QList<PollStep> fetchSteps(const QList<PollAction> &actions, const ContentSource &source)
{
    QList<PollStep> steps;
    for (PollAction action : actions) {
        PollStep step;
        step.action = action;
        try {
            buildStep(step, source);
        } catch (const std::exception &) {
            if (action == PollAction::hjgcADDclose)
                continue;
            // What the interrupted action fetched still shows; its alert does not.
            step.popupText.reset();
            if (step.todaysAlerts || step.latestAlerts || step.todaysLiveItems)
                steps.append(step);
            break;
        }
        steps.append(step);
    }
    return steps;
}

TickResult runPollTick(OpenContentWindows open, const ContentSource &source)
{
    TickResult result;
    QString countersText;
    try {
        countersText = fetchChangeCounters();
    } catch (const std::exception &failure) {
        result.reachable = false;
        result.decision.complete = false;
        result.decision.failure = QString::fromUtf8(failure.what());
        return result;
    }
    result.decision = decideTick(countersText, open);
    result.steps = fetchSteps(result.decision.actions, source);
    return result;
}
